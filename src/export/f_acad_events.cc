// The export dialog at work: filling it from the model (Datos1), the
// check-box interlocks, the accept sequence that raises the generation
// events, and the abort key.
#include <algorithm>

#include "core/numeric.h"
#include "core/text.h"
#include "core/trap.h"
#include "export/f_acad.h"
#include "model/options.h"

namespace kestrel::exporting {

namespace {

std::string count_text(std::int32_t n) { return core::vb_str(n); }

// The number typed in a text box; the first "," counts as decimal point.
double typed_number(std::string text) {
  if (const auto comma = text.find(','); comma != std::string::npos) text[comma] = '.';
  return core::val(text);
}

// A check box takes a flag as it is only when the flag is a check box value.
void take_flag(Control& box, std::int32_t flag) {
  if (flag >= 0 && flag <= 2) box.value = flag;
}

void enable(std::initializer_list<Control*> controls, bool enabled) {
  for (Control* c : controls) c->enabled = enabled;
}

bool on(const Control& c) { return c.value == 1 && c.enabled; }

}  // namespace

bool f_Acad::any_label_ticked() const {
  return ChkNu.value == 1 || chkNo.value == 1 || chkCod.value == 1 || ChkX.value == 1 || ChkY.value == 1 ||
         ChkZ.value == 1;
}

void f_Acad::enable_point_labels(bool enabled, bool with_attributes) {
  enable({&ChkNu, &chkNo, &chkCod, &ChkX, &ChkY, &ChkZ, &TextX, &TextY, &TextZ, &Label2[0], &Label2[1], &Label2[2],
          &labAtri, &Label3, &CmbOrient, &txtAltura},
         enabled);
  if (with_attributes) ChkAtri.enabled = enabled;
}

double f_Acad::deformation_from_combo() const {
  const double d = core::val(core::mid(Combo1.text, 3));
  return d < 0 ? 1.0 : d;
}

void f_Acad::Datos1() {
  ensure_loaded();
  const model::DrawingModel& m = module_.model;
  const model::Opciones& flags = m.Opciones;
  labPtos.caption = count_text(m.NumPuntos);
  labPoli.caption = count_text(m.NumPolis);
  labTria.caption = count_text(m.NumTriangulos);
  labCurv.caption = count_text(m.Curvado.NuCurvas);
  labRotulos.caption = count_text(m.NumRotulos);
  labBloques.caption = count_text(m.NumBloques);

  chkPtos.value = flags.ticked(model::kChkPtos) ? 1 : 0;
  ChkNu.value = flags.ticked(model::kChkNu) ? 1 : 0;
  chkNo.value = flags.ticked(model::kChkNo) ? 1 : 0;
  chkCod.value = flags.ticked(model::kChkCod) ? 1 : 0;
  ChkZ.value = flags.ticked(model::kChkZ) ? 1 : 0;
  chkText.value = flags.ticked(model::kChkText) ? 1 : 0;
  if (!any_label_ticked()) enable({&txtAltura, &labAtri, &Label3, &CmbOrient}, false);

  chkPtos.enabled = m.NumPuntos > 0;
  enable({&chkPoli, &labPoli, &chkSombrea}, m.NumPolis >= 1);
  chkTria.enabled = m.NumTriangulos > 0;
  chkTria.value = m.NumTriangulos > 0 ? 1 : 0;
  enable({&chkCurv, &labCurv}, m.Curvado.NuCurvas > 0);
  enable({&chkText, &labRotulos}, m.NumRotulos > 0);

  take_flag(chkPtos, flags.get(model::kChkPtos));
  take_flag(chkPoli, flags.get(model::kChkPoli));
  take_flag(chkCurv, flags.get(model::kChkCurv));
  take_flag(chkText, flags.get(model::kChkText));

  read_label_settings();
  enable_point_labels(chkPtos.value == 1, false);
  const bool blocks = m.NumBloques >= 1;
  enable({&chkBlo, &labBloques}, blocks);
  chkBlo.value = blocks ? 1 : 0;
}

void f_Acad::on_click(std::string_view name) {
  if (name == "chkPtos") {
    enable_point_labels(chkPtos.value == 1, true);
  } else if (name == "ChkX" || name == "ChkY" || name == "ChkZ") {
    const std::size_t axis = static_cast<std::size_t>(name[3] - 'X');
    Control* box = axis == 0 ? &TextX : axis == 1 ? &TextY : &TextZ;
    enable({box, &Label2[axis]}, control(name)->value == 1);
  } else if (name == "chkTria") {
    enable({&FraTri, &Option1[0], &Option1[1], &Option1[2], &Option1[3], &labTria}, chkTria.value == 1);
  } else if (name == "chkPoli") {
    chkSombrea.enabled = chkPoli.value == 1;
  } else if (name == "chkCap") {
    txtCap.enabled = chkCap.value == 1;
  } else if (name == "Op3D(1)") {
    txtCap.text = "3D_";
    enable({&Label1, &Combo1}, true);
    module_.model.DeformaZ = deformation_from_combo();
  } else if (name == "Op3D(0)") {
    txtCap.text = "2D_";
    enable({&Label1, &Combo1}, false);
    module_.model.DeformaZ = 1.0;
  }
}

void f_Acad::set_value(std::string_view name, int value) {
  Control* c = control(name);
  if (!c) core::raise(core::kInvalidCall);
  const bool option = c->kind == ControlKind::kOptionButton;
  if (option && value != 0) {
    // Choosing one option button of a group clears the others.
    auto clear_if_member = [c](auto& group) {
      const bool member = std::any_of(group.begin(), group.end(), [c](const Control& o) { return &o == c; });
      if (member) std::ranges::for_each(group, [](Control& o) { o.value = 0; });
    };
    clear_if_member(Option1);
    clear_if_member(Op3D);
  }
  c->value = value;
  if (!option || value != 0) on_click(name);
}

void f_Acad::set_text(std::string_view name, std::string text) {
  Control* c = control(name);
  if (!c) core::raise(core::kInvalidCall);
  c->text = std::move(text);
  if (c == &Combo1) {
    module_.model.DeformaZ = deformation_from_combo();
  } else if (c == &txtAltura) {
    if (typed_number(txtAltura.text) < 0) txtAltura.text = "1";
  }
}

void f_Acad::click(std::string_view name) {
  if (!within_reach(name)) core::raise(core::kInvalidCall);
  if (name == "cmdDatosaceptar") {
    accept();
  } else if (name == "bt_salir") {
    unload();
  } else {
    core::raise(core::kInvalidCall);
  }
}

void f_Acad::key_press(int key_code) {
  if (key_code != platform::kKeyEscape) return;
  const int answer = module_.services.message_box.show("¿Quieres abortar el proceso en curso?",
                                                       platform::kYesNoCancel | platform::kCritical, "AutoCad:");
  module_.model.Cancelar = core::to_vb_bool(answer == platform::kYes);
}

void f_Acad::accept() {
  cmdDatosaceptar.enabled = false;
  refresh();
  module_.model.DeformaZ = Op3D[0].value == 1 ? 1.0 : deformation_from_combo();
  const std::string typed_prefix = core::trim(txtCap.text);
  const std::string prefix = chkCap.value == 1 ? typed_prefix : std::string();
  bt_salir.enabled = false;
  if (listener_) {
    FAcadEvents& events = *listener_;
    if (!typed_prefix.empty()) events.aCapasPrefijo(prefix);
    events.aCadCapas(Chk_Capas.value);
    if (Op3D[0].value == 1) events.aCad2D();
    if (on(chkPtos)) events.aCadPtos();
    double height = typed_number(txtAltura.text);
    if (height < 0) height = 1.0;
    if (any_label_ticked()) events.acadRotu1(height);
    if (on(chkTria)) {
      if (Option1[0].value == 1) events.aCadTria(false);
      if (Option1[1].value == 1) events.aCadTriaCurv(false);
      if (Option1[2].value == 1) events.aCadTria(true);
      if (Option1[3].value == 1) events.aCadTriaCurv(true);
    }
    if (on(chkCurv)) events.aCadCurv();
    if (on(chkPoli)) events.aCadPoli();
    if (on(chkText)) events.acadText();
    if (chkBlo.value == 1) events.acadBloq();
  }
  // The drawing is made whether or not the options can be kept: a settings
  // file that cannot be written is reported, and the dialog still closes.
  module_.error_log.trap_saves({"cmdDatosaceptar - Error    nº ", ": "}, [&] { save_options(); });
  unload();
}

}  // namespace kestrel::exporting
