#include <gtest/gtest.h>

#include "bridge_fixture.h"
#include "model/loading.h"

namespace kestrel::bridge {
namespace {

model::t_Dibujo drawing_with_points(const std::string& name, int points) {
  model::t_Dibujo d;
  d.Texto2 = name;
  d.NuPun = points;
  for (auto* a : {&d.X, &d.Y, &d.Z}) a->redim(1, points);
  for (auto* a : {&d.Nmb, &d.Cd, &d.infor}) a->redim(1, points);
  d.Capa.redim(1, points);
  for (int i = 1; i <= points; ++i) d.Nmb[i] = name + "-" + std::to_string(i);
  return d;
}

model::t_Datos drawing_set(int count, int current) {
  model::t_Datos set;
  set.NuDibujos = count;
  set.DibujoAct = current;
  set.Dibujos.redim(1, count);
  for (int k = 1; k <= count; ++k) set.Dibujos[k] = drawing_with_points("D" + std::to_string(k), k);
  return set;
}

TEST_F(BridgeTest, MeteKeepsTheHostsColourBounds) {
  VbArray<std::int32_t> colours(0, 2);
  colours[2] = 0xFF;
  kestrel->Mete(drawing_set(3, 5), colours);

  EXPECT_EQ(module.model.DibujoActual, 3);
  EXPECT_EQ(kestrel->VVc().lbound(), 0);  // the host's bounds are kept
  EXPECT_EQ(kestrel->VVc()[2], 0xFF);
  EXPECT_TRUE(message_box.shown().empty());
}

TEST_F(BridgeTest, MeteWithAnEmptySetReportsAndKeepsTheModel) {
  kestrel->Mete(drawing_set(2, 1), {});
  ASSERT_EQ(module.model.NumPuntos, 1);

  VbArray<std::int32_t> colours(1, 1);
  kestrel->Mete(model::t_Datos{}, colours);

  ASSERT_EQ(message_box.shown().size(), 1u);
  EXPECT_EQ(message_box.shown()[0].text, "Merivox Lelo  - Error  nº  9: El subíndice está fuera del intervalo");
  EXPECT_EQ(error_setting("Numero"), "1");
  EXPECT_EQ(module.model.PtoNombre[1], "D1-1");  // the groups keep what they held
  EXPECT_EQ(kestrel->VVc().size(), 1);
}

TEST_F(BridgeTest, GeneratorMessagesEndWithTheAdviceOnceADrawingWasLoaded) {
  install_cad();
  ASSERT_TRUE(connect());
  kestrel->Mete_dibujo(drawing_with_points("solo", 1));
  created[0]->inject_failure("GetInterfaceObject", 1, 13);
  kestrel->Color_True();
  ASSERT_EQ(message_box.shown().size(), 1u);
  EXPECT_TRUE(message_box.shown()[0].text.ends_with(" " + std::string(model::kVersionAdvice)));
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
