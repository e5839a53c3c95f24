#include <gtest/gtest.h>

#include "bridge_fixture.h"
#include "cad/memcad/memcad.h"
#include "support/scripted_ui.h"

namespace kestrel::bridge {
namespace {

// A 3 x 3 grid of points (z = x + y) with 8 triangles numbered from 0 and
// two contours, one of each kind.
model::t_Datos surface_drawing() {
  model::t_Dibujo d;
  d.NuPun = 9;
  for (auto* a : {&d.X, &d.Y, &d.Z}) a->redim(1, 9);
  for (auto* a : {&d.Nmb, &d.Cd, &d.infor}) a->redim(1, 9);
  d.Capa = core::VbArray<std::int16_t>(1, std::vector<std::int16_t>(9, 1));
  for (int i = 1; i <= 9; ++i) {
    d.X[i] = (i - 1) % 3;
    d.Y[i] = (i - 1) / 3;
    d.Z[i] = d.X[i] + d.Y[i];
  }
  d.nuCapas = 1;
  d.Capas1 = core::VbArray<model::t_Capa>(1, {{"Base", core::kTrue, 0, 0, {}}});
  d.Nutria = 7;
  d.B1 = core::VbArray<std::int32_t>(0, {1, 2, 4, 5, 1, 2, 4, 5});
  d.B2 = core::VbArray<std::int32_t>(0, {2, 3, 5, 6, 5, 6, 8, 9});
  d.B3 = core::VbArray<std::int32_t>(0, {5, 6, 8, 9, 4, 5, 7, 8});
  d.Curvado.NuCurvas = 2;
  d.Curvado.Curvas.redim(1, 2);
  d.Curvado.Curvas[1] = {1, core::VbArray<model::Vertex3>(0, {{0, 1, 1}, {1, 0, 1}}), 0x00FF00, core::kTrue};
  d.Curvado.Curvas[2] = {1, core::VbArray<model::Vertex3>(0, {{0, 2, 2}, {2, 0, 2}}), 0xFF0000, core::kFalse};
  model::t_Datos set;
  set.NuDibujos = 1;
  set.DibujoAct = 1;
  set.Dibujos = core::VbArray<model::t_Dibujo>(1, {d});
  return set;
}

class SurfaceDialogTest : public BridgeTest {
 protected:
  void SetUp() override {
    install_cad();
    ASSERT_TRUE(connect());
    kestrel->Mete(surface_drawing(), core::VbArray<std::int32_t>(0, std::vector<std::int32_t>(8, 0)));
  }
  memcad::Document& drawing() { return *created[0]->active_document(); }
  template <class E>
  std::vector<const E*> all(memcad::EntityKind kind) {
    std::vector<const E*> found;
    for (const auto& e : drawing().model_space().entities()) {
      if (e->kind() == kind) found.push_back(static_cast<const E*>(e.get()));
    }
    return found;
  }
  using User = test_support::ScriptedUser<exporting::f_Acad>;
  void generate(std::function<void(User&)> choices) {
    dialogs.on_show("f_Acad", [this, choices](platform::Form&) {
      User user(kestrel->aCad());
      user.tick("chkPtos", 0);
      user.tick("Op3D(1)");  // 3D, layer prefix "3D_", no exaggeration
      user.tick("chkCap");
      user.type("Combo1", " x 1");
      choices(user);
      user.click("cmdDatosaceptar");
    });
    kestrel->A_Show_Seleccion_datos1();
  }
  // `n` quads of the unit square; quad i has colour i (red i).
  void hand_over_quads(std::int32_t n) {
    core::VbArray<std::int32_t> colours(1, n);
    std::array<core::VbArray<double>, 12> lists;
    for (auto& l : lists) l.redim(1, n);
    const double corners[4][3] = {{0, 0, 1}, {1, 0, 2}, {1, 1, 3}, {0, 1, 4}};
    for (std::int32_t i = 1; i <= n; ++i) {
      colours[i] = i % 256;
      for (std::size_t k = 0; k < 4; ++k) {
        for (std::size_t c = 0; c < 3; ++c) lists[3 * k + c][i] = corners[k][c];
      }
    }
    kestrel->A_Colores(n, colours, lists[0], lists[1], lists[2], lists[3], lists[4], lists[5], lists[6], lists[7],
                       lists[8], lists[9], lists[10], lists[11]);
  }
};

TEST_F(SurfaceDialogTest, ThreeDFacesAndContoursThroughTheDialog) {
  generate([](User& u) {
    u.tick("Option1(0)");
    u.tick("chkCurv");
  });
  EXPECT_TRUE(message_box.shown().empty()) << message_box.shown()[0].text;
  const auto faces = all<memcad::Face3d>(memcad::EntityKind::kFace3d);
  ASSERT_EQ(faces.size(), 8u);
  EXPECT_EQ(faces[7]->corners[0], (memcad::Vec3{1, 1, 2}));  // point 5
  EXPECT_EQ(all<memcad::Polyline3d>(memcad::EntityKind::kPolyline3d).size(), 2u);
  EXPECT_EQ(drawing().layers().find("3D_Cv")->color, 3);
  EXPECT_EQ(drawing().layers().find("3D_Cvd")->color, 5);
}

TEST_F(SurfaceDialogTest, ColouredQuadsAsTrueColourFacesOrSolidFills) {
  hand_over_quads(250);
  exporting::f_Acad& dialog = kestrel->aCad();
  EXPECT_EQ(dialog.Option1[1].caption, "3D Curvado (MDT - 250)");
  EXPECT_EQ(dialog.Option1[3].caption, "2D Curvado Sombreado a color (MDT - 250)");
  EXPECT_EQ(dialog.Option1[1].value, 1);
  std::int32_t none = 0;
  core::VbArray<double> empty;
  kestrel->A_Colores(none, {}, empty, empty, empty, empty, empty, empty, empty, empty, empty, empty, empty, empty);
  EXPECT_EQ(dialog.Option1[1].caption, "3D Curvado (MDT - 250)");

  generate([](User& u) { u.tick("Option1(1)"); });
  EXPECT_TRUE(message_box.shown().empty()) << message_box.shown()[0].text;
  const auto faces = all<memcad::Face3d>(memcad::EntityKind::kFace3d);
  ASSERT_EQ(faces.size(), 250u);
  EXPECT_EQ(faces[6]->true_color(), (memcad::Rgb{7, 0, 0}));
  EXPECT_EQ(faces[6]->corners[3], (memcad::Vec3{0, 1, 4}));
  EXPECT_EQ(faces[6]->layer(), "3D_TRI");

  generate([](User& u) { u.tick("Option1(3)"); });
  const auto fills = all<memcad::Hatch>(memcad::EntityKind::kHatch);
  ASSERT_EQ(fills.size(), 250u);
  EXPECT_EQ(fills[0]->pattern_name, "SOLID");
  EXPECT_EQ(fills[0]->layer(), "3D_Sombreado");
  EXPECT_EQ(fills[0]->true_color(), (memcad::Rgb{1, 0, 0}));
  EXPECT_TRUE(all<memcad::Polyline2d>(memcad::EntityKind::kPolyline2d).empty());
  EXPECT_TRUE(drawing().layers().find("3D_Sombreado")->on);
}

TEST_F(SurfaceDialogTest, QuadListsOfDifferentLengthsAreRefused) {
  core::VbArray<double> four(1, 4), three(1, 3);
  core::VbArray<std::int32_t> colours(1, 4);
  std::int32_t n = 4;
  kestrel->A_Colores(n, colours, four, four, four, four, four, four, four, three, four, four, four, four);
  ASSERT_EQ(message_box.shown().size(), 1u);
  EXPECT_EQ(message_box.shown()[0].text.rfind("A_Colores - Error    nº  9: ", 0), 0u);
  EXPECT_NE(message_box.shown()[0].text.find("Vy2"), std::string::npos) << message_box.shown()[0].text;
  EXPECT_EQ(kestrel->surface().quads.Vn1, 0);
}

}  // namespace
}  // namespace kestrel::bridge
