// Real DXF files written by CAD programs, devices and DXF libraries load,
// and hold what the corpus README lists for them: entity counts per kind in
// model space (and paper space), polyline kinds, references with
// attributes, and the layers, blocks and base points its notes name.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "cad/dxf/dxf.h"
#include "cad/memcad/block_reference.h"
#include "cad/memcad/polylines.h"
#include "dxf/dxf_test_util.h"

namespace kestrel::dxf {
namespace {

using namespace memcad;
using Counts = std::map<std::string, int>;

// "LINE:2 TEXT:1" as counts.
Counts counts(const std::string& listed) {
  Counts c;
  std::istringstream words(listed);
  for (std::string word; words >> word;) c[word.substr(0, word.find(':'))] = std::stoi(word.substr(word.find(':') + 1));
  return c;
}

struct CorpusFile {
  std::string file;
  std::string version;  // raw $ACADVER; "" without a header
  std::string model;    // entity counts in model space, polyline kinds, references with attributes
  std::string paper = "";
  std::vector<std::tuple<std::string, bool, bool>> layers = {};  // name, on, frozen
  std::vector<std::pair<std::string, Vec3>> blocks = {};           // name, base point
};

// The same drawing saved as R2000 and as R2018.
constexpr const char* kNetDxfSample =
    "3DFACE:1 ARC:1 CIRCLE:3 DIMENSION:8 ELLIPSE:1 HATCH:3 IMAGE:1 INSERT:2 LEADER:1 LINE:16 LWPOLYLINE:1 MESH:1 "
    "MLINE:2 MTEXT:2 PDFUNDERLAY:1 POINT:1 POLYLINE:2 RAY:1 SOLID:1 SPLINE:1 TEXT:1 WIPEOUT:1 XLINE:1 3d:1 polyface:1 "
    "attributed:1";
// The R10 and R11 entity samples (the README's 3DLINE is read as a line).
constexpr const char* kRedwgEntities =
    "3DFACE:1 ARC:1 ATTDEF:1 CIRCLE:1 DIMENSION:1 INSERT:2 POINT:1 SHAPE:1 SOLID:1 TEXT:1 TRACE:1 attributed:1 ";
constexpr const char* kRedwgSample = "CIRCLE:1 LINE:3 LWPOLYLINE:1 TEXT:1";

const std::vector<CorpusFile>& corpus() {
  static const std::vector<CorpusFile> files = {
      {"ezdxf_3dface.dxf", "AC1032", "3DFACE:44 LWPOLYLINE:5 MTEXT:16 TEXT:6"},
      {"ezdxf_ASCII_R12.dxf", "AC1009", "INSERT:1 LINE:2", "", {{"\u039B\u0391\u0393\u0395\u03A1ÄÜÖ", true, false}}},
      {"ezdxf_Leica_Disto_S910.dxf", "AC1009", "LINE:10 POINT:11 TEXT:11"},
      {"ezdxf_POLI-ALL210_12.dxf", "AC1009", "3DFACE:1 POLYLINE:30 2d:30"},
      {"ezdxf_multi_insert_with_attribs.dxf", "AC1027", "INSERT:1 attributed:1", "", {}, {{"FLAG", {0, 0, 0}}}},
      {"ezdxf_text_alignments.dxf", "AC1018", "CIRCLE:32 LINE:10 TEXT:16"},
      {"gdal_3d.dxf", "AC1027", "3DSOLID:1 CIRCLE:1 INSERT:2 POLYLINE:1 polyface:1"},
      {"gdal_3dface.dxf", "", "3DFACE:2"},
      {"gdal_LWPOLYLINE-OCS.dxf", "AC1027", "LWPOLYLINE:7 POLYLINE:6 3d:6"},
      {"gdal_assorted.dxf", "AC1015", "ARC:1 DIMENSION:3 ELLIPSE:2 INSERT:1 LINE:1 MTEXT:1 POINT:1", "LINE:1", {},
       {{"STAR", {0, 0, 0}}}},
      {"gdal_attrib.dxf", "", "INSERT:2 attributed:2"},
      {"gdal_block-basepoint.dxf", "AC1009", "INSERT:1", "", {},
       {{"INNERBLOCK", {50, 200, 0}}, {"OUTERBLOCK", {60, 250, 0}}}},
      {"gdal_byblock-bylayer.dxf", "AC1027", "CIRCLE:1 DIMENSION:1 INSERT:3", "INSERT:1"},
      {"gdal_circle.dxf", "", "ARC:1 CIRCLE:1"},
      {"gdal_entities_only.dxf", "", "POINT:2"},
      {"gdal_frozen-off.dxf", "AC1009", "INSERT:4 LINE:4", "",
       {{"ONTHAW", true, false}, {"ONFREEZE", true, true}, {"OFFTHAW", false, false}, {"OFFFREEZE", false, true}}},
      {"gdal_insert_only.dxf", "", "INSERT:1"},
      {"gdal_ocs2wcs1.dxf", "AC1027",
       "3DFACE:4 ARC:4 CIRCLE:4 ELLIPSE:4 HATCH:4 LINE:4 LWPOLYLINE:4 POINT:4 POLYLINE:4 SOLID:4 SPLINE:8 TEXT:4 3d:4",
       "VIEWPORT:2"},
      {"gdal_polyline_smooth.dxf", "", "POLYLINE:1 2d:1"},
      {"gdal_text-fancy.dxf", "AC1027", "INSERT:2 TEXT:2"},
      {"gdal_utf-8.dxf", "AC1018", "POINT:1", "", {{"éven", true, false}}},
      {"libredwg_r10_entities.dxf", "AC1006", std::string(kRedwgEntities) + "LINE:2 POLYLINE:2 2d:2"},
      {"libredwg_r11_entities-3d.dxf", "AC1009", std::string(kRedwgEntities) + "LINE:1 POLYLINE:1 2d:1"},
      {"libredwg_r13_v.dxf", "AC1012", "LINE:16 TEXT:1"},
      {"libredwg_sample_2007.dxf", "AC1021", kRedwgSample},
      {"libredwg_sample_2010.dxf", "AC1024", kRedwgSample},
      {"libredwg_sample_r14.dxf", "AC1014", kRedwgSample},
      {"netdxf_sample_2000.dxf", "AC1015", kNetDxfSample, "VIEWPORT:2"},
      {"netdxf_sample_2018.dxf", "AC1032", kNetDxfSample, "VIEWPORT:2"},
  };
  return files;
}

// Entities per DXF type, heavy polylines per kind, references with attributes.
Counts count(const Block& block) {
  Counts c;
  for (const auto& e : block.entities()) {
    ++c[std::string(test::dxf_type(*e))];
    if (e->kind() == EntityKind::kPolyline2d) ++c["2d"];
    if (e->kind() == EntityKind::kPolyline3d) ++c["3d"];
    if (e->kind() == EntityKind::kPolyfaceMesh) ++c["polyface"];
    if (e->kind() == EntityKind::kBlockReference && !static_cast<const BlockReference&>(*e).attributes.empty()) {
      ++c["attributed"];
    }
  }
  return c;
}

TEST(Corpus, EachFileHoldsWhatTheReadmeLists) {
  const std::filesystem::path folder(KESTREL_SHARED_CORPUS);
  if (!std::filesystem::is_directory(folder)) GTEST_SKIP() << "No está la carpeta del corpus DXF " << folder;
  for (const CorpusFile& f : corpus()) {
    SCOPED_TRACE(f.file);
    LoadReport report;
    const auto doc = load_dxf(folder / f.file, &report);
    EXPECT_EQ(report.acad_version, f.version);
    EXPECT_EQ(count(doc->model_space()), counts(f.model));
    EXPECT_EQ(count(doc->paper_space()), counts(f.paper));
    for (const auto& [name, on, frozen] : f.layers) {
      const Layer* layer = doc->layers().find(name);
      ASSERT_NE(layer, nullptr) << name;
      EXPECT_EQ(std::pair(layer->on, layer->frozen), std::pair(on, frozen)) << name;
    }
    for (const auto& [name, base] : f.blocks) {
      const Block* block = doc->blocks().find(name);
      ASSERT_NE(block, nullptr) << name;
      EXPECT_EQ(block->origin, base) << name;
    }
  }
}

}  // namespace
}  // namespace kestrel::dxf
