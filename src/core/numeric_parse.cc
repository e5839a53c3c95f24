// Reading numbers from text: CDbl (the whole text) and Val (its start).
#include <charconv>
#include <string>
#include <utility>

#include "core/error.h"
#include "core/numeric.h"

namespace kestrel::core {

namespace {

enum class Status { kOk, kNotANumber, kOverflow };

struct Parsed {
  Status status = Status::kNotANumber;
  double value = 0;
};

bool is_digit(char c) noexcept { return c >= '0' && c <= '9'; }
bool is_blank(char c) noexcept { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trim_blanks(std::string_view s) noexcept {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

int radix_digit(char c, int base) noexcept {
  int d = 99;
  if (is_digit(c)) d = c - '0';
  if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
  return d < base ? d : -1;
}

// "&H"/"&O" digits. Short forms are Integers and long ones Longs, both
// wrapping into the negative range as the run time's literals do.
Parsed parse_radix(std::string_view digits, int base) noexcept {
  if (digits.empty()) return {};
  std::uint64_t v = 0;
  for (char c : digits) {
    const int d = radix_digit(c, base);
    if (d < 0) return {};
    v = v * static_cast<unsigned>(base) + static_cast<unsigned>(d);
    if (v > 0xFFFFFFFFu) return {Status::kOverflow, 0};
  }
  const std::size_t integer_digits = base == 16 ? 4 : 6;
  if (digits.size() <= integer_digits && v <= 0xFFFF) {
    return {Status::kOk, static_cast<double>(static_cast<std::int16_t>(static_cast<std::uint16_t>(v)))};
  }
  return {Status::kOk, static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(v)))};
}

// Length of the radix prefix ("&H" or "&O"), and the base it names.
std::pair<std::size_t, int> radix_prefix(std::string_view s) noexcept {
  if (s.size() < 2 || s[0] != '&') return {0, 0};
  if (s[1] == 'H' || s[1] == 'h') return {2, 16};
  if (s[1] == 'O' || s[1] == 'o') return {2, 8};
  return {0, 0};
}

// Length of the longest decimal number at the start of `s` (no sign):
// digits, an optional "." and digits (at least one digit in all), and an
// optional exponent "e"/"d" with an optional sign and at least one digit.
std::size_t scan_decimal(std::string_view s) noexcept {
  std::size_t i = 0;
  std::size_t digits = 0;
  for (; i < s.size() && is_digit(s[i]); ++i) ++digits;
  if (i < s.size() && s[i] == '.') {
    for (++i; i < s.size() && is_digit(s[i]); ++i) ++digits;
  }
  if (digits == 0) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    const std::size_t exponent_start = j;
    while (j < s.size() && is_digit(s[j])) ++j;
    if (j > exponent_start) i = j;
  }
  return i;
}

// The power of ten of the first significant digit of a scanned decimal
// number, for telling an overflow from an underflow.
long decimal_magnitude(std::string_view number) noexcept {
  long integer_digits = 0;
  long leading_zeros = 0;
  std::size_t i = 0;
  while (i < number.size() && number[i] == '0') ++i;
  for (; i < number.size() && is_digit(number[i]); ++i) ++integer_digits;
  if (integer_digits == 0 && i < number.size() && number[i] == '.') {
    for (++i; i < number.size() && number[i] == '0'; ++i) ++leading_zeros;
  }
  long exponent = 0;
  const std::size_t e = number.find_first_of("eEdD");
  if (e != std::string_view::npos) {
    const bool negative = number[e + 1] == '-';
    for (std::size_t k = e + 1; k < number.size(); ++k) {
      if (is_digit(number[k]) && exponent < 100000) exponent = exponent * 10 + (number[k] - '0');
    }
    if (negative) exponent = -exponent;
  }
  return (integer_digits > 0 ? integer_digits - 1 : -leading_zeros - 1) + exponent;
}

// A scanned decimal number (see scan_decimal) as a Double.
Parsed convert_decimal(std::string_view number, bool negative) {
  std::string text(number);
  for (char& c : text) {
    if (c == 'd' || c == 'D') c = 'e';
  }
  double v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    if (decimal_magnitude(number) > 0) return {Status::kOverflow, 0};
    v = 0;  // too small for a Double: the run time reads it as 0
  } else if (ec != std::errc() || end != text.data() + text.size()) {
    return {};
  }
  return {Status::kOk, negative ? -v : v};
}

Parsed parse_whole(std::string_view text) {
  std::string_view s = trim_blanks(text);
  if (const auto [prefix, base] = radix_prefix(s); prefix > 0) return parse_radix(s.substr(prefix), base);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s = trim_blanks(s.substr(1));
  }
  if (s.empty() || scan_decimal(s) != s.size()) return {};
  return convert_decimal(s, negative);
}

}  // namespace

std::optional<double> parse_number(std::string_view text) noexcept {
  try {
    const Parsed p = parse_whole(text);
    if (p.status == Status::kOk) return p.value;
  } catch (...) {  // only the copy for from_chars allocates
  }
  return std::nullopt;
}

double to_number(std::string_view text) {
  const Parsed p = parse_whole(text);
  if (p.status == Status::kNotANumber) raise(kTypeMismatch);
  if (p.status == Status::kOverflow) raise(kOverflow);
  return p.value;
}

double val(std::string_view text) {
  std::string compact;
  compact.reserve(text.size());
  for (char c : text) {
    if (c != ' ' && c != '\t' && c != '\n') compact.push_back(c);
  }
  std::string_view s = compact;
  if (const auto [prefix, base] = radix_prefix(s); prefix > 0) {
    std::size_t n = prefix;
    while (n < s.size() && radix_digit(s[n], base) >= 0) ++n;
    const Parsed p = parse_radix(s.substr(prefix, n - prefix), base);
    if (p.status == Status::kOverflow) raise(kOverflow);
    return p.value;
  }
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  const std::size_t n = scan_decimal(s);
  if (n == 0) return 0;
  const Parsed p = convert_decimal(s.substr(0, n), negative);
  if (p.status == Status::kOverflow) raise(kOverflow);
  return p.value;
}

}  // namespace kestrel::core
