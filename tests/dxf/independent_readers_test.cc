// Saved files read by an independent reader, python3-ezdxf: audit clean, and
// the same tables, layers, colours, counts and coordinates.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <nlohmann/json.hpp>
#include <numbers>

#include "cad/dxf/dxf.h"
#include "cad/dxf/text_codec.h"
#include "cad/memcad/block_reference.h"
#include "cad/memcad/curves.h"
#include "cad/memcad/faces.h"
#include "cad/memcad/polylines.h"
#include "cad/memcad/texts.h"
#include "core/cp1252.h"
#include "dxf/dxf_test_util.h"

namespace kestrel::dxf {
namespace {

using json = nlohmann::json;
using namespace memcad;

constexpr double kAngleTolerance = 1e-9;  // degrees: the file keeps 12 significant digits

std::string dump_script() { return std::string(KESTREL_TEST_DATA) + "/dxf/ezdxf_dump.py"; }

json ezdxf_dump(const std::filesystem::path& file) {
  const auto out = test::run("/usr/bin/python3 " + dump_script() + " '" + file.string() + "' 2>&1");
  if (!out) return json();
  return json::parse(*out);
}

// What a reader that does not decode DXF escapes shows for `utf8`.
std::string as_escaped(std::string_view utf8) {
  std::string bytes;
  encode_text(utf8, bytes);
  return core::from_cp1252(bytes);
}

// Table names in DXF are compared without regard to case ("BYLAYER", "ByLayer").
bool same_name(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) { return std::toupper(x) == std::toupper(y); });
}

double degrees(double radians) { return radians * 180 / std::numbers::pi; }

void expect_point(const json& j, const Vec3& p, const std::string& what) {
  ASSERT_TRUE(j.is_array()) << what;
  EXPECT_EQ(j[0].get<double>(), p.x) << what;
  EXPECT_EQ(j[1].get<double>(), p.y) << what;
  EXPECT_EQ(j[2].get<double>(), p.z) << what;
}

void expect_text(const json& j, const TextBase& t, const Document& doc) {
  EXPECT_EQ(j["text"].get<std::string>(), as_escaped(t.text));
  expect_point(j["insert"], t.insertion, "insert");
  EXPECT_EQ(j["height"].get<double>(), t.height);
  EXPECT_NEAR(j["rotation"].get<double>(), degrees(t.rotation), kAngleTolerance);
  EXPECT_EQ(j["width"].get<double>(), t.width_factor);
  EXPECT_NEAR(j["oblique"].get<double>(), degrees(t.oblique_angle), kAngleTolerance);
  EXPECT_EQ(j["style"].get<std::string>(), doc.text_styles().at(t.style).name());
  EXPECT_EQ(j["halign"].get<int>(), t.horizontal_alignment);
  EXPECT_EQ(j["valign"].get<int>(), t.vertical_alignment);
  if (t.horizontal_alignment != 0 || t.vertical_alignment != 0) {
    expect_point(j["align_point"], t.alignment_point, "alignment point");
  }
}

