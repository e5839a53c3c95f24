#include "import/copy_all.h"

#include <algorithm>
#include <cstddef>
#include <string>

#include "import/builders.h"
#include "import/entities.h"
#include "import/layers.h"
#include "import/progress_form.h"
#include "import/trapped.h"
#include "model/colours.h"

namespace kestrel::importing {

using core::Obj;

namespace {

constexpr int kHourglass = 11;
constexpr int kDefaultPointer = 0;

void copy_layers(ImportContext& ctx, HostProgress& progress, const Obj& document, const std::string& name) {
  const Obj layers = document.object("Layers");
  const std::int32_t count = layers.get("Count").to_int32();
  progress.begin(count, "Copiando Capas " + ctx.state.NombreCad, name);
  for (std::int32_t i = 0; i < count; ++i) {
    progress.advance();
    const Obj layer = layers.call("Item", i).to_object();
    const std::string layer_name = layer.get("Name").to_string();
    const core::VbBool on = core::to_vb_bool(layer.get("LayerOn").to_bool());
    Anade_Capa(ctx.module.model, layer_name, on, model::Color_RGB(layer.get("Color")), 0);
  }
}

void copy_entities(ImportContext& ctx, HostProgress& progress, const Obj& model_space, const std::string& name) {
  const std::int32_t count = model_space.get("Count").to_int32();
  progress.begin(count, "Copiando Entidades " + ctx.state.NombreCad, name);
  const bool skip_off_layers = ctx.state.CopiarDesactivadas == "0";
  // Room for a text and a polyline per entity (no entity makes more than
  // one polyline) is taken once; pages never written cost nothing, and the
  // lists are not moved (twice their size) as they grow.
  const auto entities = static_cast<std::size_t>(std::max(count, 0));
  ctx.module.model.Rotulos.reserve(entities);
  ctx.module.model.Polis.reserve(entities);
  for (std::int32_t i = 0; i < count; ++i) {
    progress.advance();
    const core::Variant entity = model_space.call("Item", i);
    if (skip_off_layers) {
      const std::string layer = Obj(entity.to_object()).get("Layer").to_string();
      if (Capa_Encendida(ctx.module.model, layer) == core::kFalse) continue;
    }
    ENTIDADES(ctx, entity, false);
  }
}

void store_copied_drawing(ImportContext& ctx, const std::string& name) {
  model::t_Datos& set = ctx.state.Datos;
  // The list keeps its upper bound: a second copy leaves an element
  // beyond the count.
  set.NuDibujos = 1;
  model::t_Dibujo& drawing = set.Dibujos[1];
  drawing = Sacar(ctx.module);
  drawing.Texto1 = kDrawingKindPlan;
  drawing.Texto2 = name;
}

}  // namespace

void set_extents_from_limits(model::Opciones& options, const core::VbArray<double>& limits) {
  const std::int32_t lb = limits.lbound();
  const double x_min = limits[lb], y_min = limits[lb + 1], x_max = limits[lb + 2], y_max = limits[lb + 3];
  const double width = x_max - x_min;
  const double height = y_max - y_min;
  options.set(model::kXMax, x_max);
  options.set(model::kXMin, x_min);
  options.set(model::kYMax, y_max);
  options.set(model::kYMin, y_min);
  options.set(model::kWidthTimes11, width * 1.1);
  options.set(model::kHeightTimes11, height * 1.1);
  options.set(model::kZRange, options.get(model::kZMax) - options.get(model::kZMin));
  options.set(model::kOriginX, x_min - 0.1 * width / 2);
  options.set(model::kOriginY, y_min - 0.1 * height / 2);
  options.set(model::kScale, 1.0);
}

void set_presence_flags(model::DrawingModel& model, bool TodoC, bool with_triangles) {
  model::Opciones& options = model.Opciones;
  if (model.NumPuntos > 0) {
    options.set(model::kChkPtos, 1);
    options.set(model::dialog_flag(1), 0);
  }
  if (with_triangles && TodoC) options.set(model::kChkPtos, 0);
  if (model.NumPolis > 0) options.set(model::kChkPoli, 1);
  if (model.NumRotulos > 0) options.set(model::kChkText, 1);
  if (with_triangles && model.NumTriangulos > 0) {
    options.set(model::kTrianglesPresent, 1);
    options.set(model::kTrianglesPresent2, 1);
  }
}

model::t_Datos Copia__Todo(ImportContext& ctx, const Obj& Apli, bool TodoC, core::VbBool& Salir) {
  model::t_Datos result;
  run_trapped(ctx.module, "Copia__Todo - Error    nº ", [&] {
    Module& module = ctx.module;
    const Obj application = module.cad.Aplicacion;
    const Obj document = application.object("ActiveDocument");
    const Obj model_space = document.object("ModelSpace");
    if (model_space.get("Count").to_int32() == 0) {
      Salir = core::kTrue;
      result = ctx.state.Datos;
      return;
    }
    module.services.pointer.set(kHourglass);
    const std::string name = document.get("Name").to_string();
    model::t_Datos& set = ctx.state.Datos;
    set.NuDibujos = core::checked_add(set.NuDibujos, 1);
    set.Dibujos.redim_preserve(set.NuDibujos);
    set.Dibujos[set.NuDibujos].Texto1 = kDrawingKindPlan;
    set.Dibujos[set.NuDibujos].Texto2 = name;
    application.put("Visible", true);
    module.services.pointer.set(kDefaultPointer);
    set_extents_from_limits(module.model.Opciones, document.get("Limits").to_double_array());
    Borra_Modelo(module.model);
    HostProgress progress(module, Apli);
    copy_layers(ctx, progress, document, name);
    copy_entities(ctx, progress, model_space, name);
    progress.hide();
    set_presence_flags(module.model, TodoC, true);
    store_copied_drawing(ctx, name);
    result = set;
    progress.show_and_focus();
  });
  return result;
}

}  // namespace kestrel::importing
