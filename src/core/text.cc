#include "core/text.h"

#include <limits>

#include "core/error.h"

namespace kestrel::core {

namespace {

// A place in a text: its byte offset and the characters before it.
struct Place {
  std::size_t byte = 0;
  std::size_t chars = 0;
};

void check_not_negative(std::int64_t n) {
  if (n < 0) raise(kInvalidCall);
}

// True when `length` bytes from the character boundary `pos` end on a boundary.
bool ends_on_boundary(std::string_view s, std::size_t pos, std::size_t length) noexcept {
  const std::size_t end = pos + length;
  while (pos < end) pos += char_size(s, pos);
  return pos == end;
}

// The first whole-character occurrence of a non-empty `find` at or after `from`
// (a character boundary). A byte match inside a character is not a match.
std::optional<Place> find_from(std::string_view s, std::string_view find, Place from) noexcept {
  Place at = from;
  while (at.byte < s.size()) {
    const std::size_t pos = s.find(find, at.byte);
    if (pos == std::string_view::npos) return std::nullopt;
    while (at.byte < pos) {
      at.byte += char_size(s, at.byte);
      ++at.chars;
    }
    if (at.byte == pos) {
      if (ends_on_boundary(s, pos, find.size())) return at;
      at.byte += char_size(s, at.byte);
      ++at.chars;
    }
  }
  return std::nullopt;
}

std::int32_t to_position(std::size_t chars) noexcept {
  constexpr auto kMax = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
  return static_cast<std::int32_t>(chars < kMax ? chars : kMax);
}

}  // namespace

std::int32_t len(std::string_view s) noexcept { return to_position(count_chars(s, 0, s.size())); }

std::string mid(std::string_view s, std::int32_t start, std::optional<std::int32_t> length) {
  if (start < 1) raise(kInvalidCall);
  if (length) check_not_negative(*length);
  const std::size_t first = skip_chars(s, 0, static_cast<std::size_t>(start) - 1);
  const std::size_t last = length ? skip_chars(s, first, static_cast<std::size_t>(*length)) : s.size();
  return std::string(s.substr(first, last - first));
}

std::string left(std::string_view s, std::int32_t length) {
  check_not_negative(length);
  return std::string(s.substr(0, skip_chars(s, 0, static_cast<std::size_t>(length))));
}

std::string right(std::string_view s, std::int32_t length) {
  check_not_negative(length);
  const std::size_t total = count_chars(s, 0, s.size());
  const auto keep = static_cast<std::size_t>(length);
  if (keep >= total) return std::string(s);
  return std::string(s.substr(skip_chars(s, 0, total - keep)));
}

std::int32_t instr(std::string_view s, std::string_view find, std::int32_t start) {
  if (start < 1) raise(kInvalidCall);
  if (s.empty()) return 0;
  const auto skipped = static_cast<std::size_t>(start) - 1;
  const std::size_t from = skip_chars(s, 0, skipped);
  if (from == s.size() && count_chars(s, 0, s.size()) < skipped) return 0;  // start > Len + 1
  if (find.empty()) return start;
  const auto found = find_from(s, find, Place{from, skipped});
  return found ? to_position(found->chars + 1) : 0;
}

std::string replace(std::string_view s, std::string_view find, std::string_view with) {
  if (find.empty()) return std::string(s);
  std::string out;
  out.reserve(s.size());
  Place at;
  while (const auto found = find_from(s, find, at)) {
    out.append(s.substr(at.byte, found->byte - at.byte)).append(with);
    at = Place{found->byte + find.size(), 0};  // the character count is not needed here
  }
  out.append(s.substr(at.byte));
  return out;
}

std::string trim(std::string_view s) { return rtrim(ltrim(s)); }

std::string ltrim(std::string_view s) {
  const std::size_t first = s.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string() : std::string(s.substr(first));
}

std::string rtrim(std::string_view s) {
  const std::size_t last = s.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string() : std::string(s.substr(0, last + 1));
}

VbArray<std::string> split(std::string_view s, std::string_view delimiter, std::int32_t limit) {
  if (limit < -1) raise(kInvalidCall);
  VbArray<std::string> pieces(0, -1);
  if (s.empty() || limit == 0) return pieces;
  Place at;
  while (limit < 0 || pieces.size() + 1 < limit) {
    const auto found = delimiter.empty() ? std::nullopt : find_from(s, delimiter, at);
    if (!found) break;
    pieces.append(std::string(s.substr(at.byte, found->byte - at.byte)));
    at = Place{found->byte + delimiter.size(), 0};  // the character count is not needed here
  }
  pieces.append(std::string(s.substr(at.byte)));
  return pieces;
}

namespace {

char32_t upper(char32_t c) noexcept {
  if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
  if (c == 0xFF) return 0x178;                              // ÿ Ÿ
  if (c == 0x161 || c == 0x153 || c == 0x17E) return c - 1;  // š œ ž
  return c;
}

char32_t lower(char32_t c) noexcept {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
  if (c == 0x178) return 0xFF;
  if (c == 0x160 || c == 0x152 || c == 0x17D) return c + 1;
  return c;
}

// A stray byte keeps being a stray byte: it changes to the byte of its
// character's other case, which Windows-1252 always has.
std::string map_case(std::string_view s, char32_t (*change)(char32_t) noexcept) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t pos = 0; pos < s.size();) {
    const Utf8Char c = decode_char(s, pos);
    if (c.well_formed) {
      append_utf8(out, change(c.code));
    } else {
      out.push_back(static_cast<char>(cp1252_byte(change(c.code)).value_or(static_cast<std::uint8_t>(s[pos]))));
    }
    pos += c.size;
  }
  return out;
}

}  // namespace

std::string ucase(std::string_view s) { return map_case(s, upper); }
std::string lcase(std::string_view s) { return map_case(s, lower); }

std::int32_t asc(std::string_view s) {
  if (s.empty()) raise(kInvalidCall);
  return cp1252_byte(decode_char(s, 0).code).value_or('?');
}

std::string chr(std::int32_t code) {
  if (code < 0 || code > 255) raise(kInvalidCall);
  std::string out;
  append_utf8(out, cp1252_char(static_cast<std::uint8_t>(code)));
  return out;
}

}  // namespace kestrel::core
