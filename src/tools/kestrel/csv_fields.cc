#include "tools/kestrel/csv_fields.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "core/utf8.h"

namespace kestrel::cli {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::size_t kExcerptWidth = 40;

bool is_blank(char c, char separator) { return (c == ' ' || c == '\t' || c == '\r') && c != separator; }

bool blank_line(std::string_view line) { return line.find_first_not_of(" \t\r") == std::string_view::npos; }

// The first candidate `line` holds outside quoted text, else the last one.
char choose_separator(std::string_view line, std::string_view candidates) {
  for (const char candidate : candidates.substr(0, candidates.size() - 1)) {
    bool quoted = false;
    for (const char c : line) {
      if (c == '"') quoted = !quoted;
      if (c == candidate && !quoted) return candidate;
    }
  }
  return candidates.back();
}

// Splits lines into fields, keeping its strings from one line to the next so
// that reading a file does not allocate per field. A quoting error throws,
// naming the line.
class LineSplitter {
 public:
  LineSplitter(std::string_view name, char separator) : name_(name), separator_(separator) {}
  [[nodiscard]] char separator() const noexcept { return separator_; }

  std::span<const std::string> split(std::string_view line, std::size_t number) {
    line_ = line;
    number_ = number;
    pos_ = 0;
    count_ = 0;
    while (true) {
      std::string& field = next_field();
      skip_blanks();
      if (pos_ < line_.size() && line_[pos_] == '"') {
        quoted(field);
      } else {
        unquoted(field);
      }
      if (pos_ >= line_.size()) return {fields_.data(), count_};
      ++pos_;  // the separator
    }
  }

 private:
  std::string& next_field() {
    if (count_ == fields_.size()) fields_.emplace_back();
    std::string& field = fields_[count_++];
    field.clear();
    return field;
  }
  void skip_blanks() {
    while (pos_ < line_.size() && is_blank(line_[pos_], separator_)) ++pos_;
  }
  void unquoted(std::string& field) {
    std::size_t end = line_.find(separator_, pos_);
    if (end == std::string_view::npos) end = line_.size();
    std::size_t last = end;
    while (last > pos_ && is_blank(line_[last - 1], separator_)) --last;
    field.assign(line_.substr(pos_, last - pos_));
    pos_ = end;
  }
  void quoted(std::string& field) {
    ++pos_;
    while (true) {
      const std::size_t quote = line_.find('"', pos_);
      if (quote == std::string_view::npos) fail_at(name_, number_, "a quoted field is not closed on its line");
      field.append(line_.substr(pos_, quote - pos_));
      pos_ = quote + 1;
      if (pos_ < line_.size() && line_[pos_] == '"') {  // "" stands for one quote
        field.push_back('"');
        ++pos_;
        continue;
      }
      break;
    }
    skip_blanks();
    if (pos_ < line_.size() && line_[pos_] != separator_) {
      fail_at(name_, number_, "field " + std::to_string(count_) + " has text after its closing quote");
    }
  }

  std::string_view name_;
  char separator_;
  std::vector<std::string> fields_;
  std::string_view line_;
  std::size_t number_ = 0;
  std::size_t pos_ = 0;
  std::size_t count_ = 0;
};

std::string_view without_byte_order_mark(std::string_view text, std::string_view name) {
  if (text.starts_with(kUtf8Mark)) return text.substr(kUtf8Mark.size());
  if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
    throw std::runtime_error(std::string(name) + ": UTF-16 text; save the file as UTF-8 or ANSI text");
  }
  return text;
}

}  // namespace

std::string read_text_file(const std::filesystem::path& file) {
  if (!std::filesystem::exists(file)) throw std::runtime_error(file.string() + ": no such file");
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error(file.string() + ": cannot be read");
  std::ostringstream text;
  text << in.rdbuf();
  return std::move(text).str();
}

void for_each_record(std::string_view text, std::string_view name, std::string_view separators,
                     const std::function<void(const CsvRecord&)>& on_record) {
  text = without_byte_order_mark(text, name);
  std::optional<LineSplitter> splitter;
  std::size_t number = 0;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++number;
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (blank_line(line)) continue;
    if (!splitter) splitter.emplace(name, choose_separator(line, separators));
    on_record({number, splitter->split(line, number), splitter->separator()});
  }
}

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::size_t skip_digits(std::string_view text, std::size_t i) {
  while (i < text.size() && is_digit(text[i])) ++i;
  return i;
}

