#include "import/reports.h"

#include <cstdlib>

#include "import/copy_all.h"
#include "import/entities.h"
#include "import/progress_form.h"
#include "import/trapped.h"
#include "model/number_text.h"
#include "platform/report_window.h"

namespace kestrel::importing {

using core::Obj;
using platform::ReportWindow;

namespace {

std::string count_text(std::int32_t n) { return model::Formato_Numero(core::Variant(n), 0, 9); }

std::string document_name(Module& module) {
  return Obj(module.cad.Aplicacion.object("ActiveDocument")).get("Name").to_string();
}

// The rows of the CAD's kinds; `circles_with_arcs` joins arcs and circles
// in one row, as the copy confirmation shows them.
void cad_rows(ReportWindow& report, const Census& in_blocks, Census& running, std::int32_t vertices,
              bool circles_with_arcs) {
  report.section("Entidades en AutoCad");
  if (circles_with_arcs) {
    std::int32_t both = core::checked_add(running.arcs, running.circles);
    report.row("Círculos y Arcos ", Texto_Cuenta(core::checked_add(in_blocks.arcs, in_blocks.circles), both));
  } else {
    report.row("Arcos ", Texto_Cuenta(in_blocks.arcs, running.arcs));
    report.row("Círculos ", Texto_Cuenta(in_blocks.circles, running.circles));
  }
  std::string polylines = Texto_Cuenta(in_blocks.polylines, running.polylines);
  if (vertices > 0) polylines += "     Vertic.=" + std::to_string(vertices);
  report.row("Poliliíneas", polylines);
  report.row("PoliCara3D", Texto_Cuenta(in_blocks.polyface_meshes, running.polyface_meshes));
  report.row("3DCara", Texto_Cuenta(in_blocks.faces, running.faces));
  report.row("Textos", Texto_Cuenta(in_blocks.texts, running.texts));
  report.row("Insercciones de Blq.", Texto_Cuenta(in_blocks.block_insertions, running.block_insertions));
}

std::int32_t curve_sum(const Census& c) {
  return core::checked_add(core::checked_add(c.polylines, c.circles), core::checked_add(c.arcs, c.polyface_meshes));
}

// The rows of what the copy makes of them. `whole` is the census as
// counted (before the rows above replaced its counters), so that these rows
// show the same split as those.
void merivox_rows(ReportWindow& report, const Census& in_blocks, const Census& whole, std::int32_t Bloques) {
  report.section("Entidades en Merivox");
  report.row("Dibujos ", std::to_string(core::checked_add(Bloques, 1)));
  std::int32_t points = core::checked_add(whole.vertices, whole.block_insertions);
  report.row("Puntos ", Texto_Cuenta(in_blocks.vertices, points));
  std::int32_t curves = curve_sum(whole);
  report.row("Polilíneas ", Texto_Cuenta(curve_sum(in_blocks), curves));
  std::int32_t texts = whole.texts;
  report.row("Textos ", Texto_Cuenta(in_blocks.texts, texts));
  std::int32_t faces = whole.faces;
  report.row("Triángulos ", Texto_Cuenta(in_blocks.faces, faces));
}

void census_rows(ImportContext& ctx, ReportWindow& report, std::int32_t Bloques, bool circles_with_arcs) {
  const Census whole = ctx.state.census;
  cad_rows(report, ctx.state.snapshot, ctx.state.census, whole.vertices, circles_with_arcs);
  merivox_rows(report, ctx.state.snapshot, whole, Bloques);
}

}  // namespace

bool is_named_block(const std::string& name) noexcept { return name.empty() || name.front() != '*'; }

std::string Texto_Cuenta(std::int32_t A, std::int32_t& B) {
  const std::int32_t D = static_cast<std::int32_t>(std::llabs(static_cast<long long>(A) - B));
  B = D;
  if (A == 0 && D == 0) return "        -";
  std::string text = count_text(D);
  if (A != 0) text += "   en Bloques = " + count_text(A);
  return text;
}

bool Propiedades_Cad_Ver(ImportContext& ctx, std::int32_t Entid, std::int32_t Bloques, std::int32_t Capass) {
  bool cancelled = false;
  run_trapped(ctx.module, "Propiedades_cad - Error   nº ", [&] {
    ReportWindow report("Información del DWG de " + ctx.state.NombreCad + ":");
    report.row("Nombre del Dibujo ", document_name(ctx.module));
    report.row("Objetos  ", std::to_string(Entid));
    report.row("Bloques  ", std::to_string(Bloques));
    report.row("Capas    ", std::to_string(Capass));
    census_rows(ctx, report, Bloques, false);
    ctx.module.services.dialogs.show_modal(report);
    cancelled = report.cancelled();
  });
  return cancelled;
}

namespace {

ReportWindow copy_report(ImportContext& ctx, std::int32_t Entid, std::int32_t Bloques, std::int32_t Capass,
                         std::int32_t Ent) {
  ReportWindow report("Copiar - " + document_name(ctx.module));
  report.row(Bloques < 1 || Capass < 1 ? "Entidades Selecc." : "Nº de Entidades  ", std::to_string(Entid));
  if (Capass > 0) report.row("Capas    ", std::to_string(Capass));
  if (Bloques > 0) {
    report.row("Bloques ", std::to_string(Bloques));
    report.row("Entidades en Bloques", std::to_string(Ent));
  }
  if (Capass >= 1 || Bloques >= 1) report.section("Opciones");
  // Everything comes along unless the user clears an option, as a copy
  // without this report does.
  if (Capass > 0) report.option(kOptionCopyOffLayers, true);
  if (Bloques > 0) report.option(kOptionCopyBlocks, true);
  if (Bloques >= 1 && Capass > 0) census_rows(ctx, report, Bloques, true);
  return report;
}

}  // namespace

bool Propiedades_Cad(ImportContext& ctx, const Obj&, std::int32_t Entid, std::int32_t Bloques, std::int32_t Capass,
                     core::VbBool& NoBloques, std::int32_t Ent) {
  bool cancelled = false;
  run_trapped(ctx.module, "Propiedades_Cad - Error    nº ", [&] {
    ReportWindow report = copy_report(ctx, Entid, Bloques, Capass, Ent);
    ctx.module.services.dialogs.show_modal(report);
    if (Capass > 0) ctx.state.CopiarDesactivadas = report.checked(kOptionCopyOffLayers) ? "1" : "0";
    if (Bloques >= 1 && NoBloques == core::kFalse && !report.checked(kOptionCopyBlocks)) NoBloques = core::kTrue;
    cancelled = report.cancelled();
  });
  return cancelled;
}

}  // namespace kestrel::importing
