// The import methods of c_Kestrel: the CAD drawing comes back to the host.
#include "bridge/c_kestrel.h"
#include "import/copy_all.h"
#include "import/entities.h"
#include "import/explode.h"

namespace kestrel::bridge {

model::t_Datos c_Kestrel::Copia__Todo(const core::Obj& Apli, std::string&, VbBool& TodoC, VbBool& Salir, VbBool&) {
  importing::ImportContext ctx = import_context();
  return importing::Copia__Todo(ctx, Apli, TodoC != core::kFalse, Salir);
}

model::t_Dibujo c_Kestrel::Dexompon_Zombie(const core::Obj&, std::string&, VbBool*) {
  importing::ImportContext ctx = import_context();
  return importing::Dexompon_Zombie(ctx);
}

void c_Kestrel::ENTIDADES(core::Variant& Poly, VbBool* Blq) {
  importing::ImportContext ctx = import_context();
  importing::ENTIDADES(ctx, Poly, Blq != nullptr && *Blq != core::kFalse);
}

void c_Kestrel::Entidades_ver(core::Variant& Poly) {
  importing::ImportContext ctx = import_context();
  importing::Entidades_ver(ctx, Poly);
}

}  // namespace kestrel::bridge
