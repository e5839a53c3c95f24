// The engine driving the fake CAD through the automation path a Windows host
// gets: found by class name, attached to the running instance, every CAD call
// late-bound into the fake CAD's module; the export dialog accepted
// unattended with its saved options.
//   cad_client export INPUT OUT.dxf            the engine in this program (record file or points ".csv")
//   cad_client library-export INPUT OUT.dxf    the engine in the registered Mvx4_Kestrel.dll, called
//                                              late-bound with the host's records
//   cad_client library-import IN.dxf OUT.json  the CAD's drawing copied back through the library
// Exit status: 0 done, 1 usage or input, 2 no CAD session, 3 engine errors.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "bridge/c_kestrel.h"
#include "cad/dispatch/com_variant.h"
#include "cad/dispatch/dispatch_automation_host.h"
#include "module/module.h"
#include "platform/win32/gdi_text_measure.h"
#include "platform/win32/registry_settings_store.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_ui.h"
#include "recordfile/record_file.h"
#include "server/ids.h"
#include "server/records.h"
#include "server/vtable_arguments.h"
#include "tools/kestrel/host_progress_form.h"
#include "tools/kestrel/points_csv.h"

namespace kestrel::server {
// The host's records are described by the record library of the registered library.
std::wstring library_path() {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(GetModuleHandleW(L"Mvx4_Kestrel.dll"), path.data(), MAX_PATH));
  return path;
}
}  // namespace kestrel::server

namespace {

using namespace kestrel;
namespace vtable = server::vtable;

constexpr const char* kCadClass = "ZWCAD.Application.2021";

struct WindowsServices {
  platform::RegistrySettingsStore settings;
  platform::Win32MessageBox message_box;
  platform::Win32Pointer pointer;
  platform::Win32MessagePump pump;
  platform::Win32DialogService dialogs;
  win32::DispatchAutomationHost automation;
  platform::GdiTextMeasure text_measure;
  Services services() { return {settings, message_box, pointer, pump, dialogs, automation, text_measure}; }
};

std::string hex(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
  return text;
}

// A new c_Kestrel of the registered library, created as the host creates it.
IDispatch* create_library_object() {
  CLSID clsid;
  IDispatch* object = nullptr;
  HRESULT hr = CLSIDFromProgID(server::kProgIdW, &clsid);
  if (SUCCEEDED(hr)) {
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&object));
  }
  if (FAILED(hr)) throw std::runtime_error("Mvx4_Kestrel.c_Kestrel cannot be created: " + hex(hr));
  return object;
}

// Calls method `name` late-bound with `args` in the order the method declares them.
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
  const HRESULT hr =
      object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result, &error, nullptr);
  if (FAILED(hr)) {
    throw std::runtime_error(method + " failed: " + hex(hr) + " error " +
                             std::to_string(error.wCode ? error.wCode : error.scode) + " " +
                             win32::from_bstr(error.bstrDescription));
  }
  return result;
}

model::t_Datos read_drawings(const std::string& input) {
  std::ifstream in(input, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + input);
  const std::string text(std::istreambuf_iterator<char>(in), {});
  if (input.ends_with(".csv")) return model::as_drawing_set(cli::parse_points_csv(text, input));
  return model::as_drawing_set(model::from_json(text));
}

// The triangles of the current drawing: Mete gets one colour for each.
std::int32_t triangles_of(model::t_Datos& set) {
  const std::int32_t current = std::min(set.DibujoAct, set.NuDibujos);
  return set.Dibujos.contains(current) ? std::max(set.Dibujos[current].Nutria, 0) : 0;
}

// The error log's counter, which counts every error a library call traps.
std::string logged_errors(platform::SettingsStore& settings) {
  return settings.get("Merivox", "Merivox Errores", "Numero", "0");
}

