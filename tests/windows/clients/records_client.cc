// A compiled client that talks to the registered library as the host does:
// late-bound through IDispatch, records as VT_RECORD of the registered
// record library Mvx4_Var1. Checks the record sizes against this client's
// own layout, every method name against the registered type library, the
// records a call passes and returns, and the answers to wrong arguments.
// Records this client builds are freed by hand (see docs/windows.md).
#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "server/ids.h"
#include "server/record_layout.h"

namespace {

namespace ids = kestrel::server;
namespace layout = kestrel::server::layout;

int failures = 0;

void expect(bool ok, const char* what) {
  if (ok) return;
  std::printf("FAIL: %s\n", what);
  ++failures;
}

void expect_hr(HRESULT got, HRESULT wanted, const char* what) {
  if (got == wanted) return;
  std::printf("FAIL: %s: 0x%08lx, expected 0x%08lx\n", what, static_cast<unsigned long>(got),
              static_cast<unsigned long>(wanted));
  ++failures;
}

IRecordInfo* record_info(const GUID& id) {
  IRecordInfo* info = nullptr;
  GetRecordInfoFromGuids(ids::kRecordLibId, ids::kRecordLibMajor, ids::kRecordLibMinor, 0, id, &info);
  return info;
}

// --- Building records ------------------------------------------------------------

template <class T>
SAFEARRAY* plain_array(VARTYPE vt, LONG lower, const std::vector<T>& items) {
  SAFEARRAYBOUND bound{static_cast<ULONG>(items.size()), lower};
  SAFEARRAY* array = SafeArrayCreate(vt, 1, &bound);
  void* data = nullptr;
  SafeArrayAccessData(array, &data);
  std::memcpy(data, items.data(), items.size() * sizeof(T));
  SafeArrayUnaccessData(array);
  return array;
}

SAFEARRAY* text_array(const std::vector<const wchar_t*>& items) {
  std::vector<BSTR> texts;
  for (const wchar_t* item : items) texts.push_back(SysAllocString(item));
  return plain_array(VT_BSTR, 1, texts);  // the array owns the strings now
}

template <class R>
SAFEARRAY* record_array(const GUID& id, LONG lower, const std::vector<R>& items) {
  SAFEARRAYBOUND bound{static_cast<ULONG>(items.size()), lower};
  SAFEARRAY* array = SafeArrayCreateEx(VT_RECORD, 1, &bound, record_info(id));
  void* data = nullptr;
  SafeArrayAccessData(array, &data);
  std::memcpy(data, items.data(), items.size() * sizeof(R));
  SafeArrayUnaccessData(array);
  return array;
}

layout::t_Dibujo sample_drawing() {
  layout::t_Dibujo d{};
  d.Texto1 = SysAllocString(L"plano");
  d.Texto2 = SysAllocString(L"Parcela 7 (año 2024)");
  d.Cabecera.Texto4 = SysAllocString(L"cabecera");
  d.NuPun = 3;
  d.Nmb = text_array({L"P1", L"P2", L"P3"});
  d.X = plain_array<double>(VT_R8, 1, {100.0, 110.5, 120.25});
  d.Y = plain_array<double>(VT_R8, 1, {200.0, 205.0, 199.5});
  d.Z = plain_array<double>(VT_R8, 1, {10.0, 11.0, 12.0});
  d.Cd = text_array({L"ARB", L"", L"MURO"});
  d.infor = text_array({L"", L"", L""});
  d.Capa = plain_array<SHORT>(VT_I2, 1, {1, 1, 2});
  d.Nutria = 1;
  d.B1 = plain_array<LONG>(VT_I4, 0, {0, 1});
  d.B2 = plain_array<LONG>(VT_I4, 0, {0, 2});
  d.B3 = plain_array<LONG>(VT_I4, 0, {0, 3});
  d.NuPolis = 1;
  layout::t_Poli poli{3, plain_array<LONG>(VT_I4, 0, {0, 1, 2, 3}), 255, 1};
  d.poli = record_array(ids::kPoliId, 1, std::vector{poli});
  d.nuCapas = 2;
  layout::t_Capa capa1{SysAllocString(L"TOPO"), VARIANT_TRUE, 65280, 0, {}};
  layout::t_Capa capa2{SysAllocString(L"MUROS"), VARIANT_FALSE, 255, 0, {}};
  d.Capas1 = record_array(ids::kCapaId, 1, std::vector{capa1, capa2});
  d.Curvado.NuCurvas = 1;
  layout::t_Curva curva{1, record_array(ids::kVerticeId, 0, std::vector<layout::t_Vertice>{{0, 0, 5}, {1, 1, 5}}), 0,
                        VARIANT_FALSE};
  d.Curvado.Curvas = record_array(ids::kCurvaId, 1, std::vector{curva});
  d.Opciones[384 - 248] = 1;  // points available
  d.Extra = 0x5a5a5a5a;
  return d;
}

VARIANT record_argument(IRecordInfo* info, void* record) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_RECORD | VT_BYREF;
  V_RECORDINFO(&v) = info;
  V_RECORD(&v) = record;
  return v;
}

