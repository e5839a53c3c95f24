#include "platform/settings.h"

#include "platform/name_fold.h"

namespace kestrel::platform {


std::optional<std::string> SectionEdit::read(std::string_view key) const {
  for (auto it = changes_.rbegin(); it != changes_.rend(); ++it) {
    if (same_name(it->first, key)) return it->second;
  }
  return stored_(key);
}

void SectionEdit::set(std::string_view key, std::string_view value) { changes_.emplace_back(key, value); }

std::optional<std::string> MemorySettingsStore::read(std::string_view app, std::string_view section,
                                                     std::string_view key) {
  const auto found = values_.find(std::tuple{fold_name(app), fold_name(section), fold_name(key)});
  if (found == values_.end()) return std::nullopt;
  return found->second;
}

void MemorySettingsStore::save(std::string_view app, std::string_view section, std::string_view key,
                               std::string_view value) {
  values_.insert_or_assign(std::tuple{fold_name(app), fold_name(section), fold_name(key)}, std::string(value));
}

void MemorySettingsStore::update(std::string_view app, std::string_view section, const Update& change) {
  SectionEdit edit([&](std::string_view key) { return read(app, section, key); });
  change(edit);
  for (const auto& [key, value] : edit.changes()) save(app, section, key, value);
}

}  // namespace kestrel::platform
