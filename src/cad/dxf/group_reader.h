// Reading an ASCII DXF file as a sequence of groups: a group code line and
// a value line. The reader never trusts the input: a code that is not a
// number, a file that ends inside a group, a binary DXF or an over-long
// count is reported as a core::Error that names the file and the line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::dxf {

struct Group {
  int code = 0;
  std::string_view value;  // the value line without its line end
  std::size_t line = 0;    // 1-based line of the group code
};

// Groups hold views into the reader's text. Reading a stream, the reader
// keeps a window over it: views stay valid until release(), which the
// caller calls between records.
class GroupReader {
 public:
  // `text` is the whole file; `file_name` is used in messages only. Raises
  // for a binary DXF. A leading UTF-8 byte order mark is skipped.
  GroupReader(std::string_view text, std::string file_name);
  // Reads `in` a window at a time (at least `window` bytes).
  GroupReader(std::istream& in, std::string file_name, std::size_t window = std::size_t{4} << 20);

  // The groups returned so far, except one peeked and not yet taken, are no
  // longer used: their memory may be reused.
  void release() noexcept;

  // The next group; false at the end of the text. Raises when the text ends
  // after a code line or the code is not a group code.
  [[nodiscard]] bool next(Group& group);
  // The group that next() returns next time, without consuming it.
  [[nodiscard]] bool peek(Group& group);
  // Gives back `group`, the one next() returned last (with no release()
  // since): next() and peek() return it again. Cheaper than peeking at
  // every group to find where a record ends.
  void unread(const Group& group) noexcept;

  // Reads a value as the numbers the DXF reference declares; each raises
  // for a value that is not one, naming the group's line.
  [[nodiscard]] double real(const Group& group) const;
  // An integer value; digits followed by other characters ("256QSW") read as
  // their leading number, which real files do hold.
  [[nodiscard]] std::int64_t integer(const Group& group) const;
  // A count that announces items of a record: raises when it is negative
  // or exceeds `limit` (the groups the record holds).
  [[nodiscard]] std::size_t count(const Group& group, std::size_t limit) const;
  // A hexadecimal handle; 0 for an empty or malformed one.
  [[nodiscard]] std::uint64_t handle(const Group& group) const noexcept;

  // Raises the load error for the given line.
  [[noreturn]] void fail(std::size_t line, std::string_view what) const;

  [[nodiscard]] const std::string& file_name() const noexcept { return file_name_; }

 private:
  void check_start();
  [[nodiscard]] bool next_whole_in_window(Group& group) noexcept;
  [[nodiscard]] bool next_read_carefully(Group& group);
  [[nodiscard]] bool read_line(std::string_view& line);
  [[nodiscard]] std::size_t line_end(std::size_t from) const noexcept;
  // Streaming: reads more of the stream after the window's data; false at its end.
  [[nodiscard]] bool refill();
  // True when nothing is left to read.
  [[nodiscard]] bool exhausted();

  std::string_view text_;  // the data at hand (all of it, or the window)
  std::string file_name_;
  std::size_t pos_ = 0;
  std::size_t line_ = 0;
  Group peeked_;
  std::size_t peeked_at_ = 0;      // where the peeked group starts in text_
  std::size_t last_group_at_ = 0;  // where the group next() returned last starts
  bool has_peeked_ = false;
  // Streaming only.
  std::istream* in_ = nullptr;
  std::unique_ptr<char[]> window_;
  std::size_t capacity_ = 0;
  std::size_t kept_from_ = 0;  // views from here on are still in use
  std::vector<std::unique_ptr<char[]>> retired_;  // earlier windows with views in use
};

// `s` without the blanks, tabs and carriage returns around it.
[[nodiscard]] std::string_view trimmed(std::string_view s) noexcept;

// The load error: an automation error whose description names the file and,
// when known (non-zero), the line.
[[noreturn]] void raise_load_error(std::string_view file_name, std::size_t line, std::string_view what);

}  // namespace kestrel::dxf
