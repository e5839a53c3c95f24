// Values across the automation boundary: BSTR and VARIANT to and from our
// UTF-8 strings and core::Variant, and objects both ways (an IDispatch seen
// as a core::Object, a core::Object offered as an IDispatch).
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <memory>
#include <string>
#include <string_view>

#include "core/object.h"
#include "core/variant.h"

namespace kestrel::win32 {

// UTF-16 to UTF-8; a null BSTR is "". A lone surrogate becomes U+FFFD.
[[nodiscard]] std::string from_bstr(BSTR text);
[[nodiscard]] std::string from_utf16(std::wstring_view text);
// UTF-8 to a new BSTR the caller frees with SysFreeString. A stray byte
// reads as its Windows-1252 character, as everywhere in Kestrel.
// Error 7 when the string cannot be allocated.
[[nodiscard]] BSTR to_bstr(std::string_view text);

// The value of `value` (following VT_BYREF): Empty, Boolean, Integer
// (VT_I2, VT_UI1), Long, Double (VT_R8, VT_R4), String, an object (VT_DISPATCH,
// seen through DispatchObject; a null one is Nothing), and one-dimensional
// arrays of Double, Long, Integer, String, Variant or objects with their
// bounds (a null SAFEARRAY is an unallocated array). Error 13 for anything
// else, multi-dimensional arrays included.
[[nodiscard]] core::Variant from_variant(const VARIANT& value);

class DispidCache;
// The same, the objects found sharing `cache` (the member identifiers
// already resolved for their types); null: each object gets its own.
[[nodiscard]] core::Variant from_variant(const VARIANT& value, const std::shared_ptr<DispidCache>& cache);

// Writes `value` into `out` as a new VARIANT the caller owns (VariantClear
// frees it). `out` is overwritten, not cleared: clear it first when it held
// a value. Arrays keep their bounds; an unallocated array is a null SAFEARRAY.
// On error (7 when memory runs out) `out` is left untouched.
void to_variant(const core::Variant& value, VARIANT& out);

// Stores `value` where the VT_BYREF VARIANT `target` points, freeing what
// was there: as a new VARIANT behind VT_BYREF|VT_VARIANT, else converted
// to the referenced type (error 13 when it does not convert, 6 when a
// number does not fit). Nothing changes on error.
void write_back(const core::Variant& value, VARIANT& target);

// `dispatch` as a core::Object (a DispatchObject holding a reference), or
// Nothing when it is null. An IDispatch that unwrap_dispatch made in this
// module over a core::Object gives that object back.
[[nodiscard]] core::Obj wrap_dispatch(IDispatch* dispatch);
[[nodiscard]] core::Obj wrap_dispatch(IDispatch* dispatch, const std::shared_ptr<DispidCache>& cache);
// The IDispatch for `object`, with a reference the caller releases: the one
// behind a DispatchObject, or a new ObjectDispatch over any other object.
// Null for Nothing.
[[nodiscard]] IDispatch* unwrap_dispatch(const core::Obj& object);

}  // namespace kestrel::win32
