// ByteSink: where a writer's bytes go, in order — a file being written
// safely, a string, a standard stream. Writers (DXF, record files) know
// nothing of files; the caller picks the sink.
#pragma once

#include <string>
#include <string_view>

namespace kestrel::core {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Appends `bytes`. Throws core::Error when they cannot be written.
  virtual void write(std::string_view bytes) = 0;
};

// Bytes kept in memory (tests, previews, small documents).
class StringSink final : public ByteSink {
 public:
  void write(std::string_view bytes) override { text_.append(bytes); }
  [[nodiscard]] std::string& text() noexcept { return text_; }

 private:
  std::string text_;
};

}  // namespace kestrel::core
