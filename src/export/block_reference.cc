#include "export/block_reference.h"

#include "core/text.h"
#include "model/number_text.h"

namespace kestrel::exporting {

bool is_block_reference(std::string_view code) noexcept {
  return code.starts_with("**") || code.starts_with("##");
}

void Lee_Referencia_Bloque(std::string& code, std::string& name, double& rotation, double& scale) {
  const std::int32_t comma = core::instr(code, ",", 2);
  if (comma > 0) code = core::left(code, comma - 1);
  const std::int32_t slash = core::instr(code, "/", 2);
  if (slash == 0) {
    name = core::mid(code, 3);
    scale = 1;
    rotation = 0;
    return;
  }
  name = core::mid(code, 3, slash - 3);
  const std::int32_t second = core::instr(code, "/", slash + 1);
  if (second == 0) {
    scale = model::Valor_Numero(core::mid(code, slash + 1));
    rotation = 0;
  } else {
    scale = model::Valor_Numero(core::mid(code, slash + 1, second - slash - 1));
    rotation = model::Valor_Numero(core::mid(code, second + 1));
  }
}

std::string block_reference_name(std::string_view code) {
  std::string copy(code);
  std::string name;
  double rotation = 0;
  double scale = 0;
  Lee_Referencia_Bloque(copy, name, rotation, scale);
  return name;
}

core::Variant Busca_Dibujo(const model::DrawingModel& model, std::string_view name) {
  for (std::int32_t k = 1; k <= model.NumDibujos; ++k) {
    if (model.Dibujos[k].Texto2 == name) return core::Variant(k);
  }
  return core::Variant(std::int16_t{0});
}

}  // namespace kestrel::exporting
