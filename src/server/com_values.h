// VARIANT, BSTR and IDispatch to and from the engine's values. The CAD
// side's conversions (cad/dispatch/com_variant.h) are used when they are
// built; until then a reduced set here stands in for them: strings,
// numbers, Booleans, Empty and Nothing, and no object other than Nothing.
#pragma once

#if __has_include("cad/dispatch/com_variant.h")
#include "cad/dispatch/com_variant.h"
#else
#define KESTREL_SERVER_OWN_COM_VALUES 1
#include <oaidl.h>

#include <string>
#include <string_view>

#include "core/object.h"
#include "core/variant.h"

namespace kestrel::win32 {

// UTF-16 -> UTF-8; a null BSTR is "".
[[nodiscard]] std::string from_bstr(BSTR text);
// UTF-8 -> a new BSTR; error 7 when there is no memory for it.
[[nodiscard]] BSTR to_bstr(std::string_view text);
// Follows VT_BYREF; error 13 for what it does not convert.
[[nodiscard]] core::Variant from_variant(const VARIANT& value);
// Into `out`, which the caller owns.
void to_variant(const core::Variant& value, VARIANT& out);

}  // namespace kestrel::win32
#endif