// --- Calls ---------------------------------------------------------------------------

HRESULT call(IDispatch* object, DISPID id, std::vector<VARIANT> args, VARIANT* result = nullptr,
             UINT* arg_error = nullptr) {
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  EXCEPINFO error{};
  UINT bad = static_cast<UINT>(-1);
  const HRESULT hr = object->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, result, &error, &bad);
  if (arg_error) *arg_error = bad;
  SysFreeString(error.bstrSource);
  SysFreeString(error.bstrDescription);
  return hr;
}

VARIANT nothing() {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_DISPATCH;
  V_DISPATCH(&v) = nullptr;
  return v;
}

bool is_record(const VARIANT& v, const GUID& id) {
  if (V_VT(&v) != VT_RECORD || !V_RECORDINFO(&v) || !V_RECORD(&v)) return false;
  GUID guid{};
  V_RECORDINFO(&v)->GetGuid(&guid);
  return IsEqualGUID(guid, id);
}

// --- Checks --------------------------------------------------------------------------

void check_record_sizes() {
  const struct {
    const GUID& id;
    ULONG size;
    const char* name;
  } records[] = {
      {ids::kPoliId, sizeof(layout::t_Poli), "t_Poli"},       {ids::kCapaId, sizeof(layout::t_Capa), "t_Capa"},
      {ids::kVerticeId, sizeof(layout::t_Vertice), "t_Vertice"}, {ids::kCurvaId, sizeof(layout::t_Curva), "t_Curva"},
      {ids::kCurvadoId, sizeof(layout::t_Curvado), "t_Curvado"}, {ids::kRotuloId, sizeof(layout::t_Rotulo), "t_Rotulo"},
      {ids::kCabeceraId, sizeof(layout::t_Cabecera), "t_Cabecera"},
      {ids::kDibujoId, sizeof(layout::t_Dibujo), "t_Dibujo"},    {ids::kDatosId, sizeof(layout::t_Datos), "t_Datos"},
  };
  for (const auto& r : records) {
    IRecordInfo* info = record_info(r.id);
    ULONG size = 0;
    if (info) info->GetSize(&size);
    if (size != r.size) std::printf("FAIL: %s is %lu bytes in Mvx4_Var1, %lu here\n", r.name, size, r.size), ++failures;
    if (info) info->Release();
  }
}

