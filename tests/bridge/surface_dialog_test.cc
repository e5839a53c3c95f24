// The coloured quads the host hands over: what the dialog offers and what is
// refused. The faces and fills drawn from them are checked against ezdxf in
// tests/tools/cli_surface_test.py.
#include <gtest/gtest.h>

#include <array>

#include "bridge_fixture.h"

namespace kestrel::bridge {
namespace {

class SurfaceDialogTest : public BridgeTest {
 protected:
  void SetUp() override {
    install_cad();
    ASSERT_TRUE(connect());
  }
  // Hands over `lists` (Vx1, Vy1, Vz1, ... Vz4) of `n` quads.
  void hand_over(std::int32_t n, std::array<core::VbArray<double>, 12> lists) {
    core::VbArray<std::int32_t> colours(1, n);
    kestrel->A_Colores(n, colours, lists[0], lists[1], lists[2], lists[3], lists[4], lists[5], lists[6], lists[7],
                       lists[8], lists[9], lists[10], lists[11]);
  }
};

TEST_F(SurfaceDialogTest, TheDialogOffersTheQuadsByTheirCountAndAnEmptyHandOverKeepsThem) {
  const core::VbArray<double> list(1, 250);
  hand_over(250, {list, list, list, list, list, list, list, list, list, list, list, list});
  exporting::f_Acad& dialog = kestrel->aCad();
  EXPECT_EQ(dialog.Option1[1].caption, "3D Curvado (MDT - 250)");
  EXPECT_EQ(dialog.Option1[3].caption, "2D Curvado Sombreado a color (MDT - 250)");
  EXPECT_EQ(dialog.Option1[1].value, 1);
  hand_over(0, {});
  EXPECT_EQ(dialog.Option1[1].caption, "3D Curvado (MDT - 250)");
  EXPECT_TRUE(message_box.shown().empty()) << message_box.shown()[0].text;
}

TEST_F(SurfaceDialogTest, QuadListsOfDifferentLengthsAreRefused) {
  const core::VbArray<double> four(1, 4), three(1, 3);
  hand_over(4, {four, four, four, four, four, four, four, three, four, four, four, four});
  ASSERT_EQ(message_box.shown().size(), 1u);
  EXPECT_EQ(message_box.shown()[0].text.rfind("A_Colores - Error    nº  9: ", 0), 0u);
  EXPECT_NE(message_box.shown()[0].text.find("Vy2"), std::string::npos) << message_box.shown()[0].text;
  EXPECT_EQ(kestrel->surface().quads.Vn1, 0);
}

}  // namespace
}  // namespace kestrel::bridge
