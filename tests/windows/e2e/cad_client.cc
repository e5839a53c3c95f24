// A host of the registered Mvx4_Kestrel.dll driving the fake CAD: the CAD
// started by class name, the library attached to that running instance and
// called late-bound with the host's records, every CAD call going through
// IDispatch into the fake CAD's module; the export dialog accepted
// unattended with its saved options.
//   cad_client export INPUT OUT.dxf    the drawing (record file or points ".csv") exported through the library
//   cad_client import IN.dxf OUT.json  the CAD's drawing copied back through the library
// Exit status: 0 done, 1 usage or input, 2 no CAD session, 3 engine errors.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "cad/dispatch/com_variant.h"
#include "cad/dispatch/dispatch_automation_host.h"
#include "platform/win32/registry_settings_store.h"
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

// The settings the library logs its errors in, the CAD the user started
// and, once attached, a c_Kestrel of the library.
struct Session {
  platform::RegistrySettingsStore settings;
  win32::DispatchAutomationHost automation;
  core::Obj cad{automation.create_object("ZWCAD.Application.2021")};
  IDispatch* kestrel = nullptr;

  ~Session() {
    if (kestrel) kestrel->Release();
  }
  // The library must attach to the running CAD and name it by its caption
  // and version; false when not.
  bool attach_library() {
    kestrel = create_library_object();
    VARIANT_BOOL sigue = VARIANT_FALSE;
    BSTR label = SysAllocString(L"ZWCAD 2021(x64)");
    VARIANT silent, name, version;
    win32::to_variant(core::Variant(true), silent);
    VariantInit(&name);
    VariantInit(&version);
    call_method(kestrel, L"IniciaAutocad", {vtable::boolean_ref(&sigue), vtable::by_value(label),
                                            vtable::by_ref(&silent), vtable::by_ref(&name), vtable::by_ref(&version)});
    SysFreeString(label);
    const bool named =
        win32::from_variant(name) == cad.get("Caption") && win32::from_variant(version) == cad.get("Version");
    VariantClear(&name);
    VariantClear(&version);
    return sigue != VARIANT_FALSE && named;
  }
  // The error log's counter, which counts every error a library call traps.
  std::string logged_errors() { return settings.get("Merivox", "Merivox Errores", "Numero", "0"); }
};

// The records the library is given and returns are left to the process's
// end: the run time cannot clear records holding arrays under Wine.
int run_export(const std::string& input, const std::string& dxf) {
  model::t_Datos set = read_drawings(input);
  Session session;
  if (!session.attach_library()) return 2;
  server::layout::t_Datos host{};
  server::to_host(set, host);
  SAFEARRAY* colours = SafeArrayCreateVector(VT_I4, 0, static_cast<ULONG>(triangles_of(set) + 1));
  call_method(session.kestrel, L"Mete", {vtable::record_ref(&host, server::kDatosId), vtable::by_ref(&colours)});
  const std::string errors = session.logged_errors();
  call_method(session.kestrel, L"A_Show_Seleccion_datos1", {});
  if (session.logged_errors() != errors) return 3;
  session.cad.call("TestSaveDxf", dxf);
  return 0;
}

int run_import(const std::string& dxf, const std::string& records) {
  Session session;
  session.cad.call("TestOpenDxf", dxf);
  if (!session.attach_library()) return 2;
  const core::Obj form(cli::HostProgressForm::create());
  BSTR ff = nullptr;
  VARIANT_BOOL everything = VARIANT_FALSE, salir = VARIANT_FALSE, blocks = VARIANT_FALSE;
  const std::string errors = session.logged_errors();
  IDispatch* apli = win32::unwrap_dispatch(form);
  const VARIANT result = call_method(session.kestrel, L"Copia__Todo",
                                     {vtable::by_ref(&apli), vtable::by_ref(&ff), vtable::boolean_ref(&everything),
                                      vtable::boolean_ref(&salir), vtable::boolean_ref(&blocks)});
  if (result.vt != VT_RECORD || salir != VARIANT_FALSE || session.logged_errors() != errors) return 3;
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
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc == 4 ? argv[1] : "";
  const auto run = command == "export" ? run_export : command == "import" ? run_import : nullptr;
  if (!run) {
    std::fprintf(stderr, "usage: cad_client export INPUT OUT.dxf | import IN.dxf OUT.json\n");
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
