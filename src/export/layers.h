// The layers of the drawing model in the CAD drawing: created with their
// colour and on/off state before any entity is generated, and recorded in
// `CapasCreadas`, by which every generator names an entity's layer.
#pragma once

#include <cstdint>

#include "export/export_state.h"

namespace kestrel::exporting {

// `Autocad_Genera_Capas`: stores CapAc, cleans the model's layer names and
// creates each model layer in the active document (an existing layer of the
// same name, case included, only has its on flag set; with CapAc = 1 a
// layer that is off is not created), then the layers of the stored drawings
// that the current drawing's block-reference points name. Every layer
// handled, created or not, is recorded in CapasCreadas (1..NumCapas in the
// model's order, the referenced drawings' layers after them). At the end the
// current drawing is reloaded from the stored set, keeping the export
// options, and the prefix PrefCap is put in front of its layer names again.
// Errors are trapped: "Autocad Genera Capas en " + step tag + " - Error    nº ".
void Autocad_Genera_Capas(ExportContext& ctx, std::int32_t& CapAc);

// `Autocad_Crea_Capa`: creates model layer k in the document (an empty
// trimmed name becomes "0"; blanks become "_" in the model too), with its
// colour index, line type "BYLAYER" and on flag. Errors are trapped:
// "Autocad_Crea_Capa - Error    nº ".
void Autocad_Crea_Capa(ExportContext& ctx, std::int32_t& k);

}  // namespace kestrel::exporting
