// The argument list of an Add call that takes a point (X, Y, Z), built once
// and refilled for each entity, so that a loop over many entities does not
// allocate a new point array each time.
#pragma once

#include <array>
#include <cstddef>
#include <span>

#include "core/variant.h"

namespace kestrel::exporting {

// N arguments (0-based); the point, an array of three doubles (0 to 2), is
// argument `point_at`.
template <std::size_t N>
class PointArguments {
 public:
  explicit PointArguments(std::size_t point_at = 0) : point_at_(point_at) { reset_point(); }

  [[nodiscard]] core::Variant& operator[](std::size_t i) { return args_[i]; }

  // Sets the point and returns the whole list.
  [[nodiscard]] std::span<core::Variant> with_point(double x, double y, double z) {
    // A callee may have replaced the argument (arguments go by reference).
    core::Variant& argument = args_[point_at_];
    if (argument.get_if<core::VbArray<double>>() == nullptr) reset_point();
    auto& point = argument.as<core::VbArray<double>>();
    point[0] = x;
    point[1] = y;
    point[2] = z;
    return args_;
  }

 private:
  void reset_point() { args_[point_at_] = core::Variant(core::VbArray<double>(0, 2)); }

  std::array<core::Variant, N> args_;
  std::size_t point_at_;
};

}  // namespace kestrel::exporting
