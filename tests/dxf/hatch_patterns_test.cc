// Hatch patterns in saved files: a predefined pattern carries its definition
// lines, scaled and turned as the hatch draws them, and python3-ezdxf reads
// them back equal to its own definition of the pattern.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <numbers>
#include <string>

#include "cad/dxf/dxf.h"
#include "cad/memcad/document.h"
#include "cad/memcad/faces.h"
#include "dxf/dxf_test_util.h"

namespace kestrel::dxf {
namespace {

using json = nlohmann::json;
using namespace memcad;

constexpr double kDegree = std::numbers::pi / 180;
constexpr double kTolerance = 1e-9;  // ezdxf's table keeps 10 decimals

// The export's hatches: scale 0.1, angles in grads turned into radians with
// pi taken as 3.141592.
double export_angle(double grads) { return grads * 90 / 100 * 3.141592 / 180; }

json saved_and_read_by_ezdxf(const Document& doc, const test::TempFolder& folder) {
  const auto file = folder.path() / "patterns.dxf";
  save_dxf(doc, file);
  const auto out =
      test::run("/usr/bin/python3 " + std::string(KESTREL_TEST_DATA) + "/dxf/ezdxf_hatch_lines.py '" + file.string() + "'");
  return out ? json::parse(*out) : json();
}

// Every number of the pattern lines (angle, base point, offset, dashes)
// within the table's tolerance.
void expect_near(const json& read, const json& reference, const std::string& where = "") {
  if (!reference.is_array()) {
    EXPECT_NEAR(read.get<double>(), reference.get<double>(), kTolerance) << where;
    return;
  }
  ASSERT_EQ(read.size(), reference.size()) << where;
  for (std::size_t i = 0; i < read.size(); ++i) expect_near(read[i], reference[i], where + "[" + std::to_string(i) + "]");
}

// A solid fill carries no lines, nor does a pattern whose definition is not
// known (its name alone is written).
TEST(HatchPatterns, EzdxfReadsTheLinesOfEachPatternAsItsOwnDefinitionScaledAndTurned) {
  if (const auto missing = test::ezdxf_missing()) GTEST_SKIP() << *missing;
  const struct {
    const char* name;
    double scale;
    double angle;  // radians
  } cases[] = {
      {"ANSI31", 0.1, export_angle(0)},   {"ANSI31", 0.1, export_angle(50)}, {"ANSI31", 0.1, export_angle(100)},
      {"ANSI31", 0.1, export_angle(150)}, {"ANSI37", 0.1, export_angle(0)},  {"ANSI37", 0.1, export_angle(50)},
      {"ansi32", 2.5, 30 * kDegree},      {"ANSI33", 1, -60 * kDegree},      {"ANSI34", 0.5, 0},
      {"ANSI35", 3, 200 * kDegree},       {"ANSI36", 1, 10 * kDegree},       {"ANSI38", 0.25, 315 * kDegree},
      {"SOLID", 1, 0},                    {"MIO", 1, 0},
  };
  auto doc = Document::create("patterns.dxf");
  for (const auto& c : cases) {
    auto& h = doc->model_space().add<Hatch>(std::int16_t{0}, c.name);
    h.pattern_scale = c.scale;
    h.pattern_angle = c.angle;
    h.loops.push_back(HatchLoop{{0, 0, 10, 0, 10, 10}, {}, true});
  }
  test::TempFolder folder;
  const json read = saved_and_read_by_ezdxf(*doc, folder);
  ASSERT_EQ(read.size(), std::size(cases));
  for (std::size_t i = 0; i < read.size(); ++i) {
    const json& h = read[i];
    SCOPED_TRACE(h["name"].get<std::string>() + " at " + std::to_string(h["angle"].get<double>()));
    EXPECT_EQ(h["name"].get<std::string>(), cases[i].name);
    const bool solid = i == std::size(cases) - 2;
    EXPECT_EQ(h["solid"].get<int>(), solid ? 1 : 0);
    if (solid || i == std::size(cases) - 1) {
      EXPECT_TRUE(h["lines"].empty());
      continue;
    }
    EXPECT_EQ(h["type"].get<int>(), 1);  // DXF's "predefined"
    EXPECT_EQ(h["scale"].get<double>(), cases[i].scale);
    ASSERT_TRUE(h["ezdxf"].is_array()) << "ezdxf does not know the pattern";
    EXPECT_FALSE(h["lines"].empty());
    expect_near(h["lines"], h["ezdxf"]);
  }
}

}  // namespace
}  // namespace kestrel::dxf
