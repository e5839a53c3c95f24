#include "export/layers.h"

#include <string>
#include <vector>

#include "core/text.h"
#include "export/block_reference.h"
#include "export/cad_layers.h"
#include "export/layer_names.h"
#include "export/trapped.h"
#include "model/colours.h"
#include "model/loading.h"

namespace kestrel::exporting {

namespace {

using core::Obj;

void record(CreatedLayer& entry, const std::string& name, std::int32_t colour_index, core::VbBool on) {
  entry.Nombre = name;
  entry.Color = colour_index;
  entry.TipoLinea = "BYLAYER";
  entry.Encendida = on;
}

// With CapAc = 1 a layer that is off is recorded but not created.
bool filtered_out(std::int32_t CapAc, const model::t_Capa& layer) {
  return CapAc == 1 && layer.Encendida == core::kFalse;
}

void name_blank_layer_zero(model::t_Capa& layer) {
  if (core::trim(layer.Nombre).empty()) layer.Nombre = "0";
}

// The codes of the block-reference points that lie on layers that are on.
std::vector<std::string> collect_block_references(const model::DrawingModel& m) {
  std::vector<std::string> codes;
  for (std::int32_t i = 1; i <= m.NumPuntos; ++i) {
    if (m.Capas[m.PtoCapa[i]].Encendida != core::kTrue) continue;
    if (is_block_reference(m.PtoCodigo[i])) codes.push_back(m.PtoCodigo[i]);
  }
  return codes;
}

// Steps 4-5: the model's own layers, 1..NumCapas.
void create_model_layers(ExportContext& ctx, const Obj& layers) {
  model::DrawingModel& m = ctx.module.model;
  for (std::int32_t k = 1; k <= m.NumCapas; ++k) {
    model::t_Capa& layer = m.Capas[k];
    const std::int32_t colour = model::Color_ACI(layer.ColorCapa);
    if (!filtered_out(ctx.state.CapAc, layer)) {
      name_blank_layer_zero(layer);
      if (Obj existing = find_layer(layers, layer.Nombre)) existing.put("LayerOn", layer.Encendida != core::kFalse);
      else add_layer(layers, layer.Nombre, colour, layer.Encendida);
    }
    record(ctx.state.CapasCreadas[k], layer.Nombre, colour, layer.Encendida);
  }
}

bool already_created(const core::VbArray<CreatedLayer>& created, std::int32_t count, const std::string& name) {
  for (std::int32_t m = 1; m <= count; ++m) {
    if (created[m].Nombre == name) return true;
  }
  return false;
}

// Step 6d: the layers of the referenced drawing now in the model that are
// not recorded yet; `count` is the number of recorded layers.
void add_drawing_layers(ExportContext& ctx, const Obj& layers, std::int32_t& count) {
  model::DrawingModel& m = ctx.module.model;
  core::VbArray<CreatedLayer>& created = ctx.state.CapasCreadas;
  for (std::int32_t j = 1; j <= m.NumCapas; ++j) {
    model::t_Capa& layer = m.Capas[j];
    if (already_created(created, count, layer.Nombre)) continue;
    const std::int32_t colour = model::Color_ACI(layer.ColorCapa);
    if (!filtered_out(ctx.state.CapAc, layer)) {
      name_blank_layer_zero(layer);
      add_layer(layers, layer.Nombre, colour, layer.Encendida);
    }
    ++count;
    created.redim_preserve(count, 1);
    record(created[count], layer.Nombre, colour, layer.Encendida);
  }
}

// Step 6: the layers of the stored drawings that block references name.
// Each drawing is brought into the model to read its layers; a reference to
// the drawing loaded last (the current one at first) adds nothing.
void create_referenced_layers(ExportContext& ctx, const Obj& layers, const std::vector<std::string>& codes) {
  model::DrawingModel& m = ctx.module.model;
  std::int32_t count = m.NumCapas;
  for (std::size_t r = 1; r <= codes.size(); ++r) {
    const std::int32_t d = Busca_Dibujo(m, block_reference_name(codes[r - 1])).to_int32();
    if (r % 10 == 0) ctx.module.services.pump.do_events();
    if (d < 1 || d > m.NumDibujos || d == m.DibujoActual) continue;
    m.DibujoActual = d;
    model::saca(m, m.Dibujos[d], true);
    Limpia_Capas(m);
    add_drawing_layers(ctx, layers, count);
  }
}

void generate_layers(ExportContext& ctx, std::int32_t CapAc, std::string& tag) {
  model::DrawingModel& m = ctx.module.model;
  ctx.state.CapAc = CapAc;
  const std::int32_t current_drawing = m.DibujoActual;
  const std::int32_t layer_count = m.NumCapas;
  ctx.state.CapasCreadas.redim(1, m.NumCapas);
  const std::vector<std::string> codes = collect_block_references(m);
  Limpia_Capas(m);
  cad::CadSession& cad = ctx.module.cad;
  cad.Documento = Obj(cad.Aplicacion.get("ActiveDocument").to_object());
  const Obj layers = cad.Documento.object("Layers");
  create_model_layers(ctx, layers);
  tag = "9";
  create_referenced_layers(ctx, layers, codes);
  // The reload brings back the model's own names, uncleaned and unprefixed.
  tag = "10";
  m.NumCapas = layer_count;
  m.DibujoActual = current_drawing;
  // A drawing loaded with Mete_dibujo has no stored copy to reload; its
  // names were cleaned and already carry the prefix, as the created layers do.
  if (!m.Dibujos.contains(m.DibujoActual)) return;
  model::saca(m, m.Dibujos[m.DibujoActual], true);
  tag = "11";
  prefix_layer_names(m, ctx.state.PrefCap);
}

}  // namespace

void Autocad_Genera_Capas(ExportContext& ctx, std::int32_t& CapAc) {
  std::string tag = "1";
  run_trapped([&] { generate_layers(ctx, CapAc, tag); },
              [&](const core::Error& e) {
                const std::string prefix = "Autocad Genera Capas en " + tag + " - Error    nº ";
                log_error(ctx.module, core::compose_message({prefix, ":"}, e), e);
              });
}

void Autocad_Crea_Capa(ExportContext& ctx, std::int32_t& k) {
  static constexpr core::TrapMessage kMessage{"Autocad_Crea_Capa - Error    nº ", ":"};
  Module& module = ctx.module;
  core::trap(module.error_log, kMessage, [&] {
    model::t_Capa& layer = module.model.Capas[k];
    name_blank_layer_zero(layer);
    layer.Nombre = core::replace(layer.Nombre, " ", "_");
    add_layer(module.cad.Documento.object("Layers"), layer.Nombre, model::Color_ACI(layer.ColorCapa),
              layer.Encendida);
  });
}

}  // namespace kestrel::exporting
