#include <gtest/gtest.h>

#include "export/polylines.h"
#include "export/profile.h"
#include "polyline_fixture.h"

namespace kestrel::exporting::testing {
namespace {

class ProfileTest : public ExportTest {
 protected:
  ProfileTest() { app->set_picker(picker); }
  [[nodiscard]] std::vector<const memcad::Polyline3d*> polylines() const {
    return entities<memcad::Polyline3d>(memcad::EntityKind::kPolyline3d);
  }
  std::shared_ptr<memcad::ScriptedPicker> picker = std::make_shared<memcad::ScriptedPicker>();
};

TEST_F(ProfileTest, ACancelledPickOrNoPointsDrawNothing) {
  const core::VbArray<double> Pk(1, {0, 20}), Ct(1, {100, 101});
  picker->push_point_cancel();
  Dibuja_perfil(module, 2, Pk, Ct);
  picker->push_point({1, 1, 0});
  Dibuja_perfil(module, 0, Pk, Ct);
  picker->push_point({1, 1, 0});
  Dibuja_perfil(module, 1, Pk, Ct);  // the CAD refuses a one-vertex polyline
  EXPECT_TRUE(polylines().empty());
  ASSERT_EQ(messages().size(), 3u);
  for (const std::string& m : messages()) EXPECT_EQ(m.rfind("Autocad Genera Perfil - Error    nº ", 0), 0u) << m;
}

TEST_F(ProfileTest, PastingAPolylineKeepsTheRawCoordinatesOnItsLayer) {
  load({drawing("D", {{"Ejes"}, {"Linde norte", true, 0xFF}}, {{"A", 1, 2, 3}, {"B", 4, 5, 6, "", 2}})});
  module.model.DeformaZ = 10;
  state.Solo2D = core::kTrue;
  set_polylines(module.model, {{0, {1, 2}}, {0, {2, 1}, 0, 2}});
  std::int32_t nPol = 2;
  Pega_Polilinea(ctx, nPol);
  ASSERT_EQ(polylines().size(), 1u);
  EXPECT_EQ(polylines()[0]->xyz, (std::vector<double>{4, 5, 6, 1, 2, 3}));
  EXPECT_EQ(polylines()[0]->layer(), "Linde_norte");
  ASSERT_NE(layer("Linde_norte"), nullptr);
  EXPECT_EQ(layer("Linde_norte")->color, 1);
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0], "Polilinea copiada");
  EXPECT_EQ(message_box.shown()[0].title, "Autocad:");
  nPol = 3;
  Pega_Polilinea(ctx, nPol);
  EXPECT_EQ(messages().back().rfind("Autocad Pega_Polilinea - Error    nº  9: ", 0), 0u) << messages().back();
}

}  // namespace
}  // namespace kestrel::exporting::testing
