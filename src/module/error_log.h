// ErrorLog: where every trapped error ends. It shows the message in a modal
// message box (exclamation icon, OK, the error's source as caption) and
// records it in the settings section "Merivox Errores": the counter "Numero"
// grows by one and the message and title are stored under "Lugar n" and
// "Error n". Each step is tried on its own; a failing one is skipped.
#pragma once

#include <string>

#include "core/trap.h"
#include "platform/settings.h"
#include "platform/ui.h"

namespace kestrel {

class ErrorLog final : public core::ErrorLogger {
 public:
  ErrorLog(platform::MessageBoxService& message_box, platform::SettingsStore& settings)
      : message_box_(message_box), settings_(settings) {}

  void log(const std::string& message, const std::string& title) override;
  // How many errors were logged through this object.
  [[nodiscard]] std::size_t count() const noexcept { return count_; }

 private:
  platform::MessageBoxService& message_box_;
  platform::SettingsStore& settings_;
  std::size_t count_ = 0;
};

}  // namespace kestrel
