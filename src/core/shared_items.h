// SharedItems<T>: the storage behind VbArray. One heap block holds a count
// of references, the number of items constructed at its front ("stored"),
// its capacity and the items. Copies share the block; a change is made only
// in a block of one's own (`make_own` first), so a change never shows in a
// copy. The owner decides what the positions past `stored()` mean.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

namespace kestrel::core {

template <class T>
class SharedItems {
 public:
  SharedItems() noexcept = default;
  SharedItems(const SharedItems& other) noexcept : block_(other.block_) {
    if (block_ != nullptr) block_->refs.fetch_add(1, std::memory_order_relaxed);
  }
  SharedItems(SharedItems&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}
  SharedItems& operator=(SharedItems other) noexcept {
    std::swap(block_, other.block_);
    return *this;
  }
  ~SharedItems() { release(); }

  [[nodiscard]] std::size_t stored() const noexcept { return block_ != nullptr ? block_->stored : 0; }
  [[nodiscard]] std::size_t capacity() const noexcept { return block_ != nullptr ? block_->capacity : 0; }
  [[nodiscard]] const T* data() const noexcept { return block_ != nullptr ? items(block_) : nullptr; }
  // Only after make_own: the items may then be changed in place.
  [[nodiscard]] T* own_data() noexcept { return block_ != nullptr ? items(block_) : nullptr; }
  [[nodiscard]] bool same_block(const SharedItems& other) const noexcept { return block_ == other.block_; }

  // True when the block is this storage's alone and has room for `room` items.
  [[nodiscard]] bool owned_with_room(std::size_t room) const noexcept {
    if (block_ == nullptr) return room == 0;
    return block_->capacity >= room && block_->refs.load(std::memory_order_acquire) == 1;
  }

  // Makes the block this storage's own, keeping the first `keep` stored
  // items (the others are destroyed) in room for at least `room` items.
  // A shared block is copied; an own block that is too small is moved. When
  // a copy fails (it throws), nothing has changed.
  void make_own(std::size_t keep, std::size_t room) {
    const std::size_t kept = std::min(keep, stored());
    if (block_ != nullptr && owned_with_room(room)) {
      destroy_from(block_, kept);
      return;
    }
    if (block_ == nullptr && room == 0) return;
    Block* fresh = allocate(std::max(room, kept));
    try {
      fill_from(fresh, kept);
    } catch (...) {
      destroy_from(fresh, 0);
      deallocate(fresh);
      throw;
    }
    release();
    block_ = fresh;
  }

  // Default items at the end until `count` are stored; requires an own
  // block with room for them.
  void fill_to(std::size_t count) {
    if (block_ == nullptr) return;
    for (T* p = items(block_); block_->stored < count; ++block_->stored) ::new (static_cast<void*>(p + block_->stored)) T();
  }
  // Constructs one item after the stored ones; requires an own block with room.
  T& push(T value) {
    T* slot = items(block_) + block_->stored;
    ::new (static_cast<void*>(slot)) T(std::move(value));
    ++block_->stored;
    return *slot;
  }

  void reset() noexcept {
    release();
    block_ = nullptr;
  }

 private:
  struct Block {
    std::atomic<std::int32_t> refs{1};
    // 32 bits each, so that the block header is 12 bytes: a list of five
    // 32-bit items then fits the allocator's 48-byte chunk, not a 64-byte one
    // (the import makes one such list for every face).
    std::uint32_t stored = 0;
    std::uint32_t capacity = 0;
  };
  // Where the items start (T may still be incomplete where the class is named).
  static constexpr std::size_t items_offset() noexcept {
    static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);
    return (sizeof(Block) + alignof(T) - 1) / alignof(T) * alignof(T);
  }

  static T* items(Block* b) noexcept {
    return std::launder(reinterpret_cast<T*>(reinterpret_cast<std::byte*>(b) + items_offset()));
  }
  static const T* items(const Block* b) noexcept {
    return std::launder(reinterpret_cast<const T*>(reinterpret_cast<const std::byte*>(b) + items_offset()));
  }

  static Block* allocate(std::size_t capacity) {
    if constexpr (sizeof(std::size_t) > sizeof(std::uint32_t)) {
      if (capacity > UINT32_MAX) throw std::bad_alloc();
    }
    if (capacity > (SIZE_MAX - items_offset()) / sizeof(T)) throw std::bad_alloc();
    void* raw = ::operator new(items_offset() + capacity * sizeof(T));
    Block* b = ::new (raw) Block();
    b->capacity = static_cast<std::uint32_t>(capacity);
    return b;
  }
  static void deallocate(Block* b) noexcept {
    b->~Block();
    ::operator delete(static_cast<void*>(b));
  }
  static void destroy_from(Block* b, std::size_t first) noexcept {
    if constexpr (!std::is_trivially_destructible_v<T>) std::destroy(items(b) + first, items(b) + b->stored);
    b->stored = static_cast<std::uint32_t>(std::min<std::size_t>(b->stored, first));
  }

  // The first `count` items of the current block into `fresh`: moved when
  // the block is this storage's alone (and moving cannot fail), else copied.
  void fill_from(Block* fresh, std::size_t count) {
    if (count == 0) return;
    const bool alone = block_->refs.load(std::memory_order_acquire) == 1;
    T* from = items(block_);
    T* to = items(fresh);
    if constexpr (std::is_trivially_copyable_v<T>) {
      std::uninitialized_copy_n(from, count, to);
      fresh->stored = static_cast<std::uint32_t>(count);
    } else {
      for (; fresh->stored < count; ++fresh->stored) {
        if (alone && std::is_nothrow_move_constructible_v<T>) {
          ::new (static_cast<void*>(to + fresh->stored)) T(std::move(from[fresh->stored]));
        } else {
          ::new (static_cast<void*>(to + fresh->stored)) T(std::as_const(from[fresh->stored]));
        }
      }
    }
  }

  void release() noexcept {
    if (block_ == nullptr) return;
    if (block_->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) {
      destroy_from(block_, 0);
      deallocate(block_);
    }
  }

  Block* block_ = nullptr;
};

}  // namespace kestrel::core
