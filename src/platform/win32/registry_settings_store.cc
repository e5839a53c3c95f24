#include "platform/win32/registry_settings_store.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "core/error.h"
#include "platform/win32/wide_text.h"

namespace kestrel::platform {
namespace {

class KeyHandle {
 public:
  KeyHandle() = default;
  KeyHandle(const KeyHandle&) = delete;
  KeyHandle& operator=(const KeyHandle&) = delete;
  ~KeyHandle() {
    if (key_) RegCloseKey(key_);
  }
  [[nodiscard]] HKEY* put() noexcept { return &key_; }
  [[nodiscard]] HKEY get() const noexcept { return key_; }

 private:
  HKEY key_ = nullptr;
};

// Holds the application's settings mutex from construction to destruction.
class SettingsLock {
 public:
  explicit SettingsLock(std::string_view app) {
    // Mutex names may not hold "\": the application name goes in with
    // those replaced; case is folded so that "merivox" is the same lock.
    const std::wstring prefix = L"Local\\Kestrel.Settings.";
    std::wstring name = prefix + widen(app);
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
      if (name[i] == L'\\') name[i] = L'/';
      if (name[i] >= L'A' && name[i] <= L'Z') name[i] = static_cast<wchar_t>(name[i] + 32);
    }
    mutex_ = CreateMutexW(nullptr, FALSE, name.c_str());
    if (!mutex_) core::raise(core::kPathFileAccess);
    // An owner that died holding it (WAIT_ABANDONED) left no half update:
    // each value is written whole.
    const DWORD waited = WaitForSingleObject(mutex_, INFINITE);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
      CloseHandle(mutex_);
      core::raise(core::kPathFileAccess);
    }
  }
  SettingsLock(const SettingsLock&) = delete;
  SettingsLock& operator=(const SettingsLock&) = delete;
  ~SettingsLock() {
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
  }

 private:
  HANDLE mutex_ = nullptr;
};

std::string system_message(LSTATUS status) {
  wchar_t* text = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, static_cast<DWORD>(status), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string message = length ? narrow(std::wstring_view(text, length)) : "error " + std::to_string(status);
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
    message.pop_back();
  }
  return message;
}

// The REG_SZ value `name` under the open key; nullopt when it is missing or not text.
std::optional<std::string> read_value(HKEY key, const std::wstring& name) {
  DWORD type = 0;
  DWORD bytes = 0;
  if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS || type != REG_SZ) {
    return std::nullopt;
  }
  std::vector<wchar_t> data(bytes / sizeof(wchar_t) + 1, L'\0');
  DWORD got = static_cast<DWORD>(data.size() * sizeof(wchar_t));
  if (RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &got) !=
          ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  // The stored data need not end with a terminator; take what is there up to one.
  std::wstring_view text(data.data(), got / sizeof(wchar_t));
  if (const auto end = text.find(L'\0'); end != std::wstring_view::npos) text = text.substr(0, end);
  return narrow(text);
}

}  // namespace

RegistrySettingsStore::RegistrySettingsStore(std::wstring root) : root_(std::move(root)) {}

std::wstring RegistrySettingsStore::key_path(std::string_view app, std::string_view section) const {
  return root_ + L"\\" + widen(app) + L"\\" + widen(section);
}

std::optional<std::string> RegistrySettingsStore::read(std::string_view app, std::string_view section,
                                                       std::string_view key) {
  KeyHandle handle;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key_path(app, section).c_str(), 0, KEY_QUERY_VALUE, handle.put()) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return read_value(handle.get(), widen(key));
}

void RegistrySettingsStore::save(std::string_view app, std::string_view section, std::string_view key,
                                 std::string_view value) {
  const SettingsLock lock(app);
  write(app, section, key, value);
}

void RegistrySettingsStore::update(std::string_view app, std::string_view section, const Update& change) {
  const SettingsLock lock(app);
  SectionEdit edit([&](std::string_view key) { return read(app, section, key); });
  change(edit);
  for (const auto& [key, value] : edit.changes()) write(app, section, key, value);
}

void RegistrySettingsStore::write(std::string_view app, std::string_view section, std::string_view key,
                                  std::string_view value) {
  const std::wstring path = key_path(app, section);
  KeyHandle handle;
  LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, handle.put(), nullptr);
  if (status == ERROR_SUCCESS) {
    const std::wstring name = widen(key);
    const std::wstring data = widen(value);
    status = RegSetValueExW(handle.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                            static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  }
  if (status != ERROR_SUCCESS) {
    throw core::Error(core::kPathFileAccess, core::kRuntimeSource,
                      core::standard_description(core::kPathFileAccess) + " (HKEY_CURRENT_USER\\" +
                          narrow(path) + ": " + system_message(status) + ")");
  }
}

}  // namespace kestrel::platform
