#include "recordfile/record_path.h"

#include "core/error.h"

namespace kestrel::model::json_detail {

namespace {

void append_path(const PathNode& node, std::string& out) {
  if (node.parent == nullptr) return;  // the root has no name
  append_path(*node.parent, out);
  if (node.is_index) {
    out += '[';
    out += std::to_string(node.index);
    out += ']';
    return;
  }
  if (!out.empty()) out += '.';
  out += node.field;
}

}  // namespace

std::string PathNode::text() const {
  std::string out;
  append_path(*this, out);
  return out.empty() ? std::string("(documento)") : out;
}

void fail(std::int32_t number, const PathNode& at, std::string_view what) {
  std::string description = at.text();
  description += ": ";
  description += what;
  throw core::Error(number, core::kRuntimeSource, std::move(description));
}

}  // namespace kestrel::model::json_detail
