#include <gtest/gtest.h>

#include "import/picked_readers.h"
#include "import/property_bag.h"

namespace kestrel::import_test {
namespace {

using namespace importing;

struct Lists {
  core::VbArray<double> X, Y, Z;
  VertexLists out() { return {X, Y, Z}; }
};

TEST(PickedReaders, PolylinesFillOneVertexPerGroupFromIndexOne) {
  auto poly3 = std::make_shared<PropertyBag>();
  poly3->with("Coordinates", values({1, 2, 3, 4, 5, 6}));
  Lists l;
  EXPECT_EQ(Obtener_poli3D(core::Obj(poly3), l.out()), 2);
  EXPECT_EQ(l.X.ubound(), 2);
  EXPECT_EQ(l.Z[2], 6);
  auto poly2 = std::make_shared<PropertyBag>();
  poly2->with("Coordinates", values({1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(Obtener_poli2D(core::Obj(poly2), l.out()), 3);
  EXPECT_EQ(l.Y[3], 6);
  EXPECT_EQ(l.Z[3], 0);
  EXPECT_EQ(l.X.lbound(), 0);
}

TEST(PickedReaders, LinesAndTextsGiveTheirTwoEnds) {
  auto line = std::make_shared<PropertyBag>();
  line->with("StartPoint", xyz(1, 2, 3)).with("EndPoint", xyz(4, 5, 6));
  Lists l;
  EXPECT_EQ(Obtener_linea(core::Obj(line), l.out()), 2);
  EXPECT_EQ((std::array{l.X[1], l.Y[1], l.Z[1], l.X[2], l.Y[2], l.Z[2]}), (std::array<double, 6>{1, 2, 3, 4, 5, 6}));
  auto pointless = std::make_shared<PropertyBag>();
  EXPECT_THROW(Saca_Texto(core::Obj(pointless), l.out()), core::Error);
}

}  // namespace
}  // namespace kestrel::import_test
