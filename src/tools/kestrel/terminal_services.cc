#include "platform/posix/ini_settings_store.h"
#include "tools/kestrel/terminal_services.h"

namespace kestrel::cli {

TerminalServices::TerminalServices(const std::optional<std::filesystem::path>& settings_file, bool show_progress)
    : settings_(settings_file ? platform::IniSettingsStore::single_file(*settings_file)
                              : platform::IniSettingsStore::for_user()),
      pump_(show_progress) {}

Services TerminalServices::services() {
  return Services{settings_, message_box_, pointer_, pump_, dialogs_, automation_, text_measure_};
}

}  // namespace kestrel::cli
