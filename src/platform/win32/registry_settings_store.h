// Settings in the per-user registry, where the host's family of programs
// keeps its own: one REG_SZ value per key under the key
// "HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<app>\<section>".
// A value of another type reads as missing and stays until a save of that
// key replaces it; nothing here deletes a key or a value. Every write of an
// application's settings, and every update from its read to its last write,
// holds a named mutex of that application, so that threads and processes
// lose none of each other's updates (the error log's counter).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/settings.h"

namespace kestrel::platform {

class RegistrySettingsStore final : public SettingsStore {
 public:
  // Under `root` below HKEY_CURRENT_USER (tests use a root of their own).
  explicit RegistrySettingsStore(std::wstring root = L"Software\\VB and VBA Program Settings");

  std::optional<std::string> read(std::string_view app, std::string_view section, std::string_view key) override;
  // Error 75 (naming the key and the system's reason) when the value cannot be written.
  void save(std::string_view app, std::string_view section, std::string_view key, std::string_view value) override;
  void update(std::string_view app, std::string_view section, const Update& change) override;

 private:
  [[nodiscard]] std::wstring key_path(std::string_view app, std::string_view section) const;
  void write(std::string_view app, std::string_view section, std::string_view key, std::string_view value);

  std::wstring root_;
};

}  // namespace kestrel::platform
