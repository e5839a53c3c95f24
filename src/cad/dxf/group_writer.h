// The group writer: dxflib's DL_Writer interface (so dxflib's section and
// table helpers write through it) over a large buffer flushed to a
// core::ByteSink. Numbers use number_text.h; text is encoded with text_codec.h.
// Group codes are right-aligned in three columns, as CAD programs write them.
#pragma once

#include <dl_writer.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/byte_sink.h"

namespace kestrel::dxf {

class GroupWriter final : public DL_Writer {
 public:
  explicit GroupWriter(core::ByteSink& output);
  ~GroupWriter() override = default;
  GroupWriter(const GroupWriter&) = delete;
  GroupWriter& operator=(const GroupWriter&) = delete;

  // DL_Writer's group interface (const there; the buffer is mutable).
  void dxfReal(int code, double value) const override;
  void dxfInt(int code, int value) const override;
  void dxfHex(int code, int value) const override;
  void dxfString(int code, const char* value) const override;
  void dxfString(int code, const std::string& value) const override;

  // A NaN or infinite value has no DXF text: real() and degrees() raise an
  // automation error naming the group code, so that the save fails.
  void real(int code, double value) const;
  // Radians written in degrees.
  void degrees(int code, double radians) const;
  // Raises the error real() would raise for `value`, so that a caller can
  // check a value before writing the groups that lead to it.
  static void require_finite(int code, double value);
  void integer(int code, std::int64_t value) const;
  void hex(int code, std::uint64_t value) const;
  // A value written as it is (ASCII names, class markers).
  void raw(int code, std::string_view value) const;
  // UTF-8 text, encoded for the file.
  void text(int code, std::string_view utf8) const;
  // x, y, z under codes `code`, `code` + 10, `code` + 20.
  void point(int code, double x, double y, double z) const;
  void point2(int code, double x, double y) const;

  // Writes out what the buffer holds.
  void flush() const;

 private:
  // Room for one more group whose value takes at most `value_size` bytes.
  [[nodiscard]] char* reserve(std::size_t value_size) const;
  [[nodiscard]] static char* put_code(char* out, int code) noexcept;

  core::ByteSink& output_;
  std::unique_ptr<char[]> buffer_;
  mutable char* end_;
  mutable std::string scratch_;
};

}  // namespace kestrel::dxf
