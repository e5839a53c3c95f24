#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "bridge_fixture.h"

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

TEST_F(BridgeTest, AMissingOrUnreadableCounterStartsAtOne) {
  for (const char* stored : {"", "abc"}) {
    platform::MemorySettingsStore fresh;
    if (*stored) save_setting(fresh, "Errores", "Numero", stored);
    ErrorLog log(message_box, fresh);
    log.log("m", "t");
    EXPECT_EQ(read_setting(fresh, "Errores", "Numero", ""), "1") << stored;
    EXPECT_EQ(read_setting(fresh, "Errores", "Lugar 1", ""), "m") << stored;
  }
}

// A store that can be read but never written, like a read-only settings file.
class ReadOnlyStore final : public platform::SettingsStore {
 public:
  std::optional<std::string> read(std::string_view, std::string_view, std::string_view) override {
    return std::nullopt;
  }
  void save(std::string_view, std::string_view, std::string_view, std::string_view) override {
    core::raise(75);
  }
};

TEST_F(BridgeTest, AStoreThatCannotBeWrittenStillShowsTheMessage) {
  ReadOnlyStore store;
  ErrorLog log(message_box, store);
  EXPECT_NO_THROW(log.log("mensaje", "fuente"));
  ASSERT_EQ(message_box.shown().size(), 1u);
  EXPECT_EQ(message_box.shown()[0].text, "mensaje");
}

TEST_F(BridgeTest, AMalformedSettingsFileIsNeitherFatalNorOverwritten) {
  const auto dir = std::filesystem::temp_directory_path() / ("kestrel-errlog-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const auto file = dir / "settings.ini";
  const std::string garbage = "[Merivox Errores]\nNumero=3\nthis line is not a setting\n";
  std::ofstream(file, std::ios::binary) << garbage;

  auto store = platform::IniSettingsStore::single_file(file);
  ErrorLog log(message_box, store);
  EXPECT_NO_THROW(log.log("mensaje", "fuente"));

  std::stringstream after;
  after << std::ifstream(file, std::ios::binary).rdbuf();
  EXPECT_EQ(after.str(), garbage);
  EXPECT_EQ(message_box.shown().size(), 1u);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace kestrel::bridge
