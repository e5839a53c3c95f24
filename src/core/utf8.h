// Reading UTF-8 text one character at a time. Text is UTF-8 everywhere, but
// text that came from older files may hold stray bytes; such a byte (one that
// is not part of a well-formed sequence) counts as one character: the
// Windows-1252 character of that byte. Nothing here ever fails on bad input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrel::core {

struct Utf8Char {
  char32_t code = 0;        // the character (for a stray byte: its Windows-1252 character)
  std::uint8_t size = 0;    // bytes it takes in the text, 1 to 4
  bool well_formed = true;  // false for a stray byte
};

// The character that starts at byte `pos` (pos < text.size()).
[[nodiscard]] Utf8Char decode_char(std::string_view text, std::size_t pos) noexcept;

// Bytes taken by the character that starts at byte `pos` (pos < text.size()).
[[nodiscard]] inline std::size_t char_size(std::string_view text, std::size_t pos) noexcept {
  return static_cast<unsigned char>(text[pos]) < 0x80 ? 1 : decode_char(text, pos).size;
}

// True when the whole text is well-formed UTF-8 (no overlong forms,
// surrogates or code points above U+10FFFF).
[[nodiscard]] bool is_valid_utf8(std::string_view text) noexcept;

// The text with every stray byte replaced by the UTF-8 form of its
// Windows-1252 character; well-formed text comes back unchanged.
[[nodiscard]] std::string to_valid_utf8(std::string_view text);

// Appends the UTF-8 form of `code`; surrogates and values above U+10FFFF
// are written as U+FFFD.
void append_utf8(std::string& out, char32_t code);

// Byte offset of the character that follows `count` characters counted from
// byte `from`; text.size() when the text ends first.
[[nodiscard]] std::size_t skip_chars(std::string_view text, std::size_t from, std::size_t count) noexcept;

// Number of characters in text[from, to).
[[nodiscard]] std::size_t count_chars(std::string_view text, std::size_t from, std::size_t to) noexcept;

}  // namespace kestrel::core
