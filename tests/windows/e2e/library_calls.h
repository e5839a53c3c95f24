// A host's side of Mvx4_Kestrel.dll for the end-to-end test: the library
// created by its programmatic identifier and called late-bound by member
// name, as the host calls it, with by-reference arguments and records.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

namespace kestrel::wintest {

// A new c_Kestrel of the registered library. Throws std::runtime_error when
// it cannot be created.
[[nodiscard]] IDispatch* create_library_object();

// Calls method `name` with `args` in the order the method declares them;
// returns its result (VT_EMPTY for none). Throws std::runtime_error naming
// the method and the automation error when the call fails.
VARIANT call_method(IDispatch* object, const wchar_t* name, std::vector<VARIANT> args);

// Arguments: by reference to the caller's variable, or a record by reference.
[[nodiscard]] VARIANT by_ref(VARIANT_BOOL* value);
[[nodiscard]] VARIANT by_ref(BSTR* value);
[[nodiscard]] VARIANT by_ref(SAFEARRAY** array, VARTYPE element);
[[nodiscard]] VARIANT text(const wchar_t* value);  // a BSTR the call does not free
[[nodiscard]] VARIANT object(IDispatch* value);
[[nodiscard]] VARIANT record(IRecordInfo* info, void* data);

}  // namespace kestrel::wintest
