// The bundled example drawing (examples/survey.json) is the main job's
// input: it must load, and its geometry must be valid for every generator.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "model/loading.h"
#include "recordfile/record_file.h"

namespace kestrel::model {
namespace {

class SurveyExample : public ::testing::Test {
 protected:
  void SetUp() override { set_ = as_drawing_set(read_record_file(std::string(KESTREL_EXAMPLES) + "/survey.json")); }
  const t_Dibujo& parcela() const { return set_.Dibujos[1]; }
  bool is_point(std::int32_t index) const { return index >= 1 && index <= parcela().NuPun; }

  t_Datos set_;
};

TEST_F(SurveyExample, HoldsThePlotAndTheBlockDrawings) {
  ASSERT_EQ(set_.NuDibujos, 3);
  EXPECT_EQ(set_.DibujoAct, 1);
  EXPECT_GE(parcela().NuPun, 250);
  EXPECT_EQ(set_.Dibujos[2].Texto2, "Arqueta");
  EXPECT_EQ(set_.Dibujos[3].Texto2, "Farola");
  for (std::int32_t k = 2; k <= 3; ++k) EXPECT_EQ(set_.Dibujos[k].X.lbound(), 0);  // base point at index 0
}

TEST_F(SurveyExample, TrianglesAreValidAndNotDegenerate) {
  const t_Dibujo& d = parcela();
  ASSERT_GT(d.Nutria, 100);
  for (std::int32_t t = 1; t <= d.Nutria; ++t) {
    const std::int32_t a = d.B1[t], b = d.B2[t], c = d.B3[t];
    ASSERT_TRUE(is_point(a) && is_point(b) && is_point(c)) << "triangle " << t;
    const double area = ((d.X[b] - d.X[a]) * (d.Y[c] - d.Y[a]) - (d.X[c] - d.X[a]) * (d.Y[b] - d.Y[a])) / 2;
    EXPECT_GT(area, 1.0) << "triangle " << t;  // counter-clockwise, well shaped
  }
}

TEST_F(SurveyExample, PolylinesHaveTheirShapes) {
  const t_Dibujo& d = parcela();
  std::set<std::int32_t> shapes;
  for (std::int32_t k = 1; k <= d.NuPolis; ++k) {
    const t_Poli& p = d.poli[k];
    const std::int32_t shape = p.Vert[0];
    shapes.insert(shape);
    for (std::int32_t v = 1; v <= p.NuVert; ++v) ASSERT_TRUE(is_point(p.Vert[v])) << "poli " << k;
    if (shape == 2 || shape == 3) {
      EXPECT_EQ(p.NuVert, shape) << "circle: centre and a point; arc: three points";
    }
    if (shape < 0) {
      EXPECT_GE(shape, -70);
      EXPECT_EQ(p.Vert[1], p.Vert[p.NuVert]) << "a hatched area is closed";
    }
    EXPECT_TRUE(p.CapaP >= 1 && p.CapaP <= d.nuCapas);
  }
  EXPECT_TRUE(shapes.contains(0) && shapes.contains(2) && shapes.contains(3));
  EXPECT_TRUE(shapes.contains(-60) && shapes.contains(-52));
}

TEST_F(SurveyExample, BlockReferencesNameTheOtherDrawings) {
  const t_Dibujo& d = parcela();
  int references = 0;
  for (std::int32_t i = 1; i <= d.NuPun; ++i) {
    const std::string& code = d.Cd[i];
    if (code.rfind("**", 0) != 0 && code.rfind("##", 0) != 0) continue;
    ++references;
    const std::string name =
        code.substr(2, code.find('/', 1) == std::string::npos ? std::string::npos : code.find('/', 1) - 2);
    EXPECT_TRUE(name == set_.Dibujos[2].Texto2 || name == set_.Dibujos[3].Texto2) << code;
  }
  EXPECT_GE(references, 1);
}

TEST_F(SurveyExample, ContoursTextsAndOptions) {
  const t_Dibujo& d = parcela();
  bool normal = false, master = false;
  for (const t_Curva& c : d.Curvado.Curvas.items()) {
    EXPECT_EQ(c.VertC.size(), c.NuVertC + 1);
    (c.TipoC == core::kTrue ? normal : master) = true;
  }
  EXPECT_TRUE(normal && master);
  const auto texts = d.Rotulo.items();
  EXPECT_TRUE(std::any_of(texts.begin(), texts.end(),
                          [](const t_Rotulo& r) { return r.Texto.find('#') != std::string::npos; }));
  for (const LongOption flag : {kChkPtos, kChkText, kChkNo, kChkCod, kChkZ}) {
    EXPECT_TRUE(d.Opciones.ticked(flag)) << flag.offset;
  }
}

}  // namespace
}  // namespace kestrel::model
