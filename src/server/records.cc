#include "server/records.h"

#include <oleauto.h>

#include <cstring>
#include <map>
#include <string>

#include "cad/dispatch/com_variant.h"
#include "core/error.h"
#include "server/ids.h"
#include "server/lifetime.h"

namespace kestrel::server {
namespace {

// One record of each kind, both ways (defined below).
model::t_Poli from_host_item(const layout::t_Poli& r);
model::t_Capa from_host_item(const layout::t_Capa& r);
model::Vertex3 from_host_item(const layout::t_Vertice& r);
model::t_Curva from_host_item(const layout::t_Curva& r);
model::t_Rotulo from_host_item(const layout::t_Rotulo& r);
model::t_Dibujo from_host_item(const layout::t_Dibujo& r);
void to_host_item(const model::t_Poli& r, layout::t_Poli& out);
void to_host_item(const model::t_Capa& r, layout::t_Capa& out);
void to_host_item(const model::Vertex3& r, layout::t_Vertice& out);
void to_host_item(const model::t_Curva& r, layout::t_Curva& out);
void to_host_item(const model::t_Rotulo& r, layout::t_Rotulo& out);
void to_host_item(const model::t_Dibujo& r, layout::t_Dibujo& out);

// --- Arrays --------------------------------------------------------------------

// Element type checked, data locked for the life of the view.
class ArrayView {
 public:
  ArrayView(SAFEARRAY* array, VARTYPE vt, const GUID* record = nullptr) : array_(array) {
    if (!array_) return;
    VARTYPE stored = VT_EMPTY;
    if (SafeArrayGetDim(array_) != 1 || FAILED(SafeArrayGetVartype(array_, &stored)) || stored != vt)
      core::raise(core::kTypeMismatch);
    if (record && !same_record(*record)) core::raise(core::kTypeMismatch);
    SafeArrayGetLBound(array_, 1, &lower_);
    SafeArrayGetUBound(array_, 1, &upper_);
    if (FAILED(SafeArrayAccessData(array_, &data_))) core::raise(core::kTypeMismatch);
  }
  ~ArrayView() {
    if (data_) SafeArrayUnaccessData(array_);
  }
  ArrayView(const ArrayView&) = delete;
  ArrayView& operator=(const ArrayView&) = delete;

  // An array with the same bounds whose item k is convert(element k).
  template <class T, class E, class F>
  core::VbArray<T> map(F&& convert) const {
    if (!array_) return {};
    core::VbArray<T> out(lower_, upper_);
    const E* elements = static_cast<const E*>(data_);
    for (LONG k = lower_; k <= upper_; ++k) out[k] = convert(elements[k - lower_]);
    return out;
  }

 private:
  bool same_record(const GUID& id) const {
    IRecordInfo* info = nullptr;
    if (FAILED(SafeArrayGetRecordInfo(array_, &info)) || !info) return false;
    GUID guid{};
    const bool same = SUCCEEDED(info->GetGuid(&guid)) && IsEqualGUID(guid, id);
    info->Release();
    return same;
  }

