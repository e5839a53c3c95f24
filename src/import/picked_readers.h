// The coordinate readers of a picked entity: each re-dimensions the
// caller's X, Y, Z lists to 0..n and fills items 1..n, returning n.
// They raise the CAD's error for an entity without the member read; the
// caller traps it.
#pragma once

#include <cstdint>

#include "core/object.h"
#include "core/vb_array.h"

namespace kestrel::importing {

struct VertexLists {
  core::VbArray<double>& X;
  core::VbArray<double>& Y;
  core::VbArray<double>& Z;
};

// "Obtener poli3D de Autocad": one vertex per x, y, z triple of Coordinates.
std::int32_t Obtener_poli3D(const core::Obj& entity, VertexLists out);
// "Obtener poli2D de Autocad": one vertex per x, y pair; z stays 0.
std::int32_t Obtener_poli2D(const core::Obj& entity, VertexLists out);
// "Obtener linea de Autocad": StartPoint and EndPoint.
std::int32_t Obtener_linea(const core::Obj& entity, VertexLists out);
// "Saca_Texto de Autocad": as Obtener_linea.
std::int32_t Saca_Texto(const core::Obj& entity, VertexLists out);

}  // namespace kestrel::importing
