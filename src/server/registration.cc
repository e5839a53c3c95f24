// Self-registration: DllRegisterServer writes the class, its programmatic
// identifier and the two type libraries; DllUnregisterServer removes every
// key it wrote, in both scopes.
//
// Scope. Machine-wide (HKEY_CLASSES_ROOT, which writes to
// HKLM\Software\Classes) when the process may write there; otherwise, or
// when the environment variable KESTREL_REGISTER_SCOPE is "user", per user
// under HKCU\Software\Classes, which Windows merges into HKEY_CLASSES_ROOT
// for that user.
#include <windows.h>
#include <oleauto.h>

#include <olectl.h>

#include <array>
#include <string>
#include <tuple>

#include "server/ids.h"
#include "server/lifetime.h"

// Exported by oleaut32 but not declared by every SDK's oleauto.h.
extern "C" HRESULT WINAPI RegisterTypeLibForUser(ITypeLib*, OLECHAR*, OLECHAR*);
extern "C" HRESULT WINAPI UnRegisterTypeLibForUser(REFGUID, WORD, WORD, LCID, SYSKIND);

namespace kestrel::server {
namespace {

#ifdef _WIN64
constexpr SYSKIND kSysKind = SYS_WIN64;
#else
constexpr SYSKIND kSysKind = SYS_WIN32;
#endif

std::wstring guid_text(const GUID& guid) {
  std::array<wchar_t, 40> text{};
  StringFromGUID2(guid, text.data(), static_cast<int>(text.size()));
  return text.data();
}

struct Scope {
  HKEY root;
  bool per_user;
};

bool user_scope_requested() {
  std::array<wchar_t, 16> value{};
  const DWORD n = GetEnvironmentVariableW(L"KESTREL_REGISTER_SCOPE", value.data(), static_cast<DWORD>(value.size()));
  return n > 0 && n < value.size() && lstrcmpiW(value.data(), L"user") == 0;
}

// The per-user classes key, opened for writing (the caller closes it).
HKEY open_user_classes() {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return nullptr;
  return key;
}

bool machine_writable() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID", 0, KEY_CREATE_SUB_KEY, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

LSTATUS set_value(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& value) {
  HKEY key = nullptr;
  LSTATUS rc = RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
  if (rc != ERROR_SUCCESS) return rc;
  rc = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                      static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return rc;
}

HRESULT write_class_keys(HKEY root) {
  const std::wstring clsid = L"CLSID\\" + guid_text(kClsid);
  const std::wstring version = std::to_wstring(kLibMajor) + L"." + std::to_wstring(kLibMinor);
  const struct {
    std::wstring path;
    const wchar_t* name;
    std::wstring value;
  } entries[] = {
      {clsid, nullptr, kClassNameW},
      {clsid + L"\\InprocServer32", nullptr, library_path()},
      {clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {clsid + L"\\ProgID", nullptr, kProgIdW},
      {clsid + L"\\TypeLib", nullptr, guid_text(kLibId)},
      {clsid + L"\\Version", nullptr, version},
      {kProgIdW, nullptr, kClassNameW},
      {std::wstring(kProgIdW) + L"\\CLSID", nullptr, guid_text(kClsid)},
  };
  for (const auto& e : entries) {
    const LSTATUS rc = set_value(root, e.path, e.name, e.value);
    if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
  }
  return S_OK;
}

// Registers the type library held in resource `resource` of this library.
HRESULT register_type_library(int resource, bool per_user) {
  std::wstring path = library_path();
  if (resource != kTypeLibResource) path += L"\\" + std::to_wstring(resource);
  ITypeLib* lib = nullptr;
  HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, &lib);
  if (FAILED(hr)) return hr;
  std::wstring folder = library_path();
  folder.resize(folder.find_last_of(L'\\') + 1);
  hr = per_user ? RegisterTypeLibForUser(lib, path.data(), folder.data())
                : RegisterTypeLib(lib, path.data(), folder.data());
  lib->Release();
  return hr;
}

void delete_class_keys(HKEY root) {
  RegDeleteTreeW(root, (L"CLSID\\" + guid_text(kClsid)).c_str());
  RegDeleteKeyW(root, (L"CLSID\\" + guid_text(kClsid)).c_str());
  RegDeleteTreeW(root, kProgIdW);
  RegDeleteKeyW(root, kProgIdW);
}

HRESULT register_in(const Scope& scope) {
  HRESULT hr = write_class_keys(scope.root);
  if (SUCCEEDED(hr)) hr = register_type_library(kRecordLibResource, scope.per_user);
  if (SUCCEEDED(hr)) hr = register_type_library(kTypeLibResource, scope.per_user);
  return hr;
}

}  // namespace
}  // namespace kestrel::server

STDAPI DllRegisterServer() {
  using namespace kestrel::server;
  if (!user_scope_requested() && machine_writable()) {
    const HRESULT hr = register_in({HKEY_CLASSES_ROOT, false});
    if (FAILED(hr)) DllUnregisterServer();
    return hr;
  }
  HKEY user = open_user_classes();
  if (!user) return SELFREG_E_CLASS;
  const HRESULT hr = register_in({user, true});
  RegCloseKey(user);
  if (FAILED(hr)) DllUnregisterServer();
  return hr;
}

STDAPI DllUnregisterServer() {
  using namespace kestrel::server;
  // Type libraries first: unregistering them reads nothing we delete.
  for (const auto& [lib, major, minor] : {std::tuple{kLibId, kLibMajor, kLibMinor},
                                          std::tuple{kRecordLibId, kRecordLibMajor, kRecordLibMinor}}) {
    UnRegisterTypeLib(lib, major, minor, 0, kSysKind);
    UnRegisterTypeLibForUser(lib, major, minor, 0, kSysKind);
  }
  delete_class_keys(HKEY_CLASSES_ROOT);
  if (HKEY user = open_user_classes()) {
    delete_class_keys(user);
    RegCloseKey(user);
  }
  return S_OK;
}
