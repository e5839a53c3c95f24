// The import methods of c_Kestrel: the CAD drawing comes back to the host.
#include "bridge/c_kestrel.h"
#include "import/blocks.h"
#include "import/copy_all.h"
#include "import/documents.h"
#include "import/entities.h"
#include "import/explode.h"
#include "import/reports.h"
#include "import/selection_copy.h"

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

namespace kestrel::bridge {

void c_Kestrel::ListSelectionSets(core::Obj& SSet, std::int32_t& Num) { importing::ListSelectionSets(module_, SSet, Num); }

model::t_Datos c_Kestrel::Copia__Seleccion(const core::Obj& Apli, std::string&, VbBool& Salir) {
  importing::ImportContext ctx = import_context();
  model::t_Datos result = importing::Copia__Seleccion(ctx, Apli, Salir);
  cad_short_name_ = import_state_.NombreCad;  // "AutoCad" when it was empty
  return result;
}

model::t_Dibujo c_Kestrel::Copia_Pol(const core::Obj& Apli) {
  importing::ImportContext ctx = import_context();
  return importing::Copia_Pol(ctx, Apli);
}

model::t_Datos c_Kestrel::Copia_Todo3(const core::Obj& Apli, std::string& TodoC, VbBool& Salir) {
  importing::ImportContext ctx = import_context();
  model::t_Datos result = importing::Copia_Todo3(ctx, Apli, TodoC, Salir);
  cad_short_name_ = import_state_.NombreCad;
  return result;
}

model::t_Datos c_Kestrel::Bloques_Saca(const core::Obj& Apli, VbBool& Sal, VbBool& Prop) {
  importing::ImportContext ctx = import_context();
  return importing::Bloques_Saca(ctx, Apli, Sal, Prop != core::kFalse);
}

void c_Kestrel::Atributos() {
  importing::ImportContext ctx = import_context();
  importing::Atributos(ctx);
}

model::t_Datos c_Kestrel::Lee_Document(const core::Obj& Apli, VbBool& Salir) {
  importing::ImportContext ctx = import_context();
  return importing::Lee_Document(ctx, Apli, Salir);
}

model::t_Datos c_Kestrel::Lee_Documents(const core::Obj& Apli, VbBool& Salir) {
  importing::ImportContext ctx = import_context();
  return importing::Lee_Documents(ctx, Apli, Salir);
}

void c_Kestrel::Dibujo_Vacio(std::string& Cad, VbBool& Salir) {
  importing::ImportContext ctx = import_context();
  importing::Dibujo_Vacio(ctx, Cad, Salir);
}

void c_Kestrel::Analiza__Todo(const core::Obj& Apli, VbBool& Salir) {
  importing::ImportContext ctx = import_context();
  importing::Analiza__Todo(ctx, Apli, Salir);
}

bool c_Kestrel::Propiedades_Cad_Ver(std::int32_t& Entid, std::int32_t& Bloques, std::int32_t& Capass) {
  importing::ImportContext ctx = import_context();
  return importing::Propiedades_Cad_Ver(ctx, Entid, Bloques, Capass);
}

bool c_Kestrel::Propiedades_Cad(const core::Obj& Apli, std::int32_t& Entid, std::int32_t& Bloques,
                                std::int32_t& Capass, VbBool& NoBloques, std::int32_t* Ent) {
  importing::ImportContext ctx = import_context();
  return importing::Propiedades_Cad(ctx, Apli, Entid, Bloques, Capass, NoBloques, Ent ? *Ent : 0);
}

}  // namespace kestrel::bridge
