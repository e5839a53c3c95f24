#include "export/point_labels.h"

#include <array>
#include <string>

#include "core/text.h"
#include "export/cad_layers.h"
#include "export/layer_name_cache.h"
#include "export/point_arguments.h"
#include "export/point_label_layout.h"
#include "export/point_label_options.h"
#include "export/progress.h"
#include "export/trapped.h"
#include "model/number_text.h"

namespace kestrel::exporting {

namespace {

using core::Obj;

constexpr std::int16_t kColourByLayer = 256;

// The two variants differ in caption, placement, label order and messages.
enum class Placement : std::uint8_t { kFixed, kPreferred };

constexpr std::array<LabelKind, 4> kFixedOrder{LabelKind::kName, LabelKind::kNumber, LabelKind::kElevation,
                                               LabelKind::kCode};
constexpr std::array<LabelKind, 4> kPreferredOrder{LabelKind::kName, LabelKind::kNumber, LabelKind::kCode,
                                                   LabelKind::kElevation};

// The own layers of the selected kinds, number first.
void create_own_layers(ExportContext& ctx, const LabelOptions& options) {
  const Obj layers = ctx.module.cad.Documento.object("Layers");
  for (LabelKind kind : {LabelKind::kNumber, LabelKind::kName, LabelKind::kCode, LabelKind::kElevation}) {
    if (!options.selected(kind)) continue;
    const LabelKindStyle style = style_of(kind);
    add_layer(layers, ctx.state.PrefCap + std::string(style.own_layer), style.colour, core::kTrue);
  }
}

// Adds the texts of one run and gives them layer, colour and rotation.
class LabelWriter {
 public:
  LabelWriter(ExportContext& ctx, const LabelOptions& options, double h)
      : options_(options), space_(ctx.module.cad.Documento.object("ModelSpace")),
        layer_names_(ctx.state.CapasCreadas), args_(1) {
    args_[0] = core::Variant(std::string());
    args_[2] = core::Variant(h);
    for (LabelKind kind : kPreferredOrder) {
      own_layers_[index(kind)] = core::Variant(ctx.state.PrefCap + std::string(style_of(kind).own_layer));
    }
  }

  void add(LabelKind kind, const std::string& text, const LabelPoint& at, std::int32_t point_layer) {
    if (args_[0].get_if<std::string>() == nullptr) args_[0] = core::Variant(std::string());
    args_[0].as<std::string>() = text;
    const Obj entity(space_.call_with("AddText", args_.with_point(at.x, at.y, at.z)).to_object());
    if (options_.own_layers) {
      entity.put("Layer", own_layers_[index(kind)]);
      entity.put("Color", kColourByLayer);
    } else {
      entity.put("Layer", layer_names_.name(point_layer));
      entity.put("Color", style_of(kind).colour);
    }
    if (options_.vertical) entity.put("Rotation", kVerticalRotation);
  }

 private:
  static std::size_t index(LabelKind kind) noexcept { return static_cast<std::size_t>(kind); }

  const LabelOptions& options_;
  Obj space_;
  LayerNameCache layer_names_;
  PointArguments<3> args_;
  std::array<core::Variant, 4> own_layers_;
};

// " " + the point's number, X and Y as selected, joined by ", ".
void number_label(std::string& out, const model::DrawingModel& m, const LabelOptions& o, std::int32_t i) {
  out.assign(" ");
  auto part = [&out, first = true](const std::string& text) mutable {
    if (!first) out.append(", ");
    out.append(text);
    first = false;
  };
  if (o.number) part(std::to_string(i));
  if (o.x) part(model::Formato_Numero(m.PtoX[i], o.decimals_x, 0));
  if (o.y) part(model::Formato_Numero(m.PtoY[i], o.decimals_y, 0));
}

// One run over the points.
class LabelRun {
 public:
  LabelRun(ExportContext& ctx, Placement placement, double h)
      : ctx_(ctx), m_(ctx.module.model), placement_(placement), h_(h), options_(read_label_options(ctx.dialog)) {
    if (placement_ == Placement::kPreferred) positions_ = read_label_positions(ctx.module.services.settings);
  }

