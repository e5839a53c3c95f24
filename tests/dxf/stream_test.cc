// Loading from a stream a small window at a time gives the same drawing,
// report and errors as loading the whole text at once.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cad/dxf/dxf.h"
#include "cad/dxf/group_reader.h"
#include "core/error.h"
#include "dxf/dxf_test_util.h"

namespace kestrel::dxf {
namespace {

constexpr std::size_t kWindows[] = {1, 7, 64, 1000};

std::string read(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The drawing is compared through what saving it writes.
void expect_same_load(const std::string& text, const std::string& name) {
  LoadReport whole_report;
  const std::string whole = save_dxf_text(*load_dxf_text(text, name, &whole_report));
  for (std::size_t window : kWindows) {
    SCOPED_TRACE("window " + std::to_string(window));
    std::istringstream in(text);
    LoadReport report;
    EXPECT_TRUE(save_dxf_text(*load_dxf_stream(in, name, &report, window)) == whole);
    EXPECT_EQ(report.notes, whole_report.notes);
    EXPECT_EQ(report.unknown_entities, whole_report.unknown_entities);
    EXPECT_EQ(report.skipped, whole_report.skipped);
  }
}

TEST(LoadStream, SameDrawingWhateverTheWindow) {
  expect_same_load(save_dxf_text(*test::every_kind_drawing()), "todo.dxf");
  const std::filesystem::path corpus(KESTREL_SHARED_CORPUS);
  if (!std::filesystem::is_directory(corpus)) GTEST_SKIP() << "no está la carpeta " << corpus;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    if (entry.path().extension() != ".dxf") continue;
    SCOPED_TRACE(entry.path().filename().string());
    expect_same_load(read(entry.path()), entry.path().filename().string());
  }
}

// A bad file gives the same error whatever the window: the same line named.
TEST(LoadStream, ErrorsAreTheSameWhateverTheWindow) {
  const std::pair<std::string, const char*> cases[] = {
      {"0\nSECTION\n2\nENTITIES\n0\nPOINT\n10\n1.5\n20\nabc\n0\nENDSEC\n0\nEOF\n", "línea 10:"},
      {std::string("AutoCAD Binary DXF\r\n\x1a\0\0\0\0\0", 26), "DXF binario"},
  };
  for (const auto& [text, says] : cases) {
    for (std::size_t window : kWindows) {
      std::istringstream in(text);
      try {
        (void)load_dxf_stream(in, "malo.dxf", nullptr, window);
        ADD_FAILURE() << says << " " << window;
      } catch (const core::Error& e) {
        EXPECT_NE(e.description().find(says), std::string::npos) << window << ": " << e.description();
      }
    }
  }
}

TEST(LoadStream, Utf8CheckReadsTheWholeStream) {
  // A declared code page, UTF-8 bytes in a value past the first window.
  std::string text = "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n";
  for (int i = 0; i < 200; ++i) text += "0\nPOINT\n8\nCapa\n10\n1\n";
  text += "0\nTEXT\n8\ncañón\n1\nSeñal\n0\nENDSEC\n0\nEOF\n";
  LoadReport report;
  std::istringstream in(text);
  const auto doc = load_dxf_stream(in, "utf8.dxf", &report, 64);
  EXPECT_NE(doc->layers().find("cañón"), nullptr);
  ASSERT_EQ(report.notes.size(), 1u);
  EXPECT_NE(report.notes[0].find("UTF-8"), std::string::npos);
  // One byte that is not UTF-8, in the last value, keeps the declared code page.
  text.insert(text.find("Señal") + 6, "\xE9");
  std::istringstream in2(text);
  const auto ansi = load_dxf_stream(in2, "ansi.dxf", nullptr, 64);
  EXPECT_NE(ansi->layers().find("caÃ±Ã³n"), nullptr);
}

// Records split the way the loader splits them: groups up to the next code 0,
// which is given back with unread() and taken again after release(). Records
// longer than the window make it move and grow under the given-back group.
TEST(GroupReaderWindow, GivenBackGroupSurvivesReleaseAndWindowMoves) {
  std::string text;
  for (int i = 0; i < 300; ++i) {
    text += "0\nREC" + std::to_string(i) + "\n";
    for (int k = 0; k < i % 7; ++k) text += "1\nvalor " + std::to_string(i) + "." + std::to_string(k) + "\n";
  }
  for (std::size_t window : kWindows) {
    SCOPED_TRACE("window " + std::to_string(window));
    std::istringstream in(text);
    GroupReader reader(in, "r.dxf", window);
    Group g;
    int records = 0;
    for (bool more = reader.next(g); more; ++records) {
      ASSERT_EQ(g.code, 0);
      ASSERT_EQ(g.value, "REC" + std::to_string(records));
      int items = 0;
      while ((more = reader.next(g)) && g.code != 0) {
        EXPECT_EQ(g.value, "valor " + std::to_string(records) + "." + std::to_string(items++));
      }
      EXPECT_EQ(items, records % 7);
      if (!more) break;
      reader.unread(g);
      reader.release();
      Group again;
      if (records % 2 == 1) {
        ASSERT_TRUE(reader.peek(again));  // a peek between changes nothing
      }
      ASSERT_TRUE(reader.next(again));
      EXPECT_EQ(again.line, g.line);
      g = again;
    }
    EXPECT_EQ(records, 299);  // the last record ends the text, nothing to give back
  }
}

}  // namespace
}  // namespace kestrel::dxf
