#include "cad/dispatch/dispatch_object.h"

#include <cstring>

#include "cad/dispatch/com_variant.h"
#include "core/dispatch.h"

namespace kestrel::win32 {
namespace {

std::string folded(std::string_view name) {
  std::string key(name);
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return key;
}

// Frees a VARIANT the caller owns when leaving scope.
class VariantGuard {
 public:
  explicit VariantGuard(VARIANT& v) : v_(v) {}
  VariantGuard(const VariantGuard&) = delete;
  VariantGuard& operator=(const VariantGuard&) = delete;
  ~VariantGuard() { VariantClear(&v_); }

 private:
  VARIANT& v_;
};

// The arguments of one call: our copies in the caller's order, and the
// VT_BYREF references to them in the reversed order Invoke expects.
class PackedArguments {
 public:
  explicit PackedArguments(std::span<core::Variant> args) : values_(args.size()), refs_(args.size()) {
    const std::size_t n = args.size();
    for (std::size_t i = 0; i < n; ++i) {
      to_variant(args[i], values_.items[i]);
      V_VT(&refs_[n - 1 - i]) = VT_BYREF | VT_VARIANT;
      V_VARIANTREF(&refs_[n - 1 - i]) = &values_.items[i];
    }
    sent_ = values_.items;
  }
  [[nodiscard]] DISPPARAMS params() { return {refs_.data(), nullptr, static_cast<UINT>(refs_.size()), 0}; }
  // Copies back into `args` the values the server replaced (strings are
  // always read again: a new one may reuse the old one's address).
  void write_back(std::span<core::Variant> args, const std::shared_ptr<DispidCache>& cache) const {
    for (std::size_t i = 0; i < args.size(); ++i) {
      const VARIANT& now = values_.items[i];
      if (V_VT(&now) == VT_BSTR || std::memcmp(&now, &sent_[i], sizeof(VARIANT)) != 0) {
        args[i] = from_variant(now, cache);
      }
    }
  }

 private:
  struct Values {
    explicit Values(std::size_t n) : items(n) {
      for (VARIANT& v : items) VariantInit(&v);
    }
    Values(const Values&) = delete;
    Values& operator=(const Values&) = delete;
    ~Values() {
      for (VARIANT& v : items) VariantClear(&v);
    }
    std::vector<VARIANT> items;
  };
  Values values_;
  std::vector<VARIANT> refs_;
  std::vector<VARIANT> sent_;  // bit copies, to see what changed
};

}  // namespace

DispidCache::Members& DispidCache::members_of(const GUID& type) {
  for (auto& [guid, members] : types_) {
    if (IsEqualGUID(guid, type)) return *members;
  }
  types_.emplace_back(type, std::make_unique<Members>());
  return *types_.back().second;
}

DispatchObject::DispatchObject(IDispatch* dispatch, std::shared_ptr<DispidCache> cache)
    : dispatch_(dispatch), cache_(std::move(cache)) {}

std::string_view DispatchObject::type_name() const {
  if (!type_name_.empty()) return type_name_;
  ComPtr<ITypeInfo> info;
  BSTR name = nullptr;
  if (SUCCEEDED(dispatch_->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put())) && info &&
      SUCCEEDED(info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr))) {
    type_name_ = from_bstr(name);
    SysFreeString(name);
  }
  if (type_name_.empty()) type_name_ = "Object";
  return type_name_;
}

DispidCache::Members& DispatchObject::members() {
  if (members_) return *members_;
  ComPtr<ITypeInfo> info;
  TYPEATTR* attributes = nullptr;
  if (SUCCEEDED(dispatch_->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put())) && info &&
      SUCCEEDED(info->GetTypeAttr(&attributes))) {
    const GUID type = attributes->guid;
    info->ReleaseTypeAttr(attributes);
    if (!IsEqualGUID(type, GUID_NULL)) members_ = &cache_->members_of(type);
  }
  if (!members_) members_ = &own_members_;
  return *members_;
}

DISPID DispatchObject::dispid(std::string_view member) {
  DispidCache::Members& table = members();
  std::string key = folded(member);
  if (const auto it = table.find(key); it != table.end()) return it->second;
  BSTR name = to_bstr(member);
  DISPID id = DISPID_UNKNOWN;
  const HRESULT hr = dispatch_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
  SysFreeString(name);
  if (hr == DISP_E_UNKNOWNNAME || hr == DISP_E_MEMBERNOTFOUND) core::raise_unknown_member(type_name(), member);
  if (FAILED(hr)) throw automation_error(hr, nullptr);
  table.emplace(std::move(key), id);
  return id;
}

