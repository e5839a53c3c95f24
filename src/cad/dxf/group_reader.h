// Reading an ASCII DXF file as a sequence of groups: a group code line and
// a value line. The reader never trusts the input: a code that is not a
// number, a file that ends inside a group, a binary DXF or an over-long
// count is reported as a core::Error that names the file and the line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrel::dxf {

struct Group {
  int code = 0;
  std::string_view value;  // the value line without its line end
  std::size_t line = 0;    // 1-based line of the group code
};

// The group value types of the DXF reference, by code range.
enum class ValueType { kString, kReal, kInteger, kHandle, kBool };
[[nodiscard]] ValueType value_type(int code) noexcept;

class GroupReader {
 public:
  // `text` is the whole file; `file_name` is used in messages only. Raises
  // for a binary DXF. A leading UTF-8 byte order mark is skipped.
  GroupReader(std::string_view text, std::string file_name);

  // The next group; false at the end of the text. Raises when the text ends
  // after a code line or the code is not a group code.
  [[nodiscard]] bool next(Group& group);
  // The group that next() returns next time, without consuming it.
  [[nodiscard]] bool peek(Group& group);

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
  [[nodiscard]] std::string_view text() const noexcept { return text_; }

 private:
  [[nodiscard]] bool read_line(std::string_view& line) noexcept;

  std::string_view text_;
  std::string file_name_;
  std::size_t pos_ = 0;
  std::size_t line_ = 0;
  Group peeked_;
  bool has_peeked_ = false;
};

// The load error: an automation error whose description names the file and,
// when known (non-zero), the line.
[[noreturn]] void raise_load_error(std::string_view file_name, std::size_t line, std::string_view what);

}  // namespace kestrel::dxf