void expect_geometry(const json& j, const Entity& e, const Document& doc) {
  switch (e.kind()) {
    case EntityKind::kPoint: return expect_point(j["location"], static_cast<const Point&>(e).position, "point");
    case EntityKind::kLine: {
      const auto& l = static_cast<const Line&>(e);
      expect_point(j["start"], l.start, "start");
      return expect_point(j["end"], l.end, "end");
    }
    case EntityKind::kLightweightPolyline: {
      const auto& p = static_cast<const LightweightPolyline&>(e);
      ASSERT_EQ(j["points"].size(), p.vertex_count());
      for (std::size_t i = 0; i < p.vertex_count(); ++i) {
        EXPECT_EQ(j["points"][i][0].get<double>(), p.xy[2 * i]);
        EXPECT_EQ(j["points"][i][1].get<double>(), p.xy[2 * i + 1]);
        EXPECT_EQ(j["points"][i][4].get<double>(), p.bulge(i));
        for (std::size_t k = 0; k < 2 && !p.widths.empty(); ++k) {
          EXPECT_EQ(j["points"][i][2 + k].get<double>(), p.widths[2 * i + k]);
        }
      }
      EXPECT_EQ(j["closed"].get<bool>(), p.closed);
      EXPECT_EQ(j["elevation"].get<double>(), p.elevation);
      EXPECT_EQ(j["const_width"].get<double>(), p.constant_width);
      return;
    }
    case EntityKind::kPolyline2d: {
      const auto& p = static_cast<const Polyline2d&>(e);
      EXPECT_EQ(j["mode"], "2d");
      EXPECT_EQ(j["closed"].get<bool>(), p.closed);
      EXPECT_EQ(j["elevation"].get<double>(), p.elevation);
      ASSERT_EQ(j["vertices"].size(), p.vertex_count());
      for (std::size_t i = 0; i < p.vertex_count(); ++i) {
        expect_point(j["vertices"][i], {p.xyz[3 * i], p.xyz[3 * i + 1], p.xyz[3 * i + 2]}, "vertex");
        EXPECT_EQ(j["bulges"][i].get<double>(), p.bulge(i));
      }
      return;
    }
    case EntityKind::kPolyline3d: {
      const auto& p = static_cast<const Polyline3d&>(e);
      EXPECT_EQ(j["mode"], "3d");
      EXPECT_EQ(j["closed"].get<bool>(), p.closed);
      ASSERT_EQ(j["vertices"].size(), p.vertex_count());
      for (std::size_t i = 0; i < p.vertex_count(); ++i) {
        expect_point(j["vertices"][i], {p.xyz[3 * i], p.xyz[3 * i + 1], p.xyz[3 * i + 2]}, "vertex");
      }
      return;
    }
    case EntityKind::kPolyfaceMesh: {
      const auto& m = static_cast<const PolyfaceMesh&>(e);
      EXPECT_EQ(j["mode"], "polyface");
      ASSERT_EQ(j["vertices"].size(), m.vertex_count());
      for (std::size_t i = 0; i < m.vertex_count(); ++i) expect_point(j["vertices"][i], m.vertex(i), "vertex");
      ASSERT_EQ(j["faces"].size(), m.faces.size());
      for (std::size_t i = 0; i < m.faces.size(); ++i) {
        for (std::size_t k = 0; k < 4; ++k) EXPECT_EQ(j["faces"][i][k].get<int>(), m.faces[i][k]);
      }
      return;
    }
    case EntityKind::kArc: {
      const auto& a = static_cast<const Arc&>(e);
      expect_point(j["center"], a.center, "center");
      EXPECT_EQ(j["radius"].get<double>(), a.radius);
      EXPECT_NEAR(j["start_angle"].get<double>(), degrees(a.start_angle), kAngleTolerance);
      EXPECT_NEAR(j["end_angle"].get<double>(), degrees(a.end_angle), kAngleTolerance);
      return;
    }
    case EntityKind::kCircle: {
      expect_point(j["center"], static_cast<const Circle&>(e).center, "center");
      EXPECT_EQ(j["radius"].get<double>(), static_cast<const Circle&>(e).radius);
      return;
    }
    case EntityKind::kText: return expect_text(j, static_cast<const Text&>(e), doc);
    case EntityKind::kAttributeDefinition: {
      const auto& a = static_cast<const AttributeDefinition&>(e);
      EXPECT_EQ(j["tag"].get<std::string>(), a.tag);
      EXPECT_EQ(j["prompt"].get<std::string>(), a.prompt);
      EXPECT_EQ(j["flags"].get<int>(), a.mode);
      return expect_text(j, a, doc);
    }
    case EntityKind::kMText: {
      const auto& t = static_cast<const MText&>(e);
      EXPECT_EQ(j["text"].get<std::string>(), as_escaped(t.text));
      expect_point(j["insert"], t.insertion, "insert");
      EXPECT_EQ(j["char_height"].get<double>(), t.height);
      EXPECT_EQ(j["width"].get<double>(), t.width);
      EXPECT_NEAR(j["rotation"].get<double>(), degrees(t.rotation), kAngleTolerance);
      EXPECT_EQ(j["attachment_point"].get<int>(), t.attachment);
      EXPECT_EQ(j["style"].get<std::string>(), doc.text_styles().at(t.style).name());
      return;
    }
    case EntityKind::kFace3d: {
      const auto& f = static_cast<const Face3d&>(e);
      for (std::size_t i = 0; i < 4; ++i) expect_point(j["vertices"][i], f.corners[i], "corner");
      EXPECT_EQ(j["invisible_edges"].get<int>(), f.invisible_edges);
      return;
    }
    case EntityKind::kHatch: {
      const auto& h = static_cast<const Hatch&>(e);
      EXPECT_EQ(j["pattern"].get<std::string>(), h.pattern_name);
      EXPECT_EQ(j["solid"].get<int>(), h.solid() ? 1 : 0);
      EXPECT_EQ(j["elevation"].get<double>(), h.elevation);
      if (!h.solid()) {
        EXPECT_NEAR(j["angle"].get<double>(), degrees(h.pattern_angle), kAngleTolerance);
        EXPECT_EQ(j["scale"].get<double>(), h.pattern_scale);
      }
      ASSERT_EQ(j["paths"].size(), h.loops.size());
      for (std::size_t i = 0; i < h.loops.size(); ++i) {
        const HatchLoop& loop = h.loops[i];
        const json& path = j["paths"][i];
        EXPECT_EQ((path["flags"].get<int>() & 1) != 0, loop.outer);
        ASSERT_EQ(path["vertices"].size(), loop.xy.size() / 2);
        for (std::size_t k = 0; k < loop.xy.size() / 2; ++k) {
          EXPECT_EQ(path["vertices"][k][0].get<double>(), loop.xy[2 * k]);
          EXPECT_EQ(path["vertices"][k][1].get<double>(), loop.xy[2 * k + 1]);
          EXPECT_EQ(path["vertices"][k][2].get<double>(), k < loop.bulges.size() ? loop.bulges[k] : 0.0);
        }
      }
      return;
    }
    case EntityKind::kBlockReference: {
      const auto& r = static_cast<const BlockReference&>(e);
      EXPECT_EQ(j["name"].get<std::string>(), r.name());
      expect_point(j["insert"], r.insertion, "insert");
      expect_point(j["scale"], r.scale, "scale");
      EXPECT_NEAR(j["rotation"].get<double>(), degrees(r.rotation), kAngleTolerance);
      ASSERT_EQ(j["attribs"].size(), r.attributes.size());
      for (std::size_t i = 0; i < r.attributes.size(); ++i) {
        const json& a = j["attribs"][i];
        EXPECT_EQ(a["tag"].get<std::string>(), r.attributes[i]->tag);
        EXPECT_EQ((a["flags"].get<int>() & 1) != 0, r.attributes[i]->invisible);
        expect_text(a, *r.attributes[i], doc);
        expect_point(a["extrusion"], r.attributes[i]->normal, "extrusion");
      }
      return;
    }
    default: return;
  }
}

