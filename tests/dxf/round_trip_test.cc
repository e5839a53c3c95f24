// Save → load → save keeps every byte, load gives back what was saved (also
// from a stream read a small window at a time), and what a save leaves out is
// reported.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <tuple>

#include "cad/dxf/dxf.h"
#include "cad/memcad/block_reference.h"
#include "cad/memcad/curves.h"
#include "cad/memcad/records.h"
#include "cad/memcad/texts.h"
#include "dxf/dxf_test_util.h"

namespace kestrel::dxf {
namespace {

// Loading misses nothing the writer wrote: saving again gives the same bytes,
// handles included, and new entities get handles above every loaded one.
TEST(DxfRoundTrip, SaveLoadSaveIsByteIdentical) {
  const auto doc = test::every_kind_drawing();
  const std::string first = save_dxf_text(*doc);
  LoadReport report;
  const auto loaded = load_dxf_text(first, "todo.dxf", &report);
  EXPECT_TRUE(save_dxf_text(*loaded) == first);
  EXPECT_TRUE(report.notes.empty() && report.unknown_entities.empty() && report.skipped.empty());
  std::uint64_t highest = 0;
  for (const auto& e : loaded->model_space().entities()) highest = std::max(highest, e->handle());
  EXPECT_GT(loaded->model_space().add<memcad::Point>().handle(), highest);
}

TEST(DxfRoundTrip, DuplicateHandlesAreRenumberedAndStayUnique) {
  auto doc = memcad::Document::create();
  for (int i = 0; i < 3; ++i) doc->model_space().add<memcad::Point>(memcad::Vec3{double(i), 0, 0}).set_handle(0x77);
  const std::string text = save_dxf_text(*doc);
  const auto loaded = load_dxf_text(text, "dup.dxf");
  std::set<std::uint64_t> handles;
  for (const auto& e : loaded->model_space().entities()) handles.insert(e->handle());
  EXPECT_EQ(handles.size(), 3u);
  EXPECT_EQ(save_dxf_text(*loaded), text);
}

// Loading creates the blocks in the order the block records list them, so
// references that come before a block's definition do not reorder them.
TEST(DxfRoundTrip, BlocksPlacingLaterBlocksKeepTheirOrder) {
  auto doc = memcad::Document::create();
  memcad::Block& tree = doc->blocks().add("ARBOL");
  memcad::Block& one = doc->blocks().add("1");
  memcad::Block& height = doc->blocks().add("ALT");
  tree.add<memcad::BlockReference>(&height, memcad::Vec3{1, 0, 0});
  height.add<memcad::BlockReference>(&one, memcad::Vec3{2, 0, 0});
  one.add<memcad::BlockReference>(&tree, memcad::Vec3{3, 0, 0});  // a cycle, as broken files have
  doc->model_space().add<memcad::BlockReference>(&tree, memcad::Vec3{});
  const std::string first = save_dxf_text(*doc);
  EXPECT_EQ(save_dxf_text(*load_dxf_text(first, "orden.dxf")), first);
  EXPECT_LT(first.find("  2\nARBOL\n"), first.find("  2\nALT\n"));
}

TEST(DxfRoundTrip, ExtentsComeFromTheModelSpace) {
  auto doc = memcad::Document::create();
  doc->model_space().add<memcad::Line>(memcad::Vec3{-3, 4, 1}, memcad::Vec3{7, -2, 9});
  doc->paper_space().add<memcad::Point>(memcad::Vec3{1000, 1000, 1000});
  const std::string text = save_dxf_text(*doc);
  EXPECT_NE(text.find("$EXTMIN\n 10\n-3.0\n 20\n-2.0\n 30\n1.0\n"), std::string::npos);
  EXPECT_NE(text.find("$EXTMAX\n 10\n7.0\n 20\n4.0\n 30\n9.0\n"), std::string::npos);
}

// Records as other programs write them.
TEST(DxfLoad, OlderAndNewerRecordsKeepTheirGeometry) {
  const std::string text =
      "0\nSECTION\n2\nENTITIES\n"
      // An MTEXT with an embedded object (columns): its groups repeat 10, 11, 40.
      "0\nMTEXT\n8\n0\n100\nAcDbMText\n10\n720.5\n20\n2296.25\n30\n0.0\n40\n50.0\n41\n591.8\n71\n1\n"
      "1\nedges\n101\nEmbedded Object\n70\n1\n10\n1.0\n20\n0.0\n30\n0.0\n11\n720.5\n21\n2296.25\n"
      "31\n0.0\n40\n591.8\n41\n0.0\n"
      // An R10 3DLINE.
      "0\n3DLINE\n8\n0\n10\n5.0\n20\n9.0\n30\n0.0\n11\n6.0\n21\n10.0\n31\n1.0\n"
      // An arc seen from below.
      "0\nARC\n8\n0\n10\n2.5\n20\n2.5\n30\n0.0\n40\n0.5\n210\n0.0\n220\n0.0\n230\n-1.0\n50\n315.0\n51\n"
      "225.0\n"
      "0\nENDSEC\n0\nEOF\n";
  LoadReport report;
  const auto doc = load_dxf_text(text, "otros.dxf", &report);
  ASSERT_EQ(doc->model_space().size(), 3u);
  const auto& mtext = static_cast<const memcad::MText&>(doc->model_space().at(0));
  EXPECT_EQ(std::tie(mtext.insertion, mtext.height, mtext.width, mtext.rotation, mtext.text),
            std::tuple(memcad::Vec3{720.5, 2296.25, 0}, 50.0, 591.8, 0.0, "edges"));
  const auto& line = static_cast<const memcad::Line&>(doc->model_space().at(1));
  EXPECT_EQ(std::tie(line.start, line.end), std::tuple(memcad::Vec3{5, 9, 0}, memcad::Vec3{6, 10, 1}));
  const auto& arc = static_cast<const memcad::Arc&>(doc->model_space().at(2));
  EXPECT_EQ(std::tie(arc.normal, arc.center), std::tuple(memcad::Vec3{0, 0, -1}, memcad::Vec3{2.5, 2.5, 0}));
  EXPECT_TRUE(report.unknown_entities.empty() && report.notes.empty());
}

// A layer record names a line type that draws: ByLayer and ByBlock are for
// entities, and a layer naming them is drawn dashed or refused by readers.
TEST(DxfLayers, LayersNamingByLayerOrByBlockAreWrittenContinuous) {
  auto doc = memcad::Document::create();
  doc->layers().add("A").linetype = "BYLAYER";
  doc->layers().add("B").linetype = "ByBlock";
  doc->layers().add("C").linetype = "NOSUCH";
  const std::string text = save_dxf_text(*doc);
  for (const char* name : {"A", "B", "C"}) {
    const std::size_t record = text.find("  2\n" + std::string(name) + "\n");
    ASSERT_NE(record, std::string::npos) << name;
    const std::size_t linetype = text.find("  6\n", record);
    EXPECT_EQ(text.substr(linetype + 4, 11), "Continuous\n") << name;
  }
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

constexpr std::size_t kWindows[] = {1, 7, 64, 1000};

// The drawing is compared through what saving it writes.
void expect_same_load(const std::string& text, const std::string& name) {
  LoadReport whole_report;
  const std::string whole = save_dxf_text(*load_dxf_text(text, name, &whole_report));
  for (std::size_t window : kWindows) {
    SCOPED_TRACE("window " + std::to_string(window));
    std::istringstream in(text);
    LoadReport report;
    EXPECT_TRUE(save_dxf_text(*load_dxf_stream(in, name, &report, window)) == whole);
    EXPECT_EQ(std::tie(report.notes, report.unknown_entities, report.skipped),
              std::tie(whole_report.notes, whole_report.unknown_entities, whole_report.skipped));
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
    expect_same_load(platform::read_bytes(entry.path()), entry.path().filename().string());
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
