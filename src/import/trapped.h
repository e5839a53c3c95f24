// The error trap of the import routines: a routine's errors end in the
// module's error log under the routine's own prefix, and the routine then
// returns what it had built so far.
#pragma once

#include <string_view>

#include "core/trap.h"
#include "module/module.h"

namespace kestrel::importing {

// The separator between the error number and its description.
inline constexpr std::string_view kImportSeparator = ": ";

// Runs `body` under the trap whose message begins with `prefix`.
// True when no error struck.
template <class F>
bool run_trapped(Module& module, std::string_view prefix, F&& body) {
  return core::trap(module.error_log, core::TrapMessage{prefix, kImportSeparator}, std::forward<F>(body));
}

}  // namespace kestrel::importing
