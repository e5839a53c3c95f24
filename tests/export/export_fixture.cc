#include "export_fixture.h"

namespace kestrel::exporting::testing {

model::t_Dibujo drawing(const std::string& name, const std::vector<LayerSpec>& layers,
                        const std::vector<PointSpec>& points) {
  model::t_Dibujo d;
  d.Texto2 = name;
  d.nuCapas = static_cast<std::int32_t>(layers.size());
  d.Capas1.redim(1, d.nuCapas);
  for (std::int32_t k = 1; k <= d.nuCapas; ++k) {
    const LayerSpec& wanted = layers[static_cast<std::size_t>(k - 1)];
    d.Capas1[k].Nombre = wanted.name;
    d.Capas1[k].Encendida = core::to_vb_bool(wanted.on);
    d.Capas1[k].ColorCapa = wanted.colour;
  }
  const auto n = static_cast<std::int32_t>(points.size());
  d.NuPun = n;
  for (auto* a : {&d.X, &d.Y, &d.Z}) a->redim(1, n);
  for (auto* a : {&d.Nmb, &d.Cd, &d.infor}) a->redim(1, n);
  d.Capa.redim(1, n);
  for (std::int32_t i = 1; i <= n; ++i) {
    const PointSpec& p = points[static_cast<std::size_t>(i - 1)];
    d.Nmb[i] = p.name;
    d.X[i] = p.x;
    d.Y[i] = p.y;
    d.Z[i] = p.z;
    d.Cd[i] = p.code;
    d.Capa[i] = p.layer;
  }
  return d;
}

std::vector<PointSpec> numbered_points(std::int32_t count) {
  std::vector<PointSpec> points;
  points.reserve(static_cast<std::size_t>(count));
  for (std::int32_t k = 1; k <= count; ++k) points.push_back({"P" + std::to_string(k), static_cast<double>(k), 2.0 * k, 3.0 * k, "C", 1});
  return points;
}

void set_polylines(model::DrawingModel& m, const std::vector<PolySpec>& specs) {
  m.NumPolis = static_cast<std::int32_t>(specs.size());
  m.Polis.redim(1, m.NumPolis);
  for (std::int32_t i = 1; i <= m.NumPolis; ++i) {
    const PolySpec& s = specs[static_cast<std::size_t>(i - 1)];
    model::t_Poli& p = m.Polis[i];
    p.NuVert = static_cast<std::int32_t>(s.vertices.size());
    p.Vert.redim(0, p.NuVert);
    p.Vert[0] = s.code;
    for (std::int32_t k = 1; k <= p.NuVert; ++k) p.Vert[k] = s.vertices[static_cast<std::size_t>(k - 1)];
    p.Color = s.colour;
    p.CapaP = s.layer;
  }
}

ExportTest::ExportTest() {
  core::Obj application(app);
  module.cad.Aplicacion = application;
  module.cad.Documento = application.object("ActiveDocument");
  module.cad.EspacioModelo = module.cad.Documento.object("ModelSpace");
  module.model.DeformaZ = 1;
  dialog.txtAltura.text = "1";
}

void ExportTest::load(std::vector<model::t_Dibujo> drawings, std::int32_t current) {
  model::t_Datos set;
  set.NuDibujos = static_cast<std::int32_t>(drawings.size());
  set.DibujoAct = current;
  set.Dibujos = core::VbArray<model::t_Dibujo>(1, std::move(drawings));
  model::mete(module.model, set);
}

std::vector<std::string> ExportTest::messages() const {
  std::vector<std::string> texts;
  for (const auto& shown : message_box.shown()) texts.push_back(shown.text);
  return texts;
}

void SurfaceTest::set_triangles(const std::vector<std::array<std::int32_t, 3>>& triangles) {
  model::DrawingModel& m = module.model;
  const auto n = static_cast<std::int32_t>(triangles.size());
  m.NumTriangulos = n - 1;
  for (auto* list : {&m.TriV1, &m.TriV2, &m.TriV3}) list->redim(0, n - 1);
  for (std::int32_t t = 0; t < n; ++t) {
    const auto& v = triangles[static_cast<std::size_t>(t)];
    m.TriV1[t] = v[0];
    m.TriV2[t] = v[1];
    m.TriV3[t] = v[2];
  }
}

}  // namespace kestrel::exporting::testing
