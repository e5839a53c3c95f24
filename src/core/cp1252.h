// Windows-1252, the ANSI code page of the host and of DXF files before
// R2007. Text is converted at those edges only. The five bytes the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the control
// characters of the same value, so every byte has a character and back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrel::core {

// The character of a Windows-1252 byte.
[[nodiscard]] char32_t cp1252_char(std::uint8_t byte) noexcept;
// The Windows-1252 byte of a character; nullopt when the code page lacks it.
[[nodiscard]] std::optional<std::uint8_t> cp1252_byte(char32_t code) noexcept;

// What to_cp1252 does with a character the code page lacks.
enum class Unrepresentable {
  kQuestionMark,  // writes '?' as the platform does
  kError,         // raises error 5
};

// UTF-8 text as Windows-1252 bytes. A stray byte of the text (see utf8.h)
// is written back as that same byte.
[[nodiscard]] std::string to_cp1252(std::string_view utf8, Unrepresentable policy = Unrepresentable::kQuestionMark);
// Windows-1252 bytes as UTF-8 text.
[[nodiscard]] std::string from_cp1252(std::string_view bytes);

}  // namespace kestrel::core
