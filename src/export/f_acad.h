// f_Acad: the export dialog as a model — its controls, their state, and the
// events its accept button raises for the listener (c_Kestrel). The dialog's
// own caption is "Pegar en Autocad" until a CAD session names the CAD.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "export/control.h"
#include "model/drawing_model.h"
#include "module/module.h"
#include "platform/ui.h"

namespace kestrel::exporting {

// The events of the export dialog, answered by c_Kestrel in the order raised.
class FAcadEvents {
 public:
  virtual ~FAcadEvents() = default;
  virtual void aCapasPrefijo(const std::string& PrefCap) = 0;
  virtual void aCadCapas(std::int32_t CapAc) = 0;
  virtual void aCad2D() = 0;
  virtual void aCadPtos() = 0;
  virtual void acadRotu1(double Altura) = 0;
  virtual void aCadTria(bool Solido) = 0;
  virtual void aCadTriaCurv(bool Solido) = 0;
  virtual void aCadCurv() = 0;
  virtual void aCadPoli() = 0;
  virtual void acadText() = 0;
  virtual void acadBloq() = 0;
};

// The window position the dialog restores and saves.
struct WindowPlacement {
  int state = 0;  // 0 normal, 1 minimised, 2 maximised
  int top = 100;  // twips
  int left = 100;
};

class f_Acad final : public platform::Form, public platform::KeyTarget {
 public:
  // A dialog whose events go to `listener` (nullptr: none).
  f_Acad(Module& module, FAcadEvents* listener);

  [[nodiscard]] std::string_view form_name() const override { return "f_Acad"; }

  // The control called `name`, with "(i)" for members of a control array
  // ("Option1(2)", "Op3D(0)"); nullptr when there is none.
  [[nodiscard]] Control* control(std::string_view name);

  // Load: restores the window position and the options saved in the
  // settings, fills Combo1; the dialog stays hidden. Loading an unloaded
  // dialog again reads the settings again.
  void load();
  // Unload: saves the window position and "Altura Texto".
  void unload();
  void ensure_loaded() {
    if (!loaded_) load();
  }
  [[nodiscard]] bool loaded() const noexcept { return loaded_; }
  [[nodiscard]] bool visible() const noexcept { return visible_; }
  void set_visible(bool v) noexcept { visible_ = v; }
  // Repaints the dialog; counted so that tests can see a refresh happened.
  void refresh() noexcept { ++refreshes_; }
  [[nodiscard]] int refreshes() const noexcept { return refreshes_; }

  // --- Operations of the dialog -----------------------------------------------
  // Fills the dialog from the drawing model and the saved options.
  void Datos1();
  // The older fill: receives the counts and a few flags and ignores them.
  void Datos(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
             std::int32_t, std::int32_t) {}

  // --- What the user does (each runs the control's handler) --------------------
  // Sets a check box or option button ("Op3D(0)") and runs its click handler.
  void set_value(std::string_view name, int value);
  // Types into a text box or combo box and runs its change handler.
  void set_text(std::string_view name, std::string text);
  // Presses a button: "cmdDatosaceptar" (Generar) or "bt_salir" (Cancelar).
  void click(std::string_view name);
  // A key press while the dialog is active; Escape asks whether to abort.
  void key_press(int key_code) override;

  // The vertical exaggeration Combo1 gives: the number after its first two
  // characters; a negative one gives 1.0.
  [[nodiscard]] double deformation_from_combo() const;

  [[nodiscard]] const WindowPlacement& placement() const noexcept { return placement_; }
  void set_placement(WindowPlacement p) noexcept { placement_ = p; }

  std::string Caption = "Pegar en Autocad";

  Control Frame1, chkPtos, chkPoli, chkSombrea, chkTria, FraTri;
  std::array<Control, 4> Option1;
  Control chkCurv, chkText, chkBlo, fraAtri, ChkNu, chkNo, chkCod, ChkX, ChkY, ChkZ;
  Control TextX, TextY, TextZ;
  std::array<Control, 3> Label2;
  Control txtAltura, labAtri, CmbOrient, Label3, ChkAtri, FraOpcion, chkCap, txtCap, Chk_Capas;
  std::array<Control, 2> Op3D;
  Control Combo1, Label1;
  Control labPtos, labPoli, labTria, labCurv, labRotulos, labBloques, labMandando, proBarra;
  Control cmdDatosaceptar, bt_salir;

 private:
  void accept();
  void save_options();
  void restore_placement();
  void save_placement();
  void read_label_settings();
  void enable_point_labels(bool enabled, bool with_attributes);
  void on_click(std::string_view name);
  [[nodiscard]] bool any_label_ticked() const;
  [[nodiscard]] std::string setting(std::string_view word, std::string_view key, std::string_view fallback);
  void save(std::string_view word, std::string_view key, std::string_view value);

  Module& module_;
  FAcadEvents* listener_;
  WindowPlacement placement_;
  bool loaded_ = false;
  bool visible_ = false;
  int refreshes_ = 0;
};

}  // namespace kestrel::exporting
