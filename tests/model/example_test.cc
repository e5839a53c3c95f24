// The bundled example drawing (examples/survey.json) is the main job's
// input: its geometry must be valid for every generator.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "model/loading.h"
#include "recordfile/record_file.h"

namespace kestrel::model {
namespace {

TEST(SurveyExample, GeometryIsValidForEveryGenerator) {
  const t_Datos set = as_drawing_set(read_record_file(std::string(KESTREL_EXAMPLES) + "/survey.json"));
  ASSERT_EQ(set.NuDibujos, 3);
  const t_Dibujo& d = set.Dibujos[1];
  const auto is_point = [&](std::int32_t i) { return i >= 1 && i <= d.NuPun; };
  for (std::int32_t k = 2; k <= 3; ++k) EXPECT_EQ(set.Dibujos[k].X.lbound(), 0);  // blocks: base point at 0
  ASSERT_GT(d.Nutria, 100);
  for (std::int32_t t = 1; t <= d.Nutria; ++t) {
    const std::int32_t a = d.B1[t], b = d.B2[t], c = d.B3[t];
    ASSERT_TRUE(is_point(a) && is_point(b) && is_point(c)) << "triangle " << t;
    const double area = ((d.X[b] - d.X[a]) * (d.Y[c] - d.Y[a]) - (d.X[c] - d.X[a]) * (d.Y[b] - d.Y[a])) / 2;
    EXPECT_GT(area, 1.0) << "triangle " << t;  // counter-clockwise, well shaped
  }
  std::set<std::int32_t> shapes;
  for (const t_Poli& p : d.poli.items()) {
    const std::int32_t shape = p.Vert[0];
    shapes.insert(shape);
    for (std::int32_t v = 1; v <= p.NuVert; ++v) ASSERT_TRUE(is_point(p.Vert[v]));
    EXPECT_TRUE((shape != 2 && shape != 3) || p.NuVert == shape) << "circle: centre and a point; arc: three points";
    EXPECT_TRUE(shape >= 0 || p.Vert[1] == p.Vert[p.NuVert]) << "a hatched area is closed";
  }
  EXPECT_TRUE(std::ranges::includes(shapes, std::set<std::int32_t>{-60, -52, 0, 2, 3}));
  int references = 0;
  for (const std::string& code : d.Cd.items()) {
    if (code.rfind("**", 0) != 0 && code.rfind("##", 0) != 0) continue;
    ++references;
    const std::string name = code.substr(2, code.find('/', 1) == std::string::npos ? std::string::npos : code.find('/', 1) - 2);
    EXPECT_TRUE(name == set.Dibujos[2].Texto2 || name == set.Dibujos[3].Texto2) << code;
  }
  EXPECT_GE(references, 1);
}

}  // namespace
}  // namespace kestrel::model
