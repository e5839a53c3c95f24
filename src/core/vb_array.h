// VbArray<T>: a one-dimensional array with explicit lower and upper bounds,
// as the host and the CAD exchange them. An array is either unallocated
// (no bounds at all) or holds ubound - lbound + 1 items (possibly none, when
// ubound == lbound - 1). Every access is bounds-checked and throws error 9.
// Growth through redim_preserve is amortised: the storage grows
// geometrically while the visible bounds move one item at a time.
//
// Storage. Copies share their items until one of them is changed
// (copy-on-write): copying an array costs the same whatever its size, and a
// change to one copy never shows in another. Items are stored only up to the
// last one written through mutable access; the ones after it read as the
// default value and take no memory (the point names of an imported drawing,
// all empty, cost nothing).
//
// The rule that comes with sharing. A reference, pointer or span into an
// array is valid until the array changes size or is erased (as with a
// vector), and also:
//  - one obtained through mutable access (non-const operator[], items())
//    must not be written through once the array (or a record holding it)
//    has been copied: the write would show in the copy too;
//  - one obtained through const access shows the array as it was when read;
//    after a write to the array, read it again.
// Mutable access to an array whose items are shared copies them first, so
// loops that only read should read through a const reference.
#pragma once

#include <algorithm>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <span>
#include <utility>
#include <vector>

#include "core/error.h"
#include "core/shared_items.h"

namespace kestrel::core {

template <class T>
class VbArray {
 public:
  class ConstItems;

  VbArray() = default;
  VbArray(std::int32_t lbound, std::int32_t ubound) { redim(lbound, ubound); }
  // A copy shares the items; a moved-from array is left unallocated.
  VbArray(const VbArray&) = default;
  VbArray& operator=(const VbArray&) = default;
  VbArray(VbArray&& other) noexcept
      : items_(std::move(other.items_)), lbound_(std::exchange(other.lbound_, 0)), count_(std::exchange(other.count_, -1)) {}
  VbArray& operator=(VbArray&& other) noexcept {
    items_ = std::move(other.items_);
    lbound_ = std::exchange(other.lbound_, 0);
    count_ = std::exchange(other.count_, -1);
    return *this;
  }
  ~VbArray() = default;
  // An allocated array lbound..lbound+items.size()-1 holding `items`.
  VbArray(std::int32_t lbound, std::vector<T> items) {
    check_extent(lbound, lbound + static_cast<std::int64_t>(items.size()) - 1);
    items_.make_own(0, items.size());
    for (T& item : items) items_.push(std::move(item));
    lbound_ = lbound;
    count_ = static_cast<std::int64_t>(items.size());
  }
  // The same from a braced list, so that VbArray<int>(1, {3}) holds one
  // item 3 rather than meaning the bounds 1 to 3.
  VbArray(std::int32_t lbound, std::initializer_list<T> items) : VbArray(lbound, std::vector<T>(items)) {}

  [[nodiscard]] bool allocated() const noexcept { return count_ >= 0; }
  [[nodiscard]] std::int32_t lbound() const {
    if (!allocated()) raise(kSubscriptOutOfRange);
    return lbound_;
  }
  [[nodiscard]] std::int32_t ubound() const {
    if (!allocated()) raise(kSubscriptOutOfRange);
    return static_cast<std::int32_t>(lbound_ + count_ - 1);
  }
  // Number of items; 0 when unallocated.
  [[nodiscard]] std::int32_t size() const noexcept { return static_cast<std::int32_t>(std::max<std::int64_t>(count_, 0)); }
  [[nodiscard]] bool empty() const noexcept { return count_ <= 0; }

  // Allocates lbound..ubound with default values (ReDim). ubound may be
  // lbound - 1 for an allocated array without items; anything lower is error 9.
  // Room for the items is taken at once (error 7 when there is none), but
  // untouched until they are written.
  void redim(std::int32_t lbound, std::int32_t ubound) {
    check_extent(lbound, ubound);
    const auto count = static_cast<std::size_t>(static_cast<std::int64_t>(ubound) - lbound + 1);
    if (!items_.owned_with_room(count)) items_.reset();
    items_.make_own(0, count);
    lbound_ = lbound;
    count_ = static_cast<std::int64_t>(count);
  }
  // Moves the upper bound, keeping the lower bound and the items that stay
  // (ReDim Preserve). An unallocated array gets lower bound `lbound_if_new`.
  void redim_preserve(std::int32_t ubound, std::int32_t lbound_if_new = 0) {
    const std::int32_t lb = allocated() ? lbound_ : lbound_if_new;
    check_extent(lb, ubound);
    const auto count = static_cast<std::int64_t>(ubound) - lb + 1;
    // Items past the new end go; new ones read as defaults until written.
    if (static_cast<std::size_t>(count) < items_.stored()) items_.make_own(static_cast<std::size_t>(count), 0);
    lbound_ = lb;
    count_ = count;
  }
  // Appends one item after the upper bound, with amortised growth.
  // Error 6 when the upper bound would pass the Long range.
  T& append(T value, std::int32_t lbound_if_new = 0) {
    if (!allocated()) {
      lbound_ = lbound_if_new;
      count_ = 0;
    } else if (lbound_ + count_ > INT32_MAX) {
      raise(kOverflow);
    }
    const auto index = static_cast<std::size_t>(count_);
    make_writable(index + 1);
    items_.fill_to(index);
    T& item = items_.push(std::move(value));
    ++count_;
    return item;
  }
  // Keeps room for `count` items without changing the bounds.
  void reserve(std::size_t count) {
    if (!items_.owned_with_room(count)) items_.make_own(SIZE_MAX, std::max(count, items_.capacity()));
  }
  // Back to the unallocated state (Erase).
  void erase() noexcept {
    items_.reset();
    count_ = -1;
    lbound_ = 0;
  }

