// What the import routines share beyond the drawing model: the entity
// census that `Entidades_ver` counts into (with the snapshot the drawing
// report shows), the switched-off-layers option, and the drawing set the
// whole-drawing copy hands back. One ImportState lives with each c_Kestrel.
#pragma once

#include <cstdint>
#include <string>

#include "model/records.h"
#include "module/module.h"

namespace kestrel::importing {

// The entity census: how many entities of each kind a walk met.
struct Census {
  std::int32_t block_insertions = 0;
  std::int32_t arcs = 0;
  std::int32_t circles = 0;
  std::int32_t polylines = 0;
  std::int32_t texts = 0;
  std::int32_t faces = 0;  // 3D faces
  std::int32_t lines = 0;
  std::int32_t polyface_meshes = 0;
  std::int32_t vertices = 0;       // of every kind
  std::int32_t mesh_vertices = 0;  // of polyface meshes only
  friend bool operator==(const Census&, const Census&) = default;
};

struct ImportState {
  Census census;
  Census snapshot;  // the copy the drawing report reads
  // "0": entities on switched-off layers are not copied; anything else
  // (empty until the report dialog sets it) copies them.
  std::string CopiarDesactivadas;
  // The drawing set `Copia__Todo` fills and returns a copy of.
  model::t_Datos Datos;
  // The CAD product name the titles show ("ZWCAD 2021"); the bridge sets
  // it from the bound application before each import call.
  std::string NombreCad;
  // The import dialog's result: 0 open, 1 cancelled or closed, 2 accepted.
  std::int16_t ResultadoEs = 0;
};

struct ImportContext {
  Module& module;
  ImportState& state;
};

}  // namespace kestrel::importing
