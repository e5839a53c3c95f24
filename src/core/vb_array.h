// VbArray<T>: a one-dimensional array with explicit lower and upper bounds,
// as the host and the CAD exchange them. An array is either unallocated
// (no bounds at all) or holds ubound - lbound + 1 items (possibly none, when
// ubound == lbound - 1). Every access is bounds-checked and throws error 9.
// Growth through redim_preserve is amortised: the storage grows
// geometrically while the visible bounds move one item at a time.
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <utility>
#include <vector>

#include "core/error.h"

namespace kestrel::core {

template <class T>
class VbArray {
 public:
  VbArray() = default;
  VbArray(std::int32_t lbound, std::int32_t ubound) { redim(lbound, ubound); }
  // An allocated array lbound..lbound+items.size()-1 holding `items`.
  VbArray(std::int32_t lbound, std::vector<T> items)
      : items_(std::move(items)), lbound_(lbound), allocated_(true) {
    check_extent(lbound, lbound + static_cast<std::int64_t>(items_.size()) - 1);
  }
  // The same from a braced list, so that VbArray<int>(1, {3}) holds one
  // item 3 rather than meaning the bounds 1 to 3.
  VbArray(std::int32_t lbound, std::initializer_list<T> items) : VbArray(lbound, std::vector<T>(items)) {}

  [[nodiscard]] bool allocated() const noexcept { return allocated_; }
  [[nodiscard]] std::int32_t lbound() const {
    if (!allocated_) raise(kSubscriptOutOfRange);
    return lbound_;
  }
  [[nodiscard]] std::int32_t ubound() const {
    if (!allocated_) raise(kSubscriptOutOfRange);
    return static_cast<std::int32_t>(lbound_ + static_cast<std::int64_t>(items_.size()) - 1);
  }
  // Number of items; 0 when unallocated.
  [[nodiscard]] std::int32_t size() const noexcept { return static_cast<std::int32_t>(items_.size()); }
  [[nodiscard]] bool empty() const noexcept { return items_.empty(); }

  // Allocates lbound..ubound with default values (ReDim). ubound may be
  // lbound - 1 for an allocated array without items; anything lower is error 9.
  void redim(std::int32_t lbound, std::int32_t ubound) {
    check_extent(lbound, ubound);
    items_.assign(static_cast<std::size_t>(static_cast<std::int64_t>(ubound) - lbound + 1), T{});
    lbound_ = lbound;
    allocated_ = true;
  }
  // Moves the upper bound, keeping the lower bound and the items that stay
  // (ReDim Preserve). An unallocated array gets lower bound `lbound_if_new`.
  void redim_preserve(std::int32_t ubound, std::int32_t lbound_if_new = 0) {
    // One item more is how lists are built, item by item: the quick way.
    if (allocated_ && static_cast<std::int64_t>(ubound) == lbound_ + static_cast<std::int64_t>(items_.size())) {
      items_.emplace_back();
      return;
    }
    const std::int32_t lb = allocated_ ? lbound_ : lbound_if_new;
    check_extent(lb, ubound);
    const auto count = static_cast<std::size_t>(static_cast<std::int64_t>(ubound) - lb + 1);
    if (count > items_.capacity()) items_.reserve(std::max(count, 2 * items_.capacity()));
    items_.resize(count);
    lbound_ = lb;
    allocated_ = true;
  }
  // Appends one item after the upper bound, with amortised growth.
  // Error 6 when the upper bound would pass the Long range.
  T& append(T value, std::int32_t lbound_if_new = 0) {
    if (!allocated_) {
      lbound_ = lbound_if_new;
      allocated_ = true;
    } else if (static_cast<std::int64_t>(lbound_) + static_cast<std::int64_t>(items_.size()) > INT32_MAX) {
      raise(kOverflow);
    }
    items_.push_back(std::move(value));
    return items_.back();
  }
  // Keeps room for `count` items without changing the bounds.
  void reserve(std::size_t count) { items_.reserve(count); }
  // Back to the unallocated state (Erase).
  void erase() noexcept {
    items_.clear();
    items_.shrink_to_fit();
    allocated_ = false;
    lbound_ = 0;
  }

  [[nodiscard]] T& operator[](std::int32_t index) { return items_[offset(index)]; }
  [[nodiscard]] const T& operator[](std::int32_t index) const { return items_[offset(index)]; }
  [[nodiscard]] bool contains(std::int32_t index) const noexcept {
    return allocated_ && index >= lbound_ && static_cast<std::int64_t>(index) - lbound_ < static_cast<std::int64_t>(items_.size());
  }

  // The items in order, for fast loops.
  [[nodiscard]] std::span<T> items() noexcept { return items_; }
  [[nodiscard]] std::span<const T> items() const noexcept { return items_; }

  friend bool operator==(const VbArray& a, const VbArray& b) {
    return a.allocated_ == b.allocated_ && a.lbound_ == b.lbound_ && a.items_ == b.items_;
  }

 private:
  static void check_extent(std::int64_t lbound, std::int64_t ubound) {
    if (ubound < lbound - 1 || ubound > INT32_MAX) raise(kSubscriptOutOfRange);
  }
  [[nodiscard]] std::size_t offset(std::int32_t index) const {
    if (!contains(index)) raise(kSubscriptOutOfRange);
    return static_cast<std::size_t>(static_cast<std::int64_t>(index) - lbound_);
  }

  std::vector<T> items_;
  std::int32_t lbound_ = 0;
  bool allocated_ = false;
};

}  // namespace kestrel::core
