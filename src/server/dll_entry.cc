// The entry points Windows and the automation run time call: DllMain,
// DllGetClassObject and DllCanUnloadNow (registration: registration.cc).
#include <windows.h>
#include <objbase.h>

#include <atomic>

#include "server/class_factory.h"
#include "server/ids.h"
#include "server/lifetime.h"

namespace kestrel::server {
namespace {

HINSTANCE g_instance = nullptr;
std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

}  // namespace

HINSTANCE library_instance() noexcept { return g_instance; }

std::wstring library_path() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(g_instance, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

void object_created() noexcept { ++g_objects; }
void object_destroyed() noexcept { --g_objects; }
void lock_server(bool lock) noexcept { lock ? ++g_locks : --g_locks; }
bool can_unload() noexcept { return g_objects == 0 && g_locks == 0; }

}  // namespace kestrel::server

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    kestrel::server::g_instance = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!IsEqualCLSID(clsid, kestrel::server::kClsid)) return CLASS_E_CLASSNOTAVAILABLE;
  return kestrel::server::class_factory().QueryInterface(iid, out);
}

STDAPI DllCanUnloadNow() { return kestrel::server::can_unload() ? S_OK : S_FALSE; }