// The power of ten of the first significant digit of `digits` (the digits
// around the decimal point, `whole` of them before it) times 10^exponent.
// Only its sign is used: it tells an overflow from an underflow.
std::int64_t leading_power(std::string_view digits, std::size_t whole, std::int64_t exponent) {
  std::size_t k = 0;
  while (k < digits.size() && (digits[k] == '0' || !is_digit(digits[k]))) ++k;
  const auto before_point = static_cast<std::int64_t>(whole) - 1;
  const auto position = static_cast<std::int64_t>(k <= whole ? k : k - 1);  // the point takes one place
  return before_point - position + exponent;
}

std::int64_t exponent_value(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  std::int64_t value = 0;
  for (const char c : text) value = std::min<std::int64_t>(value * 10 + (c - '0'), 1'000'000'000);
  return negative ? -value : value;
}

// Characters a message must not show as they are: controls (C0, DEL, C1)
// and those that reorder or break the text around them.
bool unsafe_to_show(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0x200E || c == 0x200F || (c >= 0x2028 && c <= 0x202E) ||
         (c >= 0x2066 && c <= 0x2069) || c == 0xFEFF;
}

void append_escaped(std::string& out, std::string_view bytes) {
  constexpr char kHex[] = "0123456789ABCDEF";
  for (const char b : bytes) {
    const auto u = static_cast<unsigned char>(b);
    out += "\\x";
    out.push_back(kHex[u >> 4]);
    out.push_back(kHex[u & 15]);
  }
}

// Where the parts of a plain number lie in its text; `valid` false for a
// text that is not one.
struct NumberShape {
  bool valid = false;
  std::size_t whole_start = 0, whole = 0;  // the digits before the point
  std::size_t point = std::string_view::npos;
  std::size_t mantissa_end = 0;
};

NumberShape shape_of(std::string_view text, bool decimal_comma) {
  NumberShape s;
  s.whole_start = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
  std::size_t i = skip_digits(text, s.whole_start);
  s.whole = i - s.whole_start;
  if (i < text.size() && (text[i] == '.' || (decimal_comma && text[i] == ','))) s.point = i++;
  const std::size_t fraction_start = i;
  i = skip_digits(text, i);
  if (s.whole == 0 && i == fraction_start) return s;
  s.mantissa_end = i;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t digits_start = i;
    i = skip_digits(text, i);
    if (i == digits_start) return s;
  }
  s.valid = i == text.size();
  return s;
}

}  // namespace

ParsedNumber parse_plain_number(std::string_view text, bool decimal_comma) {
  const NumberShape shape = shape_of(text, decimal_comma);
  if (!shape.valid) return {};
  // from_chars takes neither a leading "+" nor a decimal comma.
  std::string_view body = text.substr(text[0] == '+' ? 1 : 0);
  std::string with_point;
  if (shape.point != std::string_view::npos && text[shape.point] == ',') {
    with_point.assign(body);
    with_point[shape.point - (text.size() - body.size())] = '.';
    body = with_point;
  }
  double value = 0;
  const auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
  if (ec == std::errc() && end == body.data() + body.size()) return {NumberText::kNumber, value};
  if (ec != std::errc::result_out_of_range) return {};
  const std::string_view digits = text.substr(shape.whole_start, shape.mantissa_end - shape.whole_start);
  const std::int64_t exponent =
      shape.mantissa_end < text.size() ? exponent_value(text.substr(shape.mantissa_end + 1)) : 0;
  if (leading_power(digits, shape.whole, exponent) > 0) return {NumberText::kOutOfRange, 0};
  return {NumberText::kNumber, text[0] == '-' ? -0.0 : 0.0};
}

std::string quoted_excerpt(std::string_view field) {
  std::string out = "\"";
  std::size_t width = 0;
  for (std::size_t i = 0; i < field.size();) {
    const core::Utf8Char ch = core::decode_char(field, i);
    const bool shown_as_is = ch.well_formed && !unsafe_to_show(ch.code);
    const std::size_t w = shown_as_is ? 1 : 4 * std::size_t{ch.size};
    if (width + w > kExcerptWidth) {
      out += "…";
      break;
    }
    if (shown_as_is) {
      out.append(field.substr(i, ch.size));
    } else {
      append_escaped(out, field.substr(i, ch.size));
    }
    width += w;
    i += ch.size;
  }
  out += '"';
  return out;
}

void fail_at(std::string_view name, std::size_t line, std::string_view what) {
  throw std::runtime_error(std::string(name) + ":" + std::to_string(line) + ": " + std::string(what));
}

void fail_number(std::string_view name, std::size_t line, std::string_view what, NumberText kind,
                 std::string_view field) {
  const char* verdict = kind == NumberText::kOutOfRange ? " is out of range: " : " is not a number: ";
  fail_at(name, line, std::string(what) + verdict + quoted_excerpt(field));
}

}  // namespace kestrel::cli
