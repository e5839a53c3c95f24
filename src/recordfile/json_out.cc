#include "recordfile/json_out.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

#include "core/error.h"

namespace kestrel::model::json_detail {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

bool is_continuation(unsigned char c) { return (c & 0xC0u) == 0x80u; }

// The escape for an ASCII byte that cannot stand for itself in a JSON
// string, or an empty view.
std::string_view escape_of(unsigned char c, char (&unicode)[6]) {
  switch (c) {
    case '"': return "\\\"";
    case '\\': return "\\\\";
    case '\b': return "\\b";
    case '\f': return "\\f";
    case '\n': return "\\n";
    case '\r': return "\\r";
    case '\t': return "\\t";
    default:
      if (c >= 0x20) return {};
      unicode[4] = kHexDigits[c >> 4];
      unicode[5] = kHexDigits[c & 0xF];
      return {unicode, 6};
  }
}

// Survey values mostly stop at millimetres, and std::to_chars is the
// writer's main cost. A value below 1e8 whose nearest multiple of 10^-d
// (d = 3, then 7) reads back as the value is that decimal: there doubles lie
// closer together than 10^-7, so no other decimal of at most 7 places reads
// back as it, and without trailing zeros it has the digits to_chars picks.
// to_chars then writes plain or exponent notation, whichever is shorter
// (plain on a tie); the exponent cases are left to it.
constexpr double kFastLimit = 1e8;
constexpr double kRoundingBias = 4503599627370496.0;  // 2^52: adding and taking it away rounds to a whole number

// magnitude * unit as a whole number, when that decimal reads back as magnitude.
bool as_decimal(double magnitude, double unit, std::uint64_t& scaled) {
  const double s = (magnitude * unit + kRoundingBias) - kRoundingBias;
  if (s / unit != magnitude) return false;
  scaled = static_cast<std::uint64_t>(s);
  return true;
}

int digit_count(std::uint64_t n) {
  int count = 1;
  for (; n >= 10; n /= 10) ++count;
  return count;
}

int trailing_zeros(std::uint64_t n) {
  int count = 0;
  for (; n != 0 && n % 10 == 0; n /= 10) ++count;
  return count;
}

// The text std::to_chars writes for `value` (finite, not -0), or nullptr
// when the fast way does not apply.
char* write_plain_decimal(char* out, double value) {
  const double magnitude = std::fabs(value);
  if (!(magnitude < kFastLimit)) return nullptr;
  std::uint64_t scaled = 0;
  int places = 3;
  if (!as_decimal(magnitude, 1e3, scaled)) {
    places = 7;
    if (!as_decimal(magnitude, 1e7, scaled)) return nullptr;
  }
  const std::uint64_t unit = places == 3 ? 1'000 : 10'000'000;
  const std::uint64_t whole = scaled / unit;
  std::uint64_t fraction = scaled % unit;
  for (; places > 0 && fraction % 10 == 0; --places) fraction /= 10;
  const int whole_digits = digit_count(whole);
  const int plain = whole_digits + (places > 0 ? 1 + places : 0);
  const int significant =
      whole > 0 ? (places > 0 ? whole_digits + places : whole_digits - trailing_zeros(whole)) : digit_count(fraction);
  const int exponent_form = significant + (significant > 1 ? 1 : 0) + 4;  // "e-07": |exponent| < 10 here
  if (exponent_form < plain) return nullptr;
  if (value < 0) *out++ = '-';
  out = std::to_chars(out, out + 20, whole).ptr;
  if (places == 0) return out;
  *out++ = '.';
  for (int i = places - 1; i >= 0; --i, fraction /= 10) out[i] = static_cast<char>('0' + fraction % 10);
  return out + places;
}

}  // namespace

JsonOut::JsonOut(core::ByteSink* sink, std::size_t max_bytes) : sink_(sink), max_bytes_(max_bytes) {
  // A small document (a test, one drawing) should not pay for a chunk.
  buffer_.resize(sink_ != nullptr ? kChunk : kChunk / 64);
  end_ = buffer_.data();
  limit_ = end_ + buffer_.size();
}

void JsonOut::make_room(std::size_t size) {
  if (sink_ != nullptr) {
    flush();
    if (static_cast<std::size_t>(limit_ - end_) >= size) return;
  }
  const auto used = static_cast<std::size_t>(end_ - buffer_.data());
  check_length();
  buffer_.resize(std::max(2 * buffer_.size(), used + size));
  end_ = buffer_.data() + used;
  limit_ = buffer_.data() + buffer_.size();
}

void JsonOut::newline(int depth) {
  const auto blanks = static_cast<std::size_t>(depth) * 2;
  room(1 + blanks);
  *end_++ = '\n';
  std::memset(end_, ' ', blanks);
  end_ += blanks;
}

void JsonOut::integer(std::int64_t value) {
  room(20);
  end_ = std::to_chars(end_, limit_, value).ptr;
}

void JsonOut::number(double value, const PathNode& at) {
  if (!std::isfinite(value)) {
    const char* shown = std::isnan(value) ? "NaN" : value > 0 ? "Infinity" : "-Infinity";
    fail(core::kInvalidCall, at, std::string("no se puede escribir un número no finito (") + shown + ")");
  }
  if (value == 0 && std::signbit(value)) return put("-0.0");
  room(32);
  char* const end = write_plain_decimal(end_, value);
  end_ = end != nullptr ? end : std::to_chars(end_, limit_, value).ptr;
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
  put('"');
  char unicode[6] = {'\\', 'u', '0', '0', '0', '0'};
  std::size_t run = 0;  // start of the bytes not yet written
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      const std::size_t length = utf8_sequence_length(text, i);
      if (length == 0) fail(core::kInvalidCall, at, "el texto no es UTF-8 válido");
      i += length;
      continue;
    }
    const std::string_view escape = escape_of(c, unicode);
    if (!escape.empty()) {
      put(text.substr(run, i - run));
      put(escape);
      run = i + 1;
    }
    ++i;
  }
  put(text.substr(run));
  put('"');
}

void JsonOut::hex(std::span<const std::byte> bytes) {
  room(2 * bytes.size() + 2);
  *end_++ = '"';
  for (const std::byte b : bytes) {
    const auto v = std::to_integer<unsigned>(b);
    *end_++ = kHexDigits[v >> 4];
    *end_++ = kHexDigits[v & 0xF];
  }
  *end_++ = '"';
}

void JsonOut::check_length() const {
  const std::size_t length = flushed_ + static_cast<std::size_t>(end_ - buffer_.data());
  if (length <= max_bytes_) return;
  throw core::Error(core::kInvalidCall, core::kRuntimeSource,
                    "JSON demasiado grande: el documento pasa de " + std::to_string(max_bytes_) + " bytes");
}

void JsonOut::flush() {
  if (sink_ == nullptr || end_ == buffer_.data()) return;
  check_length();
  const std::string_view bytes(buffer_.data(), static_cast<std::size_t>(end_ - buffer_.data()));
  sink_->write(bytes);
  flushed_ += bytes.size();
  end_ = buffer_.data();
}

std::string JsonOut::take() {
  check_length();
  buffer_.resize(static_cast<std::size_t>(end_ - buffer_.data()));
  std::string text = std::move(buffer_);
  buffer_ = std::string();
  end_ = limit_ = buffer_.data();
  return text;
}

}  // namespace kestrel::model::json_detail
