// The limb arithmetic that 32-bit targets use, against the compiler's 128-bit integers.
#include "core/exact_products.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>

namespace kestrel::core {
namespace {

int reference_sign(std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t d) {
  const __int128 diff = static_cast<__int128>(a) * b - static_cast<__int128>(c) * d;
  return (diff > 0) - (diff < 0);
}

TEST(ExactProducts, LimbsAgreeWithWideIntegersOnEdgesAndRandomValues) {
  constexpr std::int64_t big = (std::int64_t{1} << 62) - 1;
  const std::array<std::int64_t, 9> edges{0, 1, -1, big, -big, big - 1, -(big - 1), 0xffffffffLL, -0x100000000LL};
  for (auto a : edges)
    for (auto b : edges)
      for (auto c : edges)
        for (auto d : edges)
          ASSERT_EQ(detail::sign_of_product_difference_by_limbs(a, b, c, d), reference_sign(a, b, c, d))
              << a << " " << b << " " << c << " " << d;
  std::mt19937_64 rng(7);
  std::uniform_int_distribution<std::int64_t> any(-big, big);
  for (int i = 0; i < 200000; ++i) {
    const std::int64_t a = any(rng), b = any(rng), c = any(rng), d = any(rng);
    ASSERT_EQ(detail::sign_of_product_difference_by_limbs(a, b, c, d), reference_sign(a, b, c, d));
    // Equal products differ only in their last bits: the halves' carries matter.
    ASSERT_EQ(detail::sign_of_product_difference_by_limbs(a, b, b, a), 0);
    ASSERT_EQ(detail::sign_of_product_difference_by_limbs(a, b, a, b + (b < big ? 1 : -1)),
              reference_sign(a, b, a, b + (b < big ? 1 : -1)));
  }
}

}  // namespace
}  // namespace kestrel::core
