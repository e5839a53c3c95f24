#include "cad/dxf/number_text.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <numbers>

namespace kestrel::dxf {

namespace {

// Fixed-point fast paths: a value below 1e8 in magnitude whose nearest
// multiple of 10^-d (d = 3, then 7) reads back as the value itself is
// written as that decimal with its trailing zeros dropped. Below 1e8 the
// doubles are closer together than 10^-7, so that decimal is the only one
// with d fractional digits that reads back, and dropping zeros leaves the
// shortest text. Survey coordinates mostly stop at millimetres: d = 3 first.
constexpr double kFastLimit = 1e8;
constexpr double kRoundingBias = 4503599627370496.0;  // 2^52

template <int Digits>
struct Fixed {
  static constexpr std::uint64_t kUnit = Digits == 3 ? 1000u : 10000000u;
  static constexpr double kScale = static_cast<double>(kUnit);

  // The value times 10^Digits when that is exact enough to read back, else 0.
  static std::uint64_t scaled(double magnitude) noexcept {
    // Adding and taking away 2^52 rounds a value below 2^52 to a whole number.
    const double s = (magnitude * kScale + kRoundingBias) - kRoundingBias;
    return s / kScale == magnitude ? static_cast<std::uint64_t>(s) : 0;
  }

  static char* write(char* out, bool negative, std::uint64_t scaled) noexcept {
    if (negative) *out++ = '-';
    std::uint64_t fraction = scaled % kUnit;
    out = std::to_chars(out, out + 20, scaled / kUnit).ptr;
    *out++ = '.';
    if (fraction == 0) {
      *out++ = '0';
      return out;
    }
    for (int i = Digits - 1; i >= 0; --i) {
      out[i] = static_cast<char>('0' + fraction % 10);
      fraction /= 10;
    }
    char* end = out + Digits;
    while (end[-1] == '0') --end;
    return end;
  }
};

bool has_point_or_exponent(const char* begin, const char* end) noexcept {
  for (const char* p = begin; p != end; ++p) {
    if (*p == '.' || *p == 'e') return true;
  }
  return false;
}

}  // namespace

char* format_real(char* out, double value) noexcept {
  if (!std::isfinite(value)) return nullptr;
  const double magnitude = std::fabs(value);
  if (magnitude == 0) return Fixed<3>::write(out, std::signbit(value), 0);
  if (magnitude < kFastLimit) {
    if (const std::uint64_t s = Fixed<3>::scaled(magnitude)) return Fixed<3>::write(out, std::signbit(value), s);
    if (const std::uint64_t s = Fixed<7>::scaled(magnitude)) return Fixed<7>::write(out, std::signbit(value), s);
  }
  char* end = std::to_chars(out, out + kNumberTextSize, value).ptr;
  if (!has_point_or_exponent(out, end)) {
    *end++ = '.';
    *end++ = '0';
  }
  return end;
}

char* format_degrees(char* out, double radians) noexcept {
  const double degrees = radians_to_degrees(radians);
  if (!std::isfinite(degrees)) return nullptr;
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
  if (end == nullptr) return radians;
  double degrees = 0;
  std::from_chars(text, end, degrees);
  return degrees_to_radians(degrees);
}

double degrees_to_radians(double degrees) noexcept { return degrees * (std::numbers::pi / 180.0); }
double radians_to_degrees(double radians) noexcept { return radians * (180.0 / std::numbers::pi); }

}  // namespace kestrel::dxf
