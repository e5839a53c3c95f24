// Reading the CLI's delimited text files (points files, profile files):
// records in the manner of RFC 4180, plain numbers, and the short, safe
// excerpts of bad fields that messages show.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace kestrel::cli {

// The whole of a text file. Throws std::runtime_error naming the file when
// it cannot be read.
[[nodiscard]] std::string read_text_file(const std::filesystem::path& file);

// One record: the line it stands on (from 1), its fields and the file's
// separator.
struct CsvRecord {
  std::size_t line;
  std::span<const std::string> fields;
  char separator;
};

// Calls `on_record` for every line of `text` that holds more than blanks
// (spaces, tabs, carriage returns). A UTF-8 byte-order mark at the start is
// skipped; lines end at "\n" or "\r\n". The separator is the first of
// `separators` that the first record line holds outside quotes, else the
// last of them. Fields are trimmed of blanks; a field may be quoted ("..."),
// and may then hold the separator and doubled quotes (""), but not a line
// end. Throws std::runtime_error "NAME:LINE: ..." for a quote left open at
// the end of its line or followed by more than blanks, and "NAME: ..." for
// UTF-16 text.
void for_each_record(std::string_view text, std::string_view name, std::string_view separators,
                     const std::function<void(const CsvRecord&)>& on_record);

// A plain number: an optional sign, digits with at most one decimal point
// ("." or, when `decimal_comma`, ","), digits on at least one side of it,
// and an optional exponent (e or E, an optional sign, digits). Nothing else:
// no blanks, no "&H", no "d" exponent, no "inf" or "nan".
enum class NumberText { kNumber, kNotANumber, kOutOfRange };
struct ParsedNumber {
  NumberText kind = NumberText::kNotANumber;
  double value = 0;  // set for kNumber; a value too small for a double is 0
};
[[nodiscard]] ParsedNumber parse_plain_number(std::string_view text, bool decimal_comma);

// `field` as a message shows it, in double quotes: at most about 40
// characters, a control character, a byte that is not UTF-8 or a character
// that changes the direction of text as \xHH (per byte), "…" where it is cut.
[[nodiscard]] std::string quoted_excerpt(std::string_view field);

// Throws std::runtime_error "NAME:LINE: WHAT".
[[noreturn]] void fail_at(std::string_view name, std::size_t line, std::string_view what);

// Throws std::runtime_error for a `what` field ("x", "chainage") that is
// not a number or is beyond the range of a double, showing an excerpt.
[[noreturn]] void fail_number(std::string_view name, std::size_t line, std::string_view what, NumberText kind,
                              std::string_view field);

}  // namespace kestrel::cli
