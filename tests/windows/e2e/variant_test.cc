// VARIANT and BSTR conversions, and late binding both ways between
// core::Object and IDispatch (ObjectDispatch served, DispatchObject called).
#include <olectl.h>

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
using wintest::id_of;
using wintest::raised;
using wintest::variant;

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
  VARIANT held = variant(VT_ARRAY | VT_VARIANT, script_array);
  VARIANT by_ref = variant(VT_BYREF | VT_VARIANT, &held);
  const Variant read = win32::from_variant(by_ref);
  CHECK(read == Variant(VbArray<Variant>(0, {Variant(std::int16_t{3}), Variant(0.5)})));
  CHECK(read.to_double_array() == VbArray<double>(0, {3.0, 0.5}));

  double number = 4.25;
  VARIANT number_ref = variant(VT_BYREF | VT_R8, &number);
  CHECK(win32::from_variant(number_ref) == Variant(4.25));
  win32::write_back(Variant(std::int32_t{9}), number_ref);
  CHECK(number == 9.0);
  CHECK(error_of([&] { win32::write_back(Variant("abc"), number_ref); }) == core::kTypeMismatch && number == 9.0);

  win32::write_back(Variant("nuevo"), by_ref);  // the script's array replaced by a string
  CHECK(V_VT(&held) == VT_BSTR && win32::from_bstr(V_BSTR(&held)) == "nuevo");
  VariantClear(&held);

  const VARIANT date = variant(VT_DATE, 1.0);
  CHECK(error_of([&] { (void)win32::from_variant(date); }) == core::kTypeMismatch);
  SAFEARRAYBOUND square[2] = {{2, 0}, {2, 0}};
  VARIANT matrix = variant(VT_ARRAY | VT_R8, SafeArrayCreate(VT_R8, 2, square));
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
  VARIANT args[2] = {variant(VT_DATE, 1.0), variant(VT_R8, 1.0)};  // the date is the second argument
  DISPPARAMS params{args, nullptr, 2, 0};
  UINT bad = 99;
  const DISPID scale = id_of(served, L"Scale");
  CHECK(served->Invoke(scale, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, &bad) == DISP_E_TYPEMISMATCH);
  CHECK(bad == 0);

  // Our own object comes back as itself; a DispatchObject gives its IDispatch.
  CHECK(win32::wrap_dispatch(served).ref() == gauge);
  IDispatch* again = win32::unwrap_dispatch(remote);
  CHECK(again == served);
  again->Release();
  served->Release();
}

// Objects with type information are named by it and share their type's
// member numbers; objects without keep their own: two of our objects that
// numbered their members in another order are each called by their own.
void numbers_per_type() {
  FONTDESC arial{sizeof(FONTDESC), const_cast<LPOLESTR>(L"Arial"), {{120000, 0}}, FW_BOLD, ANSI_CHARSET,
                 FALSE, FALSE, FALSE};
  IDispatch* font = nullptr;
  CHECK(SUCCEEDED(OleCreateFontIndirect(&arial, IID_IDispatch, reinterpret_cast<void**>(&font))));
  if (!font) return;
  const auto cache = std::make_shared<win32::DispidCache>();
  core::Obj typed(std::make_shared<win32::DispatchObject>(font, cache));
  font->Release();
  CHECK(typed.target().type_name() == "Font");
  typed.put("italic", Variant(true));
  CHECK(typed.get("BOLD") == Variant(true) && typed.get("Italic") == Variant(true));

  auto gauge = std::make_shared<Gauge>();
  gauge->level = 7;
  IDispatch* first = win32::unwrap_dispatch(core::Obj(std::make_shared<Gauge>()));
  IDispatch* second = win32::unwrap_dispatch(core::Obj(gauge));
  (void)id_of(second, L"Scale");  // "Scale" takes the first number there
  core::Obj a(std::make_shared<win32::DispatchObject>(first, cache));
  core::Obj b(std::make_shared<win32::DispatchObject>(second, cache));
  CHECK(a.get("Level") == Variant(2.0) && b.get("Level") == Variant(7.0));
  first->Release();
  second->Release();
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
  for (void (*group)() : {strings, round_trips, foreign_values, late_binding, numbers_per_type, error_numbers}) {
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
