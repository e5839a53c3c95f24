#include "platform/posix/ini_settings_store.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "core/error.h"
#include "platform/name_fold.h"
#include "platform/posix/safe_output.h"

namespace kestrel::platform {
namespace {

namespace fs = std::filesystem;

// The run time's "path/file access error", naming the settings file and
// what went wrong with it.
core::Error access_error(const fs::path& file, const std::string& reason) {
  return core::Error(core::kPathFileAccess, core::kRuntimeSource,
                     core::standard_description(core::kPathFileAccess) + " (" + file.string() + ": " + reason + ")");
}

// Runs `step` on the settings file; its file and format errors become error 75.
template <class F>
decltype(auto) on_file(const fs::path& file, F&& step) {
  try {
    return step();
  } catch (const ini::FormatError& e) {
    // Rewriting would drop whatever the file holds that we cannot parse.
    throw access_error(file, std::string("mal formado, ") + e.what());
  } catch (const std::system_error& e) {
    throw access_error(file, e.what());
  } catch (const core::Error& e) {
    if (e.number() != core::kPathFileAccess) throw;
    throw access_error(file, e.description());  // the file writer's refusal
  }
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

void create_folder_of(const fs::path& file) {
  if (file.has_parent_path()) fs::create_directories(file.parent_path());
}

}  // namespace
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

IniSettingsStore::Snapshot& IniSettingsStore::current(const fs::path& file, const FileLock& lock) {
  const std::optional<std::uint64_t> writes = lock.writes();
  const std::optional<FileStamp> now = stamp_of(file);
  if (snapshot_ && snapshot_->file == file && snapshot_->writes == writes && snapshot_->stamp == now) {
    return *snapshot_;
  }
  snapshot_.reset();
  std::optional<StampedContent> content = now ? read_stamped(file) : std::nullopt;
  if (!content) return snapshot_.emplace(Snapshot{file, std::nullopt, writes, {}});
  return snapshot_.emplace(Snapshot{file, content->stamp, writes, ini::Document::parse(content->bytes)});
}

// Replaces the file with the snapshot's document, folded (ini::Document::compact).
// A file the user made read-only stays as it is, though its folder would let
// the rename through.
void IniSettingsStore::write_whole(Snapshot& snapshot) {
  if (snapshot.stamp && ::access(snapshot.file.c_str(), W_OK) != 0) {
    throw std::system_error(errno, std::generic_category(), "no se puede escribir en " + snapshot.file.string());
  }
  snapshot.document.compact();
  SafeFileOutput output(snapshot.file, {}, 0600);  // a new settings file is private
  output.write(snapshot.document.text());
  output.commit();
  snapshot.stamp = stamp_of(snapshot.file);
}

// Writes the snapshot's changes with `write`, under the writers' lock; the
// write is counted first, so that no other store trusts what it read before.
template <class Write>
void IniSettingsStore::commit(Snapshot& snapshot, FileLock& lock, Write&& write) {
  try {
    lock.count_write();
    write();
    snapshot.writes = lock.writes();
  } catch (...) {
    snapshot_.reset();  // the document no longer matches the file
    throw;
  }
}

std::optional<std::string> IniSettingsStore::read(std::string_view app, std::string_view section,
                                                  std::string_view key) {
  try {
    const fs::path file = file_for(app);
    const FileLock lock(lock_file_for(file), FileLock::Mode::kShared);
    if (const std::string* value = current(file, lock).document.find(section, key)) return *value;
  } catch (const std::exception&) {
    // An unreadable or malformed file reads as empty: callers use their defaults.
  }
  return std::nullopt;
}

void IniSettingsStore::save(std::string_view app, std::string_view section, std::string_view key,
                            std::string_view value) {
  const fs::path file = file_for(app);
  on_file(file, [&] {
    create_folder_of(file);
    FileLock lock(lock_file_for(file), FileLock::Mode::kExclusive);
    // Read inside the lock, so that another writer's update is kept.
    Snapshot& snapshot = current(file, lock);
    if (const std::string* old = snapshot.document.find(section, key); old && *old == value) return;
    commit(snapshot, lock, [&] {
      snapshot.document.set(section, key, value);
      write_whole(snapshot);
    });
  });
}

void IniSettingsStore::update(std::string_view app, std::string_view section, const Update& change) {
  const fs::path file = file_for(app);
  on_file(file, [&] { create_folder_of(file); });
  FileLock lock = on_file(file, [&] { return FileLock(lock_file_for(file), FileLock::Mode::kExclusive); });
  Snapshot& snapshot = on_file(file, [&]() -> Snapshot& { return current(file, lock); });
  SectionEdit edit([&](std::string_view key) -> std::optional<std::string> {
    if (const std::string* value = snapshot.document.find(section, key)) return *value;
    return std::nullopt;
  });
  change(edit);
  if (edit.changes().empty()) return;
  on_file(file, [&] {
    commit(snapshot, lock, [&] {
      if (snapshot.stamp && snapshot.document.appendable()) {
        snapshot.stamp = append_to_file(file, snapshot.document.append(section, edit.changes()));
        return;
      }
      for (const auto& [key, value] : edit.changes()) snapshot.document.set(section, key, value);
      write_whole(snapshot);
    });
  });
}

fs::path default_config_root() {
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg && fs::path(xdg).is_absolute()) return xdg;
  if (const char* home = std::getenv("HOME"); home && *home) return fs::path(home) / ".config";
  return fs::path(".");
}

}  // namespace kestrel::platform
