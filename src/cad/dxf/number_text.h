// Numbers as DXF text. Reals are written with the fewest digits that read
// back to the same double (so a saved drawing loses nothing), always with a
// decimal point or an exponent; angles, which DXF keeps in degrees while the
// drawing keeps radians, are written with 12 significant digits, so that
// degrees → radians → degrees gives back the same text.
#pragma once

#include <cstdint>

namespace kestrel::dxf {

// Room every function below needs at `out`.
inline constexpr int kNumberTextSize = 32;

// Writes `value` at `out` and returns the end. NaN and the infinities have
// no DXF text: nothing is written and the result is nullptr.
[[nodiscard]] char* format_real(char* out, double value) noexcept;
// An angle given in radians, written in degrees; nullptr as format_real does
// when the degrees are not finite.
[[nodiscard]] char* format_degrees(char* out, double radians) noexcept;
char* format_integer(char* out, std::int64_t value) noexcept;
// Upper-case hexadecimal without leading zeros (a handle).
char* format_hex(char* out, std::uint64_t value) noexcept;

// The radians a file gives back for an angle written with format_degrees.
// Applying it twice gives the same value as applying it once. An angle that
// cannot be written is given back as it is.
[[nodiscard]] double stored_angle(double radians) noexcept;

// Degrees read from a file as radians, and back.
[[nodiscard]] double degrees_to_radians(double degrees) noexcept;
[[nodiscard]] double radians_to_degrees(double radians) noexcept;

}  // namespace kestrel::dxf
