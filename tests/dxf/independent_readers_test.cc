// Saved files read by an independent reader, python3-ezdxf: audit clean, and
// the same tables, layers, colours, counts and coordinates; hatch pattern
// lines equal to ezdxf's own definition of the pattern, scaled and turned.
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
json xyz(const Vec3& p) { return {p.x, p.y, p.z}; }
int rgb(const Rgb& c) { return (c.red << 16) | (c.green << 8) | c.blue; }

// Rows of `width` numbers from a flat list.
json rows(const std::vector<double>& flat, std::size_t width) {
  json out = json::array();
  for (std::size_t i = 0; i + width <= flat.size(); i += width) {
    out.push_back(std::vector<double>(flat.begin() + i, flat.begin() + i + width));
  }
  return out;
}

// Bulges as a reader sees them: one per vertex, 0 where none is held.
std::vector<double> per_vertex(std::vector<double> bulges, std::size_t vertices) {
  bulges.resize(vertices, 0.0);
  return bulges;
}

// What ezdxf reads in `got` holds every value of `want`: coordinates exactly,
// angles to the 12 significant digits the file keeps, other numbers within
// `tolerance` when it is given.
void expect_holds(const json& got, const json& want, const std::string& where = "", double tolerance = 0) {
  if (want.is_object()) {
    for (const auto& [key, value] : want.items()) {
      ASSERT_TRUE(got.contains(key)) << where << "." << key;
      const bool is_angle = key == "rotation" || key == "oblique" || key.ends_with("angle");
      expect_holds(got[key], value, where + "." + key, is_angle ? kAngleTolerance : tolerance);
    }
  } else if (want.is_array()) {
    ASSERT_EQ(got.size(), want.size()) << where;
    for (std::size_t i = 0; i < want.size(); ++i) {
      expect_holds(got[i], want[i], where + "[" + std::to_string(i) + "]", tolerance);
    }
  } else if (tolerance > 0) {
    EXPECT_NEAR(got.get<double>(), want.get<double>(), tolerance) << where;
  } else {
    EXPECT_EQ(got, want) << where;
  }
}

json text_like(const TextBase& t, const Document& doc) {
  json j = {{"text", as_escaped(t.text)}, {"insert", xyz(t.insertion)}, {"height", t.height},
            {"width", t.width_factor()},  {"rotation", degrees(t.rotation)}, {"oblique", degrees(t.oblique_angle())},
            {"style", doc.text_styles().at(t.style).name()}, {"halign", t.horizontal_alignment()},
            {"valign", t.vertical_alignment()}, {"extrusion", xyz(t.normal())}};
  if (t.horizontal_alignment() != 0 || t.vertical_alignment() != 0) j["align_point"] = xyz(t.alignment_point());
  return j;
}

