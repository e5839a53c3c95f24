// Selection sets: named, the document's SelectionSets collection holds them.
// On-screen selection is answered by the application's picker; Select picks
// by window, crossing window or everything in model space.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cad/memcad/entity.h"
#include "cad/memcad/table.h"

namespace kestrel::memcad {

class Block;

// Selection modes of Select (the CAD's numbers).
enum SelectMode : std::int32_t {
  kSelectWindow = 0,
  kSelectCrossing = 1,
  kSelectAll = 5,
};

// The entities of `block` that lie inside (window) or touch (crossing) the plan box.
[[nodiscard]] std::vector<EntityPtr<Entity>> select_in_box(const Block& block, const Box& box, bool crossing);

class SelectionSet final : public Record<SelectionSet> {
 public:
  static constexpr std::string_view kCollectionType = "IAcadSelectionSets";
  SelectionSet(Document* doc, std::string name) : Record(doc, std::move(name)) {}

  [[nodiscard]] const std::vector<EntityPtr<Entity>>& items() const noexcept { return items_; }
  // Adds entities not in the set yet.
  void add(const std::vector<EntityPtr<Entity>>& entities);
  void clear() noexcept { items_.clear(); }

  [[nodiscard]] std::string_view type_name() const override { return "IAcadSelectionSet"; }
  static const core::MemberTable<SelectionSet>& member_table();
  // SelectionSets.Add(name): a new set; a name in use is refused, as a CAD does.
  static Variant add_member(Table<SelectionSet>& table, Args args);

 private:
  std::vector<EntityPtr<Entity>> items_;
};

}  // namespace kestrel::memcad
