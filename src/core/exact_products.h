// Exact comparison of products of 64-bit integers, for geometric predicates
// whose results must not round: a product of two 64-bit values needs 128 bits,
// and not every target has a 128-bit integer (32-bit Windows has none).
#pragma once

#include <cstdint>

namespace kestrel::core {

// The sign (-1, 0 or 1) of a*b - c*d, computed exactly for any 64-bit
// values whose products' difference fits in 127 bits (each |x| < 2^62).
[[nodiscard]] int sign_of_product_difference(std::int64_t a, std::int64_t b, std::int64_t c,
                                             std::int64_t d) noexcept;

namespace detail {
// The same from 64-bit halves, as targets without a 128-bit integer compute
// it; public so that it is tested where a 128-bit integer exists too.
[[nodiscard]] int sign_of_product_difference_by_limbs(std::int64_t a, std::int64_t b, std::int64_t c,
                                                      std::int64_t d) noexcept;
}  // namespace detail

}  // namespace kestrel::core
