// DrawingModel: the single drawing the library works on. The host fills it
// through the loaders (model/loading.h), the export generators read it and
// the import rebuilds it from a CAD drawing. It starts empty: counts zero,
// arrays unallocated, strings empty. Every array holds its own copy, with the
// bounds it was given (usually 1..count; lists built on import start at 0).
#pragma once

#include <cstdint>
#include <string>

#include "core/numeric.h"
#include "core/vb_array.h"
#include "model/options.h"
#include "model/records.h"

namespace kestrel::model {

// The registers in which the label placement collects the segments and
// arrowheads that accompany labels; they are drawn after the texts.
struct LabelRegisters {
  std::int32_t NumLineasR = 0;
  VbArray<double> LinX1, LinY1, LinX2, LinY2;
  VbArray<std::int32_t> LinCapa;
  std::int32_t NumFlechasR = 0;
  VbArray<double> FleX1, FleY1, FleX2, FleY2, FleX3, FleY3;
  VbArray<std::int32_t> FleCapa;
};

struct DrawingModel {
  // Points.
  std::int32_t NumPuntos = 0;
  VbArray<std::string> PtoNombre;
  VbArray<double> PtoX;
  VbArray<double> PtoY;
  VbArray<double> PtoZ;
  VbArray<std::string> PtoCodigo;
  VbArray<std::string> PtoInfo;
  VbArray<std::int16_t> PtoCapa;
  // Triangles.
  std::int32_t NumTriangulos = 0;
  VbArray<std::int32_t> TriV1;
  VbArray<std::int32_t> TriV2;
  VbArray<std::int32_t> TriV3;
  std::int32_t ColorTrilat = 0;
  // Polylines.
  std::int32_t NumPolis = 0;
  VbArray<t_Poli> Polis;
  // Texts.
  std::int32_t NumRotulos = 0;
  VbArray<t_Rotulo> Rotulos;
  // Layers.
  std::int32_t NumCapas = 0;
  std::int32_t CapaActual = 0;  // layer of polylines created on import when no other is known
  VbArray<t_Capa> Capas;
  // Contours.
  t_Curvado Curvado;
  // The six option pieces of the drawing (the export dialog reads its flags).
  model::Opciones Opciones;
  // The drawing set given to `Mete`, and the drawing it selected.
  std::int32_t NumDibujos = 0;
  std::int32_t DibujoActual = 0;
  VbArray<t_Dibujo> Dibujos;
  t_Dibujo DibujoElegido;
  // Appended to the error messages of the generating routines.
  std::string MsgVersion;

  // Export state.
  VbBool Cancelar = core::kFalse;  // the user asked to stop the export
  double DeformaZ = 0;             // vertical exaggeration
  // Block references: on export the number of points coded "**"/"##"; on
  // import the count of the distinct inserted block names (list from 0).
  std::int32_t NumBloques = 0;
  VbArray<std::string> BloquesNombre;
  // CAD layers captured by the import (names and CAD colour numbers, 1..n).
  std::int32_t NumCapasCad = 0;
  VbArray<std::string> CapasCadNombre;
  VbArray<std::int32_t> CapasCadColor;

  LabelRegisters Registros;
};

}  // namespace kestrel::model
