// f_Acad: the export dialog as a model — its controls, their state, and the
// events its accept button raises for the listener (c_Kestrel). The dialog's
// own caption is "Pegar en Autocad" until a CAD session names the CAD.
#pragma once

#include <string>
#include <string_view>

#include "export/f_acad_controls.h"
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

class f_Acad final : public FAcadControls, public platform::Form, public platform::KeyTarget {
 public:
  // A dialog whose events go to `listener` (nullptr: none).
  f_Acad(Module& module, FAcadEvents* listener);

  [[nodiscard]] std::string_view form_name() const override { return "f_Acad"; }

  // The control called `name`, with "(i)" for members of a control array
  // ("Option1(2)", "Op3D(0)"); nullptr when there is none.
  [[nodiscard]] Control* control(std::string_view name);
  [[nodiscard]] const Control* control(std::string_view name) const;

  // Load: restores the window position and the options saved in the
  // settings, fills Combo1; the dialog stays hidden. A loaded dialog is
  // left as it is.
  void load();
  // Unload: saves the window position and "Altura Texto", then forgets the
  // state of every control: they are back as designed (captions, values,
  // enabled) until the next load reads the settings again.
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
  // Whether a person at the screen can act on the control `name`: the
  // dialog is loaded and shown, and the control is enabled and visible.
  [[nodiscard]] bool within_reach(std::string_view name) const;
  // Sets a check box or option button ("Op3D(0)") and runs its click
  // handler, as the form's own code may do even while the control is
  // disabled.
  void set_value(std::string_view name, int value);
  // Puts text into a text box or combo box and runs its change handler,
  // likewise whatever its state.
  void set_text(std::string_view name, std::string text);
  // Presses a button: "cmdDatosaceptar" (Generar) or "bt_salir" (Cancelar).
  // A button out of reach does not respond: raises 5 and changes nothing.
  void click(std::string_view name);
  // A key press while the dialog is active; Escape asks whether to abort.
  void key_press(int key_code) override;

  // The vertical exaggeration Combo1 gives: the number after its first two
  // characters; a negative one gives 1.0.
  [[nodiscard]] double deformation_from_combo() const;

  [[nodiscard]] const WindowPlacement& placement() const noexcept { return placement_; }
  void set_placement(WindowPlacement p) noexcept { placement_ = p; }

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
