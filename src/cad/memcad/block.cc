#include "cad/memcad/block.h"

#include <algorithm>

#include "cad/memcad/block_reference.h"
#include "cad/memcad/document.h"
#include "cad/memcad/table_impl.h"

namespace kestrel::memcad {

template class Table<Block>;

Block::Block(Document* doc, std::string name) : Record(doc, std::move(name)) {}

Block::~Block() {
  for (auto& entity : entities_) entity->attach_to(nullptr);
}

bool Block::is_model_space() const noexcept { return same_name(name(), kModelSpaceName); }

bool Block::is_paper_space() const noexcept { return same_name(name(), kPaperSpaceName); }

Entity& Block::adopt(EntityPtr<Entity> entity) {
  Document* doc = document();
  if (!doc) raise_drawing_closed();
  if (entity->owner()) raise_refused("La entidad ya pertenece a un bloque");
  if (entity->handle() == 0) entity->set_handle(doc->next_handle());
  if (entity->kind() == EntityKind::kBlockReference) {
    for (auto& attribute : static_cast<BlockReference&>(*entity).attributes) {
      if (attribute->handle() == 0) attribute->set_handle(doc->next_handle());
    }
  }
  entity->attach_to(this);
  entities_.push_back(std::move(entity));
  return *entities_.back();
}

void Block::erase(const Entity& entity) {
  // Recent entities are the likely ones: search from the end.
  auto it = std::find_if(entities_.rbegin(), entities_.rend(), [&](const auto& e) { return e.get() == &entity; });
  if (it == entities_.rend()) raise_erased();
  (*it)->attach_to(nullptr);
  entities_.erase(std::next(it).base());
}

std::size_t Block::erase_if(const std::function<bool(const Entity&)>& remove) {
  return std::erase_if(entities_, [&](const EntityPtr<Entity>& e) {
    if (!remove(*e)) return false;
    e->attach_to(nullptr);
    return true;
  });
}

std::string_view Block::type_name() const {
  if (is_model_space()) return "IAcadModelSpace";
  if (is_paper_space()) return "IAcadPaperSpace";
  return "IAcadBlock";
}

Variant Block::add_member(Table<Block>& table, Args args) {
  const Vec3 origin = point_argument(args, 1);
  const std::string name = string_argument(args, 2);
  if (Block* existing = table.find(name)) return Variant(existing->shared_from_this());
  Block& block = table.add_new(name);
  block.origin = origin;
  return Variant(block.shared_from_this());
}

}  // namespace kestrel::memcad
