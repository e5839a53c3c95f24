#include "cad/dxf/group_reader.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "core/error.h"

namespace kestrel::dxf {

namespace {

constexpr std::string_view kBinarySentinel = "AutoCAD Binary DXF";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view trim(std::string_view s) noexcept {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// Shown in messages: at most 40 bytes, control bytes as '?'.
std::string excerpt(std::string_view value) {
  std::string out(value.substr(0, 40));
  for (char& c : out) {
    if (static_cast<unsigned char>(c) < 0x20) c = '?';
  }
  return out;
}

}  // namespace

ValueType value_type(int code) noexcept {
  if (code >= 10 && code <= 59) return ValueType::kReal;
  if (code >= 110 && code <= 149) return ValueType::kReal;
  if (code >= 210 && code <= 239) return ValueType::kReal;
  if (code >= 460 && code <= 469) return ValueType::kReal;
  if (code >= 1010 && code <= 1059) return ValueType::kReal;
  if (code == 5 || code == 105 || (code >= 320 && code <= 369) || (code >= 390 && code <= 399)) {
    return ValueType::kHandle;
  }
  if (code >= 290 && code <= 299) return ValueType::kBool;
  if ((code >= 60 && code <= 99) || (code >= 160 && code <= 179) || (code >= 270 && code <= 289) ||
      (code >= 370 && code <= 389) || (code >= 400 && code <= 409) || (code >= 420 && code <= 429) ||
      (code >= 440 && code <= 459) || (code >= 1060 && code <= 1071)) {
    return ValueType::kInteger;
  }
  return ValueType::kString;
}

void raise_load_error(std::string_view file_name, std::size_t line, std::string_view what) {
  std::string d = "No se puede leer el archivo DXF «";
  d.append(file_name);
  d += "»";
  if (line != 0) {
    d += ", línea ";
    d += std::to_string(line);
  }
  d += ": ";
  d.append(what);
  throw core::Error(core::kAutomationError, "", std::move(d));
}

GroupReader::GroupReader(std::string_view text, std::string file_name)
    : text_(text), file_name_(std::move(file_name)) {
  if (text_.starts_with(kBinarySentinel)) {
    fail(0, "es un DXF binario; solo se leen archivos DXF de texto (ASCII)");
  }
  if (text_.starts_with(kByteOrderMark)) pos_ = kByteOrderMark.size();
}

bool GroupReader::read_line(std::string_view& line) noexcept {
  if (pos_ >= text_.size()) return false;
  const std::size_t end = text_.find('\n', pos_);
  const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
  line = text_.substr(pos_, stop - pos_);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  pos_ = end == std::string_view::npos ? text_.size() : end + 1;
  ++line_;
  return true;
}

bool GroupReader::next(Group& group) {
  if (has_peeked_) {
    has_peeked_ = false;
    group = peeked_;
    return true;
  }
  std::string_view code_line;
  if (!read_line(code_line)) return false;
  const std::size_t code_number = line_;
  const std::string_view code_text = trim(code_line);
  int code = 0;
  const auto [end, ec] = std::from_chars(code_text.data(), code_text.data() + code_text.size(), code);
  if (ec != std::errc() || end != code_text.data() + code_text.size() || code < -5 || code > 1071 ||
      code_text.empty()) {
    if (code_text.empty() && pos_ >= text_.size()) return false;  // a last empty line
    fail(code_number, "código de grupo no válido «" + excerpt(code_text) + "»");
  }
  std::string_view value;
  if (!read_line(value)) fail(code_number, "el archivo termina después de un código de grupo (archivo truncado)");
  group = Group{code, value, code_number};
  return true;
}

bool GroupReader::peek(Group& group) {
  if (!has_peeked_) {
    if (!next(peeked_)) return false;
    has_peeked_ = true;
  }
  group = peeked_;
  return true;
}

double GroupReader::real(const Group& group) const {
  std::string_view t = trim(group.value);
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  double v = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (ec == std::errc::result_out_of_range && end == t.data() + t.size()) {
    // Below the smallest double reads as 0; beyond the largest is an error.
    const std::string copy(t);
    v = std::strtod(copy.c_str(), nullptr);
    if (!std::isfinite(v)) fail(group.line + 1, "número fuera del intervalo de los reales «" + excerpt(t) + "»");
    return v;
  }
  if (ec != std::errc() || end != t.data() + t.size() || t.empty() || !std::isfinite(v)) {
    fail(group.line + 1, "se esperaba un número real tras el código " + std::to_string(group.code) + " y hay «" +
                             excerpt(group.value) + "»");
  }
  return v;
}

std::int64_t GroupReader::integer(const Group& group) const {
  std::string_view t = trim(group.value);
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  std::int64_t v = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (ec != std::errc() || end == t.data()) {
    fail(group.line + 1, "se esperaba un número entero tras el código " + std::to_string(group.code) + " y hay «" +
                             excerpt(group.value) + "»");
  }
  return v;
}

std::size_t GroupReader::count(const Group& group, std::size_t limit) const {
  const std::int64_t n = integer(group);
  if (n < 0) fail(group.line + 1, "cuenta negativa " + std::to_string(n));
  if (static_cast<std::uint64_t>(n) > limit) {
    fail(group.line + 1, "la cuenta " + std::to_string(n) + " excede los " + std::to_string(limit) +
                             " grupos que siguen en el registro");
  }
  return static_cast<std::size_t>(n);
}

std::uint64_t GroupReader::handle(const Group& group) const noexcept {
  const std::string_view t = trim(group.value);
  std::uint64_t v = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v, 16);
  if (ec != std::errc() || end != t.data() + t.size()) return 0;
  return v;
}

void GroupReader::fail(std::size_t line, std::string_view what) const { raise_load_error(file_name_, line, what); }

}  // namespace kestrel::dxf
