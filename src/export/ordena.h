// `Ordena`: an in-place ascending sort of a list, quicksort with the median
// of three as pivot and straight insertion for runs of fewer than seven
// items; `Intercambia` exchanges two items. Items compare with `<`, so a list
// of (key, index) pairs comes out ordered by key and, among equal keys, by
// index: nothing is lost or repeated when keys tie.
#pragma once

#include <cstddef>
#include <span>
#include <utility>

namespace kestrel::exporting {

template <class T>
void Intercambia(T& a, T& b) noexcept {
  using std::swap;
  swap(a, b);
}

namespace detail {

inline constexpr std::ptrdiff_t kInsertionRun = 7;

template <class T>
void insertion_sort(std::span<T> v, std::ptrdiff_t lo, std::ptrdiff_t hi) {
  for (std::ptrdiff_t i = lo + 1; i <= hi; ++i) {
    for (std::ptrdiff_t j = i; j > lo && v[j] < v[j - 1]; --j) Intercambia(v[j], v[j - 1]);
  }
}

// Orders lo, mid and hi so that v[lo] <= v[mid] <= v[hi]; v[mid] is the pivot.
template <class T>
void median_of_three(std::span<T> v, std::ptrdiff_t lo, std::ptrdiff_t mid, std::ptrdiff_t hi) {
  if (v[mid] < v[lo]) Intercambia(v[mid], v[lo]);
  if (v[hi] < v[lo]) Intercambia(v[hi], v[lo]);
  if (v[hi] < v[mid]) Intercambia(v[hi], v[mid]);
}

}  // namespace detail

template <class T>
void Ordena(std::span<T> v) {
  // An explicit stack of ranges; the smaller side is pushed last so that the
  // stack never holds more than about log2(n) ranges.
  std::pair<std::ptrdiff_t, std::ptrdiff_t> stack[64];
  int top = 0;
  stack[top++] = {0, static_cast<std::ptrdiff_t>(v.size()) - 1};
  while (top > 0) {
    auto [lo, hi] = stack[--top];
    if (hi - lo + 1 < detail::kInsertionRun) {
      if (hi > lo) detail::insertion_sort(v, lo, hi);
      continue;
    }
    const std::ptrdiff_t mid = lo + (hi - lo) / 2;
    detail::median_of_three(v, lo, mid, hi);
    const T pivot = v[mid];
    std::ptrdiff_t i = lo, j = hi;
    while (i <= j) {
      while (v[i] < pivot) ++i;
      while (pivot < v[j]) --j;
      if (i <= j) Intercambia(v[i++], v[j--]);
    }
    const bool left_smaller = j - lo < hi - i;
    if (left_smaller) {
      if (i < hi) stack[top++] = {i, hi};
      if (lo < j) stack[top++] = {lo, j};
    } else {
      if (lo < j) stack[top++] = {lo, j};
      if (i < hi) stack[top++] = {i, hi};
    }
  }
}

}  // namespace kestrel::exporting
