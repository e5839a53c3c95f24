#include "export/labels.h"

#include <unordered_set>

#include "core/trap.h"
#include "export/label_fonts.h"
#include "export/label_placement.h"
#include "export/point_arguments.h"
#include "export/progress.h"
#include "export/trapped.h"

namespace kestrel::exporting {

namespace {

constexpr std::size_t kMostStyles = 500;
constexpr std::int16_t kColourByLayer = 256;

// The styles made in one call, in the order made.
class StyleList {
 public:
  explicit StyleList(ExportContext& ctx) : ctx_(ctx) {
    Lee_Fuentes(ctx.module, fonts_);
    folder_ = Dir_Win(ctx.module);
  }

  void use(std::string& Estilo) {
    if (Estilo.empty() || Estilo == "LEROY") Estilo = "Arial";
    if (made_.contains(Estilo) || made_.size() >= kMostStyles) return;
    made_.insert(Estilo);
    core::Obj style;
    core::skip_each(
        [&] { style = core::Obj(ctx_.module.cad.Documento.object("TextStyles").call("Add", Estilo).to_object()); },
        [&] {
          const std::string file = style_font_file(fonts_, folder_, Estilo);
          if (!file.empty()) style.put("fontFile", file);
        });
  }

 private:
  ExportContext& ctx_;
  FontTable fonts_;
  std::string folder_;
  std::unordered_set<std::string> made_;
};

// Writes label i as a text, in model space or in the block being defined.
class TextWriter {
 public:
  TextWriter(ExportContext& ctx, core::VbBool Bloq)
      : m_(ctx.module.model), in_block_(Bloq != core::kFalse),
        space_(in_block_ ? ctx.state.BloqueActual : ctx.module.cad.Documento.object("ModelSpace")), args_(1) {}

  void write(const model::t_Rotulo& r) {
    const bool placed = r.Texto3 == "5" || r.Texto3 == "6" || r.Texto3 == "7" || r.Texto3 == "8";
    args_[0] = core::Variant(r.Texto);
    args_[2] = core::Variant(0.9 * r.Altura);
    const core::Obj text(
        space_.call_with("AddText", args_.with_point(placed ? r.Xc : r.Xr, placed ? r.Yc : r.Yr, 0)).to_object());
    if (!in_block_) text.put("Color", kColourByLayer);
    text.put("Layer", m_.Capas[r.CapaR].Nombre);
    text.put("Rotation", (400 - r.Giro) * 3.141592654 / 200);
    text.put("StyleName", r.Estilo);
  }

 private:
  const model::DrawingModel& m_;
  bool in_block_;
  core::Obj space_;
  PointArguments<3> args_;
};

bool drawn(const model::t_Rotulo& r) { return r.Texto3 != "11" && r.Texto3 != "12"; }

// Steps 2 on: preparation, the drawing loop, the leaders. False when cancelled.
bool draw_labels(ExportContext& ctx, core::VbBool Bloq) {
  model::DrawingModel& m = ctx.module.model;
  ctx.module.services.pointer.set(platform::kPointerHourglass);
  ItemProgress progress(ctx, m.NumRotulos, "Generando " + core::number_text(m.NumRotulos) + " rótulos:");
  LabelWorkspace ws{m, ctx.module.services.text_measure, true, {}};
  Prepara_Rotulos(ws);
  ws.PrimeraPasada = false;
  TextWriter writer(ctx, Bloq);
  const std::int32_t count = m.NumRotulos;  // with what the preparation appended
  for (std::int32_t i = 1; i <= count; ++i) {
    if (progress.due(i) && progress.update(i)) return false;
    if (ctx.state.CapAc == 1 && m.Capas[m.Rotulos[i].CapaR].Encendida == core::kFalse) continue;
    Coloca_Rotulo(ws, i, 1);
    if (drawn(m.Rotulos[i])) writer.write(m.Rotulos[i]);
  }
  LeeFlechas(ctx, Bloq);
  return true;
}

void report(ExportContext& ctx, const core::Error& e) {
  std::string message;
  if (wrong_bitness_error(e.number())) {
    message = "Textos - Error   nº  " + core::number_text(e.number()) + ": " + kWrongBitnessAdvice;
  } else {
    message = "Textos - Error   nº " + core::number_text(e.number()) + ": " + e.description();
  }
  log_error(ctx.module, message, e);
  finish_progress(ctx);
}

}  // namespace

void make_text_styles(ExportContext& ctx) {
  model::DrawingModel& m = ctx.module.model;
  core::attempt([&] {
    StyleList styles(ctx);
    for (std::int32_t i = 1; i <= m.NumRotulos; ++i) {
      core::attempt([&] { styles.use(m.Rotulos[i].Estilo); });
    }
  });
}

void Autocad_Genera_Rotulos(ExportContext& ctx, core::VbBool Bloq) {
  run_trapped(
      [&] {
        make_text_styles(ctx);
        if (ctx.module.model.NumRotulos == 0) return;
        if (draw_labels(ctx, Bloq)) finish_progress(ctx);
      },
      [&](const core::Error& e) { report(ctx, e); });
}

}  // namespace kestrel::exporting