// Every method of the registered interface resolves by name, in any case,
// to the number the type library gives it; the numbers run 1..47 in order.
void check_names(IDispatch* object) {
  ITypeLib* library = nullptr;
  ITypeInfo* type = nullptr;
  expect_hr(LoadRegTypeLib(ids::kLibId, ids::kLibMajor, ids::kLibMinor, 0, &library), S_OK, "LoadRegTypeLib");
  if (!library || FAILED(library->GetTypeInfoOfGuid(ids::kIid, &type))) return;
  TYPEATTR* attr = nullptr;
  type->GetTypeAttr(&attr);
  int found = 0;
  for (UINT k = 0; k < attr->cFuncs; ++k) {
    FUNCDESC* f = nullptr;
    type->GetFuncDesc(k, &f);
    BSTR name = nullptr;
    UINT got = 0;
    type->GetNames(f->memid, &name, 1, &got);
    if (f->memid >= 1 && f->memid <= 47) {
      expect(f->memid == ++found, "the numbers follow the catalogue order");
      std::wstring upper(name);
      for (wchar_t& c : upper) c = static_cast<wchar_t>(towupper(c));
      LPOLESTR names[] = {upper.data()};
      DISPID id = 0;
      expect_hr(object->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK, "GetIDsOfNames");
      if (id != f->memid) std::printf("FAIL: %ls resolves to %ld, not %ld\n", name, id, f->memid), ++failures;
    }
    SysFreeString(name);
    type->ReleaseFuncDesc(f);
  }
  expect(found == 47, "the interface holds the 47 methods");
  type->ReleaseTypeAttr(attr);
  type->Release();
  library->Release();

  wchar_t unknown[] = L"Mete_Todo";
  LPOLESTR names[] = {unknown};
  DISPID id = 0;
  expect_hr(object->GetIDsOfNames(IID_NULL, names, 1, 0, &id), DISP_E_UNKNOWNNAME, "an unknown name");
  wchar_t method[] = L"longtorgb", parameter[] = L"RGBVAL";
  LPOLESTR with_parameter[] = {method, parameter};
  DISPID both[2] = {};
  expect_hr(object->GetIDsOfNames(IID_NULL, with_parameter, 2, 0, both), S_OK, "a method and its parameter");
  expect(both[0] == 20 && both[1] == 0, "LongToRGB is 20, its RGBval parameter 0");
}

void check_records_in(IDispatch* object) {
  IRecordInfo* datos_info = record_info(ids::kDatosId);
  IRecordInfo* dibujo_info = record_info(ids::kDibujoId);
  layout::t_Dibujo drawing = sample_drawing();
  layout::t_Datos set{1, 1, record_array(ids::kDibujoId, 1, std::vector{drawing})};
  SAFEARRAY* colours = plain_array<LONG>(VT_I4, 1, {255});
  VARIANT colours_arg;
  V_VT(&colours_arg) = VT_ARRAY | VT_I4 | VT_BYREF;
  V_ARRAYREF(&colours_arg) = &colours;

  expect_hr(call(object, 25, {record_argument(datos_info, &set), colours_arg}), S_OK, "Mete with one drawing");
  expect_hr(call(object, 13, {record_argument(dibujo_info, &drawing)}), S_OK, "Mete_dibujo");
  UINT bad = 0;
  expect_hr(call(object, 25, {record_argument(dibujo_info, &drawing), colours_arg}, nullptr, &bad),
            DISP_E_TYPEMISMATCH, "Mete with a t_Dibujo for its t_Datos");
  expect(bad == 1, "the mismatch names Mete's first argument");

  VARIANT count, layers, triangles, colour, none_count;
  V_VT(&count) = VT_I4, V_I4(&count) = 1;
  V_VT(&layers) = VT_I4, V_I4(&layers) = 2;
  V_VT(&triangles) = VT_I4, V_I4(&triangles) = 1;
  V_VT(&colour) = VT_I4, V_I4(&colour) = 3;
  V_VT(&none_count) = VT_I4, V_I4(&none_count) = 0;
  VARIANT polis, capas, b;
  V_VT(&polis) = VT_ARRAY | VT_RECORD, V_ARRAY(&polis) = drawing.poli;
  V_VT(&capas) = VT_ARRAY | VT_RECORD, V_ARRAY(&capas) = drawing.Capas1;
  V_VT(&b) = VT_ARRAY | VT_I4, V_ARRAY(&b) = drawing.B1;
  IRecordInfo* curvado_info = record_info(ids::kCurvadoId);
  expect_hr(call(object, 5, {count, polis, record_argument(curvado_info, &drawing.Curvado), layers, capas, triangles, b,
                             b, b, colour}),
            S_OK, "Mete_Entidades with record arrays");
  expect_hr(call(object, 5, {count, capas, record_argument(curvado_info, &drawing.Curvado), layers, capas, triangles, b,
                             b, b, colour},
                 nullptr, &bad),
            DISP_E_TYPEMISMATCH, "Mete_Entidades with layers for its polylines");
  expect(bad == 8, "the mismatch names the polylines");
  curvado_info->Release();
  datos_info->Release();
  dibujo_info->Release();
}

