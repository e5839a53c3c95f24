// The fake CAD as an in-process automation server "ZWCAD.Application.2021":
// each created memcad application (seen through ObjectDispatch) enters the
// running object table, as a started CAD does, so that the engine's attach
// finds it; it presents itself as the command-line tool's CAD does for the
// label "ZWCAD 2021(x64)", so that both save the same DXF.
#include <windows.h>
#include <oleauto.h>
#include <olectl.h>

#include <fstream>
#include <string>

#include "cad/dispatch/object_dispatch.h"
#include "cad/dxf/dxf.h"
#include "cad/memcad/application.h"
#include "core/dispatch.h"
#include "server/class_factory.h"
#include "tools/kestrel/cad_install.h"

namespace {

using namespace kestrel;

// memcad's Application with two members a test moves drawings with, as a
// user would with Save As and Open: TestSaveDxf(path) writes the active
// drawing, TestOpenDxf(path) opens one.
class FakeApplication final : public core::Object {
 public:
  explicit FakeApplication(std::shared_ptr<memcad::Application> application)
      : application_(std::move(application)) {}

  [[nodiscard]] std::string_view type_name() const override { return application_->type_name(); }
  core::Variant get(std::string_view member) override { return application_->get(member); }
  void put(std::string_view member, const core::Variant& value) override { application_->put(member, value); }
  core::Variant call(std::string_view member, std::span<core::Variant> args) override {
    const bool save = core::compare_member_names(member, "TestSaveDxf") == 0;
    if (!save && core::compare_member_names(member, "TestOpenDxf") != 0) return application_->call(member, args);
    const std::string path = core::argument(args, 1).to_string();
    if (save) {
      const memcad::Document* drawing = application_->active_document();
      if (!drawing) core::raise(core::kObjectNotSet);
      std::ofstream out(path, std::ios::binary);
      if (!(out << dxf::save_dxf_text(*drawing)).flush()) core::raise(core::kPathFileAccess);
      return {};
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) core::raise(core::kFileNotFound);
    application_->open_document(dxf::load_dxf_text(std::string(std::istreambuf_iterator<char>(in), {}), path));
    return {};
  }

 private:
  std::shared_ptr<memcad::Application> application_;
};

// {8C5E0A71-2B4F-4E36-9D1A-5F7C3B2E6A90}
constexpr CLSID kClsid = {0x8c5e0a71, 0x2b4f, 0x4e36, {0x9d, 0x1a, 0x5f, 0x7c, 0x3b, 0x2e, 0x6a, 0x90}};
constexpr wchar_t kClsidText[] = L"{8C5E0A71-2B4F-4E36-9D1A-5F7C3B2E6A90}";
constexpr wchar_t kProgId[] = L"ZWCAD.Application.2021";
constexpr char kLabel[] = "ZWCAD 2021(x64)";

HINSTANCE module_instance = nullptr;  // set once by DllMain

struct Applications {
  static IDispatch* create() {
    auto application = memcad::Application::create(cli::application_info_for(kLabel));
    IDispatch* dispatch = new win32::ObjectDispatch(std::make_shared<FakeApplication>(application));
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
