// The services of one CLI run: settings file, terminal UI, an automation
// host with the in-memory CAD installed, and the module built on them.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "module/module.h"
#include "platform/automation_host.h"
#include "platform/settings.h"
#include "platform/terminal_ui.h"

namespace kestrel::cli {

class TerminalServices {
 public:
  // `settings_file`: the --settings file, else the user's settings store.
  explicit TerminalServices(const std::optional<std::filesystem::path>& settings_file);

  [[nodiscard]] Services services();
  platform::InProcessAutomationHost& automation() { return automation_; }
  platform::TerminalDialogs& dialogs() { return dialogs_; }

 private:
  platform::IniSettingsStore settings_;
  platform::TerminalMessageBox message_box_;
  platform::TerminalPointer pointer_;
  platform::TerminalPump pump_;
  platform::TerminalDialogs dialogs_;
  platform::InProcessAutomationHost automation_;
};

}  // namespace kestrel::cli
