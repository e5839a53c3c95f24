// Whole documents: the active drawing (`Lee_Document`) or every open
// drawing (`Lee_Documents`) brought back as its block drawings followed by
// its plan, and the notice that the active drawing is empty
// (`Dibujo_Vacio`).
#pragma once

#include <string>

#include "core/numeric.h"
#include "core/object.h"
#include "import/import_state.h"
#include "model/records.h"

namespace kestrel::importing {

// What a plan drawing made from a whole document carries in its last
// string field.
inline const std::string kDocumentPlanMark = "1" + std::string(29, ' ');

// `Lee_Document`: the blocks of the active drawing (after the copy
// confirmation), then its plan. Salir is set when the user cancels or
// nothing came back. Errors are trapped ("Lee_Document - Error    nº ").
[[nodiscard]] model::t_Datos Lee_Document(ImportContext& ctx, const core::Obj& Apli, core::VbBool& Salir);

// `Lee_Documents`: as Lee_Document for each open drawing in turn, all in
// one set (block, plan, block, plan ...). A drawing that fails is reported
// and the others still come back; Salir is true only when nothing came
// back. Errors are trapped ("Lee_Documents - Error    nº ").
[[nodiscard]] model::t_Datos Lee_Documents(ImportContext& ctx, const core::Obj& Apli, core::VbBool& Salir);

// `Dibujo_Vacio`: when the active drawing's model space is empty, says so
// (naming the drawing and `Cad`) and sets Salir; otherwise does nothing.
// Errors are trapped ("Dibujo_Vacio - Error nº ").
void Dibujo_Vacio(ImportContext& ctx, const std::string& Cad, core::VbBool& Salir);

}  // namespace kestrel::importing
