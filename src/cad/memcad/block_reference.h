// Block references (with their attributes) and entities of kinds memcad
// does not model, which are kept so that they stay countable and can be
// written back.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "cad/memcad/entity.h"
#include "cad/memcad/texts.h"

namespace kestrel::memcad {

class BlockReference final : public Entity {
 public:
  // `block` must belong to the drawing the reference is added to.
  explicit BlockReference(Block* block = nullptr, Vec3 insertion = {}) noexcept
      : Entity(EntityKind::kBlockReference), block(block), insertion(insertion) {}
  // A deep copy: the attributes are copied too.
  BlockReference(const BlockReference& other);

  Block* block;
  Vec3 insertion;  // OCS
  Vec3 scale{1, 1, 1};
  double rotation = 0;  // radians, in the OCS
  Vec3 normal{0, 0, 1};
  std::vector<EntityPtr<AttributeReference>> attributes;

  [[nodiscard]] Ocs ocs() const noexcept { return Ocs(normal); }
  [[nodiscard]] Vec3 world_insertion() const noexcept { return ocs().to_wcs(insertion); }

  // The block's name; empty without a block.
  [[nodiscard]] const std::string& name() const;
  // Where the block's content lands.
  [[nodiscard]] Placement placement() const;
  // Adds an attribute (owned by the reference, on the reference's layer).
  AttributeReference& add_attribute(std::string tag, std::string_view text, Vec3 insertion, double height);

  [[nodiscard]] Box extents() const override;
  [[nodiscard]] EntityPtr<Entity> clone() const override { return make_entity<BlockReference>(*this); }
  void transform(const Placement& p) override;

 protected:
  [[nodiscard]] const core::MemberTable<Entity>& members() const override;
  void attach_to(Block* owner) noexcept override;
};

// An entity of a kind memcad does not model (spline, ellipse, dimension ...).
class UnknownEntity final : public Entity {
 public:
  UnknownEntity(std::string dxf_type = {}, std::string class_name = "AcDbEntity") noexcept
      : Entity(EntityKind::kUnknown), dxf_type(std::move(dxf_type)), class_name(std::move(class_name)) {}
  std::string dxf_type;    // "SPLINE"
  std::string class_name;  // "AcDbSpline", reported as EntityName
  // Group codes and values as read, for writing the entity back unchanged.
  std::vector<std::pair<int, std::string>> tags;
  // What the reader knew of its extents (may stay empty).
  Box bounds;

  [[nodiscard]] std::string_view entity_name() const noexcept override { return class_name; }
  [[nodiscard]] Box extents() const override { return bounds; }
  [[nodiscard]] EntityPtr<Entity> clone() const override { return make_entity<UnknownEntity>(*this); }
  // Its geometry is unknown: only the recorded extents move.
  void transform(const Placement& p) override;

 protected:
  [[nodiscard]] const core::MemberTable<Entity>& members() const override;
};

// The extents of a block's content seen through `placement` (nested
// references included, up to a fixed depth).
[[nodiscard]] Box placed_extents(const Block& block, const Placement& placement, int depth = 0);

}  // namespace kestrel::memcad
