// The two geometric operations the label placement works with, in the
// surveyor's convention: directions in grads (400 to the circle) clockwise
// from +Y (north), so 100 is east.
#pragma once

namespace kestrel::exporting {

struct PlanPoint {
  double x = 0;
  double y = 0;
  friend bool operator==(const PlanPoint&, const PlanPoint&) = default;
};

// The plan distance between two points.
[[nodiscard]] double distance(PlanPoint a, PlanPoint b) noexcept;

// The point `d` away from `from` in direction `grads` (negative `d` goes
// the other way).
[[nodiscard]] PlanPoint point_at(PlanPoint from, double d, double grads) noexcept;

// The direction from `a` to `b` (0 when they coincide).
[[nodiscard]] double direction(PlanPoint a, PlanPoint b) noexcept;

}  // namespace kestrel::exporting
