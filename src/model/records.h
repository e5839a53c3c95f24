// The exchange records shared with the host's record library: one drawing
// (`t_Dibujo`), a set of drawings (`t_Datos`) and their parts. They are plain
// value types: copying one copies every string and array (deep copy), and a
// default-constructed record is the empty record (strings empty, arrays
// unallocated, numbers and carried bytes zero).
//
// Arrays keep the bounds they were given. The usual lower bound is 1 (item k
// at index k); a vertex list `Vert` starts at 0 (shape marker) and a contour's
// `VertC` holds vertices 0..NuVertC. A stored drawing may keep a base point at
// index 0 of its point arrays.
//
// Bytes the system carries without interpreting them are held opaquely so
// that they survive a load-and-pack unchanged. The byte layout of each record
// lives in model/record_fields.h.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/numeric.h"
#include "core/vb_array.h"
#include "model/options.h"

namespace kestrel::model {

using core::VbArray;
using core::VbBool;

// One polyline.
struct t_Poli {
  std::int32_t NuVert = 0;
  // Index 0: shape marker (0 or negative polyline, 2 circle, 3 arc, -71 face
  // outline); 1..NuVert: point indices.
  VbArray<std::int32_t> Vert;
  std::int32_t Color = 0;  // packed colour, red in the low byte; 0 = by layer
  std::int32_t CapaP = 0;  // layer index
  friend bool operator==(const t_Poli&, const t_Poli&) = default;
};

// One layer.
struct t_Capa {
  std::string Nombre;
  VbBool Encendida = 0;
  std::int32_t ColorCapa = 0;
  std::int16_t Estado = 0;
  Bytes<6> carried14{};  // bytes 14..19, the host's
  friend bool operator==(const t_Capa&, const t_Capa&) = default;
};

// A contour vertex in drawing coordinates.
struct Vertex3 {
  double x = 0;
  double y = 0;
  double z = 0;
  friend bool operator==(const Vertex3&, const Vertex3&) = default;
};

// One contour line.
struct t_Curva {
  std::int32_t NuVertC = 0;  // upper vertex index: vertices 0..NuVertC
  VbArray<Vertex3> VertC;
  std::int32_t ColorC = 0;
  VbBool TipoC = 0;
  friend bool operator==(const t_Curva&, const t_Curva&) = default;
};

// The contour set. The parameters are the host's and only carried.
struct t_Curvado {
  std::int32_t NuCurvas = 0;
  double Param1 = 0;
  double Param2 = 0;
  double Param3 = 0;
  std::int16_t Param4 = 0;
  std::int16_t Param5 = 0;
  std::int16_t Param6 = 0;
  double Param7 = 0;
  double Param8 = 0;
  VbBool Param9 = 0;
  VbArray<t_Curva> Curvas;  // 1..NuCurvas
  friend bool operator==(const t_Curvado&, const t_Curvado&) = default;
};

// One text.
struct t_Rotulo {
  std::string Texto;  // "#" separates lines
  std::int16_t CapaR = 0;
  double Xr = 0;
  double Yr = 0;
  double Xr2 = 0;
  double Yr2 = 0;
  double Xr3 = 0;
  double Yr3 = 0;
  double Giro = 0;    // grads, clockwise
  double Altura = 0;  // nominal size
  Bytes<8> carried72{};
  std::int32_t Cuenta = 0;
  std::string Estilo;
  std::string Texto3;  // kind code
  Bytes<2> carried92{};
  std::int16_t DeCurva = 0;  // 1 = belongs to the contours
  double Xc = 0;
  double Yc = 0;
  friend bool operator==(const t_Rotulo&, const t_Rotulo&) = default;
};

// The descriptive header of a drawing: two strings (at its offsets 4 and 48)
// among 92 plain bytes, all carried.
struct Cabecera {
  Bytes<4> bytes0{};
  std::string text4;
  Bytes<40> bytes8{};
  std::string text48;
  Bytes<48> bytes52{};
  friend bool operator==(const Cabecera&, const Cabecera&) = default;
};

// One drawing. Texto1, Cabecera and Extra are carried, never interpreted.
struct t_Dibujo {
  std::string Texto1;
  std::string Texto2;  // the drawing's name, used by block references
  model::Cabecera Cabecera;
  // Points.
  std::int32_t NuPun = 0;
  VbArray<std::string> Nmb;
  VbArray<double> X;
  VbArray<double> Y;
  VbArray<double> Z;
  VbArray<std::string> Cd;
  VbArray<std::string> infor;
  VbArray<std::int16_t> Capa;  // layer index of each point
  // Triangles.
  std::int32_t Nutria = 0;
  VbArray<std::int32_t> B1;
  VbArray<std::int32_t> B2;
  VbArray<std::int32_t> B3;
  std::int32_t colTrilat = 0;
  // Polylines.
  std::int32_t NuPolis = 0;
  VbArray<t_Poli> poli;
  // Texts.
  std::int32_t NuRotulos = 0;
  VbArray<t_Rotulo> Rotulo;
  // Layers.
  std::int32_t nuCapas = 0;
  std::int32_t CapaActual = 0;
  VbArray<t_Capa> Capas1;
  t_Curvado Curvado;
  model::Opciones Opciones;
  Bytes<4> Extra{};  // a reference slot of the host's, carried as it is
  friend bool operator==(const t_Dibujo&, const t_Dibujo&) = default;
};

// A set of drawings.
struct t_Datos {
  std::int32_t NuDibujos = 0;
  std::int32_t DibujoAct = 0;  // the drawing to work on
  VbArray<t_Dibujo> Dibujos;   // 1..NuDibujos
  friend bool operator==(const t_Datos&, const t_Datos&) = default;
};

}  // namespace kestrel::model