// The entity as the dump script writes it, from its own fields.
json geometry(const Entity& e, const Document& doc) {
  switch (e.kind()) {
    case EntityKind::kPoint: return {{"location", xyz(static_cast<const Point&>(e).position)}};
    case EntityKind::kLine: {
      const auto& l = static_cast<const Line&>(e);
      return {{"start", xyz(l.start)}, {"end", xyz(l.end)}};
    }
    case EntityKind::kLightweightPolyline: {
      const auto& p = static_cast<const LightweightPolyline&>(e);
      json points = json::array();
      for (std::size_t i = 0; i < p.vertex_count(); ++i) {
        const double start = p.widths.empty() ? 0 : p.widths[2 * i], end = p.widths.empty() ? 0 : p.widths[2 * i + 1];
        points.push_back({p.xy[2 * i], p.xy[2 * i + 1], start, end, p.bulge(i)});
      }
      return {{"points", points},           {"closed", p.closed},        {"elevation", p.elevation},
              {"const_width", p.constant_width}, {"extrusion", xyz(p.normal)}};
    }
    case EntityKind::kPolyline2d: {
      const auto& p = static_cast<const Polyline2d&>(e);
      return {{"mode", "2d"}, {"closed", p.closed}, {"elevation", p.elevation}, {"vertices", rows(p.xyz, 3)},
              {"bulges", per_vertex(p.bulges, p.vertex_count())}, {"extrusion", xyz(p.normal)}};
    }
    case EntityKind::kPolyline3d: {
      const auto& p = static_cast<const Polyline3d&>(e);
      return {{"mode", "3d"}, {"closed", p.closed}, {"vertices", rows(p.xyz, 3)}};
    }
    case EntityKind::kPolyfaceMesh: {
      const auto& m = static_cast<const PolyfaceMesh&>(e);
      return {{"mode", "polyface"}, {"vertices", rows(m.vertices, 3)}, {"faces", m.faces}};
    }
    case EntityKind::kArc: {
      const auto& a = static_cast<const Arc&>(e);
      return {{"center", xyz(a.center)}, {"radius", a.radius}, {"start_angle", degrees(a.start_angle)},
              {"end_angle", degrees(a.end_angle)}, {"extrusion", xyz(a.normal)}};
    }
    case EntityKind::kCircle: {
      const auto& c = static_cast<const Circle&>(e);
      return {{"center", xyz(c.center)}, {"radius", c.radius}, {"extrusion", xyz(c.normal)}};
    }
    case EntityKind::kText: return text_like(static_cast<const Text&>(e), doc);
    case EntityKind::kAttributeDefinition: {
      const auto& a = static_cast<const AttributeDefinition&>(e);
      json j = text_like(a, doc);
      j.update({{"tag", a.tag}, {"prompt", a.prompt}, {"flags", a.mode}});
      return j;
    }
    case EntityKind::kMText: {
      const auto& t = static_cast<const MText&>(e);
      return {{"text", as_escaped(t.text)},    {"insert", xyz(t.insertion)},       {"char_height", t.height},
              {"width", t.width},              {"rotation", degrees(t.rotation)}, {"attachment_point", t.attachment},
              {"style", doc.text_styles().at(t.style).name()}, {"extrusion", xyz(t.normal)}};
    }
    case EntityKind::kFace3d: {
      const auto& f = static_cast<const Face3d&>(e);
      return {{"vertices", {xyz(f.corners[0]), xyz(f.corners[1]), xyz(f.corners[2]), xyz(f.corners[3])}},
              {"invisible_edges", f.invisible_edges}};
    }
    case EntityKind::kHatch: {
      const auto& h = static_cast<const Hatch&>(e);
      json j = {{"pattern", h.pattern_name}, {"solid", h.solid() ? 1 : 0}, {"elevation", h.elevation}, {"paths", {}}};
      if (!h.solid()) j.update({{"angle", degrees(h.pattern_angle)}, {"scale", h.pattern_scale}});
      for (const HatchLoop& loop : h.loops) {
        std::vector<double> vertices;
        const auto bulges = per_vertex(loop.bulges, loop.xy.size() / 2);
        for (std::size_t k = 0; k < bulges.size(); ++k) vertices.insert(vertices.end(), {loop.xy[2 * k], loop.xy[2 * k + 1], bulges[k]});
        j["paths"].push_back({{"vertices", rows(vertices, 3)}});
      }
      return j;
    }
    case EntityKind::kBlockReference: {
      const auto& r = static_cast<const BlockReference&>(e);
      json j = {{"name", r.name()}, {"insert", xyz(r.insertion)}, {"scale", xyz(r.scale)},
                {"rotation", degrees(r.rotation)}, {"attribs", json::array()}, {"extrusion", xyz(r.normal)}};
      for (const auto& a : r.attributes) {
        j["attribs"].push_back(text_like(*a, doc));
        j["attribs"].back()["tag"] = a->tag;
      }
      return j;
    }
    default: return json::object();
  }
}

void expect_entities(const json& list, const Block& block, const Document& doc) {
  ASSERT_EQ(list.size(), block.size()) << block.name();
  for (std::size_t i = 0; i < block.size(); ++i) {
    const Entity& e = block.at(i);
    const json& got = list[i];
    SCOPED_TRACE(std::string(test::dxf_type(e)) + " #" + std::to_string(i));
    json want = geometry(e, doc);
    want.update({{"type", test::dxf_type(e)}, {"layer", doc.layers().at(e.layer_index()).name()},
                 {"color", e.color()}, {"invisible", e.visible() ? 0 : 1}});
    if (e.true_color()) want["true_color"] = rgb(*e.true_color());
    EXPECT_EQ(got.contains("true_color"), e.true_color().has_value());
    if (got.contains("extrusion") && !want.contains("extrusion")) want["extrusion"] = {0.0, 0.0, 1.0};
    expect_holds(got, want);
    EXPECT_TRUE(same_name(got["linetype"].get<std::string>(), doc.linetypes().at(e.linetype_index()).name()));
    // The flags that say a hatch boundary is outer, an attribute invisible.
    for (std::size_t k = 0; e.kind() == EntityKind::kHatch && k < got["paths"].size(); ++k) {
      EXPECT_EQ((got["paths"][k]["flags"].get<int>() & 1) != 0, static_cast<const Hatch&>(e).loops[k].outer);
    }
    for (std::size_t k = 0; e.kind() == EntityKind::kBlockReference && k < got["attribs"].size(); ++k) {
      EXPECT_EQ((got["attribs"][k]["flags"].get<int>() & 1) != 0,
                static_cast<const BlockReference&>(e).attributes[k]->invisible);
    }
  }
}

