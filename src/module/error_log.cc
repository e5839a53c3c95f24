#include "module/error_log.h"

#include <exception>
#include <new>

#include "core/numeric.h"
#include "module/settings_access.h"

namespace kestrel {

namespace {

constexpr std::string_view kErrorsWord = "Errores";

// True when the exception being handled, if any, is an out-of-memory error.
bool handling_out_of_memory() noexcept {
  const std::exception_ptr current = std::current_exception();
  if (!current) return false;
  try {
    std::rethrow_exception(current);
  } catch (const std::bad_alloc&) {
    return true;
  } catch (const core::Error& e) {
    return e.number() == core::kOutOfMemory;
  } catch (...) {
    return false;
  }
}

// The stored counter as a Long; error 13 for a text that is not a number,
// 6 beyond the Long range.
std::int32_t stored_counter(const std::optional<std::string>& text) {
  if (!text) return 0;
  return core::clng(core::to_number(*text));
}

}  // namespace

void ErrorLog::log(const std::string& message, const std::string& title) {
  if (handling_out_of_memory()) {
    const std::uint64_t now = run();
    if (now != 0 && now == memory_run_) return;  // this run's shortage is already known
    memory_run_ = now;
    if (now != 0) stop_ = core::kTrue;
  }
  ++count_;
  (void)core::attempt([&] { message_box_.show(message, platform::kOkOnly | platform::kExclamation, title); });
  (void)core::attempt([&] { record(message, title); });
}

// Read, increment and write happen in one update of the store, so that
// processes logging at the same time never take the same number. Each step
// is tried on its own: a counter that cannot be read stays 0, one that cannot
// be incremented stays as read, and the entry is written under the number
// that results.
void ErrorLog::record(const std::string& message, const std::string& title) {
  settings_.update(kSettingsApp, settings_section(kErrorsWord), [&](platform::SectionEdit& errors) {
    std::int32_t counter = 0;
    (void)core::attempt([&] { counter = stored_counter(errors.read("Numero")); });
    (void)core::attempt([&] { counter = core::checked_add(counter, 1); });
    const std::string n = std::to_string(counter);
    errors.set("Numero", n);
    errors.set("Lugar " + n, message);
    errors.set("Error " + n, title);
  });
}

}  // namespace kestrel
