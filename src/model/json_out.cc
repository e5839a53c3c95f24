#include "model/json_out.h"

#include <charconv>
#include <cmath>

#include "core/error.h"

namespace kestrel::model::json_detail {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

bool is_continuation(unsigned char c) { return (c & 0xC0u) == 0x80u; }

}  // namespace

JsonOut::JsonOut(core::ByteSink* sink) : sink_(sink) {
  if (sink_ != nullptr) buffer_.reserve(kChunk + kChunk / 4);
}

void JsonOut::newline(int depth) {
  buffer_.push_back('\n');
  buffer_.append(static_cast<std::size_t>(depth) * 2, ' ');
}

void JsonOut::integer(std::int64_t value) {
  char text[24];
  const auto result = std::to_chars(text, text + sizeof text, value);
  buffer_.append(text, result.ptr);
}

void JsonOut::number(double value) {
  if (std::isnan(value)) return put("\"NaN\"");
  if (std::isinf(value)) return put(value > 0 ? "\"Infinity\"" : "\"-Infinity\"");
  if (value == 0 && std::signbit(value)) return put("-0.0");
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  buffer_.append(text, result.ptr);
}

std::size_t utf8_sequence_length(std::string_view text, std::size_t i) noexcept {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // range of the second byte
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF)
    length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (i + length > text.size() || byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k) {
    if (!is_continuation(byte(i + k))) return 0;
  }
  return length;
}

void JsonOut::string(std::string_view text, const PathNode& at) {
  buffer_.push_back('"');
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      const std::size_t length = utf8_sequence_length(text, i);
      if (length == 0) fail(core::kInvalidCall, at, "el texto no es UTF-8 válido");
      buffer_.append(text.substr(i, length));
      i += length;
      continue;
    }
    switch (c) {
      case '"':
        put("\\\"");
        break;
      case '\\':
        put("\\\\");
        break;
      case '\b':
        put("\\b");
        break;
      case '\f':
        put("\\f");
        break;
      case '\n':
        put("\\n");
        break;
      case '\r':
        put("\\r");
        break;
      case '\t':
        put("\\t");
        break;
      default:
        if (c < 0x20) {
          put("\\u00");
          put(kHexDigits[c >> 4]);
          put(kHexDigits[c & 0xF]);
        } else {
          put(static_cast<char>(c));
        }
    }
    ++i;
  }
  buffer_.push_back('"');
}

void JsonOut::hex(std::span<const std::byte> bytes) {
  buffer_.push_back('"');
  for (const std::byte b : bytes) {
    const auto v = std::to_integer<unsigned>(b);
    buffer_.push_back(kHexDigits[v >> 4]);
    buffer_.push_back(kHexDigits[v & 0xF]);
  }
  buffer_.push_back('"');
}

void JsonOut::flush() {
  if (sink_ == nullptr) return;
  sink_->write(buffer_);
  buffer_.clear();
}

}  // namespace kestrel::model::json_detail
