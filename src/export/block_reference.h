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

// `Limpia_Nombre_Bloque`: the block name the CAD gets for `name`, written
// back into it. Upper case; an empty name becomes "Bloque_" + |n|. Cut to 27
// characters; every character whose ANSI code is not 48-57, 65-90, 95,
// 97-122, 164 or 165 becomes "_", an invalid first character "B_"; cut to
// 27 characters again. Error 6 for n = -2^31, whose magnitude has no Long.
void Limpia_Nombre_Bloque(std::string& name, std::int32_t& n);

// The rotation in radians that InsertBlock gets for `grads`, clockwise from
// +Y: a negative angle is first taken as grads + 400, then turned to
// radians with pi = 3.141592 and its sign turned to the CAD's
// counter-clockwise sense.
[[nodiscard]] double block_insertion_rotation(double grads) noexcept;

// The name of the stored drawing a block-reference code names.
[[nodiscard]] std::string block_reference_name(std::string_view code);

// `Busca_Dibujo`: the index (a Long) of the first stored drawing
// Dibujos(1..NumDibujos) whose name (`Texto2`) equals `name` exactly, case
// included; the Integer 0 when none does. Error 9 when NumDibujos runs past
// the stored drawings.
[[nodiscard]] core::Variant Busca_Dibujo(const model::DrawingModel& model, std::string_view name);

}  // namespace kestrel::exporting
