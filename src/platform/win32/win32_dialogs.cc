#include "platform/win32/win32_dialogs.h"

#include "platform/win32/unattended.h"

namespace kestrel::platform {

void Win32DialogService::set_presenter(std::string form_name, Action present) {
  presenters_[std::move(form_name)] = std::move(present);
}

void Win32DialogService::set_unattended_action(std::string form_name, Action act) {
  unattended_[std::move(form_name)] = std::move(act);
}

void Win32DialogService::show_modal(Form& form) {
  const auto presenter = presenters_.find(form.form_name());
  if (!unattended() && presenter != presenters_.end()) {
    const Action present = presenter->second;  // a copy: the form may register again
    present(form);
    return;
  }
  const auto action = unattended_.find(form.form_name());
  if (action == unattended_.end()) return;
  const Action act = action->second;
  act(form);
}

}  // namespace kestrel::platform
