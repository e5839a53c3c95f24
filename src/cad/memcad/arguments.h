// Reading member arguments and building member results. Arguments are
// 1-based positions; a missing one raises 449, a value of the wrong type 13,
// each naming the position. Points travel as Double arrays 0..2, coordinate
// lists as flat Double arrays from 0; arrays of other numbers are accepted.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "cad/memcad/geometry.h"
#include "cad/memcad/short_text.h"
#include "core/object.h"

namespace kestrel::memcad {

using Args = std::span<core::Variant>;

// The argument at `position`, or null when it is missing or Empty (optional arguments).
[[nodiscard]] const core::Variant* optional_argument(Args args, std::size_t position) noexcept;

[[nodiscard]] double double_argument(Args args, std::size_t position);
[[nodiscard]] std::int32_t long_argument(Args args, std::size_t position);
[[nodiscard]] bool bool_argument(Args args, std::size_t position);
[[nodiscard]] std::string string_argument(Args args, std::size_t position);
// The same as a drawing text; a String is read in place.
[[nodiscard]] ShortText text_argument(Args args, std::size_t position);
// An object reference; Nothing is a type mismatch (13).
[[nodiscard]] core::ObjectRef object_argument(Args args, std::size_t position);
// Three numbers; another count is refused naming the position.
[[nodiscard]] Vec3 point_argument(Args args, std::size_t position);
// A flat list of numbers (any numeric array).
[[nodiscard]] std::vector<double> numbers_argument(Args args, std::size_t position);

// Property values (a put's single argument).
[[nodiscard]] Vec3 point_value(const core::Variant& value);
// A direction: the unit vector of a point value; a zero vector is refused.
[[nodiscard]] Vec3 normal_value(const core::Variant& value);
[[nodiscard]] std::vector<double> numbers_value(const core::Variant& value);
[[nodiscard]] core::ObjectRef object_value(const core::Variant& value);

[[nodiscard]] core::Variant point_variant(const Vec3& p);
[[nodiscard]] core::Variant numbers_variant(std::span<const double> values);

// Refuses a value outside [low, high] with the CAD's "invalid input" error.
void check_range(double value, double low, double high, const char* what);

}  // namespace kestrel::memcad
