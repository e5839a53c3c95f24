// Case folding for names the platform compares without regard to case:
// settings applications, sections and keys, and automation class names.
#pragma once

#include <string>
#include <string_view>

namespace kestrel::platform {

// `name` with ASCII capitals and the Latin-1 capitals of UTF-8 ("Ñ", "Á" ...)
// made small, so that two names that differ only in case fold equal.
// Every other byte is kept as it is.
[[nodiscard]] std::string fold_name(std::string_view name);

// fold_name(a) == fold_name(b), without allocating.
[[nodiscard]] bool same_name(std::string_view a, std::string_view b) noexcept;

}  // namespace kestrel::platform
