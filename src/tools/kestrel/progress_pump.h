// The CLI's message pump: the terminal pump (Ctrl-C is the abort key) that
// also draws the export dialog's progress bar and status line on stderr
// each time the engine lets messages through.
#pragma once

#include <cstdio>
#include <string>

#include "export/control.h"
#include "platform/posix/terminal_ui.h"

namespace kestrel::cli {

class ProgressPump final : public platform::MessagePump {
 public:
  // Draws only when `draw` is true (stderr is a terminal and not --quiet).
  explicit ProgressPump(bool draw) : draw_(draw) {}
  ~ProgressPump() override { finish(); }

  // The progress bar and status label to show (nullptr: none).
  void watch(const exporting::Control* bar, const exporting::Control* status) {
    bar_ = bar;
    status_ = status;
  }
  // Clears the progress line, if one was drawn.
  void finish();

  void do_events() override;
  void set_key_target(platform::KeyTarget* target) override { terminal_.set_key_target(target); }

 private:
  void draw();

  platform::TerminalPump terminal_;
  bool draw_;
  bool drawn_ = false;
  const exporting::Control* bar_ = nullptr;
  const exporting::Control* status_ = nullptr;
};

}  // namespace kestrel::cli
