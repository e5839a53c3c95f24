// The report window: a modal list of rows (section headings, plain rows of
// a label and a value, and options with a check box) under a caption. The
// library fills it and shows it through the dialog service; the user ticks
// or clears the options and closes it, or cancels. Afterwards the library
// reads the options' states and whether the user cancelled.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui.h"

namespace kestrel::platform {

enum class ReportRowStyle { kSection, kPlain, kOption };

struct ReportRow {
  std::string label;
  std::string value;  // empty for sections and options
  ReportRowStyle style = ReportRowStyle::kPlain;
  bool checked = false;  // options only
};

class ReportWindow final : public Form {
 public:
  static constexpr std::string_view kFormName = "ReportWindow";
  explicit ReportWindow(std::string caption) : caption_(std::move(caption)) {}

  [[nodiscard]] std::string_view form_name() const override { return kFormName; }
  [[nodiscard]] const std::string& caption() const noexcept { return caption_; }
  [[nodiscard]] const std::vector<ReportRow>& rows() const noexcept { return rows_; }

  void section(std::string label) { rows_.push_back({std::move(label), {}, ReportRowStyle::kSection, false}); }
  void row(std::string label, std::string value) {
    rows_.push_back({std::move(label), std::move(value), ReportRowStyle::kPlain, false});
  }
  void option(std::string label, bool checked) {
    rows_.push_back({std::move(label), {}, ReportRowStyle::kOption, checked});
  }

  // The user's side. set_checked on a label that is no option does nothing
  // and answers false.
  bool set_checked(std::string_view option_label, bool checked);
  void cancel() noexcept { cancelled_ = true; }

  // The state of the option `label` (false when there is none).
  [[nodiscard]] bool checked(std::string_view option_label) const noexcept;
  [[nodiscard]] bool cancelled() const noexcept { return cancelled_; }
  [[nodiscard]] bool has_options() const noexcept;

 private:
  std::string caption_;
  std::vector<ReportRow> rows_;
  bool cancelled_ = false;
};

// The report as text: the caption, then one line per row (a section as
// "[label]", a row as label and value, an option as "[x] label" or "[ ] label").
void write_report(std::ostream& out, const ReportWindow& report);

// A person at a terminal answers the report: it is written to `out`; for
// each option they type "s"/"y" (ticked), "n" (cleared) or an empty line
// (kept), or "c" to cancel. End of input keeps the states shown.
void answer_report(ReportWindow& report, std::istream& in, std::ostream& out);

}  // namespace kestrel::platform
