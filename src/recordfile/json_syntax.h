// Where a text stops being well-formed JSON (RFC 8259), and the error that
// says so with its line and column. The record reader only calls this once
// it has met a problem: reading a good file never pays for it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/error.h"

namespace kestrel::model::json_detail {

struct SyntaxProblem {
  enum class Kind {
    kMalformed,    // a byte that cannot continue the text
    kTruncated,    // the text ends inside a value (offset: its length)
    kInvalidUtf8,  // a string holds bytes that are not UTF-8
    kTooDeep,      // a container opens beyond the nesting limit
  };
  Kind kind;
  std::size_t offset;
};

// The first problem in `text`, or nullopt for a well-formed text nesting at
// most `max_depth` containers. Numbers are checked against the grammar only:
// 1e999 is well-formed (its range is the reader's concern). Linear time,
// memory bounded by `max_depth`.
[[nodiscard]] std::optional<SyntaxProblem> find_syntax_problem(std::string_view text, std::size_t max_depth);

// "línea 3, columna 7" for byte `offset` of `text` (both from 1; columns
// count characters, not bytes).
[[nodiscard]] std::string position_text(std::string_view text, std::size_t offset);

// Error 5 describing `problem`, met in `text` (the whole file, so that lines
// and columns are the file's).
[[nodiscard]] core::Error syntax_error(std::string_view text, const SyntaxProblem& problem, std::size_t max_depth);

}  // namespace kestrel::model::json_detail
