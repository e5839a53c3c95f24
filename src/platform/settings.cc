#include "platform/settings.h"

#include <cstdlib>
#include <system_error>

#include "core/error.h"
#include "platform/atomic_file.h"
#include "platform/ini_file.h"
#include "platform/name_fold.h"

namespace kestrel::platform {
namespace {

namespace fs = std::filesystem;

// The run time's "path/file access error", raised when the settings file
// cannot be read for an update or cannot be replaced.
core::Error access_error(const std::string& detail) {
  return core::Error(core::kPathFileAccess, core::kRuntimeSource,
                     core::standard_description(core::kPathFileAccess) + " (" + detail + ")");
}

// An application name is one folder name: not empty, no separators, no "." or "..".
bool is_folder_name(std::string_view app) noexcept {
  return !app.empty() && app != "." && app != ".." &&
         app.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

fs::path lock_file_for(const fs::path& file) {
  fs::path lock = file;
  lock += ".lock";
  return lock;
}

// The file's document; an empty one when the file does not exist.
// Throws std::system_error (unreadable) or ini::FormatError (malformed).
ini::Document load(const fs::path& file) {
  const auto text = read_file_if_exists(file);
  return text ? ini::Document::parse(*text) : ini::Document{};
}

}  // namespace

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

IniSettingsStore IniSettingsStore::in_folder(fs::path root) { return IniSettingsStore(std::move(root), false); }

IniSettingsStore IniSettingsStore::single_file(fs::path file) { return IniSettingsStore(std::move(file), true); }

IniSettingsStore IniSettingsStore::for_user() { return in_folder(default_config_root()); }

fs::path IniSettingsStore::file_for(std::string_view app) const {
  if (single_) return path_;
  if (!is_folder_name(app)) {
    throw core::Error(core::kInvalidCall, core::kRuntimeSource,
                      core::standard_description(core::kInvalidCall) + " (aplicación \"" + std::string(app) + "\")");
  }
  return path_ / fs::path(app) / "settings.ini";
}

std::optional<std::string> IniSettingsStore::read(std::string_view app, std::string_view section,
                                                  std::string_view key) {
  try {
    const ini::Document document = load(file_for(app));
    if (const std::string* value = document.find(section, key)) return *value;
  } catch (const std::exception&) {
    // An unreadable or malformed file reads as empty: callers use their defaults.
  }
  return std::nullopt;
}

void IniSettingsStore::save(std::string_view app, std::string_view section, std::string_view key,
                            std::string_view value) {
  const fs::path file = file_for(app);
  try {
    if (file.has_parent_path()) fs::create_directories(file.parent_path());
    const ExclusiveFileLock lock(lock_file_for(file));
    // Re-read inside the lock so that another writer's update is kept.
    ini::Document document = load(file);
    if (const std::string* old = document.find(section, key); old && *old == value) return;
    document.set(section, key, value);
    replace_file_atomically(file, document.text());
  } catch (const ini::FormatError& e) {
    // Rewriting would drop whatever the file holds that we cannot parse.
    throw access_error(file.string() + " mal formado, " + e.what());
  } catch (const std::system_error& e) {
    throw access_error(e.what());
  } catch (const core::Error& e) {
    throw access_error(e.description());
  }
}

fs::path default_config_root() {
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg && fs::path(xdg).is_absolute()) return xdg;
  if (const char* home = std::getenv("HOME"); home && *home) return fs::path(home) / ".config";
  return fs::path(".");
}

}  // namespace kestrel::platform
