// The entity builders: they turn the values read from one CAD entity into
// items of the drawing model. Points, polylines (lists of point indices),
// triangles and texts are appended one at a time; every list keeps lower
// bound 0 and upper bound equal to its count, so item k lives at index k.
// Storage grows geometrically, the visible bounds one item at a time.
//
// Curves do not stay curves: an arc becomes a three-vertex polyline marked
// 3 in vertex slot 0, a circle a two-vertex polyline marked 2, the outline
// of a face a closed polyline marked -71. A block insertion becomes a point
// coded "**" + block name.
//
// The builders that take a Module trap their own errors (each under its own
// message prefix) and keep what they appended before the error.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/vb_array.h"
#include "model/drawing_model.h"
#include "model/records.h"
#include "module/module.h"

namespace kestrel::importing {

using core::VbArray;

// Vertex-slot-0 markers of the shapes import builds.
inline constexpr std::int32_t kArcMarker = 3;
inline constexpr std::int32_t kCircleMarker = 2;
inline constexpr std::int32_t kFaceOutlineMarker = -71;
// The elevation given to the middle vertex of an imported arc.
inline constexpr double kArcMiddleElevation = 10;
// The value of pi the builders use.
inline constexpr double kImportPi = 3.141592654;

// Sets item `n` of a list kept in step with a count: appended when the list
// ends at n - 1 (the usual case, and the cheap one), else after the list's
// upper bound is moved to n, as ReDim Preserve does.
template <class T>
void set_counted_item(VbArray<T>& list, std::int32_t n, T value) {
  if (list.allocated() && list.ubound() == n - 1) {
    list.append(std::move(value));
    return;
  }
  list.redim_preserve(n);
  list[n] = std::move(value);
}

// Appends one point (name and information empty) and returns its index.
// A layer index of 0 or above NumCapas is first set to 1, through `layer`.
std::int32_t Anade_Punto(model::DrawingModel& model, double x, double y, double z, std::int16_t& layer,
                         std::string_view code);

// `Punto Mira`: Anade_Punto with an empty code. 0 after a trapped error.
std::int32_t Punto_Mira(Module& module, double x, double y, double z, std::int16_t layer);
// The point at indices 0, 1, 2 of `c` (relative to its lower bound 0).
std::int32_t Punto_crea(Module& module, const VbArray<double>& c, std::int16_t layer);
// The four corners of a face (12 values); the fourth index is 0, and no
// point is added for it, when it equals the third corner exactly.
std::array<std::int32_t, 4> Punto_crea3D(Module& module, const VbArray<double>& c, std::int16_t layer);

// Appends a polyline with count n and vertex slots 0..n (all 0) on layer
// CapaActual, which becomes 1 first when it is 0.
void Poli_crea(Module& module, std::int32_t n);
// `crea Pol`: a two-vertex polyline a-b coloured Color_RGB(colour), only
// when a and b differ and are both at most NumPuntos. A layer outside
// 1..NumCapas is replaced, through `layer`, by CapaActual.
void crea_Pol(Module& module, std::int32_t a, std::int32_t b, std::int16_t& layer, std::int32_t colour);
// A polyline with one new point per x, y pair at the given elevation;
// closed: one more slot repeating the first.
void Crea_poli_2D(Module& module, const VbArray<double>& c, double elevation, std::int16_t layer, bool closed);
// The same per x, y, z triple, z = elevation + the triple's z.
void Crea_poli_3D(Module& module, const VbArray<double>& c, double elevation, std::int16_t layer, bool closed);
// `Crea Arco`: start point, the point of the circle in the direction of
// the chord's midpoint (elevation 10), end point; marker 3.
void Crea_Arco(Module& module, const VbArray<double>& centre, const VbArray<double>& start,
               const VbArray<double>& end, float radius, std::int16_t layer);
// `Crea Circulo`: centre and the top of the circle; marker 2.
void Crea_Circulo(Module& module, const VbArray<double>& centre, float radius, std::int16_t layer);
// Triangle p1 p2 p3 (and p1 p4 p3 when p4 > 0) and the outline polyline
// p1 p2 p3 [p4] p1 marked -71.
void Crea_Cara(Module& module, std::int32_t p1, std::int32_t p2, std::int32_t p3, std::int32_t p4,
               std::int16_t layer);
// The code of a block insertion: "**" + name, then "/" + scale when
// |scale| is not 1, then "/" + grads (or "/1/" + grads at scale 1) when
// rotated.
[[nodiscard]] std::string block_insertion_code(std::string_view name, float rotation, double x_scale);
// One point coded as block_insertion_code says.
void Crea_IsertBlock(Module& module, const VbArray<double>& insertion, std::string_view name, float rotation,
                     std::int16_t layer, double x_scale);
// `Crea Texto`: one text record (nothing for an empty string); the
// rotation turns from radians into grads clockwise, formatting codes are
// cleaned. The colour is not stored.
void Crea_Texto(Module& module, std::string_view text, const VbArray<double>& insertion, double rotation,
                std::int16_t layer, double height, std::int32_t colour, std::string_view style);
// The text a formatted CAD text shows (the cleaning Crea_Texto applies).
[[nodiscard]] std::string clean_text_codes(std::string text);

// Direction of dx, dy in radians, 0 <= a < 2 pi, from +y towards +x.
// dx = dy = 0 gives 0.
[[nodiscard]] double Azimut(double dx, double dy) noexcept;

// Empties the drawing model's points, polylines, layers, texts, triangles.
void Borra_Modelo(model::DrawingModel& model);
// The drawing model packed into a new drawing record.
[[nodiscard]] model::t_Dibujo Sacar(Module& module);
// Elevations of points from numeric texts ("12,5") at a distance strictly
// between 1.0 and 1.08; the first such text wins.
void Cota_Textos(model::DrawingModel& model);

}  // namespace kestrel::importing