void expect_entities(const json& list, const Block& block, const Document& doc) {
  ASSERT_EQ(list.size(), block.size()) << block.name();
  for (std::size_t i = 0; i < block.size(); ++i) {
    const Entity& e = block.at(i);
    const json& j = list[i];
    SCOPED_TRACE(std::string(test::dxf_type(e)) + " #" + std::to_string(i));
    EXPECT_EQ(j["type"].get<std::string>(), test::dxf_type(e));
    EXPECT_EQ(j["layer"].get<std::string>(), doc.layers().at(e.layer_index()).name());
    EXPECT_TRUE(same_name(j["linetype"].get<std::string>(), doc.linetypes().at(e.linetype_index()).name()));
    EXPECT_EQ(j["color"].get<int>(), e.color());
    if (e.true_color()) {
      const Rgb c = *e.true_color();
      EXPECT_EQ(j["true_color"].get<int>(), (c.red << 16) | (c.green << 8) | c.blue);
    } else {
      EXPECT_FALSE(j.contains("true_color"));
    }
    if (e.kind() != EntityKind::kFace3d) {
      EXPECT_EQ(j["invisible"].get<int>(), e.visible() ? 0 : 1);
    }
    expect_geometry(j, e, doc);
    if (j.contains("extrusion")) expect_point(j["extrusion"], test::normal_of(e), "extrusion");
  }
}

class EzdxfReads : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const auto missing = test::ezdxf_missing()) GTEST_SKIP() << *missing;
    doc_ = test::every_kind_drawing();
    file_ = folder_.path() / "todo.dxf";
    save_dxf(*doc_, file_);
    dump_ = ezdxf_dump(file_);
    ASSERT_TRUE(dump_.is_object()) << "ezdxf no pudo leer " << file_;
  }

  test::TempFolder folder_;
  std::shared_ptr<Document> doc_;
  std::filesystem::path file_;
  json dump_;
};

TEST_F(EzdxfReads, AuditIsClean) {
  EXPECT_EQ(dump_["version"], "AC1015");
  EXPECT_FALSE(dump_["recovered"].get<bool>()) << "ezdxf.readfile no lee el archivo";
  EXPECT_TRUE(dump_["audit_errors"].empty()) << dump_["audit_errors"].dump();
  EXPECT_TRUE(dump_["audit_fixes"].empty()) << dump_["audit_fixes"].dump();
}

