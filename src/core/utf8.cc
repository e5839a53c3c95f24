#include "core/utf8.h"

#include "core/cp1252.h"

namespace kestrel::core {

namespace {

constexpr bool is_continuation(unsigned char c) noexcept { return (c & 0xC0) == 0x80; }

// The range the second byte of a sequence must fall in, by lead byte; the
// narrow ranges exclude overlong forms, surrogates and code points past U+10FFFF.
struct LeadRule {
  std::uint8_t size;
  unsigned char second_min;
  unsigned char second_max;
};

constexpr LeadRule lead_rule(unsigned char lead) noexcept {
  if (lead >= 0xC2 && lead <= 0xDF) return {2, 0x80, 0xBF};
  if (lead == 0xE0) return {3, 0xA0, 0xBF};
  if (lead == 0xED) return {3, 0x80, 0x9F};
  if (lead >= 0xE1 && lead <= 0xEF) return {3, 0x80, 0xBF};
  if (lead == 0xF0) return {4, 0x90, 0xBF};
  if (lead >= 0xF1 && lead <= 0xF3) return {4, 0x80, 0xBF};
  if (lead == 0xF4) return {4, 0x80, 0x8F};
  return {0, 0, 0};
}

Utf8Char stray_byte(unsigned char byte) noexcept { return {cp1252_char(byte), 1, false}; }

}  // namespace

Utf8Char decode_char(std::string_view text, std::size_t pos) noexcept {
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x80) return {lead, 1, true};
  const LeadRule rule = lead_rule(lead);
  if (rule.size == 0 || text.size() - pos < rule.size) return stray_byte(lead);
  const auto second = static_cast<unsigned char>(text[pos + 1]);
  if (second < rule.second_min || second > rule.second_max) return stray_byte(lead);
  char32_t code = lead & (0xFF >> (rule.size + 1));
  code = (code << 6) | (second & 0x3F);
  for (std::size_t i = 2; i < rule.size; ++i) {
    const auto c = static_cast<unsigned char>(text[pos + i]);
    if (!is_continuation(c)) return stray_byte(lead);
    code = (code << 6) | (c & 0x3F);
  }
  return {code, rule.size, true};
}

bool is_valid_utf8(std::string_view text) noexcept {
  for (std::size_t pos = 0; pos < text.size();) {
    if (static_cast<unsigned char>(text[pos]) < 0x80) {
      ++pos;
      continue;
    }
    const Utf8Char c = decode_char(text, pos);
    if (!c.well_formed) return false;
    pos += c.size;
  }
  return true;
}

std::string to_valid_utf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const Utf8Char c = decode_char(text, pos);
    if (c.well_formed) {
      out.append(text.substr(pos, c.size));
    } else {
      append_utf8(out, c.code);
    }
    pos += c.size;
  }
  return out;
}

void append_utf8(std::string& out, char32_t code) {
  if ((code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) code = 0xFFFD;
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

std::size_t skip_chars(std::string_view text, std::size_t from, std::size_t count) noexcept {
  std::size_t pos = from;
  for (; count > 0 && pos < text.size(); --count) {
    pos += char_size(text, pos);
  }
  return pos < text.size() ? pos : text.size();
}

std::size_t count_chars(std::string_view text, std::size_t from, std::size_t to) noexcept {
  if (to > text.size()) to = text.size();
  std::size_t n = 0;
  for (std::size_t pos = from; pos < to; ++n) pos += char_size(text, pos);
  return n;
}

}  // namespace kestrel::core
