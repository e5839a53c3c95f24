// The services of one CLI run: settings file, terminal UI, an automation
// host with the in-memory CAD installed, and the module built on them.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "module/module.h"
#include "platform/automation_host.h"
#include "platform/posix/font_text_measure.h"
#include "platform/posix/ini_settings_store.h"
#include "platform/settings.h"
#include "platform/posix/terminal_ui.h"
#include "tools/kestrel/progress_pump.h"

namespace kestrel::cli {

class TerminalServices {
 public:
  // `settings_file`: the --settings file, else the user's settings store.
  // `show_progress`: draw progress bars on stderr.
  TerminalServices(const std::optional<std::filesystem::path>& settings_file, bool show_progress);

  [[nodiscard]] Services services();
  platform::InProcessAutomationHost& automation() { return automation_; }
  platform::TerminalDialogs& dialogs() { return dialogs_; }
  platform::TerminalMessageBox& message_box() { return message_box_; }
  ProgressPump& pump() { return pump_; }

 private:
  platform::IniSettingsStore settings_;
  platform::TerminalMessageBox message_box_;
  platform::TerminalPointer pointer_;
  ProgressPump pump_;
  platform::TerminalDialogs dialogs_;
  platform::InProcessAutomationHost automation_;
  platform::FontTextMeasure text_measure_;
};

}  // namespace kestrel::cli
