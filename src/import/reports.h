// What a CAD drawing holds, before or instead of copying it: the census of
// the whole drawing (`Analiza__Todo`), the information report it shows
// (`Propiedades_Cad_Ver`) and the copy confirmation report with its options
// (`Propiedades_Cad`). Both reports go to the report window (platform) shown
// through the dialog service; the user's answer is read back from it.
#pragma once

#include <cstdint>
#include <string>

#include "core/numeric.h"
#include "core/object.h"
#include "import/import_state.h"

namespace kestrel::importing {

// The report's option labels, as the user reads them.
inline constexpr const char* kOptionCopyOffLayers = "Copiar Entidades desact";
inline constexpr const char* kOptionCopyBlocks = "Copiar Bloques";

// `Texto_Cuenta`: the value text of one census row. A is the count inside
// blocks, B the count of the whole drawing; B is replaced by |A - B|, the
// count outside blocks. "        -" when both are 0; otherwise that count
// right-aligned in 9 characters, followed by "   en Bloques = " and A
// (aligned alike) when A is not 0.
[[nodiscard]] std::string Texto_Cuenta(std::int32_t A, std::int32_t& B);

// `Propiedades_Cad_Ver`: shows the information report of the census (the
// snapshot is the part inside blocks, the running census the whole
// drawing). True when the user cancelled. Errors are trapped
// ("Propiedades_cad - Error   nº "); false then.
bool Propiedades_Cad_Ver(ImportContext& ctx, std::int32_t Entid, std::int32_t Bloques, std::int32_t Capass);

// `Propiedades_Cad`: shows the copy confirmation report; the options
// answer CopiarDesactivadas (with layers) and NoBloques (with blocks, when
// it was false). True when the user cancelled. Errors are trapped
// ("Propiedades_Cad - Error    nº "); false then.
bool Propiedades_Cad(ImportContext& ctx, const core::Obj& Apli, std::int32_t Entid, std::int32_t Bloques,
                     std::int32_t Capass, core::VbBool& NoBloques, std::int32_t Ent = 0);

// `Analiza__Todo`: counts the active drawing (named blocks first, then
// model space) and, unless Salir is already true, shows the information
// report. Appends a plan drawing named after the document to the drawing
// set. Salir becomes true when the user cancels or model space is empty.
// Errors are trapped ("Analiza__Todo - Error    nº ").
void Analiza__Todo(ImportContext& ctx, const core::Obj& Apli, core::VbBool& Salir);

// True for the names of blocks that are copied and counted: not beginning
// with "*" (model space, paper space, anonymous blocks).
[[nodiscard]] bool is_named_block(const std::string& name) noexcept;

}  // namespace kestrel::importing
