// Writers in separate threads and processes, each with its own store object,
// write to one file at the same time: no update may be lost.
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/ini_file.h"
#include "platform/posix/ini_settings_store.h"
#include "platform/settings.h"
#include "platform/temp_folder.h"

namespace kestrel::platform {
namespace {

constexpr int kWriters = 4;
constexpr int kUpdates = 25;

std::string key_of(int writer, int update) { return "Clave " + std::to_string(writer) + "." + std::to_string(update); }
std::string section_of(int writer) { return "Merivox Escritor " + std::to_string(writer % 2); }

void write_all(const std::filesystem::path& root, int writer) {
  IniSettingsStore store = IniSettingsStore::in_folder(root);
  for (int u = 0; u < kUpdates; ++u) store.save("Merivox", section_of(writer), key_of(writer, u), std::to_string(u));
}

// Every writer's keys are present with their values, and nothing else.
void expect_all_updates(const std::filesystem::path& root) {
  IniSettingsStore store = IniSettingsStore::in_folder(root);
  EXPECT_EQ(ini::Document::parse(read_bytes(store.file_for("Merivox"))).entry_count(),
            static_cast<std::size_t>(kWriters * kUpdates));
  for (int w = 0; w < kWriters; ++w) {
    for (int u = 0; u < kUpdates; ++u) {
      EXPECT_EQ(store.read("Merivox", section_of(w), key_of(w, u)), std::to_string(u)) << key_of(w, u);
    }
  }
}

TEST(SettingsConcurrency, ThreadsWithTheirOwnStoresLoseNothing) {
  TempFolder folder;
  std::vector<std::thread> threads;
  for (int w = 0; w < kWriters; ++w) threads.emplace_back(write_all, folder.path(), w);
  for (auto& t : threads) t.join();
  expect_all_updates(folder.path());
}

TEST(SettingsConcurrency, ProcessesLoseNothing) {
  TempFolder folder;
  std::vector<pid_t> children;
  for (int w = 0; w < kWriters; ++w) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      try {
        write_all(folder.path(), w);
      } catch (...) {
        ::_exit(1);
      }
      ::_exit(0);
    }
    children.push_back(pid);
  }
  for (const pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "writer process failed";
  }
  expect_all_updates(folder.path());
}

}  // namespace
}  // namespace kestrel::platform
