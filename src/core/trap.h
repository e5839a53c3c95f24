// The error-trap convention. A routine runs its body under `trap`: any error
// is caught, turned into the routine's message (prefix, the number with a
// leading blank when not negative, separator, description, optionally one
// blank and a suffix such as MsgVersion) and handed to the error log; the
// routine then returns normally. `attempt` and `skip_each` run statements
// whose errors are ignored one by one.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/error.h"

namespace kestrel::core {

// Where trapped errors go (the bridge's ErrorLog).
class ErrorLogger {
 public:
  virtual ~ErrorLogger() = default;
  virtual void log(const std::string& message, const std::string& title) = 0;
};

// The current exception as a trapped Error: Error as it is, bad_alloc as 7,
// anything else as 51 with its text.
[[nodiscard]] Error current_error();

// The number as the run time's Str writes it: " 13", "-2147467259".
[[nodiscard]] std::string number_text(std::int32_t number);

struct TrapMessage {
  std::string_view prefix;     // "Mete - Error    nº "
  std::string_view separator;  // ":" or ": "
  // When set, one blank and this text follow the description (MsgVersion;
  // the blank is written even when the text is empty).
  std::optional<std::string_view> suffix{};
};

// prefix + number_text + separator + description [+ " " + *suffix].
[[nodiscard]] std::string compose_message(const TrapMessage& format, const Error& error);

// Runs `body`; on an error composes the message, logs it with the error's
// source as title and returns false.
template <class F>
bool trap(ErrorLogger& log, const TrapMessage& format, F&& body) {
  try {
    body();
    return true;
  } catch (...) {
    const Error e = current_error();
    log.log(compose_message(format, e), e.source());
    return false;
  }
}

// Runs one statement whose error is ignored; returns the error it raised.
template <class F>
std::optional<Error> attempt(F&& statement) {
  try {
    statement();
    return std::nullopt;
  } catch (...) {
    return current_error();
  }
}

// Runs each statement in turn, skipping the failing ones; returns the error
// of the last statement, if it failed.
template <class... F>
std::optional<Error> skip_each(F&&... statements) {
  std::optional<Error> last;
  ((last = attempt(std::forward<F>(statements))), ...);
  return last;
}

}  // namespace kestrel::core
