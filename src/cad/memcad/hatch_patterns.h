// Predefined hatch patterns: the families of parallel lines each is drawn
// with, as the standard imperial pattern file states them, and where a
// hatch's pattern scale and angle put them in the drawing.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace kestrel::memcad {

// The pattern type AddHatch and SetPattern take for a predefined pattern.
inline constexpr std::int32_t kPredefinedPattern = 0;

// One family of a pattern, as a pattern file states it: lines at `angle`
// degrees, one through (`base_x`, `base_y`), the next one `shift` further
// along the line and `spacing` across it, and so on; each drawn with
// `dashes` (positive a dash, negative a gap, 0 a dot; none: continuous).
struct PatternLine {
  double angle;
  double base_x, base_y;
  double shift, spacing;
  std::span<const double> dashes;
};

// The families of the predefined pattern `name` (any case): none for
// "SOLID", nullopt for a name memcad's pattern file does not hold.
[[nodiscard]] std::optional<std::span<const PatternLine>> predefined_pattern(std::string_view name);

// What AddHatch and SetPattern accept, as a CAD does: a type 0 to 2 and a
// name, which for a predefined pattern must be one of the pattern file's.
// Raises the CAD's refusal otherwise.
void check_hatch_pattern(std::int32_t type, std::string_view name);

// A family as a hatch draws it: angle in degrees, [0, 360); base point
// and offset from one line to the next in drawing units.
struct DrawnPatternLine {
  double angle;
  double base_x, base_y;
  double offset_x, offset_y;
};

// `line` scaled by `scale` and turned by `rotation` radians about the
// origin; its dashes scale by `scale` alone.
[[nodiscard]] DrawnPatternLine drawn_pattern_line(const PatternLine& line, double scale, double rotation) noexcept;

}  // namespace kestrel::memcad
