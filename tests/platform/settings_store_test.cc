#include "platform/posix/ini_settings_store.h"
#include "platform/settings.h"

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <optional>
#include <thread>

#include "core/error.h"
#include "core/error_number.h"
#include "platform/ini_file.h"
#include "platform/temp_folder.h"

namespace kestrel::platform {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using core::testing_support::error_number;

constexpr const char* kApp = "Merivox";

// The description of the error 75 that `write` must raise, naming `file`.
std::string refusal(const std::function<void()>& write, const fs::path& file) {
  try {
    write();
  } catch (const core::Error& e) {
    EXPECT_EQ(e.number(), 75);
    EXPECT_NE(e.description().find("Error de acceso a la ruta o al archivo (" + file.string() + ": "),
              std::string::npos)
        << e.description();
    return e.description();
  }
  ADD_FAILURE() << "written";
  return {};
}

class IniStoreTest : public ::testing::Test {
 protected:
  TempFolder folder_;
  IniSettingsStore store_ = IniSettingsStore::in_folder(folder_.path());
  fs::path file_ = folder_.path() / "Merivox" / "settings.ini";
  std::size_t inode() const { return stamp_of(file_)->inode; }
};

TEST_F(IniStoreTest, SaveCreatesFoldersForApplicationsNamedAsFoldersAndWritesThePlainFormat) {
  // Application names must be folder names.
  for (const char* app : {"", ".", "..", "a/b", "..\\x"}) {
    EXPECT_EQ(store_.read(app, "s", "k"), std::nullopt) << app;
    EXPECT_EQ(error_number([&] { store_.save(app, "s", "k", "v"); }), core::kInvalidCall) << app;
  }
  EXPECT_TRUE(fs::is_empty(folder_.path()));
  EXPECT_EQ(store_.file_for(kApp), file_);
  store_.save(kApp, "Merivox Errores", "Numero", "1");
  store_.save(kApp, "Merivox Errores", "Lugar 1", " Bloques - Error    nº  5:\r\nDescripción");
  store_.save(kApp, "MERIVOX ERRORES", "NUMERO", "2");
  store_.save(kApp, "Quentar Posicion Autoca VB", "Estado", "0");
  EXPECT_EQ(read_bytes(file_),
            "[Merivox Errores]\nNumero=2\nLugar 1= Bloques - Error    nº  5:\\r\\nDescripción\n\n"
            "[Quentar Posicion Autoca VB]\nEstado=0\n");
  EXPECT_EQ(IniSettingsStore::in_folder(folder_.path()).read(kApp, "merivox errores", "lugar 1"),
            " Bloques - Error    nº  5:\r\nDescripción");
}

TEST_F(IniStoreTest, MalformedOrUnreadableFileReadsAsDefaultsAndIsNeverOverwritten) {
  const std::string malformed = "[Merivox Errores]\nNumero=4\n\nbasura\n";
  write_bytes(file_, malformed);
  EXPECT_EQ(store_.get(kApp, "Merivox Errores", "Numero", "0"), "0");
  const std::string said = refusal([&] { store_.save(kApp, "Merivox Errores", "Numero", "1"); }, file_);
  EXPECT_NE(said.find("línea 4"), std::string::npos) << said;
  EXPECT_EQ(read_bytes(file_), malformed);

  fs::remove(file_);
  fs::create_directories(file_);  // a folder where the file should be
  EXPECT_EQ(store_.read(kApp, "Merivox Errores", "Numero"), std::nullopt);
  EXPECT_THROW(store_.save(kApp, "Merivox Errores", "Numero", "1"), core::Error);
  EXPECT_TRUE(fs::is_directory(file_));
}

// The error log's path: entries are appended, the file is not replaced.
TEST_F(IniStoreTest, UpdatesAppendAndTheNextSaveFoldsThem) {
  store_.save(kApp, "Merivox Cad", "2D", "0");
  const std::string saved = read_bytes(file_);
  const auto before = inode();
  for (const char* message : {"uno", "dos"}) {
    store_.update(kApp, "Merivox Errores", [&](SectionEdit& errors) {
      const int n = std::stoi(errors.read("Numero").value_or("0")) + 1;
      errors.set("Numero", std::to_string(n));
      errors.set("Lugar " + std::to_string(n), message);
      EXPECT_EQ(errors.read("numero"), std::to_string(n));  // an update sees its own changes
    });
  }
  EXPECT_EQ(inode(), before);
  EXPECT_EQ(read_bytes(file_), saved + "\n[Merivox Errores]\nNumero=1\nLugar 1=uno\nNumero=2\nLugar 2=dos\n");
  store_.save(kApp, "Merivox Cad", "3D", "-1");
  EXPECT_EQ(read_bytes(file_), "[Merivox Cad]\n2D=0\n3D=-1\n\n[Merivox Errores]\nLugar 1=uno\nNumero=2\nLugar 2=dos\n");

  const std::string folded = read_bytes(file_);
  EXPECT_THROW(store_.update(kApp, "Merivox Errores",
                             [](SectionEdit& errors) {
                               errors.set("Numero", "5");
                               throw core::Error(13, "x", "y");
                             }),
               core::Error);
  EXPECT_EQ(read_bytes(file_), folded);  // a failed update stores nothing
}

// A file the document cannot append to (the cases are the document's: here
// a file in the host's code page) is rewritten whole by the next update.
TEST_F(IniStoreTest, FilesThatCannotBeAppendedToAreRewrittenWhole) {
  write_bytes(file_, "[Merivox Cad]\r\nCapas pref=A\xf1o_\r\n");
  const auto before = inode();
  store_.update(kApp, "Merivox Errores", [](SectionEdit& errors) { errors.set("Numero", "2"); });
  EXPECT_NE(inode(), before);
  EXPECT_EQ(read_bytes(file_), "[Merivox Cad]\nCapas pref=Año_\n\n[Merivox Errores]\nNumero=2\n");
}

// A new file is private and only its lock lies beside it (replacing keeps
// mode and links as every whole-file output does); other stores see it.
TEST_F(IniStoreTest, ANewFileIsPrivateOnlyItsLockLiesBesideItAndOtherStoresSeeIt) {
  IniSettingsStore other = IniSettingsStore::in_folder(folder_.path());
  store_.save(kApp, "Merivox Cad", "2D", "0");
  EXPECT_EQ(other.read(kApp, "Merivox Cad", "2D"), "0");
  store_.save(kApp, "Merivox Cad", "2D", "-1");  // replaced
  EXPECT_EQ(other.read(kApp, "Merivox Cad", "2D"), "-1");
  EXPECT_EQ(fs::status(file_).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(file_.parent_path())) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"settings.ini", "settings.ini.lock"}));
  store_.update(kApp, "Merivox Cad", [](SectionEdit& cad) { cad.set("2D", "7"); });  // appended
  EXPECT_EQ(other.read(kApp, "Merivox Cad", "2D"), "7");
}

