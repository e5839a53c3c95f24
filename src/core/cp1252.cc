#include "core/cp1252.h"

#include <array>

#include "core/error.h"
#include "core/utf8.h"

namespace kestrel::core {

namespace {

// Characters of bytes 0x80-0x9F; every other byte is its own code point.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

}  // namespace

char32_t cp1252_char(std::uint8_t byte) noexcept {
  return byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : byte;
}

std::optional<std::uint8_t> cp1252_byte(char32_t code) noexcept {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<std::uint8_t>(code);
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == code) return static_cast<std::uint8_t>(0x80 + i);
  }
  return std::nullopt;
}

std::string to_cp1252(std::string_view utf8, Unrepresentable policy) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const Utf8Char c = decode_char(utf8, pos);
    if (!c.well_formed) {
      out.push_back(utf8[pos]);
    } else if (const auto byte = cp1252_byte(c.code)) {
      out.push_back(static_cast<char>(*byte));
    } else if (policy == Unrepresentable::kQuestionMark) {
      out.push_back('?');
    } else {
      raise(kInvalidCall);
    }
    pos += c.size;
  }
  return out;
}

std::string from_cp1252(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 4);
  for (char b : bytes) append_utf8(out, cp1252_char(static_cast<std::uint8_t>(b)));
  return out;
}

}  // namespace kestrel::core
