// The per-user settings store: text values by application, section and key.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>


namespace kestrel::platform {

// One section as an update sees it: the stored values, and the values the
// update sets (which its own later reads see).
class SectionEdit {
 public:
  using Reader = std::function<std::optional<std::string>(std::string_view key)>;
  explicit SectionEdit(Reader stored) : stored_(std::move(stored)) {}

  [[nodiscard]] std::optional<std::string> read(std::string_view key) const;
  void set(std::string_view key, std::string_view value);
  [[nodiscard]] const std::vector<std::pair<std::string, std::string>>& changes() const noexcept { return changes_; }

 private:
  Reader stored_;
  std::vector<std::pair<std::string, std::string>> changes_;
};

class SettingsStore {
 public:
  using Update = std::function<void(SectionEdit&)>;

  virtual ~SettingsStore() = default;
  // The stored value, or nullopt when the key is missing or the store cannot be read.
  [[nodiscard]] virtual std::optional<std::string> read(std::string_view app, std::string_view section,
                                                        std::string_view key) = 0;
  // Stores the value. Throws core::Error when the store cannot be written.
  virtual void save(std::string_view app, std::string_view section, std::string_view key,
                    std::string_view value) = 0;
  // Runs `change` on `section` as one step that no other writer of the store
  // (another store object, thread or process) can come between: what it
  // reads is current, and what it sets is stored before anyone else reads or
  // writes. A read-increment-write therefore loses no update. When `change`
  // throws, nothing is stored and the error goes on to the caller. Throws
  // core::Error when the store cannot be read for the update or written.
  virtual void update(std::string_view app, std::string_view section, const Update& change) = 0;

  // GetSetting: the stored value or `fallback`.
  [[nodiscard]] std::string get(std::string_view app, std::string_view section, std::string_view key,
                                std::string_view fallback = {}) {
    return read(app, section, key).value_or(std::string(fallback));
  }
};

// Settings held in memory, for tests. Names are compared case-insensitively.
// One object serves one thread.
class MemorySettingsStore final : public SettingsStore {
 public:
  std::optional<std::string> read(std::string_view app, std::string_view section, std::string_view key) override;
  void save(std::string_view app, std::string_view section, std::string_view key, std::string_view value) override;
  void update(std::string_view app, std::string_view section, const Update& change) override;
  [[nodiscard]] std::size_t size() const noexcept { return values_.size(); }

 private:
  std::map<std::tuple<std::string, std::string, std::string>, std::string, std::less<>> values_;
};

}  // namespace kestrel::platform
