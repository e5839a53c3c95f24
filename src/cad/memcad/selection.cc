#include "cad/memcad/selection.h"

#include <algorithm>
#include <unordered_set>

#include "cad/memcad/document.h"
#include "cad/memcad/errors.h"
#include "cad/memcad/picker.h"
#include "cad/memcad/table_impl.h"

namespace kestrel::memcad {

template class Table<SelectionSet>;

std::vector<EntityPtr<Entity>> select_in_box(const Block& block, const Box& box, bool crossing) {
  std::vector<EntityPtr<Entity>> out;
  for (const auto& e : block.entities()) {
    const Box extents = e->extents();
    if (crossing ? extents.touches_plan(box) : extents.inside_plan(box)) out.push_back(e);
  }
  return out;
}

void SelectionSet::add(const std::vector<EntityPtr<Entity>>& entities) {
  std::unordered_set<const Entity*> present;
  for (const auto& e : items_) present.insert(e.get());
  for (const auto& e : entities) {
    if (e && present.insert(e.get()).second) items_.push_back(e);
  }
}

namespace {

Document& document_of(const SelectionSet& set) {
  Document* doc = set.document();
  if (!doc) raise_drawing_closed();
  return *doc;
}

Variant select_on_screen(SelectionSet& set, Args) {
  Document& doc = document_of(set);
  Picker* picker = doc.session() ? doc.session()->picker() : nullptr;
  if (!picker) raise_cancelled();
  auto chosen = picker->select_on_screen(doc);
  if (!chosen) raise_cancelled();
  set.add(*chosen);
  return {};
}

Variant select(SelectionSet& set, Args args) {
  Document& doc = document_of(set);
  const std::int32_t mode = long_argument(args, 1);
  if (mode == kSelectAll) {
    const auto all = doc.model_space().entities();
    set.add({all.begin(), all.end()});
    return {};
  }
  if (mode != kSelectWindow && mode != kSelectCrossing) raise_refused("Modo de selección no admitido");
  Box box;
  box.add(point_argument(args, 2));
  box.add(point_argument(args, 3));
  set.add(select_in_box(doc.model_space(), box, mode == kSelectCrossing));
  return {};
}

Variant add_items(SelectionSet& set, Args args) {
  const Variant& v = core::argument(args, 1);
  std::vector<EntityPtr<Entity>> entities;
  auto take = [&](const core::ObjectRef& ref) {
    auto e = entity_of(ref);
    if (!e) core::raise_argument_error(core::kTypeMismatch, 1);
    entities.push_back(std::move(e));
  };
  if (const auto* objects = v.get_if<core::VbArray<core::ObjectRef>>()) {
    for (const auto& ref : objects->items()) take(ref);
  } else if (const auto* variants = v.get_if<core::VbArray<Variant>>()) {
    for (const auto& item : variants->items()) take(item.to_object());
  } else {
    core::raise_argument_error(core::kTypeMismatch, 1);
  }
  set.add(entities);
  return {};
}

Variant item(SelectionSet& set, Args args) {
  const std::int32_t i = long_argument(args, 1);
  if (i < 0 || static_cast<std::size_t>(i) >= set.items().size()) raise_not_found("el índice " + std::to_string(i));
  return Variant(hand_out(*set.items()[static_cast<std::size_t>(i)]));
}

Variant erase_entities(SelectionSet& set, Args) {
  for (const auto& e : set.items()) {
    if (e->owner()) e->owner()->erase(*e);
  }
  set.clear();
  return {};
}

const core::Member<SelectionSet> kMembers[] = {
    {"Name", [](SelectionSet& s) { return Variant(s.name()); }},
    {"Count", [](SelectionSet& s) { return Variant(static_cast<std::int32_t>(s.items().size())); }},
    {"Item", nullptr, nullptr, &item},
    {"SelectOnScreen", nullptr, nullptr, &select_on_screen},
    {"Select", nullptr, nullptr, &select},
    {"AddItems", nullptr, nullptr, &add_items},
    {"Clear", nullptr, nullptr, [](SelectionSet& s, Args) { s.clear(); return Variant(); }},
    {"Erase", nullptr, nullptr, &erase_entities},
    {"Delete", nullptr, nullptr,
     [](SelectionSet& s, Args) {
       document_of(s).selection_sets().erase(s.name());
       return Variant();
     }},
};

}  // namespace

const core::MemberTable<SelectionSet>& SelectionSet::member_table() {
  static const core::MemberTable<SelectionSet> table{std::span<const core::Member<SelectionSet>>(kMembers)};
  return table;
}

Variant SelectionSet::add_member(Table<SelectionSet>& table, Args args) {
  return Variant(table.add_new(string_argument(args, 1)).shared_from_this());
}

}  // namespace kestrel::memcad
