#include "cad/dispatch/com_variant.h"

#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include "cad/dispatch/dispatch_object.h"
#include "cad/dispatch/object_dispatch.h"
#include "platform/win32/wide_text.h"

namespace kestrel::win32 {
namespace {

using core::raise;

// Pins a SAFEARRAY's data for the life of the object.
class ArrayData {
 public:
  explicit ArrayData(SAFEARRAY* array) : array_(array) {
    if (FAILED(SafeArrayAccessData(array_, &data_))) raise(core::kTypeMismatch);
  }
  ArrayData(const ArrayData&) = delete;
  ArrayData& operator=(const ArrayData&) = delete;
  ~ArrayData() { SafeArrayUnaccessData(array_); }
  template <class E>
  [[nodiscard]] E* as() const noexcept { return static_cast<E*>(data_); }

 private:
  SAFEARRAY* array_;
  void* data_ = nullptr;
};

struct ArrayDestroyer {
  void operator()(SAFEARRAY* array) const noexcept { SafeArrayDestroy(array); }
};
using ArrayOwner = std::unique_ptr<SAFEARRAY, ArrayDestroyer>;

// The items of a one-dimensional SAFEARRAY of E, converted to T.
template <class T, class E, class Convert>
core::VbArray<T> read_array(SAFEARRAY* array, Convert convert) {
  if (!array) return {};
  if (SafeArrayGetDim(array) != 1 || array->cbElements != sizeof(E)) raise(core::kTypeMismatch);
  LONG lbound = 0;
  LONG ubound = -1;
  SafeArrayGetLBound(array, 1, &lbound);
  SafeArrayGetUBound(array, 1, &ubound);
  std::vector<T> items;
  items.reserve(static_cast<std::size_t>(static_cast<std::int64_t>(ubound) - lbound + 1));
  const ArrayData data(array);
  const E* element = data.as<E>();
  for (LONG i = lbound; i <= ubound; ++i) items.push_back(convert(*element++));
  return core::VbArray<T>(lbound, std::move(items));
}

using CacheRef = std::shared_ptr<DispidCache>;

core::Variant from_array(VARTYPE element, SAFEARRAY* array, const CacheRef& cache) {
  switch (element) {
    case VT_R8: return read_array<double, double>(array, [](double v) { return v; });
    case VT_I4: return read_array<std::int32_t, LONG>(array, [](LONG v) { return static_cast<std::int32_t>(v); });
    case VT_I2: return read_array<std::int16_t, SHORT>(array, [](SHORT v) { return static_cast<std::int16_t>(v); });
    case VT_BSTR: return read_array<std::string, BSTR>(array, [](BSTR v) { return from_bstr(v); });
    case VT_VARIANT: return read_array<core::Variant, VARIANT>(array, [&](const VARIANT& v) { return from_variant(v, cache); });
    case VT_DISPATCH:
      return read_array<core::ObjectRef, IDispatch*>(array, [&](IDispatch* v) { return wrap_dispatch(v, cache).ref(); });
    default: raise(core::kTypeMismatch);
  }
}

// A by-value view of what a VT_BYREF VARIANT points at (nothing is copied:
// the view owns nothing and must not be cleared).
VARIANT dereferenced(const VARIANT& ref) {
  if (!V_BYREF(&ref)) raise(core::kTypeMismatch);
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = static_cast<VARTYPE>(V_VT(&ref) & ~VT_BYREF);
  if (V_VT(&v) & VT_ARRAY) {
    V_ARRAY(&v) = *V_ARRAYREF(&ref);
    return v;
  }
  switch (V_VT(&v)) {
    case VT_BOOL: V_BOOL(&v) = *V_BOOLREF(&ref); break;
    case VT_UI1: V_UI1(&v) = *V_UI1REF(&ref); break;
    case VT_I2: V_I2(&v) = *V_I2REF(&ref); break;
    case VT_I4: V_I4(&v) = *V_I4REF(&ref); break;
    case VT_R4: V_R4(&v) = *V_R4REF(&ref); break;
    case VT_R8: V_R8(&v) = *V_R8REF(&ref); break;
    case VT_BSTR: V_BSTR(&v) = *V_BSTRREF(&ref); break;
    case VT_DISPATCH: V_DISPATCH(&v) = *V_DISPATCHREF(&ref); break;
    default: raise(core::kTypeMismatch);
  }
  return v;
}

template <class T, class E, class Write>
SAFEARRAY* make_array(VARTYPE element, const core::VbArray<T>& items, Write write) {
  if (!items.allocated()) return nullptr;
  SAFEARRAYBOUND bound{static_cast<ULONG>(items.size()), static_cast<LONG>(items.lbound())};
  ArrayOwner array(SafeArrayCreate(element, 1, &bound));
  if (!array) raise(core::kOutOfMemory);
  {
    const ArrayData data(array.get());
    E* element_out = data.as<E>();
    // The items start zeroed, so a throw part way leaves a destroyable array.
    for (const T& item : items.items()) write(item, *element_out++);
  }
  return array.release();
}

void set_array(VARIANT& v, VARTYPE element, SAFEARRAY* array) {
  V_VT(&v) = static_cast<VARTYPE>(VT_ARRAY | element);
  V_ARRAY(&v) = array;
}

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};

}  // namespace

