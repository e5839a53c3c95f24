// ErrorLog: where every trapped error ends. It shows the message in a modal
// message box (exclamation icon, OK, the error's source as caption) and
// records it in the settings section "Merivox Errores": the counter "Numero"
// grows by one and the message and title are stored under "Lugar n" and
// "Error n", in one update of the store that no other process can come
// between. Each step is tried on its own; a failing one is skipped, and
// nothing that fails inside the log is logged again.
//
// Out of memory (the error being handled is std::bad_alloc or error 7) is
// shown and recorded once per run (core::ErrorLogger::run) and stops the
// run: core::trap passes the error on to the enclosing trapped routines, and
// the stop flag (the model's Cancelar, which every export generator tests at
// its progress steps) is set, as the abort key sets it.
#pragma once

#include <cstdint>
#include <string>

#include "core/numeric.h"
#include "core/trap.h"
#include "platform/settings.h"
#include "platform/ui.h"

namespace kestrel {

class ErrorLog final : public core::ErrorLogger {
 public:
  ErrorLog(platform::MessageBoxService& message_box, platform::SettingsStore& settings, core::VbBool& stop)
      : message_box_(message_box), settings_(settings), stop_(stop) {}

  void log(const std::string& message, const std::string& title) override;

  // Runs `saves`, settings saves whose failure must not end the routine
  // around them: an error is logged as `trap` logs it (a store's error names
  // the file and the reason), counted in failed_saves(), and the caller goes
  // on. Returns false after an error.
  template <class F>
  bool trap_saves(const core::TrapMessage& format, F&& saves) {
    return core::trap(*this, format, [&] {
      try {
        saves();
      } catch (const core::Error& e) {
        if (e.number() != core::kOutOfMemory) ++failed_saves_;
        throw;
      }
    });
  }

  // How many errors were shown and recorded through this object.
  [[nodiscard]] std::size_t count() const noexcept { return count_; }
  // How many of them were settings that could not be saved (trap_saves).
  [[nodiscard]] std::size_t failed_saves() const noexcept { return failed_saves_; }
  // True once an out-of-memory error was logged.
  [[nodiscard]] bool ran_out_of_memory() const noexcept { return memory_run_ != kNoRun; }

 private:
  static constexpr std::uint64_t kNoRun = static_cast<std::uint64_t>(-1);

  void record(const std::string& message, const std::string& title);

  platform::MessageBoxService& message_box_;
  platform::SettingsStore& settings_;
  core::VbBool& stop_;
  std::size_t count_ = 0;
  std::size_t failed_saves_ = 0;
  std::uint64_t memory_run_ = kNoRun;  // the run whose out-of-memory error was logged
};

}  // namespace kestrel
