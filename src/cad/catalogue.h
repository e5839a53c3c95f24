// The CAD version catalogue: a version label chosen by the user ("ZWCAD
// 2021(x64)", "AutoCad 2018(x64)") gives the automation class name of the
// CAD application, its family word, and the class name of its true-colour
// object. Labels are compared exactly (case and blanks matter).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrel::cad {

inline constexpr std::string_view kFamilyZwcad = "ZWCad";
inline constexpr std::string_view kFamilyAutocad = "AutoCad";

struct ApplicationEntry {
  std::string class_name;
  // The family word; nullopt for a label outside the catalogue, which
  // leaves the session's family as it was.
  std::optional<std::string> family;
};

// The application class for `label`; labels outside the catalogue get
// "ZWCAD.Application" when their first five characters are "ZWCAD", else
// "AutoCAD.Application".
[[nodiscard]] ApplicationEntry application_for(std::string_view label);

// The true-colour object class for `label`; labels outside the catalogue get
// "ZWCAD.ZcCmColor" or "AutoCAD.AcCmColor" by the same rule.
// "ZWCAD 2020(x32)" gets the class of its 64-bit twin, "ZWCAD.ZcCmColor.2020":
// both run the same application class.
[[nodiscard]] std::string colour_class_for(std::string_view label);

}  // namespace kestrel::cad
