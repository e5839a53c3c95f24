// Line splitting shared by the CLI's delimited text readers (points files,
// profile files): the lines that carry data, the separator a file uses and
// the fields of one line.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::cli {

// The whole of a text file. Throws std::runtime_error naming the file when
// it cannot be read.
[[nodiscard]] std::string read_text_file(const std::filesystem::path& file);

// Calls `on_line(number, line)` for every line of `text` that holds more
// than blanks, numbered from 1, without its line end ("\n" or "\r\n").
void for_each_line(std::string_view text, const std::function<void(std::size_t, std::string_view)>& on_line);

// The separator a line uses: ";" when it has one, else a tab when it has
// one, else ",".
[[nodiscard]] char detect_separator(std::string_view line);

// The fields of `line` split at `separator`, each trimmed of blanks and of
// one pair of enclosing double quotes.
[[nodiscard]] std::vector<std::string> split_fields(std::string_view line, char separator);

}  // namespace kestrel::cli
