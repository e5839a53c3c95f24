#include "module/error_log.h"

#include <cstdint>

#include "core/numeric.h"
#include "module/settings_access.h"

namespace kestrel {

namespace {
constexpr std::string_view kErrorsWord = "Errores";
}

void ErrorLog::log(const std::string& message, const std::string& title) {
  ++count_;
  (void)core::attempt([&] { message_box_.show(message, platform::kOkOnly | platform::kExclamation, title); });
  // A missing or unreadable counter counts as 0, so the entry is still written.
  std::int32_t counter = 0;
  (void)core::attempt([&] {
    const double stored = core::val(read_setting(settings_, kErrorsWord, "Numero", "0"));
    counter = core::checked_add(core::clng(stored), 1);
  });
  if (counter == 0) return;  // the counter overflowed: nothing sensible to write
  const std::string n = std::to_string(counter);
  (void)core::skip_each([&] { save_setting(settings_, kErrorsWord, "Numero", n); },
                        [&] { save_setting(settings_, kErrorsWord, "Lugar " + n, message); },
                        [&] { save_setting(settings_, kErrorsWord, "Error " + n, title); });
}

}  // namespace kestrel
