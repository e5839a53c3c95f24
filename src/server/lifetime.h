// What the library must know about itself as a loaded DLL: its module
// handle and path, and the counts of live objects and server locks that
// DllCanUnloadNow answers from. These are process-wide by nature (Windows
// hands them to the DLL, not to an object); they are the only state of the
// server outside its Module, and they are atomic.
#pragma once

#include <windows.h>

#include <string>

namespace kestrel::server {

// The handle DllMain received.
[[nodiscard]] HINSTANCE library_instance() noexcept;
// The library's full path, as the registry records it.
[[nodiscard]] std::wstring library_path();

// A c_Kestrel object was created / destroyed.
void object_created() noexcept;
void object_destroyed() noexcept;
// IClassFactory::LockServer.
void lock_server(bool lock) noexcept;
// True when no object is alive and no lock is held.
[[nodiscard]] bool can_unload() noexcept;

}  // namespace kestrel::server
