// Member definitions of Table<T>; included only by the .cc file that
// instantiates the table of each record type.
#pragma once

#include "cad/memcad/errors.h"
#include "cad/memcad/names.h"
#include "cad/memcad/table.h"

namespace kestrel::memcad {

template <class T>
std::optional<std::uint32_t> Table<T>::index_of(std::string_view name) const {
  auto it = index_.find(fold_name(name));
  if (it == index_.end()) return std::nullopt;
  return it->second;
}

template <class T>
T* Table<T>::find(std::string_view name) const {
  const auto index = index_of(name);
  return index ? items_[*index].get() : nullptr;
}

template <class T>
T& Table<T>::add(std::string_view name) {
  if (T* existing = find(name)) return *existing;
  return add_new(name);
}

template <class T>
T& Table<T>::add_new(std::string_view name) {
  if (!valid_record_name(name)) raise_refused("Nombre no válido: \"" + std::string(name) + "\"");
  return add_reserved(name);
}

template <class T>
T& Table<T>::add_reserved(std::string_view name) {
  std::string key = fold_name(name);
  if (index_.contains(key)) raise_refused("El nombre ya existe: \"" + std::string(name) + "\"");
  items_.push_back(std::make_shared<T>(doc_, std::string(name)));
  index_.emplace(std::move(key), size() - 1);
  return *items_.back();
}

template <class T>
void Table<T>::rename(T& record, std::string_view name) {
  if (!valid_record_name(name)) raise_refused("Nombre no válido: \"" + std::string(name) + "\"");
  const auto other = index_of(name);
  if (other && items_[*other].get() != &record) raise_refused("El nombre ya existe: \"" + std::string(name) + "\"");
  record.name_ = std::string(name);
  rebuild_index();
}

template <class T>
void Table<T>::erase(std::string_view name) {
  const auto index = index_of(name);
  if (!index) return;
  items_[*index]->doc_ = nullptr;
  items_.erase(items_.begin() + *index);
  rebuild_index();
}

template <class T>
void Table<T>::detach() noexcept {
  doc_ = nullptr;
  for (auto& item : items_) item->doc_ = nullptr;
}

template <class T>
void Table<T>::rebuild_index() {
  index_.clear();
  for (std::uint32_t i = 0; i < size(); ++i) index_.emplace(fold_name(items_[i]->name()), i);
}

template <class T>
std::shared_ptr<T> Table<T>::item(const Variant& key) const {
  if (key.type() == core::VarType::kString) {
    const auto index = index_of(key.as<std::string>());
    if (!index) raise_not_found("el nombre \"" + key.as<std::string>() + "\"");
    return items_[*index];
  }
  const std::int32_t i = key.to_int32();
  if (i < 0 || static_cast<std::uint32_t>(i) >= size()) raise_not_found("el índice " + std::to_string(i));
  return items_[static_cast<std::uint32_t>(i)];
}

template <class T>
const core::MemberTable<Table<T>>& Table<T>::member_table() {
  static const core::MemberTable<Table<T>> table{
      {"Count", [](Table& t) { return Variant(static_cast<std::int32_t>(t.size())); }},
      {"Item", nullptr, nullptr,
       [](Table& t, Args args) {
         const Variant& key = core::argument(args, 1);
         if (key.type() != core::VarType::kString && !key.is_numeric()) {
           core::raise_argument_error(core::kTypeMismatch, 1);
         }
         return Variant(t.item(key));
       }},
      {"Add", nullptr, nullptr, &T::add_member},
  };
  return table;
}

}  // namespace kestrel::memcad