  SAFEARRAY* array_;
  void* data_ = nullptr;
  LONG lower_ = 0, upper_ = -1;
};

std::string text(BSTR value) { return win32::from_bstr(value); }

// An empty string is a null BSTR in a record, as in a fresh record of the host's.
BSTR host_text(const std::string& value) { return value.empty() ? nullptr : win32::to_bstr(value); }

template <class T, class E>
core::VbArray<T> plain_from_host(SAFEARRAY* array, VARTYPE vt) {
  return ArrayView(array, vt).map<T, E>([](const E& e) { return static_cast<T>(e); });
}

core::VbArray<std::string> strings_from_host(SAFEARRAY* array) {
  return ArrayView(array, VT_BSTR).map<std::string, BSTR>(text);
}

template <class T, class E>
core::VbArray<T> records_from_host(SAFEARRAY* array, const GUID& id) {
  return ArrayView(array, VT_RECORD, &id).map<T, E>([](const E& e) { return from_host_item(e); });
}

// A new array lbound..ubound of `vt` (records: of record `id`), its data
// handed to `fill` zeroed; nullptr for an unallocated array.
template <class E, class T, class F>
SAFEARRAY* new_array(const core::VbArray<T>& items, VARTYPE vt, const GUID* id, F&& fill) {
  if (!items.allocated()) return nullptr;
  SAFEARRAYBOUND bound{static_cast<ULONG>(items.size()), items.lbound()};
  SAFEARRAY* array = id ? SafeArrayCreateEx(VT_RECORD, 1, &bound, &record_info(*id)) : SafeArrayCreate(vt, 1, &bound);
  if (!array) core::raise(core::kOutOfMemory);
  void* data = nullptr;
  SafeArrayAccessData(array, &data);
  E* elements = static_cast<E*>(data);
  std::memset(elements, 0, sizeof(E) * static_cast<std::size_t>(items.size()));
  std::size_t k = 0;
  for (const T& item : items.items()) fill(item, elements[k++]);
  SafeArrayUnaccessData(array);
  return array;
}

template <class E, class T>
SAFEARRAY* plain_to_host(const core::VbArray<T>& items, VARTYPE vt) {
  return new_array<E>(items, vt, nullptr, [](const T& item, E& out) { out = static_cast<E>(item); });
}

SAFEARRAY* strings_to_host(const core::VbArray<std::string>& items) {
  return new_array<BSTR>(items, VT_BSTR, nullptr, [](const std::string& item, BSTR& out) { out = host_text(item); });
}

template <class E, class T>
SAFEARRAY* records_to_host(const core::VbArray<T>& items, const GUID& id) {
  return new_array<E>(items, VT_RECORD, &id, [](const T& item, E& out) { to_host_item(item, out); });
}

template <std::size_t N>
void copy_bytes(const unsigned char (&from)[N], model::Bytes<N>& to) {
  std::memcpy(to.data(), from, N);
}
template <std::size_t N>
void copy_bytes(const model::Bytes<N>& from, unsigned char (&to)[N]) {
  std::memcpy(to, from.data(), N);
}

}  // namespace

// --- Type information ------------------------------------------------------------

IRecordInfo& record_info(const GUID& id) {
  // Process-wide cache next to the type library it comes from; filled once
  // per record type on the host's thread.
  static ITypeLib* library = nullptr;
  static std::map<std::wstring, IRecordInfo*> cache;
  wchar_t key[40] = {};
  StringFromGUID2(id, key, 40);
  if (auto found = cache.find(key); found != cache.end()) return *found->second;
  if (!library) {
    const std::wstring path = library_path() + L"\\" + std::to_wstring(kRecordLibResource);
    if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library))) core::raise(core::kOutOfMemory);
  }
  ITypeInfo* type = nullptr;
  if (FAILED(library->GetTypeInfoOfGuid(id, &type))) core::raise(core::kTypeMismatch);
  IRecordInfo* info = nullptr;
  const HRESULT hr = GetRecordInfoFromTypeInfo(type, &info);
  type->Release();
  if (FAILED(hr)) core::raise(core::kTypeMismatch);
  cache.emplace(key, info);
  return *info;
}

// --- Host -> engine ----------------------------------------------------------------

namespace {

model::t_Poli from_host_item(const layout::t_Poli& r) {
  return {r.NuVert, plain_from_host<std::int32_t, LONG>(r.Vert, VT_I4), r.Color, r.CapaP};
}

model::t_Capa from_host_item(const layout::t_Capa& r) {
  model::t_Capa out{text(r.Nombre), r.Encendida, r.ColorCapa, r.Estado, {}};
  copy_bytes(r.Reserva, out.carried14);
  return out;
}

model::Vertex3 from_host_item(const layout::t_Vertice& r) { return {r.X, r.Y, r.Z}; }

model::t_Curva from_host_item(const layout::t_Curva& r) {
  return {r.NuVertC, records_from_host<model::Vertex3, layout::t_Vertice>(r.VertC, kVerticeId), r.ColorC, r.TipoC};
}

model::t_Rotulo from_host_item(const layout::t_Rotulo& r) {
  model::t_Rotulo out;
  out.Texto = text(r.Texto);
  out.CapaR = r.CapaR;
  out.Xr = r.Xr, out.Yr = r.Yr, out.Xr2 = r.Xr2, out.Yr2 = r.Yr2, out.Xr3 = r.Xr3, out.Yr3 = r.Yr3;
  out.Giro = r.Giro, out.Altura = r.Altura;
  copy_bytes(r.Reserva72, out.carried72);
  out.Cuenta = r.Cuenta;
  out.Estilo = text(r.Estilo);
  out.Texto3 = text(r.Texto3);
  std::memcpy(out.carried92.data(), &r.Reserva92, 2);
  out.DeCurva = r.DeCurva;
  out.Xc = r.Xc, out.Yc = r.Yc;
  return out;
}

model::t_Dibujo from_host_item(const layout::t_Dibujo& r) { return from_host(r); }

}  // namespace

