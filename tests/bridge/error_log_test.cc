#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <new>
#include <optional>
#include <set>

#include "bridge_fixture.h"
#include "platform/posix/ini_settings_store.h"
#include "platform/temp_folder.h"

namespace kestrel::bridge {
namespace {

// Reading the counter and adding one are steps of their own: the one that
// fails is skipped and the entry is written under the number that results.
TEST_F(BridgeTest, TheEntryIsWrittenUnderWhateverNumberTheStepsGive) {
  const struct {
    std::optional<std::string> stored;
    std::string number;
  } cases[] = {
      {std::nullopt, "1"}, {"41", "42"}, {"abc", "1"},     {"-1", "0"},
      {"1e20", "1"},       {"2.5", "3"}, {"2147483647", "2147483647"},  // the increment overflows
  };
  for (const auto& c : cases) {
    platform::MemorySettingsStore store;
    if (c.stored) save_setting(store, "Errores", "Numero", *c.stored);
    core::VbBool stop = core::kFalse;
    ErrorLog log(message_box, store, stop);
    log.log("mensaje", "fuente");
    const auto read = [&](const std::string& key) { return read_setting(store, "Errores", key, ""); };
    EXPECT_EQ(std::tuple(read("Numero"), read("Lugar " + c.number), read("Error " + c.number)),
              std::tuple(c.number, "mensaje", "fuente"))
        << c.stored.value_or("(none)");
  }
}

// Two programs logging into one settings file at once: every error keeps an entry of its own.
TEST(ErrorLogProcesses, LogIntoOneFileWithoutLosingAnEntry) {
  constexpr int kProcesses = 2;
  constexpr int kErrors = 250;
  platform::TempFolder folder;
  const auto file = folder.path() / "settings.ini";
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; ++p) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      auto store = platform::IniSettingsStore::single_file(file);
      test_support::ScriptedMessageBox box;
      core::VbBool stop = core::kFalse;
      ErrorLog log(box, store, stop);
      for (int e = 0; e < kErrors; ++e) log.log(std::to_string(p) + "." + std::to_string(e), "fuente");
      ::_exit(0);
    }
    children.push_back(pid);
  }
  for (const pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  auto store = platform::IniSettingsStore::single_file(file);
  EXPECT_EQ(read_setting(store, "Errores", "Numero", ""), std::to_string(kProcesses * kErrors));
  std::set<std::string> messages;
  for (int n = 1; n <= kProcesses * kErrors; ++n) {
    messages.insert(read_setting(store, "Errores", "Lugar " + std::to_string(n), "<missing>"));
  }
  EXPECT_EQ(messages.size(), static_cast<std::size_t>(kProcesses * kErrors));
  EXPECT_FALSE(messages.contains("<missing>"));
}

// Out of memory in a walk: the innermost trap logs it, the walk stops, the
// enclosing trap does not log it again, and the generators' stop flag is set.
TEST_F(BridgeTest, RunningOutOfMemoryIsLoggedOncePerRunAndEndsTheWalk) {
  int entity_reads = 0;
  const auto walk = [&] {
    core::trap(module.error_log, {"Entidades en ZWCad - Error    nº ", ": "}, [&] {
      for (int k = 0; k < 10; ++k) {
        core::trap(module.error_log, {"Entidad:", ":"}, [&] {
          ++entity_reads;
          throw std::bad_alloc();
        });
      }
    });
  };
  walk();
  EXPECT_EQ(entity_reads, 1);
  EXPECT_EQ(shown_texts(), std::vector<std::string>{"Entidad: 7:Memoria insuficiente"});
  EXPECT_EQ(std::tuple(error_setting("Numero"), module.model.Cancelar), std::tuple("1", core::kTrue));
  walk();  // a new call is a new run
  EXPECT_EQ(std::tuple(entity_reads, message_box.shown().size()), std::tuple(2, 2u));
}

}  // namespace
}  // namespace kestrel::bridge
