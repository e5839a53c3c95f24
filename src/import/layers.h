// Layer resolution on import: the index in the drawing model's layer list
// `Capas` of an entity's layer, appending a layer the first time a name is
// met. Names are compared exactly (case counts).
#pragma once

#include <cstdint>
#include <string_view>

#include "core/numeric.h"
#include "model/drawing_model.h"
#include "module/module.h"

namespace kestrel::importing {

// `Anade_Capa`: appends a layer record (NumCapas grows by one, list from 0).
void Anade_Capa(model::DrawingModel& model, std::string_view name, core::VbBool on, std::int32_t packed_colour,
                std::int16_t state);

// The 1-based index of the layer named `name`, or 0 when there is none.
[[nodiscard]] std::int32_t find_layer(const model::DrawingModel& model, std::string_view name) noexcept;

// `Busca_Capa`: the index of the layer `name`; 1 for an empty name that no
// layer has; otherwise a new layer (on, coloured Color_RGB(colour)) and its
// index. Error 6 past the 16-bit range.
[[nodiscard]] std::int16_t Busca_Capa(model::DrawingModel& model, std::string_view name, std::int32_t colour);

// `Busca_Capa_Cad`: as Busca_Capa, but a new layer named among the captured
// CAD layers takes that CAD layer's colour (written back to `colour`).
[[nodiscard]] std::int16_t Busca_Capa_Cad(model::DrawingModel& model, std::string_view name, std::int32_t& colour);

// `Busca_Capa_Doc`: makes sure a layer `name` is in the list; a new one
// takes the Color_RGB of the colour of the document layer of that name
// (0 when the bound document has none).
void Busca_Capa_Doc(Module& module, std::string_view name);

// `Capa_Encendida`: the on flag (-1 / 0) of the layer `name`; 0 when none.
[[nodiscard]] core::VbBool Capa_Encendida(const model::DrawingModel& model, std::string_view name) noexcept;

}  // namespace kestrel::importing
