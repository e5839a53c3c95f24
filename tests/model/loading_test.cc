// The loaders and the switches between the model and the stored drawings.
#include "model/loading.h"

#include <gtest/gtest.h>

#include "core/error_number.h"
#include "model/record_ops.h"
#include "model/sample_records.h"

namespace kestrel::model {
namespace {

using core::testing_support::error_number;
using testing::full_drawing;
using testing::full_set;
using testing::small_drawing;

t_Datos set_of(std::vector<t_Dibujo> drawings, std::int32_t current, std::int32_t lbound = 1) {
  return t_Datos{static_cast<std::int32_t>(drawings.size()), current, VbArray<t_Dibujo>(lbound, std::move(drawings))};
}

// The groups a drawing load replaces, gathered for comparison.
t_Dibujo groups_of(const DrawingModel& m) {
  t_Dibujo d;
  pack_drawing_groups(m, d);
  d.CapaActual = m.CapaActual;
  return d;
}

// A negative count raises 9 after the count was set, the arrays untouched.
TEST(MetePun, CopiesKeepTheHostBoundsAndAreIndependent) {
  DrawingModel m;
  VbArray<double> x(0, {5, 1, 2});
  const VbArray<std::string> names(0, {"base", "A", "B"});
  mete_pun(m, 2, x, x, x, names, names, names, VbArray<std::int16_t>(0, {0, 1, 1}));
  x[1] = 99;  // the host changes its array afterwards
  EXPECT_EQ(m.PtoNombre[2], "B");
  EXPECT_EQ(error_number([&] { mete_pun(m, -1, {}, {}, {}, {}, {}, {}, {}); }), 9);
  EXPECT_EQ(m.NumPuntos, -1);
  EXPECT_EQ(m.PtoX, VbArray<double>(0, {5, 1, 2}));
}

TEST(MeteEntidades, KeepsPointsTextsOptionsAndCurrentLayer) {
  DrawingModel m;
  mete_dibujo(m, full_drawing(1));
  const DrawingModel before = m;
  const t_Dibujo o = small_drawing("otro", 4, 3);
  mete_entidades(m, o.NuPolis, o.poli, o.Curvado, o.nuCapas, o.Capas1, o.Nutria, o.B1, o.B2, o.B3, 77);
  EXPECT_TRUE(m.PtoX == before.PtoX && m.Rotulos == before.Rotulos && m.Opciones == before.Opciones);
  EXPECT_EQ(m.CapaActual, 2);  // not taken from the layers given
  EXPECT_TRUE(m.TriV3 == o.B3 && m.Capas == o.Capas1 && m.Curvado == o.Curvado);
  EXPECT_EQ(m.ColorTrilat, 77);
  // A negative triangle count fails after the other groups, the vertices untouched.
  EXPECT_EQ(error_number([&] { mete_entidades(m, 0, {}, {}, 0, {}, -2, {}, {}, {}, 5); }), 9);
  EXPECT_EQ(std::pair(m.NumPolis, m.ColorTrilat), std::pair(0, 5));
  EXPECT_EQ(m.TriV3, o.B3);
}

TEST(MeteDibujo, SetsTheVersionAdviceAndLoadsTheGroups) {
  DrawingModel m;
  t_Dibujo d = full_drawing(4);
  mete_dibujo(m, d);
  EXPECT_EQ(m.MsgVersion, " \r\nCambia la versión de AutoCad seleccionada a 32 bit o a 64 bit");
  d.Texto1 = d.Texto2 = "";
  clear(d.Cabecera);
  d.Extra = {};
  EXPECT_EQ(groups_of(m), d);
  EXPECT_EQ(m.DibujoElegido, t_Dibujo{});  // the record itself is not kept
  mete_dibujo(m, small_drawing("a", 3, 1));
  EXPECT_EQ(m.Opciones.get(kFactor), 0.0);  // unlike a set's, a drawing's zero factor stays
  mete_dibujo(m, t_Dibujo{});
  EXPECT_EQ(groups_of(m), t_Dibujo{});
}

TEST(Mete, CurrentDrawingBeyondTheSetIsLoweredToTheLastZeroFactorsBecomeOneAndNoDrawingFails) {
  DrawingModel m;
  t_Datos set = set_of({small_drawing("a", 3, 1), small_drawing("b", 4, 2), small_drawing("c", 5, 3)}, 5);
  set.Dibujos[3].Opciones.set(kFactor, -0.0);  // exactly zero too
  mete(m, set);
  EXPECT_EQ(std::pair(m.DibujoActual, m.NumPuntos), std::pair(3, 5));
  EXPECT_EQ(m.DibujoElegido, set.Dibujos[3]);
  EXPECT_EQ(m.Dibujos, set.Dibujos);
  EXPECT_EQ(m.Opciones.get(kFactor), 1.0);  // in the model only: the stored drawings keep their zero
  EXPECT_TRUE(m.MsgVersion.empty());
  mete(m, set_of({small_drawing("cero", 2, 0), small_drawing("uno", 3, 0)}, 0, 0));  // a set from 0
  EXPECT_EQ(m.NumPuntos, 2);
  // An index outside the drawings fails: the set is stored before the
  // selection fails; the groups keep what they held.
  t_Datos short_set = set_of({small_drawing("a", 3, 1)}, 2);
  short_set.NuDibujos = 2;  // a count above the drawings actually there
  for (const t_Datos& bad : {t_Datos{}, set_of({small_drawing("a", 3, 1)}, 0), short_set}) {
    DrawingModel full;
    mete(full, full_set());
    const t_Dibujo before = groups_of(full);
    EXPECT_EQ(error_number([&] { mete(full, bad); }), 9);
    EXPECT_EQ(groups_of(full), before);
    EXPECT_EQ(full.NumDibujos, bad.NuDibujos);
    EXPECT_EQ(full.DibujoElegido, t_Dibujo{});
  }
}

TEST(Haz, PacksEveryFieldKeepsTheStoredCurrentLayerAndFailsOutsideTheSet) {
  DrawingModel m;
  const t_Datos set = full_set();
  mete(m, set);
  m.PtoX[1] = 1.0;  // a change made while the drawing was loaded
  m.CapaActual = 1;
  haz(m);
  t_Dibujo expected = set.Dibujos[2];
  expected.X[1] = 1.0;
  EXPECT_EQ(m.Dibujos[2], expected);  // Texto1, Cabecera, Extra, carried options and CapaActual included
  m.DibujoActual = 3;
  EXPECT_EQ(error_number([&] { haz(m); }), 9);
}

TEST(Saca, KeepsCurrentLayerAndOptionallyTheDialogPiecesAndRestoresAfterHaz) {
  DrawingModel m;
  mete(m, set_of({small_drawing("a", 3, 1), full_drawing(7)}, 1));
  const Opciones before = m.Opciones;
  const t_Dibujo& stored = m.Dibujos[2];
  saca(m, stored, true);
  EXPECT_EQ(m.CapaActual, 1);
  EXPECT_EQ(m.Polis, stored.poli);
  EXPECT_TRUE(m.Opciones.piece248 == before.piece248 && m.Opciones.piece460 == before.piece460);
  EXPECT_EQ(m.Opciones.piece384, stored.Opciones.piece384);
  saca(m, stored, false);
  EXPECT_EQ(m.Opciones, stored.Opciones);
  saca(m, small_drawing("a", 2, 0), false);
  EXPECT_EQ(m.Opciones.get(kFactor), 1.0);  // a zero factor becomes one
  // Haz, then Saca of another stored drawing (as the block generator does) and back, restores the drawing.
  DrawingModel r;
  mete(r, full_set());
  const t_Dibujo loaded = groups_of(r);
  haz(r);
  saca(r, r.Dibujos[1], true);
  EXPECT_NE(groups_of(r), loaded);
  saca(r, r.Dibujos[r.DibujoActual], false);
  EXPECT_EQ(groups_of(r), loaded);
}

}  // namespace
}  // namespace kestrel::model
