#include "import/entities.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "import/builders.h"
#include "import/import_fixture.h"
#include "import/layers.h"
#include "import/picked_readers.h"
#include "import/property_bag.h"

namespace kestrel::import_test {
namespace {

using namespace importing;

// An entity that answers every member any kind reads; its four corners
// (0,0,0 1,0,0 1,1,0 0,1,0) serve as point, polyline, face and mesh.
std::shared_ptr<PropertyBag> universal_entity(std::string_view type_name, std::string_view layer = "L1") {
  auto bag = std::make_shared<PropertyBag>();
  bag->with("EntityName", std::string(type_name)).with("Layer", std::string(layer)).with("Color", std::int32_t{1});
  bag->with("XScaleFactor", 1.0).with("Name", "BLK").with("InsertionPoint", xyz(5, 5, 0)).with("Rotation", 0.0);
  bag->with("HasAttributes", false).with("center", xyz(0, 0, 0)).with("radius", 1.0);
  bag->with("StartPoint", xyz(1, 0, 0)).with("EndPoint", xyz(0, 1, 0));
  bag->with("Coordinates", values({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0}));
  bag->with("Elevation", 0.0).with("Closed", false).with("TextString", "T").with("Height", 1.0);
  bag->with("StyleName", "S").with("NumberOfVertices", std::int32_t{4}).with("NumberOfFaces", std::int32_t{1});
  return bag;
}

struct Added {
  std::int32_t points, polylines, triangles, texts;
  friend bool operator==(const Added&, const Added&) = default;
};

class EntitiesTest : public ImportTest {};

// What each kind adds to the drawing model and to the census, worked out by
// hand for the universal entity; spellings the copy does not accept add nothing.
TEST_F(EntitiesTest, EachTypeNameReachesItsBuilderAndCensusRuleAndUnreadableOnesAreSkipped) {
  struct Case {
    const char* name;
    Added added;
    Census census;
  };
  const Case cases[] = {
      {"BlockReference", {1, 0, 0, 0}, {.block_insertions = 1, .vertices = 1}},
      {"AcDbArc", {3, 1, 0, 0}, {.arcs = 1, .vertices = 3}},
      {"Circle", {2, 1, 0, 0}, {.circles = 1, .vertices = 3}},
      {"AcDbPoint", {1, 0, 0, 0}, {.vertices = 1}},
      {"WPOLYLINE", {6, 1, 0, 0}, {.polylines = 1, .vertices = 6}},  // 12 values halved, also for triples
      {"LightWeightPolyline", {6, 1, 0, 0}, {}},                     // copied, never counted
      {"Line", {2, 1, 0, 0}, {.lines = 1, .vertices = 2}},
      {"Polyline", {4, 1, 0, 0}, {.polylines = 1, .vertices = 6}},
      {"AcDb3dPolyline", {4, 1, 0, 0}, {.polylines = 1, .vertices = 6}},
      {"AcDbMText", {0, 0, 0, 1}, {.texts = 1}},
      {"3dFace", {4, 1, 2, 0}, {.faces = 1, .vertices = 3}},
      {"AcDbPolyFaceMesh", {4, 1, 0, 0}, {.polyface_meshes = 1, .vertices = 4, .mesh_vertices = 4}},
      {"AcDbZombieEntity", {0, 0, 0, 0}, {}},
      {"acdbline", {0, 0, 0, 0}, {}},  // names are matched exactly
      {"AcDbLine ", {0, 0, 0, 0}, {}},
      {"AcDbSpline", {0, 0, 0, 0}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    importing::Borra_Modelo(model);
    Anade_Capa(model, "L1", core::kTrue, 0, 0);
    state.census = {};
    const core::Variant entity(universal_entity(c.name));
    ENTIDADES(ctx, entity);
    Entidades_ver(ctx, entity);
    EXPECT_EQ((Added{model.NumPuntos, model.NumPolis, model.NumTriangulos, model.NumRotulos}), c.added);
    EXPECT_EQ(state.census, c.census);
    EXPECT_EQ(model.NumCapas, 1);
    for (std::int32_t i = 1; i <= model.NumPuntos; ++i) EXPECT_EQ(model.PtoCapa[i], 1);
  }
  // The census skips an unreadable entity silently.
  state.census = {};
  auto broken = std::make_shared<PropertyBag>();
  broken->with("EntityName", "AcDbPolyline");  // no Coordinates
  Entidades_ver(ctx, core::Variant(broken));
  Entidades_ver(ctx, core::Variant(universal_entity("AcDbLine")));
  EXPECT_EQ(state.census, (Census{.lines = 1, .vertices = 2}));
  EXPECT_TRUE(messages().empty());
}

TEST_F(EntitiesTest, LayerResolutionVariants) {
  model.NumCapasCad = 1;
  model.CapasCadNombre = core::VbArray<std::string>(1, {"CAD"});
  model.CapasCadColor = core::VbArray<std::int32_t>(1, {5});
  ENTIDADES(ctx, core::Variant(universal_entity("AcDbPoint", "NUEVA")), false);
  ENTIDADES(ctx, core::Variant(universal_entity("AcDbPoint", "CAD")), true);
  ENTIDADES(ctx, core::Variant(universal_entity("AcDbPoint", "PROPIA")), true);  // its own Color 1
  ENTIDADES(ctx, core::Variant(universal_entity("AcDbPoint", "")), false);
  ENTIDADES(ctx, core::Variant(universal_entity("AcDbPoint", "NUEVA")), true);  // found: no new layer
  ASSERT_EQ(model.NumCapas, 3);
  EXPECT_EQ(std::tuple(model.Capas[1].ColorCapa, model.Capas[2].ColorCapa, model.Capas[3].ColorCapa),
            std::tuple(8420480, 16711680, 255));
  EXPECT_EQ(model.Capas[3].Encendida, core::kTrue);
  EXPECT_EQ(std::tuple(model.PtoCapa[4], model.PtoCapa[5]), std::tuple(1, 1));  // empty name: layer 1
  // Names are compared exactly.
  EXPECT_EQ(std::tuple(Capa_Encendida(model, "CAD"), Capa_Encendida(model, "cad")),
            std::tuple(core::kTrue, core::kFalse));
  // Busca_Capa_Doc takes the document layer's colour.
  doc().layers().add("MURO").color = 3;
  for (const char* name : {"MURO", "MURO", "NINGUNA"}) Busca_Capa_Doc(module, name);
  ASSERT_EQ(model.NumCapas, 5);
  EXPECT_EQ(std::tuple(model.Capas[4].ColorCapa, model.Capas[5].ColorCapa), std::tuple(65280, 8420480));
}

TEST_F(EntitiesTest, BlockReferenceWithAttributes) {
  memcad::Block& block = doc().blocks().add("ARBOL");
  auto& ref = space().add<memcad::BlockReference>(&block, memcad::Vec3{10, 20, 3});
  ref.set_layer("VEG");
  ref.add_attribute("ALTURA", "5", {11, 21, 0}, 0.5);
  ref.add_attribute("ESPECIE", "Pino", {11, 22, 0}, 0.5);
  space().add<memcad::BlockReference>(&block, memcad::Vec3{0, 0, 0});
  import_all(true);
  ASSERT_EQ(std::tuple(model.NumPuntos, model.NumRotulos, model.NumBloques), std::tuple(2, 2, 1));  // one name listed
  EXPECT_EQ(std::tuple(model.PtoCodigo[1], model.PtoZ[1], model.Rotulos[2].Texto, model.Rotulos[1].CapaR),
            std::tuple("**ARBOL", 3.0, "Pino", model.PtoCapa[1]));
  EXPECT_EQ(model.Capas[model.PtoCapa[1]].Nombre, "VEG");
  EXPECT_EQ(std::tuple(model.BloquesNombre[1], model.BloquesNombre.lbound()), std::tuple("ARBOL", 0));
}

TEST_F(EntitiesTest, PolyfaceMeshIsOneClosedOutline) {
  auto& mesh = space().add<memcad::PolyfaceMesh>();
  mesh.vertices = {0, 0, 1, 1, 0, 2, 1, 1, 3};
  mesh.faces = {{1, 2, 3, 0}};
  import_all();
  ASSERT_EQ(std::tuple(model.NumPuntos, model.NumPolis), std::tuple(3, 1));
  const model::t_Poli& outline = model.Polis[1];
  EXPECT_EQ(std::tuple(outline.NuVert, outline.Vert[0], outline.Vert[4], model.PtoZ[outline.Vert[3]]),
            std::tuple(4, kFaceOutlineMarker, outline.Vert[1], 3.0));
}

// Seen from below (normal -Z), the entity's own x runs along world -x:
// vertices and rotations reach the drawing model in world terms.
TEST_F(EntitiesTest, EntitiesSeenFromBelowComeInWorldCoordinates) {
  constexpr double kDegree = 3.141592653589793 / 180;
  const memcad::Vec3 below{0, 0, -1};
  auto& lw = space().add<memcad::LightweightPolyline>(std::vector<double>{1, 1, 2, 1});
  lw.elevation = 2;
  lw.normal = below;
  auto& p2 = space().add<memcad::Polyline2d>(std::vector<double>{1, 1, 0, 1, 2, 0});
  p2.elevation = 3;
  p2.normal = below;
  auto& text = space().add<memcad::Text>("T", memcad::Vec3{7, 7, 0}, 1.0);
  text.rotation = 30 * kDegree;
  text.set_normal(below);
  memcad::Block& block = doc().blocks().add("B");
  space().add<memcad::BlockReference>(&block, memcad::Vec3{5, 0, 0}).normal = below;
  import_all();
  std::vector<std::array<double, 3>> points;
  for (std::int32_t i = 1; i <= model.NumPuntos; ++i) points.push_back({model.PtoX[i], model.PtoY[i], model.PtoZ[i]});
  EXPECT_EQ(points,
            (std::vector<std::array<double, 3>>{{-1, 1, -2}, {-2, 1, -2}, {-1, 1, -3}, {-1, 2, -3}, {-5, 0, 0}}));
  ASSERT_EQ(std::tuple(model.NumRotulos, model.Rotulos[1].Xr), std::tuple(1, -7.0));
  EXPECT_NEAR(model.Rotulos[1].Giro, 400 - 150 * 400.0 / 360, 1e-6);  // the baseline runs at 150 degrees
  EXPECT_EQ(model.PtoCodigo[5], "**B/1/200.0000");
  EXPECT_TRUE(messages().empty());
}

// Lines are judged by their point indices: coinciding ends still make two
// points and a polyline; ends that give no point (index 0 twice) give none.
TEST_F(EntitiesTest, LinePolylineNeedsTwoDistinctPointIndices) {
  space().add<memcad::Line>(memcad::Vec3{1, 1, 0}, memcad::Vec3{1, 1, 0});
  auto& line = space().add<memcad::Line>(memcad::Vec3{0, 0, 0}, memcad::Vec3{3, 4, 0});
  line.set_color(1);
  import_all();
  ASSERT_EQ(std::tuple(model.NumPuntos, model.NumPolis), std::tuple(4, 2));
  EXPECT_EQ(model.Polis[2].Color, 255);
  auto flat = universal_entity("AcDbLine");
  flat->with("StartPoint", values({1, 1})).with("EndPoint", values({2, 2}));
  ENTIDADES(ctx, core::Variant(flat));
  EXPECT_EQ(std::tuple(model.NumPuntos, model.NumPolis, messages().size()), std::tuple(4, 2, 2u));
  EXPECT_TRUE(messages().front().starts_with(" Punto_crea  - Error  nº  9: "));
}

TEST_F(EntitiesTest, OneBadEntityNeverStopsTheWalk) {
  for (int i = 0; i < 3; ++i) space().add<memcad::Point>(memcad::Vec3{static_cast<double>(i), 0, 0});
  app->inject_failure("Coordinates", 2, core::kObjectNotSet);
  import_all();
  EXPECT_EQ(std::tuple(model.NumPuntos, model.PtoX[2], messages().size()), std::tuple(2, 2.0, 1u));
  EXPECT_TRUE(messages().front().starts_with("Entidades en ZWCad - Error    nº  91: "));
}

// The readers of a picked entity.
struct Lists {
  core::VbArray<double> X, Y, Z;
  VertexLists out() { return {X, Y, Z}; }
};

TEST(PickedReaders, PolylinesFromIndexOneLinesTheirTwoEnds) {
  auto polyline = std::make_shared<PropertyBag>();
  polyline->with("Coordinates", values({1, 2, 3, 4, 5, 6}));
  Lists l;
  EXPECT_EQ(Obtener_poli3D(core::Obj(polyline), l.out()), 2);
  EXPECT_EQ(std::tuple(l.X.ubound(), l.Z[2]), std::tuple(2, 6.0));
  EXPECT_EQ(Obtener_poli2D(core::Obj(polyline), l.out()), 3);
  EXPECT_EQ(std::tuple(l.X.lbound(), l.Y[3], l.Z[3]), std::tuple(0, 6.0, 0.0));
  auto line = std::make_shared<PropertyBag>();
  line->with("StartPoint", xyz(1, 2, 3)).with("EndPoint", xyz(4, 5, 6));
  EXPECT_EQ(Obtener_linea(core::Obj(line), l.out()), 2);
  EXPECT_EQ((std::array{l.X[1], l.Y[1], l.Z[1], l.X[2], l.Y[2], l.Z[2]}), (std::array<double, 6>{1, 2, 3, 4, 5, 6}));
  EXPECT_THROW(Saca_Texto(core::Obj(std::make_shared<PropertyBag>()), l.out()), core::Error);
}

}  // namespace
}  // namespace kestrel::import_test
