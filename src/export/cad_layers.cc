#include "export/cad_layers.h"

namespace kestrel::exporting {

core::Obj find_layer(const core::Obj& layers, const std::string& name) {
  const std::int32_t count = layers.get("Count").to_int32();
  for (std::int32_t i = 0; i < count; ++i) {
    core::Obj layer(layers.call("Item", i).to_object());
    if (layer.get("Name").to_string() == name) return layer;
  }
  return {};
}

void add_layer(const core::Obj& layers, const std::string& name, std::int32_t colour_index, core::VbBool on) {
  const core::Obj layer(layers.call("Add", name).to_object());
  layer.put("Color", colour_index);
  layer.put("Linetype", "BYLAYER");
  layer.put("LayerOn", on != core::kFalse);
}

}  // namespace kestrel::exporting