  [[nodiscard]] T& operator[](std::int32_t index) {
    const std::size_t k = offset(index);
    make_writable(static_cast<std::size_t>(count_));
    items_.fill_to(k + 1);
    return items_.own_data()[k];
  }
  [[nodiscard]] const T& operator[](std::int32_t index) const { return item(offset(index)); }
  [[nodiscard]] bool contains(std::int32_t index) const noexcept {
    return allocated() && index >= lbound_ && static_cast<std::int64_t>(index) - lbound_ < count_;
  }

  // The items in order, for fast loops (every item is then stored).
  [[nodiscard]] std::span<T> items() {
    const auto count = static_cast<std::size_t>(size());
    make_writable(count);
    items_.fill_to(count);
    return {items_.own_data(), count};
  }
  [[nodiscard]] ConstItems items() const noexcept { return ConstItems(this); }

  friend bool operator==(const VbArray& a, const VbArray& b) {
    if (a.count_ != b.count_ || a.lbound_ != b.lbound_) return false;
    if (a.items_.same_block(b.items_)) return true;
    for (std::size_t k = 0; k < static_cast<std::size_t>(a.size()); ++k) {
      if (!(a.item(k) == b.item(k))) return false;
    }
    return true;
  }

  // A read-only view of the items in order (indices from 0), with the
  // unwritten ones read as defaults.
  class ConstItems {
   public:
    class iterator {
     public:
      using iterator_category = std::random_access_iterator_tag;
      using value_type = T;
      using difference_type = std::ptrdiff_t;
      using pointer = const T*;
      using reference = const T&;
      iterator() = default;
      reference operator*() const { return array_->item(k_); }
      pointer operator->() const { return &array_->item(k_); }
      reference operator[](difference_type n) const { return array_->item(k_ + static_cast<std::size_t>(n)); }
      iterator& operator++() { return ++k_, *this; }
      iterator operator++(int) { return std::exchange(*this, iterator(array_, k_ + 1)); }
      iterator& operator--() { return --k_, *this; }
      iterator operator--(int) { return std::exchange(*this, iterator(array_, k_ - 1)); }
      iterator& operator+=(difference_type n) { return k_ += static_cast<std::size_t>(n), *this; }
      iterator& operator-=(difference_type n) { return k_ -= static_cast<std::size_t>(n), *this; }
      friend iterator operator+(iterator i, difference_type n) { return i += n; }
      friend iterator operator+(difference_type n, iterator i) { return i += n; }
      friend iterator operator-(iterator i, difference_type n) { return i -= n; }
      friend difference_type operator-(const iterator& a, const iterator& b) {
        return static_cast<difference_type>(a.k_) - static_cast<difference_type>(b.k_);
      }
      friend bool operator==(const iterator& a, const iterator& b) { return a.k_ == b.k_; }
      friend auto operator<=>(const iterator& a, const iterator& b) { return a.k_ <=> b.k_; }

     private:
      friend class ConstItems;
      iterator(const VbArray* array, std::size_t k) : array_(array), k_(k) {}
      const VbArray* array_ = nullptr;
      std::size_t k_ = 0;
    };

    [[nodiscard]] std::size_t size() const noexcept { return static_cast<std::size_t>(array_->size()); }
    [[nodiscard]] bool empty() const noexcept { return size() == 0; }
    [[nodiscard]] const T& operator[](std::size_t k) const noexcept { return array_->item(k); }
    [[nodiscard]] const T& front() const noexcept { return array_->item(0); }
    [[nodiscard]] const T& back() const noexcept { return array_->item(size() - 1); }
    [[nodiscard]] iterator begin() const noexcept { return {array_, 0}; }
    [[nodiscard]] iterator end() const noexcept { return {array_, size()}; }

   private:
    friend class VbArray;
    explicit ConstItems(const VbArray* array) noexcept : array_(array) {}
    const VbArray* array_;
  };

 private:
  static void check_extent(std::int64_t lbound, std::int64_t ubound) {
    if (ubound < lbound - 1 || ubound > INT32_MAX) raise(kSubscriptOutOfRange);
  }
  [[nodiscard]] std::size_t offset(std::int32_t index) const {
    if (!contains(index)) raise(kSubscriptOutOfRange);
    return static_cast<std::size_t>(static_cast<std::int64_t>(index) - lbound_);
  }
  // Item k (< size()), read as the default when it was never written.
  [[nodiscard]] const T& item(std::size_t k) const noexcept {
    if (k < items_.stored()) return items_.data()[k];
    static const T kDefault{};
    return kDefault;
  }
  // An own block with room for `room` items (and for every item up to the
  // upper bound, so that later writes below it never move the items).
  void make_writable(std::size_t room) {
    const std::size_t whole = std::max(room, static_cast<std::size_t>(size()));
    if (items_.owned_with_room(whole)) return;
    const bool alone = items_.owned_with_room(0);
    items_.make_own(SIZE_MAX, alone ? std::max(whole, 2 * items_.capacity()) : whole);
  }

  SharedItems<T> items_;
  std::int32_t lbound_ = 0;
  std::int64_t count_ = -1;  // -1: unallocated
};

}  // namespace kestrel::core
