// What the export generators share: the c_Kestrel fields they read and
// write (layer filter, prefix, created-layer table, 2D flag), and the
// context a generator runs in (module, dialog, that state).
#pragma once

#include <cstdint>
#include <string>

#include "core/numeric.h"
#include "core/object.h"
#include "core/vb_array.h"
#include "export/f_acad.h"
#include "module/module.h"

namespace kestrel::exporting {

// One layer handled by the last run of the layer generator.
struct CreatedLayer {
  std::string Nombre;                       // the name as created in the CAD drawing
  std::int32_t Color = 0;                   // CAD colour index
  std::string TipoLinea = "BYLAYER";
  core::VbBool Encendida = core::kFalse;    // on flag
};

struct ExportState {
  std::int32_t CapAc = 0;   // 1: only layers that are on are exported
  std::string PrefCap;      // layer-name prefix (empty: none)
  // CapasCreadas: 1..NumCapas match the model's layers one to one; entries
  // beyond are layers of drawings referenced by block-reference points.
  core::VbArray<CreatedLayer> CapasCreadas;
  core::VbBool Solo2D = core::kFalse;  // Z is written as 0
  // The block being defined by the block generator; entities and hatches
  // generated "in block" go into it instead of model space.
  core::Obj BloqueActual;
  // The CAD's true-colour object (Color_True) that hatches of colour -1 take.
  core::Obj ColorObject;
  // True while Color_True runs; left true by a Color_True that failed.
  core::VbBool Busy = core::kFalse;
};

struct ExportContext {
  Module& module;
  f_Acad& dialog;
  ExportState& state;
};

}  // namespace kestrel::exporting
