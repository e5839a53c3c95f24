#include "recordfile/json_syntax.h"

#include <algorithm>

#include "recordfile/json_out.h"

namespace kestrel::model::json_detail {

namespace {

using Kind = SyntaxProblem::Kind;

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0u) == 0x80u; }

int hex_digit(char c) {
  if (is_digit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// One pass over the text with the open containers on a stack. Each step
// returns false once it has set `problem`.
class Scanner {
 public:
  Scanner(std::string_view text, std::size_t max_depth) : text_(text), max_depth_(max_depth) {}

  std::optional<SyntaxProblem> run() {
    bool expect_value = true;
    for (;;) {
      skip_blanks();
      if (expect_value) {
        if (!value(expect_value)) return problem_;
        continue;
      }
      if (open_.empty()) return at_end() ? std::nullopt : stop(Kind::kMalformed);
      if (at_end()) return stop(Kind::kTruncated);
      if (peek() == (open_.back() == '{' ? '}' : ']')) {
        ++pos_;
        open_.pop_back();
      } else if (peek() == ',') {
        ++pos_;
        if (open_.back() == '{' && !key()) return problem_;
        expect_value = true;
      } else {
        return stop(Kind::kMalformed);
      }
    }
  }

 private:
  [[nodiscard]] bool at_end() const { return pos_ >= text_.size(); }
  [[nodiscard]] char peek() const { return text_[pos_]; }
  void skip_blanks() {
    while (!at_end() && is_blank(peek())) ++pos_;
  }
  bool fail(Kind kind) {
    problem_ = SyntaxProblem{kind, kind == Kind::kTruncated ? text_.size() : pos_};
    return false;
  }
  std::optional<SyntaxProblem> stop(Kind kind) {
    fail(kind);
    return problem_;
  }
  // Fails as truncated at the end of the text, else as malformed.
  bool fail_here() { return fail(at_end() ? Kind::kTruncated : Kind::kMalformed); }

  // A scalar, or the opening of a container; `expect_value` stays true when
  // a container opened and its first value follows.
  bool value(bool& expect_value) {
    if (at_end()) return fail(Kind::kTruncated);
    const char c = peek();
    if (c != '{' && c != '[') {
      expect_value = false;
      return scalar();
    }
    if (open_.size() >= max_depth_) return fail(Kind::kTooDeep);
    ++pos_;
    open_.push_back(c);
    skip_blanks();
    if (!at_end() && peek() == (c == '{' ? '}' : ']')) {
      ++pos_;
      open_.pop_back();
      expect_value = false;
      return true;
    }
    return c == '[' || key();
  }

  // A member's name and its colon.
  bool key() {
    skip_blanks();
    if (at_end() || peek() != '"') return fail_here();
    if (!string()) return false;
    skip_blanks();
    if (at_end() || peek() != ':') return fail_here();
    ++pos_;
    return true;
  }

  bool scalar() {
    switch (peek()) {
      case '"': return string();
      case 't': return literal("true");
      case 'f': return literal("false");
      case 'n': return literal("null");
      default: return is_digit(peek()) || peek() == '-' ? number() : fail(Kind::kMalformed);
    }
  }

  bool literal(std::string_view word) {
    for (const char c : word) {
      if (at_end() || peek() != c) return fail_here();
      ++pos_;
    }
    return true;
  }

  bool digits() {
    if (at_end() || !is_digit(peek())) return fail_here();
    while (!at_end() && is_digit(peek())) ++pos_;
    return true;
  }

  // -? (0 | [1-9][0-9]*) (. [0-9]+)? ([eE] [+-]? [0-9]+)?
  bool number() {
    if (peek() == '-') ++pos_;
    if (!at_end() && peek() == '0') {
      ++pos_;
    } else if (!digits()) {
      return false;
    }
    if (!at_end() && peek() == '.') {
      ++pos_;
      if (!digits()) return false;
    }
    if (!at_end() && (peek() == 'e' || peek() == 'E')) {
      ++pos_;
      if (!at_end() && (peek() == '+' || peek() == '-')) ++pos_;
      if (!digits()) return false;
    }
    return true;
  }

  bool string() {
    ++pos_;  // the opening quote
    for (;;) {
      if (at_end()) return fail(Kind::kTruncated);
      const auto c = static_cast<unsigned char>(peek());
      if (c == '"') {
        ++pos_;
        return true;
      }
      if (c == '\\') {
        if (!escape()) return false;
      } else if (c < 0x20) {
        return fail(Kind::kMalformed);
      } else if (c < 0x80) {
        ++pos_;
      } else if (!utf8_sequence()) {
        return false;
      }
    }
  }

  bool utf8_sequence() {
    const std::size_t length = utf8_sequence_length(text_, pos_);
    if (length > 0) {
      pos_ += length;
      return true;
    }
    // A sequence cut by the end of the text is a truncation.
    const auto lead = static_cast<unsigned char>(peek());
    const std::size_t wanted = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    const std::string_view rest = text_.substr(pos_ + 1);
    if (lead >= 0xC2 && lead <= 0xF4 && rest.size() < wanted - 1 &&
        std::all_of(rest.begin(), rest.end(), is_continuation))
      return fail(Kind::kTruncated);
    return fail(Kind::kInvalidUtf8);
  }

  bool escape() {
    ++pos_;  // the backslash
    if (at_end()) return fail(Kind::kTruncated);
    const char c = peek();
    if (std::string_view("\"\\/bfnrt").find(c) != std::string_view::npos) {
      ++pos_;
      return true;
    }
    if (c != 'u') return fail(Kind::kMalformed);
    int unit = 0;
    if (!hex4(unit)) return false;
    if (unit >= 0xDC00 && unit <= 0xDFFF) return fail(Kind::kMalformed);  // a low surrogate alone
    if (unit < 0xD800 || unit > 0xDBFF) return true;
    // A high surrogate must be followed by an escaped low one.
    if (at_end() || peek() != '\\') return fail_here();
    ++pos_;
    if (at_end() || peek() != 'u') return fail_here();
    if (!hex4(unit)) return false;
    return unit >= 0xDC00 && unit <= 0xDFFF ? true : fail(Kind::kMalformed);
  }

  // The four hexadecimal digits after "\u" (pos_ at the "u").
  bool hex4(int& unit) {
    ++pos_;
    unit = 0;
    for (int i = 0; i < 4; ++i, ++pos_) {
      if (at_end()) return fail(Kind::kTruncated);
      const int digit = hex_digit(peek());
      if (digit < 0) return fail(Kind::kMalformed);
      unit = unit * 16 + digit;
    }
    return true;
  }

  std::string_view text_;
  std::size_t max_depth_;
  std::size_t pos_ = 0;
  std::string open_;  // '{' or '[' for each open container
  std::optional<SyntaxProblem> problem_;
};

}  // namespace

std::optional<SyntaxProblem> find_syntax_problem(std::string_view text, std::size_t max_depth) {
  return Scanner(text, max_depth).run();
}

std::string position_text(std::string_view text, std::size_t offset) {
  offset = std::min(offset, text.size());
  const std::string_view before = text.substr(0, offset);
  const auto line = std::count(before.begin(), before.end(), '\n') + 1;
  const auto last_break = before.rfind('\n');
  const std::string_view line_start = before.substr(last_break == std::string_view::npos ? 0 : last_break + 1);
  const auto column =
      1 + std::count_if(line_start.begin(), line_start.end(), [](char c) { return !is_continuation(c); });
  return "línea " + std::to_string(line) + ", columna " + std::to_string(column);
}

core::Error syntax_error(std::string_view text, const SyntaxProblem& problem, std::size_t max_depth) {
  const std::string where = position_text(text, problem.offset);
  std::string what;
  switch (problem.kind) {
    case Kind::kTruncated: what = "JSON incompleto: el texto se corta en la " + where; break;
    case Kind::kMalformed: what = "JSON mal formado en la " + where; break;
    case Kind::kInvalidUtf8: what = "JSON mal formado en la " + where + " (texto UTF-8 no válido)"; break;
    case Kind::kTooDeep: what = "JSON anidado a más de " + std::to_string(max_depth) + " niveles en la " + where; break;
  }
  return core::Error(core::kInvalidCall, core::kRuntimeSource, std::move(what));
}

}  // namespace kestrel::model::json_detail
