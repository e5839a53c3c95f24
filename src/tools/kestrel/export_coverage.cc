#include "tools/kestrel/export_coverage.h"

namespace kestrel::cli {

namespace {

struct Undrawn {
  const char* check_box;
  bool needs_enabled;  // the event is raised only while the box is enabled
  const char* what;    // plural noun for the left-out count
  std::int32_t (*count)(const model::DrawingModel&);
};

const Undrawn kUndrawn[] = {
    {"chkBlo", false, "block references", [](const model::DrawingModel& m) { return m.NumBloques; }},
};

}  // namespace

std::optional<std::string> unsupported_request(const ExportOptions& o) {
  if (o.blocks.value_or(false)) return "--blocks";
  return std::nullopt;
}

std::vector<std::string> leave_out_undrawn(exporting::f_Acad& dialog, const model::DrawingModel& m) {
  std::vector<std::string> left_out;
  for (const Undrawn& u : kUndrawn) {
    const exporting::Control& box = *dialog.control(u.check_box);
    if (box.value == 0 || (u.needs_enabled && !box.enabled)) continue;
    dialog.set_value(u.check_box, 0);
    if (const std::int32_t n = u.count(m); n > 0) left_out.push_back(std::to_string(n) + " " + u.what);
  }
  return left_out;
}

}  // namespace kestrel::cli
