#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <optional>
#include <set>
#include <span>

#include "bridge_fixture.h"
#include "platform/posix/ini_settings_store.h"
#include "platform/temp_folder.h"

namespace kestrel::bridge {
namespace {

TEST_F(BridgeTest, TwoErrorsInARowContinueTheCounter) {
  save_setting(settings, "Errores", "Numero", "5");
  module.error_log.log("primero", "Fuente A");
  module.error_log.log("segundo", "Fuente B");

  EXPECT_EQ(error_setting("Numero"), "7");
  EXPECT_EQ(error_setting("Lugar 6"), "primero");
  EXPECT_EQ(error_setting("Error 6"), "Fuente A");
  EXPECT_EQ(error_setting("Lugar 7"), "segundo");
  EXPECT_EQ(error_setting("Error 7"), "Fuente B");
  ASSERT_EQ(message_box.shown().size(), 2u);
  EXPECT_EQ(message_box.shown()[1].text, "segundo");
  EXPECT_EQ(message_box.shown()[1].title, "Fuente B");
  EXPECT_EQ(message_box.shown()[1].style, platform::kOkOnly | platform::kExclamation);
}

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
    EXPECT_EQ(read_setting(store, "Errores", "Numero", ""), c.number) << c.stored.value_or("(none)");
    EXPECT_EQ(read_setting(store, "Errores", "Lugar " + c.number, ""), "mensaje") << c.number;
    EXPECT_EQ(read_setting(store, "Errores", "Error " + c.number, ""), "fuente") << c.number;
  }
}

// A store that can be read but never written, like a settings file in a
// folder that is not ours; it counts the writes tried.
class ReadOnlyStore final : public platform::SettingsStore {
 public:
  std::optional<std::string> read(std::string_view, std::string_view, std::string_view) override {
    return std::nullopt;
  }
  void save(std::string_view, std::string_view, std::string_view, std::string_view) override {
    ++writes;
    core::raise(75);
  }
  void update(std::string_view, std::string_view, const Update&) override {
    ++writes;
    core::raise(75);
  }
  int writes = 0;
};

TEST_F(BridgeTest, AStoreThatCannotBeWrittenStillShowsTheMessageAndTriesOnce) {
  ReadOnlyStore store;
  core::VbBool stop = core::kFalse;
  ErrorLog log(message_box, store, stop);
  EXPECT_NO_THROW(log.log("mensaje", "fuente"));
  ASSERT_EQ(message_box.shown().size(), 1u);  // the failed record is not logged in turn
  EXPECT_EQ(message_box.shown()[0].text, "mensaje");
  EXPECT_EQ(store.writes, 1);
  EXPECT_EQ(log.count(), 1u);
}

// Two programs logging at the same time into one settings file: every
// error keeps an entry of its own and the counter counts them all.
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

// An automation object answering from a function; an empty answer is the
// object itself (a progress form's labels and bar).
class Fake final : public core::SharedObject {
 public:
  using Answer = std::function<core::Variant(std::string_view member, std::span<core::Variant> args)>;
  explicit Fake(Answer answer) : answer_(std::move(answer)) {}
  std::string_view type_name() const override { return "Fake"; }
  core::Variant get(std::string_view member) override { return call(member, {}); }
  void put(std::string_view, const core::Variant&) override {}
  core::Variant call(std::string_view member, std::span<core::Variant> args) override {
    core::Variant v = answer_(member, args);
    return v.is_empty() ? core::Variant(shared_from_this()) : v;
  }

 private:
  Answer answer_;
};

// A drawing of `count` entities, each of which runs out of memory when read.
core::ObjectRef starving_cad(std::int32_t count, int& entity_reads) {
  auto entity = std::make_shared<Fake>([&](std::string_view, auto) -> core::Variant {
    ++entity_reads;
    throw std::bad_alloc();
  });
  auto space = std::make_shared<Fake>([=](std::string_view m, auto) {
    return m == "Count" ? core::Variant(count) : core::Variant(core::ObjectRef(entity));
  });
  auto layers = std::make_shared<Fake>([](std::string_view, auto) { return core::Variant(std::int32_t{0}); });
  auto document = std::make_shared<Fake>([=](std::string_view m, auto) {
    if (m == "ModelSpace") return core::Variant(core::ObjectRef(space));
    if (m == "Layers") return core::Variant(core::ObjectRef(layers));
    if (m == "Limits") return core::Variant(core::VbArray<double>(0, {0, 0, 10, 10}));
    return core::Variant("Dibujo1.dwg");
  });
  return std::make_shared<Fake>([=](std::string_view m, auto) {
    return m == "ActiveDocument" ? core::Variant(core::ObjectRef(document)) : core::Variant();
  });
}

TEST_F(BridgeTest, RunningOutOfMemoryInAWalkIsLoggedOnceAndEndsIt) {
  int entity_reads = 0;
  module.cad.Aplicacion = core::Obj(starving_cad(10'000, entity_reads));
  module.cad.FamiliaCad = "ZWCad";
  const core::Obj form(std::make_shared<Fake>([](std::string_view, auto) { return core::Variant(); }));
  std::string ff;
  core::VbBool todo = core::kFalse, salir = core::kFalse, bloques = core::kFalse;

  (void)kestrel->Copia__Todo(form, ff, todo, salir, bloques);
  EXPECT_EQ(entity_reads, 1);
  ASSERT_EQ(message_box.shown().size(), 1u);
  EXPECT_EQ(message_box.shown()[0].text, "Entidades en ZWCad - Error    nº  7: Memoria insuficiente");
  EXPECT_EQ(error_setting("Numero"), "1");
  EXPECT_EQ(module.model.Cancelar, core::kTrue);  // the export generators stop too

  (void)kestrel->Copia__Todo(form, ff, todo, salir, bloques);  // a new call is a new run
  EXPECT_EQ(entity_reads, 2);
  EXPECT_EQ(message_box.shown().size(), 2u);
}

}  // namespace
}  // namespace kestrel::bridge
