#include "export/block_reference.h"

#include <cstdlib>
#include <limits>

#include "core/error.h"
#include "core/text.h"
#include "core/utf8.h"
#include "export/layer_names.h"
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

namespace {

constexpr std::int32_t kBlockNameLength = 27;

}  // namespace

void Limpia_Nombre_Bloque(std::string& name, std::int32_t& n) {
  std::string upper = core::left(core::ucase(name), kBlockNameLength);
  if (upper.empty()) {
    if (n == std::numeric_limits<std::int32_t>::min()) core::raise(core::kOverflow);
    name = "Bloque_" + std::to_string(std::abs(n));
    return;
  }
  std::string cleaned;
  cleaned.reserve(upper.size() + 1);
  for (std::size_t pos = 0; pos < upper.size();) {
    const core::Utf8Char c = core::decode_char(upper, pos);
    if (kept_in_cad_name(c.code)) cleaned.append(upper, pos, c.size);
    else cleaned.append(pos == 0 ? "B_" : "_");
    pos += c.size;
  }
  name = core::left(cleaned, kBlockNameLength);
}

double block_insertion_rotation(double grads) noexcept {
  double r = grads < 0 ? grads + 400 : grads;
  if (r == 0) return 0;
  return -(r * 90 / 100 * 3.141592 / 180);
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
