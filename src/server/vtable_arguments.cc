#include "server/vtable_arguments.h"

#include <oleauto.h>

#include "core/error.h"
#include "server/records.h"

namespace kestrel::server::vtable {
namespace {

VARIANT typed(VARTYPE vt) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = vt;
  return v;
}

}  // namespace

VARIANT by_value(LONG value) {
  VARIANT v = typed(VT_I4);
  V_I4(&v) = value;
  return v;
}

VARIANT by_value(BSTR value) {
  VARIANT v = typed(VT_BSTR);
  V_BSTR(&v) = value;
  return v;
}

VARIANT by_ref(LONG* value) {
  VARIANT v = typed(VT_I4 | VT_BYREF);
  V_I4REF(&v) = value;
  return v;
}

VARIANT by_ref(short* value) {
  VARIANT v = typed(VT_I2 | VT_BYREF);
  V_I2REF(&v) = value;
  return v;
}

VARIANT by_ref(double* value) {
  VARIANT v = typed(VT_R8 | VT_BYREF);
  V_R8REF(&v) = value;
  return v;
}

VARIANT boolean_ref(VARIANT_BOOL* value) {
  VARIANT v = typed(VT_BOOL | VT_BYREF);
  V_BOOLREF(&v) = value;
  return v;
}

VARIANT by_ref(BSTR* value) {
  VARIANT v = typed(VT_BSTR | VT_BYREF);
  V_BSTRREF(&v) = value;
  return v;
}

VARIANT by_ref(IDispatch** value) {
  VARIANT v = typed(VT_DISPATCH | VT_BYREF);
  V_DISPATCHREF(&v) = value;
  return v;
}

// An optional argument left out arrives as VT_ERROR inside; the handlers
// see through both levels.
VARIANT by_ref(VARIANT* value) {
  if (!value) {
    VARIANT missing = typed(VT_ERROR);
    V_ERROR(&missing) = DISP_E_PARAMNOTFOUND;
    return missing;
  }
  VARIANT v = typed(VT_VARIANT | VT_BYREF);
  V_VARIANTREF(&v) = value;
  return v;
}

VARIANT by_ref(SAFEARRAY** value) {
  VARTYPE element = VT_VARIANT;
  if (value && *value) SafeArrayGetVartype(*value, &element);
  VARIANT v = typed(VT_ARRAY | VT_BYREF | element);
  V_ARRAYREF(&v) = value;
  return v;
}

// Without the record's type information the argument stays Empty, which
// the handler answers as a type mismatch.
VARIANT record_ref(void* record, const GUID& id) {
  try {
    IRecordInfo& info = record_info(id);
    VARIANT v = typed(VT_RECORD | VT_BYREF);
    V_RECORDINFO(&v) = &info;
    V_RECORD(&v) = record;
    return v;
  } catch (const core::Error&) {
    return typed(VT_EMPTY);
  }
}

}  // namespace kestrel::server::vtable
