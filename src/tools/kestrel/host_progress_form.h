// The progress form the CLI hands to the import walks in the host's place:
// the labels LabXYZ(0..3) with their Caption, the bar ProgressBar1 (Max,
// Value, Visible), Show and SetFocus. What the walks write is kept as a
// bar and a status line that the CLI's message pump draws on stderr.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "core/dispatch.h"
#include "export/control.h"

namespace kestrel::cli {

class HostProgressForm final : public core::Dispatchable<HostProgressForm> {
 public:
  class Label;
  class Bar;

  [[nodiscard]] static std::shared_ptr<HostProgressForm> create();
  HostProgressForm();

  // What the pump draws: the bar, and the status line made of the phase
  // title (label 0), the document (label 3) and the count (label 1).
  [[nodiscard]] const exporting::Control& bar() const noexcept { return bar_; }
  [[nodiscard]] const exporting::Control& status() const noexcept { return status_; }
  [[nodiscard]] const std::string& caption(int label) const;
  // Show or SetFocus was called since the form was created.
  [[nodiscard]] bool shown() const noexcept { return shown_; }

  [[nodiscard]] std::string_view type_name() const override { return "frmProgreso"; }
  static const core::MemberTable<HostProgressForm>& member_table();

 private:
  void compose_status();

  exporting::Control bar_;
  exporting::Control status_;
  std::array<std::shared_ptr<Label>, 4> labels_;
  std::shared_ptr<Bar> bar_object_;
  bool shown_ = false;
};

}  // namespace kestrel::cli
