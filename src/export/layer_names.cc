#include "export/layer_names.h"

#include "core/cp1252.h"
#include "core/trap.h"
#include "core/utf8.h"

namespace kestrel::exporting {

bool kept_in_cad_name(char32_t c) noexcept {
  const auto code = core::cp1252_byte(c);
  if (!code) return false;
  const std::uint8_t b = *code;
  return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || b == '_' || (b >= 'a' && b <= 'z') || b == 164 ||
         b == 165;
}

std::string Limpia_Nombre_Capa(std::string_view name, std::int32_t n) {
  if (name.empty()) return "Capa_" + std::to_string(n);
  std::string cleaned;
  cleaned.reserve(name.size());
  for (std::size_t pos = 0; pos < name.size();) {
    const core::Utf8Char c = core::decode_char(name, pos);
    if (kept_in_cad_name(c.code)) cleaned.append(name.substr(pos, c.size));
    else cleaned.push_back('_');
    pos += c.size;
  }
  return cleaned;
}

void Limpia_Capas(model::DrawingModel& model) {
  for (std::int32_t k = 1; k <= model.NumCapas; ++k) {
    std::string& name = model.Capas[k].Nombre;
    name = Limpia_Nombre_Capa(name, model.NumCapas);
  }
}

void prefix_layer_names(model::DrawingModel& model, std::string_view PrefCap) {
  for (std::int32_t k = 1; k <= model.NumCapas; ++k) model.Capas[k].Nombre.insert(0, PrefCap);
}

void apply_prefix(Module& module, const std::string& PrefCap) {
  static constexpr core::TrapMessage kMessage{"Autocad Genera Capas Prefijo - Error    nº ", ":"};
  core::trap(module.error_log, kMessage, [&] { prefix_layer_names(module.model, PrefCap); });
}

}  // namespace kestrel::exporting
