// The errors the in-memory CAD answers with. Refusals carry the automation
// error number a CAD gives (E_FAIL) and a Spanish description; they are
// raised without a source, and the dispatch boundary fills in the source of
// the application that owns the object (see automation.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/error.h"

namespace kestrel::memcad {

// A call the CAD refuses (bad geometry, empty names, zero scales ...).
inline constexpr std::int32_t kRefused = core::kAutomationError;
// An index or a name that the collection does not hold (E_INVALIDARG).
inline constexpr std::int32_t kNotFound = -2147024809;
// A class name GetInterfaceObject does not know (CO_E_CLASSSTRING).
inline constexpr std::int32_t kInvalidClassString = -2147221005;
// The application has been closed: every call fails as with a dead server.
inline constexpr std::int32_t kServerUnavailable = 462;

// The source of errors raised outside any application (a standalone document).
inline constexpr const char* kStandaloneSource = "memcad";

[[noreturn]] void raise_refused(std::string description);
[[noreturn]] void raise_not_found(std::string_view what);
// Escape pressed at a prompt.
[[noreturn]] void raise_cancelled();
// The object was deleted, exploded away or its drawing was closed.
[[noreturn]] void raise_erased();
[[noreturn]] void raise_drawing_closed();

}  // namespace kestrel::memcad
