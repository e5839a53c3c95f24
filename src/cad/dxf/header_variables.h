// The drawing variables a DXF header stores, with their group codes. A
// drawing variable (SetVariable "PDMODE") is written as "$PDMODE" when it is
// in this catalogue; the others (MODEMACRO ...) live only while the drawing
// is open, as in a CAD.
#pragma once

#include <optional>
#include <string_view>

namespace kestrel::dxf {

enum class HeaderType {
  kText,     // a string (group 1 to 8)
  kInt16,    // group 70, 62, 280, 290, 370, 380: an Integer variable
  kInt32,    // group 90: a Long variable
  kReal,     // group 40 or 50: a Double variable
  kPoint2,   // groups 10, 20: a Double array (0 To 1)
  kPoint3,   // groups 10, 20, 30: a Double array (0 To 2)
  kColor,    // group 62: "BYLAYER" (256), "BYBLOCK" (0) or the colour number as text
};

struct HeaderVariable {
  std::string_view name;  // without "$", upper case
  int code;
  HeaderType type;
};

// The catalogue entry of a variable name (without "$", any case).
[[nodiscard]] std::optional<HeaderVariable> find_header_variable(std::string_view name) noexcept;

}  // namespace kestrel::dxf
