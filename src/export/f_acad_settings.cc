// Loading and unloading the export dialog: the window position and the
// options it keeps in the settings store.
#include <cmath>
#include <optional>

#include "core/numeric.h"
#include "core/trap.h"
#include "export/f_acad.h"
#include "module/settings_access.h"

namespace kestrel::exporting {

namespace {

constexpr std::string_view kPlacementSection = "Quentar Posicion Autoca VB";
constexpr const char* kCombo1Items[] = {" x 1", " x 2", " x 3", " x 4", " x 5", " x 10", " x 20", " x 30"};

// A stored 16-bit number, or nullopt when the text is not one.
std::optional<int> as_integer16(const std::string& text) {
  const std::optional<double> n = core::parse_number(text);
  if (!n || std::round(*n) < INT16_MIN || std::round(*n) > INT16_MAX) return std::nullopt;
  return core::cint(*n);
}

// A check box value as the store keeps it ("1", "0"; a Boolean text too).
int check_value(const std::string& text) { return core::Variant(text).to_bool() ? 1 : 0; }

std::string bool_text(bool b) { return b ? "True" : "False"; }

}  // namespace

std::string f_Acad::setting(std::string_view word, std::string_view key, std::string_view fallback) {
  return read_setting(module_.services.settings, word, key, fallback);
}

void f_Acad::save(std::string_view word, std::string_view key, std::string_view value) {
  save_setting(module_.services.settings, word, key, value);
}

void f_Acad::restore_placement() {
  platform::SettingsStore& store = module_.services.settings;
  // A setting that is not a 16-bit number ends the restore silently.
  const auto state = as_integer16(store.get(kSettingsApp, kPlacementSection, "Estado", "0"));
  if (!state) return;
  if (*state == 2) placement_.state = 2;
  if (*state != 0) return;
  auto position = [&](std::string_view key) -> std::optional<int> {
    const auto v = as_integer16(store.get(kSettingsApp, kPlacementSection, key, "100"));
    if (!v) return std::nullopt;
    return (std::abs(*v) > 25000 || *v < -100) ? 100 : *v;
  };
  const auto top = position("Top");
  if (!top) return;
  const auto left = position("Left");
  if (!left) return;
  placement_ = {0, *top, *left};
}

void f_Acad::save_placement() {
  platform::SettingsStore& store = module_.services.settings;
  store.save(kSettingsApp, kPlacementSection, "Estado", std::to_string(placement_.state));
  if (placement_.state != 0) return;
  store.save(kSettingsApp, kPlacementSection, "Top", std::to_string(placement_.top));
  store.save(kSettingsApp, kPlacementSection, "Left", std::to_string(placement_.left));
}

void f_Acad::read_label_settings() {
  TextX.text = setting("Datos", "Decimales X", "3");
  TextY.text = setting("Datos", "Decimales Y", "3");
  TextZ.text = setting("Datos", "Decimales Z", "3");
  ChkX.value = check_value(setting("Cad", "Rotula X", "0"));
  ChkY.value = check_value(setting("Cad", "Rotula Y", "0"));
  ChkZ.value = check_value(setting("Cad", "Rotula Z", "0"));
  txtAltura.text = setting("Cad", "Rotula H", "1");
  CmbOrient.text = setting("Cad", "Orientacion", "Horizontal");
}

void f_Acad::load() {
  if (loaded_) return;
  loaded_ = true;
  visible_ = false;
  core::trap(module_.error_log, {"Form_Load  - Error  nº ", ": "}, [&] {
    (void)core::attempt([&] { restore_placement(); });
    std::string height = setting("Quentar", "Altura Texto", "1");
    if (core::val(height) <= 0) height = "1";
    txtAltura.text = height;
    read_label_settings();
    ChkAtri.value = check_value(setting("Cad", "Capas Atributos", "1"));
    chkCap.value = check_value(setting("Cad", "Capas1", "0"));
    txtCap.text = setting("Cad", "Capas pref", "3D_");
    Op3D[0].value = check_value(setting("Cad", "2D", "0"));
    Op3D[1].value = check_value(setting("Cad", "3D", "1"));
    txtCap.enabled = chkCap.value == 1;
    Combo1.items.assign(std::begin(kCombo1Items), std::end(kCombo1Items));
    if (Combo1.text.empty()) Combo1.text = Combo1.items.front();
    Label1.enabled = Combo1.enabled = Op3D[1].value == 1;
  });
}

void f_Acad::unload() {
  if (!loaded_) return;
  (void)core::skip_each([&] { save_placement(); }, [&] { save("Quentar", "Altura Texto", txtAltura.text); });
  // An unloaded form keeps nothing of its controls: the next load starts
  // from the design, as the first one did.
  static_cast<FAcadControls&>(*this) = FAcadControls{};
  placement_ = {};
  loaded_ = false;
  visible_ = false;
}

void f_Acad::save_options() {
  save("Cad", "Decimales X", TextX.text);
  save("Cad", "Decimales Y", TextY.text);
  save("Cad", "Decimales Z", TextZ.text);
  save("Cad", "Rotula X", std::to_string(ChkX.value));
  save("Cad", "Rotula Y", std::to_string(ChkY.value));
  save("Cad", "Rotula Z", std::to_string(ChkZ.value));
  save("Cad", "Rotula H", txtAltura.text);
  save("Cad", "Orientacion", CmbOrient.text);
  save("Cad", "Capas Atributos", std::to_string(ChkAtri.value));
  save("Cad", "Capas1", std::to_string(chkCap.value));
  save("Cad", "Capas pref", txtCap.text);
  save("Cad", "2D", bool_text(Op3D[0].value == 1));
  save("Cad", "3D", bool_text(Op3D[1].value == 1));
}

}  // namespace kestrel::exporting
