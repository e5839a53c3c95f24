#include "server/arguments.h"

#include <oleauto.h>

#include <algorithm>
#include <cstring>
#include <type_traits>

#include "cad/dispatch/com_variant.h"

namespace kestrel::server {
namespace {

// A VARIANT cleared when it goes out of scope.
struct Owned {
  VARIANT v;
  Owned() { VariantInit(&v); }
  ~Owned() { VariantClear(&v); }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
};

bool not_passed(const VARIANT& v) { return V_VT(&v) == VT_ERROR && V_ERROR(&v) == DISP_E_PARAMNOTFOUND; }

// Follows VT_VARIANT|VT_BYREF to the variable it names.
VARIANT* deref(VARIANT* v) {
  while (v && V_VT(v) == (VT_VARIANT | VT_BYREF)) v = V_VARIANTREF(v);
  return v;
}

// Stores `value` into the caller's variable behind a by-reference argument;
// a by-value argument (or none) is left alone.
void store(VARIANT* arg, const core::Variant& value) {
  if (arg && (V_VT(arg) & VT_BYREF)) win32::write_back(value, *arg);
}

// The items of a typed array of exactly T, copied at once.
template <class T>
bool copy_items(SAFEARRAY* array, core::VbArray<T>& out) {
  void* data = nullptr;
  if (array->cbElements != sizeof(T) || FAILED(SafeArrayAccessData(array, &data))) return false;
  const T* items = static_cast<const T*>(data);
  std::copy(items, items + out.size(), out.items().begin());
  SafeArrayUnaccessData(array);
  return true;
}

}  // namespace

Arguments::Arguments(const DISPPARAMS& params, int declared, int required)
    : params_(params), slots_(static_cast<std::size_t>(declared), -1) {
  const int count = static_cast<int>(params.cArgs);
  const int named = static_cast<int>(params.cNamedArgs);
  if (named > count || (count > 0 && !params.rgvarg) || (named > 0 && !params.rgdispidNamedArgs))
    throw ArgumentError{E_INVALIDARG, 0};
  if (count > declared) throw ArgumentError{DISP_E_BADPARAMCOUNT, 0};
  // rgvarg holds the named arguments first, then the positional ones last to first.
  for (int n = 0; n < named; ++n) {
    const DISPID id = params.rgdispidNamedArgs[n];
    if (id < 0 || id >= declared) throw ArgumentError{DISP_E_PARAMNOTFOUND, static_cast<UINT>(n)};
    slots_[static_cast<std::size_t>(id)] = n;
  }
  for (int k = 0; k < count - named; ++k) slots_[static_cast<std::size_t>(k)] = count - 1 - k;
  for (int k = 0; k < required; ++k) {
    if (!find(k)) throw ArgumentError{DISP_E_BADPARAMCOUNT, 0};
  }
}

VARIANT* Arguments::find(int k) const {
  const int slot = slots_.at(static_cast<std::size_t>(k));
  if (slot < 0) return nullptr;
  VARIANT* v = &params_.rgvarg[slot];
  return not_passed(*deref(v)) ? nullptr : v;
}

VARIANT& Arguments::at(int k) const {
  VARIANT* v = find(k);
  if (!v) throw ArgumentError{DISP_E_PARAMNOTOPTIONAL, 0};
  return *v;
}

void Arguments::mismatch(int k) const {
  throw ArgumentError{DISP_E_TYPEMISMATCH, static_cast<UINT>(slots_.at(static_cast<std::size_t>(k)))};
}

void Arguments::coerce(int k, VARTYPE vt, VARIANT& out) const {
  VARIANT* v = deref(&at(k));
  if (FAILED(VariantChangeType(&out, v, 0, vt))) mismatch(k);
}

std::int32_t Arguments::long_at(int k) const {
  Owned v;
  coerce(k, VT_I4, v.v);
  return V_I4(&v.v);
}

std::int16_t Arguments::integer_at(int k) const {
  Owned v;
  coerce(k, VT_I2, v.v);
  return V_I2(&v.v);
}

double Arguments::double_at(int k) const {
  Owned v;
  coerce(k, VT_R8, v.v);
  return V_R8(&v.v);
}

core::VbBool Arguments::boolean_at(int k) const {
  Owned v;
  coerce(k, VT_BOOL, v.v);
  return V_BOOL(&v.v) ? core::VbBool(-1) : core::VbBool(0);
}

std::string Arguments::string_at(int k) const {
  Owned v;
  coerce(k, VT_BSTR, v.v);
  return win32::from_bstr(V_BSTR(&v.v));
}

core::Obj Arguments::object_at(int k) const {
  VARIANT* v = deref(find(k));
  if (!v || V_VT(v) == VT_EMPTY) return {};
  const VARTYPE vt = V_VT(v) & ~VT_BYREF;
  if (vt != VT_DISPATCH && vt != VT_UNKNOWN) mismatch(k);
  try {
    return core::Obj(win32::from_variant(*v).to_object());
  } catch (const core::Error&) {
    mismatch(k);
  }
}

core::Variant Arguments::variant_at(int k) const {
  VARIANT* v = find(k);
  if (!v) return {};
  try {
    return win32::from_variant(*deref(v));
  } catch (const core::Error&) {
    mismatch(k);
  }
}

std::optional<std::int32_t> Arguments::optional_long(int k) const {
  if (!find(k)) return std::nullopt;
  return long_at(k);
}

std::optional<core::VbBool> Arguments::optional_boolean(int k) const {
  if (!find(k)) return std::nullopt;
  return boolean_at(k);
}

std::optional<std::string> Arguments::optional_string(int k) const {
  if (!find(k)) return std::nullopt;
  return string_at(k);
}

SAFEARRAY* Arguments::array_at(int k) const {
  VARIANT* v = deref(find(k));
  if (!v || V_VT(v) == VT_EMPTY) return nullptr;
  if (!(V_VT(v) & VT_ARRAY)) mismatch(k);
  SAFEARRAY* array = (V_VT(v) & VT_BYREF) ? *V_ARRAYREF(v) : V_ARRAY(v);
  if (array && SafeArrayGetDim(array) != 1) mismatch(k);
  return array;
}

template <class T>
core::VbArray<T> Arguments::array_of(int k, VARTYPE vt) const {
  SAFEARRAY* array = array_at(k);
  if (!array) return {};
  VARTYPE stored = VT_EMPTY;
  SafeArrayGetVartype(array, &stored);
  switch (stored) {
    case VT_I2: case VT_I4: case VT_R4: case VT_R8: case VT_BOOL: case VT_UI1: case VT_BSTR: case VT_VARIANT: break;
    default: mismatch(k);
  }
  LONG lower = 0, upper = -1;
  SafeArrayGetLBound(array, 1, &lower);
  SafeArrayGetUBound(array, 1, &upper);
  core::VbArray<T> out(lower, upper);
  if constexpr (std::is_arithmetic_v<T>) {
    if (stored == vt && copy_items(array, out)) return out;
  }
  for (LONG index = lower; index <= upper; ++index) {
    Owned item, converted;
    V_VT(&item.v) = stored;
    // Typed elements land in the union, which starts at the same address for all of them.
    void* slot = stored == VT_VARIANT ? static_cast<void*>(&item.v) : static_cast<void*>(&V_I4(&item.v));
    if (FAILED(SafeArrayGetElement(array, &index, slot))) mismatch(k);
    if (FAILED(VariantChangeType(&converted.v, &item.v, 0, vt))) mismatch(k);
    if constexpr (std::is_same_v<T, double>) out[index] = V_R8(&converted.v);
    else if constexpr (std::is_same_v<T, std::int32_t>) out[index] = V_I4(&converted.v);
    else if constexpr (std::is_same_v<T, std::int16_t>) out[index] = V_I2(&converted.v);
    else out[index] = win32::from_bstr(V_BSTR(&converted.v));
  }
  return out;
}

core::VbArray<double> Arguments::doubles_at(int k) const { return array_of<double>(k, VT_R8); }
core::VbArray<std::int32_t> Arguments::longs_at(int k) const { return array_of<std::int32_t>(k, VT_I4); }
core::VbArray<std::int16_t> Arguments::integers_at(int k) const { return array_of<std::int16_t>(k, VT_I2); }
core::VbArray<std::string> Arguments::strings_at(int k) const { return array_of<std::string>(k, VT_BSTR); }

void* Arguments::record_at(int k, const GUID& id) const {
  VARIANT* v = deref(&at(k));
  if ((V_VT(v) & ~VT_BYREF) != VT_RECORD || !V_RECORDINFO(v) || !V_RECORD(v)) mismatch(k);
  GUID guid{};
  if (FAILED(V_RECORDINFO(v)->GetGuid(&guid)) || !IsEqualGUID(guid, id)) mismatch(k);
  return V_RECORD(v);
}

VARIANT* Arguments::target(int k) const { return find(k); }

void Arguments::set_long(int k, std::int32_t value) const { store(target(k), core::Variant(value)); }
void Arguments::set_integer(int k, std::int16_t value) const { store(target(k), core::Variant(value)); }
void Arguments::set_double(int k, double value) const { store(target(k), core::Variant(value)); }
void Arguments::set_boolean(int k, core::VbBool value) const { store(target(k), core::Variant(value != 0)); }
void Arguments::set_string(int k, const std::string& value) const { store(target(k), core::Variant(value)); }
void Arguments::set_object(int k, const core::Obj& value) const { store(target(k), core::Variant(value.ref())); }
void Arguments::set_variant(int k, const core::Variant& value) const { store(target(k), value); }

}  // namespace kestrel::server
