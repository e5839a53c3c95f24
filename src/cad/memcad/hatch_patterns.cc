#include "cad/memcad/hatch_patterns.h"

#include <cmath>
#include <numbers>

#include <string>

#include "cad/memcad/arguments.h"
#include "cad/memcad/errors.h"
#include "cad/memcad/names.h"

namespace kestrel::memcad {

namespace {

// The ANSI patterns of the imperial pattern file, number for number.
constexpr double kDashed33[] = {.125, -.0625};
constexpr double kDashed35[] = {.3125, -.0625, 0, -.0625};
constexpr double kDashed38[] = {.3125, -.1875};

constexpr PatternLine kAnsi31[] = {{45, 0, 0, 0, .125, {}}};
constexpr PatternLine kAnsi32[] = {{45, 0, 0, 0, .375, {}}, {45, .176776695, 0, 0, .375, {}}};
constexpr PatternLine kAnsi33[] = {{45, 0, 0, 0, .25, {}}, {45, .176776695, 0, 0, .25, kDashed33}};
constexpr PatternLine kAnsi34[] = {{45, 0, 0, 0, .75, {}},
                                   {45, .176776695, 0, 0, .75, {}},
                                   {45, .353553391, 0, 0, .75, {}},
                                   {45, .530330086, 0, 0, .75, {}}};
constexpr PatternLine kAnsi35[] = {{45, 0, 0, 0, .25, {}}, {45, .176776695, 0, 0, .25, kDashed35}};
constexpr PatternLine kAnsi36[] = {{45, 0, 0, .21875, .125, kDashed35}};
constexpr PatternLine kAnsi37[] = {{45, 0, 0, 0, .125, {}}, {135, 0, 0, 0, .125, {}}};
constexpr PatternLine kAnsi38[] = {{45, 0, 0, 0, .125, {}}, {135, 0, 0, .25, .125, kDashed38}};

struct NamedPattern {
  std::string_view name;
  std::span<const PatternLine> lines;
};

constexpr NamedPattern kPatterns[] = {
    {"SOLID", {}},      {"ANSI31", kAnsi31}, {"ANSI32", kAnsi32}, {"ANSI33", kAnsi33}, {"ANSI34", kAnsi34},
    {"ANSI35", kAnsi35}, {"ANSI36", kAnsi36}, {"ANSI37", kAnsi37}, {"ANSI38", kAnsi38},
};

double radians(double degrees) noexcept { return degrees * (std::numbers::pi / 180); }

}  // namespace

std::optional<std::span<const PatternLine>> predefined_pattern(std::string_view name) {
  for (const NamedPattern& p : kPatterns) {
    if (same_name(p.name, name)) return p.lines;
  }
  return std::nullopt;
}

void check_hatch_pattern(std::int32_t type, std::string_view name) {
  check_range(type, 0, 2, "tipo de patrón");
  if (name.empty()) raise_refused("El nombre del patrón de sombreado está vacío");
  if (type == kPredefinedPattern && !predefined_pattern(name)) {
    raise_not_found("el patrón de sombreado " + std::string(name));
  }
}

DrawnPatternLine drawn_pattern_line(const PatternLine& line, double scale, double rotation) noexcept {
  // The base point turns with the pattern; the offset is stated along and
  // across the line, so it turns with the line's own angle as well.
  const double base_cos = std::cos(rotation), base_sin = std::sin(rotation);
  const double along = rotation + radians(line.angle);
  const double line_cos = std::cos(along), line_sin = std::sin(along);
  double angle = std::fmod(line.angle + rotation * (180 / std::numbers::pi), 360.0);
  if (angle < 0) angle += 360;
  if (angle >= 360) angle = 0;  // a tiny negative angle rounds up to 360
  return {angle,
          scale * (line.base_x * base_cos - line.base_y * base_sin),
          scale * (line.base_x * base_sin + line.base_y * base_cos),
          scale * (line.shift * line_cos - line.spacing * line_sin),
          scale * (line.shift * line_sin + line.spacing * line_cos)};
}

}  // namespace kestrel::memcad
