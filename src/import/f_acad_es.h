// f_Acad_es: the import dialog. The library uses it only as a progress
// window while the drawing is exploded; its check boxes and count labels
// are neither read nor filled. Its handlers set the dialog result: 2
// accepted, 1 cancelled or closed, 0 while open.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ui.h"

namespace kestrel::importing {

struct EsCheckBox {
  std::string Caption;
  std::int16_t Value = 0;
};

struct EsProgressBar {
  std::int32_t Max = 100;
  std::int32_t Value = 0;
};

class f_Acad_es final : public platform::Form {
 public:
  // `result` is the module's dialog result; loading the form sets it to 0.
  explicit f_Acad_es(std::int16_t& result) : result_(result) { result_ = 0; }

  [[nodiscard]] std::string_view form_name() const override { return "f_Acad_es"; }

  std::string Caption = "Extraer de AutoCad:";
  std::string Frame1 = "Selecciona entidades";
  EsCheckBox chkPuntos{"Puntos"};
  EsCheckBox chkPol{"Polilineas"};
  EsCheckBox chkTextos{"Textos"};
  EsCheckBox chk3Dc{"Caras3D"};
  EsCheckBox chkLine{"Lineas"};
  EsCheckBox chkCapas{"Buscar solo en capas activas:"};
  std::string lbPun, lbpol, labTex, lab3Dc, lblin;  // counts beside the check boxes
  std::string lbEntidad = "Entidades de Autocad";
  std::string labMandando = "Autocad ya está cargado.";
  EsProgressBar proBarra;
  std::string cmdDatosaceptar = "Extraer";
  std::string bt_salir = "Cancelar";

  [[nodiscard]] bool loaded() const noexcept { return loaded_; }
  [[nodiscard]] bool visible() const noexcept { return visible_; }
  void show_modeless() noexcept { visible_ = true; }
  void unload() noexcept { visible_ = loaded_ = false; }

  // "Extraer": accepted.
  void cmdDatosaceptar_Click() {
    result_ = 2;
    unload();
  }
  // "Cancelar".
  void bt_salir_Click() {
    result_ = 1;
    unload();
  }
  // The window is closed: cancelled, unless a button already answered.
  void Form_QueryUnload() {
    if (result_ == 0) result_ = 1;
    unload();
  }

 private:
  std::int16_t& result_;
  bool loaded_ = true;
  bool visible_ = false;
};

}  // namespace kestrel::importing
