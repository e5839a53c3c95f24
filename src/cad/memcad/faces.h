// 3D faces and hatches. A hatch keeps its boundary as copies of the
// boundary objects' paths (plan vertices with bulges), so it no longer
// depends on them once appended.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "cad/memcad/entity.h"

namespace kestrel::memcad {

class Face3d final : public Entity {
 public:
  Face3d() noexcept : Entity(EntityKind::kFace3d) {}
  explicit Face3d(const std::array<Vec3, 4>& corners) noexcept : Entity(EntityKind::kFace3d), corners(corners) {}
  // Bit i hides the edge that starts at corner i. Declared first, it sits in
  // the entity's tail padding: 8 bytes less a face, 16 with the allocator's rounding.
  std::uint8_t invisible_edges = 0;
  // A triangle repeats its third corner as the fourth.
  std::array<Vec3, 4> corners{};

  [[nodiscard]] Box extents() const override;
  [[nodiscard]] EntityPtr<Entity> clone() const override { return make_entity<Face3d>(*this); }
  void transform(const Placement& p) override;

 protected:
  [[nodiscard]] const core::MemberTable<Entity>& members() const override;
};

// A closed path: plan vertices and the bulge of the segment from each one
// (the last segment closes the path back to the first vertex).
struct HatchLoop {
  std::vector<double> xy;
  std::vector<double> bulges;
  bool outer = true;
};

class Hatch final : public Entity {
 public:
  Hatch(std::int16_t pattern_type = 0, std::string pattern_name = "SOLID", bool associative = false) noexcept
      : Entity(EntityKind::kHatch),
        pattern_name(std::move(pattern_name)),
        pattern_type(pattern_type),
        associative(associative) {}
  std::string pattern_name;
  // As given to AddHatch: 0 predefined, 1 user-defined, 2 custom.
  std::int16_t pattern_type;
  double pattern_angle = 0;  // radians
  double pattern_scale = 1;
  bool associative;
  double elevation = 0;
  std::int16_t hatch_style = 0;  // 0 normal, 1 outer, 2 ignore
  std::vector<HatchLoop> loops;

  // A "SOLID" pattern (any case) fills instead of drawing lines.
  [[nodiscard]] bool solid() const noexcept;
  // Appends the closed path that `boundary` forms (one closed polyline or
  // circle, or a chain of lines, arcs and polylines ending where it began).
  // An open path or an object that cannot bound a hatch is refused.
  void append_loop(std::span<const EntityPtr<Entity>> boundary, bool outer);

  [[nodiscard]] Box extents() const override;
  [[nodiscard]] EntityPtr<Entity> clone() const override { return make_entity<Hatch>(*this); }
  void transform(const Placement& p) override;

 protected:
  [[nodiscard]] const core::MemberTable<Entity>& members() const override;
};

}  // namespace kestrel::memcad
