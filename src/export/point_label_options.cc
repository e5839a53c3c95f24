#include "export/point_label_options.h"

#include <string>

#include "core/error.h"
#include "core/numeric.h"
#include "module/settings_access.h"

namespace kestrel::exporting {

namespace {

bool counts(const Control& box) noexcept { return box.enabled && box.value == 1; }

std::int16_t decimals(const Control& box) { return core::cint(core::vb_int(core::val(box.text))); }

std::int32_t read_position(platform::SettingsStore& settings, std::string_view key, std::int32_t fallback) {
  const std::string text = read_setting(settings, "Preferencias", key, std::to_string(fallback));
  const std::optional<double> number = core::parse_number(text);
  if (!number) return fallback;
  try {
    return core::clng(*number);
  } catch (const core::Error&) {
    return fallback;
  }
}

}  // namespace

bool LabelOptions::selected(LabelKind kind) const noexcept {
  switch (kind) {
    case LabelKind::kName: return name;
    case LabelKind::kNumber: return numbers();
    case LabelKind::kCode: return code;
    case LabelKind::kElevation: return elevation;
  }
  return false;
}

LabelOptions read_label_options(const f_Acad& dialog) {
  LabelOptions o;
  o.name = counts(dialog.chkNo);
  o.number = counts(dialog.ChkNu);
  o.x = counts(dialog.ChkX);
  o.y = counts(dialog.ChkY);
  o.code = counts(dialog.chkCod);
  o.elevation = counts(dialog.ChkZ);
  o.decimals_x = decimals(dialog.TextX);
  o.decimals_y = decimals(dialog.TextY);
  o.decimals_z = decimals(dialog.TextZ);
  o.vertical = dialog.CmbOrient.text == "Vertical";
  o.own_layers = counts(dialog.ChkAtri);
  return o;
}

std::int32_t LabelPositions::of(LabelKind kind) const noexcept {
  switch (kind) {
    case LabelKind::kName: return name;
    case LabelKind::kNumber: return number;
    case LabelKind::kCode: return code;
    case LabelKind::kElevation: return elevation;
  }
  return 3;
}

LabelPositions read_label_positions(platform::SettingsStore& settings) {
  LabelPositions p;
  p.name = read_position(settings, "Pos atributo nombre", p.name);
  p.number = read_position(settings, "Pos atributo numero", p.number);
  p.code = read_position(settings, "Pos atributo codigo", p.code);
  p.elevation = read_position(settings, "Pos atributo cota", p.elevation);
  return p;
}

}  // namespace kestrel::exporting
