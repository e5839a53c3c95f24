// c_Kestrel as the host binds and calls it: the method table, the colour
// helpers, handing drawings and quads over, and a dialog that cannot be made.
#include <gtest/gtest.h>

#include <array>
#include <iterator>
#include <optional>
#include <string_view>
#include <utility>

#include "bridge/catalogue.h"
#include "bridge_fixture.h"
#include "core/error_number.h"
#include "failing_allocation.h"
#include "model/loading.h"

namespace kestrel::bridge {
namespace {

using core::testing_support::error_number;

// The interface as early-bound hosts compiled against it: dispatch number
// = position, with each method's parameter count. Written out by hand so
// that two methods swapped in the catalogue fail here.
constexpr std::pair<std::string_view, int> kBoundInterface[] = {
    {"Mira", 0}, {"IniciaAutocad", 5}, {"Color_True", 0}, {"A_Zoom_extension", 0},
    {"Mete_Entidades", 10}, {"Mete_Pun", 8}, {"A_Show_Seleccion_datos", 9}, {"Ch4_CreateHatch", 6},
    {"Autocad_Genera_Puntos", 0}, {"Autocad_Genera_Textos0", 1}, {"Dibuja_perfil", 3}, {"Obten_objetos1", 5},
    {"Mete_dibujo", 1}, {"Example_Documents", 1}, {"Copia_Todo1", 2}, {"Obten_objetos", 9},
    {"Copia_Todo2", 3}, {"Bloques_descompon", 0}, {"Dexompon_Zombie", 3}, {"LongToRGB", 1},
    {"Bloques_Saca", 3}, {"Atributos", 0}, {"Pega_Polilinea", 1}, {"A_Show_Seleccion_datos1", 0},
    {"Mete", 2}, {"Autocad_Genera_Rotulos", 1}, {"Autocad_Genera_Rotulos_Bloques", 0}, {"Autocad_crea_Bloques", 0},
    {"Autocad_genera_Bloques", 0}, {"A_Colores", 15}, {"A_Color_Tri", 2}, {"Triang_int_Pol", 1},
    {"Colores_TRI", 0}, {"Lee_Document", 2}, {"Lee_Documents", 2}, {"Copia__Seleccion", 3},
    {"Copia__Todo", 5}, {"Copia_Pol", 1}, {"ListSelectionSets", 2}, {"Copia_Todo3", 3},
    {"Analiza__Todo", 2}, {"Propiedades_Cad_Ver", 3}, {"Entidades_ver", 1}, {"ENTIDADES", 2},
    {"Dibujo_Vacio", 2}, {"Propiedades_Cad", 6}, {"Autocad_Genera_Textos", 1},
};

TEST(Catalogue, IsTheBoundInterfaceInItsOrder) {
  ASSERT_EQ(std::size(kBoundInterface), kCatalogue.size());
  for (std::size_t i = 0; i < kCatalogue.size(); ++i) {
    EXPECT_EQ(std::tuple(kCatalogue[i].number, kCatalogue[i].name, kCatalogue[i].parameters),
              std::tuple(static_cast<int>(i) + 1, kBoundInterface[i].first, kBoundInterface[i].second));
  }
}

TEST_F(BridgeTest, LongToRgbSplitsLowByteFirstAndPercentageFloors) {
  const std::array<std::int32_t, 4> cases[] = {
      {0x00336699, 0x99, 0x66, 0x33}, {-1, 255, 0, 0} /* division truncates toward zero */, {-256, 0, 255, 0}};
  for (const auto& [packed, red, green, blue] : cases) {
    kestrel->LongToRGB(packed);
    EXPECT_EQ(std::tuple(kestrel->red(), kestrel->green(), kestrel->blue()), std::tuple(red, green, blue)) << packed;
  }
  EXPECT_EQ(c_Kestrel::percentage(3, 2), 66);
  EXPECT_EQ(c_Kestrel::percentage(-3, 1), -34);  // the largest whole number not above
  EXPECT_EQ(error_number([] { (void)c_Kestrel::percentage(100, 30'000'000); }), core::kOverflow);
  EXPECT_EQ(error_number([] { (void)c_Kestrel::percentage(0, 1); }), core::kDivisionByZero);
}

TEST_F(BridgeTest, ADialogThatCannotBeCreatedIsReportedAndThenMissedWithError91) {
  std::optional<c_Kestrel> other;
  {
    const testing::FailingAllocation no_room_for_the_dialog(sizeof(exporting::f_Acad));
    other.emplace(module);
  }
  other->Autocad_Genera_Puntos();  // trapped, as every method's errors are
  ASSERT_EQ(message_box.shown().size(), 2u);
  EXPECT_EQ(std::tuple(message_box.shown()[0].text, message_box.shown()[0].title),
            std::tuple("Inicializa Mvx4_Kestrel Error nº: Memoria insuficiente", "Mvx4_Kestrel"));
  EXPECT_TRUE(message_box.shown()[1].text.starts_with("Autocad_Genera_Puntos - Error    nº  91: "))
      << message_box.shown()[1].text;
}

// Mete traps its errors; Mete_Pun and Mete_Entidades let theirs through to the host.
TEST_F(BridgeTest, MeteKeepsTheHostsColourBoundsAndAnEmptySetKeepsTheModel) {
  VbArray<std::int32_t> colours(0, 2);
  colours[2] = 0xFF;
  kestrel->Mete(drawing_set({points_drawing("D1", 1), points_drawing("D2", 2), points_drawing("D3", 3)}, 5), colours);
  EXPECT_EQ(module.model.DibujoActual, 3);
  EXPECT_EQ(std::tuple(kestrel->VVc().lbound(), kestrel->VVc()[2]), std::tuple(0, 0xFF));  // the host's bounds
  EXPECT_TRUE(message_box.shown().empty());

  kestrel->Mete(model::t_Datos{}, VbArray<std::int32_t>(1, 1));
  EXPECT_EQ(shown_texts(), std::vector<std::string>{"Merivox Lelo  - Error  nº  9: El subíndice está fuera del intervalo"});
  EXPECT_EQ(error_setting("Numero"), "1");
  EXPECT_EQ(module.model.PtoNombre[1], "D3-1");  // the groups keep what they held
  EXPECT_EQ(kestrel->VVc().size(), 1);

  const VbArray<double> one(1, 1);
  const VbArray<std::string> names(1, 1);
  EXPECT_THROW(kestrel->Mete_Pun(-1, one, one, one, names, names, names, VbArray<std::int16_t>(1, 1)), core::Error);
  EXPECT_THROW(kestrel->Mete_Entidades(0, {}, {}, 0, {}, -2, {}, {}, {}, 0), core::Error);
  EXPECT_EQ(message_box.shown().size(), 1u);
}

class QuadsTest : public ConnectedTest {
 protected:
  // Hands over `n` quads whose lists (Vx1, Vy1, Vz1, ... Vz4) hold `lengths` items each.
  void hand_over(std::int32_t n, const std::array<int, 12>& lengths) {
    std::array<core::VbArray<double>, 12> l;
    for (std::size_t k = 0; k < l.size(); ++k) {
      if (lengths[k] > 0) l[k] = core::VbArray<double>(1, lengths[k]);  // else never dimensioned
    }
    core::VbArray<std::int32_t> colours(1, n);
    kestrel->A_Colores(n, colours, l[0], l[1], l[2], l[3], l[4], l[5], l[6], l[7], l[8], l[9], l[10], l[11]);
  }
};

TEST_F(QuadsTest, TheDialogOffersTheQuadsByTheirCountAndAnEmptyOrBadHandOverKeepsThem) {
  hand_over(250, {250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250, 250});
  const exporting::f_Acad& dialog = kestrel->aCad();
  EXPECT_EQ(dialog.Option1[1].caption, "3D Curvado (MDT - 250)");
  EXPECT_EQ(dialog.Option1[3].caption, "2D Curvado Sombreado a color (MDT - 250)");
  EXPECT_EQ(dialog.Option1[1].value, 1);
  hand_over(0, {});
  EXPECT_EQ(dialog.Option1[1].caption, "3D Curvado (MDT - 250)");
  EXPECT_TRUE(message_box.shown().empty()) << message_box.shown()[0].text;

  hand_over(4, {4, 4, 4, 4, 4, 4, 4, 3, 4, 4, 4, 4});  // lists of different lengths: refused, the quads kept
  ASSERT_EQ(message_box.shown().size(), 1u);
  EXPECT_TRUE(message_box.shown()[0].text.starts_with("A_Colores - Error    nº  9: "));
  EXPECT_NE(message_box.shown()[0].text.find("Vy2"), std::string::npos) << message_box.shown()[0].text;
  EXPECT_EQ(kestrel->surface().quads.Vn1, 250);
}

}  // namespace
}  // namespace kestrel::bridge
