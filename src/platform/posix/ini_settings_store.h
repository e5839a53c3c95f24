// The settings store of the command-line program: INI files on disk.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

#include "platform/ini_file.h"
#include "platform/posix/shared_file.h"
#include "platform/settings.h"

namespace kestrel::platform {

// Settings in INI files: one file per application, one [section] per section
// name, `key=value` lines (format: ini_file.h; docs/settings-file.md).
// Writers hold an advisory lock (FileLock on `<file>.lock`) from their read
// to their write, so concurrent processes never lose each other's updates:
// - save() rewrites the whole file: a temporary file, flushed to disk, is
//   renamed over it, so no reader ever sees a part;
// - update() appends its entries to the file in one write, at a cost that
//   does not grow with the file (the error log's path).
// Readers take the lock shared, so they never see half an append either.
// Each store object keeps the file's last parsed state and reads the file
// again only when the lock file's count of writes or the file's stamp
// (inode, size, times) has changed; so one object serves one thread, and
// threads that share a file use objects of their own.
// A file that is not UTF-8 is read as Windows-1252 and rewritten whole, in
// UTF-8, by the next write. A malformed or unreadable file reads as empty and
// is never overwritten (writes fail instead, with core::Error 75 naming the
// file and the reason). Sections and keys are compared case-insensitively.
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
  void update(std::string_view app, std::string_view section, const Update& change) override;

  // The file that holds `app`'s settings. Throws core::Error 5 for an
  // application name that is not a plain folder name ("", "..", "a/b").
  [[nodiscard]] std::filesystem::path file_for(std::string_view app) const;

 private:
  // The parsed file, the stamp of what was parsed (none: no file) and the
  // count of writes the lock file held then (none: no lock could be had).
  struct Snapshot {
    std::filesystem::path file;
    std::optional<FileStamp> stamp;
    std::optional<std::uint64_t> writes;
    ini::Document document;
  };

  IniSettingsStore(std::filesystem::path path, bool single) : path_(std::move(path)), single_(single) {}
  // The file's document as it is now, read under `lock`: the snapshot when
  // nobody wrote the file since it was taken, else the file read again.
  // Throws std::system_error (unreadable) or ini::FormatError (malformed).
  Snapshot& current(const std::filesystem::path& file, const FileLock& lock);
  void write_whole(Snapshot& snapshot);
  template <class Write>
  void commit(Snapshot& snapshot, FileLock& lock, Write&& write);

  std::filesystem::path path_;
  bool single_;
  std::optional<Snapshot> snapshot_;
};

// $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config, else the
// current folder.
[[nodiscard]] std::filesystem::path default_config_root();

}  // namespace kestrel::platform
