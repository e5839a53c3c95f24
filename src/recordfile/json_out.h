// JsonOut: a small streaming JSON text builder for the record files. It
// writes straight into a buffer (numbers with std::to_chars, the shortest
// text that reads back to the same double) and, given a byte sink, hands
// the buffer over whenever it fills, so a large drawing is written without
// holding its text. Nothing is allocated per value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/byte_sink.h"
#include "recordfile/json_limits.h"
#include "recordfile/record_path.h"

namespace kestrel::model::json_detail {

class JsonOut {
 public:
  // With no sink everything stays in the buffer (see take()). A text longer
  // than `max_bytes` raises error 5 before anything beyond it is written.
  explicit JsonOut(core::ByteSink* sink = nullptr, std::size_t max_bytes = kMaxDocumentBytes);

  void put(char c) {
    room(1);
    *end_++ = c;
  }
  void put(std::string_view text) {
    room(text.size());
    text.copy(end_, text.size());
    end_ += text.size();
  }
  // A line break and two blanks per level.
  void newline(int depth);
  void integer(std::int64_t value);
  // The shortest text that reads back to `value` ("-0.0" for negative zero,
  // which would otherwise read back as the integer 0). NaN and the
  // infinities have no JSON text: they raise error 5 naming `at`.
  void number(double value, const PathNode& at);
  // A quoted, escaped string; text that is not valid UTF-8 raises error 5
  // naming `at`.
  void string(std::string_view text, const PathNode& at);
  // Lowercase hexadecimal digits in a quoted string.
  void hex(std::span<const std::byte> bytes);

  // Hands everything written so far to the sink.
  void flush();
  // Everything written (without a sink).
  [[nodiscard]] std::string take();

 private:
  // Makes room for `size` more bytes: hands a full buffer to the sink, or
  // grows it (amortised) when there is no sink or the piece is larger.
  void room(std::size_t size) {
    if (static_cast<std::size_t>(limit_ - end_) < size) make_room(size);
  }
  void make_room(std::size_t size);
  // Error 5 when the text has grown beyond max_bytes_.
  void check_length() const;

  static constexpr std::size_t kChunk = std::size_t{1} << 20;
  core::ByteSink* sink_;
  std::size_t max_bytes_;
  std::size_t flushed_ = 0;  // bytes handed to the sink
  std::string buffer_;  // its size is the capacity in use; the text ends at end_
  char* end_;
  char* limit_;
};

// Length of the valid UTF-8 sequence starting at text[i], or 0 when the bytes
// there are not one.
[[nodiscard]] std::size_t utf8_sequence_length(std::string_view text, std::size_t i) noexcept;

}  // namespace kestrel::model::json_detail
