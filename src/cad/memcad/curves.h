// Points, lines, arcs and circles. Geometry is public data. Points and
// lines are in world coordinates; an arc or circle lies in the plane of its
// normal, its center in that plane's OCS (see Ocs), and an arc runs
// counter-clockwise around the normal from start_angle to end_angle (radians).
#pragma once

#include "cad/memcad/entity.h"

namespace kestrel::memcad {

class Point final : public Entity {
 public:
  explicit Point(Vec3 position = {}) noexcept : Entity(EntityKind::kPoint), position(position) {}
  Vec3 position;

  [[nodiscard]] Box extents() const override;
  [[nodiscard]] EntityPtr<Entity> clone() const override { return make_entity<Point>(*this); }
  void transform(const Placement& p) override { position = p.apply(position); }

 protected:
  [[nodiscard]] const core::MemberTable<Entity>& members() const override;
};

class Line final : public Entity {
 public:
  Line(Vec3 start = {}, Vec3 end = {}) noexcept : Entity(EntityKind::kLine), start(start), end(end) {}
  Vec3 start;
  Vec3 end;

  [[nodiscard]] Box extents() const override;
  [[nodiscard]] EntityPtr<Entity> clone() const override { return make_entity<Line>(*this); }
  void transform(const Placement& p) override;

 protected:
  [[nodiscard]] const core::MemberTable<Entity>& members() const override;
};

class Arc final : public Entity {
 public:
  Arc(Vec3 center = {}, double radius = 1, double start_angle = 0, double end_angle = 0) noexcept
      : Entity(EntityKind::kArc), center(center), radius(radius), start_angle(start_angle), end_angle(end_angle) {}
  Vec3 center;  // OCS
  double radius;
  double start_angle;
  double end_angle;
  Vec3 normal{0, 0, 1};

  [[nodiscard]] Ocs ocs() const noexcept { return Ocs(normal); }
  // The ends in world coordinates.
  [[nodiscard]] Vec3 start_point() const noexcept { return ocs().to_wcs(point_on_circle(center, radius, start_angle)); }
  [[nodiscard]] Vec3 end_point() const noexcept { return ocs().to_wcs(point_on_circle(center, radius, end_angle)); }

  [[nodiscard]] Box extents() const override;
  [[nodiscard]] EntityPtr<Entity> clone() const override { return make_entity<Arc>(*this); }
  void transform(const Placement& p) override;

 protected:
  [[nodiscard]] const core::MemberTable<Entity>& members() const override;
};

class Circle final : public Entity {
 public:
  Circle(Vec3 center = {}, double radius = 1) noexcept : Entity(EntityKind::kCircle), center(center), radius(radius) {}
  Vec3 center;  // OCS
  double radius;
  Vec3 normal{0, 0, 1};

  [[nodiscard]] Ocs ocs() const noexcept { return Ocs(normal); }

  [[nodiscard]] Box extents() const override;
  [[nodiscard]] EntityPtr<Entity> clone() const override { return make_entity<Circle>(*this); }
  void transform(const Placement& p) override;

 protected:
  [[nodiscard]] const core::MemberTable<Entity>& members() const override;
};

}  // namespace kestrel::memcad
