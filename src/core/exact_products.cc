#include "core/exact_products.h"

namespace kestrel::core {
namespace {

// A 128-bit two's complement value as two 64-bit halves.
struct Wide {
  std::int64_t hi;
  std::uint64_t lo;
};

std::uint64_t magnitude(std::int64_t v) noexcept {
  return v < 0 ? ~static_cast<std::uint64_t>(v) + 1 : static_cast<std::uint64_t>(v);
}

// The full product of two unsigned 64-bit values, from 32-bit limbs.
Wide unsigned_product(std::uint64_t x, std::uint64_t y) noexcept {
  const std::uint64_t x_lo = x & 0xffffffffu, x_hi = x >> 32;
  const std::uint64_t y_lo = y & 0xffffffffu, y_hi = y >> 32;
  const std::uint64_t ll = x_lo * y_lo, lh = x_lo * y_hi, hl = x_hi * y_lo, hh = x_hi * y_hi;
  const std::uint64_t middle = (ll >> 32) + (lh & 0xffffffffu) + (hl & 0xffffffffu);
  const std::uint64_t lo = (middle << 32) | (ll & 0xffffffffu);
  const std::uint64_t hi = hh + (lh >> 32) + (hl >> 32) + (middle >> 32);
  return {static_cast<std::int64_t>(hi), lo};
}

Wide negated(Wide v) noexcept {
  const std::uint64_t lo = ~v.lo + 1;
  const std::uint64_t hi = ~static_cast<std::uint64_t>(v.hi) + (lo == 0 ? 1 : 0);
  return {static_cast<std::int64_t>(hi), lo};
}

Wide product(std::int64_t a, std::int64_t b) noexcept {
  const Wide p = unsigned_product(magnitude(a), magnitude(b));
  return (a < 0) != (b < 0) ? negated(p) : p;
}

}  // namespace

namespace detail {
int sign_of_product_difference_by_limbs(std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t d) noexcept {
  const Wide p = product(a, b), q = product(c, d);
  if (p.hi != q.hi) return p.hi < q.hi ? -1 : 1;
  if (p.lo != q.lo) return p.lo < q.lo ? -1 : 1;
  return 0;
}
}  // namespace detail

int sign_of_product_difference(std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t d) noexcept {
#ifdef __SIZEOF_INT128__
  const __int128 diff = static_cast<__int128>(a) * b - static_cast<__int128>(c) * d;
  return (diff > 0) - (diff < 0);
#else
  return detail::sign_of_product_difference_by_limbs(a, b, c, d);
#endif
}


}  // namespace kestrel::core
