// Loading from a stream a small window at a time gives the same drawing,
// report and errors as loading the whole text at once: records longer than
// the window, groups given back across a move of the window.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cad/dxf/dxf.h"
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
  expect_same_load("0\nSECTION\n2\nENTITIES\n0\nPOINT\n10\n1\n0\nENDSEC\n", "sin-eof.dxf");  // ends without EOF
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

}  // namespace
}  // namespace kestrel::dxf
