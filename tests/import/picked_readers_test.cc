#include "import/picked_readers.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "import/property_bag.h"

namespace kestrel::import_test {
namespace {

using namespace importing;

struct Lists {
  core::VbArray<double> X, Y, Z;
  VertexLists out() { return {X, Y, Z}; }
};

TEST(PickedReaders, PolylinesFillOneVertexPerGroupFromIndexOne) {
  auto polyline = std::make_shared<PropertyBag>();
  polyline->with("Coordinates", values({1, 2, 3, 4, 5, 6}));
  Lists l;
  EXPECT_EQ(Obtener_poli3D(core::Obj(polyline), l.out()), 2);
  EXPECT_EQ(std::tuple(l.X.ubound(), l.Z[2]), std::tuple(2, 6.0));
  EXPECT_EQ(Obtener_poli2D(core::Obj(polyline), l.out()), 3);
  EXPECT_EQ(std::tuple(l.X.lbound(), l.Y[3], l.Z[3]), std::tuple(0, 6.0, 0.0));
}

TEST(PickedReaders, LinesAndTextsGiveTheirTwoEnds) {
  auto line = std::make_shared<PropertyBag>();
  line->with("StartPoint", xyz(1, 2, 3)).with("EndPoint", xyz(4, 5, 6));
  Lists l;
  EXPECT_EQ(Obtener_linea(core::Obj(line), l.out()), 2);
  EXPECT_EQ((std::array{l.X[1], l.Y[1], l.Z[1], l.X[2], l.Y[2], l.Z[2]}), (std::array<double, 6>{1, 2, 3, 4, 5, 6}));
  EXPECT_THROW(Saca_Texto(core::Obj(std::make_shared<PropertyBag>()), l.out()), core::Error);
}

}  // namespace
}  // namespace kestrel::import_test
