// Where the labels of a point go, in drawing units, for a text height h.
#pragma once

#include <array>
#include <cstdint>

#include "export/point_label_options.h"

namespace kestrel::exporting {

struct LabelPoint {
  double x = 0;
  double y = 0;
  double z = 0;
};

// The rotation of vertical labels, radians: a quarter turn plus a full turn.
inline constexpr double kVerticalRotation = 15.70796327 / 2;

// Fixed offsets around the point p (used by the plain labels, and by every
// vertical label): the name ends just left of the point (horizontal) or
// below it (vertical), `length` being its length in characters; the number
// starts at the point; the elevation goes 1.4 h below (right of) it and the
// code 1.4 h above (left of) it.
[[nodiscard]] LabelPoint fixed_position(LabelKind kind, bool vertical, const LabelPoint& p, double h,
                                        std::int32_t length);

// Horizontal labels at the user's positions (1 above, 2 right, 3 below).
// Labels sharing a position line up left to right: the name and then the
// code move the running width of their position on to the whole drawing
// units (halves to even) their text takes, (length + 0.5) h; the elevation
// starts after them; the number neither uses nor moves the widths. One
// object serves one point.
class RunningWidths {
 public:
  [[nodiscard]] LabelPoint place(LabelKind kind, std::int32_t position, const LabelPoint& p, double h,
                                 std::int32_t length);

 private:
  std::array<std::int32_t, 3> widths_{};  // A1 above, A2 right, A3 below
};

}  // namespace kestrel::exporting
