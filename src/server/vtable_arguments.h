// The arguments of an early-bound call (through the dual interface's
// vtable) wrapped as the VARIANTs a late-bound call would carry, so that
// both paths share one set of handlers. Each wrapper points at the
// caller's storage; nothing is copied or owned.
#pragma once

#include <oaidl.h>

namespace kestrel::server::vtable {

[[nodiscard]] VARIANT by_value(LONG value);
[[nodiscard]] VARIANT by_value(BSTR value);
[[nodiscard]] VARIANT by_ref(LONG* value);
[[nodiscard]] VARIANT by_ref(short* value);
[[nodiscard]] VARIANT by_ref(double* value);
[[nodiscard]] VARIANT by_ref(BSTR* value);
[[nodiscard]] VARIANT by_ref(IDispatch** value);
// VARIANT_BOOL is a short: Booleans get their own name.
[[nodiscard]] VARIANT boolean_ref(VARIANT_BOOL* value);
[[nodiscard]] VARIANT by_ref(VARIANT* value);
[[nodiscard]] VARIANT by_ref(SAFEARRAY** value);
// A record of Mvx4_Var1 named by its GUID.
[[nodiscard]] VARIANT record_ref(void* record, const GUID& id);

}  // namespace kestrel::server::vtable
