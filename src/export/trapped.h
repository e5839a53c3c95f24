// The error trap of the export routines whose message depends on what they
// were doing when the error struck (a step tag, the error number): the
// handler gets the trapped error and composes the message itself.
#pragma once

#include <string>

#include "core/trap.h"
#include "module/module.h"

namespace kestrel::exporting {

// Runs `body`; an error it raises is handed, as the trapped core::Error, to
// `handler`, and the routine then returns normally. True when no error struck.
template <class Body, class Handler>
bool run_trapped(Body&& body, Handler&& handler) {
  try {
    body();
    return true;
  } catch (...) {
    handler(core::current_error());
    return false;
  }
}

// Records `message` in the module's error log with the error's source as title.
inline void log_error(Module& module, const std::string& message, const core::Error& error) {
  module.error_log.log(message, error.source());
}

// Error numbers that, inside a generator, mean the CAD of the wrong bitness
// is bound: 91 (object not set) and 13 (type mismatch).
[[nodiscard]] constexpr bool wrong_bitness_error(std::int32_t number) noexcept {
  return number == core::kObjectNotSet || number == core::kTypeMismatch;
}

// What follows the error number in the messages for those two errors.
inline constexpr const char* kWrongBitnessAdvice = "Debes seleccionar correctamente tu versión de 32 o 64 bit de CAD";

}  // namespace kestrel::exporting
