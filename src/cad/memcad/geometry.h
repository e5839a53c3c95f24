// Plain geometry of the in-memory CAD: 3D points, boxes, the placement of a
// block reference (scale, rotation, translation) and polyline bulge arcs.
// Angles are radians, counter-clockwise from +X, as the CAD stores them.
#pragma once

#include <optional>
#include <span>
#include <vector>

namespace kestrel::memcad {

struct Vec3 {
  double x = 0;
  double y = 0;
  double z = 0;
  friend bool operator==(const Vec3&, const Vec3&) = default;
};

// An axis-aligned box; empty until the first point is added.
class Box {
 public:
  void add(const Vec3& p) noexcept;
  void add(const Box& b) noexcept;
  [[nodiscard]] bool empty() const noexcept { return empty_; }
  [[nodiscard]] const Vec3& min() const noexcept { return min_; }
  [[nodiscard]] const Vec3& max() const noexcept { return max_; }
  // True when this box lies inside `outer` in plan (x, y), borders included.
  [[nodiscard]] bool inside_plan(const Box& outer) const noexcept;
  // True when the two boxes share at least one point in plan.
  [[nodiscard]] bool touches_plan(const Box& other) const noexcept;

 private:
  Vec3 min_{};
  Vec3 max_{};
  bool empty_ = true;
};

// Where a block's content lands when referenced: p' = insertion +
// R(rotation) * S(scale) * (p - origin). A mirrored placement (one negative
// plan scale) turns counter-clockwise arcs clockwise.
class Placement {
 public:
  Placement() = default;
  Placement(Vec3 origin, Vec3 insertion, Vec3 scale, double rotation) noexcept;

  [[nodiscard]] Vec3 apply(const Vec3& p) const noexcept;
  // A plan direction angle after placement.
  [[nodiscard]] double angle(double a) const noexcept;
  // A plan length after placement (the x scale's size; exact for uniform scales).
  [[nodiscard]] double length(double d) const noexcept { return d * plan_scale_; }
  // A height measured along the reference's y axis.
  [[nodiscard]] double height(double h) const noexcept { return h * height_scale_; }
  [[nodiscard]] double z_scale() const noexcept { return scale_.z; }
  [[nodiscard]] double rotation() const noexcept { return rotation_; }
  [[nodiscard]] const Vec3& scale() const noexcept { return scale_; }
  [[nodiscard]] bool mirrored() const noexcept { return scale_.x * scale_.y < 0; }

 private:
  Vec3 origin_{};
  Vec3 insertion_{};
  Vec3 scale_{1, 1, 1};
  double rotation_ = 0;
  double cos_ = 1;
  double sin_ = 0;
  double plan_scale_ = 1;
  double height_scale_ = 1;
};

// The arc that a bulge puts between two plan points (bulge = tan(angle / 4),
// positive counter-clockwise). Angles are the arc's own, counter-clockwise.
struct BulgeArc {
  Vec3 center;
  double radius = 0;
  double start_angle = 0;
  double end_angle = 0;
};
[[nodiscard]] BulgeArc bulge_arc(const Vec3& from, const Vec3& to, double bulge) noexcept;

// An angle brought into [0, 2π).
[[nodiscard]] double normalize_angle(double a) noexcept;
// The point at `angle` on the circle (center, radius), at the center's z.
[[nodiscard]] Vec3 point_on_circle(const Vec3& center, double radius, double angle) noexcept;

}  // namespace kestrel::memcad
