// Hatches: a closed polyline already in the drawing filled with one of a
// few patterns chosen by a numeric code.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/numeric.h"
#include "core/object.h"
#include "export/export_state.h"

namespace kestrel::exporting {

// One entry of the pattern code table: the pattern's name (empty for the
// codes that name none) and its angle in grads.
struct HatchPattern {
  std::string_view name;
  double angle_grads = 0;
};

// The pattern of code `t`; none for codes below -70 or above -50, which are
// not hatched.
[[nodiscard]] std::optional<HatchPattern> hatch_pattern(std::int16_t t) noexcept;

// `Ch4_CreateHatch`: fills `Poly` (the outer boundary) with the pattern of
// code `t` at scale 0.1, adding the hatch to the block being defined
// (state.BloqueActual) when `Bloq` is true, else to model space. Colour:
// `Color1` >= 1 sets the colour index Color_ACI(Color1); -1 sets the true
// colour state.ColorObject; in both cases `Solido` puts the hatch on the
// layer PrefCap + "Sombreado". Any other `Color1` keeps the CAD's colour
// and puts the hatch on layer `Cp` unless it is empty. Codes outside
// -70..-50 do nothing. Errors are trapped: "Ch4_CreateHatch: " + step
// ("8", "9" or "10" by the colour branch) + "  Error nº " + number + ": " +
// description; a code whose pattern name is empty is refused by the CAD
// before any hatch exists.
void Ch4_CreateHatch(ExportContext& ctx, const core::Obj& Poly, std::int16_t t, const std::string& Cp,
                     core::VbBool Bloq, std::int32_t Color1 = 0, core::VbBool Solido = core::kFalse);

}  // namespace kestrel::exporting
