// Symbol tables of a drawing (layers, line types, text styles, blocks,
// selection sets): records found by name without regard to case, kept in
// creation order, reachable late-bound as a collection with Count, Item
// (0-based index or name) and Add. Records refer to their drawing weakly;
// the drawing clears that link when it goes.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cad/memcad/arguments.h"
#include "cad/memcad/automation.h"

namespace kestrel::memcad {

class Document;
template <class T>
class Table;

// The session of `doc`'s application for a late-bound call; raises when the drawing is gone.
[[nodiscard]] Session* session_of(const Document* doc);

// What every table record has: a name unique in its table and a weak link to its drawing.
template <class Self>
class Record : public Automated<Self> {
 public:
  [[nodiscard]] const std::string& name() const noexcept { return name_; }
  // The owning drawing; null once it is gone.
  [[nodiscard]] Document* document() const noexcept { return doc_; }
  [[nodiscard]] Session* call_session() const { return session_of(doc_); }

 protected:
  Record(Document* doc, std::string name) : doc_(doc), name_(std::move(name)) {}

 private:
  friend class Table<Self>;
  Document* doc_;
  std::string name_;
};

// T derives from Record<T> and provides
//   T(Document*, std::string name);
//   static constexpr std::string_view kCollectionType;  // "IAcadLayers" ...
//   static Variant add_member(Table<T>&, Args);          // the late-bound Add
template <class T>
class Table final : public Automated<Table<T>> {
 public:
  explicit Table(Document* doc) noexcept : doc_(doc) {}

  [[nodiscard]] std::uint32_t size() const noexcept { return static_cast<std::uint32_t>(items_.size()); }
  [[nodiscard]] T& at(std::uint32_t index) const { return *items_.at(index); }
  [[nodiscard]] std::span<const std::shared_ptr<T>> items() const noexcept { return items_; }
  [[nodiscard]] std::optional<std::uint32_t> index_of(std::string_view name) const;
  [[nodiscard]] T* find(std::string_view name) const;

  // The record named `name`, created at the end when there is none. A name
  // a CAD would refuse raises an automation error.
  T& add(std::string_view name);
  // A new record; raises when the name exists or is not valid.
  T& add_new(std::string_view name);
  // A new record under a name users may not give ("*Model_Space", "*U2" ...);
  // raises only when the name exists.
  T& add_reserved(std::string_view name);
  // Renames `record`; raises when another record has that name.
  void rename(T& record, std::string_view name);
  // Removes the record named `name` (if any); its object survives detached.
  void erase(std::string_view name);
  // The drawing is going: every record loses its link to it.
  void detach() noexcept;

  [[nodiscard]] Document* document() const noexcept { return doc_; }
  [[nodiscard]] std::string_view type_name() const override { return T::kCollectionType; }
  static const core::MemberTable<Table>& member_table();
  [[nodiscard]] Session* call_session() const { return session_of(doc_); }
  // The record an Item argument names: a 0-based index or a name.
  [[nodiscard]] std::shared_ptr<T> item(const Variant& key) const;

 private:
  void rebuild_index();

  Document* doc_;
  std::vector<std::shared_ptr<T>> items_;
  std::unordered_map<std::string, std::uint32_t> index_;
};

}  // namespace kestrel::memcad
