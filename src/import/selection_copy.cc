#include "import/selection_copy.h"

#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <random>

#include "import/builders.h"
#include "import/copy_all.h"
#include "import/entities.h"
#include "import/layers.h"
#include "import/progress_form.h"
#include "import/reports.h"
#include "import/trapped.h"

namespace kestrel::importing {

using core::Obj;
using core::Variant;

std::string selection_set_name() {
  std::mt19937 generator(static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
  const double r = std::round(std::uniform_real_distribution<double>(0.0, 1.0)(generator) * 10000.0) / 10000.0;
  std::array<char, 32> text{};
  const auto end = std::to_chars(text.data(), text.data() + text.size(), r).ptr;
  return "SS" + std::string(text.data(), end);
}

void ListSelectionSets(Module& module, Obj& SSet, std::int32_t& Num) {
  const std::string name = selection_set_name();
  (void)core::skip_each(
      [&] { module.services.pointer.set(platform::kPointerHourglass); },
      [&] {
        const Obj document = module.cad.Aplicacion.object("ActiveDocument");
        SSet = Obj(Obj(document.object("SelectionSets")).call("Add", name).to_object());
      },
      [&] { module.services.pointer.set(platform::kPointerDefault); }, [&] { (void)SSet.call("SelectOnScreen"); },
      [&] { Num = SSet.get("Count").to_int32(); });
}

namespace {

bool user_goes_on(ImportContext& ctx, const std::string& document) {
  const std::string text = "Ahora debes seleccionar en " + ctx.state.NombreCad +
                           " las Entidades que deseas...\r\n\r\n¿Quieres continuar?";
  const int answer = ctx.module.services.message_box.show(text, platform::kYesNoCancel | platform::kQuestion,
                                                          "Copiar selección de <" + document + ">");
  return answer == platform::kYes;
}

void report_empty_selection(Module& module, const std::string& document) {
  const std::string& family = module.cad.FamiliaCad;
  module.services.message_box.show("El dibujo <" + document + "> de " + family + " está vacio",
                                   platform::kInformation, "Copiar Selección de" + family);
}

void reset_drawing_set(ImportContext& ctx, const std::string& document) {
  model::t_Datos& set = ctx.state.Datos;
  set.NuDibujos = 1;
  set.Dibujos.redim(0, 1);
  set.Dibujos[1].Texto1 = kDrawingKindPlan;
  set.Dibujos[1].Texto2 = document;
}

void copy_selected(ImportContext& ctx, const Obj& Apli, const Obj& selection, std::int32_t Num,
                   const std::string& document) {
  Module& module = ctx.module;
  HostProgress progress(module, Apli);
  progress.begin(Num, "Copiando Selección " + ctx.state.NombreCad, document);
  progress.show_and_focus();
  module.model.NumBloques = 0;
  module.model.BloquesNombre.redim(0, 0);
  for (std::int32_t i = 0; i < Num; ++i) {
    progress.advance();
    const Variant entity = selection.call("Item", i);
    Busca_Capa_Doc(module, Obj(entity.to_object()).get("Layer").to_string());
    ENTIDADES(ctx, entity, true);
  }
  progress.hide();
}

model::t_Datos copy_selection(ImportContext& ctx, const Obj& Apli, core::VbBool& Salir, Obj& selection) {
  Module& module = ctx.module;
  const Obj document = module.cad.Aplicacion.object("ActiveDocument");
  if (ctx.state.NombreCad.empty()) ctx.state.NombreCad = "AutoCad";
  module.services.pointer.set(platform::kPointerDefault);
  const std::string name = document.get("Name").to_string();
  if (!user_goes_on(ctx, name)) {
    Salir = core::kTrue;
    return {};
  }
  module.services.pointer.set(platform::kPointerArrowHourglass);
  std::int32_t Num = 0;
  ListSelectionSets(module, selection, Num);
  if (Num < 1) {
    report_empty_selection(module, name);
    Salir = core::kTrue;
    return {};
  }
  module.services.pointer.set(platform::kPointerDefault);
  core::VbBool no_blocks = core::kFalse;
  if (Propiedades_Cad(ctx, Apli, Num, 0, 0, no_blocks)) {
    Salir = core::kTrue;
    return {};
  }
  module.services.pointer.set(platform::kPointerHourglass);
  reset_drawing_set(ctx, name);
  module.cad.Aplicacion.put("Visible", true);
  set_extents_from_limits(module.model.Opciones, document.get("Limits").to_double_array());
  Borra_Modelo(module.model);
  copy_selected(ctx, Apli, selection, Num, name);
  set_presence_flags(module.model, false, true);
  ctx.state.Datos.Dibujos[1] = Sacar(module);
  ctx.state.Datos.Dibujos[1].Texto1 = kDrawingKindPlan;
  ctx.state.Datos.Dibujos[1].Texto2 = name;
  Apli.call("SetFocus");
  return ctx.state.Datos;
}

}  // namespace

model::t_Datos Copia__Seleccion(ImportContext& ctx, const Obj& Apli, core::VbBool& Salir) {
  model::t_Datos result;
  Obj selection;
  run_trapped(ctx.module, "Obtener Seleccion " + ctx.state.NombreCad + " - Error    nº ",
              [&] { result = copy_selection(ctx, Apli, Salir, selection); });
  // Sets left behind would pile up in the drawing, one per copy.
  if (selection) (void)core::attempt([&] { (void)selection.call("Delete"); });
  return result;
}

namespace {

std::int32_t document_layer_colour(const Obj& document, const std::string& layer_name) {
  const Obj layers = document.object("Layers");
  const std::int32_t count = layers.get("Count").to_int32();
  for (std::int32_t i = 0; i < count; ++i) {
    const Obj layer = layers.call("Item", i).to_object();
    if (layer.get("Name").to_string() == layer_name) return layer.get("Color").to_int32();
  }
  return 0;
}

void refuse_picked(Module& module, const Obj& Apli, const std::string& entity_name) {
  Apli.call("Show");
  Apli.call("SetFocus");
  module.services.message_box.show("El objeto seleccionado " + entity_name + " no es una línea o polilínea ",
                                   platform::kCritical, "Obtener Poly o Polilíneas de AutoCAD:");
}

bool is_pickable(const std::string& kind) {
  return kind == "AcDbLine" || kind == "AcDbPoint" || kind == "AcDbPolyline" || kind == "AcDb2dPolyline" ||
         kind == "AcDb3dPolyline";
}

void add_picked(Module& module, const Obj& entity, std::int16_t layer, const std::string& kind) {
  auto coordinates = [&](std::string_view member) { return entity.get(member).to_double_array(); };
  if (kind == "AcDbLine") {
    const std::int32_t a = Punto_crea(module, coordinates("StartPoint"), layer);
    const std::int32_t b = Punto_crea(module, coordinates("EndPoint"), layer);
    crea_Pol(module, a, b, layer, entity.get("Color").to_int32());
  } else if (kind == "AcDbPoint") {
    (void)Punto_crea(module, coordinates("Coordinates"), layer);
  } else if (kind == "AcDbPolyline") {
    Crea_poli_2D(module, coordinates("Coordinates"), entity.get("Elevation").to_double(), layer,
                 entity.get("Closed").to_bool());
  } else if (kind == "AcDb2dPolyline") {
    Crea_poli_3D(module, coordinates("Coordinates"), entity.get("Elevation").to_double(), layer,
                 entity.get("Closed").to_bool());
  } else {
    Crea_poli_3D(module, coordinates("Coordinates"), 0, layer, entity.get("Closed").to_bool());
  }
}

model::t_Dibujo copy_picked(ImportContext& ctx, const Obj& Apli) {
  Module& module = ctx.module;
  module.cad.Aplicacion.put("Visible", true);
  const Obj document = module.cad.Aplicacion.object("ActiveDocument");
  std::array<Variant, 3> args{Variant(), Variant(), Variant("Merivox: Seleciona una linea o polilínea...")};
  if (core::attempt([&] { (void)Obj(document.object("Utility")).call_with("GetEntity", args); })) {
    Apli.call("Show");
    Apli.call("SetFocus");
    module.error_log.log("Obtener Entidades de " + module.cad.FamiliaCad + ":", "Error inesperado:");
    return Sacar(module);
  }
  const Obj entity(args[0].to_object());
  const std::string kind = entity.get("EntityName").to_string();
  // A refused kind leaves the model as it was, its layer included.
  if (!is_pickable(kind)) {
    refuse_picked(module, Apli, kind);
    return Sacar(module);
  }
  const std::string layer_name = entity.get("Layer").to_string();
  const std::int16_t layer = Busca_Capa(module.model, layer_name, document_layer_colour(document, layer_name));
  add_picked(module, entity, layer, kind);
  if (module.model.NumPolis > 0) module.model.Opciones.set(model::kChkPoli, 1);
  Apli.call("Show");
  Apli.call("SetFocus");
  return Sacar(module);
}

}  // namespace

model::t_Dibujo Copia_Pol(ImportContext& ctx, const Obj& Apli) {
  model::t_Dibujo result;
  run_trapped(ctx.module, "Copia Pol - Error    nº ", [&] { result = copy_picked(ctx, Apli); });
  return result;
}

model::t_Datos Copia_Todo3(ImportContext& ctx, const Obj& Apli, std::string_view TodoC, core::VbBool& Salir) {
  if (TodoC == "Todo" || TodoC == "Dibujo") return Copia__Todo(ctx, Apli, false, Salir);
  if (TodoC == "Seleccion") return Copia__Seleccion(ctx, Apli, Salir);
  return {};
}

}  // namespace kestrel::importing
