// The engine driving the fake CAD through the automation path a Windows
// host gets: DispatchAutomationHost finds the CAD by class name, the engine
// attaches to the running instance, and every CAD call is a late-bound
// IDispatch call into the fake CAD's module. The services are the Windows
// ones; the export dialog is accepted unattended with its saved options.
// The export runs the engine in this program (the late-binding bench uses it
// too); the "library" commands run it in the registered Mvx4_Kestrel.dll,
// called late-bound with the host's records as the host calls it.
//   cad_client export INPUT OUT.dxf          the drawing set as the CAD draws it
//                                            (a record file, or points ".csv" as the tool reads them)
//   cad_client library-export INPUT OUT.dxf  the same through the library
//   cad_client library-import IN.dxf OUT.json  the drawing the CAD holds, copied back through the library
// Exit status: 0 done, 1 usage or input, 2 no CAD session, 3 engine errors.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>

#include "bridge/c_kestrel.h"
#include "cad/dispatch/com_variant.h"
#include "cad/dispatch/dispatch_automation_host.h"
#include "recordfile/record_file.h"
#include "module/module.h"
#include "platform/win32/gdi_text_measure.h"
#include "platform/win32/registry_settings_store.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_ui.h"
#include "server/ids.h"
#include "server/records.h"
#include "server/vtable_arguments.h"
#include "tools/kestrel/host_progress_form.h"
#include "tools/kestrel/points_csv.h"

namespace kestrel::wintest {
namespace {

std::string hex(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
  return text;
}

// A new c_Kestrel of the registered library, created by its programmatic
// identifier as the host creates it.
IDispatch* create_library_object() {
  CLSID clsid;
  HRESULT hr = CLSIDFromProgID(L"Mvx4_Kestrel.c_Kestrel", &clsid);
  if (FAILED(hr)) throw std::runtime_error("Mvx4_Kestrel.c_Kestrel is not registered: " + hex(hr));
  IDispatch* object = nullptr;
  hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&object));
  if (FAILED(hr)) throw std::runtime_error("Mvx4_Kestrel.c_Kestrel cannot be created: " + hex(hr));
  return object;
}

// Calls method `name` late-bound by name with `args` in the order the method
// declares them; throws std::runtime_error naming the method when it fails.
VARIANT call_method(IDispatch* object, const wchar_t* name, std::vector<VARIANT> args) {
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  const std::string method = win32::from_utf16(name);
  if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) {
    throw std::runtime_error(method + ": unknown member");
  }
  std::reverse(args.begin(), args.end());  // automation passes the last argument first
  DISPPARAMS params{args.data(), nullptr, static_cast<UINT>(args.size()), 0};
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO error{};
  UINT bad_argument = 0;
  const HRESULT hr =
      object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result, &error, &bad_argument);
  if (FAILED(hr)) {
    std::string what = method + " failed: " + hex(hr);
    if (hr == DISP_E_EXCEPTION) what += " error " + std::to_string(error.wCode ? error.wCode : error.scode) + " " +
                                        win32::from_bstr(error.bstrDescription);
    throw std::runtime_error(what);
  }
  return result;
}

}  // namespace
}  // namespace kestrel::wintest

namespace kestrel::server {
// The host's records are described by the automation library's own record
// library, as a host reads them from the registered library.
std::wstring library_path() {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(GetModuleHandleW(L"Mvx4_Kestrel.dll"), path.data(), MAX_PATH));
  return path;
}
}  // namespace kestrel::server

