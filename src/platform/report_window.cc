#include "platform/report_window.h"

#include <istream>
#include <ostream>


namespace kestrel::platform {

namespace {

ReportRow* find_option(std::vector<ReportRow>& rows, std::string_view label) {
  for (ReportRow& r : rows) {
    if (r.style == ReportRowStyle::kOption && r.label == label) return &r;
  }
  return nullptr;
}

std::string trimmed_lower(std::string line) {
  const auto first = line.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  line = line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
  for (char& c : line) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return line;
}

}  // namespace

bool ReportWindow::set_checked(std::string_view option_label, bool checked) {
  ReportRow* r = find_option(rows_, option_label);
  if (r) r->checked = checked;
  return r != nullptr;
}

bool ReportWindow::checked(std::string_view option_label) const noexcept {
  for (const ReportRow& r : rows_) {
    if (r.style == ReportRowStyle::kOption && r.label == option_label) return r.checked;
  }
  return false;
}

bool ReportWindow::has_options() const noexcept {
  for (const ReportRow& r : rows_) {
    if (r.style == ReportRowStyle::kOption) return true;
  }
  return false;
}

void write_report(std::ostream& out, const ReportWindow& report) {
  out << report.caption() << "\n";
  for (const ReportRow& r : report.rows()) {
    switch (r.style) {
      case ReportRowStyle::kSection: out << "[" << r.label << "]\n"; break;
      case ReportRowStyle::kPlain: out << "  " << r.label << "  " << r.value << "\n"; break;
      case ReportRowStyle::kOption: out << "  [" << (r.checked ? 'x' : ' ') << "] " << r.label << "\n"; break;
    }
  }
}

void answer_report(ReportWindow& report, std::istream& in, std::ostream& out) {
  write_report(out, report);
  std::vector<std::string> labels;
  for (const ReportRow& r : report.rows()) {
    if (r.style == ReportRowStyle::kOption) labels.push_back(r.label);
  }
  for (const std::string& label : labels) {
    while (true) {
      out << label << "? [s/n, c: cancelar, vacío: como está] " << std::flush;
      std::string line;
      if (!std::getline(in, line)) return;
      const std::string answer = trimmed_lower(line);
      if (answer.empty()) break;
      if (answer == "c") return report.cancel();
      if (answer == "s" || answer == "y" || answer == "n") {
        report.set_checked(label, answer != "n");
        break;
      }
    }
  }
}

}  // namespace kestrel::platform
