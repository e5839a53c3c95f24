// Opening the export dialog: A_Show_Seleccion_datos1 and the older
// A_Show_Seleccion_datos.
#include "bridge/c_kestrel.h"
#include "core/text.h"
#include "core/trap.h"

namespace kestrel::bridge {

namespace {

bool has_nothing_to_draw(const model::DrawingModel& m, bool count_texts) {
  return m.NumPuntos == 0 && m.NumPolis == 0 && m.NumTriangulos == 0 && m.Curvado.NuCurvas == 0 &&
         (!count_texts || m.NumRotulos == 0);
}

bool is_block_reference(const std::string& code) {
  const std::string start = core::left(code, 2);
  return start == "**" || start == "##";
}

}  // namespace

// "Bloques": the points whose layer is on and whose code names another
// stored drawing.
void c_Kestrel::count_block_references() {
  model::DrawingModel& m = module_.model;
  core::trap(module_.error_log, {"Bloques - Error    nº ", ":"}, [&] {
    m.NumBloques = 0;
    const model::DrawingModel& read = m;  // reading leaves shared arrays shared
    for (std::int32_t i = 1; i <= read.NumPuntos; ++i) {
      if (read.Capas[read.PtoCapa[i]].Encendida != core::kFalse && is_block_reference(read.PtoCodigo[i])) ++m.NumBloques;
    }
  });
}

void c_Kestrel::show_dialog() {
  platform::MessagePump& pump = module_.services.pump;
  exporting::f_Acad& dialog = aCad();
  dialog.set_visible(true);
  pump.set_key_target(&dialog);
  module_.services.dialogs.show_modal(dialog);
  pump.set_key_target(nullptr);
  dialog.set_visible(false);
}

void c_Kestrel::A_Show_Seleccion_datos1() {
  core::trap(module_.error_log, {" A_Show_Seleccion_datos1 - Error    nº ", ": "}, [&] {
    if (has_nothing_to_draw(module_.model, true)) {
      module_.services.message_box.show("No hay nada activado en el dibujo", platform::kOkOnly,
                                        "Generar en Autocad " + version_label_ + ":");
      return;
    }
    (void)core::skip_each([&] { count_block_references(); }, [&] { aCad().Datos1(); }, [&] { Color_True(); });
    if (export_state_.Busy == core::kFalse) {
      (void)core::skip_each([&] { show_dialog(); }, [&] { A_Zoom_extension(); });
      return;
    }
    const std::string& family = module_.cad.FamiliaCad;
    (void)core::attempt([&] {
      module_.services.message_box.show("Tu versión de " + version_label_ +
                                            " no es compatible con Merivox. Actualiza tu version de " + family,
                                        platform::kCritical, family);
    });
  });
}

void c_Kestrel::A_Show_Seleccion_datos(std::int32_t& chkPutos, std::int32_t&, std::int32_t&, std::int32_t&,
                                       std::int32_t&, std::int32_t& chkPoli, std::int32_t& chkTriang,
                                       std::int32_t& chkCurvado, std::int32_t& chkReja) {
  core::trap(module_.error_log, {" A_Show_Seleccion_datos - Error    nº ", ": "}, [&] {
    const model::DrawingModel& m = module_.model;
    if (has_nothing_to_draw(m, false)) {
      module_.services.message_box.show("No hay nada activado en el dibujo", platform::kOkOnly,
                                        "Generar en Autocad " + version_label_ + ":");
      return;
    }
    aCad().ensure_loaded();
    aCad().Datos(m.NumPuntos, m.NumPolis, m.NumTriangulos, m.Curvado.NuCurvas, chkPutos, chkPoli, chkTriang,
                 chkCurvado, chkReja);
    show_dialog();
  });
}

}  // namespace kestrel::bridge