model::t_Curvado from_host(const layout::t_Curvado& r) {
  return {r.NuCurvas, r.Param1, r.Param2, r.Param3, r.Param4, r.Param5, r.Param6, r.Param7, r.Param8, r.Param9,
          records_from_host<model::t_Curva, layout::t_Curva>(r.Curvas, kCurvaId)};
}

model::t_Dibujo from_host(const layout::t_Dibujo& r) {
  model::t_Dibujo out;
  out.Texto1 = text(r.Texto1);
  out.Texto2 = text(r.Texto2);
  std::memcpy(out.Cabecera.bytes0.data(), &r.Cabecera.Dato0, 4);
  out.Cabecera.text4 = text(r.Cabecera.Texto4);
  copy_bytes(r.Cabecera.Datos8, out.Cabecera.bytes8);
  out.Cabecera.text48 = text(r.Cabecera.Texto48);
  copy_bytes(r.Cabecera.Datos52, out.Cabecera.bytes52);
  out.NuPun = r.NuPun;
  out.Nmb = strings_from_host(r.Nmb);
  out.X = plain_from_host<double, double>(r.X, VT_R8);
  out.Y = plain_from_host<double, double>(r.Y, VT_R8);
  out.Z = plain_from_host<double, double>(r.Z, VT_R8);
  out.Cd = strings_from_host(r.Cd);
  out.infor = strings_from_host(r.infor);
  out.Capa = plain_from_host<std::int16_t, SHORT>(r.Capa, VT_I2);
  out.Nutria = r.Nutria;
  out.B1 = plain_from_host<std::int32_t, LONG>(r.B1, VT_I4);
  out.B2 = plain_from_host<std::int32_t, LONG>(r.B2, VT_I4);
  out.B3 = plain_from_host<std::int32_t, LONG>(r.B3, VT_I4);
  out.colTrilat = r.colTrilat;
  out.NuPolis = r.NuPolis;
  out.poli = polylines_from_host(r.poli);
  out.NuRotulos = r.NuRotulos;
  out.Rotulo = records_from_host<model::t_Rotulo, layout::t_Rotulo>(r.Rotulo, kRotuloId);
  out.nuCapas = r.nuCapas;
  out.CapaActual = r.CapaActual;
  out.Capas1 = layers_from_host(r.Capas1);
  out.Curvado = from_host(r.Curvado);
  for (const model::OptionPiece& p : model::kOptionPieces) {
    std::memcpy(out.Opciones.bytes_at(p.offset, p.size).data(), r.Opciones + (p.offset - model::Opciones::kOffset),
                static_cast<std::size_t>(p.size));
  }
  std::memcpy(out.Extra.data(), &r.Extra, 4);
  return out;
}

model::t_Datos from_host(const layout::t_Datos& r) {
  return {r.NuDibujos, r.DibujoAct, records_from_host<model::t_Dibujo, layout::t_Dibujo>(r.Dibujos, kDibujoId)};
}

core::VbArray<model::t_Poli> polylines_from_host(SAFEARRAY* array) {
  return records_from_host<model::t_Poli, layout::t_Poli>(array, kPoliId);
}

core::VbArray<model::t_Capa> layers_from_host(SAFEARRAY* array) {
  return records_from_host<model::t_Capa, layout::t_Capa>(array, kCapaId);
}

// --- Engine -> host ------------------------------------------------------------------