namespace {

using namespace kestrel;
namespace vtable = server::vtable;

constexpr const char* kLabel = "ZWCAD 2021(x64)";
constexpr const char* kCadClass = "ZWCAD.Application.2021";

struct WindowsServices {
  platform::RegistrySettingsStore settings;
  platform::Win32MessageBox message_box;
  platform::Win32Pointer pointer;
  platform::Win32MessagePump pump;
  platform::Win32DialogService dialogs;
  win32::DispatchAutomationHost automation;
  platform::GdiTextMeasure text_measure;
  Services services() {
    return {settings, message_box, pointer, pump, dialogs, automation, text_measure};
  }
};

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// IniciaAutocad as the host calls it; false when no session came.
bool connect(bridge::c_Kestrel& kestrel) {
  core::VbBool sigue = core::kFalse;
  kestrel.IniciaAutocad(sigue, kLabel);
  return sigue != core::kFalse;
}

// The export as the command-line tool runs it, the dialog accepted as the
// settings leave it.
model::t_Datos read_drawings(const std::string& input) {
  const std::string text = read_file(input);
  if (input.ends_with(".csv")) return model::as_drawing_set(cli::parse_points_csv(text, input));
  return model::as_drawing_set(model::from_json(text));
}

int run_export(const std::string& input, const std::string& dxf) {
  model::t_Datos set = read_drawings(input);
  WindowsServices windows;
  Module module(windows.services());
  bridge::c_Kestrel kestrel(module);
  // The user starts the CAD; the engine then attaches to it.
  const core::Obj cad(windows.automation.create_object(kCadClass));
  if (!connect(kestrel)) return 2;
  const std::int32_t current = std::min(set.DibujoAct, set.NuDibujos);
  const std::int32_t triangles = set.Dibujos.contains(current) ? set.Dibujos[current].Nutria : 0;
  kestrel.Mete(set, core::VbArray<std::int32_t>(0, std::max(triangles, 0)));
  bool accepted = false;
  windows.dialogs.set_unattended_action("f_Acad", [&](platform::Form&) {
    kestrel.aCad().click("cmdDatosaceptar");
    accepted = true;
  });
  kestrel.A_Show_Seleccion_datos1();
  if (!accepted || module.error_log.count() > 0) return 3;
  cad.call("TestSaveDxf", dxf);
  return 0;
}

// As the command-line tool leaves an import: the plan is the current drawing.
void write_as_the_tool_does(model::t_Datos& set, const std::string& records) {
  set.DibujoAct = set.NuDibujos;
  for (std::int32_t i = set.NuDibujos; i >= 1; --i) {
    if (set.Dibujos[i].Texto1 == "PLANTA") {
      set.DibujoAct = i;
      break;
    }
  }
  std::ofstream(records, std::ios::binary) << model::to_json(set);
}

// The error log's counter, which counts every error a library call traps.
std::string logged_errors(platform::SettingsStore& settings) {
  return settings.get("Merivox", "Merivox Errores", "Numero", "0");
}

// IniciaAutocad through the library; false when no session came.
bool connect_library(IDispatch* kestrel) {
  VARIANT_BOOL sigue = VARIANT_FALSE;
  BSTR label = SysAllocString(L"ZWCAD 2021(x64)");
  wintest::call_method(kestrel, L"IniciaAutocad", {vtable::boolean_ref(&sigue), vtable::by_value(label)});
  SysFreeString(label);
  return sigue != VARIANT_FALSE;
}

// The records the library is given and returns are left to the process's
// end: the run time cannot clear records holding arrays under Wine.
int run_library_export(const std::string& input, const std::string& dxf) {
  model::t_Datos set = read_drawings(input);
  WindowsServices windows;
  const core::Obj cad(windows.automation.create_object(kCadClass));
  IDispatch* kestrel = wintest::create_library_object();
  if (!connect_library(kestrel)) return 2;
  server::layout::t_Datos host{};
  server::to_host(set, host);
  const std::int32_t current = std::min(set.DibujoAct, set.NuDibujos);
  const std::int32_t triangles = set.Dibujos.contains(current) ? set.Dibujos[current].Nutria : 0;
  SAFEARRAY* colours = SafeArrayCreateVector(VT_I4, 0, static_cast<ULONG>(std::max(triangles, 0) + 1));
  wintest::call_method(kestrel, L"Mete", {vtable::record_ref(&host, server::kDatosId), vtable::by_ref(&colours)});
  const std::string errors = logged_errors(windows.settings);
  wintest::call_method(kestrel, L"A_Show_Seleccion_datos1", {});
  if (logged_errors(windows.settings) != errors) return 3;
  cad.call("TestSaveDxf", dxf);
  kestrel->Release();
  return 0;
}

int run_library_import(const std::string& dxf, const std::string& records) {
  WindowsServices windows;
  const core::Obj cad(windows.automation.create_object(kCadClass));
  cad.call("TestOpenDxf", dxf);
  IDispatch* kestrel = wintest::create_library_object();
  if (!connect_library(kestrel)) return 2;
  const core::Obj form(cli::HostProgressForm::create());
  BSTR ff = nullptr;
  VARIANT_BOOL everything = VARIANT_FALSE, salir = VARIANT_FALSE, blocks = VARIANT_FALSE;
  const std::string errors = logged_errors(windows.settings);
  IDispatch* apli = win32::unwrap_dispatch(form);
  const VARIANT result = wintest::call_method(
      kestrel, L"Copia__Todo",
      {vtable::by_ref(&apli), vtable::by_ref(&ff), vtable::boolean_ref(&everything), vtable::boolean_ref(&salir),
       vtable::boolean_ref(&blocks)});
  if (result.vt != VT_RECORD || salir != VARIANT_FALSE || logged_errors(windows.settings) != errors) return 3;
  model::t_Datos set = server::from_host(*static_cast<const server::layout::t_Datos*>(result.pvRecord));
  if (set.NuDibujos < 1) return 3;
  write_as_the_tool_does(set, records);
  kestrel->Release();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: cad_client [library-]export INPUT OUT.dxf | library-import IN.dxf OUT.json\n");
    return 1;
  }
  CoInitialize(nullptr);
  int status = 1;
  try {
    const std::string command = argv[1];
    if (command == "export") status = run_export(argv[2], argv[3]);
    if (command == "library-export") status = run_library_export(argv[2], argv[3]);
    if (command == "library-import") status = run_library_import(argv[2], argv[3]);
  } catch (const core::Error& e) {
    std::fprintf(stderr, "cad_client: error %d (%s): %s\n", static_cast<int>(e.number()), e.source().c_str(),
                 e.description().c_str());
    status = 3;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "cad_client: %s\n", e.what());
    status = 1;
  }
  CoUninitialize();
  return status;
}
