// VARIANT and BSTR conversions, and late binding both ways between
// core::Object and IDispatch (ObjectDispatch served, DispatchObject called).
#include <cstdio>
#include <cstring>
#include <string>

#include "cad/dispatch/com_variant.h"
#include "cad/dispatch/dispatch_object.h"
#include "cad/dispatch/object_dispatch.h"
#include "check.h"
#include "core/dispatch.h"

namespace {

using namespace kestrel;
using core::Variant;
using core::VbArray;
using wintest::error_of;
using wintest::raised;

// A served object: a property, a method that writes back into its argument,
// one that checks its second argument, one that fails.
class Gauge final : public core::Dispatchable<Gauge> {
 public:
  double level = 2;
  static const core::MemberTable<Gauge>& member_table() {
    static const core::MemberTable<Gauge> table{
        {"Level", [](Gauge& g) { return Variant(g.level); }, [](Gauge& g, const Variant& v) { g.level = v.to_double(); }},
        {"Raise", nullptr, nullptr,
         [](Gauge&, std::span<Variant> a) {
           a[0] = Variant(a[0].to_double() + 1);
           return Variant();
         }},
        {"Scale", nullptr, nullptr,
         [](Gauge&, std::span<Variant> a) {
           const double by = core::convert_argument(a, 2, [](const Variant& v) { return v.to_double(); });
           return Variant(a[0].to_double() * by);
         }},
        {"Jam", nullptr, nullptr,
         [](Gauge&, std::span<Variant>) -> Variant { throw core::Error(1234, "Gauge", "atasco en la válvula"); }},
    };
    return table;
  }
  [[nodiscard]] std::string_view type_name() const override { return "Gauge"; }
};

bool bstr_is(BSTR b, const wchar_t* expected) {
  return SysStringLen(b) == std::wcslen(expected) && std::wmemcmp(b, expected, std::wcslen(expected)) == 0;
}

void strings() {
  // UTF-16 written by hand: n-tilde, euro, U+1F600 as a surrogate pair.
  struct Case {
    const char* utf8;
    const wchar_t* utf16;
  } cases[] = {{"", L""}, {"\xC3\xB1" "a \xE2\x82\xAC", L"\x00F1" L"a \x20AC"}, {"\xF0\x9F\x98\x80", L"\xD83D\xDE00"}};
  for (const Case& c : cases) {
    BSTR b = win32::to_bstr(c.utf8);
    CHECK(bstr_is(b, c.utf16));
    CHECK(win32::from_bstr(b) == c.utf8);
    SysFreeString(b);
  }
  BSTR stray = win32::to_bstr("\x80");  // a stray byte reads as Windows-1252
  CHECK(bstr_is(stray, L"\x20AC"));
  SysFreeString(stray);
  BSTR lone = SysAllocStringLen(L"\xD800x", 2);
  CHECK(win32::from_bstr(lone) == "\xEF\xBF\xBDx");
  SysFreeString(lone);
  CHECK(win32::from_bstr(nullptr).empty());
}

void round_trips() {
  const Variant values[] = {
      Variant(), Variant(true), Variant(std::int16_t{-7}), Variant(std::int32_t{70000}), Variant(2.5),
      Variant("a\xC3\xB1o"), Variant(VbArray<double>(-1, {1.5, 2.5, 3.5})),
      Variant(VbArray<double>(1, std::vector<double>{})),  // allocated, no items
      Variant(VbArray<double>()),                          // unallocated
      Variant(VbArray<std::int16_t>(0, {1, 2})), Variant(VbArray<std::int32_t>(5, {100000})),
      Variant(VbArray<std::string>(1, {"x", "\xC3\xB1"})),
      Variant(VbArray<Variant>(0, {Variant(1.0), Variant("t"), Variant(VbArray<double>(2, {4.0}))}))};
  for (const Variant& v : values) {
    VARIANT com;
    win32::to_variant(v, com);
    CHECK(win32::from_variant(com) == v);
    VariantClear(&com);
  }
  VARIANT array;
  win32::to_variant(Variant(VbArray<double>(-1, {1.5, 2.5})), array);
  LONG lbound = 0, ubound = 0;
  SafeArrayGetLBound(V_ARRAY(&array), 1, &lbound);
  SafeArrayGetUBound(V_ARRAY(&array), 1, &ubound);
  CHECK(V_VT(&array) == (VT_ARRAY | VT_R8) && lbound == -1 && ubound == 0);
  VariantClear(&array);
}

// Values as a script or a compiled client sends them, built by hand.
void foreign_values() {
  SAFEARRAY* script_array = SafeArrayCreateVector(VT_VARIANT, 0, 2);
  VARIANT* items = nullptr;
  SafeArrayAccessData(script_array, reinterpret_cast<void**>(&items));
  V_VT(&items[0]) = VT_I2, V_I2(&items[0]) = 3;
  V_VT(&items[1]) = VT_R4, V_R4(&items[1]) = 0.5f;
  SafeArrayUnaccessData(script_array);
  VARIANT held;
  V_VT(&held) = VT_ARRAY | VT_VARIANT, V_ARRAY(&held) = script_array;
  VARIANT by_ref;
  V_VT(&by_ref) = VT_BYREF | VT_VARIANT, V_VARIANTREF(&by_ref) = &held;
  const Variant read = win32::from_variant(by_ref);
  CHECK(read == Variant(VbArray<Variant>(0, {Variant(std::int16_t{3}), Variant(0.5)})));
  CHECK(read.to_double_array() == VbArray<double>(0, {3.0, 0.5}));

  double number = 4.25;
  VARIANT number_ref;
  V_VT(&number_ref) = VT_BYREF | VT_R8, V_R8REF(&number_ref) = &number;
  CHECK(win32::from_variant(number_ref) == Variant(4.25));
  win32::write_back(Variant(std::int32_t{9}), number_ref);
  CHECK(number == 9.0);
  CHECK(error_of([&] { win32::write_back(Variant("abc"), number_ref); }) == core::kTypeMismatch && number == 9.0);

  win32::write_back(Variant("nuevo"), by_ref);  // the script's array replaced by a string
  CHECK(V_VT(&held) == VT_BSTR && win32::from_bstr(V_BSTR(&held)) == "nuevo");
  VariantClear(&held);

  VARIANT date;
  V_VT(&date) = VT_DATE, V_DATE(&date) = 1.0;
  CHECK(error_of([&] { (void)win32::from_variant(date); }) == core::kTypeMismatch);
  SAFEARRAYBOUND square[2] = {{2, 0}, {2, 0}};
  VARIANT matrix;
  V_VT(&matrix) = VT_ARRAY | VT_R8, V_ARRAY(&matrix) = SafeArrayCreate(VT_R8, 2, square);
  CHECK(error_of([&] { (void)win32::from_variant(matrix); }) == core::kTypeMismatch);
  VariantClear(&matrix);
}


void late_binding() {
  auto gauge = std::make_shared<Gauge>();
  IDispatch* served = win32::unwrap_dispatch(core::Obj(gauge));
  // Called through a DispatchObject, as another module would see it.
  core::Obj remote(std::make_shared<win32::DispatchObject>(served, std::make_shared<win32::DispidCache>()));
  CHECK(remote.get("LEVEL") == Variant(2.0));
  remote.put("level", Variant(std::int16_t{5}));
  CHECK(gauge->level == 5.0);
  std::array<Variant, 1> by_reference{Variant(std::int32_t{7})};
  remote.call_with("Raise", by_reference);
  CHECK(by_reference[0] == Variant(8.0));
  CHECK(remote.call("Scale", 2.0, 3.0) == Variant(6.0));

  const core::Error mismatch = raised([&] { (void)remote.call("Scale", 2.0, "tres"); });
  CHECK(mismatch.number() == core::kTypeMismatch && mismatch.description().find("argumento 2") != std::string::npos);
  const core::Error jam = raised([&] { (void)remote.call("Jam"); });
  CHECK(jam.number() == 1234 && jam.source() == "Gauge" && jam.description() == "atasco en la válvula");
  CHECK(error_of([&] { (void)remote.get("Pressure"); }) == core::kMemberNotSupported);

  // A value this side cannot read is refused with its position (rgvarg is reversed).
  DISPID scale = 0;
  wchar_t name[] = L"Scale";
  LPOLESTR names[] = {name};
  served->GetIDsOfNames(IID_NULL, names, 1, 0, &scale);
  VARIANT args[2];
  V_VT(&args[0]) = VT_DATE, V_DATE(&args[0]) = 1.0;  // the second argument
  V_VT(&args[1]) = VT_R8, V_R8(&args[1]) = 1.0;
  DISPPARAMS params{args, nullptr, 2, 0};
  UINT bad = 99;
  CHECK(served->Invoke(scale, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, &bad) == DISP_E_TYPEMISMATCH);
  CHECK(bad == 0);

  // Our own object comes back as itself; a DispatchObject gives its IDispatch.
  CHECK(win32::wrap_dispatch(served).ref() == gauge);
  IDispatch* again = win32::unwrap_dispatch(remote);
  CHECK(again == served);
  again->Release();
  served->Release();
}

// An object of a type with type information (the GUID of stdole's Font
// dispatch interface), passing its calls on to `inner` and counting the
// name look-ups that reach it.
class TypedForwarder final : public IDispatch {
 public:
  TypedForwarder(IDispatch* inner, ITypeInfo* type, int& lookups) : inner_(inner), type_(type), lookups_(lookups) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    const bool known = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch);
    *out = known ? static_cast<IDispatch*>(this) : nullptr;
    return known ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives on the test's stack
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return *count = type_ ? 1 : 0, S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (type_) type_->AddRef();
    *info = type_;
    return type_ ? S_OK : DISP_E_BADINDEX;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override {
    ++lookups_;
    return inner_->GetIDsOfNames(iid, names, count, lcid, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* exception, UINT* bad) override {
    return inner_->Invoke(id, iid, lcid, flags, params, result, exception, bad);
  }

 private:
  IDispatch* inner_;
  ITypeInfo* type_;
  int& lookups_;
};

// Names are looked up once per type (of objects that share a cache), and
// once per object for objects without type information.
void names_once_per_type() {
  ITypeLib* stdole = nullptr;
  ITypeInfo* font = nullptr;
  CHECK(SUCCEEDED(LoadTypeLib(L"stdole2.tlb", &stdole)));
  if (!stdole) return;
  const GUID font_dispatch = {0xBEF6E003, 0xA874, 0x101A, {0x8B, 0xBA, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};
  CHECK(SUCCEEDED(stdole->GetTypeInfoOfGuid(font_dispatch, &font)));
  if (!font) return;
  // An ObjectDispatch hands out identifiers in the order asked: two of them
  // asked for "Level" first agree on it, as two objects of one type do.
  IDispatch* first_inner = win32::unwrap_dispatch(core::Obj(std::make_shared<Gauge>()));
  IDispatch* second_inner = win32::unwrap_dispatch(core::Obj(std::make_shared<Gauge>()));
  wchar_t level[] = L"Level";
  LPOLESTR names[] = {level};
  DISPID id = 0;
  first_inner->GetIDsOfNames(IID_NULL, names, 1, 0, &id);
  second_inner->GetIDsOfNames(IID_NULL, names, 1, 0, &id);
  int typed_lookups = 0;
  TypedForwarder first(first_inner, font, typed_lookups);
  TypedForwarder second(second_inner, font, typed_lookups);
  const auto cache = std::make_shared<win32::DispidCache>();
  core::Obj a(std::make_shared<win32::DispatchObject>(&first, cache));
  core::Obj b(std::make_shared<win32::DispatchObject>(&second, cache));
  (void)a.get("Level");
  (void)a.get("LEVEL");
  (void)b.get("level");
  CHECK(typed_lookups == 1);
  CHECK(a.target().type_name() == "Font");

  int untyped_lookups = 0;
  TypedForwarder third(first_inner, nullptr, untyped_lookups);
  TypedForwarder fourth(second_inner, nullptr, untyped_lookups);
  core::Obj c(std::make_shared<win32::DispatchObject>(&third, cache));
  core::Obj d(std::make_shared<win32::DispatchObject>(&fourth, cache));
  (void)c.get("Level");
  (void)c.get("level");
  (void)d.get("Level");
  CHECK(untyped_lookups == 2);
  first_inner->Release();
  second_inner->Release();
  font->Release();
  stdole->Release();
}

void error_numbers() {
  const std::pair<HRESULT, std::int32_t> cases[] = {
      {MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 91), 91},
      {DISP_E_TYPEMISMATCH, 13},
      {DISP_E_MEMBERNOTFOUND, 438},
      {DISP_E_PARAMNOTOPTIONAL, 449},
      {E_FAIL, -2147467259},
  };
  for (const auto& [hr, number] : cases) CHECK(win32::error_number(hr) == number);
}

}  // namespace

int main() {
  CoInitialize(nullptr);
  for (void (*group)() : {strings, round_trips, foreign_values, late_binding, names_once_per_type, error_numbers}) {
    try {
      group();
    } catch (const core::Error& e) {
      wintest::fail(__FILE__, __LINE__, e.description().c_str());
    }
  }
  CoUninitialize();
  std::printf("variant_test: %d failure(s)\n", wintest::failures());
  return wintest::failures();
}
