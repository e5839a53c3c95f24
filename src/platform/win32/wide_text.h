// UTF-8 and the UTF-16 of the Windows API, both ways.
#pragma once

#include <string>
#include <string_view>

namespace kestrel::platform {

// A stray byte reads as its Windows-1252 character, as everywhere in Kestrel.
[[nodiscard]] std::wstring widen(std::string_view utf8);
// A lone surrogate becomes U+FFFD.
[[nodiscard]] std::string narrow(std::wstring_view utf16);

}  // namespace kestrel::platform
