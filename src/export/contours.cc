#include "export/contours.h"

#include <array>
#include <string>
#include <vector>

#include "core/numeric.h"
#include "core/trap.h"
#include "export/progress.h"
#include "export/surface_layers.h"
#include "model/colours.h"

namespace kestrel::exporting {

namespace {

using core::Obj;
using core::Variant;
using core::VbArray;

constexpr std::int32_t kByLayer = 256;

enum StartCode : std::int8_t { kContinues = 0, kStartsCvd = 1, kStartsCv = 2 };

// Every contour's vertices in one list, each contour's first vertex marked
// with the layer it starts.
struct Flattened {
  std::vector<model::Vertex3> xyz;
  std::vector<std::int8_t> code;
  std::int32_t colour_cv = 0;
  std::int32_t colour_cvd = 0;
};

[[noreturn]] void short_contour(std::int32_t j, std::int32_t n) {
  throw core::Error(core::kSubscriptOutOfRange, core::kRuntimeSource,
                    core::standard_description(core::kSubscriptOutOfRange) + ": la curva " + std::to_string(j) +
                        " tiene menos de los " + std::to_string(n + 1) + " vértices que declara");
}

[[noreturn]] void missing_contour(std::int32_t j) {
  throw core::Error(core::kSubscriptOutOfRange, core::kRuntimeSource,
                    core::standard_description(core::kSubscriptOutOfRange) + ": la curva " + std::to_string(j) +
                        " no está en la lista de curvas");
}

Flattened flatten(const model::t_Curvado& set, double deform) {
  Flattened f;
  std::size_t total = 0;
  for (std::int32_t j = 1; j <= set.NuCurvas; ++j) {
    if (!set.Curvas.contains(j)) missing_contour(j);
    total += static_cast<std::size_t>(std::max(set.Curvas[j].NuVertC + 1, 0));
  }
  f.xyz.reserve(total);
  f.code.reserve(total);
  for (std::int32_t j = 1; j <= set.NuCurvas; ++j) {
    const model::t_Curva& c = set.Curvas[j];
    const bool cv = c.TipoC != core::kFalse;
    if (f.colour_cv == 0 || f.colour_cvd == 0) (cv ? f.colour_cv : f.colour_cvd) = c.ColorC;
    if (c.NuVertC >= 0 && !(c.VertC.contains(0) && c.VertC.contains(c.NuVertC))) short_contour(j, c.NuVertC);
    for (std::int32_t v = 0; v <= c.NuVertC; ++v) {
      const model::Vertex3& p = c.VertC[v];
      f.xyz.push_back({p.x, p.y, p.z * deform});
      f.code.push_back(v == 0 ? (cv ? kStartsCv : kStartsCvd) : kContinues);
    }
  }
  return f;
}

struct LineBuffer {
  const Flattened& f;
  bool flat;
  std::vector<double> xyz;
  std::array<Variant, 1> argument;
  std::size_t last = 0;  // the vertex appended last

  void append(std::size_t i) {
    const model::Vertex3& p = f.xyz[i];
    xyz.insert(xyz.end(), {p.x, p.y, flat ? 0.0 : p.z});
    last = i;
  }
};

void flush(const Obj& model_space, LineBuffer& line, const std::string& layer) {
  line.argument[0] = Variant(VbArray<double>(0, std::vector<double>(line.xyz)));
  const Obj entity(model_space.call_with(line.flat ? "AddPolyline" : "Add3DPoly", line.argument).to_object());
  entity.put("Layer", layer);
  entity.put("Color", kByLayer);
  if (line.flat) entity.put("Elevation", line.f.xyz[line.last].z);
}

void draw(ExportContext& ctx, const Flattened& f) {
  const std::string cv = ctx.state.PrefCap + "Cv";
  const std::string cvd = ctx.state.PrefCap + "Cvd";
  add_surface_layer(ctx, cv, model::Color_ACI(f.colour_cv));
  add_surface_layer(ctx, cvd, model::Color_ACI(f.colour_cvd));
  ctx.module.services.pointer.set(platform::kPointerHourglass);
  const auto N = static_cast<std::int32_t>(f.xyz.size()) - 1;
  ItemProgress progress(ctx, N, "Generando " + core::vb_str(N) + " curvas:");
  const Obj model_space = ctx.module.cad.Documento.object("ModelSpace");
  LineBuffer line{f, ctx.state.Solo2D != core::kFalse, {}, {}, 0};
  std::string layer;
  for (std::int32_t i = 0; i <= N; ++i) {
    if (i % progress.step() == 0 && progress.update(i)) return;
    const auto at = static_cast<std::size_t>(i);
    if (f.code[at] != kContinues) {
      if (line.xyz.size() > 3) flush(model_space, line, layer);
      line.xyz.clear();
      layer = f.code[at] == kStartsCv ? cv : cvd;
    }
    line.append(at);
  }
  if (line.xyz.size() > 3) flush(model_space, line, layer);
  ctx.module.services.pointer.set(platform::kPointerDefault);
}

void generate(ExportContext& ctx) {
  const model::DrawingModel& m = ctx.module.model;
  const Flattened f = flatten(m.Curvado, m.DeformaZ);
  if (m.Curvado.NuCurvas == 0 || f.xyz.empty()) return;
  draw(ctx, f);
}

}  // namespace

void Curvado(ExportContext& ctx) {
  static constexpr core::TrapMessage kMessage{"Curvado - Error   nº ", ": "};
  core::trap(ctx.module.error_log, kMessage, [&] { generate(ctx); });
}

}  // namespace kestrel::exporting
