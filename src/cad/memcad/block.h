// Block: an ordered container of entities with a name and a base point.
// Model space ("*Model_Space") and paper space ("*Paper_Space") are blocks
// too, as in a CAD's block table. The block owns its entities; they point
// back to it weakly and are detached when they leave it or when it goes.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "cad/memcad/entity.h"
#include "cad/memcad/table.h"

namespace kestrel::memcad {

inline constexpr std::string_view kModelSpaceName = "*Model_Space";
inline constexpr std::string_view kPaperSpaceName = "*Paper_Space";

class Block final : public Record<Block> {
 public:
  static constexpr std::string_view kCollectionType = "IAcadBlocks";
  Block(Document* doc, std::string name);
  ~Block() override;
  Block(const Block&) = delete;
  Block& operator=(const Block&) = delete;

  // The base point: block content at the origin lands on a reference's insertion point.
  Vec3 origin{};

  [[nodiscard]] bool is_model_space() const noexcept;
  [[nodiscard]] bool is_paper_space() const noexcept;
  [[nodiscard]] bool is_layout() const noexcept { return is_model_space() || is_paper_space(); }

  [[nodiscard]] std::span<const EntityPtr<Entity>> entities() const noexcept { return entities_; }
  [[nodiscard]] std::size_t size() const noexcept { return entities_.size(); }
  [[nodiscard]] Entity& at(std::size_t index) const { return *entities_.at(index); }
  void reserve(std::size_t count) { entities_.reserve(count); }

  // Creates an entity of type E at the end of the block; see adopt.
  template <class E, class... A>
  E& add(A&&... args) {
    auto entity = make_entity<E>(std::forward<A>(args)...);
    E& ref = *entity;
    adopt(std::move(entity));
    return ref;
  }
  // Takes a detached entity in at the end: the block becomes its owner and
  // it gets the drawing's next handle when it has none. Raises when the
  // block's drawing is gone or the entity already has an owner.
  Entity& adopt(EntityPtr<Entity> entity);
  // Removes `entity` (detaching it); raises when it is not in this block.
  // The entity is destroyed unless someone else still holds it.
  void erase(const Entity& entity);
  // Removes (and detaches) every entity for which `remove` is true, in one pass.
  std::size_t erase_if(const std::function<bool(const Entity&)>& remove);

  [[nodiscard]] std::string_view type_name() const override;
  static const core::MemberTable<Block>& member_table();
  // Blocks.Add(origin, name): the existing block of that name or a new one.
  static Variant add_member(Table<Block>& table, Args args);

 private:
  std::vector<EntityPtr<Entity>> entities_;
};

using Blocks = Table<Block>;

}  // namespace kestrel::memcad
