// A Module on scripted services: what every scenario test starts from.
// Header-only, so the support library stays below the module layer.
#pragma once

#include "core/utf8.h"
#include "module/module.h"
#include "platform/automation_host.h"
#include "platform/settings.h"
#include "platform/text_measure.h"
#include "support/scripted_ui.h"

namespace kestrel::test_support {

// Every character 0.5 × size wide, whatever the face: placements are checked by hand.
class FixedTextMeasure final : public platform::TextMeasure {
 public:
  [[nodiscard]] double width(std::string_view text, double size, std::string_view) override {
    return 0.5 * size * static_cast<double>(core::count_chars(text, 0, text.size()));
  }
};

struct ScriptedModule {
  platform::MemorySettingsStore settings;
  ScriptedMessageBox message_box;
  ScriptedPointer pointer;
  ScriptedPump pump;
  ScriptedDialogs dialogs;
  platform::InProcessAutomationHost host;
  FixedTextMeasure text_measure;
  Module module{Services{settings, message_box, pointer, pump, dialogs, host, text_measure}};
};

}  // namespace kestrel::test_support
