#include "cad/memcad/curves.h"

#include <cmath>
#include <numbers>

#include "cad/memcad/arguments.h"
#include "cad/memcad/errors.h"

namespace kestrel::memcad {

// Survey points come in millions: with its 8-byte allocator header a
// point must stay within the 80-byte chunk.
static_assert(sizeof(void*) != 8 || sizeof(Point) == 64);

namespace {

void put_radius(double& radius, const Variant& v) {
  const double r = v.to_double();
  if (!(r > 0)) raise_refused("El radio debe ser mayor que cero");
  radius = r;
}

const core::Member<Entity> kPointMembers[] = {
    {"Coordinates", [](Entity& e) { return point_variant(as<Point>(e).position); },
     [](Entity& e, const Variant& v) { as<Point>(e).position = point_value(v); }},
};

const core::Member<Entity> kLineMembers[] = {
    {"StartPoint", [](Entity& e) { return point_variant(as<Line>(e).start); },
     [](Entity& e, const Variant& v) { as<Line>(e).start = point_value(v); }},
    {"EndPoint", [](Entity& e) { return point_variant(as<Line>(e).end); },
     [](Entity& e, const Variant& v) { as<Line>(e).end = point_value(v); }},
    {"Length",
     [](Entity& e) {
       const Line& l = as<Line>(e);
       return Variant(std::hypot(l.end.x - l.start.x, l.end.y - l.start.y, l.end.z - l.start.z));
     }},
};

// A CAD hands out and takes the center in world coordinates.
template <class T>
core::Member<Entity> center_member() {
  return {"Center", [](Entity& e) { return point_variant(as<T>(e).ocs().to_wcs(as<T>(e).center)); },
          [](Entity& e, const Variant& v) { as<T>(e).center = as<T>(e).ocs().to_ocs(point_value(v)); }};
}

const core::Member<Entity> kArcMembers[] = {
    center_member<Arc>(),
    normal_member<Arc>(),
    {"Radius", [](Entity& e) { return Variant(as<Arc>(e).radius); },
     [](Entity& e, const Variant& v) { put_radius(as<Arc>(e).radius, v); }},
    {"StartAngle", [](Entity& e) { return Variant(as<Arc>(e).start_angle); },
     [](Entity& e, const Variant& v) { as<Arc>(e).start_angle = normalize_angle(v.to_double()); }},
    {"EndAngle", [](Entity& e) { return Variant(as<Arc>(e).end_angle); },
     [](Entity& e, const Variant& v) { as<Arc>(e).end_angle = normalize_angle(v.to_double()); }},
    {"StartPoint", [](Entity& e) { return point_variant(as<Arc>(e).start_point()); }},
    {"EndPoint", [](Entity& e) { return point_variant(as<Arc>(e).end_point()); }},
};

const core::Member<Entity> kCircleMembers[] = {
    center_member<Circle>(),
    normal_member<Circle>(),
    {"Radius", [](Entity& e) { return Variant(as<Circle>(e).radius); },
     [](Entity& e, const Variant& v) { put_radius(as<Circle>(e).radius, v); }},
    {"Diameter", [](Entity& e) { return Variant(2 * as<Circle>(e).radius); }},
};

// Whether the counter-clockwise sweep from `start` to `end` passes `angle`.
bool sweeps(double start, double end, double angle) {
  const double span = normalize_angle(end - start);
  return normalize_angle(angle - start) <= span;
}

}  // namespace

Box Point::extents() const {
  Box b;
  b.add(position);
  return b;
}

const core::MemberTable<Entity>& Point::members() const {
  static const core::MemberTable<Entity> table = entity_table(kPointMembers);
  return table;
}

Box Line::extents() const {
  Box b;
  b.add(start);
  b.add(end);
  return b;
}

void Line::transform(const Placement& p) {
  start = p.apply(start);
  end = p.apply(end);
}

const core::MemberTable<Entity>& Line::members() const {
  static const core::MemberTable<Entity> table = entity_table(kLineMembers);
  return table;
}

Box Arc::extents() const {
  Box b;
  b.add(point_on_circle(center, radius, start_angle));
  b.add(point_on_circle(center, radius, end_angle));
  for (int quarter = 0; quarter < 4; ++quarter) {
    const double a = quarter * std::numbers::pi / 2;
    if (sweeps(start_angle, end_angle, a)) b.add(point_on_circle(center, radius, a));
  }
  return ocs().to_wcs(b);
}

void Arc::transform(const Placement& p) {
  const PlacedPlane plane(normal, p);
  center = plane.point(center);
  radius = p.length(radius);
  start_angle = plane.angle(start_angle);
  end_angle = plane.angle(end_angle);
  normal = plane.normal();
}

const core::MemberTable<Entity>& Arc::members() const {
  static const core::MemberTable<Entity> table = entity_table(kArcMembers);
  return table;
}

Box Circle::extents() const {
  Box b;
  b.add({center.x - radius, center.y - radius, center.z});
  b.add({center.x + radius, center.y + radius, center.z});
  return ocs().to_wcs(b);
}

void Circle::transform(const Placement& p) {
  const PlacedPlane plane(normal, p);
  center = plane.point(center);
  radius = p.length(radius);
  normal = plane.normal();
}

const core::MemberTable<Entity>& Circle::members() const {
  static const core::MemberTable<Entity> table = entity_table(kCircleMembers);
  return table;
}

}  // namespace kestrel::memcad
