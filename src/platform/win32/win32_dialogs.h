// Modal forms on Windows. A form is shown by the presenter registered for
// its name (a window over the form's model, supplied by the layer that
// knows the form). In unattended mode (unattended.h), and for a form with
// no presenter, the form's unattended action runs instead: for the export
// dialog, accepting it with the options its settings hold. A form with
// neither closes at once, as if cancelled.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "platform/ui.h"

namespace kestrel::platform {

class Win32DialogService final : public DialogService {
 public:
  using Action = std::function<void(Form&)>;

  void set_presenter(std::string form_name, Action present);
  void set_unattended_action(std::string form_name, Action act);

  void show_modal(Form& form) override;

 private:
  std::map<std::string, Action, std::less<>> presenters_;
  std::map<std::string, Action, std::less<>> unattended_;
};

}  // namespace kestrel::platform