void check_records_out(IDispatch* object) {
  VARIANT result;
  VariantInit(&result);
  expect_hr(call(object, 14, {nothing()}, &result), S_OK, "Example_Documents");
  expect(is_record(result, ids::kDatosId), "Example_Documents answers a t_Datos");
  if (is_record(result, ids::kDatosId)) {
    const auto* set = static_cast<const layout::t_Datos*>(V_RECORD(&result));
    expect(set->NuDibujos == 0 && set->DibujoAct == 0 && set->Dibujos == nullptr, "the t_Datos is empty");
  }
  VariantInit(&result);  // left to the process: never cleared by the run time

  VARIANT ent;
  V_VT(&ent) = VT_I4, V_I4(&ent) = 7;
  expect_hr(call(object, 15, {nothing(), ent}, &result), S_OK, "Copia_Todo1");
  expect(is_record(result, ids::kDibujoId), "Copia_Todo1 answers a t_Dibujo");
  if (is_record(result, ids::kDibujoId)) {
    static const layout::t_Dibujo zero{};
    expect(std::memcmp(V_RECORD(&result), &zero, sizeof zero) == 0, "the t_Dibujo is empty");
  }

  BSTR ff = SysAllocString(L"");
  VARIANT_BOOL todo = VARIANT_FALSE, salir = VARIANT_FALSE, bloques = VARIANT_FALSE;
  VARIANT ff_arg, todo_arg, salir_arg, bloques_arg;
  V_VT(&ff_arg) = VT_BSTR | VT_BYREF, V_BSTRREF(&ff_arg) = &ff;
  V_VT(&todo_arg) = VT_BOOL | VT_BYREF, V_BOOLREF(&todo_arg) = &todo;
  V_VT(&salir_arg) = VT_BOOL | VT_BYREF, V_BOOLREF(&salir_arg) = &salir;
  V_VT(&bloques_arg) = VT_BOOL | VT_BYREF, V_BOOLREF(&bloques_arg) = &bloques;
  VariantInit(&result);
  expect_hr(call(object, 37, {nothing(), ff_arg, todo_arg, salir_arg, bloques_arg}, &result), S_OK,
            "Copia__Todo without a CAD");
  expect(is_record(result, ids::kDatosId), "Copia__Todo answers a t_Datos");
  SysFreeString(ff);
}

}  // namespace

int main() {
  CoInitialize(nullptr);
  CLSID clsid{};
  expect_hr(CLSIDFromProgID(ids::kProgIdW, &clsid), S_OK, "the programmatic identifier is registered");
  expect(IsEqualCLSID(clsid, ids::kClsid), "it names the class");
  IDispatch* object = nullptr;
  expect_hr(CoCreateInstance(ids::kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                             reinterpret_cast<void**>(&object)),
            S_OK, "CoCreateInstance");
  if (!object) return 1;
  check_record_sizes();
  check_names(object);
  check_records_in(object);
  check_records_out(object);
  object->Release();
  CoUninitialize();
  if (failures) return 1;
  std::printf("RECORDS CLIENT OK\n");
  return 0;
}
