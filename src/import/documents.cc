#include "import/documents.h"

#include "import/blocks.h"
#include "import/copy_all.h"
#include "import/progress_form.h"
#include "import/selection_copy.h"
#include "import/trapped.h"

namespace kestrel::importing {

using core::Obj;

namespace {

void append(model::t_Datos& result, model::t_Dibujo drawing) {
  result.NuDibujos = core::checked_add(result.NuDibujos, 1);
  result.Dibujos.redim_preserve(result.NuDibujos);
  result.Dibujos[result.NuDibujos] = std::move(drawing);
}

// Steps shared by one document and many: its blocks, then its plan. False
// when the user cancelled the copy confirmation.
bool read_document(ImportContext& ctx, const Obj& Apli, const std::string& name, model::t_Datos& result) {
  core::VbBool cancelled = core::kFalse;
  model::t_Datos blocks = Bloques_Saca(ctx, Apli, cancelled, true);
  if (cancelled != core::kFalse) return false;
  for (std::int32_t i = 1; i <= blocks.NuDibujos; ++i) {
    blocks.Dibujos[i].Texto1 = kDrawingKindBlock;
    append(result, std::move(blocks.Dibujos[i]));
  }
  core::VbBool empty = core::kFalse;
  model::t_Datos plan = Copia_Todo3(ctx, Apli, "Todo", empty);
  if (empty == core::kFalse && plan.NuDibujos >= 1) {
    model::t_Dibujo drawing = std::move(plan.Dibujos[plan.NuDibujos]);
    drawing.Texto1 = kDrawingKindPlan;
    drawing.Texto2 = name;
    drawing.Cabecera.text48 = kDocumentPlanMark;
    append(result, std::move(drawing));
  }
  return true;
}

}  // namespace

model::t_Datos Lee_Document(ImportContext& ctx, const Obj& Apli, core::VbBool& Salir) {
  model::t_Datos result;
  run_trapped(ctx.module, "Lee_Document - Error    nº ", [&] {
    const Obj document = ctx.module.cad.Aplicacion.object("ActiveDocument");
    const std::string name = document.get("Name").to_string();
    HostProgress progress(ctx.module, Apli);
    progress.label(0, "Analizando " + name);
    progress.label(2, name);
    progress.label(3, "");
    progress.label(1, "");
    progress.label(3, short_document_name(name));
    if (!read_document(ctx, Apli, name, result)) {
      Salir = core::kTrue;
      result = {};
    }
  });
  if (result.NuDibujos == 0) Salir = core::kTrue;
  return result;
}

model::t_Datos Lee_Documents(ImportContext& ctx, const Obj& Apli, core::VbBool& Salir) {
  model::t_Datos result;
  run_trapped(ctx.module, "Lee_Documents - Error    nº ", [&] {
    const Obj documents = ctx.module.cad.Aplicacion.object("Documents");
    const std::int32_t count = documents.get("Count").to_int32();
    HostProgress progress(ctx.module, Apli);
    for (std::int32_t i = 0; i < count; ++i) {
      // One drawing that fails is reported under its own name; the rest go on.
      run_trapped(ctx.module, "Lee_Documents - Error    nº ", [&] {
        const Obj document = documents.call("Item", i).to_object();
        document.call("Activate");
        const std::string name = document.get("Name").to_string();
        progress.label(0, "Analizando el " + ctx.state.NombreCad);
        progress.label(3, short_document_name(name));
        (void)read_document(ctx, Apli, name, result);
      });
    }
  });
  if (result.NuDibujos == 0) Salir = core::kTrue;
  return result;
}

void Dibujo_Vacio(ImportContext& ctx, const std::string& Cad, core::VbBool& Salir) {
  run_trapped(ctx.module, "Dibujo_Vacio - Error nº ", [&] {
    const Obj document = ctx.module.cad.Aplicacion.object("ActiveDocument");
    if (Obj(document.object("ModelSpace")).get("Count").to_int32() != 0) return;
    const std::string name = document.get("Name").to_string();
    ctx.module.services.message_box.show("El dibujo activo <" + name + "> de " + Cad + " está vacio",
                                         platform::kInformation, "Copiar de " + ctx.module.cad.FamiliaCad);
    Salir = core::kTrue;
  });
}

}  // namespace kestrel::importing
