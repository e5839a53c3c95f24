// EntityPtr: how blocks, selections and pickers hold drawing entities. The
// reference count lives in the entity (see Entity::retain), so a pointer is
// one word and an entity needs no separate control block: with millions of
// entities that is 24 bytes an entity, and a smaller allocator size class.
// Handed out as an automation object, an entity gets a shared_ptr whose
// deleter gives its reference back (see hand_out in entity.h).
#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>

namespace kestrel::memcad {

template <class E>
class EntityPtr {
 public:
  EntityPtr() noexcept = default;
  EntityPtr(std::nullptr_t) noexcept {}  // NOLINT: a null pointer reads as null
  // Takes a reference of its own to `entity` (which may be null).
  explicit EntityPtr(E* entity) noexcept : p_(entity) {
    if (p_) p_->retain();
  }
  EntityPtr(const EntityPtr& other) noexcept : EntityPtr(other.p_) {}
  EntityPtr(EntityPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  template <class F>
    requires std::is_convertible_v<F*, E*>
  EntityPtr(const EntityPtr<F>& other) noexcept : EntityPtr(other.get()) {}  // NOLINT: as a derived pointer converts
  template <class F>
    requires std::is_convertible_v<F*, E*>
  EntityPtr(EntityPtr<F>&& other) noexcept : p_(other.leak()) {}  // NOLINT
  EntityPtr& operator=(EntityPtr other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~EntityPtr() {
    if (p_) p_->release();
  }

  [[nodiscard]] E* get() const noexcept { return p_; }
  [[nodiscard]] E& operator*() const noexcept { return *p_; }
  [[nodiscard]] E* operator->() const noexcept { return p_; }
  [[nodiscard]] explicit operator bool() const noexcept { return p_ != nullptr; }
  friend bool operator==(const EntityPtr& a, const EntityPtr& b) noexcept { return a.p_ == b.p_; }
  friend bool operator==(const EntityPtr& a, std::nullptr_t) noexcept { return a.p_ == nullptr; }

 private:
  template <class F>
  friend class EntityPtr;

  // Gives up the pointer without releasing its reference (for a move across types).
  [[nodiscard]] E* leak() noexcept { return std::exchange(p_, nullptr); }

  E* p_ = nullptr;
};

// A new entity of type E, held by the one pointer returned.
template <class E, class... A>
[[nodiscard]] EntityPtr<E> make_entity(A&&... args) {
  return EntityPtr<E>(new E(std::forward<A>(args)...));
}

}  // namespace kestrel::memcad
