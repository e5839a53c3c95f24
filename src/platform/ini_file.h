// The settings file format: `[section]` lines, `key=value` lines, blank
// lines and comment lines (first non-blank character ';' or '#').
//
// Names and values are stored with backslash escapes so that every string
// round-trips exactly: "\\" backslash, "\r", "\n", "\t", and "\xHH" for any
// other control byte; keys and section names also escape '=', ';', '#' and
// '[' as "\xHH". Nothing is trimmed: a value is everything after the first
// '=' of its line, blanks included. An unknown escape reads literally.
//
// A Document keeps every line it parsed, so rewriting a file changes only
// the entries that were set (line endings become LF).
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::platform::ini {

// Text that is not a settings file: invalid UTF-8, a control byte, a line that
// is neither section, entry, comment nor blank, or an entry before any section.
class FormatError : public std::runtime_error {
 public:
  FormatError(std::size_t line, const std::string& reason);
  // 1-based line number of the first bad line.
  [[nodiscard]] std::size_t line() const noexcept { return line_; }

 private:
  std::size_t line_;
};

[[nodiscard]] std::string escape_value(std::string_view value);
[[nodiscard]] std::string escape_name(std::string_view name);
[[nodiscard]] std::string unescape(std::string_view text);

class Document {
 public:
  // Throws FormatError. A leading UTF-8 byte-order mark and CR LF line ends are accepted.
  [[nodiscard]] static Document parse(std::string_view text);

  // The file text: every line followed by LF.
  [[nodiscard]] std::string text() const;

  // The value of the first entry `key` under a section named `section`
  // (names compared case-insensitively), or nullptr.
  [[nodiscard]] const std::string* find(std::string_view section, std::string_view key) const;

  // Replaces the value found by `find`, or adds the entry to the first section
  // of that name, or adds the section at the end.
  void set(std::string_view section, std::string_view key, std::string_view value);

  [[nodiscard]] std::size_t entry_count() const noexcept;

 private:
  enum class Kind { kBlank, kComment, kSection, kEntry };
  struct Line {
    Kind kind;
    std::string raw;    // the line as written, without its line end
    std::string name;   // section name or key, unescaped
    std::string value;  // entry value, unescaped
  };

  static Line classify(std::string_view raw, std::size_t number);
  [[nodiscard]] std::ptrdiff_t find_entry(std::string_view section, std::string_view key) const;
  [[nodiscard]] std::ptrdiff_t insertion_point(std::string_view section) const;

  std::vector<Line> lines_;
};

}  // namespace kestrel::platform::ini
