// What the point-label generators read before a run: the label options of
// the export dialog and the label positions of the user's preferences.
#pragma once

#include <cstdint>
#include <string_view>

#include "export/f_acad.h"
#include "platform/settings.h"

namespace kestrel::exporting {

// The kinds of point label, each with the layer of its own ("P_..." after
// the prefix) and its colour index (of that layer, or of the text when it
// goes on the point's layer).
enum class LabelKind : std::uint8_t { kName, kNumber, kCode, kElevation };

struct LabelKindStyle {
  std::string_view own_layer;
  std::int16_t colour;
};

[[nodiscard]] constexpr LabelKindStyle style_of(LabelKind kind) noexcept {
  switch (kind) {
    case LabelKind::kName: return {"P_Nombre", 2};
    case LabelKind::kNumber: return {"P_Numero", 7};
    case LabelKind::kCode: return {"P_Codigo", 3};
    case LabelKind::kElevation: return {"P_Z", 1};
  }
  return {"P_Numero", 7};
}

struct LabelOptions {
  bool name = false;       // chkNo
  bool number = false;     // ChkNu: the point's number
  bool x = false;          // ChkX
  bool y = false;          // ChkY
  bool code = false;       // chkCod
  bool elevation = false;  // ChkZ
  std::int16_t decimals_x = 0;
  std::int16_t decimals_y = 0;
  std::int16_t decimals_z = 0;
  bool vertical = false;    // CmbOrient reads "Vertical"
  bool own_layers = false;  // ChkAtri: each kind on its own layer

  // The number label (number, X, Y) is written.
  [[nodiscard]] bool numbers() const noexcept { return number || x || y; }
  [[nodiscard]] bool selected(LabelKind kind) const noexcept;
};

// The options as the dialog holds them. A check box counts only when it is
// both enabled and ticked; decimals are the integer part of the number
// typed (error 6 beyond the 16-bit range).
[[nodiscard]] LabelOptions read_label_options(const f_Acad& dialog);

// Where each label goes around its point: 1 above, 2 to the right, 3 (or
// any other value) below.
struct LabelPositions {
  std::int32_t name = 1;
  std::int32_t number = 2;
  std::int32_t code = 1;
  std::int32_t elevation = 3;

  [[nodiscard]] std::int32_t of(LabelKind kind) const noexcept;
};

// The positions stored under "Merivox Preferencias" ("Pos atributo nombre",
// "Pos atributo numero", "Pos atributo codigo", "Pos atributo cota"). A
// missing value, or one that is not a whole number within 32 bits, takes
// the default.
[[nodiscard]] LabelPositions read_label_positions(platform::SettingsStore& settings);

}  // namespace kestrel::exporting
