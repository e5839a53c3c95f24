#include "cad/dxf/group_writer.h"

#include <cmath>
#include <cstring>
#include <string>

#include "cad/dxf/number_text.h"
#include "cad/dxf/text_codec.h"
#include "core/error.h"

namespace kestrel::dxf {

namespace {

constexpr std::size_t kBufferSize = std::size_t{1} << 20;
// The widest code ("1071") with its line end, and the value's line end.
constexpr std::size_t kGroupOverhead = 6;

[[noreturn]] void refuse_non_finite(int code, double value) {
  std::string d = "No se puede guardar el dibujo DXF: número no finito (";
  d += std::isnan(value) ? "NaN" : value > 0 ? "+infinito" : "-infinito";
  d += ") para el código de grupo ";
  d += std::to_string(code);
  throw core::Error(core::kAutomationError, "", std::move(d));
}

}  // namespace

GroupWriter::GroupWriter(core::ByteSink& output)
    : DL_Writer(DL_VERSION_2000), output_(output), buffer_(new char[kBufferSize]), end_(buffer_.get()) {}

char* GroupWriter::reserve(std::size_t value_size) const {
  if (static_cast<std::size_t>(end_ - buffer_.get()) + value_size + kGroupOverhead > kBufferSize) flush();
  return end_;
}

void GroupWriter::flush() const {
  if (end_ == buffer_.get()) return;
  output_.write(std::string_view(buffer_.get(), static_cast<std::size_t>(end_ - buffer_.get())));
  end_ = buffer_.get();
}

char* GroupWriter::put_code(char* out, int code) noexcept {
  if (code < 10) {
    *out++ = ' ';
    *out++ = ' ';
  } else if (code < 100) {
    *out++ = ' ';
  }
  out = format_integer(out, code);
  *out++ = '\n';
  return out;
}

void GroupWriter::require_finite(int code, double value) {
  if (!std::isfinite(value)) refuse_non_finite(code, value);
}

// The code goes into the buffer first, but end_ only moves once the value is
// written: a refused value leaves nothing of its group behind.
void GroupWriter::real(int code, double value) const {
  char* out = format_real(put_code(reserve(kNumberTextSize), code), value);
  if (out == nullptr) refuse_non_finite(code, value);
  *out++ = '\n';
  end_ = out;
}

void GroupWriter::degrees(int code, double radians) const {
  char* out = format_degrees(put_code(reserve(kNumberTextSize), code), radians);
  if (out == nullptr) refuse_non_finite(code, radians_to_degrees(radians));
  *out++ = '\n';
  end_ = out;
}

void GroupWriter::integer(int code, std::int64_t value) const {
  char* out = put_code(reserve(kNumberTextSize), code);
  out = format_integer(out, value);
  *out++ = '\n';
  end_ = out;
}

void GroupWriter::hex(int code, std::uint64_t value) const {
  char* out = put_code(reserve(kNumberTextSize), code);
  out = format_hex(out, value);
  *out++ = '\n';
  end_ = out;
}

void GroupWriter::raw(int code, std::string_view value) const {
  if (value.size() + kGroupOverhead > kBufferSize) {
    flush();
    char head[kGroupOverhead];
    output_.write(std::string_view(head, static_cast<std::size_t>(put_code(head, code) - head)));
    output_.write(value);
    output_.write("\n");
    return;
  }
  char* out = put_code(reserve(value.size()), code);
  std::memcpy(out, value.data(), value.size());
  out += value.size();
  *out++ = '\n';
  end_ = out;
}

void GroupWriter::text(int code, std::string_view utf8) const {
  scratch_.clear();
  encode_text(utf8, scratch_);
  raw(code, scratch_);
}

void GroupWriter::point(int code, double x, double y, double z) const {
  real(code, x);
  real(code + 10, y);
  real(code + 20, z);
}

void GroupWriter::point2(int code, double x, double y) const {
  real(code, x);
  real(code + 10, y);
}

void GroupWriter::dxfReal(int code, double value) const { real(code, value); }
void GroupWriter::dxfInt(int code, int value) const { integer(code, value); }
void GroupWriter::dxfHex(int code, int value) const { hex(code, static_cast<std::uint32_t>(value)); }
void GroupWriter::dxfString(int code, const char* value) const { raw(code, value); }
void GroupWriter::dxfString(int code, const std::string& value) const { raw(code, value); }

}  // namespace kestrel::dxf
