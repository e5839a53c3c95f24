#include "server/method_table.h"

#include <oleauto.h>

#include <cstring>
#include <optional>

#include "server/ids.h"
#include "server/records.h"

namespace kestrel::server {

using bridge::c_Kestrel;
using core::VbArray;
using core::VbBool;

// --- Results ----------------------------------------------------------------------

void Result::set_boolean(bool value) {
  if (!out_) return;
  V_VT(out_) = VT_BOOL;
  V_BOOL(out_) = value ? VARIANT_TRUE : VARIANT_FALSE;
}

namespace {

template <class Host, class Model>
void set_record_result(VARIANT* out, void* target, const GUID& id, const Model& value) {
  if (target) {
    std::memset(target, 0, sizeof(Host));
    to_host(value, *static_cast<Host*>(target));
    return;
  }
  if (!out) return;
  IRecordInfo& info = record_info(id);
  void* record = info.RecordCreate();
  if (!record) core::raise(core::kOutOfMemory);
  std::memset(record, 0, sizeof(Host));
  to_host(value, *static_cast<Host*>(record));
  info.AddRef();
  V_VT(out) = VT_RECORD;
  V_RECORDINFO(out) = &info;
  V_RECORD(out) = record;
}

}  // namespace

void Result::set_record(const model::t_Datos& value) {
  set_record_result<layout::t_Datos>(out_, record_, kDatosId, value);
}
void Result::set_record(const model::t_Dibujo& value) {
  set_record_result<layout::t_Dibujo>(out_, record_, kDibujoId, value);
}

namespace {

// --- Argument helpers ---------------------------------------------------------------

// Reads argument k with `read`; a record or array of the wrong type is a type mismatch.
template <class F>
auto checked(const Arguments& a, int k, F&& read) {
  try {
    return read();
  } catch (const core::Error&) {
    a.mismatch(k);
  }
}

model::t_Datos datos_at(const Arguments& a, int k) {
  return checked(a, k, [&] { return from_host(*static_cast<layout::t_Datos*>(a.record_at(k, kDatosId))); });
}
model::t_Dibujo dibujo_at(const Arguments& a, int k) {
  return checked(a, k, [&] { return from_host(*static_cast<layout::t_Dibujo*>(a.record_at(k, kDibujoId))); });
}
model::t_Curvado curvado_at(const Arguments& a, int k) {
  return checked(a, k, [&] { return from_host(*static_cast<layout::t_Curvado*>(a.record_at(k, kCurvadoId))); });
}

template <class T>
T* pointer(std::optional<T>& value) {
  return value ? &*value : nullptr;
}

// Writes back the optional by-reference arguments that were passed.
void set_if(const Arguments& a, int k, const std::optional<VbBool>& v) {
  if (v) a.set_boolean(k, *v);
}
void set_if(const Arguments& a, int k, const std::optional<std::string>& v) {
  if (v) a.set_string(k, *v);
}
void set_if(const Arguments& a, int k, const std::optional<std::int32_t>& v) {
  if (v) a.set_long(k, *v);
}

// --- Handlers, in catalogue order ------------------------------------------------------

void Mira(c_Kestrel& o, const Arguments&, Result& r) { r.set_boolean(o.Mira()); }

void IniciaAutocad(c_Kestrel& o, const Arguments& a, Result&) {
  VbBool sigue = a.boolean_at(0);
  const std::string version = a.optional_string(1).value_or("");
  std::optional<VbBool> comprueba = a.optional_boolean(2);
  std::optional<std::string> nombre = a.optional_string(3);
  std::optional<std::string> vers = a.optional_string(4);
  o.IniciaAutocad(sigue, version, pointer(comprueba), pointer(nombre), pointer(vers));
  a.set_boolean(0, sigue);
  set_if(a, 2, comprueba);
  set_if(a, 3, nombre);
  set_if(a, 4, vers);
}

void Color_True(c_Kestrel& o, const Arguments&, Result&) { o.Color_True(); }
void A_Zoom_extension(c_Kestrel& o, const Arguments&, Result&) { o.A_Zoom_extension(); }

void Mete_Entidades(c_Kestrel& o, const Arguments& a, Result&) {
  const std::int32_t nu_polis = a.long_at(0);
  const auto poli = checked(a, 1, [&] { return polylines_from_host(a.array_at(1)); });
  const model::t_Curvado curvado = curvado_at(a, 2);
  const std::int32_t nu_capas = a.long_at(3);
  const auto capas = checked(a, 4, [&] { return layers_from_host(a.array_at(4)); });
  const std::int32_t nutria = a.long_at(5);
  const VbArray<std::int32_t> b1 = a.longs_at(6), b2 = a.longs_at(7), b3 = a.longs_at(8);
  o.Mete_Entidades(nu_polis, poli, curvado, nu_capas, capas, nutria, b1, b2, b3, a.long_at(9));
}

void Mete_Pun(c_Kestrel& o, const Arguments& a, Result&) {
  const std::int32_t nu_pun = a.long_at(0);
  const VbArray<double> x = a.doubles_at(1), y = a.doubles_at(2), z = a.doubles_at(3);
  const VbArray<std::string> cd = a.strings_at(4), nmb = a.strings_at(5), infor = a.strings_at(6);
  o.Mete_Pun(nu_pun, x, y, z, cd, nmb, infor, a.integers_at(7));
}

void A_Show_Seleccion_datos(c_Kestrel& o, const Arguments& a, Result&) {
  std::array<std::int32_t, 9> chk{};
  for (int k = 0; k < 9; ++k) chk[static_cast<std::size_t>(k)] = a.long_at(k);
  o.A_Show_Seleccion_datos(chk[0], chk[1], chk[2], chk[3], chk[4], chk[5], chk[6], chk[7], chk[8]);
  for (int k = 0; k < 9; ++k) a.set_long(k, chk[static_cast<std::size_t>(k)]);
}

void Ch4_CreateHatch(c_Kestrel& o, const Arguments& a, Result&) {
  const core::Obj poly = a.object_at(0);
  std::int16_t t = a.integer_at(1);
  std::string cp = a.string_at(2);
  VbBool bloq = a.boolean_at(3);
  std::optional<std::int32_t> color = a.optional_long(4);
  std::optional<VbBool> solido = a.optional_boolean(5);
  o.Ch4_CreateHatch(poly, t, cp, bloq, pointer(color), pointer(solido));
  a.set_integer(1, t);
  a.set_string(2, cp);
  a.set_boolean(3, bloq);
  set_if(a, 4, color);
  set_if(a, 5, solido);
}

void Autocad_Genera_Puntos(c_Kestrel& o, const Arguments&, Result&) { o.Autocad_Genera_Puntos(); }

void Autocad_Genera_Textos0(c_Kestrel& o, const Arguments& a, Result&) {
  double altura = a.double_at(0);
  o.Autocad_Genera_Textos0(altura);
  a.set_double(0, altura);
}

void Dibuja_perfil(c_Kestrel& o, const Arguments& a, Result&) {
  std::int32_t ptos = a.long_at(0);
  const VbArray<double> pk = a.doubles_at(1), ct = a.doubles_at(2);
  o.Dibuja_perfil(ptos, pk, ct);
  a.set_long(0, ptos);
}

// The compatibility methods accept any arguments and touch nothing.
void does_nothing(c_Kestrel&, const Arguments&, Result&) {}

void Mete_dibujo(c_Kestrel& o, const Arguments& a, Result&) { o.Mete_dibujo(dibujo_at(a, 0)); }

void Example_Documents(c_Kestrel& o, const Arguments&, Result& r) { r.set_record(o.Example_Documents({})); }

void Copia_Todo1(c_Kestrel& o, const Arguments&, Result& r) {
  std::int32_t ent = 0;
  r.set_record(o.Copia_Todo1({}, ent));
}

void Copia_Todo2(c_Kestrel& o, const Arguments&, Result& r) {
  std::string ff;
  r.set_record(o.Copia_Todo2({}, ff));
}

void Bloques_descompon(c_Kestrel& o, const Arguments&, Result&) { o.Bloques_descompon(); }

void Dexompon_Zombie(c_Kestrel& o, const Arguments& a, Result& r) {
  const core::Obj apli = a.object_at(0);
  std::string ff = a.string_at(1);
  std::optional<VbBool> todo = a.optional_boolean(2);
  r.set_record(o.Dexompon_Zombie(apli, ff, pointer(todo)));
  a.set_string(1, ff);
  set_if(a, 2, todo);
}

void LongToRGB(c_Kestrel& o, const Arguments& a, Result&) { o.LongToRGB(a.long_at(0)); }

void Bloques_Saca(c_Kestrel& o, const Arguments& a, Result& r) {
  const core::Obj apli = a.object_at(0);
  VbBool sal = a.boolean_at(1), prop = a.boolean_at(2);
  r.set_record(o.Bloques_Saca(apli, sal, prop));
  a.set_boolean(1, sal);
  a.set_boolean(2, prop);
}

void Atributos(c_Kestrel& o, const Arguments&, Result&) { o.Atributos(); }

void Pega_Polilinea(c_Kestrel& o, const Arguments& a, Result&) {
  std::int32_t n = a.long_at(0);
  o.Pega_Polilinea(n);
  a.set_long(0, n);
}

void A_Show_Seleccion_datos1(c_Kestrel& o, const Arguments&, Result&) { o.A_Show_Seleccion_datos1(); }

void Mete(c_Kestrel& o, const Arguments& a, Result&) {
  const model::t_Datos datos = datos_at(a, 0);
  o.Mete(datos, a.longs_at(1));
}

void Autocad_Genera_Rotulos(c_Kestrel& o, const Arguments& a, Result&) {
  std::optional<VbBool> bloq = a.optional_boolean(0);
  o.Autocad_Genera_Rotulos(pointer(bloq));
  set_if(a, 0, bloq);
}

void Autocad_Genera_Rotulos_Bloques(c_Kestrel& o, const Arguments&, Result&) { o.Autocad_Genera_Rotulos_Bloques(); }
void Autocad_crea_Bloques(c_Kestrel& o, const Arguments&, Result&) { o.Autocad_crea_Bloques(); }
void Autocad_genera_Bloques(c_Kestrel& o, const Arguments&, Result&) { o.Autocad_genera_Bloques(); }

void A_Colores(c_Kestrel& o, const Arguments& a, Result&) {
  std::int32_t vn1 = a.long_at(0);
  const VbArray<std::int32_t> vc1 = a.longs_at(1);
  std::array<VbArray<double>, 12> v;
  for (int k = 0; k < 12; ++k) v[static_cast<std::size_t>(k)] = a.doubles_at(2 + k);
  std::optional<core::Obj> draw;
  if (a.find(14)) draw = a.object_at(14);
  o.A_Colores(vn1, vc1, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11], pointer(draw));
  a.set_long(0, vn1);
}

void A_Color_Tri(c_Kestrel& o, const Arguments& a, Result&) {
  const VbArray<std::int32_t> colours = a.longs_at(0);
  std::optional<core::Obj> draw;
  if (a.find(1)) draw = a.object_at(1);
  o.A_Color_Tri(colours, pointer(draw));
}

void Triang_int_Pol(c_Kestrel& o, const Arguments& a, Result&) { o.Triang_int_Pol(a.long_at(0)); }
void Colores_TRI(c_Kestrel& o, const Arguments&, Result&) { o.Colores_TRI(); }

// Lee_Document and Lee_Documents: (Apli, Salir) -> t_Datos.
template <model::t_Datos (c_Kestrel::*Method)(const core::Obj&, VbBool&)>
void read_documents(c_Kestrel& o, const Arguments& a, Result& r) {
  const core::Obj apli = a.object_at(0);
  VbBool salir = a.boolean_at(1);
  r.set_record((o.*Method)(apli, salir));
  a.set_boolean(1, salir);
}

void Copia__Seleccion(c_Kestrel& o, const Arguments& a, Result& r) {
  const core::Obj apli = a.object_at(0);
  std::string ff = a.string_at(1);
  VbBool salir = a.boolean_at(2);
  r.set_record(o.Copia__Seleccion(apli, ff, salir));
  a.set_string(1, ff);
  a.set_boolean(2, salir);
}

void Copia__Todo(c_Kestrel& o, const Arguments& a, Result& r) {
  const core::Obj apli = a.object_at(0);
  std::string ff = a.string_at(1);
  VbBool todo = a.boolean_at(2), salir = a.boolean_at(3), bloques = a.boolean_at(4);
  r.set_record(o.Copia__Todo(apli, ff, todo, salir, bloques));
  a.set_string(1, ff);
  a.set_boolean(2, todo);
  a.set_boolean(3, salir);
  a.set_boolean(4, bloques);
}

void Copia_Pol(c_Kestrel& o, const Arguments& a, Result& r) { r.set_record(o.Copia_Pol(a.object_at(0))); }

void ListSelectionSets(c_Kestrel& o, const Arguments& a, Result&) {
  core::Obj sset = a.object_at(0);
  std::int32_t num = a.long_at(1);
  const core::Obj before = sset;
  o.ListSelectionSets(sset, num);
  if (!(sset == before)) a.set_object(0, sset);
  a.set_long(1, num);
}

void Copia_Todo3(c_Kestrel& o, const Arguments& a, Result& r) {
  const core::Obj apli = a.object_at(0);
  std::string todo = a.string_at(1);
  VbBool salir = a.boolean_at(2);
  r.set_record(o.Copia_Todo3(apli, todo, salir));
  a.set_string(1, todo);
  a.set_boolean(2, salir);
}

void Analiza__Todo(c_Kestrel& o, const Arguments& a, Result&) {
  const core::Obj apli = a.object_at(0);
  VbBool salir = a.boolean_at(1);
  o.Analiza__Todo(apli, salir);
  a.set_boolean(1, salir);
}

void Propiedades_Cad_Ver(c_Kestrel& o, const Arguments& a, Result& r) {
  std::int32_t entid = a.long_at(0), bloques = a.long_at(1), capas = a.long_at(2);
  r.set_boolean(o.Propiedades_Cad_Ver(entid, bloques, capas));
  a.set_long(0, entid);
  a.set_long(1, bloques);
  a.set_long(2, capas);
}

void Entidades_ver(c_Kestrel& o, const Arguments& a, Result&) {
  core::Variant poly = a.variant_at(0);
  const core::Variant before = poly;
  o.Entidades_ver(poly);
  if (!(poly == before)) a.set_variant(0, poly);
}

void ENTIDADES(c_Kestrel& o, const Arguments& a, Result&) {
  core::Variant poly = a.variant_at(0);
  const core::Variant before = poly;
  std::optional<VbBool> blq = a.optional_boolean(1);
  o.ENTIDADES(poly, pointer(blq));
  if (!(poly == before)) a.set_variant(0, poly);
  set_if(a, 1, blq);
}

void Dibujo_Vacio(c_Kestrel& o, const Arguments& a, Result&) {
  std::string cad = a.string_at(0);
  VbBool salir = a.boolean_at(1);
  o.Dibujo_Vacio(cad, salir);
  a.set_string(0, cad);
  a.set_boolean(1, salir);
}

void Propiedades_Cad(c_Kestrel& o, const Arguments& a, Result& r) {
  const core::Obj apli = a.object_at(0);
  std::int32_t entid = a.long_at(1), bloques = a.long_at(2), capas = a.long_at(3);
  VbBool no_bloques = a.boolean_at(4);
  std::optional<std::int32_t> ent = a.optional_long(5);
  r.set_boolean(o.Propiedades_Cad(apli, entid, bloques, capas, no_bloques, pointer(ent)));
  a.set_long(1, entid);
  a.set_long(2, bloques);
  a.set_long(3, capas);
  a.set_boolean(4, no_bloques);
  set_if(a, 5, ent);
}

void Autocad_Genera_Textos(c_Kestrel& o, const Arguments& a, Result&) {
  double altura = a.double_at(0);
  o.Autocad_Genera_Textos(altura);
  a.set_double(0, altura);
}

constexpr std::array<MethodHandler, 47> kTable{{
    {0, Mira},
    {1, IniciaAutocad},
    {0, Color_True},
    {0, A_Zoom_extension},
    {10, Mete_Entidades},
    {8, Mete_Pun},
    {9, A_Show_Seleccion_datos},
    {4, Ch4_CreateHatch},
    {0, Autocad_Genera_Puntos},
    {1, Autocad_Genera_Textos0},
    {3, Dibuja_perfil},
    {0, does_nothing},  // Obten_objetos1
    {1, Mete_dibujo},
    {0, Example_Documents},
    {0, Copia_Todo1},
    {0, does_nothing},  // Obten_objetos
    {0, Copia_Todo2},
    {0, Bloques_descompon},
    {2, Dexompon_Zombie},
    {1, LongToRGB},
    {3, Bloques_Saca},
    {0, Atributos},
    {1, Pega_Polilinea},
    {0, A_Show_Seleccion_datos1},
    {2, Mete},
    {0, Autocad_Genera_Rotulos},
    {0, Autocad_Genera_Rotulos_Bloques},
    {0, Autocad_crea_Bloques},
    {0, Autocad_genera_Bloques},
    {14, A_Colores},
    {1, A_Color_Tri},
    {1, Triang_int_Pol},
    {0, Colores_TRI},
    {2, read_documents<&c_Kestrel::Lee_Document>},
    {2, read_documents<&c_Kestrel::Lee_Documents>},
    {3, Copia__Seleccion},
    {5, Copia__Todo},
    {1, Copia_Pol},
    {2, ListSelectionSets},
    {3, Copia_Todo3},
    {2, Analiza__Todo},
    {3, Propiedades_Cad_Ver},
    {1, Entidades_ver},
    {1, ENTIDADES},
    {2, Dibujo_Vacio},
    {5, Propiedades_Cad},
    {1, Autocad_Genera_Textos},
}};

}  // namespace

const std::array<MethodHandler, 47>& method_table() { return kTable; }

}  // namespace kestrel::server
