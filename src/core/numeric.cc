#include "core/numeric.h"

#include <cmath>

#include "core/error.h"

namespace kestrel::core {

double round_half_even(double x) noexcept {
  if (std::fabs(x - std::trunc(x)) == 0.5) return 2.0 * std::round(x / 2.0);
  return std::round(x);
}

std::int16_t cint(double x) {
  const double r = round_half_even(x);
  if (!(r >= INT16_MIN && r <= INT16_MAX)) raise(kOverflow);
  return static_cast<std::int16_t>(r);
}

std::int32_t clng(double x) {
  const double r = round_half_even(x);
  if (!(r >= INT32_MIN && r <= INT32_MAX)) raise(kOverflow);
  return static_cast<std::int32_t>(r);
}

float csng(double x) {
  // From this magnitude on the nearest float would be infinity.
  constexpr double kFirstBeyondFloat = 0x1.ffffffp+127;
  if (!(std::fabs(x) < kFirstBeyondFloat)) raise(kOverflow);
  return static_cast<float>(x);
}

std::int32_t checked_add(std::int32_t a, std::int32_t b) {
  std::int32_t r;
  if (__builtin_add_overflow(a, b, &r)) raise(kOverflow);
  return r;
}
std::int32_t checked_sub(std::int32_t a, std::int32_t b) {
  std::int32_t r;
  if (__builtin_sub_overflow(a, b, &r)) raise(kOverflow);
  return r;
}
std::int32_t checked_mul(std::int32_t a, std::int32_t b) {
  std::int32_t r;
  if (__builtin_mul_overflow(a, b, &r)) raise(kOverflow);
  return r;
}
std::int16_t checked_add16(std::int16_t a, std::int16_t b) {
  const int r = a + b;
  if (r < INT16_MIN || r > INT16_MAX) raise(kOverflow);
  return static_cast<std::int16_t>(r);
}

double vb_int(double x) noexcept { return std::floor(x); }
double vb_fix(double x) noexcept { return std::trunc(x); }

std::int32_t int_div(double a, double b) {
  const std::int32_t dividend = clng(a);
  const std::int32_t divisor = clng(b);
  if (divisor == 0) raise(kDivisionByZero);
  if (dividend == INT32_MIN && divisor == -1) raise(kOverflow);
  return dividend / divisor;
}

}  // namespace kestrel::core
