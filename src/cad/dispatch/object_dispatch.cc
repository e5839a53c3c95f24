#include "cad/dispatch/object_dispatch.h"

#include <cstdint>
#include <cstring>
#include <new>

#include "cad/dispatch/com_variant.h"

namespace kestrel::win32 {
namespace {

// Asked only by this module: its last bytes are the address of a constant
// of this module, so that an ObjectDispatch built from another copy of this
// code (another module, another C++ run time) never answers it.
const char kModuleMark = 0;

GUID module_iid() {
  GUID iid{0x6b1f0c52, 0x3d9e, 0x4a71, {0, 0, 0, 0, 0, 0, 0, 0}};
  const auto mark = reinterpret_cast<std::uintptr_t>(&kModuleMark);
  static_assert(sizeof mark <= sizeof iid.Data4);
  std::memcpy(iid.Data4, &mark, sizeof mark);
  return iid;
}

std::string folded(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return text;
}

// The arguments in the caller's order (rgvarg holds them reversed).
HRESULT unpack(const DISPPARAMS& params, std::vector<core::Variant>& args, UINT* bad_argument) {
  const UINT n = params.cArgs;
  args.reserve(n);
  for (UINT i = 0; i < n; ++i) {
    try {
      args.push_back(from_variant(params.rgvarg[n - 1 - i]));
    } catch (const core::Error&) {
      if (bad_argument) *bad_argument = n - 1 - i;
      return DISP_E_TYPEMISMATCH;
    }
  }
  return S_OK;
}

}  // namespace

ObjectDispatch::ObjectDispatch(core::ObjectRef object) : object_(std::move(object)) {}

core::ObjectRef ObjectDispatch::object_of(IDispatch* dispatch) {
  void* own = nullptr;
  if (!dispatch || FAILED(dispatch->QueryInterface(module_iid(), &own)) || !own) return nullptr;
  auto* self = static_cast<ObjectDispatch*>(static_cast<IDispatch*>(own));
  core::ObjectRef object = self->object_;
  self->Release();
  return object;
}

HRESULT ObjectDispatch::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, module_iid())) {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG ObjectDispatch::AddRef() { return ++references_; }

ULONG ObjectDispatch::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT ObjectDispatch::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT ObjectDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT ObjectDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!names || !ids || count == 0) return E_INVALIDARG;
  try {
    std::string name = from_utf16(names[0]);
    std::string key = folded(name);
    auto it = ids_.find(key);
    if (it == ids_.end()) {
      names_.push_back(std::move(name));
      it = ids_.emplace(std::move(key), static_cast<DISPID>(names_.size())).first;
    }
    ids[0] = it->second;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  // Our members take no named arguments.
  for (UINT k = 1; k < count; ++k) ids[k] = DISPID_UNKNOWN;
  return count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
}

HRESULT ObjectDispatch::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                               EXCEPINFO* exception, UINT* bad_argument) {
  if (id < 1 || static_cast<std::size_t>(id) > names_.size()) return DISP_E_MEMBERNOTFOUND;
  if (!params) return E_INVALIDARG;
  try {
    std::vector<core::Variant> args;
    if (const HRESULT hr = unpack(*params, args, bad_argument); FAILED(hr)) return hr;
    const std::string& member = names_[static_cast<std::size_t>(id) - 1];
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
      if (args.size() != 1) return DISP_E_BADPARAMCOUNT;
      object_->put(member, args[0]);
      return S_OK;
    }
    if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
    const std::vector<core::Variant> sent = args;  // copies share arrays: cheap
    const core::Variant value =
        args.empty() && (flags & DISPATCH_PROPERTYGET) ? object_->get(member) : object_->call(member, args);
    for (std::size_t i = 0; i < args.size(); ++i) {
      VARIANT& target = params->rgvarg[args.size() - 1 - i];
      if ((V_VT(&target) & VT_BYREF) && !(args[i] == sent[i])) write_back(args[i], target);
    }
    if (result) to_variant(value, *result);
    return S_OK;
  } catch (const core::Error& e) {
    return report_exception(e, exception);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (const std::exception& e) {
    return report_exception(core::Error(core::kInternalError, core::kRuntimeSource, e.what()), exception);
  }
}

HRESULT report_exception(const core::Error& error, EXCEPINFO* exception) {
  if (!exception) return DISP_E_EXCEPTION;
  *exception = EXCEPINFO{};
  const std::int32_t number = error.number();
  // Run-time error numbers travel as FACILITY_CONTROL codes; status codes as themselves.
  exception->scode = number > 0 && number <= 0xFFFF ? MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number) : number;
  try {
    exception->bstrSource = to_bstr(error.source());
    exception->bstrDescription = to_bstr(error.description());
  } catch (const core::Error&) {
    // No memory for the texts: the number alone still reaches the client.
  }
  return DISP_E_EXCEPTION;
}

}  // namespace kestrel::win32
