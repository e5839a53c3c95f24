#include <gtest/gtest.h>

#include <iterator>
#include <optional>
#include <string_view>
#include <utility>

#include "bridge/catalogue.h"
#include "bridge_fixture.h"
#include "core/error_number.h"
#include "failing_allocation.h"

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
    EXPECT_EQ(kCatalogue[i].number, static_cast<int>(i) + 1);
    EXPECT_EQ(kCatalogue[i].name, kBoundInterface[i].first) << "method " << i + 1;
    EXPECT_EQ(kCatalogue[i].parameters, kBoundInterface[i].second) << kBoundInterface[i].first;
  }
}

TEST_F(BridgeTest, LongToRgbSplitsLowByteFirstAndPercentageFloors) {
  const struct {
    std::int32_t packed;
    std::int16_t red, green, blue;
  } cases[] = {{0x00336699, 0x99, 0x66, 0x33}, {-1, 255, 0, 0} /* division truncates toward zero */, {-256, 0, 255, 0}};
  for (const auto& c : cases) {
    kestrel->LongToRGB(c.packed);
    EXPECT_EQ(kestrel->red(), c.red) << c.packed;
    EXPECT_EQ(kestrel->green(), c.green) << c.packed;
    EXPECT_EQ(kestrel->blue(), c.blue) << c.packed;
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
  ASSERT_EQ(message_box.shown().size(), 1u);
  EXPECT_EQ(message_box.shown()[0].text, "Inicializa Mvx4_Kestrel Error nº: Memoria insuficiente");
  EXPECT_EQ(message_box.shown()[0].title, "Mvx4_Kestrel");
  other->Autocad_Genera_Puntos();  // trapped, as every method's errors are
  ASSERT_EQ(message_box.shown().size(), 2u);
  EXPECT_TRUE(message_box.shown()[1].text.starts_with("Autocad_Genera_Puntos - Error    nº  91: "))
      << message_box.shown()[1].text;
}

}  // namespace
}  // namespace kestrel::bridge
