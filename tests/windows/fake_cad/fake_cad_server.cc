// The fake CAD as an in-process automation server "ZWCAD.Application.2021":
// each created memcad application (seen through ObjectDispatch) enters the
// running object table, as a started CAD does, so that the engine's attach
// finds it; it presents itself as the command-line tool's CAD does for the
// label "ZWCAD 2021(x64)", so that both save the same DXF.
#include <windows.h>
#include <oleauto.h>
#include <olectl.h>

#include <string>

#include "cad/dispatch/object_dispatch.h"
#include "fake_application.h"
#include "server/class_factory.h"
#include "tools/kestrel/cad_install.h"

namespace {

using namespace kestrel;

// {8C5E0A71-2B4F-4E36-9D1A-5F7C3B2E6A90}
constexpr CLSID kClsid = {0x8c5e0a71, 0x2b4f, 0x4e36, {0x9d, 0x1a, 0x5f, 0x7c, 0x3b, 0x2e, 0x6a, 0x90}};
constexpr wchar_t kClsidText[] = L"{8C5E0A71-2B4F-4E36-9D1A-5F7C3B2E6A90}";
constexpr wchar_t kProgId[] = L"ZWCAD.Application.2021";
constexpr char kLabel[] = "ZWCAD 2021(x64)";

HINSTANCE module_instance = nullptr;  // set once by DllMain

struct Applications {
  static IDispatch* create() {
    auto application = memcad::Application::create(cli::application_info_for(kLabel));
    IDispatch* dispatch = new win32::ObjectDispatch(std::make_shared<fake_cad::FakeApplication>(application));
    DWORD cookie = 0;
    RegisterActiveObject(dispatch, kClsid, ACTIVEOBJECT_STRONG, &cookie);
    return dispatch;
  }
  static void lock(bool) {}  // the module stays loaded anyway (DllCanUnloadNow)
};

server::StaticClassFactory<Applications> factory;

bool set_value(const std::wstring& path, const wchar_t* name, const std::wstring& value) {
  return RegSetKeyValueW(HKEY_CLASSES_ROOT, path.c_str(), name, REG_SZ, value.c_str(),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) module_instance = instance;
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (!IsEqualCLSID(clsid, kClsid)) return CLASS_E_CLASSNOTAVAILABLE;
  return factory.QueryInterface(iid, out);
}

// The applications live as long as their clients: the test process keeps
// this module loaded to its end.
STDAPI DllCanUnloadNow() { return S_FALSE; }

STDAPI DllRegisterServer() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(module_instance, path, MAX_PATH);
  const std::wstring clsid_key = std::wstring(L"CLSID\\") + kClsidText;
  const bool ok = set_value(clsid_key, nullptr, L"fake CAD application") &&
                  set_value(clsid_key + L"\\InprocServer32", nullptr, path) &&
                  set_value(clsid_key + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
                  set_value(clsid_key + L"\\ProgID", nullptr, kProgId) &&
                  set_value(std::wstring(kProgId) + L"\\CLSID", nullptr, kClsidText);
  return ok ? S_OK : SELFREG_E_CLASS;
}

STDAPI DllUnregisterServer() {
  RegDeleteTreeW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + kClsidText).c_str());
  RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId);
  return S_OK;
}
