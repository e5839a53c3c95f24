// Reading and writing the program's settings: every setting lives under the
// application "Merivox", in a section named by a first word ("Merivox", or
// the library title "Quentar"), one blank and a second word.
#pragma once

#include <string>
#include <string_view>

#include "platform/settings.h"

namespace kestrel {

inline constexpr std::string_view kSettingsApp = "Merivox";
inline constexpr std::string_view kLibraryTitle = "Quentar";

// "Merivox " + word.
[[nodiscard]] std::string settings_section(std::string_view word);

// The value of `key` in section "Merivox <word>", or `fallback`.
[[nodiscard]] std::string read_setting(platform::SettingsStore& store, std::string_view word, std::string_view key,
                                       std::string_view fallback);
// Saves `value` under `key` in section "Merivox <word>".
void save_setting(platform::SettingsStore& store, std::string_view word, std::string_view key, std::string_view value);

}  // namespace kestrel
