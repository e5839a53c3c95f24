// The per-user settings store: text values by application, section and key.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

namespace kestrel::platform {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The stored value, or nullopt when the key is missing or the store cannot be read.
  [[nodiscard]] virtual std::optional<std::string> read(std::string_view app, std::string_view section,
                                                        std::string_view key) = 0;
  // Stores the value. Throws core::Error when the store cannot be written.
  virtual void save(std::string_view app, std::string_view section, std::string_view key,
                    std::string_view value) = 0;

  // GetSetting: the stored value or `fallback`.
  [[nodiscard]] std::string get(std::string_view app, std::string_view section, std::string_view key,
                                std::string_view fallback = {}) {
    return read(app, section, key).value_or(std::string(fallback));
  }
};

// Settings held in memory, for tests. Names are compared case-insensitively.
class MemorySettingsStore final : public SettingsStore {
 public:
  std::optional<std::string> read(std::string_view app, std::string_view section, std::string_view key) override;
  void save(std::string_view app, std::string_view section, std::string_view key, std::string_view value) override;
  [[nodiscard]] std::size_t size() const noexcept { return values_.size(); }

 private:
  std::map<std::tuple<std::string, std::string, std::string>, std::string, std::less<>> values_;
};

// Settings in INI files: one file per application, one [section] per section
// name, `key=value` lines. Every save re-reads the file under an advisory
// lock and replaces it atomically (temporary file + rename), so concurrent
// processes never lose each other's updates. A malformed or unreadable file
// reads as empty and is never overwritten by a save (the save fails instead,
// with core::Error 75). Sections and keys are compared case-insensitively.
// Reads take no lock: a file is only ever replaced whole.
// The file format is described in ini_file.h.
class IniSettingsStore final : public SettingsStore {
 public:
  // Files at root/<app>/settings.ini.
  static IniSettingsStore in_folder(std::filesystem::path root);
  // One file for every application (the CLI's --settings FILE); the
  // application name is then ignored.
  static IniSettingsStore single_file(std::filesystem::path file);
  // The user's store: files at default_config_root()/<app>/settings.ini.
  static IniSettingsStore for_user();

  std::optional<std::string> read(std::string_view app, std::string_view section, std::string_view key) override;
  void save(std::string_view app, std::string_view section, std::string_view key, std::string_view value) override;

  // The file that holds `app`'s settings. Throws core::Error 5 for an
  // application name that is not a plain folder name ("", "..", "a/b").
  [[nodiscard]] std::filesystem::path file_for(std::string_view app) const;

 private:
  IniSettingsStore(std::filesystem::path path, bool single) : path_(std::move(path)), single_(single) {}
  std::filesystem::path path_;
  bool single_;
};

// $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config, else the
// current folder.
[[nodiscard]] std::filesystem::path default_config_root();

}  // namespace kestrel::platform
