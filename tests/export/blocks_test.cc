// The block generator on the in-memory CAD: definitions read back from the
// drawing's block table, insertions from model space. Insertion points,
// scales and angles are also checked against ezdxf in tests/tools/cli_export_test.py.
#include <gtest/gtest.h>

#include "export/block_reference.h"
#include "export/blocks.h"
#include "export_fixture.h"
#include "module/settings_access.h"

namespace kestrel::exporting::testing {
namespace {

class BlocksTest : public ExportTest {
 protected:
  BlocksTest() { save_setting(settings, "Fuentes", "fichero", "/dev/null"); }  // an empty font table
  // Drawing 1 "Parcela" holds the referencing points (layer 1 on, layer 2
  // off); drawing 2 "MURO" a 2 x 1 rectangle drawn as one open polyline,
  // base point (10, 20) at index 0.
  void load_with_codes(const std::vector<std::string>& codes, std::int16_t layer_of_last = 1) {
    std::vector<PointSpec> points;
    for (std::size_t i = 0; i < codes.size(); ++i) {
      const auto layer = i + 1 == codes.size() ? layer_of_last : std::int16_t{1};
      points.push_back({"P" + std::to_string(i + 1), 100.0 * (i + 1), 50.0, 0, codes[i], layer});
    }
    load({drawing("Parcela", {{"VIAL"}, {"AUX", false}}, points), wall()}, 1);
    count_references();
  }
  static model::t_Dibujo wall() {
    model::t_Dibujo d = drawing("MURO", {{"FABRICA"}}, {});
    d.NuPun = 4;
    d.X = core::VbArray<double>(0, {10.0, 10.0, 12.0, 12.0, 10.0});
    d.Y = core::VbArray<double>(0, {20.0, 20.0, 20.0, 21.0, 21.0});
    d.Z = core::VbArray<double>(0, {0.0, 0.0, 0.0, 0.0, 0.0});
    d.Capa = core::VbArray<std::int16_t>(0, {1, 1, 1, 1, 1});
    d.Cd = core::VbArray<std::string>(0, {"", "", "", "", "**Parcela"});  // a nested reference: not followed
    d.NuPolis = 1;
    d.poli = core::VbArray<model::t_Poli>(1, 1);
    d.poli[1].NuVert = 4;
    d.poli[1].Vert = core::VbArray<std::int32_t>(0, {0, 1, 2, 3, 4});
    d.poli[1].CapaP = 1;
    return d;
  }
  void count_references() {
    model::DrawingModel& m = module.model;
    m.NumBloques = 0;
    for (std::int32_t i = 1; i <= m.NumPuntos; ++i) m.NumBloques += is_block_reference(m.PtoCodigo[i]) ? 1 : 0;
  }
  [[nodiscard]] std::vector<const memcad::BlockReference*> insertions() const {
    return entities<memcad::BlockReference>();
  }
  [[nodiscard]] memcad::Block* block(const std::string& name) const { return document().blocks().find(name); }
  void expect_current_drawing_back(std::int32_t points) {
    const model::DrawingModel& m = module.model;
    EXPECT_EQ(std::tuple(m.NumPuntos, m.NumPolis, m.Capas[1].Nombre), std::tuple(points, 0, "VIAL"));
  }
};

TEST_F(BlocksTest, EachDrawingIsDefinedOnceAndInsertedAtEveryReferencingPointIfAny) {
  // Nothing happens with one stored drawing or no references.
  load({drawing("Parcela", {{"VIAL"}}, {{"P1", 1, 2, 0, "**MURO"}})}, 1);
  count_references();
  Autocad_crea_Bloques(ctx);
  load_with_codes({"C"});
  Autocad_crea_Bloques(ctx);
  EXPECT_TRUE(insertions().empty());
  EXPECT_EQ(block("MURO"), nullptr);
  EXPECT_TRUE(messages().empty());
  load_with_codes({"**MURO/2/100,comentario", "##MURO", "**Parcela", "**NADA/3", "C", "**MURO/5"}, 2);
  Autocad_genera_Bloques(ctx);
  for (const std::string& m : messages()) ADD_FAILURE() << m;
  const memcad::Block* wall_block = block("MURO");
  ASSERT_NE(wall_block, nullptr);
  EXPECT_EQ(wall_block->origin, (memcad::Vec3{10, 20, 0}));
  EXPECT_EQ(wall_block->size(), 1U);  // one polyline, not one per insertion
  const auto refs = insertions();
  ASSERT_EQ(refs.size(), 2U);  // the point on the layer that is off inserts nothing
  EXPECT_EQ(refs[0]->scale, (memcad::Vec3{2, 2, 2}));
  EXPECT_NEAR(refs[0]->rotation, -1.570796, 1e-12);  // 100 grads clockwise
  EXPECT_EQ(dialog.Chk_Capas.caption, "Insertando Bloque NADA/3 en pto nº 4");
  expect_current_drawing_back(6);
}

TEST_F(BlocksTest, ScaleZeroOrBadCodesAreReportedAndTheCurrentDrawingComesBack) {
  load_with_codes({"**MURO/", "**MURO/1"});
  module.model.MsgVersion = "(ver)";
  Autocad_crea_Bloques(ctx);
  ASSERT_EQ(messages().size(), 1U);
  EXPECT_TRUE(messages()[0].starts_with("Autocad_crea_Bloques en InsertBlock - Error nº  ")) << messages()[0];
  EXPECT_TRUE(messages()[0].ends_with(" (ver)")) << messages()[0];
  EXPECT_TRUE(insertions().empty());  // the routine ends at the error
  expect_current_drawing_back(2);
  // Bad codes never crash: non-numeric scales read as 0 and are refused by
  // the CAD; a huge one is inserted as it is.
  const std::pair<const char*, std::size_t> cases[] = {
      {"**MURO/abc", 0}, {"**MURO/1e300/7", 1}, {"**", 0}, {"##/", 0}, {"**MURO/-1/-1e9", 1},
  };
  for (const auto& [code, inserted] : cases) {
    document().model_space().erase_if([](const memcad::Entity&) { return true; });
    load_with_codes({code});
    Autocad_crea_Bloques(ctx);
    EXPECT_EQ(insertions().size(), inserted) << code;
    expect_current_drawing_back(1);
  }
}

}  // namespace
}  // namespace kestrel::exporting::testing
