#include "server/server_module.h"

#include <windows.h>

#if __has_include("platform/win32/registry_settings_store.h") && \
    __has_include("cad/dispatch/dispatch_automation_host.h")
#define KESTREL_SERVER_WINDOWS_SERVICES 1
#include "cad/dispatch/dispatch_automation_host.h"
#include "export/f_acad.h"
#include "platform/win32/gdi_text_measure.h"
#include "platform/win32/registry_settings_store.h"
#include "platform/win32/unattended.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_ui.h"
#else
#include "core/utf8.h"
#include "platform/automation_host.h"
#include "platform/settings.h"
#endif

namespace kestrel::server {
namespace {

#ifdef KESTREL_SERVER_WINDOWS_SERVICES

// The Windows services: settings in the per-user registry, real message
// boxes and pointer, the host thread's messages, CAD classes through COM,
// GDI text widths. The export dialog has no window of its own yet: it closes
// as if cancelled, and in unattended runs it is accepted as its settings
// leave it.
struct ServerServices {
  platform::RegistrySettingsStore settings;
  platform::Win32MessageBox message_box;
  platform::Win32Pointer pointer;
  platform::Win32MessagePump pump;
  platform::Win32DialogService dialogs;
  win32::DispatchAutomationHost automation;
  platform::GdiTextMeasure text_measure;

  ServerServices() {
    if (!platform::unattended()) return;
    dialogs.set_unattended_action("f_Acad", [](platform::Form& form) {
      static_cast<exporting::f_Acad&>(form).click("cmdDatosaceptar");
    });
  }
};

#else

// Until the Windows services are built: settings in memory, no message box
// shown (each answers its first button), no CAD class known.
class QuietMessageBox final : public platform::MessageBoxService {
 public:
  int show(std::string_view, int style, std::string_view) override {
    switch (style & 7) {
      case platform::kYesNoCancel:
      case platform::kYesNo: return platform::kYes;
      default: return platform::kOk;
    }
  }
};

class StoredPointer final : public platform::MousePointer {
 public:
  void set(int shape) override { shape_ = shape; }
  [[nodiscard]] int shape() const override { return shape_; }

 private:
  int shape_ = platform::kPointerDefault;
};

class PendingMessages final : public platform::MessagePump {
 public:
  void do_events() override {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  void set_key_target(platform::KeyTarget*) override {}
};

class ClosedDialogs final : public platform::DialogService {
 public:
  void show_modal(platform::Form&) override {}
};

class AverageTextMeasure final : public platform::TextMeasure {
 public:
  double width(std::string_view text, double size, std::string_view) override {
    return 0.6 * size * static_cast<double>(core::count_chars(text, 0, text.size()));
  }
};

struct ServerServices {
  platform::MemorySettingsStore settings;
  QuietMessageBox message_box;
  StoredPointer pointer;
  PendingMessages pump;
  ClosedDialogs dialogs;
  platform::InProcessAutomationHost automation;
  AverageTextMeasure text_measure;
};

#endif

}  // namespace

Module& server_module() {
  // Lives until the library unloads: the drawing model and the CAD session
  // outlast every object, as hosts expect.
  static ServerServices services;
  static Module module(Services{services.settings, services.message_box, services.pointer, services.pump,
                                services.dialogs, services.automation, services.text_measure});
  return module;
}

}  // namespace kestrel::server
