// The settings file format: `[section]` lines, `key=value` lines, blank
// lines and comment lines (first non-blank character ';' or '#').
//
// Names and values are stored with backslash escapes so that every string
// round-trips exactly: "\\" backslash, "\r", "\n", "\t", and "\xHH" for any
// other control byte and for any byte that is not part of well-formed UTF-8
// (so the file stays UTF-8); keys and section names also escape '=', ';',
// '#' and '[' as "\xHH". Nothing is trimmed: a value is everything after the first
// '=' of its line, blanks included. An unknown escape reads literally.
//
// A section may appear more than once (the store appends to its file); the
// last entry of a section and key is the one that counts.
//
// A Document keeps every line it parsed, so rewriting a file changes only
// the entries that were set (line endings become LF, the text UTF-8).
#pragma once

#include <cstddef>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kestrel::platform::ini {

// Text that is not a settings file: a control byte, a line that is neither
// section, entry, comment nor blank, or an entry before any section.
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

// One `key=value` line, unescaped, with the section it stands in.
struct Entry {
  std::string section;
  std::string key;
  std::string value;
  friend bool operator==(const Entry&, const Entry&) = default;
};

class Document {
 public:
  // Throws FormatError. A leading UTF-8 byte-order mark and CR LF line ends
  // are accepted. Text that is not UTF-8 is read as Windows-1252, as the
  // host writes it (judged on the complete lines when they hold any byte
  // above 0x7F, else on the whole text). A last line without a line end that
  // is not a well-formed line, after complete lines that are, is the trace
  // of an interrupted append: it is dropped.
  [[nodiscard]] static Document parse(std::string_view text);

  // The file text, UTF-8: every line followed by LF.
  [[nodiscard]] std::string text() const;

  // The value of the last entry `key` under a section named `section`
  // (names compared case-insensitively), or nullptr. Constant time.
  [[nodiscard]] const std::string* find(std::string_view section, std::string_view key) const;

  // Replaces the value found by `find`, or adds the entry to the first section
  // of that name, or adds the section at the end.
  void set(std::string_view section, std::string_view key, std::string_view value);

  // Adds `entries` of `section` at the end of the document, after a blank
  // line and a `[section]` line unless the last section already is that one,
  // and returns
  // the text those lines add to the file's text as it was parsed (with a line
  // end first when the file's last line had none). Costs only the entries.
  std::string append(std::string_view section, std::span<const std::pair<std::string, std::string>> entries);

  // True when `append`'s text may be added to the file this document was
  // parsed from: the file was UTF-8 and nothing was dropped from its end.
  [[nodiscard]] bool appendable() const noexcept { return utf8_ && !dropped_tail_; }

  // Drops every entry that a later entry of the same section and key
  // overrides, and every `[section]` line left with only blank lines under
  // it while another line names that section. What `find` answers is
  // unchanged.
  void compact();

  // Every entry line, in file order.
  [[nodiscard]] std::vector<Entry> entries() const;
  [[nodiscard]] std::size_t entry_count() const noexcept;

 private:
  enum class Kind { kBlank, kComment, kSection, kEntry };
  static constexpr std::size_t kNoSection = static_cast<std::size_t>(-1);
  struct Line {
    Kind kind;
    std::string raw;    // the line as written, without its line end
    std::string name;   // section name or key, unescaped
    std::string value;  // entry value, unescaped
    std::size_t section = kNoSection;  // an entry's section line
  };

  static Line classify(std::string_view raw, std::size_t number);
  void parse_last_line(std::string_view tail, std::size_t number);
  void add_line(Line line);
  void rebuild_index();
  void drop_overridden_entries();
  void drop_empty_repeated_headers();
  [[nodiscard]] std::string index_key(std::size_t entry_line) const;
  [[nodiscard]] std::ptrdiff_t insertion_point(std::string_view section) const;

  std::vector<Line> lines_;
  std::size_t last_section_ = kNoSection;
  // Folded section and key -> the line of their last entry.
  std::unordered_map<std::string, std::size_t> last_entry_;
  bool utf8_ = true;
  bool dropped_tail_ = false;
  bool ends_with_line_end_ = true;
};

}  // namespace kestrel::platform::ini
