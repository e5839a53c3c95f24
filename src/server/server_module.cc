#include "server/server_module.h"

#include <windows.h>

#include <string>

#include "core/utf8.h"
#include "platform/automation_host.h"
#include "platform/settings.h"

namespace kestrel::server {
namespace {

// TODO(merge): the Windows services of platform/win32 and cad/dispatch
// (RegistrySettingsStore, Win32MessageBox, Win32Pointer, Win32MessagePump,
// Win32DialogService, DispatchAutomationHost, GdiTextMeasure) replace these
// stand-ins, which keep settings in memory, show nothing, answer every
// message box with its first button and know no CAD class.
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