  void run() {
    if (options_.own_layers) create_own_layers(ctx_, options_);
    ctx_.module.services.pointer.set(platform::kPointerHourglass);
    const char* what = placement_ == Placement::kFixed ? " textos de puntos :" : " atributos de puntos :";
    ItemProgress progress(ctx_, m_.NumPuntos, "Generando " + std::to_string(m_.NumPuntos) + what);
    LabelWriter writer(ctx_, options_, h_);
    for (std::int32_t i = 1; i <= m_.NumPuntos; ++i) {
      if (progress.due(i) && progress.update(i)) return;
      if (labelled(i)) label_point(writer, i);
    }
    finish_progress(ctx_);
  }

 private:
  bool labelled(std::int32_t i) const {
    if (m_.PtoCodigo[i] == "/") return false;
    return !(ctx_.state.CapAc == 1 && m_.Capas[m_.PtoCapa[i]].Encendida == core::kFalse);
  }

  void label_point(LabelWriter& writer, std::int32_t i) {
    const LabelPoint p{m_.PtoX[i], m_.PtoY[i], ctx_.state.Solo2D == core::kTrue ? 0.0 : m_.PtoZ[i] * m_.DeformaZ};
    RunningWidths widths;
    const auto& order = placement_ == Placement::kFixed ? kFixedOrder : kPreferredOrder;
    for (LabelKind kind : order) {
      if (!options_.selected(kind)) continue;
      std::int32_t length = 0;
      if (!label_text(kind, i, length)) continue;
      const bool fixed = placement_ == Placement::kFixed || options_.vertical;
      const LabelPoint at = fixed ? fixed_position(kind, options_.vertical, p, h_, length)
                                  : widths.place(kind, positions_.of(kind), p, h_, length);
      writer.add(kind, text_, at, m_.PtoCapa[i]);
    }
  }

  // The label's text in text_ and the length that places it; false when the
  // point has no such label (an empty name).
  bool label_text(LabelKind kind, std::int32_t i, std::int32_t& length) {
    switch (kind) {
      case LabelKind::kName:
        if (m_.PtoNombre[i].empty()) return false;
        text_.assign(" ").append(m_.PtoNombre[i]);
        length = core::len(m_.PtoNombre[i]);
        return true;
      case LabelKind::kNumber: number_label(text_, m_, options_, i); return true;
      case LabelKind::kCode:
        text_.assign(" ").append(m_.PtoCodigo[i]);
        length = core::len(m_.PtoCodigo[i]);
        return true;
      case LabelKind::kElevation:
        text_.assign(" ").append(model::Formato_Numero(m_.PtoZ[i], options_.decimals_z, 0));
        return true;
    }
    return false;
  }

  ExportContext& ctx_;
  const model::DrawingModel& m_;
  Placement placement_;
  double h_;
  LabelOptions options_;
  LabelPositions positions_;
  std::string text_;
};

void report(ExportContext& ctx, Placement placement, const core::Error& e) {
  std::string message;
  if (!wrong_bitness_error(e.number())) {
    message = "Textos - Error   nº  " + core::number_text(e.number()) + " " + e.description();
  } else if (placement == Placement::kFixed) {
    message = " Textos - Error   nº " + core::number_text(e.number()) + ": " + kWrongBitnessAdvice;
  } else {
    message = " Textos - Error " + core::number_text(e.number()) + kWrongBitnessAdvice;
  }
  log_error(ctx.module, message, e);
  finish_progress(ctx);
}

void generate(ExportContext& ctx, Placement placement, double h) {
  run_trapped([&] { LabelRun(ctx, placement, h).run(); }, [&](const core::Error& e) { report(ctx, placement, e); });
}

}  // namespace

void Autocad_Genera_Textos0(ExportContext& ctx, double& AlturaR) { generate(ctx, Placement::kFixed, AlturaR); }

void Autocad_Genera_Textos(ExportContext& ctx, double& AlturaR) { generate(ctx, Placement::kPreferred, AlturaR); }

}  // namespace kestrel::exporting
