// A host's side of Mvx4_Kestrel.dll for the end-to-end test: the library
// created by its programmatic identifier and called late-bound by member
// name, as the host calls it, with by-reference arguments and records.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <vector>

namespace kestrel::wintest {

// A new c_Kestrel of the registered library. Throws std::runtime_error when
// it cannot be created.
[[nodiscard]] IDispatch* create_library_object();

// Calls method `name` with `args` in the order the method declares them
// (made as the library's own vtable path makes them: server/vtable_arguments.h);
// returns its result (VT_EMPTY for none). Throws std::runtime_error naming
// the method and the automation error when the call fails.
VARIANT call_method(IDispatch* object, const wchar_t* name, std::vector<VARIANT> args);

}  // namespace kestrel::wintest
