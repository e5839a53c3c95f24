// The error-trap convention. A routine runs its body under `trap`: any error
// is caught, turned into the routine's message (prefix, the number with a
// leading blank when not negative, separator, description, optionally one
// blank and a suffix such as MsgVersion) and handed to the error log; the
// routine then returns normally. `attempt` and `skip_each` run statements
// whose errors are ignored one by one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/error.h"

namespace kestrel::core {

// Where trapped errors go (the module's ErrorLog). It also keeps count of
// the trapped routines running inside one another: the outermost one starts
// a run, and an out-of-memory error ends the whole run (see `trap`).
class ErrorLogger {
 public:
  virtual ~ErrorLogger() = default;
  virtual void log(const std::string& message, const std::string& title) = 0;

  // The run of the outermost trapped routine now running; 0 when none runs.
  [[nodiscard]] std::uint64_t run() const noexcept { return open_traps_ > 0 ? run_ : 0; }

  // Marks one trapped routine as running while it lives.
  class TrapScope {
   public:
    explicit TrapScope(ErrorLogger& log) noexcept : log_(log), depth_(++log.open_traps_) {
      if (depth_ == 1) ++log_.run_;
    }
    ~TrapScope() { --log_.open_traps_; }
    TrapScope(const TrapScope&) = delete;
    TrapScope& operator=(const TrapScope&) = delete;
    // Another trapped routine of the same log encloses this one.
    [[nodiscard]] bool nested() const noexcept { return depth_ > 1; }

   private:
    ErrorLogger& log_;
    int depth_;
  };

 private:
  int open_traps_ = 0;
  std::uint64_t run_ = 0;
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

// Composes the message and logs it with the error's source as title. Never
// throws: when memory is short even for the message, nothing is logged.
void report(ErrorLogger& log, const TrapMessage& format, const Error& error) noexcept;

// Runs `body`; on an error composes the message, logs it with the error's
// source as title and returns false. Out of memory (std::bad_alloc or error
// 7) is logged by the innermost trap and passed on to the enclosing ones, so
// that the walk it struck in stops; the outermost trap returns false.
template <class F>
bool trap(ErrorLogger& log, const TrapMessage& format, F&& body) {
  const ErrorLogger::TrapScope scope(log);
  try {
    body();
    return true;
  } catch (...) {
    const Error e = current_error();
    report(log, format, e);
    if (e.number() == kOutOfMemory && scope.nested()) throw;
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
