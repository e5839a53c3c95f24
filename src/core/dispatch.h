// Table-driven late binding: a class derived from Dispatchable<Self>
// declares its members once, as a static MemberTable, and gets Object's
// get/put/call with case-insensitive lookup (one hash probe, no allocation).
// A member with only a method answers a property get with no arguments, and
// a property answers a call with no arguments, as automation does.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

#include "core/object.h"

namespace kestrel::core {

template <class Self>
struct Member {
  std::string_view name;
  Variant (*get)(Self&) = nullptr;
  void (*put)(Self&, const Variant&) = nullptr;
  Variant (*call)(Self&, std::span<Variant>) = nullptr;
};

// Case-insensitive (ASCII) ordering of member names.
[[nodiscard]] int compare_member_names(std::string_view a, std::string_view b) noexcept;

template <class Self>
class MemberTable {
 public:
  MemberTable(std::initializer_list<std::span<const Member<Self>>> groups) {
    for (auto group : groups) members_.insert(members_.end(), group.begin(), group.end());
    index();
  }
  MemberTable(std::initializer_list<Member<Self>> members) : members_(members) { index(); }

  [[nodiscard]] const Member<Self>* find(std::string_view name) const noexcept {
    std::array<char, kMaxName> buffer;
    if (name.size() > buffer.size()) return nullptr;  // longer than any member name
    const std::string_view key = lowered(name, buffer.data());
    for (std::size_t slot = hash(key) & mask_;; slot = (slot + 1) & mask_) {
      const std::uint16_t entry = slots_[slot];
      if (entry == kEmpty) return nullptr;
      if (lowered_[entry] == key) return &members_[entry];
    }
  }
  [[nodiscard]] std::span<const Member<Self>> members() const noexcept { return members_; }

 private:
  static constexpr std::size_t kMaxName = 64;
  static constexpr std::uint16_t kEmpty = UINT16_MAX;
  static char lower_ascii(char c) noexcept { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
  static std::string_view lowered(std::string_view name, char* out) noexcept {
    for (std::size_t i = 0; i < name.size(); ++i) out[i] = lower_ascii(name[i]);
    return {out, name.size()};
  }
  static std::uint32_t hash(std::string_view key) noexcept {  // FNV-1a
    std::uint32_t h = 2166136261u;
    for (const char c : key) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h;
  }

  // Sorted once (the order members() gives), with the names in lower case
  // beside them and an open-addressed hash index at most half full: a
  // look-up lowers the asked name once, probes, and compares bytes.
  void index() {
    std::stable_sort(members_.begin(), members_.end(), [](const Member<Self>& a, const Member<Self>& b) {
      return compare_member_names(a.name, b.name) < 0;
    });
    if (members_.size() >= kEmpty) throw std::length_error("too many members");
    lowered_.reserve(members_.size());
    slots_.assign(std::bit_ceil(std::max<std::size_t>(8, 2 * members_.size())), kEmpty);
    mask_ = slots_.size() - 1;
    for (const Member<Self>& m : members_) {
      if (m.name.size() > kMaxName) throw std::length_error("member name too long");
      std::string name(m.name.size(), '\0');
      (void)lowered(m.name, name.data());
      // A second member of one name lands further along the same probe
      // sequence, so look-ups meet the first one first.
      std::size_t slot = hash(name) & mask_;
      while (slots_[slot] != kEmpty) slot = (slot + 1) & mask_;
      slots_[slot] = static_cast<std::uint16_t>(lowered_.size());
      lowered_.push_back(std::move(name));
    }
  }

  std::vector<Member<Self>> members_;
  std::vector<std::string> lowered_;
  std::vector<std::uint16_t> slots_;  // indices into members_, kEmpty where free
  std::size_t mask_ = 0;
};

// Raises 438 for `member` of an object of type `type`.
[[noreturn]] void raise_unknown_member(std::string_view type, std::string_view member);

// Self provides: static const MemberTable<Self>& member_table(); and
// std::string_view type_name() const.
template <class Self>
class Dispatchable : public SharedObject {
 public:
  Variant get(std::string_view name) override {
    const Member<Self>* m = lookup(name);
    if (m->get) return m->get(self());
    if (m->call) return m->call(self(), {});
    raise_unknown_member(type_name(), name);
  }
  void put(std::string_view name, const Variant& value) override {
    const Member<Self>* m = lookup(name);
    if (!m->put) raise_unknown_member(type_name(), name);
    m->put(self(), value);
  }
  Variant call(std::string_view name, std::span<Variant> args) override {
    const Member<Self>* m = lookup(name);
    if (m->call) return m->call(self(), args);
    if (m->get && args.empty()) return m->get(self());
    raise_unknown_member(type_name(), name);
  }

 private:
  Self& self() { return static_cast<Self&>(*this); }
  const Member<Self>* lookup(std::string_view name) {
    const Member<Self>* m = Self::member_table().find(name);
    if (!m) raise_unknown_member(type_name(), name);
    return m;
  }
};

}  // namespace kestrel::core
