// Polylines and the polyface mesh. Vertices are flat lists of doubles:
// x, y pairs for the lightweight polyline (at its elevation), x, y, z
// triples for the 2D (heavy) and 3D polylines and the mesh. The two planar
// kinds keep their vertices in the OCS of their normal, as a CAD hands them
// out; the 3D polyline and the mesh are in world coordinates. A polyline
// needs at least two vertices; the late-bound Add* members refuse fewer.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "cad/memcad/entity.h"

namespace kestrel::memcad {

class LightweightPolyline final : public Entity {
 public:
  explicit LightweightPolyline(std::vector<double> xy = {}) noexcept
      : Entity(EntityKind::kLightweightPolyline), xy(std::move(xy)) {}
  std::vector<double> xy;
  // One bulge per vertex (the segment that starts there); empty: all straight.
  std::vector<double> bulges;
  // Start and end width per vertex; empty: constant_width everywhere.
  std::vector<double> widths;
  double elevation = 0;
  double constant_width = 0;
  bool closed = false;
  Vec3 normal{0, 0, 1};

  [[nodiscard]] Ocs ocs() const noexcept { return Ocs(normal); }
  [[nodiscard]] std::size_t vertex_count() const noexcept { return xy.size() / 2; }
  [[nodiscard]] double bulge(std::size_t vertex) const noexcept {
    return vertex < bulges.size() ? bulges[vertex] : 0.0;
  }

  [[nodiscard]] Box extents() const override;
  [[nodiscard]] EntityPtr<Entity> clone() const override { return make_entity<LightweightPolyline>(*this); }
  void transform(const Placement& p) override;

 protected:
  [[nodiscard]] const core::MemberTable<Entity>& members() const override;
};

// The heavy 2D polyline ("AcDb2dPolyline"): its vertices lie in the plane
// at `elevation`. A vertex z is kept as given (files write the elevation or
// 0 there) but not used: as in a CAD, the vertex list it hands out carries
// z = 0.
class Polyline2d final : public Entity {
 public:
  explicit Polyline2d(std::vector<double> xyz = {}) noexcept : Entity(EntityKind::kPolyline2d), xyz(std::move(xyz)) {}
  std::vector<double> xyz;
  std::vector<double> bulges;
  double elevation = 0;
  bool closed = false;
  Vec3 normal{0, 0, 1};

  [[nodiscard]] Ocs ocs() const noexcept { return Ocs(normal); }
  // Vertex i in the OCS, at the elevation.
  [[nodiscard]] Vec3 vertex(std::size_t i) const noexcept { return {xyz[3 * i], xyz[3 * i + 1], elevation}; }

  [[nodiscard]] std::size_t vertex_count() const noexcept { return xyz.size() / 3; }
  [[nodiscard]] double bulge(std::size_t vertex) const noexcept {
    return vertex < bulges.size() ? bulges[vertex] : 0.0;
  }

  [[nodiscard]] Box extents() const override;
  [[nodiscard]] EntityPtr<Entity> clone() const override { return make_entity<Polyline2d>(*this); }
  void transform(const Placement& p) override;

 protected:
  [[nodiscard]] const core::MemberTable<Entity>& members() const override;
};

class Polyline3d final : public Entity {
 public:
  explicit Polyline3d(std::vector<double> xyz = {}) noexcept : Entity(EntityKind::kPolyline3d), xyz(std::move(xyz)) {}
  std::vector<double> xyz;
  bool closed = false;

  [[nodiscard]] std::size_t vertex_count() const noexcept { return xyz.size() / 3; }

  [[nodiscard]] Box extents() const override;
  [[nodiscard]] EntityPtr<Entity> clone() const override { return make_entity<Polyline3d>(*this); }
  void transform(const Placement& p) override;

 protected:
  [[nodiscard]] const core::MemberTable<Entity>& members() const override;
};

class PolyfaceMesh final : public Entity {
 public:
  PolyfaceMesh() noexcept : Entity(EntityKind::kPolyfaceMesh) {}
  std::vector<double> vertices;  // x, y, z triples
  // Each face: up to four 1-based vertex numbers; 0 = unused corner, a
  // negative number hides the edge that starts there.
  std::vector<std::array<std::int32_t, 4>> faces;

  [[nodiscard]] std::size_t vertex_count() const noexcept { return vertices.size() / 3; }
  [[nodiscard]] Vec3 vertex(std::size_t i) const noexcept {
    return {vertices[3 * i], vertices[3 * i + 1], vertices[3 * i + 2]};
  }

  [[nodiscard]] Box extents() const override;
  [[nodiscard]] EntityPtr<Entity> clone() const override { return make_entity<PolyfaceMesh>(*this); }
  void transform(const Placement& p) override;

 protected:
  [[nodiscard]] const core::MemberTable<Entity>& members() const override;
};

// Vertex list checks of the Add* members and of Coordinates puts: the
// count must be a whole number of vertices and at least two of them.
void check_vertex_list(const std::vector<double>& values, std::size_t dimension);

}  // namespace kestrel::memcad
