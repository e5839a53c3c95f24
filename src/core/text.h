// The run time's string functions on UTF-8 text. Lengths and positions
// count characters, not bytes; positions are 1-based. A stray byte in the
// text counts as one character (see utf8.h), so no input makes these fail
// except where the run time itself raises an error (5 for a bad argument).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/cp1252.h"
#include "core/utf8.h"
#include "core/vb_array.h"

namespace kestrel::core {

// Len.
[[nodiscard]] std::int32_t len(std::string_view s) noexcept;
// Mid: up to `length` characters (all when omitted) from character `start`;
// "" when start is past the end. Error 5 when start < 1 or length < 0.
[[nodiscard]] std::string mid(std::string_view s, std::int32_t start, std::optional<std::int32_t> length = std::nullopt);
// Left / Right: the first / last `length` characters (the whole text when
// shorter). Error 5 when length < 0.
[[nodiscard]] std::string left(std::string_view s, std::int32_t length);
[[nodiscard]] std::string right(std::string_view s, std::int32_t length);

// InStr: the position of the first `find` in `s` at or after character
// `start`, 0 when absent or when `s` is empty. An empty `find` is found at
// `start` while start <= Len(s) + 1. Error 5 when start < 1. The comparison
// is binary (case-sensitive).
[[nodiscard]] std::int32_t instr(std::string_view s, std::string_view find, std::int32_t start = 1);
// Replace: every `find` (left to right, not overlapping) replaced by `with`;
// an empty `find` leaves the text as it is.
[[nodiscard]] std::string replace(std::string_view s, std::string_view find, std::string_view with);

// Trim, LTrim, RTrim: only blanks (U+0020) are removed, never tabs or breaks.
[[nodiscard]] std::string trim(std::string_view s);
[[nodiscard]] std::string ltrim(std::string_view s);
[[nodiscard]] std::string rtrim(std::string_view s);

// UCase / LCase: the letters of ASCII and Windows-1252 (á, ñ, Ÿ, Š, Œ ...)
// change case; every other character is kept.
[[nodiscard]] std::string ucase(std::string_view s);
[[nodiscard]] std::string lcase(std::string_view s);

// Asc: the Windows-1252 code of the first character, 63 ('?') for a
// character the code page lacks. Error 5 for an empty text.
[[nodiscard]] std::int32_t asc(std::string_view s);
// Chr: the character of a Windows-1252 code. Error 5 outside 0..255.
[[nodiscard]] std::string chr(std::int32_t code);

// Split: the pieces between the delimiters, in an array from 0. An empty
// text gives an allocated array without items (0 to -1); an empty delimiter
// gives the whole text as the only item. With limit > 0 there are at most
// `limit` pieces, the last holding the rest of the text; limit 0 gives no
// items; -1 means no limit; anything lower is error 5.
[[nodiscard]] VbArray<std::string> split(std::string_view s, std::string_view delimiter = " ", std::int32_t limit = -1);

}  // namespace kestrel::core
