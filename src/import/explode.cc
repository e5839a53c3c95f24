#include "import/explode.h"

#include <string>

#include "import/builders.h"
#include "import/copy_all.h"
#include "import/f_acad_es.h"
#include "import/trapped.h"

namespace kestrel::importing {

using core::Obj;

namespace {

void only_points_layer_on(const Obj& document) {
  const Obj layers = document.object("Layers");
  const std::int32_t count = layers.get("Count").to_int32();
  for (std::int32_t i = 0; i < count; ++i) {
    const Obj layer = layers.call("Item", i).to_object();
    layer.put("LayerOn", layer.get("Name").to_string() == kPointsLayer);
  }
}

void walk_points_layer(Module& module, f_Acad_es& dialog, const Obj& model_space) {
  const std::int32_t count = model_space.get("Count").to_int32();
  std::int32_t k = 0;
  for (std::int32_t i = 0; i < count; ++i) {
    const Obj entity = model_space.call("Item", i).to_object();
    if (entity.get("Layer").to_string() == kPointsLayer) {
      ++k;
      dialog.lbEntidad = std::to_string(k) + " ->" + entity.get("EntityName").to_string();
    }
    module.services.pump.do_events();
  }
}

}  // namespace

model::t_Dibujo Dexompon_Zombie(ImportContext& ctx) {
  model::t_Dibujo result;
  Module& module = ctx.module;
  f_Acad_es dialog(ctx.state.ResultadoEs);
  run_trapped(module, "Obtener Todo de Autocad - Error    nº ", [&] {
    const Obj application = module.cad.Aplicacion;
    const Obj document = application.object("ActiveDocument");
    const Obj model_space = document.object("ModelSpace");
    (void)document.object("PaperSpace");
    application.put("Visible", true);
    dialog.Caption = " Extraer de " + application.get("Caption").to_string();
    dialog.labMandando = "Analizando " + document.get("Name").to_string() + " ...";
    dialog.show_modeless();
    only_points_layer_on(document);
    application.call("Update");
    dialog.proBarra.Max = core::checked_mul(model_space.get("Count").to_int32(), 3);
    dialog.proBarra.Value = 0;
    for (int pass = 0; pass < 2; ++pass) document.call("SendCommand", std::string(kExplodeCommand));
    walk_points_layer(module, dialog, model_space);
    Cota_Textos(module.model);
    set_presence_flags(module.model, false, false);
    result = Sacar(module);
  });
  dialog.unload();
  return result;
}

}  // namespace kestrel::importing
