// Where in a record file a value sits ("Dibujos[2].X[4]"), for error
// messages. Nodes live on the stack of the reader or writer and point to
// their parent; the text is only built when an error is reported.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrel::model::json_detail {

struct PathNode {
  const PathNode* parent = nullptr;
  std::string_view field{};  // a field name, or empty for an index
  std::int64_t index = 0;
  bool is_index = false;

  [[nodiscard]] PathNode child(std::string_view name) const { return {this, name}; }
  [[nodiscard]] PathNode at(std::int64_t i) const { return {this, {}, i, true}; }
  // "Dibujos[2].X[4]"; "(documento)" for the root.
  [[nodiscard]] std::string text() const;
};

// Throws core::Error(number) with description "<path>: <what>".
[[noreturn]] void fail(std::int32_t number, const PathNode& at, std::string_view what);

}  // namespace kestrel::model::json_detail
