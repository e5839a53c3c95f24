// Plain geometry of the in-memory CAD: 3D points, boxes, the placement of a
// block reference (scale, rotation, translation) and polyline bulge arcs.
// Angles are radians, counter-clockwise from +X, as the CAD stores them.
#pragma once

#include <array>
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

// The object coordinate system (OCS) that a planar entity's normal (its
// extrusion direction) defines, by the DXF arbitrary axis algorithm. Arcs,
// circles, 2D polylines, texts and block references keep their points in it,
// as a CAD and its files do; a normal of +Z makes it the world system.
class Ocs {
 public:
  // A zero normal stands for +Z; any other is taken as its unit vector.
  explicit Ocs(const Vec3& normal = {0, 0, 1}) noexcept;

  [[nodiscard]] bool is_world() const noexcept { return world_; }
  [[nodiscard]] const Vec3& normal() const noexcept { return z_; }
  [[nodiscard]] Vec3 to_wcs(const Vec3& p) const noexcept;
  [[nodiscard]] Vec3 to_ocs(const Vec3& p) const noexcept;
  // The world box around a box of this system (exact for a normal of ±Z).
  [[nodiscard]] Box to_wcs(const Box& b) const noexcept;

 private:
  Vec3 x_{1, 0, 0};
  Vec3 y_{0, 1, 0};
  Vec3 z_{0, 0, 1};
  bool world_ = true;
};

// Where a block's content lands when referenced: p' = OCS(normal) of
// (insertion + R(rotation) * S(scale) * (p - origin)), with the insertion in
// the reference's OCS. A mirrored placement (one negative plan scale) turns
// counter-clockwise arcs clockwise.
class Placement {
 public:
  Placement() = default;
  Placement(Vec3 origin, Vec3 insertion, Vec3 scale, double rotation, const Vec3& normal = {0, 0, 1}) noexcept;

  [[nodiscard]] Vec3 apply(const Vec3& p) const noexcept;
  // A direction (or displacement) after placement: no translation.
  [[nodiscard]] Vec3 apply_vector(const Vec3& v) const noexcept;
  // A plan direction angle after placement.
  [[nodiscard]] double angle(double a) const noexcept;
  // A plan length after placement (the x scale's size; exact for uniform scales).
  [[nodiscard]] double length(double d) const noexcept { return d * plan_scale_; }
  // A height measured along the reference's y axis.
  [[nodiscard]] double height(double h) const noexcept { return h * height_scale_; }
  // How much the placement lengthens a unit vector `w` of the block (exact
  // for the scales a plan reference uses).
  [[nodiscard]] double stretch(const Vec3& w) const noexcept;
  // True when the placement turns orientation around (sign of its determinant).
  [[nodiscard]] bool reverses() const noexcept;
  // True when the plan view turns over (a clockwise arc stays clockwise only if not).
  [[nodiscard]] bool mirrored() const noexcept;

 private:
  Vec3 origin_{};
  Vec3 insertion_{};  // in world coordinates
  std::array<Vec3, 3> columns_{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};  // the linear part
  Vec3 scale_{1, 1, 1};
  double plan_scale_ = 1;
  double height_scale_ = 1;
};

// How a planar entity's own coordinates change under a placement: the
// plane's new normal, chosen so that counter-clockwise stays
// counter-clockwise (a mirror turns +Z into -Z instead of reversing arcs),
// and its points and angles in the OCS of that normal.
class PlacedPlane {
 public:
  PlacedPlane(const Vec3& normal, const Placement& placement) noexcept;

  [[nodiscard]] const Vec3& normal() const noexcept { return to_.normal(); }
  // A point of the old OCS, in the new one.
  [[nodiscard]] Vec3 point(const Vec3& p) const noexcept;
  // A direction angle of the old OCS, in the new one.
  [[nodiscard]] double angle(double a) const noexcept;

 private:
  const Placement& placement_;
  Ocs from_;
  Ocs to_;
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
