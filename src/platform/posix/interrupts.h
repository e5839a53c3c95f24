// What Ctrl-C (SIGINT), SIGTERM and SIGHUP do to a command-line run.
//
// An interrupt ends the run at once, cleanly: every temporary file being
// written is removed, a line goes to standard error, and the process exits
// with code 130. The one exception is the abort key: while a message pump
// waits for Ctrl-C as a dialog's abort key, the first Ctrl-C is only marked
// for the pump to deliver; a second one before the first was delivered ends
// the run as above.
//
// A signal handler can reach nothing but static data, so this file holds the
// process's only signal state: the registered temporary files and the abort
// key's flag. Registering works whether or not handlers are installed (a
// library user without them keeps the default signal actions).
#pragma once

#include <signal.h>

#include <atomic>
#include <string_view>

namespace kestrel::platform {

inline constexpr int kInterruptedExitCode = 130;

// Installs the handlers for the lifetime of the object and restores the
// previous ones on destruction. One at a time (std::logic_error otherwise).
// `message` (at most 200 bytes kept) is written to standard error on an
// interrupt, before the exit.
class InterruptHandlers {
 public:
  explicit InterruptHandlers(std::string_view message);
  ~InterruptHandlers();
  InterruptHandlers(const InterruptHandlers&) = delete;
  InterruptHandlers& operator=(const InterruptHandlers&) = delete;

 private:
  struct Saved;
  Saved* saved_;
};

// A temporary file an interrupt removes. Paths longer than the registry's
// slots, or more files than it holds at once, are not registered (and are
// then left behind by an interrupt, as without handlers).
class TemporaryRegistration {
 public:
  explicit TemporaryRegistration(std::string_view path) noexcept;
  ~TemporaryRegistration() { release(); }
  TemporaryRegistration(const TemporaryRegistration&) = delete;
  TemporaryRegistration& operator=(const TemporaryRegistration&) = delete;

  // The file is gone or renamed: an interrupt must no longer remove it.
  void release() noexcept;

 private:
  int slot_;
};

// Makes `pressed` the abort key's flag: the first Ctrl-C sets it instead of
// ending the run. nullptr stops that. Throws std::logic_error when another
// flag is already armed.
void arm_abort_key(std::atomic<bool>* pressed);
void disarm_abort_key() noexcept;

// Blocks the three signals for the lifetime of the object, so that a step
// (a rename and its bookkeeping) is never cut in half; a signal that arrived
// meanwhile is handled when the object goes.
class InterruptsDeferred {
 public:
  InterruptsDeferred() noexcept;
  ~InterruptsDeferred();
  InterruptsDeferred(const InterruptsDeferred&) = delete;
  InterruptsDeferred& operator=(const InterruptsDeferred&) = delete;

 private:
  sigset_t saved_mask_;
};

}  // namespace kestrel::platform
