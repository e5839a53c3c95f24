// The platform services a module works with. The composition root (the CLI,
// a test, the automation server) owns them and hands references in.
#pragma once

#include "platform/automation_host.h"
#include "platform/settings.h"
#include "platform/text_measure.h"
#include "platform/ui.h"

namespace kestrel {

struct Services {
  platform::SettingsStore& settings;
  platform::MessageBoxService& message_box;
  platform::MousePointer& pointer;
  platform::MessagePump& pump;
  platform::DialogService& dialogs;
  platform::AutomationHost& automation;
  platform::TextMeasure& text_measure;  // label widths
};

}  // namespace kestrel
