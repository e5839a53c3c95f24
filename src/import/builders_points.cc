#include <cmath>

#include "core/numeric.h"
#include "import/builders.h"
#include "import/trapped.h"
#include "model/number_text.h"

namespace kestrel::importing {

std::int32_t Anade_Punto(model::DrawingModel& model, double x, double y, double z, std::int16_t& layer,
                         std::string_view code) {
  const std::int32_t n = core::checked_add(model.NumPuntos, 1);
  model.NumPuntos = n;
  if (layer == 0 || layer > model.NumCapas) layer = 1;
  set_counted_item(model.PtoX, n, x);
  set_counted_item(model.PtoY, n, y);
  set_counted_item(model.PtoZ, n, z);
  set_counted_item(model.PtoCapa, n, layer);
  // Names, codes and information read as empty until written, and cost nothing.
  model.PtoNombre.redim_preserve(n);
  model.PtoCodigo.redim_preserve(n);
  model.PtoInfo.redim_preserve(n);
  if (!code.empty()) model.PtoCodigo[n] = std::string(code);
  return n;
}

std::int32_t Punto_Mira(Module& module, double x, double y, double z, std::int16_t layer) {
  std::int32_t index = 0;
  run_trapped(module, " Punto Mira  - Error  nº ", [&] { index = Anade_Punto(module.model, x, y, z, layer, ""); });
  return index;
}

std::int32_t Punto_crea(Module& module, const VbArray<double>& c, std::int16_t layer) {
  std::int32_t index = 0;
  run_trapped(module, " Punto_crea  - Error  nº ", [&] { index = Punto_Mira(module, c[0], c[1], c[2], layer); });
  return index;
}

std::array<std::int32_t, 4> Punto_crea3D(Module& module, const VbArray<double>& c, std::int16_t layer) {
  std::array<std::int32_t, 4> p{};
  run_trapped(module, " Punto_crea3D  - Error  nº ", [&] {
    for (std::int32_t k = 0; k < 3; ++k) p[k] = Punto_Mira(module, c[3 * k], c[3 * k + 1], c[3 * k + 2], layer);
    const double x = c[9], y = c[10], z = c[11];
    // A triangle drawn as a face repeats its third corner.
    if (x == c[6] && y == c[7] && z == c[8]) {
      p[3] = 0;
    } else {
      p[3] = Punto_Mira(module, x, y, z, layer);
    }
  });
  return p;
}

std::string block_insertion_code(std::string_view name, float rotation, double x_scale) {
  std::string code = "**";
  code.append(name);
  const bool scaled = std::fabs(x_scale) != 1;
  if (scaled) code.append("/").append(core::format_general(x_scale));
  if (rotation != 0) {
    const double grads = 400 - static_cast<double>(rotation) * 200 / kImportPi;
    code.append(scaled ? "/" : "/1/").append(model::Formato_Numero(core::Variant(grads), 4, 0));
  }
  return code;
}

void Crea_IsertBlock(Module& module, const VbArray<double>& insertion, std::string_view name, float rotation,
                     std::int16_t layer, double x_scale) {
  run_trapped(module, "Crea_IsertBlock - Error  nº ", [&] {
    const std::string code = block_insertion_code(name, rotation, x_scale);
    Anade_Punto(module.model, insertion[0], insertion[1], insertion[2], layer, code);
  });
}

}  // namespace kestrel::importing
