// Writing numbers as the run time does: CStr, Str and Format(x, "0.00").
#include <array>
#include <charconv>
#include <cmath>

#include "core/numeric.h"

namespace kestrel::core {

namespace {

// A finite Double as the run time sees it: 15 significant decimal digits.
struct Decimal15 {
  bool negative = false;
  std::array<char, 15> digits{};  // digits[0] is not '0' unless the value is 0
  int exponent = 0;               // the value is d0.d1d2...d14 x 10^exponent
};

Decimal15 to_decimal15(double x) noexcept {
  std::array<char, 32> buf{};
  // "-d.dddddddddddddde+XXX": correctly rounded to 15 significant digits.
  const auto end = std::to_chars(buf.data(), buf.data() + buf.size(), x, std::chars_format::scientific, 14).ptr;
  const char* p = buf.data();
  Decimal15 d;
  if (*p == '-') {
    d.negative = true;
    ++p;
  }
  d.digits[0] = *p;
  p += 2;  // the digit and the point
  for (std::size_t i = 1; i < d.digits.size(); ++i) d.digits[i] = *p++;
  ++p;  // 'e'
  if (*p == '+') ++p;
  std::from_chars(p, end, d.exponent);
  return d;
}

void append_exponent(std::string& out, int exponent) {
  out.push_back('E');
  out.push_back(exponent < 0 ? '-' : '+');
  const int magnitude = std::abs(exponent);
  if (magnitude < 10) out.push_back('0');
  std::array<char, 8> buf{};
  out.append(buf.data(), std::to_chars(buf.data(), buf.data() + buf.size(), magnitude).ptr);
}

// Adds one to a string of decimal digits, growing it on a carry out.
void increment(std::string& digits) {
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return;
    }
    *it = '0';
  }
  digits.insert(digits.begin(), '1');
}

// |x| in units of 10^-decimals, rounded half away from zero from its
// 15-digit form, as decimal digits.
std::string scaled_units(const Decimal15& d, int decimals) {
  const long kept = static_cast<long>(d.exponent) + decimals + 1;  // digits at or above the unit
  const std::string_view digits(d.digits.data(), d.digits.size());
  if (kept <= 0) return kept == 0 && digits[0] >= '5' ? "1" : "0";
  if (kept >= static_cast<long>(digits.size())) {
    std::string units(digits);
    units.append(static_cast<std::size_t>(kept) - digits.size(), '0');
    return units;
  }
  std::string units(digits.substr(0, static_cast<std::size_t>(kept)));
  if (digits[static_cast<std::size_t>(kept)] >= '5') increment(units);
  return units;
}

}  // namespace

std::string format_general(double x) {
  if (!std::isfinite(x)) return format_shortest(x);
  if (x == 0) return "0";
  const Decimal15 d = to_decimal15(x);
  std::size_t n = d.digits.size();
  while (n > 1 && d.digits[n - 1] == '0') --n;
  const std::string_view digits(d.digits.data(), n);
  std::string out;
  if (d.negative) out.push_back('-');
  if (d.exponent < -4 || d.exponent >= 15) {
    out.push_back(digits[0]);
    if (n > 1) out.append(".").append(digits.substr(1));
    append_exponent(out, d.exponent);
  } else if (d.exponent >= 0) {
    const auto integer_digits = static_cast<std::size_t>(d.exponent) + 1;
    out.append(digits.substr(0, integer_digits));
    if (n > integer_digits) out.append(".").append(digits.substr(integer_digits));
    else out.append(integer_digits - n, '0');
  } else {
    out.append("0.").append(static_cast<std::size_t>(-d.exponent - 1), '0').append(digits);
  }
  return out;
}

std::string vb_str(double x) {
  std::string s = format_general(x);
  if (s.front() != '-') s.insert(0, 1, ' ');
  if (s.compare(1, 2, "0.") == 0) s.erase(1, 1);  // " .5", "-.25"
  return s;
}

std::string format_fixed(double x, int decimals) {
  if (!std::isfinite(x)) return format_shortest(x);
  if (decimals < 0) decimals = 0;
  const Decimal15 d = to_decimal15(x);
  std::string units = x == 0 ? std::string("0") : scaled_units(d, decimals);
  const auto fraction = static_cast<std::size_t>(decimals);
  if (units.size() <= fraction) units.insert(0, fraction + 1 - units.size(), '0');
  const bool zero = units.find_first_not_of('0') == std::string::npos;
  std::string out;
  out.reserve(units.size() + 2);
  if (d.negative && !zero) out.push_back('-');
  out.append(units, 0, units.size() - fraction);
  if (fraction > 0) out.append(".").append(units, units.size() - fraction, fraction);
  return out;
}

std::string format_shortest(double x) {
  std::array<char, 32> buf{};
  const auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), x);
  return ec == std::errc() ? std::string(buf.data(), end) : std::string("0");
}

}  // namespace kestrel::core
