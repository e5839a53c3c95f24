// Block-reference point codes: a point coded "**NAME/scale/rotation" or
// "##NAME/scale/rotation" stands for the stored drawing NAME inserted there
// as a block. Scale and rotation are optional; anything from the first ","
// on is a comment.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/variant.h"
#include "model/drawing_model.h"

namespace kestrel::exporting {

// True when `code` begins with "**" or "##" ("#MURO" is no reference).
[[nodiscard]] bool is_block_reference(std::string_view code) noexcept;

// `Lee_Referencia_Bloque`: cuts `code` before its first "," (searched from
// the second character) and splits it: `name` is the text from the third
// character up to the first "/" (searched from the second character), or
// the whole rest; `scale` the text after that "/" up to the next one (1 when
// there is no "/"); `rotation`, in grads, the text after the second "/" (0
// when there is none). Numbers are read with Valor_Numero, so an empty text
// between slashes reads as 0.
void Lee_Referencia_Bloque(std::string& code, std::string& name, double& rotation, double& scale);

// The name of the stored drawing a block-reference code names.
[[nodiscard]] std::string block_reference_name(std::string_view code);

// `Busca_Dibujo`: the index (a Long) of the first stored drawing
// Dibujos(1..NumDibujos) whose name (`Texto2`) equals `name` exactly, case
// included; the Integer 0 when none does. Error 9 when NumDibujos runs past
// the stored drawings.
[[nodiscard]] core::Variant Busca_Dibujo(const model::DrawingModel& model, std::string_view name);

}  // namespace kestrel::exporting
