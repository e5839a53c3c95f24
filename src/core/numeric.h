// Number semantics of the automation run time: 16-bit Booleans, checked
// Integer/Long conversions (error 6), banker's rounding, Int/Fix/integer
// division, Val-style parsing and Str/Format-style printing ("." always).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrel::core {

// A Boolean as the host stores it: 0 false, -1 true.
using VbBool = std::int16_t;
inline constexpr VbBool kTrue = -1;
inline constexpr VbBool kFalse = 0;
[[nodiscard]] constexpr VbBool to_vb_bool(bool b) noexcept { return b ? kTrue : kFalse; }

// Rounds to the nearest whole number, halves to the even neighbour
// (whatever the floating-point environment's rounding mode).
[[nodiscard]] double round_half_even(double x) noexcept;

// CInt / CLng: round half to even, error 6 when the result does not fit.
[[nodiscard]] std::int16_t cint(double x);
[[nodiscard]] std::int32_t clng(double x);
// CSng: the nearest single-precision value, error 6 beyond its range.
[[nodiscard]] float csng(double x);

// Checked 32-bit and 16-bit arithmetic: error 6 on overflow.
[[nodiscard]] std::int32_t checked_add(std::int32_t a, std::int32_t b);
[[nodiscard]] std::int32_t checked_sub(std::int32_t a, std::int32_t b);
[[nodiscard]] std::int32_t checked_mul(std::int32_t a, std::int32_t b);
[[nodiscard]] std::int16_t checked_add16(std::int16_t a, std::int16_t b);

// Int floors, Fix truncates toward zero.
[[nodiscard]] double vb_int(double x) noexcept;
[[nodiscard]] double vb_fix(double x) noexcept;
// The `\` operator: both operands rounded half to even to Long (error 6
// when one does not fit, the dividend checked first), then the quotient
// truncated toward zero; error 11 for a zero divisor.
[[nodiscard]] std::int32_t int_div(double a, double b);

// A whole numeric text as CDbl reads it: blanks around it, an optional sign,
// digits with "." as decimal point, an optional exponent ("e" or "d"), or
// "&H" hex / "&O" octal digits. nullopt for anything else, and for a number
// beyond the Double range; a number too small for a Double reads as 0.
[[nodiscard]] std::optional<double> parse_number(std::string_view text) noexcept;
// CDbl of a text: as parse_number, raising 13 for a text that is not a
// number and 6 for a number beyond the Double range.
[[nodiscard]] double to_number(std::string_view text);
// Val: the leading number of the text, blanks, tabs and line feeds anywhere
// skipped; 0 when there is none. "&H"/"&O" numbers of up to 4 hex / 6 octal
// digits are Integers (so Val("&HFFFF") is -1), longer ones Longs.
// Error 6 for a number beyond the Double or Long range.
[[nodiscard]] double val(std::string_view text);

// CStr of a Double: up to 15 significant digits, "." as decimal point,
// exponent form beyond 15 integer digits or below 0.0001 ("0.5", "-3",
// "1E+20", "1E-05"). Infinities and NaN, which the run time never holds,
// are written "inf", "-inf", "nan".
[[nodiscard]] std::string format_general(double x);
// Str: as format_general with a leading blank for non-negative numbers and
// no zero before the decimal point (" 3", "-2.5", " .5", "-.25").
[[nodiscard]] std::string vb_str(double x);
// Format(x, "0.000") with `decimals` zeros: the number as the run time sees
// it (15 significant digits) rounded half away from zero to `decimals`
// decimals, "." as decimal point, never "-0".
[[nodiscard]] std::string format_fixed(double x, int decimals);
// Shortest text that reads back as the same double (std::to_chars).
[[nodiscard]] std::string format_shortest(double x);

}  // namespace kestrel::core