TEST_F(EzdxfReads, HeaderHoldsVariablesLimitsAndExtents) {
  const json& h = dump_["header"];
  EXPECT_EQ(h["$PDMODE"].get<int>(), 35);
  EXPECT_EQ(h["$PDSIZE"].get<double>(), 0.75);
  EXPECT_EQ(h["$USERR1"].get<double>(), 1.5);
  EXPECT_EQ(h["$INSUNITS"].get<int>(), 6);
  EXPECT_EQ(h["$CLAYER"].get<std::string>(), "Curvas de nivel");
  EXPECT_EQ(h["$LIMMIN"], json::array({-10.0, -20.5}));
  EXPECT_EQ(h["$LIMMAX"], json::array({1000.0, 800.0}));
  Box box;
  for (const auto& e : doc_->model_space().entities()) box.add(e->extents());
  expect_point(h["$EXTMIN"], box.min(), "extmin");
  expect_point(h["$EXTMAX"], box.max(), "extmax");
}

TEST_F(EzdxfReads, TablesMatch) {
  for (const auto& l : doc_->layers().items()) {
    SCOPED_TRACE(l->name());
    const json& j = dump_["layers"][l->name()];
    ASSERT_TRUE(j.is_object());
    EXPECT_EQ(j["color"].get<int>(), l->on ? l->color : -l->color);
    EXPECT_EQ(j["on"].get<bool>(), l->on);
    EXPECT_EQ(j["frozen"].get<bool>(), l->frozen);
    EXPECT_EQ(j["locked"].get<bool>(), l->locked);
    EXPECT_EQ(j["linetype"].get<std::string>(), l->linetype);
    if (l->true_color) {
      EXPECT_EQ(j["true_color"].get<int>(), (l->true_color->red << 16) | (l->true_color->green << 8) | l->true_color->blue);
    }
  }
  EXPECT_EQ(dump_["linetypes"]["DASHED"]["description"], "Trazos __ __ __");
  const json& style = dump_["styles"]["Rótulos"];
  EXPECT_EQ(style["font"], "arial.ttf");
  EXPECT_EQ(style["width"].get<double>(), 0.8);
  EXPECT_EQ(style["height"].get<double>(), 0);
  EXPECT_NEAR(style["oblique"].get<double>(), 15, kAngleTolerance);
  const json& block = dump_["blocks"]["Árbol"];
  expect_point(block["base"], {1, 2, 0}, "base");
}

TEST_F(EzdxfReads, EntitiesMatchInEveryLayoutAndBlock) {
  {
    SCOPED_TRACE("model space");
    expect_entities(dump_["modelspace"], doc_->model_space(), *doc_);
  }
  {
    SCOPED_TRACE("paper space");
    expect_entities(dump_["paperspace"], doc_->paper_space(), *doc_);
  }
  SCOPED_TRACE("block");
  expect_entities(dump_["blocks"]["Árbol"]["entities"], *doc_->blocks().find("Árbol"), *doc_);
}

TEST(EzdxfReadsLoaded, EveryCorpusFileSavedAgainIsAuditClean) {
  if (const auto missing = test::ezdxf_missing()) GTEST_SKIP() << *missing;
  const std::filesystem::path corpus(KESTREL_SHARED_CORPUS);
  if (!std::filesystem::is_directory(corpus)) GTEST_SKIP() << "no está la carpeta " << corpus;
  test::TempFolder folder;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    if (entry.path().extension() != ".dxf") continue;
    SCOPED_TRACE(entry.path().filename().string());
    const auto doc = load_dxf(entry.path());
    const auto file = folder.path() / entry.path().filename();
    save_dxf(*doc, file);
    const json dump = ezdxf_dump(file);
    ASSERT_TRUE(dump.is_object());
    // Names with characters outside Windows-1252 are written as \U+XXXX,
    // which ezdxf.readfile refuses and ezdxf.recover reads.
    if (dump["recovered"].get<bool>()) {
      EXPECT_NE(save_dxf_text(*doc).find("\\U+"), std::string::npos);
    }
    EXPECT_TRUE(dump["audit_errors"].empty()) << dump["audit_errors"].dump();
    EXPECT_TRUE(dump["audit_fixes"].empty()) << dump["audit_fixes"].dump();
    std::map<std::string, int> known;
    std::map<std::string, int> read;
    for (const auto& e : doc->model_space().entities()) {
      if (e->kind() != EntityKind::kUnknown) ++known[std::string(test::dxf_type(*e))];
    }
    for (const json& e : dump["modelspace"]) ++read[e["type"].get<std::string>()];
    EXPECT_EQ(read, known);
  }
}

}  // namespace
}  // namespace kestrel::dxf