core::Variant DispatchObject::invoke(std::string_view member, WORD flags, DISPPARAMS& params) {
  const DISPID id = dispid(member);
  VARIANT result;
  VariantInit(&result);
  const VariantGuard result_guard(result);
  EXCEPINFO info{};
  UINT bad_argument = 0;
  const HRESULT hr =
      dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result, &info, &bad_argument);
  if (FAILED(hr)) raise_failure(hr, info, bad_argument, params.cArgs, member);
  return from_variant(result, cache_);
}

core::Variant DispatchObject::get(std::string_view member) {
  DISPPARAMS params{nullptr, nullptr, 0, 0};
  return invoke(member, DISPATCH_PROPERTYGET | DISPATCH_METHOD, params);
}

core::Variant DispatchObject::call(std::string_view member, std::span<core::Variant> args) {
  PackedArguments packed(args);
  DISPPARAMS params = packed.params();
  core::Variant result = invoke(member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, params);
  packed.write_back(args, cache_);
  return result;
}

void DispatchObject::put(std::string_view member, const core::Variant& value) {
  const DISPID id = dispid(member);
  VARIANT argument;
  to_variant(value, argument);
  const VariantGuard argument_guard(argument);
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&argument, &named, 1, 1};
  EXCEPINFO info{};
  UINT bad_argument = 0;
  // An object is Set (PUTREF); a server that only knows PUT gets that.
  HRESULT hr = DISP_E_MEMBERNOTFOUND;
  if (value.is_object()) {
    hr = dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUTREF, &params, nullptr, &info,
                           &bad_argument);
  }
  if (hr == DISP_E_MEMBERNOTFOUND) {
    hr = dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, &info,
                           &bad_argument);
  }
  if (FAILED(hr)) raise_failure(hr, info, bad_argument, 1, member);
}

void DispatchObject::raise_failure(HRESULT hr, EXCEPINFO& info, UINT bad_argument, std::size_t argument_count,
                                   std::string_view member) const {
  switch (hr) {
    case DISP_E_UNKNOWNNAME:
    case DISP_E_MEMBERNOTFOUND: core::raise_unknown_member(type_name(), member);
    case DISP_E_TYPEMISMATCH:
    case DISP_E_PARAMNOTFOUND:
      // rgvarg is reversed: its item k is argument count - k.
      if (bad_argument < argument_count) core::raise_argument_error(core::kTypeMismatch, argument_count - bad_argument);
      core::raise(core::kTypeMismatch);
    default: throw automation_error(hr, &info);
  }
}

std::int32_t error_number(HRESULT hr) noexcept {
  if (HRESULT_FACILITY(hr) == FACILITY_CONTROL && HRESULT_CODE(hr) != 0) return HRESULT_CODE(hr);
  switch (hr) {
    case DISP_E_TYPEMISMATCH: return core::kTypeMismatch;
    case DISP_E_UNKNOWNNAME:
    case DISP_E_MEMBERNOTFOUND: return core::kMemberNotSupported;
    case DISP_E_OVERFLOW: return core::kOverflow;
    case DISP_E_BADINDEX: return core::kSubscriptOutOfRange;
    case DISP_E_DIVBYZERO: return core::kDivisionByZero;
    case DISP_E_PARAMNOTOPTIONAL: return core::kArgumentNotOptional;
    case DISP_E_BADPARAMCOUNT: return 450;  // wrong number of arguments
    case E_OUTOFMEMORY: return core::kOutOfMemory;
    default: return static_cast<std::int32_t>(hr);
  }
}

core::Error automation_error(HRESULT hr, EXCEPINFO* info) {
  if (hr != DISP_E_EXCEPTION || !info) return core::Error::standard(error_number(hr));
  if (info->pfnDeferredFillIn) info->pfnDeferredFillIn(info);
  const std::int32_t number = info->wCode ? info->wCode : error_number(info->scode);
  std::string source = from_bstr(info->bstrSource);
  std::string description = from_bstr(info->bstrDescription);
  SysFreeString(info->bstrSource);
  SysFreeString(info->bstrDescription);
  SysFreeString(info->bstrHelpFile);
  *info = EXCEPINFO{};
  if (source.empty()) source = core::kRuntimeSource;
  if (description.empty()) description = core::standard_description(number);
  return core::Error(number, std::move(source), std::move(description));
}

}  // namespace kestrel::win32
