#include "import/explode.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "import/builders.h"
#include "import/f_acad_es.h"
#include "import/import_fixture.h"
#include "import/property_bag.h"

namespace kestrel::import_test {
namespace {

using namespace importing;

class ExplodeTest : public ImportTest {};

TEST_F(ExplodeTest, ExplodesTwiceLeavesPuntosOnAndRaisesElevations) {
  doc().layers().add("PUNTOS");
  doc().layers().add("EJES");
  space().add<memcad::Point>(memcad::Vec3{0, 0, 0}).set_layer("PUNTOS");
  std::int16_t layer = 1;
  Anade_Punto(model, 0, 0, 0, layer, "");
  Crea_Texto(module, "7,25", xyz(1.05, 0, 0), 0, 1, 1, 0, "");
  const model::t_Dibujo drawing = Dexompon_Zombie(ctx);
  EXPECT_EQ(doc().command_log(), (std::vector<std::string>(2, std::string(kExplodeCommand))));
  EXPECT_EQ(
      (std::array{doc().layers().find("PUNTOS")->on, doc().layers().find("EJES")->on, doc().layers().find("0")->on}),
      (std::array{true, false, false}));
  EXPECT_EQ(app->update_count(), 1);
  ASSERT_EQ(drawing.NuPun, 1);  // nothing is added from the CAD
  EXPECT_EQ(drawing.Z[1], 7.25);
  EXPECT_EQ((std::array{drawing.Opciones.get(model::kChkPtos), drawing.Opciones.get(model::kChkText),
                        drawing.Opciones.get(model::kTrianglesPresent)}),
            (std::array<std::int32_t, 3>{1, 1, 0}));
  EXPECT_TRUE(messages().empty());
}

TEST_F(ExplodeTest, ErrorIsReportedUnderItsOwnPrefix) {
  module.cad.Aplicacion = core::Obj();
  EXPECT_EQ(Dexompon_Zombie(ctx), model::t_Dibujo{});
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_TRUE(messages()[0].starts_with("Obtener Todo de Autocad - Error    nº  91: "));
}

TEST(FAcadEs, HandlersSetTheDialogResult) {
  std::int16_t result = 7;
  f_Acad_es dialog(result);
  EXPECT_EQ(result, 0);
  dialog.cmdDatosaceptar_Click();
  EXPECT_EQ(std::tuple(result, dialog.loaded()), std::tuple(2, false));
  dialog.Form_QueryUnload();  // already answered: stays accepted
  EXPECT_EQ(result, 2);
  f_Acad_es(result).Form_QueryUnload();  // closed
  EXPECT_EQ(result, 1);
  result = 0;
  f_Acad_es(result).bt_salir_Click();  // cancelled
  EXPECT_EQ(result, 1);
}

}  // namespace
}  // namespace kestrel::import_test
