#include "module/settings_access.h"

namespace kestrel {

std::string settings_section(std::string_view word) {
  std::string section(kSettingsApp);
  section.append(" ").append(word);
  return section;
}

std::string read_setting(platform::SettingsStore& store, std::string_view word, std::string_view key,
                         std::string_view fallback) {
  return store.get(kSettingsApp, settings_section(word), key, fallback);
}

void save_setting(platform::SettingsStore& store, std::string_view word, std::string_view key, std::string_view value) {
  store.save(kSettingsApp, settings_section(word), key, value);
}

}  // namespace kestrel
