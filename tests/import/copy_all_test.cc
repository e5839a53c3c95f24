#include "import/copy_all.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <tuple>

#include "import/builders.h"
#include "import/explode.h"
#include "import/import_fixture.h"
#include "import/progress_form.h"
#include "import/property_bag.h"

namespace kestrel::import_test {
namespace {

using namespace importing;
using Strings = std::vector<std::string>;

class CopyAllTest : public ImportTest {
 protected:
  model::t_Datos copy(bool TodoC = false) { return Copia__Todo(ctx, core::Obj(form), TodoC, salir); }
  void add_points(int n, std::string_view layer = "0") {
    for (int i = 0; i < n; ++i) space().add<memcad::Point>(memcad::Vec3{static_cast<double>(i), 1, 2}).set_layer(layer);
  }
  core::VbBool salir = core::kFalse;
};

TEST_F(CopyAllTest, EmptyModelSpaceOrAnUnboundCadChangesNothing) {
  state.Datos.NuDibujos = 1;
  state.Datos.Dibujos = core::VbArray<model::t_Dibujo>(0, 1);
  state.Datos.Dibujos[1].Texto2 = "anterior";
  std::int16_t layer = 1;
  importing::Anade_Punto(model, 1, 1, 1, layer, "");  // the model is not emptied
  const model::t_Datos before = state.Datos;
  EXPECT_EQ(copy(), before);
  EXPECT_EQ(std::tuple(salir, state.Datos, model.NumPuntos), std::tuple(core::kTrue, before, 1));
  EXPECT_TRUE(form->log.empty() && scripted.pointer.history().empty());
  // Without a CAD each walk reports under its own prefix and gives nothing.
  module.cad.Aplicacion = core::Obj();
  EXPECT_EQ(copy(), model::t_Datos{});
  EXPECT_EQ(Dexompon_Zombie(ctx), model::t_Dibujo{});
  ASSERT_EQ(std::tuple(messages().size(), form->log.size()), std::tuple(2u, 0u));
  EXPECT_TRUE(messages()[0].starts_with("Copia__Todo - Error    nº  91: "));
  EXPECT_TRUE(messages()[1].starts_with("Obtener Todo de Autocad - Error    nº  91: "));
}

TEST_F(CopyAllTest, FewLayersUseTheLowerClampAndRefreshEveryItem) {
  for (const char* name : {"A", "B", "C", "D"}) doc().layers().add(name);
  add_points(1);
  (void)copy();
  // The captions first, then the bar; the product name, not the family word.
  const Strings expected_start{"LabXYZ(0)=Copiando Capas ZWCAD 2021",
                               "LabXYZ(3)=Dibuj...Dwg",
                               "Max=10",
                               "Visible=True",
                               "LabXYZ(2)=",
                               "LabXYZ(1)=1 / 10",
                               "Value=1"};
  ASSERT_GE(form->log.size(), expected_start.size());
  EXPECT_EQ(Strings(form->log.begin(), form->log.begin() + 7), expected_start);
  EXPECT_EQ(form->entries("Value="),
            (Strings{"Value=1", "Value=2", "Value=3", "Value=4", "Value=5", "Value=1"}));  // 5 layers, 1 entity
  EXPECT_EQ(form->entries("LabXYZ(0)="),
            (Strings{"LabXYZ(0)=Copiando Capas ZWCAD 2021", "LabXYZ(0)=Copiando Entidades ZWCAD 2021"}));
  EXPECT_EQ(Strings(form->log.end() - 3, form->log.end()), (Strings{"Visible=False", "Show", "SetFocus"}));
  EXPECT_EQ(std::tuple(salir, scripted.pointer.history(), app->visible()),
            std::tuple(core::kFalse, std::vector<int>{11, 0}, true));
  // The edges of the step and of the short name.
  EXPECT_EQ(std::tuple(progress_step(99), progress_step(100)), std::tuple(1, 2));
  EXPECT_EQ(short_document_name("12345678"), "12345678");
  EXPECT_EQ(short_document_name("Cañada.dwg"), "Cañad...Dwg");  // characters, not bytes
}

TEST_F(CopyAllTest, FiftyThousandEntitiesWrapTheCounter) {
  add_points(50000);
  (void)copy();
  EXPECT_EQ(model.NumPuntos, 50000);
  const Strings log = form->log;
  const auto phase = std::find(log.begin(), log.end(), "LabXYZ(0)=Copiando Entidades ZWCAD 2021");
  ASSERT_NE(phase, log.end());
  EXPECT_EQ(*(phase + 2), "Max=32000");
  Strings values, counts;
  for (auto it = phase; it != log.end(); ++it) {
    if (it->starts_with("Value=")) values.push_back(*it);
    if (it->starts_with("LabXYZ(1)=")) counts.push_back(*it);
  }
  // Step 321: 99 refreshes up to 31779, then j restarts at 1 after 32000.
  ASSERT_EQ(values.size(), 99u + 56u);
  EXPECT_EQ(std::tuple(values[98], values[99], counts[99], values.back()),
            std::tuple("Value=31779", "Value=321", "LabXYZ(1)=32321 / 32000", "Value=17976"));
}

TEST_F(CopyAllTest, SwitchedOffLayersAreSkippedOnlyWithOptionZero) {
  doc().layers().add("APAGADA").on = false;
  add_points(2, "APAGADA");
  add_points(1, "0");
  for (const auto& [option, points] : {std::pair{"0", 1}, {"", 3}, {"1", 3}}) {
    SCOPED_TRACE(option);
    state.CopiarDesactivadas = option;
    (void)copy();
    EXPECT_EQ(model.NumPuntos, points);
  }
  ASSERT_EQ(model.NumCapas, 2);
  EXPECT_EQ(
      std::tuple(model.Capas[1].Encendida, model.Capas[1].ColorCapa, model.Capas[2].Nombre, model.Capas[2].Encendida),
      std::tuple(core::kTrue, 16777215, "APAGADA", core::kFalse));
}

TEST_F(CopyAllTest, SecondCopyLeavesOneDrawingTheSecond) {
  add_points(1);
  (void)copy();
  memcad::Document& second = app->add_document();
  second.model_space().add<memcad::Point>(memcad::Vec3{9, 9, 9});
  second.model_space().add<memcad::Point>(memcad::Vec3{8, 8, 8});
  const model::t_Datos result = copy();
  // The list keeps the element the append made.
  EXPECT_EQ(std::tuple(result.NuDibujos, result.Dibujos.ubound(),
                       result.Dibujos[1].Texto1 + " " + result.Dibujos[1].Texto2, result.Dibujos[1].NuPun),
            std::tuple(1, 2, "PLANTA " + second.name(), 2));
  EXPECT_EQ(result, state.Datos);
}

TEST_F(CopyAllTest, ExtentsAndPresenceFlags) {
  doc().limits = {10, 20, 110, 70};
  add_points(1);
  space().add<memcad::Text>("cota", memcad::Vec3{0, 0, 0}, 1.0);
  space().add<memcad::Face3d>(std::array<memcad::Vec3, 4>{{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {1, 1, 0}}});
  const model::t_Datos result = copy();
  const model::Opciones& o = result.Dibujos[1].Opciones;
  // Limits 10,20 to 110,70: 100 x 50 wide, times 1.1; the origin 5 % of the size below.
  EXPECT_EQ((std::array{o.get(model::kXMax), o.get(model::kYMin), o.get(model::kScale)}),
            (std::array{110.0, 20.0, 1.0}));
  for (const auto& [field, value] : {std::pair{model::kWidthTimes11, 110.0},
                                     {model::kHeightTimes11, 55.0},
                                     {model::kOriginX, 5.0},
                                     {model::kOriginY, 17.5}}) {
    EXPECT_DOUBLE_EQ(o.get(field), value) << field.offset;
  }
  for (const auto flag :
       {model::kChkPtos, model::kChkPoli, model::kChkText, model::kTrianglesPresent, model::kTrianglesPresent2}) {
    EXPECT_EQ(o.get(flag), 1) << flag.offset;
  }
  (void)copy(true);
  EXPECT_EQ(state.Datos.Dibujos[1].Opciones.get(model::kChkPtos), 0);
}

// The explode walk: the CAD explodes its blocks twice; only the model is read.
TEST_F(CopyAllTest, ExplodeTwiceLeavesPuntosOnAndRaisesElevations) {
  doc().layers().add("PUNTOS");
  doc().layers().add("EJES");
  space().add<memcad::Point>(memcad::Vec3{0, 0, 0}).set_layer("PUNTOS");
  std::int16_t layer = 1;
  Anade_Punto(model, 0, 0, 0, layer, "");
  Crea_Texto(module, "7,25", xyz(1.05, 0, 0), 0, 1, 1, 0, "");
  const model::t_Dibujo drawing = Dexompon_Zombie(ctx);
  const std::string explode = "DESCOMP\r-5000000,-5000000\r+5000000,+5000000\r\r";
  EXPECT_EQ(doc().command_log(), (std::vector<std::string>{explode, explode}));
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

}  // namespace
}  // namespace kestrel::import_test