int run_export(const std::string& input, const std::string& dxf) {
  model::t_Datos set = read_drawings(input);
  WindowsServices windows;
  Module module(windows.services());
  bridge::c_Kestrel kestrel(module);
  const core::Obj cad(windows.automation.create_object(kCadClass));  // the user starts the CAD
  core::VbBool sigue = core::kFalse;
  kestrel.IniciaAutocad(sigue, "ZWCAD 2021(x64)");
  if (sigue == core::kFalse) return 2;
  kestrel.Mete(set, core::VbArray<std::int32_t>(0, triangles_of(set)));
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

// A c_Kestrel of the library attached to the running CAD; null when no session came.
IDispatch* connected_library() {
  IDispatch* kestrel = create_library_object();
  VARIANT_BOOL sigue = VARIANT_FALSE;
  BSTR label = SysAllocString(L"ZWCAD 2021(x64)");
  call_method(kestrel, L"IniciaAutocad", {vtable::boolean_ref(&sigue), vtable::by_value(label)});
  SysFreeString(label);
  return sigue != VARIANT_FALSE ? kestrel : nullptr;
}

// The records the library is given and returns are left to the process's
// end: the run time cannot clear records holding arrays under Wine.
int run_library_export(const std::string& input, const std::string& dxf) {
  model::t_Datos set = read_drawings(input);
  WindowsServices windows;
  const core::Obj cad(windows.automation.create_object(kCadClass));
  IDispatch* kestrel = connected_library();
  if (!kestrel) return 2;
  server::layout::t_Datos host{};
  server::to_host(set, host);
  SAFEARRAY* colours = SafeArrayCreateVector(VT_I4, 0, static_cast<ULONG>(triangles_of(set) + 1));
  call_method(kestrel, L"Mete", {vtable::record_ref(&host, server::kDatosId), vtable::by_ref(&colours)});
  const std::string errors = logged_errors(windows.settings);
  call_method(kestrel, L"A_Show_Seleccion_datos1", {});
  if (logged_errors(windows.settings) != errors) return 3;
  cad.call("TestSaveDxf", dxf);
  kestrel->Release();
  return 0;
}

int run_library_import(const std::string& dxf, const std::string& records) {
  WindowsServices windows;
  const core::Obj cad(windows.automation.create_object(kCadClass));
  cad.call("TestOpenDxf", dxf);
  IDispatch* kestrel = connected_library();
  if (!kestrel) return 2;
  const core::Obj form(cli::HostProgressForm::create());
  BSTR ff = nullptr;
  VARIANT_BOOL everything = VARIANT_FALSE, salir = VARIANT_FALSE, blocks = VARIANT_FALSE;
  const std::string errors = logged_errors(windows.settings);
  IDispatch* apli = win32::unwrap_dispatch(form);
  const VARIANT result = call_method(kestrel, L"Copia__Todo",
                                     {vtable::by_ref(&apli), vtable::by_ref(&ff), vtable::boolean_ref(&everything),
                                      vtable::boolean_ref(&salir), vtable::boolean_ref(&blocks)});
  if (result.vt != VT_RECORD || salir != VARIANT_FALSE || logged_errors(windows.settings) != errors) return 3;
  model::t_Datos set = server::from_host(*static_cast<const server::layout::t_Datos*>(result.pvRecord));
  if (set.NuDibujos < 1) return 3;
  // As the command-line tool leaves an import: the plan is the current drawing.
  set.DibujoAct = set.NuDibujos;
  for (std::int32_t i = set.NuDibujos; i >= 1; --i) {
    if (set.Dibujos[i].Texto1 == "PLANTA") {
      set.DibujoAct = i;
      break;
    }
  }
  std::ofstream(records, std::ios::binary) << model::to_json(set);
  kestrel->Release();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc == 4 ? argv[1] : "";
  const auto run = command == "export"           ? run_export
                   : command == "library-export" ? run_library_export
                   : command == "library-import" ? run_library_import
                                                 : nullptr;
  if (!run) {
    std::fprintf(stderr, "usage: cad_client [library-]export INPUT OUT.dxf | library-import IN.dxf OUT.json\n");
    return 1;
  }
  CoInitialize(nullptr);
  int status = 1;
  try {
    status = run(argv[2], argv[3]);
  } catch (const core::Error& e) {
    std::fprintf(stderr, "cad_client: error %d (%s): %s\n", static_cast<int>(e.number()), e.source().c_str(),
                 e.description().c_str());
    status = 3;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "cad_client: %s\n", e.what());
  }
  CoUninitialize();
  return status;
}
