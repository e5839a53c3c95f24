#include "cad/memcad/polylines.h"

#include "cad/memcad/arguments.h"
#include "cad/memcad/errors.h"
#include "cad/memcad/explode.h"

namespace kestrel::memcad {

void check_vertex_list(const std::vector<double>& values, std::size_t dimension) {
  if (values.size() % dimension != 0) {
    raise_refused("El número de coordenadas no es múltiplo de " + std::to_string(dimension));
  }
  if (values.size() < 2 * dimension) raise_refused("Una polilínea necesita al menos dos vértices");
}

namespace {

std::size_t vertex_argument(Args args, std::size_t count) {
  const std::int32_t i = long_argument(args, 1);
  if (i < 0 || static_cast<std::size_t>(i) >= count) raise_not_found("el vértice " + std::to_string(i));
  return static_cast<std::size_t>(i);
}

Variant get_bulge(const std::vector<double>& bulges, std::size_t count, Args args) {
  const std::size_t i = vertex_argument(args, count);
  return Variant(i < bulges.size() ? bulges[i] : 0.0);
}

Variant set_bulge(std::vector<double>& bulges, std::size_t count, Args args) {
  const std::size_t i = vertex_argument(args, count);
  const double bulge = double_argument(args, 2);
  bulges.resize(count, 0.0);
  bulges[i] = bulge;
  return {};
}

Variant coordinate(const std::vector<double>& values, std::size_t dimension, Args args) {
  const std::size_t i = vertex_argument(args, values.size() / dimension);
  return numbers_variant(std::span<const double>(values).subspan(i * dimension, dimension));
}

// A new vertex list of the same length moves the vertices and keeps their
// bulges and widths; one of another length starts straight and plain.
void forget_if_resized(std::vector<double>& per_vertex, std::size_t old_size, std::size_t new_size) {
  if (old_size != new_size) per_vertex.clear();
}

void put_lw_coordinates(Entity& e, const Variant& v) {
  auto& p = as<LightweightPolyline>(e);
  std::vector<double> xy = numbers_value(v);
  check_vertex_list(xy, 2);
  forget_if_resized(p.bulges, p.xy.size(), xy.size());
  forget_if_resized(p.widths, p.xy.size(), xy.size());
  p.xy = std::move(xy);
}

void put_width(Entity& e, const Variant& v) {
  const double w = v.to_double();
  check_range(w, 0, 1e100, "anchura");
  as<LightweightPolyline>(e).constant_width = w;
  as<LightweightPolyline>(e).widths.clear();
}

const core::Member<Entity> kLightweightMembers[] = {
    {"Coordinates", [](Entity& e) { return numbers_variant(as<LightweightPolyline>(e).xy); }, &put_lw_coordinates},
    normal_member<LightweightPolyline>(),
    {"Elevation", [](Entity& e) { return Variant(as<LightweightPolyline>(e).elevation); },
     [](Entity& e, const Variant& v) { as<LightweightPolyline>(e).elevation = v.to_double(); }},
    {"Closed", [](Entity& e) { return Variant(as<LightweightPolyline>(e).closed); },
     [](Entity& e, const Variant& v) { as<LightweightPolyline>(e).closed = v.to_bool(); }},
    {"ConstantWidth", [](Entity& e) { return Variant(as<LightweightPolyline>(e).constant_width); }, &put_width},
    {"Coordinate", nullptr, nullptr,
     [](Entity& e, Args a) { return coordinate(as<LightweightPolyline>(e).xy, 2, a); }},
    {"GetBulge", nullptr, nullptr,
     [](Entity& e, Args a) {
       auto& p = as<LightweightPolyline>(e);
       return get_bulge(p.bulges, p.vertex_count(), a);
     }},
    {"SetBulge", nullptr, nullptr,
     [](Entity& e, Args a) {
       auto& p = as<LightweightPolyline>(e);
       return set_bulge(p.bulges, p.vertex_count(), a);
     }},
    {"Explode", nullptr, nullptr, &explode_member},
};

void put_2d_coordinates(Entity& e, const Variant& v) {
  auto& p = as<Polyline2d>(e);
  std::vector<double> xyz = numbers_value(v);
  check_vertex_list(xyz, 3);
  forget_if_resized(p.bulges, p.xyz.size(), xyz.size());
  p.xyz = std::move(xyz);
}

// A 2D polyline's vertices as a CAD hands them out: x, y in the OCS, z = 0.
std::vector<double> plane_vertices(const Polyline2d& p) {
  std::vector<double> out = p.xyz;
  for (std::size_t i = 2; i < out.size(); i += 3) out[i] = 0;
  return out;
}

Variant plane_vertex(const Polyline2d& p, Args args) {
  const std::size_t i = vertex_argument(args, p.vertex_count());
  const double xyz[] = {p.xyz[3 * i], p.xyz[3 * i + 1], 0};
  return numbers_variant(xyz);
}

const core::Member<Entity> kPolyline2dMembers[] = {
    {"Coordinates", [](Entity& e) { return numbers_variant(plane_vertices(as<Polyline2d>(e))); }, &put_2d_coordinates},
    normal_member<Polyline2d>(),
    {"Elevation", [](Entity& e) { return Variant(as<Polyline2d>(e).elevation); },
     [](Entity& e, const Variant& v) { as<Polyline2d>(e).elevation = v.to_double(); }},
    {"Closed", [](Entity& e) { return Variant(as<Polyline2d>(e).closed); },
     [](Entity& e, const Variant& v) { as<Polyline2d>(e).closed = v.to_bool(); }},
    {"Coordinate", nullptr, nullptr, [](Entity& e, Args a) { return plane_vertex(as<Polyline2d>(e), a); }},
    {"GetBulge", nullptr, nullptr,
     [](Entity& e, Args a) {
       auto& p = as<Polyline2d>(e);
       return get_bulge(p.bulges, p.vertex_count(), a);
     }},
    {"SetBulge", nullptr, nullptr,
     [](Entity& e, Args a) {
       auto& p = as<Polyline2d>(e);
       return set_bulge(p.bulges, p.vertex_count(), a);
     }},
    {"Explode", nullptr, nullptr, &explode_member},
};

void put_3d_coordinates(Entity& e, const Variant& v) {
  std::vector<double> xyz = numbers_value(v);
  check_vertex_list(xyz, 3);
  as<Polyline3d>(e).xyz = std::move(xyz);
}

const core::Member<Entity> kPolyline3dMembers[] = {
    {"Coordinates", [](Entity& e) { return numbers_variant(as<Polyline3d>(e).xyz); }, &put_3d_coordinates},
    {"Closed", [](Entity& e) { return Variant(as<Polyline3d>(e).closed); },
     [](Entity& e, const Variant& v) { as<Polyline3d>(e).closed = v.to_bool(); }},
    {"Coordinate", nullptr, nullptr, [](Entity& e, Args a) { return coordinate(as<Polyline3d>(e).xyz, 3, a); }},
    {"Explode", nullptr, nullptr, &explode_member},
};

const core::Member<Entity> kMeshMembers[] = {
    {"Coordinates", [](Entity& e) { return numbers_variant(as<PolyfaceMesh>(e).vertices); }},
    {"NumberOfVertices",
     [](Entity& e) { return Variant(static_cast<std::int32_t>(as<PolyfaceMesh>(e).vertex_count())); }},
    {"NumberOfFaces", [](Entity& e) { return Variant(static_cast<std::int32_t>(as<PolyfaceMesh>(e).faces.size())); }},
    {"Coordinate", nullptr, nullptr,
     [](Entity& e, Args a) { return coordinate(as<PolyfaceMesh>(e).vertices, 3, a); }},
    {"Explode", nullptr, nullptr, &explode_member},
};

Box box_of(const std::vector<double>& values, std::size_t dimension, double z) {
  Box b;
  for (std::size_t i = 0; i + dimension <= values.size(); i += dimension) {
    b.add({values[i], values[i + 1], dimension == 3 ? values[i + 2] : z});
  }
  return b;
}

void place_all(std::vector<double>& xyz, const Placement& p) {
  for (std::size_t i = 0; i + 3 <= xyz.size(); i += 3) {
    const Vec3 v = p.apply({xyz[i], xyz[i + 1], xyz[i + 2]});
    xyz[i] = v.x;
    xyz[i + 1] = v.y;
    xyz[i + 2] = v.z;
  }
}

// The world box of plane vertices given in `ocs` (x, y at `stride`, at the elevation).
Box world_box(const std::vector<double>& values, std::size_t stride, double elevation, const Ocs& ocs) {
  Box b;
  for (std::size_t i = 0; i + stride <= values.size(); i += stride) {
    b.add(ocs.to_wcs({values[i], values[i + 1], elevation}));
  }
  return b;
}

// Moves plane vertices (x, y at `stride`) as `plane` says; returns the new elevation.
double place_plane(std::vector<double>& values, std::size_t stride, double elevation, const PlacedPlane& plane) {
  double placed_elevation = plane.point({0, 0, elevation}).z;
  for (std::size_t i = 0; i + stride <= values.size(); i += stride) {
    const Vec3 v = plane.point({values[i], values[i + 1], elevation});
    values[i] = v.x;
    values[i + 1] = v.y;
    placed_elevation = v.z;
  }
  return placed_elevation;
}

}  // namespace

Box LightweightPolyline::extents() const { return world_box(xy, 2, elevation, ocs()); }

// The plane's new normal keeps the turn of every bulge: bulges stay as they are.
void LightweightPolyline::transform(const Placement& p) {
  const PlacedPlane plane(normal, p);
  elevation = place_plane(xy, 2, elevation, plane);
  normal = plane.normal();
  constant_width = p.length(constant_width);
  for (double& w : widths) w = p.length(w);
}

const core::MemberTable<Entity>& LightweightPolyline::members() const {
  static const core::MemberTable<Entity> table = entity_table(kLightweightMembers);
  return table;
}

Box Polyline2d::extents() const { return world_box(xyz, 3, elevation, ocs()); }

void Polyline2d::transform(const Placement& p) {
  const PlacedPlane plane(normal, p);
  elevation = place_plane(xyz, 3, elevation, plane);
  for (std::size_t i = 2; i < xyz.size(); i += 3) xyz[i] = elevation;  // as CAD programs write them
  normal = plane.normal();
}

const core::MemberTable<Entity>& Polyline2d::members() const {
  static const core::MemberTable<Entity> table = entity_table(kPolyline2dMembers);
  return table;
}

Box Polyline3d::extents() const { return box_of(xyz, 3, 0); }

void Polyline3d::transform(const Placement& p) { place_all(xyz, p); }

const core::MemberTable<Entity>& Polyline3d::members() const {
  static const core::MemberTable<Entity> table = entity_table(kPolyline3dMembers);
  return table;
}

Box PolyfaceMesh::extents() const { return box_of(vertices, 3, 0); }

void PolyfaceMesh::transform(const Placement& p) { place_all(vertices, p); }

const core::MemberTable<Entity>& PolyfaceMesh::members() const {
  static const core::MemberTable<Entity> table = entity_table(kMeshMembers);
  return table;
}

}  // namespace kestrel::memcad
