// The loaders that fill the DrawingModel from the host's records, and the two
// internal switches between the model and the stored drawings (`Saca`, `Haz`).
// Each loader replaces exactly the fields it names and leaves every other
// field of the model as it was. Every copy is deep and keeps the source
// array's bounds.
//
// None of these functions traps errors: they throw `core::Error`, and the
// caller (the `c_Kestrel` method) applies its own error trap, except for
// `saca`, which skips failing statements itself.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/drawing_model.h"

namespace kestrel::model {

// What `Mete_dibujo` puts in `MsgVersion`: one blank, a line break and the
// 32/64-bit advice.
inline constexpr std::string_view kVersionAdvice = " \r\nCambia la versión de AutoCad seleccionada a 32 bit o a 64 bit";

// `Mete_Pun`: NumPuntos = NuPun and the seven point arrays become copies of
// the given ones. A negative NuPun raises error 9 after NumPuntos was set,
// with the point arrays untouched.
void mete_pun(DrawingModel& model, std::int32_t NuPun, const VbArray<double>& X1, const VbArray<double>& Y1,
              const VbArray<double>& z1, const VbArray<std::string>& Cd, const VbArray<std::string>& Nmb1,
              const VbArray<std::string>& infor, const VbArray<std::int16_t>& Capa);

// `Mete_Entidades`: polylines, contours, layers (not `CapaActual`),
// triangles and their colour. A negative Nutria raises error 9 after
// everything but the vertex arrays was loaded.
void mete_entidades(DrawingModel& model, std::int32_t NuPolis, const VbArray<t_Poli>& poli, const t_Curvado& tCurvado1,
                    std::int32_t nuCapas, const VbArray<t_Capa>& Capas1, std::int32_t Nutria,
                    const VbArray<std::int32_t>& B1, const VbArray<std::int32_t>& B2, const VbArray<std::int32_t>& B3,
                    std::int32_t colTrilat);

// Copies the drawing groups of `drawing` into the model, in this order:
// points, triangles with their colour, polylines, layers with `CapaActual`,
// the six option pieces, texts, and last the whole `Curvado`. `Texto1`,
// `Texto2`, `Cabecera` and `Extra` are not taken.
void load_drawing_groups(DrawingModel& model, const t_Dibujo& drawing);

// `Mete_dibujo`: sets `MsgVersion` to kVersionAdvice, then load_drawing_groups.
void mete_dibujo(DrawingModel& model, const t_Dibujo& drawing);

// `Mete` step 2: NumDibujos, DibujoActual and Dibujos become a copy of the set.
void store_drawing_set(DrawingModel& model, const t_Datos& set);

// `Mete` selection step ("Merivox Lelo"): lowers DibujoActual to NumDibujos
// when it is greater, loads Dibujos(DibujoActual) as load_drawing_groups does
// (MsgVersion untouched) with the option factor at 376 set to 1.0 when it is
// exactly zero, and keeps a copy of that drawing in DibujoElegido.
// When DibujoActual is not an index of Dibujos (an empty set included) it
// raises error 9: the model groups keep what they held and DibujoElegido
// becomes an empty record.
void select_drawing(DrawingModel& model);

// store_drawing_set then select_drawing (error 9 as select_drawing, after
// the set was stored). The per-triangle colours belong to the caller.
void mete(DrawingModel& model, const t_Datos& set);

// `Saca`: brings a stored drawing into the model: the groups of
// load_drawing_groups except `CapaActual`, which keeps its value. With
// `keep_options` the first option piece (136 bytes at 248) and the 60-byte
// piece at 460 keep their values. The factor at 376 becomes 1.0 when it is
// exactly zero. A failing statement is skipped and the next one runs; nothing
// is thrown.
void saca(DrawingModel& model, const t_Dibujo& drawing, bool keep_options);

// The reverse of `saca`: writes the model's groups (points, triangles with
// their colour, polylines, layers without `CapaActual`, all six option
// pieces, texts, `Curvado`) into `drawing`; its other fields stay.
void pack_drawing_groups(const DrawingModel& model, t_Dibujo& drawing);

// `Haz` ("Merivox Haz"): pack_drawing_groups into Dibujos(DibujoActual);
// error 9 when that is not an index of Dibujos.
void haz(DrawingModel& model);

}  // namespace kestrel::model
