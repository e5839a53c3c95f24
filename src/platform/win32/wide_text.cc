#include "platform/win32/wide_text.h"

#include "core/utf8.h"

namespace kestrel::platform {

std::wstring widen(std::string_view utf8) {
  std::wstring out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const core::Utf8Char c = core::decode_char(utf8, pos);
    pos += c.size;
    if (c.code < 0x10000) {
      out.push_back(static_cast<wchar_t>(c.code));
    } else {
      const char32_t v = c.code - 0x10000;
      out.push_back(static_cast<wchar_t>(0xD800 + (v >> 10)));
      out.push_back(static_cast<wchar_t>(0xDC00 + (v & 0x3FF)));
    }
  }
  return out;
}

std::string narrow(std::wstring_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t c = static_cast<char16_t>(utf16[i]);
    const bool high = c >= 0xD800 && c <= 0xDBFF;
    if (high && i + 1 < utf16.size()) {
      const char32_t low = static_cast<char16_t>(utf16[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    core::append_utf8(out, c);  // a lone surrogate is written as U+FFFD
  }
  return out;
}

}  // namespace kestrel::platform
