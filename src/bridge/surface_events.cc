// c_Kestrel and the terrain surface: the dialog events that draw the
// triangles, the coloured quads and the contours, and the methods by which
// the host colours the surface.
#include "bridge/c_kestrel.h"
#include "core/numeric.h"
#include "export/coloured_surface.h"
#include "export/contours.h"
#include "export/triangulation.h"

namespace kestrel::bridge {

using Context = exporting::ExportContext;

void c_Kestrel::aCadTria(bool Solido) {
  VbBool solid = core::to_vb_bool(Solido);
  with_dialog("Triangulacion",
              [&](Context& ctx) { exporting::Triangulation(ctx, surface_, VVc_, solid); });
}

void c_Kestrel::aCadTriaCurv(bool Solido) {
  VbBool solid = core::to_vb_bool(Solido);
  with_dialog("Triangulacion curvado",
              [&](Context& ctx) { exporting::Triangulacion_curvado(ctx, surface_, solid); });
}

void c_Kestrel::aCadCurv() {
  with_dialog("Curvado", [&](Context& ctx) { exporting::Curvado(ctx); });
}

void c_Kestrel::A_Colores(std::int32_t& Vn1, const VbArray<std::int32_t>& Vc1, const VbArray<double>& Vx0,
                          const VbArray<double>& Vy0, const VbArray<double>& Vz0, const VbArray<double>& Vx1,
                          const VbArray<double>& Vy1, const VbArray<double>& Vz1, const VbArray<double>& Vx2,
                          const VbArray<double>& Vy2, const VbArray<double>& Vz2, const VbArray<double>& Vx3,
                          const VbArray<double>& Vy3, const VbArray<double>& Vz3, const core::Obj* Draw) {
  if (Vn1 == 0) return;
  with_dialog("A_Colores", [&](Context& ctx) {
    exporting::store_quads(surface_, {Vn1, Vc1, {Vx0, Vx1, Vx2, Vx3}, {Vy0, Vy1, Vy2, Vy3}, {Vz0, Vz1, Vz2, Vz3}});
    exporting::f_Acad& dialog = ctx.dialog;
    dialog.chkTria.enabled = false;
    dialog.set_value("Option1(1)", 1);
    dialog.Option1[1].caption = "3D Curvado (MDT -" + core::vb_str(Vn1) + ")";
    dialog.Option1[3].caption = "2D Curvado Sombreado a color (MDT -" + core::vb_str(Vn1) + ")";
    if (Draw) surface_.Draw = *Draw;
  });
}

void c_Kestrel::A_Color_Tri(const VbArray<std::int32_t>& ColorTr, const core::Obj* Draw) {
  core::trap(module_.error_log, {"A_Color_Tri - Error    nº ", ": "}, [&] {
    exporting::A_Color_Tri(surface_, module_.model, ColorTr);
    if (Draw) surface_.Draw = *Draw;
  });
}

void c_Kestrel::Triang_int_Pol(std::int32_t poli) {
  core::trap(module_.error_log, {"Triang_int_Pol - Error nº  ", ": "}, [&] {
    if (!surface_.CapaTri.contains(0) || surface_.CapaTri.ubound() != module_.model.NumTriangulos) {
      surface_.CapaTri.redim(0, std::max(module_.model.NumTriangulos, 0));
    }
    exporting::Triang_int_Pol(surface_, module_.model, poli);
  });
}

void c_Kestrel::Colores_TRI() {
  core::trap(module_.error_log, {"Colores_TRIl - Error nº  ", ": "},
             [&] { exporting::Colores_TRI(surface_, module_.model); });
}

}  // namespace kestrel::bridge