// The extents are left to the round trip, which checks them against figures
// worked out by hand.
TEST(EzdxfReads, AuditIsCleanAndHeaderTablesAndEntitiesMatch) {
  if (const auto missing = test::ezdxf_missing()) GTEST_SKIP() << *missing;
  const auto doc = test::every_kind_drawing();
  test::TempFolder folder;
  const auto file = folder.path() / "todo.dxf";
  save_dxf(*doc, file);
  const json dump = ezdxf_dump(file);
  ASSERT_TRUE(dump.is_object()) << "ezdxf no pudo leer " << file;
  EXPECT_EQ(dump["version"], "AC1015");
  EXPECT_FALSE(dump["recovered"].get<bool>()) << "ezdxf.readfile no lee el archivo";
  EXPECT_TRUE(dump["audit_errors"].empty()) << dump["audit_errors"].dump();
  EXPECT_TRUE(dump["audit_fixes"].empty()) << dump["audit_fixes"].dump();
  expect_holds(dump["header"], {{"$PDMODE", 35}, {"$PDSIZE", 0.75}, {"$USERR1", 1.5}, {"$INSUNITS", 6},
                                {"$CLAYER", "Curvas de nivel"}, {"$LIMMIN", {-10.0, -20.5}},
                                {"$LIMMAX", {1000.0, 800.0}}});
  for (const auto& l : doc->layers().items()) {
    json want = {{"color", l->on ? l->color : -l->color}, {"on", l->on}, {"frozen", l->frozen},
                 {"locked", l->locked}, {"linetype", l->linetype}};
    if (l->true_color) want["true_color"] = rgb(*l->true_color);
    expect_holds(dump["layers"][l->name()], want, l->name());
  }
  EXPECT_EQ(dump["linetypes"]["DASHED"]["description"], "Trazos __ __ __");
  expect_holds(dump["styles"]["Rótulos"], {{"font", "arial.ttf"}, {"width", 0.8}, {"height", 0.0}, {"oblique", 15.0}});
  EXPECT_EQ(dump["blocks"]["Árbol"]["base"], json::array({1.0, 2.0, 0.0}));
  const std::pair<json, const Block*> parts[] = {{dump["modelspace"], &doc->model_space()},
                                                 {dump["paperspace"], &doc->paper_space()},
                                                 {dump["blocks"]["Árbol"]["entities"], doc->blocks().find("Árbol")}};
  for (const auto& [list, block] : parts) {
    SCOPED_TRACE(block->name());
    expect_entities(list, *block, *doc);
  }
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

// The export's hatches: scale 0.1, angles in grads turned into radians with
// pi taken as 3.141592.
double export_angle(double grads) { return grads * 90 / 100 * 3.141592 / 180; }

// A solid fill carries no lines, nor does a pattern whose definition is not
// known (its name alone is written).
TEST(EzdxfReadsHatches, TheLinesOfEachPatternAsItsOwnDefinitionScaledAndTurned) {
  if (const auto missing = test::ezdxf_missing()) GTEST_SKIP() << *missing;
  constexpr double kDegree = std::numbers::pi / 180;
  const struct {
    const char* name;
    double scale;
    double angle;  // radians
  } cases[] = {
      {"ANSI31", 0.1, export_angle(50)}, {"ANSI37", 0.1, export_angle(150)}, {"ansi32", 2.5, 30 * kDegree},
      {"ANSI33", 1, -60 * kDegree},      {"ANSI34", 0.5, 0},                 {"ANSI35", 3, 200 * kDegree},
      {"ANSI36", 1, 10 * kDegree},       {"ANSI38", 0.25, 315 * kDegree},    {"SOLID", 1, 0},
      {"MIO", 1, 0},
  };
  auto doc = Document::create("patterns.dxf");
  for (const auto& c : cases) {
    auto& h = doc->model_space().add<Hatch>(std::int16_t{0}, c.name);
    h.pattern_scale = c.scale;
    h.pattern_angle = c.angle;
    h.loops.push_back(HatchLoop{{0, 0, 10, 0, 10, 10}, {}, true});
  }
  test::TempFolder folder;
  save_dxf(*doc, folder.path() / "patterns.dxf");
  const json read = ezdxf_dump(folder.path() / "patterns.dxf")["modelspace"];
  ASSERT_EQ(read.size(), std::size(cases));
  for (std::size_t i = 0; i < read.size(); ++i) {
    const json& h = read[i];
    SCOPED_TRACE(h["pattern"].get<std::string>() + " at " + std::to_string(h["angle"].get<double>()));
    EXPECT_EQ(h["pattern"].get<std::string>(), cases[i].name);
    const bool solid = i == std::size(cases) - 2;
    EXPECT_EQ(h["solid"].get<int>(), solid ? 1 : 0);
    if (solid || i == std::size(cases) - 1) {
      EXPECT_TRUE(h["lines"].empty());
      continue;
    }
    EXPECT_EQ(h["pattern_type"].get<int>(), 1);  // DXF's "predefined"
    EXPECT_EQ(h["scale"].get<double>(), cases[i].scale);
    ASSERT_TRUE(h["ezdxf"].is_array()) << "ezdxf does not know the pattern";
    EXPECT_FALSE(h["lines"].empty());
    expect_holds(h["lines"], h["ezdxf"], "", 1e-9);  // ezdxf's table has 10 decimals
  }
}

}  // namespace
}  // namespace kestrel::dxf
