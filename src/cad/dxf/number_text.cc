#include "cad/dxf/number_text.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <numbers>

namespace kestrel::dxf {

namespace {

// Fixed-point fast path: a value below 1e8 in magnitude whose nearest
// multiple of 1e-7 reads back as the value itself is written as that
// decimal with its trailing zeros dropped. Below 1e8 the doubles are closer
// together than 1e-7, so the decimal is the only one with that many
// fractional digits that reads back, and dropping zeros leaves the shortest.
constexpr double kFastLimit = 1e8;
constexpr double kFastScale = 1e7;
constexpr int kFastDigits = 7;
constexpr double kRoundingBias = 4503599627370496.0;  // 2^52

char* write_fixed(char* out, bool negative, std::uint64_t scaled) noexcept {
  if (negative) *out++ = '-';
  const std::uint64_t whole = scaled / 10000000u;
  std::uint64_t fraction = scaled % 10000000u;
  out = std::to_chars(out, out + 20, whole).ptr;
  *out++ = '.';
  if (fraction == 0) {
    *out++ = '0';
    return out;
  }
  for (int i = kFastDigits - 1; i >= 0; --i) {
    out[i] = static_cast<char>('0' + fraction % 10);
    fraction /= 10;
  }
  char* end = out + kFastDigits;
  while (end[-1] == '0') --end;
  return end;
}

bool has_point_or_exponent(const char* begin, const char* end) noexcept {
  for (const char* p = begin; p != end; ++p) {
    if (*p == '.' || *p == 'e') return true;
  }
  return false;
}

}  // namespace

char* format_real(char* out, double value) noexcept {
  if (!std::isfinite(value)) value = 0;
  const double magnitude = std::fabs(value);
  if (magnitude < kFastLimit) {
    // Adding and taking away 2^52 rounds a value below 2^52 to a whole number.
    const double scaled = (magnitude * kFastScale + kRoundingBias) - kRoundingBias;
    if (scaled / kFastScale == magnitude) {
      return write_fixed(out, std::signbit(value), static_cast<std::uint64_t>(scaled));
    }
  }
  char* end = std::to_chars(out, out + kNumberTextSize, value).ptr;
  if (!has_point_or_exponent(out, end)) {
    *end++ = '.';
    *end++ = '0';
  }
  return end;
}

char* format_degrees(char* out, double radians) noexcept {
  double degrees = radians_to_degrees(radians);
  if (!std::isfinite(degrees)) degrees = 0;
  char* end = std::to_chars(out, out + kNumberTextSize, degrees, std::chars_format::general, 12).ptr;
  if (!has_point_or_exponent(out, end)) {
    *end++ = '.';
    *end++ = '0';
  }
  return end;
}

char* format_integer(char* out, std::int64_t value) noexcept {
  return std::to_chars(out, out + kNumberTextSize, value).ptr;
}

char* format_hex(char* out, std::uint64_t value) noexcept {
  char* end = std::to_chars(out, out + kNumberTextSize, value, 16).ptr;
  for (char* p = out; p != end; ++p) {
    if (*p >= 'a' && *p <= 'f') *p = static_cast<char>(*p - 'a' + 'A');
  }
  return end;
}

double stored_angle(double radians) noexcept {
  char text[kNumberTextSize];
  const char* end = format_degrees(text, radians);
  double degrees = 0;
  std::from_chars(text, end, degrees);
  return degrees_to_radians(degrees);
}

double degrees_to_radians(double degrees) noexcept { return degrees * (std::numbers::pi / 180.0); }
double radians_to_degrees(double radians) noexcept { return radians * (180.0 / std::numbers::pi); }

}  // namespace kestrel::dxf
