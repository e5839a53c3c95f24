#include "export/hatch.h"

#include "core/trap.h"
#include "export/trapped.h"
#include "model/colours.h"

namespace kestrel::exporting {

namespace {

using core::Obj;
using core::Variant;

constexpr double kPi = 3.141592;
constexpr double kPatternScale = 0.1;
constexpr std::int16_t kPredefinedPattern = 0;

double grads_to_radians(double grads) { return grads * 90 / 100 * kPi / 180; }

// The step a failure is reported with, by colour branch.
const char* step_of(std::int32_t Color1) {
  if (Color1 >= 1) return "8";
  if (Color1 == -1) return "9";
  return "10";
}

void colour_and_layer(ExportContext& ctx, const Obj& hatch, const std::string& Cp, std::int32_t Color1,
                      core::VbBool Solido) {
  if (Color1 >= 1 || Color1 == -1) {
    if (Color1 >= 1) {
      hatch.put("Color", model::Color_ACI(Color1));
    } else {
      hatch.put("TrueColor", Variant(ctx.state.ColorObject.ref()));
    }
    if (Solido != core::kFalse) hatch.put("Layer", ctx.state.PrefCap + "Sombreado");
    return;
  }
  if (!Cp.empty()) hatch.put("Layer", Cp);
}

void create_hatch(ExportContext& ctx, const Obj& Poly, const HatchPattern& pattern, const std::string& Cp,
                  core::VbBool Bloq, std::int32_t Color1, core::VbBool Solido) {
  const Obj space = Bloq != core::kFalse ? ctx.state.BloqueActual : ctx.module.cad.Documento.object("ModelSpace");
  const Obj hatch(space.call("AddHatch", kPredefinedPattern, std::string(pattern.name), true).to_object());
  hatch.call("AppendOuterLoop", core::VbArray<core::ObjectRef>(0, {Poly.ref()}));
  hatch.put("PatternScale", kPatternScale);
  hatch.put("PatternAngle", grads_to_radians(pattern.angle_grads));
  colour_and_layer(ctx, hatch, Cp, Color1, Solido);
}

}  // namespace

std::optional<HatchPattern> hatch_pattern(std::int16_t t) noexcept {
  if (t < -70 || t > -50) return std::nullopt;
  switch (t) {
    case -61:
    case -60: return HatchPattern{"SOLID", 0};
    case -55: return HatchPattern{"ANSI37", 0};
    case -54: return HatchPattern{"ANSI37", 50};
    case -53: return HatchPattern{"ANSI31", 50};
    case -52: return HatchPattern{"ANSI31", 100};
    case -51: return HatchPattern{"ANSI31", 150};
    case -50: return HatchPattern{"ANSI31", 0};
    default: return HatchPattern{"", 0};
  }
}

void Ch4_CreateHatch(ExportContext& ctx, const core::Obj& Poly, std::int16_t t, const std::string& Cp,
                     core::VbBool Bloq, std::int32_t Color1, core::VbBool Solido) {
  const std::optional<HatchPattern> pattern = hatch_pattern(t);
  if (!pattern) return;
  run_trapped([&] { create_hatch(ctx, Poly, *pattern, Cp, Bloq, Color1, Solido); },
              [&](const core::Error& e) {
                const std::string message = std::string("Ch4_CreateHatch: ") + step_of(Color1) + "  Error nº " +
                                            core::number_text(e.number()) + ": " + e.description();
                log_error(ctx.module, message, e);
              });
}

}  // namespace kestrel::exporting