std::string from_bstr(BSTR text) {
  if (!text) return {};
  return from_utf16(std::wstring_view(text, SysStringLen(text)));
}

std::string from_utf16(std::wstring_view text) { return platform::narrow(text); }

BSTR to_bstr(std::string_view text) {
  const std::wstring wide = platform::widen(text);
  BSTR out = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  if (!out) raise(core::kOutOfMemory);
  return out;
}

core::Variant from_variant(const VARIANT& value) { return from_variant(value, nullptr); }

core::Variant from_variant(const VARIANT& value, const CacheRef& cache) {
  const VARTYPE vt = V_VT(&value);
  if (vt == (VT_BYREF | VT_VARIANT)) {
    if (!V_VARIANTREF(&value)) raise(core::kTypeMismatch);
    return from_variant(*V_VARIANTREF(&value), cache);
  }
  if (vt & VT_BYREF) return from_variant(dereferenced(value), cache);
  if (vt & VT_ARRAY) return from_array(static_cast<VARTYPE>(vt & VT_TYPEMASK), V_ARRAY(&value), cache);
  switch (vt) {
    case VT_EMPTY: return {};
    case VT_BOOL: return V_BOOL(&value) != VARIANT_FALSE;
    case VT_UI1: return static_cast<std::int16_t>(V_UI1(&value));
    case VT_I2: return static_cast<std::int16_t>(V_I2(&value));
    case VT_I4: return static_cast<std::int32_t>(V_I4(&value));
    case VT_R4: return static_cast<double>(V_R4(&value));
    case VT_R8: return V_R8(&value);
    case VT_BSTR: return from_bstr(V_BSTR(&value));
    case VT_DISPATCH: return wrap_dispatch(V_DISPATCH(&value), cache).ref();
    default: raise(core::kTypeMismatch);
  }
}

void to_variant(const core::Variant& value, VARIANT& out) {
  VARIANT v;
  VariantInit(&v);
  std::visit(
      Overloaded{
          [&](core::Empty) {},
          [&](bool b) { V_VT(&v) = VT_BOOL, V_BOOL(&v) = b ? VARIANT_TRUE : VARIANT_FALSE; },
          [&](std::int16_t i) { V_VT(&v) = VT_I2, V_I2(&v) = i; },
          [&](std::int32_t i) { V_VT(&v) = VT_I4, V_I4(&v) = i; },
          [&](double d) { V_VT(&v) = VT_R8, V_R8(&v) = d; },
          [&](const std::string& s) { V_BSTR(&v) = to_bstr(s), V_VT(&v) = VT_BSTR; },
          [&](const core::ObjectRef& o) { V_DISPATCH(&v) = unwrap_dispatch(o), V_VT(&v) = VT_DISPATCH; },
          [&](const core::VbArray<double>& a) {
            set_array(v, VT_R8, make_array<double, double>(VT_R8, a, [](double d, double& e) { e = d; }));
          },
          [&](const core::VbArray<std::int16_t>& a) {
            set_array(v, VT_I2, make_array<std::int16_t, SHORT>(VT_I2, a, [](std::int16_t i, SHORT& e) { e = i; }));
          },
          [&](const core::VbArray<std::int32_t>& a) {
            set_array(v, VT_I4, make_array<std::int32_t, LONG>(VT_I4, a, [](std::int32_t i, LONG& e) { e = i; }));
          },
          [&](const core::VbArray<std::string>& a) {
            set_array(v, VT_BSTR,
                      make_array<std::string, BSTR>(VT_BSTR, a, [](const std::string& s, BSTR& e) { e = to_bstr(s); }));
          },
          [&](const core::VbArray<core::Variant>& a) {
            set_array(v, VT_VARIANT, make_array<core::Variant, VARIANT>(
                                         VT_VARIANT, a, [](const core::Variant& x, VARIANT& e) { to_variant(x, e); }));
          },
          [&](const core::VbArray<core::ObjectRef>& a) {
            set_array(v, VT_DISPATCH, make_array<core::ObjectRef, IDispatch*>(
                                          VT_DISPATCH, a, [](const core::ObjectRef& o, IDispatch*& e) { e = unwrap_dispatch(o); }));
          },
      },
      value.storage());
  out = v;
}

