// The user-interface services on Windows: message boxes, the mouse pointer
// and the message pump of the calling (the host's user-interface) thread.
#pragma once

#include "platform/ui.h"

namespace kestrel::platform {

// MessageBoxW over the active window; the style's buttons, icon and
// default button are the Windows ones (the run time's values are the same).
// In unattended mode (unattended.h) the box is not shown: "title: text" goes
// to standard error and the default button is the answer.
class Win32MessageBox final : public MessageBoxService {
 public:
  int show(std::string_view text, int style, std::string_view title) override;
};

// The answer of the default button of a message box `style` (MB_DEFBUTTONn
// counted among the buttons of the style).
[[nodiscard]] int default_answer(int style) noexcept;

// The pointer over this program's windows: 11 the hourglass, 13 the arrow
// with hourglass, anything else the arrow.
class Win32Pointer final : public MousePointer {
 public:
  void set(int shape) override;
  [[nodiscard]] int shape() const override { return shape_; }

 private:
  int shape_ = kPointerDefault;
};

// Processes the messages waiting for this thread. A press of Escape goes to
// the key target (when there is one) instead of to its window; a WM_QUIT is
// put back for the host's own loop.
class Win32MessagePump final : public MessagePump {
 public:
  void do_events() override;
  void set_key_target(KeyTarget* target) override { target_ = target; }

 private:
  KeyTarget* target_ = nullptr;
};

}  // namespace kestrel::platform
