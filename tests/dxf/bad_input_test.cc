// Input that is not a readable DXF file gives a clear error naming the
// file and the line, the same whether read whole or from a stream a small
// window at a time — never a crash or a hang.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>

#include "cad/dxf/dxf.h"
#include "cad/memcad/block_reference.h"
#include "cad/memcad/curves.h"
#include "cad/memcad/polylines.h"
#include "core/error.h"
#include "core/error_number.h"
#include "dxf/dxf_test_util.h"

namespace kestrel::dxf {
namespace {

using core::testing_support::caught;

std::string entities(const std::string& body) { return "0\nSECTION\n2\nENTITIES\n" + body + "0\nENDSEC\n0\nEOF\n"; }

struct BadInput {
  const char* name;
  std::string text;
  const char* says;  // part of the description
  std::size_t line;  // the line it names; 0: none
};

const BadInput kBadInputs[] = {
    {"empty", "", "no es un archivo DXF", 0},
    {"garbage", "hello world\nthis is not a drawing\n", "código de grupo no válido «hello world»", 1},
    {"binary", std::string("AutoCAD Binary DXF\r\n\x1a\0\0\0", 24), "DXF binario", 0},
    {"truncated after a code", "0\nSECTION\n2\nENTITIES\n0\nLINE\n10", "truncado", 7},
    {"truncated inside a section", "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n1.5\n", "truncado", 0},
    {"truncated inside a header", "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n", "truncado", 0},
    {"truncated inside a polyline", entities("0\nPOLYLINE\n66\n1\n70\n8\n0\nVERTEX\n10\n1\n").substr(0, 60),
     "truncado", 0},
    {"code that is not a number", "0\nSECTION\n2\nENTITIES\nabc\nLINE\n", "código de grupo no válido «abc»", 5},
    {"code out of range", "0\nSECTION\n2\nENTITIES\n99999\nLINE\n", "«99999»", 5},
    {"decimal code", "0\nSECTION\n2\nENTITIES\n10.5\nLINE\n", "«10.5»", 5},
    {"record without code 0", "0\nSECTION\n2\nENTITIES\n8\n0\n0\nENDSEC\n", "código 0", 5},
    {"section without a name", "0\nSECTION\n0\nEOF\n", "sección sin nombre", 1},
    {"group outside any section", "0\nLINE\n8\n0\n", "se esperaba SECTION", 1},
    {"real that is text", entities("0\nPOINT\n10\nxyz\n"), "se esperaba un número real tras el código 10", 8},
    {"real beyond the double range", entities("0\nLINE\n11\n1e999\n"), "fuera del intervalo", 8},
    {"integer that is text", entities("0\nLINE\n62\nrojo\n"), "se esperaba un número entero", 8},
    {"empty real in a block header", "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nA\n10\n\n0\nENDBLK\n", "número real",
     10},
    {"empty real in a header variable", "0\nSECTION\n2\nHEADER\n9\n$PDSIZE\n40\n \n0\nENDSEC\n", "número real", 8},
    {"text as a style height", "0\nSECTION\n2\nTABLES\n0\nSTYLE\n2\nS\n40\nalto\n0\nENDSEC\n", "número real", 10},
    {"huge vertex count", entities("0\nLWPOLYLINE\n90\n999999999999\n10\n0\n20\n0\n"), "excede", 8},
    {"negative vertex count", entities("0\nLWPOLYLINE\n90\n-5\n"), "cuenta negativa", 8},
    {"huge hatch loop count", entities("0\nHATCH\n2\nSOLID\n91\n2147483647\n"), "excede", 10},
};

TEST(LoadRefuses, BadFilesWithADescriptionNamingFileAndLine) {
  for (const BadInput& bad : kBadInputs) {
    SCOPED_TRACE(bad.name);
    const core::Error e = caught([&] { (void)load_dxf_text(bad.text, "malo.dxf"); });
    EXPECT_EQ(e.number(), core::kAutomationError);
    const std::string& says = e.description();
    EXPECT_NE(says.find("«malo.dxf»"), std::string::npos) << says;
    EXPECT_NE(says.find(bad.says), std::string::npos) << says;
    if (bad.line != 0) {
      EXPECT_NE(says.find("línea " + std::to_string(bad.line) + ":"), std::string::npos) << says;
    }
    for (const std::size_t window : {1, 7, 64}) {
      std::istringstream in(bad.text);
      EXPECT_EQ(caught([&] { (void)load_dxf_stream(in, "malo.dxf", nullptr, window); }).description(), says)
          << "window " << window;
    }
  }
}

using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(LoadTolerates, WhatRealFilesHold) {
  LoadReport report;
  // A colour with trailing junk, a comment, CRLF line ends, blanks around
  // codes and no EOF record.
  const auto doc = load_dxf_text(
      "999\r\nwritten by hand\r\n  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nLINE\r\n 62\r\n256QSW\r\n 10\r\n1.\r\n"
      "  0\r\nENDSEC\r\n",
      "tolerado.dxf", &report);
  ASSERT_EQ(doc->model_space().size(), 1u);
  EXPECT_EQ(doc->model_space().at(0).color(), memcad::kColorByLayer);
  EXPECT_EQ(static_cast<const memcad::Line&>(doc->model_space().at(0)).start.x, 1.0);
  EXPECT_THAT(report.notes, ElementsAre(HasSubstr("EOF")));
}

TEST(LoadTolerates, BytesThatAreNotUtf8InAUtf8File) {
  LoadReport report;
  const std::string text =
      "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1032\n0\nENDSEC\n" + entities("0\nTEXT\n8\nCapa\xF1\n1\nA\xE9\xFF\n");
  EXPECT_NE(load_dxf_text(text, "mezcla.dxf", &report)->layers().find("Capañ"), nullptr);
  EXPECT_THAT(report.notes, ::testing::Contains(HasSubstr("2 textos que no son UTF-8")));
}

TEST(LoadTolerates, BlocksWithoutEndblk) {
  LoadReport report;
  const auto doc = load_dxf_text(
      "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nA\n10\n1\n0\nPOINT\n0\nBLOCK\n2\nB\n0\nLINE\n0\nENDSEC\n"
      "0\nSECTION\n2\nENTITIES\n0\nINSERT\n2\nB\n0\nBLOCK\n0\nENDSEC\n0\nEOF\n",
      "bloques.dxf", &report);
  ASSERT_NE(doc->blocks().find("A"), nullptr);
  EXPECT_EQ(std::pair(doc->blocks().find("A")->size(), doc->blocks().find("A")->origin.x), std::pair(1ul, 1.0));
  EXPECT_EQ(std::pair(doc->blocks().find("B")->size(), doc->model_space().size()), std::pair(1ul, 1ul));
  EXPECT_EQ(report.skipped["BLOCK"], 1u);  // a BLOCK record among the entities
  EXPECT_EQ(report.notes.size(), 2u);
}

// A sequence cut short by the next record, mesh faces naming missing
// vertices (dropped) and references to layouts (skipped).
TEST(LoadTolerates, ShortSequencesBadMeshFacesAndLayoutReferences) {
  std::string text = "0\nPOLYLINE\n66\n1\n70\n8\n0\nVERTEX\n10\n1\n0\nVERTEX\n10\n2\n";  // no SEQEND
  text += "0\nPOLYLINE\n66\n1\n70\n64\n";
  for (int i = 0; i < 3; ++i) text += "0\nVERTEX\n70\n192\n10\n" + std::to_string(i) + "\n";
  text += "0\nVERTEX\n70\n128\n71\n1\n72\n2\n73\n-3\n";  // kept
  text += "0\nVERTEX\n70\n128\n71\n1\n72\n2\n73\n9\n";   // no vertex 9
  text += "0\nVERTEX\n70\n128\n71\n1\n72\n0\n73\n2\n";   // a corner missing
  text += "0\nSEQEND\n0\nINSERT\n2\n*Model_Space\n0\nINSERT\n2\n*PAPER_SPACE7\n0\nINSERT\n2\nREAL\n";
  LoadReport report;
  const auto doc = load_dxf_text(entities(text), "varios.dxf", &report);
  ASSERT_EQ(doc->model_space().size(), 3u);
  EXPECT_EQ(doc->model_space().at(0).kind(), memcad::EntityKind::kPolyline3d);
  const auto& m = static_cast<const memcad::PolyfaceMesh&>(doc->model_space().at(1));
  EXPECT_EQ(m.vertex_count(), 3u);
  EXPECT_EQ(m.faces, (std::vector<std::array<std::int32_t, 4>>{{1, 2, -3, 0}}));
  EXPECT_EQ(static_cast<const memcad::BlockReference&>(doc->model_space().at(2)).name(), "REAL");
  EXPECT_EQ(report.skipped["INSERT"], 2u);
  EXPECT_EQ(doc->blocks().find("*PAPER_SPACE7"), nullptr);
  EXPECT_THAT(report.notes, ::testing::UnorderedElementsAre(HasSubstr("SEQEND"), HasSubstr("2 caras")));
}

// A missing file is error 53; a bad one names the path given and the line.
TEST(LoadFile, ErrorsNameThePathGiven) {
  test::TempFolder folder;
  const auto file = folder.path() / "roto.dxf";
  std::ofstream(file) << "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n";
  const std::tuple<std::filesystem::path, int, std::string> cases[] = {
      {folder.path() / "no-existe.dxf", core::kFileNotFound, "no-existe.dxf"},
      {file, core::kAutomationError, file.string() + "», línea 7:"},
  };
  for (const auto& [path, number, says] : cases) {
    const core::Error e = caught([&] { (void)load_dxf(path); });
    EXPECT_EQ(e.number(), number);
    EXPECT_NE(e.description().find(says), std::string::npos) << e.description();
  }
}

}  // namespace
}  // namespace kestrel::dxf