namespace {

void to_host_item(const model::t_Poli& r, layout::t_Poli& out) {
  out = {r.NuVert, plain_to_host<LONG>(r.Vert, VT_I4), r.Color, r.CapaP};
}

void to_host_item(const model::t_Capa& r, layout::t_Capa& out) {
  out.Nombre = host_text(r.Nombre);
  out.Encendida = r.Encendida;
  out.ColorCapa = r.ColorCapa;
  out.Estado = r.Estado;
  copy_bytes(r.carried14, out.Reserva);
}

void to_host_item(const model::Vertex3& r, layout::t_Vertice& out) { out = {r.x, r.y, r.z}; }

void to_host_item(const model::t_Curva& r, layout::t_Curva& out) {
  out.NuVertC = r.NuVertC;
  out.VertC = records_to_host<layout::t_Vertice>(r.VertC, kVerticeId);
  out.ColorC = r.ColorC;
  out.TipoC = r.TipoC;
}

void to_host_item(const model::t_Rotulo& r, layout::t_Rotulo& out) {
  out.Texto = host_text(r.Texto);
  out.CapaR = r.CapaR;
  out.Xr = r.Xr, out.Yr = r.Yr, out.Xr2 = r.Xr2, out.Yr2 = r.Yr2, out.Xr3 = r.Xr3, out.Yr3 = r.Yr3;
  out.Giro = r.Giro, out.Altura = r.Altura;
  copy_bytes(r.carried72, out.Reserva72);
  out.Cuenta = r.Cuenta;
  out.Estilo = host_text(r.Estilo);
  out.Texto3 = host_text(r.Texto3);
  std::memcpy(&out.Reserva92, r.carried92.data(), 2);
  out.DeCurva = r.DeCurva;
  out.Xc = r.Xc, out.Yc = r.Yc;
}

void to_host_item(const model::t_Dibujo& r, layout::t_Dibujo& out) { to_host(r, out); }

void to_host(const model::t_Curvado& r, layout::t_Curvado& out) {
  out.NuCurvas = r.NuCurvas;
  out.Param1 = r.Param1, out.Param2 = r.Param2, out.Param3 = r.Param3;
  out.Param4 = r.Param4, out.Param5 = r.Param5, out.Param6 = r.Param6;
  out.Param7 = r.Param7, out.Param8 = r.Param8, out.Param9 = r.Param9;
  out.Curvas = records_to_host<layout::t_Curva>(r.Curvas, kCurvaId);
}

}  // namespace

void to_host(const model::t_Dibujo& r, layout::t_Dibujo& out) {
  out.Texto1 = host_text(r.Texto1);
  out.Texto2 = host_text(r.Texto2);
  std::memcpy(&out.Cabecera.Dato0, r.Cabecera.bytes0.data(), 4);
  out.Cabecera.Texto4 = host_text(r.Cabecera.text4);
  copy_bytes(r.Cabecera.bytes8, out.Cabecera.Datos8);
  out.Cabecera.Texto48 = host_text(r.Cabecera.text48);
  copy_bytes(r.Cabecera.bytes52, out.Cabecera.Datos52);
  out.NuPun = r.NuPun;
  out.Nmb = strings_to_host(r.Nmb);
  out.X = plain_to_host<double>(r.X, VT_R8);
  out.Y = plain_to_host<double>(r.Y, VT_R8);
  out.Z = plain_to_host<double>(r.Z, VT_R8);
  out.Cd = strings_to_host(r.Cd);
  out.infor = strings_to_host(r.infor);
  out.Capa = plain_to_host<SHORT>(r.Capa, VT_I2);
  out.Nutria = r.Nutria;
  out.B1 = plain_to_host<LONG>(r.B1, VT_I4);
  out.B2 = plain_to_host<LONG>(r.B2, VT_I4);
  out.B3 = plain_to_host<LONG>(r.B3, VT_I4);
  out.colTrilat = r.colTrilat;
  out.NuPolis = r.NuPolis;
  out.poli = records_to_host<layout::t_Poli>(r.poli, kPoliId);
  out.NuRotulos = r.NuRotulos;
  out.Rotulo = records_to_host<layout::t_Rotulo>(r.Rotulo, kRotuloId);
  out.nuCapas = r.nuCapas;
  out.CapaActual = r.CapaActual;
  out.Capas1 = records_to_host<layout::t_Capa>(r.Capas1, kCapaId);
  to_host(r.Curvado, out.Curvado);
  for (const model::OptionPiece& p : model::kOptionPieces) {
    std::memcpy(out.Opciones + (p.offset - model::Opciones::kOffset), r.Opciones.bytes_at(p.offset, p.size).data(),
                static_cast<std::size_t>(p.size));
  }
  std::memcpy(&out.Extra, r.Extra.data(), 4);
}

void to_host(const model::t_Datos& r, layout::t_Datos& out) {
  out.NuDibujos = r.NuDibujos;
  out.DibujoAct = r.DibujoAct;
  out.Dibujos = records_to_host<layout::t_Dibujo>(r.Dibujos, kDibujoId);
}

}  // namespace kestrel::server
