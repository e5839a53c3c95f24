// JsonOut: a small streaming JSON text builder for the record files. It
// appends to a buffer and hands full chunks to a byte sink, so a large
// drawing is written without holding a document tree. Numbers are written
// with std::to_chars (shortest text that reads back to the same double).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/byte_sink.h"
#include "model/record_path.h"

namespace kestrel::model::json_detail {

class JsonOut {
 public:
  // With no sink everything stays in the buffer (see take()).
  explicit JsonOut(core::ByteSink* sink = nullptr);

  void put(char c) { buffer_.push_back(c); }
  void put(std::string_view text) { buffer_.append(text); }
  // A line break and two blanks per level.
  void newline(int depth);
  void integer(std::int64_t value);
  // Finite values as shortest round-trip numbers ("-0.0" for negative zero,
  // which would otherwise read back as the integer 0); NaN and the
  // infinities as the strings "NaN", "Infinity", "-Infinity".
  void number(double value);
  // A quoted, escaped string; text that is not valid UTF-8 raises error 5
  // naming `at`.
  void string(std::string_view text, const PathNode& at);
  // Lowercase hexadecimal digits in a quoted string.
  void hex(std::span<const std::byte> bytes);

  // Hands the buffer to the sink when it has grown past a chunk.
  void flush_if_full() {
    if (sink_ != nullptr && buffer_.size() >= kChunk) flush();
  }
  // Hands everything to the sink.
  void flush();
  [[nodiscard]] std::string take() { return std::move(buffer_); }

 private:
  static constexpr std::size_t kChunk = std::size_t{1} << 20;
  core::ByteSink* sink_;
  std::string buffer_;
};

// Length of the valid UTF-8 sequence starting at text[i], or 0 when the bytes
// there are not one.
[[nodiscard]] std::size_t utf8_sequence_length(std::string_view text, std::size_t i) noexcept;

}  // namespace kestrel::model::json_detail
