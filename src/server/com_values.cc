#include "server/com_values.h"

#ifdef KESTREL_SERVER_OWN_COM_VALUES
#include <oleauto.h>

#include "core/error.h"

namespace kestrel::win32 {

std::string from_bstr(BSTR text) {
  const int length = static_cast<int>(SysStringLen(text));
  if (length == 0) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
  return out;
}

BSTR to_bstr(std::string_view text) {
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  BSTR out = SysAllocStringLen(nullptr, static_cast<UINT>(size));
  if (!out) core::raise(core::kOutOfMemory);
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out, size);
  return out;
}

core::Variant from_variant(const VARIANT& value) {
  VARIANT v;
  VariantInit(&v);
  if (FAILED(VariantCopyInd(&v, const_cast<VARIANT*>(&value)))) core::raise(core::kTypeMismatch);
  core::Variant out;
  bool converted = true;
  switch (V_VT(&v)) {
    case VT_EMPTY: break;
    case VT_BOOL: out = core::Variant(V_BOOL(&v) != VARIANT_FALSE); break;
    case VT_I2: out = core::Variant(static_cast<std::int16_t>(V_I2(&v))); break;
    case VT_I4: out = core::Variant(static_cast<std::int32_t>(V_I4(&v))); break;
    case VT_R8: out = core::Variant(V_R8(&v)); break;
    case VT_BSTR: out = core::Variant(from_bstr(V_BSTR(&v))); break;
    case VT_DISPATCH: converted = V_DISPATCH(&v) == nullptr; out = core::Variant(core::ObjectRef()); break;
    default: converted = false;
  }
  VariantClear(&v);
  if (!converted) core::raise(core::kTypeMismatch);
  return out;
}

void to_variant(const core::Variant& value, VARIANT& out) {
  VariantInit(&out);
  switch (value.type()) {
    case core::VarType::kEmpty: break;
    case core::VarType::kBoolean:
      V_VT(&out) = VT_BOOL;
      V_BOOL(&out) = value.to_bool() ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case core::VarType::kInteger:
      V_VT(&out) = VT_I2;
      V_I2(&out) = value.to_int16();
      break;
    case core::VarType::kLong:
      V_VT(&out) = VT_I4;
      V_I4(&out) = value.to_int32();
      break;
    case core::VarType::kDouble:
      V_VT(&out) = VT_R8;
      V_R8(&out) = value.to_double();
      break;
    case core::VarType::kString:
      V_VT(&out) = VT_BSTR;
      V_BSTR(&out) = to_bstr(value.to_string());
      break;
    case core::VarType::kObject:
      if (value.to_object()) core::raise(core::kTypeMismatch);
      V_VT(&out) = VT_DISPATCH;
      V_DISPATCH(&out) = nullptr;
      break;
    default: core::raise(core::kTypeMismatch);
  }
}

}  // namespace kestrel::win32
#endif
