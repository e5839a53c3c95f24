// Layer names of the drawing model as the CAD drawing gets them: cleaned of
// characters a CAD refuses, and with the user's prefix in front.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/drawing_model.h"
#include "module/module.h"

namespace kestrel::exporting {

// True for the characters layer and block names keep: digits, ASCII
// letters, "_", and the ANSI characters 164 ("¤") and 165 ("¥").
[[nodiscard]] bool kept_in_cad_name(char32_t c) noexcept;

// `Limpia_Nombre_Capa`: an empty name (blanks are not trimmed) becomes
// "Capa_" + n; otherwise every character other than a digit, an ASCII
// letter, "_", "¤" (ANSI 164) or "¥" (165) becomes "_". The length in
// characters is kept.
[[nodiscard]] std::string Limpia_Nombre_Capa(std::string_view name, std::int32_t n);

// `Limpia_Capas`: cleans the names of the model's layers 1..NumCapas, with
// n = NumCapas, so every empty name becomes the same "Capa_" + NumCapas.
// Error 9 when NumCapas runs past the layer array.
void Limpia_Capas(model::DrawingModel& model);

// Puts `PrefCap` in front of the name of every model layer 1..NumCapas.
// Applying it twice prefixes twice. Error 9 when NumCapas runs past the
// layer array.
void prefix_layer_names(model::DrawingModel& model, std::string_view PrefCap);

// "Autocad Genera Capas Prefijo": prefix_layer_names on the module's model
// under its own error trap ("Autocad Genera Capas Prefijo - Error    nº ").
void apply_prefix(Module& module, const std::string& PrefCap);

}  // namespace kestrel::exporting
