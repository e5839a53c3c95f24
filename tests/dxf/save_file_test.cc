// Saving to a file: the target is replaced only by a complete file; a
// failed save leaves what was there and no temporary file behind.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "cad/dxf/byte_output.h"
#include "cad/dxf/dxf.h"
#include "cad/memcad/curves.h"
#include "cad/memcad/records.h"
#include "cad/memcad/texts.h"
#include "core/error.h"
#include "dxf/dxf_test_util.h"

namespace kestrel::dxf {
namespace {

namespace fs = std::filesystem;

std::string read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::size_t files_in(const fs::path& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(SaveFile, WritesWhatTheTextSaveGives) {
  test::TempFolder folder;
  const auto doc = test::every_kind_drawing();
  const auto file = folder.path() / "plano.dxf";
  save_dxf(*doc, file);
  EXPECT_EQ(read(file), save_dxf_text(*doc));
  EXPECT_EQ(files_in(folder.path()), 1u);
}

TEST(SaveFile, ReplacesAnExistingFileKeepingItsPermissions) {
  test::TempFolder folder;
  const auto file = folder.path() / "plano.dxf";
  std::ofstream(file) << "viejo";
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  const auto doc = memcad::Document::create();
  doc->model_space().add<memcad::Point>();
  save_dxf(*doc, file);
  EXPECT_EQ(read(file), save_dxf_text(*doc));
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(SaveFile, AFailedSaveLeavesTheOldFileAndNoTemporary) {
  test::TempFolder folder;
  const auto file = folder.path() / "plano.dxf";
  std::ofstream(file) << "viejo";
  // An error in the middle of writing leaves the output uncommitted.
  {
    AtomicFileOutput output(file);
    output.write("0\nSECTION\n");
    EXPECT_TRUE(fs::exists(output.temporary()));
    // Destroyed without commit: an error on the way.
  }
  EXPECT_EQ(read(file), "viejo");
  EXPECT_EQ(files_in(folder.path()), 1u);
}

TEST(SaveFile, RefusesAMissingFolderNamingTheFile) {
  test::TempFolder folder;
  const auto file = folder.path() / "no" / "plano.dxf";
  try {
    save_dxf(*memcad::Document::create(), file);
    FAIL();
  } catch (const core::Error& e) {
    EXPECT_EQ(e.number(), core::kAutomationError);
    EXPECT_NE(e.description().find(file.string()), std::string::npos) << e.description();
  }
  EXPECT_FALSE(fs::exists(file));
}

TEST(SaveFile, RefusesAFolderAsTarget) {
  test::TempFolder folder;
  EXPECT_THROW(save_dxf(*memcad::Document::create(), folder.path()), core::Error);
  EXPECT_TRUE(fs::is_directory(folder.path()));
}

TEST(SaveFile, SavingThroughALinkReplacesTheLinkedFile) {
  test::TempFolder folder;
  const auto target = folder.path() / "real.dxf";
  const auto link = folder.path() / "enlace.dxf";
  std::ofstream(target) << "viejo";
  fs::create_symlink(target, link);
  const auto doc = memcad::Document::create();
  save_dxf(*doc, link);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(read(target), save_dxf_text(*doc));
}

TEST(SaveReport, VariablesTheHeaderCannotHoldAreLeftOutAndReported) {
  auto doc = memcad::Document::create();
  doc->variables().set("USERI1", "no es un número");
  SaveReport report;
  const std::string text = save_dxf_text(*doc, &report);
  EXPECT_EQ(text.find("$USERI1"), std::string::npos);
  EXPECT_EQ(report.skipped["$USERI1"], 1u);
}

TEST(SaveReport, UnknownEntitiesAreNotWritten) {
  const auto doc = load_dxf_text(
      "0\nSECTION\n2\nENTITIES\n0\nSPLINE\n8\n0\n10\n1\n20\n2\n0\nPOINT\n10\n1\n0\nENDSEC\n0\nEOF\n", "s.dxf");
  SaveReport report;
  const auto again = load_dxf_text(save_dxf_text(*doc, &report), "t.dxf");
  EXPECT_EQ(report.skipped["SPLINE"], 1u);
  ASSERT_EQ(again->model_space().size(), 1u);
  EXPECT_EQ(again->model_space().at(0).kind(), memcad::EntityKind::kPoint);
}

TEST(SaveText, LongMTextIsSplitOutsideEscapes) {
  auto doc = memcad::Document::create();
  std::string text;
  for (int i = 0; i < 120; ++i) text += "Ω";  // each one 7 bytes in the file
  doc->model_space().add<memcad::MText>(memcad::Vec3{}, 10, text);
  const std::string file = save_dxf_text(*doc);
  std::istringstream lines(file);
  std::string code;
  std::string value;
  std::size_t chunks = 0;
  bool in_mtext = false;
  while (std::getline(lines, code) && std::getline(lines, value)) {
    if (code == "  0") in_mtext = value == "MTEXT";
    if (!in_mtext || (code != "  3" && code != "  1")) continue;
    EXPECT_LE(value.size(), 250u);
    EXPECT_EQ(value.size() % 7, 0u) << "an escape split across pieces";
    chunks += code == "  3";
  }
  EXPECT_EQ(chunks, 3u);
  const auto loaded = load_dxf_text(file, "m.dxf");
  EXPECT_EQ(static_cast<const memcad::MText&>(loaded->model_space().at(0)).text, text);
}

}  // namespace
}  // namespace kestrel::dxf
