#include <unistd.h>

#include <iostream>

#include "recordfile/json_out.h"
#include "platform/report_window.h"
#include "tools/kestrel/cad_documents.h"
#include "tools/kestrel/cad_run.h"
#include "tools/kestrel/commands.h"

namespace kestrel::cli {

namespace {

std::string_view style_name(platform::ReportRowStyle style) {
  switch (style) {
    case platform::ReportRowStyle::kSection: return "section";
    case platform::ReportRowStyle::kPlain: return "row";
    case platform::ReportRowStyle::kOption: return "option";
  }
  return "row";
}

// The report as JSON: its caption and its rows in order.
std::string report_json(const platform::ReportWindow& report) {
  model::json_detail::JsonOut out;
  const model::json_detail::PathNode root;
  out.put("{\"caption\": ");
  out.string(report.caption(), root.child("caption"));
  out.put(", \"rows\": [");
  for (std::size_t i = 0; i < report.rows().size(); ++i) {
    const platform::ReportRow& row = report.rows()[i];
    const model::json_detail::PathNode at = root.child("rows").at(static_cast<std::int64_t>(i));
    out.put(i == 0 ? "" : ",");
    out.newline(1);
    out.put("{\"style\": \"");
    out.put(style_name(row.style));
    out.put("\", \"label\": ");
    out.string(row.label, at);
    if (row.style == platform::ReportRowStyle::kPlain) {
      out.put(", \"value\": ");
      out.string(row.value, at);
    } else if (row.style == platform::ReportRowStyle::kOption) {
      out.put(row.checked ? ", \"checked\": true" : ", \"checked\": false");
    }
    out.put("}");
  }
  out.newline(0);
  out.put("]}\n");
  return out.take();
}

}  // namespace

int run_report(const CommonOptions& common, const ReportOptions& options) {
  std::vector<std::shared_ptr<memcad::Document>> drawings{read_drawing(options.input)};
  CadDocuments run(common, false, std::move(drawings));
  if (!run.connect(options.cad_label)) return kExitNoSession;
  bool shown = false;
  run.terminal().dialogs().set_user([&](platform::Form& form) {
    const auto* report = dynamic_cast<const platform::ReportWindow*>(&form);
    if (!report) return;
    shown = true;
    if (options.json) {
      std::cout << report_json(*report);
    } else {
      platform::write_report(std::cout, *report);
    }
  });
  core::VbBool salir = core::kFalse;
  const std::size_t errors_before = run.module().error_log.count();
  run.kestrel().Analiza__Todo(run.form(), salir);
  if (!shown || run.module().error_log.count() != errors_before) {
    std::cerr << "kestrel: the drawing could not be analysed\n";
    return kExitEngineErrors;
  }
  return kExitWritten;
}

}  // namespace kestrel::cli