TEST(IniStoreFailures, WritesThatCannotHappenNameTheFileAndTheReason) {
  TempFolder folder;
  write_bytes(folder.path() / "plain", "not a folder");
  const fs::path file = folder.path() / "plain" / "S.ini";  // its folder cannot be made
  IniSettingsStore store = IniSettingsStore::single_file(file);
  EXPECT_EQ(store.file_for("anything"), file);
  const std::function<void()> writes[] = {
      [&] { store.save(kApp, "Merivox Cad", "2D", "0"); },
      [&] { store.update(kApp, "Merivox Errores", [](SectionEdit& e) { e.set("Numero", "1"); }); },
  };
  for (const auto& write : writes) {
    const std::string said = refusal(write, file);
    EXPECT_NE(said.find("Not a directory"), std::string::npos) << said;
  }
}

// Writers in threads or processes, each with its own store, write to one
// file at the same time: no update may be lost.
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

TEST(SettingsConcurrency, ThreadsAndProcessesLoseNothing) {
  TempFolder in_threads;
  std::vector<std::thread> threads;
  for (int w = 0; w < kWriters; ++w) threads.emplace_back(write_all, in_threads.path(), w);
  for (auto& t : threads) t.join();
  expect_all_updates(in_threads.path());

  TempFolder folder;
  std::vector<pid_t> children;
  for (int w = 0; w < kWriters; ++w) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      try {
        write_all(folder.path(), w);
        ::_exit(0);
      } catch (...) {
        ::_exit(1);
      }
    }
    children.push_back(pid);
  }
  for (const pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_EQ(status, 0) << "writer process failed";
  }
  expect_all_updates(folder.path());
}

// Sets or clears an environment variable and puts it back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ~ScopedEnv() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(DefaultConfigRoot, FollowsXdgThenHome) {
  const struct {
    const char *xdg, *home, *root;
  } cases[] = {{"/xdg/config", "/home/u", "/xdg/config"},
               {"relative/is/ignored", "/home/u", "/home/u/.config"},
               {nullptr, nullptr, "."}};
  for (const auto& c : cases) {
    ScopedEnv xdg("XDG_CONFIG_HOME", c.xdg);
    ScopedEnv home("HOME", c.home);
    EXPECT_EQ(default_config_root(), fs::path(c.root));
  }
}

}  // namespace
}  // namespace kestrel::platform
