#include <cmath>

#include "core/numeric.h"
#include "import/builders.h"
#include "import/trapped.h"
#include "model/loading.h"

namespace kestrel::importing {

std::string clean_text_codes(std::string text) {
  // A text that begins with a formatting code ("\lword") shows what follows
  // the first "l"; an overline-underline code "\o\l" hides what precedes it.
  if (!text.empty() && text.front() == '\\') {
    const std::size_t l = text.find('l');
    if (l != std::string::npos) text.erase(0, l + 1);
  }
  const std::size_t p = text.find("\\o\\l");
  if (p != std::string::npos) text.erase(0, p + 4);
  return text;
}

void Crea_Texto(Module& module, std::string_view text, const VbArray<double>& insertion, double rotation,
                std::int16_t layer, double height, std::int32_t /*colour*/, std::string_view style) {
  if (text.empty()) return;
  run_trapped(module, "Crea Texto de - Error    nº ", [&] {
    model::DrawingModel& model = module.model;
    const std::int32_t n = core::checked_add(model.NumRotulos, 1);
    model.NumRotulos = n;
    model.Rotulos.redim_preserve(n);
    model::t_Rotulo& record = model.Rotulos[n];
    record.Xr = insertion[0];
    record.Yr = insertion[1];
    record.CapaR = layer;
    record.Giro = 400 - rotation * 200 / kImportPi;
    record.Texto = clean_text_codes(std::string(text));
    record.Altura = height;
    record.Estilo = std::string(style);
  });
}

void Cota_Textos(model::DrawingModel& model) {
  for (std::int32_t i = 1; i <= model.NumPuntos; ++i) {
    const double px = model.PtoX[i];
    const double py = model.PtoY[i];
    for (std::int32_t j = 1; j <= model.NumRotulos; ++j) {
      const model::t_Rotulo& text = model.Rotulos[j];
      const std::size_t comma = text.Texto.find(',');
      if (comma == std::string::npos) continue;
      const double d = std::sqrt((text.Xr - px) * (text.Xr - px) + (text.Yr - py) * (text.Yr - py));
      if (d > 1.0 && d < 1.08) {
        std::string number = text.Texto;
        number[comma] = '.';
        model.PtoZ[i] = core::val(number);
        break;
      }
    }
  }
}

void Borra_Modelo(model::DrawingModel& model) {
  model.NumPuntos = 0;
  model.NumPolis = 0;
  model.NumCapas = 0;
  model.CapaActual = 0;
  model.NumRotulos = 0;
  model.NumTriangulos = 0;
  model.PtoX.erase();
  model.PtoY.erase();
  model.PtoZ.erase();
  model.PtoNombre.erase();
  model.PtoCodigo.erase();
  model.PtoInfo.erase();
  model.PtoCapa.erase();
  model.Polis.erase();
  model.Capas.erase();
  model.Rotulos.erase();
  model.TriV1.erase();
  model.TriV2.erase();
  model.TriV3.erase();
}

model::t_Dibujo Sacar(Module& module) {
  model::t_Dibujo drawing;
  run_trapped(module, "Sacar  - Error  nº ", [&] { model::pack_drawing_groups(module.model, drawing); });
  return drawing;
}

}  // namespace kestrel::importing
