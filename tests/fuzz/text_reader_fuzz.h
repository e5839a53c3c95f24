// The text-file readers' fuzz targets: any bytes give a result that passes
// the target's check, or a std::runtime_error with a short message a terminal
// shows as it is (valid UTF-8 without control characters); nothing else.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

#include "core/utf8.h"

namespace kestrel::fuzz {

// Aborts (a finding) unless `message` is short and safe to print.
inline void check_message(std::string_view message) {
  if (message.empty() || message.size() > 300 || !core::is_valid_utf8(message)) std::abort();
  for (std::size_t i = 0; i < message.size(); ++i) {
    const auto u = static_cast<unsigned char>(message[i]);
    if (u < 0x20 || u == 0x7F) std::abort();
    // C1 controls (U+0080 to U+009F) are 0xC2 followed by 0x80..0x9F.
    const auto next = i + 1 < message.size() ? static_cast<unsigned char>(message[i + 1]) : 0;
    if (u == 0xC2 && next >= 0x80 && next < 0xA0) std::abort();
  }
}

// Aborts unless `list` holds items 1..count, all finite.
template <class List>
void check_finite(const List& list, std::int32_t count) {
  if (list.lbound() != 1 || list.ubound() != count) std::abort();
  for (const double v : list.items()) {
    if (!std::isfinite(v)) std::abort();
  }
}

// Reads the fuzzer's bytes with `read` and hands what it gives to `check`.
template <class Read, class Check>
int read_or_explain(const std::uint8_t* data, std::size_t size, Read read, Check check) {
  try {
    check(read(std::string_view(reinterpret_cast<const char*>(data), size)));
  } catch (const std::runtime_error& e) {
    check_message(e.what());
  }
  return 0;
}

}  // namespace kestrel::fuzz
