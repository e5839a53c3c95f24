#include "import/layers.h"

#include "core/object.h"
#include "model/colours.h"

namespace kestrel::importing {

void Anade_Capa(model::DrawingModel& model, std::string_view name, core::VbBool on, std::int32_t packed_colour,
                std::int16_t state) {
  const std::int32_t n = core::checked_add(model.NumCapas, 1);
  model.Capas.redim_preserve(n);
  model.NumCapas = n;
  model::t_Capa& layer = model.Capas[n];
  layer.Nombre = std::string(name);
  layer.Encendida = on;
  layer.ColorCapa = packed_colour;
  layer.Estado = state;
}

std::int32_t find_layer(const model::DrawingModel& model, std::string_view name) noexcept {
  for (std::int32_t i = 1; i <= model.NumCapas; ++i) {
    if (model.Capas.contains(i) && model.Capas[i].Nombre == name) return i;
  }
  return 0;
}

namespace {

std::int16_t index16(std::int32_t index) { return core::cint(static_cast<double>(index)); }

}  // namespace

std::int16_t Busca_Capa(model::DrawingModel& model, std::string_view name, std::int32_t colour) {
  if (const std::int32_t found = find_layer(model, name)) return index16(found);
  if (name.empty()) return 1;
  Anade_Capa(model, name, core::kTrue, model::Color_RGB(colour), 0);
  return index16(model.NumCapas);
}

std::int16_t Busca_Capa_Cad(model::DrawingModel& model, std::string_view name, std::int32_t& colour) {
  if (const std::int32_t found = find_layer(model, name)) return index16(found);
  if (name.empty()) return 1;
  for (std::int32_t i = 1; i <= model.NumCapasCad; ++i) {
    if (model.CapasCadNombre.contains(i) && model.CapasCadNombre[i] == name) {
      colour = model.CapasCadColor[i];
      break;
    }
  }
  Anade_Capa(model, name, core::kTrue, model::Color_RGB(colour), 0);
  return index16(model.NumCapas);
}

void Busca_Capa_Doc(Module& module, std::string_view name) {
  if (find_layer(module.model, name) != 0) return;
  const core::Obj layers = module.cad.Documento.object("Layers");
  const std::int32_t count = layers.get("Count").to_int32();
  core::Variant colour = std::int32_t{0};
  for (std::int32_t i = 0; i < count; ++i) {
    const core::Obj layer = layers.call("Item", i).to_object();
    if (layer.get("Name").to_string() == name) {
      colour = layer.get("Color");
      break;
    }
  }
  Anade_Capa(module.model, name, core::kTrue, model::Color_RGB(colour), 0);
}

core::VbBool Capa_Encendida(const model::DrawingModel& model, std::string_view name) noexcept {
  const std::int32_t found = find_layer(model, name);
  return found == 0 ? core::kFalse : model.Capas[found].Encendida;
}

}  // namespace kestrel::importing
