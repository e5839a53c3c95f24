#include "dxf/dxf_test_util.h"

#include <array>
#include <cstdio>
#include <numbers>

#include "cad/memcad/block_reference.h"
#include "cad/memcad/curves.h"
#include "cad/memcad/faces.h"
#include "cad/memcad/polylines.h"
#include "cad/memcad/texts.h"

namespace kestrel::dxf::test {

namespace {

using namespace memcad;

constexpr double kDegree = std::numbers::pi / 180;

Layer& layer(Document& doc, std::string_view name, std::int16_t color) {
  Layer& l = doc.layers().add(name);
  l.color = color;
  return l;
}

template <class E>
E& on(Document& doc, E& e, std::string_view layer_name) {
  e.set_layer_index(doc.layer_index(layer_name));
  return e;
}

void add_tables(Document& doc) {
  layer(doc, "Curvas de nivel", 3);
  layer(doc, "Señales", 1).on = false;
  Layer& trees = layer(doc, "Árboles", 94);
  trees.frozen = trees.locked = true;
  layer(doc, "Cota º", 7).true_color = Rgb{12, 200, 34};
  Linetype& dashed = doc.linetypes().add("DASHED");
  dashed.description = "Trazos __ __ __";
  dashed.pattern = {12.7, -6.35};
  doc.layers().add("Curvas de nivel").linetype = "DASHED";
  TextStyle& labels = doc.text_styles().add("Rótulos");
  labels.font_file = "arial.ttf";
  labels.height = 0;
  labels.width_factor = 0.8;
  labels.oblique_angle = 15 * kDegree;
  doc.variables().set("PDMODE", std::int16_t{35});
  doc.variables().set("PDSIZE", 0.75);
  doc.variables().set("USERR1", 1.5);
  doc.variables().set("CLAYER", "Curvas de nivel");
  doc.limits = Limits{-10, -20.5, 1000, 800};
}

void add_block(Document& doc) {
  Block& tree = doc.blocks().add("Árbol");
  tree.origin = {1, 2, 0};
  on(doc, tree.add<Circle>(Vec3{1, 2, 0}, 0.5), "0").set_color(kColorByBlock);
  auto& height = on(doc, tree.add<AttributeDefinition>("ALTURA", "0.0", Vec3{1.5, 2, 0}, 0.25), "0");
  height.prompt = "Altura del árbol";
  height.mode = 8;
}

void add_lines(Document& doc, Block& ms) {
  on(doc, ms.add<Point>(Vec3{100.125, 200.25, 12.5}), "0");
  auto& line = on(doc, ms.add<Line>(Vec3{0, 0, 0}, Vec3{10.1, -3.3, 1e-9}), "Curvas de nivel");
  line.set_color(5);
  line.set_linetype_index(doc.linetype_index("DASHED"));
  auto& lw = on(doc, ms.add<LightweightPolyline>(std::vector<double>{0, 0, 10, 0, 10, 10, 0, 10}), "Señales");
  lw.closed = true;
  lw.elevation = 4.5;
  lw.bulges = {0, 0.5, 0, -1};
  lw.widths = {0, 0, 0.2, 0.4, 0, 0, 0, 0};
  auto& p2 = on(doc, ms.add<Polyline2d>(std::vector<double>{1, 1, 7.5, 2, 1, 7.5, 3, 4, 7.5}), "Curvas de nivel");
  p2.elevation = 7.5;
  p2.bulges = {0.25, 0, 0};
  auto& p3 = on(doc, ms.add<Polyline3d>(std::vector<double>{0, 0, 100.5, 5, 5, 101.25, 10, 0, 99}), "0");
  p3.closed = true;
  auto& mesh = on(doc, ms.add<PolyfaceMesh>(), "Árboles");
  mesh.vertices = {0, 0, 0, 1, 0, 0, 1, 1, 1, 0, 1, 1, 2, 2, 2};
  mesh.faces = {{1, 2, 3, 4}, {3, -4, 5, 0}};
  auto& arc = on(doc, ms.add<Arc>(Vec3{5, 5, 0}, 2.5, 30 * kDegree, 300 * kDegree), "0");
  arc.set_true_color(Rgb{255, 128, 0});
  on(doc, ms.add<Circle>(Vec3{-5, 5, 1}, 0.001), "Cota º").set_visible(false);
}

void add_texts(Document& doc, Block& ms) {
  auto& text = on(doc, ms.add<Text>("Señal nº 5 — Ω", Vec3{1, 2, 3}, 0.35), "Señales");
  text.rotation = 45 * kDegree;
  text.set_width_factor(0.9);
  text.set_oblique_angle(10 * kDegree);
  text.style = doc.text_style_index("Rótulos");
  text.set_horizontal_alignment(1);
  text.set_vertical_alignment(2);
  text.set_alignment_point({1.5, 2.5, 3});
  std::string long_text = "{\\fArial|b1;Cota}\\PÁrea: 12 m² — ";
  for (int i = 0; i < 30; ++i) long_text += "línea " + std::to_string(i) + " \\U+ ";
  long_text += "😀 fin ^ caret";
  auto& mtext = on(doc, ms.add<MText>(Vec3{20, 30, 0}, 15.5, long_text), "0");
  mtext.height = 1.25;
  mtext.rotation = 90 * kDegree;
  mtext.attachment = 5;
  auto& face = on(doc, ms.add<Face3d>(std::array<Vec3, 4>{Vec3{0, 0, 1}, {1, 0, 2}, {1, 1, 3}, {1, 1, 3}}), "0");
  face.invisible_edges = 5;
}

void add_hatches_and_references(Document& doc, Block& ms) {
  auto& solid = on(doc, ms.add<Hatch>(std::int16_t{1}, "SOLID"), "Cota º");
  solid.set_color(3);
  solid.set_true_color(Rgb{1, 2, 3});
  solid.loops.push_back(HatchLoop{{0, 0, 4, 0, 4, 3}, {0, 0.4, 0}, true});
  auto& pattern = on(doc, ms.add<Hatch>(std::int16_t{1}, "ANSI31"), "0");
  pattern.pattern_angle = 45 * kDegree;
  pattern.pattern_scale = 2.5;
  pattern.elevation = 3;
  pattern.loops.push_back(HatchLoop{{0, 0, 10, 0, 10, 10, 0, 10}, {}, true});
  pattern.loops.push_back(HatchLoop{{2, 2, 4, 2, 4, 4}, {}, false});
  Block* tree = doc.blocks().find("Árbol");
  auto& ref = on(doc, ms.add<BlockReference>(tree, Vec3{50, 60, 0}), "Árboles");
  ref.scale = {2, 2, 1};
  ref.rotation = 30 * kDegree;
  auto& a = ref.add_attribute("ALTURA", "12.5 m", Vec3{53, 64, 0}, 0.5);
  a.rotation = 30 * kDegree;
  auto& b = ref.add_attribute("ESPECIE", "Pino piñonero", Vec3{53, 63, 0}, 0.5);
  b.invisible = true;
  on(doc, ms.add<BlockReference>(tree, Vec3{-50, 60, 0}), "0");
  on(doc, doc.paper_space().add<Text>("Plano 1/500", Vec3{10, 10, 0}, 3.5), "0");
}

// Entities in planes of their own: seen from below (normal -Z), standing
// upright (normal +Y) and tilted, as mirrored and 3D drawings hold them.
void add_planes(Document& doc, Block& ms) {
  const Vec3 below{0, 0, -1};
  const Vec3 upright{0, 1, 0};
  const Vec3 tilted{0.0207461631753607, 0.3239633267477399, 0.9458421430852181};
  on(doc, ms.add<Arc>(Vec3{2.5, 2.5, 0.5}, 0.75, 315 * kDegree, 225 * kDegree), "0").normal = below;
  on(doc, ms.add<Circle>(Vec3{2.4, 0, 0}, 0.4), "0").normal = upright;
  auto& lw = on(doc, ms.add<LightweightPolyline>(std::vector<double>{1, 1, 2, 1, 1, 2}), "0");
  lw.elevation = 3.5;
  lw.normal = tilted;
  auto& p2 = on(doc, ms.add<Polyline2d>(std::vector<double>{1, 1, 0, 1, 2, 0, 2, 2, 0}), "0");
  p2.bulges = {0.5, 0, 0};
  p2.normal = below;
  auto& text = on(doc, ms.add<Text>("Al revés", Vec3{7, 7, 0}, 1), "0");
  text.rotation = 30 * kDegree;
  text.set_normal(below);
  auto& ref = on(doc, ms.add<BlockReference>(doc.blocks().find("Árbol"), Vec3{-100, 300, 200}), "0");
  ref.rotation = 90 * kDegree;
  ref.normal = upright;
}

}  // namespace

std::string_view dxf_type(const Entity& e) {
  switch (e.kind()) {
    case EntityKind::kPoint: return "POINT";
    case EntityKind::kLine: return "LINE";
    case EntityKind::kLightweightPolyline: return "LWPOLYLINE";
    case EntityKind::kPolyline2d:
    case EntityKind::kPolyline3d:
    case EntityKind::kPolyfaceMesh: return "POLYLINE";
    case EntityKind::kArc: return "ARC";
    case EntityKind::kCircle: return "CIRCLE";
    case EntityKind::kText: return "TEXT";
    case EntityKind::kMText: return "MTEXT";
    case EntityKind::kFace3d: return "3DFACE";
    case EntityKind::kHatch: return "HATCH";
    case EntityKind::kBlockReference: return "INSERT";
    case EntityKind::kAttribute: return "ATTRIB";
    case EntityKind::kAttributeDefinition: return "ATTDEF";
    case EntityKind::kUnknown: return static_cast<const UnknownEntity&>(e).dxf_type;
  }
  return "?";
}

std::shared_ptr<Document> every_kind_drawing() {
  auto doc = Document::create("todo.dxf");
  add_tables(*doc);
  add_block(*doc);
  Block& ms = doc->model_space();
  add_lines(*doc, ms);
  add_texts(*doc, ms);
  add_hatches_and_references(*doc, ms);
  add_planes(*doc, ms);
  return doc;
}

std::optional<std::string> run(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return std::nullopt;
  std::string out;
  std::array<char, 4096> buf{};
  std::size_t n = 0;
  while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0) out.append(buf.data(), n);
  const int status = pclose(pipe);
  if (status != 0) return std::nullopt;
  return out;
}

std::optional<std::string> ezdxf_missing() {
  if (!std::filesystem::exists("/usr/bin/python3")) return "no hay /usr/bin/python3";
  if (!run("/usr/bin/python3 -c 'import ezdxf' 2>/dev/null")) return "python3-ezdxf no está instalado";
  return std::nullopt;
}

}  // namespace kestrel::dxf::test