namespace {

// Moves the scalar in `from` (already of the referenced type) to where
// `target` points, freeing the string or object that was there.
void store_scalar(VARIANT& from, VARIANT& target) {
  switch (V_VT(&from)) {
    case VT_BOOL: *V_BOOLREF(&target) = V_BOOL(&from); break;
    case VT_UI1: *V_UI1REF(&target) = V_UI1(&from); break;
    case VT_I2: *V_I2REF(&target) = V_I2(&from); break;
    case VT_I4: *V_I4REF(&target) = V_I4(&from); break;
    case VT_R4: *V_R4REF(&target) = V_R4(&from); break;
    case VT_R8: *V_R8REF(&target) = V_R8(&from); break;
    case VT_BSTR:
      SysFreeString(*V_BSTRREF(&target));
      *V_BSTRREF(&target) = V_BSTR(&from);
      break;
    case VT_DISPATCH:
      if (*V_DISPATCHREF(&target)) (*V_DISPATCHREF(&target))->Release();
      *V_DISPATCHREF(&target) = V_DISPATCH(&from);
      break;
    default: raise(core::kTypeMismatch);
  }
  V_VT(&from) = VT_EMPTY;  // moved
}

struct VariantClearer {
  void operator()(VARIANT* v) const noexcept { VariantClear(v); }
};

}  // namespace

void write_back(const core::Variant& value, VARIANT& target) {
  if (!(V_VT(&target) & VT_BYREF) || !V_BYREF(&target)) raise(core::kTypeMismatch);
  const auto type = static_cast<VARTYPE>(V_VT(&target) & ~VT_BYREF);
  VARIANT fresh;
  to_variant(type == (VT_ARRAY | VT_R8) ? core::Variant(value.to_double_array()) : value, fresh);
  const std::unique_ptr<VARIANT, VariantClearer> fresh_guard(&fresh);
  if (type == VT_VARIANT) {
    VariantClear(V_VARIANTREF(&target));
    *V_VARIANTREF(&target) = fresh;
    V_VT(&fresh) = VT_EMPTY;  // moved
  } else if (type & VT_ARRAY) {
    if (V_VT(&fresh) != type) raise(core::kTypeMismatch);
    SafeArrayDestroy(*V_ARRAYREF(&target));
    *V_ARRAYREF(&target) = V_ARRAY(&fresh);
    V_VT(&fresh) = VT_EMPTY;
  } else {
    VARIANT converted;
    VariantInit(&converted);
    const std::unique_ptr<VARIANT, VariantClearer> converted_guard(&converted);
    const HRESULT hr = VariantChangeType(&converted, &fresh, 0, type);
    if (hr == DISP_E_OVERFLOW) raise(core::kOverflow);
    if (FAILED(hr)) raise(core::kTypeMismatch);
    store_scalar(converted, target);
  }
}

core::Obj wrap_dispatch(IDispatch* dispatch) { return wrap_dispatch(dispatch, nullptr); }

core::Obj wrap_dispatch(IDispatch* dispatch, const CacheRef& cache) {
  if (!dispatch) return {};
  if (core::ObjectRef own = ObjectDispatch::object_of(dispatch)) return own;
  return std::make_shared<DispatchObject>(dispatch, cache ? cache : std::make_shared<DispidCache>());
}

IDispatch* unwrap_dispatch(const core::Obj& object) {
  if (!object) return nullptr;
  if (auto* adapter = dynamic_cast<DispatchObject*>(object.ref().get())) {
    IDispatch* dispatch = adapter->dispatch();
    dispatch->AddRef();
    return dispatch;
  }
  return new ObjectDispatch(object.ref());
}

}  // namespace kestrel::win32
