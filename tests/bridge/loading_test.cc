#include <gtest/gtest.h>

#include "bridge_fixture.h"
#include "model/loading.h"

namespace kestrel::bridge {
namespace {

TEST_F(BridgeTest, MeteKeepsTheHostsColourBounds) {
  VbArray<std::int32_t> colours(0, 2);
  colours[2] = 0xFF;
  kestrel->Mete(drawing_set({points_drawing("D1", 1), points_drawing("D2", 2), points_drawing("D3", 3)}, 5), colours);

  EXPECT_EQ(module.model.DibujoActual, 3);
  EXPECT_EQ(kestrel->VVc().lbound(), 0);  // the host's bounds are kept
  EXPECT_EQ(kestrel->VVc()[2], 0xFF);
  EXPECT_TRUE(message_box.shown().empty());
}

TEST_F(BridgeTest, MeteWithAnEmptySetReportsAndKeepsTheModel) {
  kestrel->Mete(drawing_set({points_drawing("D1", 1), points_drawing("D2", 2)}, 1), {});
  ASSERT_EQ(module.model.NumPuntos, 1);

  VbArray<std::int32_t> colours(1, 1);
  kestrel->Mete(model::t_Datos{}, colours);

  ASSERT_EQ(message_box.shown().size(), 1u);
  EXPECT_EQ(message_box.shown()[0].text, "Merivox Lelo  - Error  nº  9: El subíndice está fuera del intervalo");
  EXPECT_EQ(error_setting("Numero"), "1");
  EXPECT_EQ(module.model.PtoNombre[1], "D1-1");  // the groups keep what they held
  EXPECT_EQ(kestrel->VVc().size(), 1);
}

TEST_F(BridgeTest, MetePunAndMeteEntidadesLetErrorsThrough) {
  const VbArray<double> one(1, 1);
  const VbArray<std::string> names(1, 1);
  const VbArray<std::int16_t> layers(1, 1);
  EXPECT_THROW(kestrel->Mete_Pun(-1, one, one, one, names, names, names, layers), core::Error);
  EXPECT_THROW(kestrel->Mete_Entidades(0, {}, {}, 0, {}, -2, {}, {}, {}, 0), core::Error);
  EXPECT_TRUE(message_box.shown().empty());
}

}  // namespace
}  // namespace kestrel::bridge
