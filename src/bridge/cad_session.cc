// The CAD session methods of c_Kestrel: Mira, IniciaAutocad, Color_True,
// A_Zoom_extension.
#include <string>

#include "bridge/c_kestrel.h"
#include "cad/catalogue.h"
#include "core/text.h"
#include "core/trap.h"
#include "export/color_true.h"

namespace kestrel::bridge {

namespace {

constexpr std::string_view kModeMacro = "Merivox 2022";

}  // namespace

bool c_Kestrel::Mira() {
  try {
    return core::len(module_.cad.Aplicacion.get("Version").to_string()) > 3;
  } catch (...) {
    return false;
  }
}

// The first two words of the caption joined by one blank, however many
// blanks stand between them; the family word when there is no caption.
void c_Kestrel::read_short_name() {
  std::string caption;
  (void)core::attempt([&] { caption = module_.cad.Aplicacion.get("Caption").to_string(); });
  const core::VbArray<std::string> pieces = core::split(caption, " ");
  std::string name;
  int words = 0;
  for (const std::string& word : pieces.items()) {
    if (word.empty()) continue;
    if (words++ > 0) name += ' ';
    name += word;
    if (words == 2) break;
  }
  cad_short_name_ = name.empty() ? module_.cad.FamiliaCad : name;
}

// Attach to the running application, else start one; four attempts in all
// (attach, start, attach, start). Returns false when none could be had.
bool c_Kestrel::connect(bool silent) {
  platform::AutomationHost& host = module_.services.automation;
  auto attach = [&] { module_.cad.Aplicacion = core::Obj(host.get_object(application_class_)); };
  auto start = [&] { module_.cad.Aplicacion = core::Obj(host.create_object(application_class_)); };
  if (!core::attempt(attach)) return true;
  if (!silent) {
    (void)core::skip_each([&] { aCad().labMandando.caption = "Abriendo " + version_label_; },
                          [&] { aCad().refresh(); });
  }
  if (!core::attempt(start)) return true;
  std::optional<core::Error> last = core::attempt(attach);
  if (last) last = core::attempt(start);
  // The first start failed: the label becomes whatever application answered.
  (void)core::attempt([&] { version_label_ = module_.cad.Aplicacion.get("Caption").to_string(); });
  return !last;
}

void c_Kestrel::report_connected(bool silent, const std::string& version) {
  if (silent) return;
  aCad().Caption = "Generar en " + module_.cad.Aplicacion.get("Caption").to_string();
  aCad().labMandando.caption = version + " ya está cargado.";
  aCad().refresh();
}

void c_Kestrel::bind_document(VbBool& sigue, bool silent, std::string* Nombre, std::string* Vers) {
  cad::CadSession& cad = module_.cad;
  try {
    cad.Documento = cad.Aplicacion.object("ActiveDocument");
  } catch (...) {
    module_.services.pointer.set(platform::kPointerDefault);
    if (silent) return;
    const core::Error e = core::current_error();
    module_.error_log.log("Cierra Autocad o abre un dibujo vacio   " + e.source() + " " +
                              core::number_text(e.number()) + ": " + e.description(),
                          e.source());
    return;
  }
  try {
    cad.EspacioModelo = cad.Documento.object("ModelSpace");
    cad.EspacioPapel = cad.Documento.object("PaperSpace");
    cad.Documento.call("SetVariable", "MODEMACRO", kModeMacro);
    cad.Aplicacion.put("Visible", true);
    module_.services.pointer.set(platform::kPointerDefault);
    sigue = core::kTrue;
    if (Nombre) *Nombre = cad.Aplicacion.get("Caption").to_string();
    if (Vers) *Vers = cad.Aplicacion.get("Version").to_string();
    report_connected(silent, cad.VersionCad);
  } catch (...) {
    module_.services.pointer.set(platform::kPointerDefault);
    if (silent) return;
    const core::Error e = core::current_error();
    module_.error_log.log("Cierra Autocad  - Error : " + core::number_text(e.number()) + ":" + e.description(),
                          e.source());
  }
}

void c_Kestrel::IniciaAutocad(VbBool& sigue, const std::string& Version, VbBool* Comprueba, std::string* Nombre,
                              std::string* Vers) {
  const bool silent = Comprueba && *Comprueba != core::kFalse;
  cad::CadSession& cad = module_.cad;
  sigue = core::kFalse;
  cad.VersionCad = Version;
  const cad::ApplicationEntry entry = cad::application_for(Version);
  application_class_ = entry.class_name;
  if (entry.family) cad.FamiliaCad = *entry.family;
  version_label_ = Version;
  read_short_name();

  if (Mira()) {
    // Already connected: the document objects are kept as they are.
    const auto caption = [&] { return cad.Aplicacion.get("Caption").to_string(); };
    sigue = core::kTrue;
    (void)core::skip_each([&] { (void)cad.Aplicacion.get("FullName"); },
                          [&] { (void)cad.Aplicacion.get("Caption"); },
                          [&] { (void)cad.Aplicacion.get("Version"); },
                          [&] { if (Nombre) *Nombre = caption(); },
                          [&] { if (Vers) *Vers = cad.Aplicacion.get("Version").to_string(); },
                          [&] { cad.Aplicacion.put("Visible", true); },
                          // Each dialog text on its own: a caption that cannot be read
                          // still leaves the status line and the refresh.
                          [&] { if (!silent) aCad().Caption = "Generar en " + caption(); },
                          [&] { if (!silent) aCad().labMandando.caption = Version + " ya está cargado."; },
                          [&] { if (!silent) aCad().refresh(); });
    return;
  }

  module_.services.pointer.set(platform::kPointerHourglass);
  if (!connect(silent)) {
    module_.services.pointer.set(platform::kPointerDefault);
    return;
  }
  bind_document(sigue, silent, Nombre, Vers);
}

void c_Kestrel::Color_True() { exporting::Color_True(module_, export_state_); }

void c_Kestrel::A_Zoom_extension() {
  try {
    const core::Obj& app = module_.cad.Aplicacion;
    app.put("Visible", true);
    app.call("ZoomExtents");
    app.call("Update");
  } catch (...) {
    const core::Error e = core::current_error();
    module_.error_log.log("No se puede hacer el zoom en Autocad \r\nError nº " + core::number_text(e.number()) +
                              "  " + e.description(),
                          e.source());
  }
}

}  // namespace kestrel::bridge
