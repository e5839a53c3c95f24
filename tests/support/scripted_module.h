// A Module on scripted services: what every scenario test starts from.
// Header-only, so the support library stays below the module layer.
#pragma once

#include "module/module.h"
#include "platform/automation_host.h"
#include "platform/settings.h"
#include "support/scripted_ui.h"
#include "support/fixed_text_measure.h"

namespace kestrel::test_support {

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
