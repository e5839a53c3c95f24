// Saving to a file writes what the text save gives (the file writer itself
// is tested with the platform); what a save leaves out is reported.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

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

// Variables the header cannot hold (text for a number, a number that is
// not finite) and entities of unknown kinds are left out and reported.
TEST(SaveReport, WhatCannotBeWrittenIsLeftOutAndReported) {
  const auto doc = load_dxf_text(
      "0\nSECTION\n2\nENTITIES\n0\nSPLINE\n8\n0\n10\n1\n20\n2\n0\nPOINT\n10\n1\n0\nENDSEC\n0\nEOF\n", "s.dxf");
  doc->variables().set("USERI1", "no es un número");
  doc->variables().set("PDSIZE", INFINITY);
  SaveReport report;
  const std::string text = save_dxf_text(*doc, &report);
  EXPECT_EQ(report.skipped, (std::map<std::string, std::size_t>{{"$PDSIZE", 1}, {"$USERI1", 1}, {"SPLINE", 1}}));
  EXPECT_EQ(text.find("$USERI1"), std::string::npos);
  EXPECT_EQ(text.find("$PDSIZE"), std::string::npos);
  const auto again = load_dxf_text(text, "t.dxf");
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
