#include "cad/dxf/group_reader.h"

#include <array>
#include <bit>
#include <charconv>
#include <cstring>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>

#include "core/error.h"

namespace kestrel::dxf {

namespace {

constexpr std::string_view kBinarySentinel = "AutoCAD Binary DXF";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Shown in messages: at most 40 bytes, control bytes as '?'.
std::string excerpt(std::string_view value) {
  std::string out(value.substr(0, 40));
  for (char& c : out) {
    if (static_cast<unsigned char>(c) < 0x20) c = '?';
  }
  return out;
}

constexpr std::array<double, 23> kPowersOfTen = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// "[-]digits[.digits]" with at most 15 digits, as files mostly hold: the
// digits make an exact whole number and the power of ten is exact, so one
// division gives the correctly rounded value (what strtod gives). Anything
// else is left to std::from_chars.
std::optional<double> simple_decimal(std::string_view t) noexcept {
  const char* p = t.data();
  const char* const end = p + t.size();
  const bool negative = p != end && *p == '-';
  if (negative) ++p;
  const char* const start = p;
  std::uint64_t digits = 0;
  const auto take_digits = [&] {
    for (; p != end && static_cast<unsigned>(*p - '0') < 10; ++p) digits = digits * 10 + static_cast<unsigned>(*p - '0');
  };
  take_digits();
  const char* const point = p;
  std::size_t decimals = 0;
  if (p != end && *p == '.') {
    ++p;
    take_digits();
    decimals = static_cast<std::size_t>(p - point - 1);
  }
  const auto count = static_cast<std::size_t>(p - start) - (point != p ? 1 : 0);
  if (p != end || count == 0 || count > 15) return std::nullopt;
  const double v = static_cast<double>(digits) / kPowersOfTen[decimals];
  return negative ? -v : v;
}

// A line without the carriage return before its line feed.
std::string_view without_carriage_return(std::string_view line) noexcept {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

// A group code: blanks around at most four digits with an optional minus.
std::optional<int> group_code(std::string_view line) noexcept {
  // Most code lines are a few digits after blanks: read those in one pass.
  std::size_t at = 0;
  while (at < line.size() && line[at] == ' ') ++at;
  if (const std::size_t digits = line.size() - at; digits > 0 && digits <= 5) {
    int code = 0;
    for (; at < line.size() && static_cast<unsigned>(line[at] - '0') < 10; ++at) code = code * 10 + (line[at] - '0');
    if (at == line.size()) return code <= 1071 ? std::optional<int>(code) : std::nullopt;
  }
  const std::string_view t = trimmed(line);
  if (t.empty() || t.size() > 5) return std::nullopt;
  const bool negative = t.front() == '-';
  int code = 0;
  for (std::size_t i = negative ? 1 : 0; i < t.size(); ++i) {
    if (t[i] < '0' || t[i] > '9') return std::nullopt;
    code = code * 10 + (t[i] - '0');
  }
  if (negative) code = -code;
  if ((negative && t.size() == 1) || code < -5 || code > 1071) return std::nullopt;
  return code;
}

}  // namespace

std::string_view trimmed(std::string_view s) noexcept {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
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
  check_start();
}

GroupReader::GroupReader(std::istream& in, std::string file_name, std::size_t window)
    : file_name_(std::move(file_name)),
      in_(&in),
      window_(std::make_unique_for_overwrite<char[]>(window)),
      capacity_(window) {
  text_ = std::string_view(window_.get(), 0);
  while (text_.size() < kBinarySentinel.size() && refill()) {
  }
  check_start();
}

void GroupReader::check_start() {
  if (text_.starts_with(kBinarySentinel)) {
    fail(0, "es un DXF binario; solo se leen archivos DXF de texto (ASCII)");
  }
  if (text_.starts_with(kByteOrderMark)) pos_ = kByteOrderMark.size();
}

// Appends what the stream holds next to the window. A full window moves the
// part still in use (from kept_from_) to a new one, twice as large when that
// part fills more than half of it; the old window stays alive until
// release(), so that views into it stay valid.
bool GroupReader::refill() {
  if (!in_ || !*in_) return false;
  std::size_t size = text_.size();
  if (size == capacity_) {
    const std::size_t live = size - kept_from_;
    const std::size_t capacity = live > capacity_ / 2 ? 2 * capacity_ : capacity_;
    auto fresh = std::make_unique_for_overwrite<char[]>(capacity);
    std::memcpy(fresh.get(), text_.data() + kept_from_, live);
    retired_.push_back(std::move(window_));
    window_ = std::move(fresh);
    capacity_ = capacity;
    pos_ -= kept_from_;
    kept_from_ = 0;
    size = live;
  }
  in_->read(window_.get() + size, static_cast<std::streamsize>(capacity_ - size));
  const auto got = static_cast<std::size_t>(in_->gcount());
  if (in_->bad()) fail(line_, "error de lectura del archivo");
  text_ = std::string_view(window_.get(), size + got);
  return got > 0;
}

bool GroupReader::exhausted() {
  while (pos_ >= text_.size()) {
    if (!refill()) return true;
  }
  return false;
}

void GroupReader::release() noexcept {
  retired_.clear();
  if (!in_) return;
  const std::size_t keep = has_peeked_ ? peeked_at_ : pos_;
  if (keep > capacity_ / 2) {
    const std::size_t live = text_.size() - keep;
    std::memmove(window_.get(), window_.get() + keep, live);
    text_ = std::string_view(window_.get(), live);
    pos_ -= keep;
    if (has_peeked_) {
      peeked_.value = std::string_view(peeked_.value.data() - keep, peeked_.value.size());
      peeked_at_ -= keep;
    }
    kept_from_ = has_peeked_ ? peeked_at_ : pos_;
    return;
  }
  kept_from_ = keep;
}

// The first line feed at or after `from`, eight bytes at a time: DXF lines
// are short, and a library search call per line costs more than the search.
std::size_t GroupReader::line_end(std::size_t from) const noexcept {
  const char* const data = text_.data();
  const std::size_t size = text_.size();
  if constexpr (std::endian::native == std::endian::little) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kLineFeeds = 0x0A0A0A0A0A0A0A0AULL;
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    for (; from + 8 <= size; from += 8) {
      std::uint64_t word;
      std::memcpy(&word, data + from, sizeof word);
      const std::uint64_t x = word ^ kLineFeeds;  // zero bytes where the line feeds are
      const std::uint64_t found = (x - kOnes) & ~x & kHighBits;
      if (found != 0) return from + static_cast<std::size_t>(std::countr_zero(found) / 8);
    }
  }
  while (from < size && data[from] != '\n') ++from;
  return from;
}

bool GroupReader::read_line(std::string_view& line) {
  std::size_t stop = line_end(pos_);
  while (stop == text_.size() && refill()) stop = line_end(pos_);
  const std::size_t size = text_.size();
  if (pos_ >= size) return false;
  const char* const data = text_.data();
  line = without_carriage_return({data + pos_, stop - pos_});
  pos_ = stop < size ? stop + 1 : size;
  ++line_;
  return true;
}

bool GroupReader::next(Group& group) {
  if (has_peeked_) {
    has_peeked_ = false;
    group = peeked_;
    last_group_at_ = peeked_at_;  // release() may have moved it
    return true;
  }
  if (next_whole_in_window(group)) return true;
  return next_read_carefully(group);
}

// The usual case, cheaply: both lines of the group end inside the window and
// the code is valid. Anything else is left to next_read_carefully().
bool GroupReader::next_whole_in_window(Group& group) noexcept {
  const std::size_t size = text_.size();
  const std::size_t code_end = line_end(pos_);
  if (code_end >= size) return false;
  const std::size_t value_end = line_end(code_end + 1);
  if (value_end >= size) return false;
  const char* const data = text_.data();
  const std::optional<int> code = group_code(without_carriage_return({data + pos_, code_end - pos_}));
  if (!code) return false;
  const std::string_view value = without_carriage_return({data + code_end + 1, value_end - code_end - 1});
  group = Group{*code, value, line_ + 1};
  last_group_at_ = pos_;
  pos_ = value_end + 1;
  line_ += 2;
  return true;
}

bool GroupReader::next_read_carefully(Group& group) {
  std::string_view code_line;
  if (!read_line(code_line)) return false;
  const std::size_t code_number = line_;
  // The code line with its line end, for finding where the group starts
  // once the value is read (reading it may move the window).
  const std::size_t code_size = pos_ - static_cast<std::size_t>(code_line.data() - text_.data());
  const std::optional<int> code = group_code(code_line);
  if (!code) {
    const std::string_view code_text = trimmed(code_line);
    if (code_text.empty() && exhausted()) return false;  // a last empty line
    fail(code_number, "código de grupo no válido «" + excerpt(code_text) + "»");
  }
  std::string_view value;
  if (!read_line(value)) fail(code_number, "el archivo termina después de un código de grupo (archivo truncado)");
  group = Group{*code, value, code_number};
  last_group_at_ = static_cast<std::size_t>(value.data() - text_.data()) - code_size;
  return true;
}

bool GroupReader::peek(Group& group) {
  if (!has_peeked_) {
    if (!next(peeked_)) return false;
    peeked_at_ = last_group_at_;
    has_peeked_ = true;
  }
  group = peeked_;
  return true;
}

void GroupReader::unread(const Group& group) noexcept {
  peeked_ = group;
  peeked_at_ = last_group_at_;
  has_peeked_ = true;
}

double GroupReader::real(const Group& group) const {
  std::string_view t = trimmed(group.value);
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  if (const auto quick = simple_decimal(t)) return *quick;
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
  std::string_view t = trimmed(group.value);
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
  const std::string_view t = trimmed(group.value);
  std::uint64_t v = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v, 16);
  if (ec != std::errc() || end != t.data() + t.size()) return 0;
  return v;
}

void GroupReader::fail(std::size_t line, std::string_view what) const { raise_load_error(file_name_, line, what); }

}  // namespace kestrel::dxf
