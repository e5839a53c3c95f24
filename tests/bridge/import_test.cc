// The import methods as the host calls them on c_Kestrel: the state they
// share (census, switched-off-layers option, the drawing set) lives with
// the object across calls.
#include <gtest/gtest.h>

#include "bridge/bridge_fixture.h"
#include "cad/memcad/curves.h"
#include "cad/memcad/texts.h"
#include "import/scripted_progress_form.h"

namespace kestrel::bridge {
namespace {

class ImportMethodsTest : public ConnectedTest {
 protected:
  model::t_Datos copy(bool todo = false) {
    std::string ff;
    core::VbBool TodoC = core::to_vb_bool(todo), Bloques = core::kFalse;
    return kestrel->Copia__Todo(core::Obj(form), ff, TodoC, salir, Bloques);
  }
  core::Variant entity(std::size_t i) {
    return core::Variant(core::Obj(module.cad.EspacioModelo).call("Item", static_cast<std::int32_t>(i)));
  }
  void add_point(double x, const std::string& layer = "0") {
    drawing().model_space().add<memcad::Point>(memcad::Vec3{x, 2, 3}).set_layer(layer);
  }

  std::shared_ptr<import_test::ScriptedProgressForm> form = std::make_shared<import_test::ScriptedProgressForm>();
  core::VbBool salir = core::kFalse;
};

// The copy rules are the import engine's; here, what the object keeps between calls.
TEST_F(ImportMethodsTest, CopiesKeepTheLastDrawingAndFollowTheObjectsOffLayersOption) {
  drawing().layers().add("APAGADA").on = false;
  add_point(1, "APAGADA");
  (void)copy();
  add_point(4);
  const model::t_Datos set = copy(true);
  EXPECT_EQ(salir, core::kFalse);
  ASSERT_EQ(set.NuDibujos, 1);
  EXPECT_EQ(set.Dibujos[1].NuPun, 2);
  EXPECT_EQ(set.Dibujos[1].Opciones.get(model::kChkPtos), 0);  // TodoC reaches the points flag
  EXPECT_EQ(kestrel->import_state().Datos, set);
  kestrel->import_state().CopiarDesactivadas = "0";
  EXPECT_EQ(copy().Dibujos[1].NuPun, 1);
  EXPECT_EQ(module.error_log.count(), 0u);
}

TEST_F(ImportMethodsTest, CensusAddsUpAcrossCallsAndEntidadesReadsOneEntityWithItsLayer) {
  drawing().model_space().add<memcad::Line>(memcad::Vec3{0, 0, 0}, memcad::Vec3{1, 1, 0}).set_layer("BORDE");
  drawing().model_space().add<memcad::Text>("a", memcad::Vec3{}, 1.0);
  for (const std::size_t i : {0u, 1u, 0u, 1u}) {  // two passes
    core::Variant e = entity(i);
    kestrel->Entidades_ver(e);
  }
  const importing::Census& census = kestrel->import_state().census;
  EXPECT_EQ(std::tuple(census.lines, census.texts, census.vertices), std::tuple(2, 2, 4));
  EXPECT_EQ(module.model.NumPolis, 0);  // counting reads nothing into the model

  core::Variant line = entity(0);
  kestrel->ENTIDADES(line);
  ASSERT_EQ(std::tuple(module.model.NumPolis, module.model.NumCapas), std::tuple(1, 1));
  EXPECT_EQ(module.model.Capas[1].Nombre, "BORDE");
}

}  // namespace
}  // namespace kestrel::bridge
