// The loaders and the switches between the model and the stored drawings.
#include "model/loading.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "core/error_number.h"
#include "model/record_ops.h"
#include "model/sample_records.h"

namespace kestrel::model {
namespace {

using testing::full_drawing;
using testing::full_set;
using testing::small_drawing;

using core::testing_support::error_number;

t_Datos set_of(std::vector<t_Dibujo> drawings, std::int32_t current) {
  t_Datos set;
  set.NuDibujos = static_cast<std::int32_t>(drawings.size());
  set.DibujoAct = current;
  set.Dibujos = VbArray<t_Dibujo>(1, std::move(drawings));
  return set;
}

// The groups a drawing load replaces, gathered for comparison.
t_Dibujo groups_of(const DrawingModel& m) {
  t_Dibujo d;
  pack_drawing_groups(m, d);
  d.CapaActual = m.CapaActual;
  return d;
}

t_Dibujo groups_only(t_Dibujo d) {
  d.Texto1.clear();
  d.Texto2.clear();
  clear(d.Cabecera);
  d.Extra = {};
  return d;
}

TEST(MetePun, CopiesKeepTheHostBoundsAndAreIndependent) {
  DrawingModel m;
  VbArray<double> x(0, std::vector<double>{5, 1, 2});
  const VbArray<std::string> names(0, std::vector<std::string>{"base", "A", "B"});
  const VbArray<std::int16_t> layers(0, std::vector<std::int16_t>{0, 1, 1});
  mete_pun(m, 2, x, x, x, names, names, names, layers);
  x[1] = 99;  // the host changes its array afterwards
  EXPECT_EQ(m.PtoX.lbound(), 0);
  EXPECT_EQ(m.PtoX[1], 1);
  EXPECT_EQ(m.PtoNombre[2], "B");
  EXPECT_EQ(m.NumPuntos, 2);
  const VbArray<double> none(1, 0);
  const VbArray<std::string> no_text(1, 0);
  mete_pun(m, 0, none, none, none, no_text, no_text, no_text, VbArray<std::int16_t>(1, 0));
  EXPECT_TRUE(m.PtoX.allocated());  // no points: allocated, empty arrays
  EXPECT_EQ(m.PtoX.size(), 0);
}

TEST(MetePun, NegativeCountFailsAfterSettingTheCount) {
  DrawingModel m;
  m.PtoX = VbArray<double>(1, std::vector<double>{7});
  const VbArray<double> none;
  const VbArray<std::string> no_text;
  EXPECT_EQ(error_number([&] { mete_pun(m, -1, none, none, none, no_text, no_text, no_text, {}); }), 9);
  EXPECT_EQ(m.NumPuntos, -1);
  EXPECT_EQ(m.PtoX[1], 7);  // arrays untouched
}

TEST(MeteEntidades, KeepsPointsTextsOptionsAndCurrentLayer) {
  DrawingModel m;
  mete_dibujo(m, full_drawing(1));
  const auto points = m.PtoX;
  const auto texts = m.Rotulos;
  const auto options = m.Opciones;
  const t_Dibujo other = small_drawing("otro", 4, 3);
  mete_entidades(m, other.NuPolis, other.poli, other.Curvado, other.nuCapas, other.Capas1, other.Nutria, other.B1,
                 other.B2, other.B3, 77);
  EXPECT_EQ(m.PtoX, points);
  EXPECT_EQ(m.Rotulos, texts);
  EXPECT_EQ(m.Opciones, options);
  EXPECT_EQ(m.CapaActual, 2);  // not taken from the layers given
  EXPECT_EQ(m.TriV3, other.B3);
  EXPECT_EQ(m.Capas, other.Capas1);
  EXPECT_EQ(m.Curvado, other.Curvado);
  EXPECT_EQ(m.ColorTrilat, 77);
}

TEST(MeteEntidades, NegativeTriangleCountFailsAfterTheOtherGroups) {
  DrawingModel m;
  const t_Dibujo other = small_drawing("otro", 4, 3);
  m.TriV1 = other.B1;
  EXPECT_EQ(error_number([&] { mete_entidades(m, 1, other.poli, other.Curvado, 1, other.Capas1, -2, {}, {}, {}, 5); }),
            9);
  EXPECT_EQ(m.Polis, other.poli);
  EXPECT_EQ(m.Capas, other.Capas1);
  EXPECT_EQ(m.ColorTrilat, 5);
  EXPECT_EQ(m.TriV1, other.B1);
}

TEST(MeteDibujo, SetsTheVersionAdviceAndLoadsTheGroups) {
  DrawingModel m;
  const t_Dibujo d = full_drawing(4);
  mete_dibujo(m, d);
  EXPECT_EQ(m.MsgVersion, " \r\nCambia la versión de AutoCad seleccionada a 32 bit o a 64 bit");
  EXPECT_EQ(groups_of(m), groups_only(d));
  EXPECT_EQ(m.Polis[1].Vert.lbound(), 0);  // Vert keeps its shape marker at 0
  EXPECT_EQ(m.Polis[1].Vert[0], -60);
  EXPECT_EQ(m.DibujoElegido, t_Dibujo{});  // the record itself is not kept
  mete_dibujo(m, small_drawing("a", 3, 1));
  EXPECT_EQ(m.Opciones.get(kFactor), 0.0);  // unlike a set's, a drawing's zero factor stays
}

TEST(MeteDibujo, EmptyRecordEmptiesTheGroups) {
  DrawingModel m;
  mete_dibujo(m, full_drawing(1));
  mete_dibujo(m, t_Dibujo{});
  EXPECT_EQ(m.NumPuntos, 0);
  EXPECT_FALSE(m.PtoX.allocated());
  EXPECT_EQ(m.NumPolis, 0);
  EXPECT_FALSE(m.Capas.allocated());
  EXPECT_EQ(m.Curvado, t_Curvado{});
  EXPECT_EQ(m.Opciones, Opciones{});
}

TEST(Mete, CurrentDrawingBeyondTheSetIsLoweredToTheLast) {
  DrawingModel m;
  t_Datos set = set_of({small_drawing("a", 3, 1), small_drawing("b", 4, 2), small_drawing("c", 5, 3)}, 5);
  mete(m, set);
  EXPECT_EQ(m.DibujoActual, 3);
  EXPECT_EQ(m.NumPuntos, 5);
  EXPECT_EQ(m.DibujoElegido, set.Dibujos[3]);
  EXPECT_EQ(m.Dibujos, set.Dibujos);
  EXPECT_TRUE(m.MsgVersion.empty());
}

TEST(Mete, ZeroFactorBecomesOneInTheModelOnly) {
  DrawingModel m;
  t_Datos set = set_of({small_drawing("a", 3, 1)}, 1);
  set.Dibujos[1].Opciones.set(kFactor, -0.0);  // exactly zero too
  mete(m, set);
  EXPECT_EQ(m.Opciones.get(kFactor), 1.0);
  EXPECT_EQ(m.DibujoElegido.Opciones.get(kFactor), 0.0);
  EXPECT_EQ(m.Dibujos[1].Opciones.get(kFactor), 0.0);

  set.Dibujos[1].Opciones.set(kFactor, 2.5);
  mete(m, set);
  EXPECT_EQ(m.Opciones.get(kFactor), 2.5);
}

TEST(Mete, EmptySetFailsAndLeavesTheGroups) {
  DrawingModel m;
  mete_dibujo(m, full_drawing(1));
  mete(m, full_set());
  const t_Dibujo before = groups_of(m);
  EXPECT_EQ(error_number([&] { mete(m, t_Datos{}); }), 9);
  EXPECT_EQ(groups_of(m), before);
  EXPECT_EQ(m.NumDibujos, 0);  // the set was stored before the selection failed
  EXPECT_FALSE(m.Dibujos.allocated());
  EXPECT_EQ(m.DibujoElegido, t_Dibujo{});
}

TEST(Mete, IndexOutsideTheDrawingsFails) {
  DrawingModel m;
  const t_Datos index_zero = set_of({small_drawing("a", 3, 1)}, 0);
  EXPECT_EQ(error_number([&] { mete(m, index_zero); }), 9);
  // A count above the drawings actually there.
  t_Datos short_set = set_of({small_drawing("a", 3, 1)}, 2);
  short_set.NuDibujos = 2;
  EXPECT_EQ(error_number([&] { mete(m, short_set); }), 9);
  EXPECT_EQ(m.NumPuntos, 0);
}

TEST(Mete, SetFromZeroSelectsDrawingZero) {
  DrawingModel m;
  t_Datos set;
  set.NuDibujos = 1;
  set.DibujoAct = 0;
  set.Dibujos = VbArray<t_Dibujo>(0, std::vector<t_Dibujo>{small_drawing("cero", 2, 0), small_drawing("uno", 3, 0)});
  mete(m, set);
  EXPECT_EQ(m.NumPuntos, 2);
}

TEST(LoadAndPack, UninterpretedFieldsSurvive) {
  DrawingModel m;
  const t_Datos set = full_set();
  mete(m, set);
  m.PtoX[1] = 1.0;  // a change made while the drawing was loaded
  haz(m);
  t_Dibujo expected = set.Dibujos[2];
  expected.X[1] = 1.0;
  EXPECT_EQ(m.Dibujos[2], expected);  // Texto1, Cabecera, Extra, carried options included
}

TEST(Haz, KeepsTheStoredCurrentLayerAndFailsOutsideTheSet) {
  DrawingModel m;
  mete(m, full_set());
  m.CapaActual = 1;
  haz(m);
  EXPECT_EQ(m.Dibujos[2].CapaActual, 2);
  m.DibujoActual = 3;
  EXPECT_EQ(error_number([&] { haz(m); }), 9);
}

TEST(Saca, KeepsCurrentLayerAndOptionallyTheDialogPieces) {
  DrawingModel m;
  mete(m, set_of({small_drawing("a", 3, 1), full_drawing(7)}, 1));
  const Opciones before = m.Opciones;
  const std::int32_t current_layer = m.CapaActual;
  const t_Dibujo& stored = m.Dibujos[2];

  saca(m, stored, true);
  EXPECT_EQ(m.CapaActual, current_layer);
  EXPECT_EQ(m.NumPuntos, stored.NuPun);
  EXPECT_EQ(m.Polis, stored.poli);
  EXPECT_EQ(m.Opciones.piece248, before.piece248);
  EXPECT_EQ(m.Opciones.piece460, before.piece460);
  EXPECT_EQ(m.Opciones.piece384, stored.Opciones.piece384);
  EXPECT_EQ(m.Opciones.piece580, stored.Opciones.piece580);

  saca(m, stored, false);
  EXPECT_EQ(m.Opciones, stored.Opciones);
  EXPECT_EQ(m.CapaActual, current_layer);
  saca(m, small_drawing("a", 2, 0), false);
  EXPECT_EQ(m.Opciones.get(kFactor), 1.0);  // a zero factor becomes one
}

TEST(Saca, HazThenSacaRestoresTheDrawing) {
  DrawingModel m;
  mete(m, full_set());
  const t_Dibujo loaded = groups_of(m);
  haz(m);
  saca(m, m.Dibujos[1], true);  // another stored drawing, as the block generator does
  EXPECT_NE(groups_of(m), loaded);
  saca(m, m.Dibujos[m.DibujoActual], false);
  EXPECT_EQ(groups_of(m), loaded);
}

}  // namespace
}  // namespace kestrel::model
