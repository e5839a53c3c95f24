#include "cad/dxf/text_codec.h"

#include <charconv>
#include <cstdint>

#include "core/cp1252.h"
#include "core/utf8.h"

namespace kestrel::dxf {

namespace {

constexpr char32_t kHighSurrogateFirst = 0xD800;
constexpr char32_t kLowSurrogateFirst = 0xDC00;
constexpr char32_t kSurrogateEnd = 0xE000;

bool iequals(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// The release number of "AC1021" (1021); 0 when unreadable.
int release_number(std::string_view version) noexcept {
  if (version.size() < 3 || (version[0] != 'A' && version[0] != 'a')) return 0;
  int n = 0;
  std::from_chars(version.data() + 2, version.data() + version.size(), n);
  return n;
}

void append_escape(std::string& out, char32_t unit) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += "\\U+";
  for (int shift = 12; shift >= 0; shift -= 4) out.push_back(kHex[(unit >> shift) & 0xF]);
}

void encode_char(char32_t c, std::string& out) {
  if (c < 0x20) {
    out.push_back('^');
    out.push_back(static_cast<char>(c + 0x40));
  } else if (c == '^') {
    out += "^ ";
  } else if (const auto byte = core::cp1252_byte(c)) {
    out.push_back(static_cast<char>(*byte));
  } else if (c >= 0x10000) {
    const char32_t v = c - 0x10000;
    append_escape(out, kHighSurrogateFirst + (v >> 10));
    append_escape(out, kLowSurrogateFirst + (v & 0x3FF));
  } else {
    append_escape(out, c);
  }
}

bool needs_unescaping(std::string_view s) noexcept {
  for (char c : s) {
    if (c == '\\' || c == '^') return true;
  }
  return false;
}

bool is_ascii(std::string_view s) noexcept {
  for (char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// The UTF-16 unit of "\U+XXXX" at `pos`, or -1.
long escape_at(std::string_view s, std::size_t pos) noexcept {
  if (s.size() - pos < 7 || s[pos + 1] != 'U' || s[pos + 2] != '+') return -1;
  unsigned v = 0;
  const char* first = s.data() + pos + 3;
  const auto [end, ec] = std::from_chars(first, first + 4, v, 16);
  return ec == std::errc() && end == first + 4 ? static_cast<long>(v) : -1;
}

// Replaces \U+XXXX escapes and caret pairs in UTF-8 text.
std::string unescape(std::string_view s, bool mtext) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '^' && i + 1 < s.size()) {
      const char n = s[i + 1];
      if (n == ' ') {
        out.push_back('^');
        ++i;
        continue;
      }
      if (n >= '@' && n <= '_') {
        out.push_back(static_cast<char>(n - 0x40));
        ++i;
        continue;
      }
    } else if (c == '\\' && mtext && i + 1 < s.size() && s[i + 1] == '\\') {
      out += "\\\\";
      ++i;
      continue;
    } else if (c == '\\') {
      const long unit = escape_at(s, i);
      if (unit >= 0) {
        char32_t code = static_cast<char32_t>(unit);
        std::size_t used = 7;
        if (code >= kHighSurrogateFirst && code < kLowSurrogateFirst) {
          const long low = i + 7 < s.size() && s[i + 7] == '\\' ? escape_at(s, i + 7) : -1;
          if (low >= static_cast<long>(kLowSurrogateFirst) && low < static_cast<long>(kSurrogateEnd)) {
            code = 0x10000 + ((code - kHighSurrogateFirst) << 10) + (static_cast<char32_t>(low) - kLowSurrogateFirst);
            used = 14;
          }
        }
        core::append_utf8(out, code);
        i += used - 1;
        continue;
      }
    }
    out.push_back(c);
  }
  return out;
}

}  // namespace

FileEncoding file_encoding(std::string_view acad_version, std::string_view code_page, bool& known) {
  known = true;
  if (release_number(acad_version) >= 1021) return FileEncoding::kUtf8;
  if (code_page.empty() || iequals(code_page, "ANSI_1252")) return FileEncoding::kWindows1252;
  if (iequals(code_page, "UTF-8") || iequals(code_page, "UTF8") || iequals(code_page, "ANSI_65001")) {
    return FileEncoding::kUtf8;
  }
  known = false;
  return FileEncoding::kWindows1252;
}

void encode_text(std::string_view utf8, std::string& out) {
  for (std::size_t pos = 0; pos < utf8.size();) {
    const auto byte = static_cast<unsigned char>(utf8[pos]);
    if (byte >= 0x20 && byte < 0x80 && byte != '^') {
      out.push_back(static_cast<char>(byte));
      ++pos;
      continue;
    }
    const core::Utf8Char c = core::decode_char(utf8, pos);
    if (c.well_formed) {
      encode_char(c.code, out);
    } else {
      out.push_back(utf8[pos]);
    }
    pos += c.size;
  }
}

// Real Windows-1252 text almost never forms multi-byte UTF-8 sequences, so a
// file whose bytes are all well-formed UTF-8 was written as UTF-8.
void TextDecoder::settle() {
  if (file_is_utf8_()) {
    encoding_ = FileEncoding::kUtf8;
    switched_ = true;
  }
  file_is_utf8_ = nullptr;
}

std::string TextDecoder::decode(std::string_view bytes, bool mtext) {
  if (is_ascii(bytes)) {
    return needs_unescaping(bytes) ? unescape(bytes, mtext) : std::string(bytes);
  }
  if (file_is_utf8_) settle();
  std::string text;
  if (encoding_ == FileEncoding::kUtf8 && core::is_valid_utf8(bytes)) {
    text.assign(bytes);
  } else {
    if (encoding_ == FileEncoding::kUtf8) ++fallbacks_;
    text = core::from_cp1252(bytes);
  }
  return needs_unescaping(text) ? unescape(text, mtext) : text;
}

}  // namespace kestrel::dxf
