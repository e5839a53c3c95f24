// Variants (the conversion matrix: every kind of source value against every
// conversion, each cell a value or the error the run time raises) and late
// binding through member tables.
#include "core/variant.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "core/dispatch.h"
#include "core/error_number.h"
#include "core/object.h"

namespace kestrel::core {
namespace {

using testing_support::caught;
using testing_support::error_number;

// Name (read/write), Count (read-only), Reset (method without arguments),
// Move (method with two Double arguments), Self (object property).
class Marker : public Dispatchable<Marker> {
 public:
  static const MemberTable<Marker>& member_table() {
    static const MemberTable<Marker> table = {
        {"Name", [](Marker& m) { return Variant(m.name); },
         [](Marker& m, const Variant& v) { m.name = v.to_string(); }},
        {"Count", [](Marker& m) { return Variant(m.count); }},
        {"Reset", nullptr, nullptr, [](Marker& m, std::span<Variant>) {
           m.x = 0;
           return Variant(true);
         }},
        {"Move", nullptr, nullptr, [](Marker& m, std::span<Variant> args) {
           const double dx = convert_argument(args, 1, [](const Variant& v) { return v.to_double(); });
           m.x += dx + convert_argument(args, 2, [](const Variant& v) { return v.to_double(); });
           ++m.count;
           return Variant(m.x);
         }},
        {"Self", [](Marker& m) { return Variant(m.shared_from_this()); }},
    };
    return table;
  }
  std::string_view type_name() const override { return "IMarker"; }

  std::string name;
  std::int32_t count = 0;
  double x = 0;
};

// A cell: the value the conversion gives, or the error number it raises.
template <class T>
struct Cell {
  Cell(T v) : value(std::move(v)) {}
  Cell(std::nullopt_t, std::int32_t n) : number(n) {}
  std::optional<T> value;
  std::int32_t number = 0;
};

constexpr std::int32_t k13 = kTypeMismatch;
constexpr std::int32_t k6 = kOverflow;
constexpr std::int32_t k91 = kObjectNotSet;

struct Row {
  std::string name;
  Variant source;
  Cell<bool> to_bool;
  Cell<std::int16_t> to_int16;
  Cell<std::int32_t> to_int32;
  Cell<double> to_double;
  Cell<std::string> to_string;
  std::int32_t to_object_error;  // 0: gives the object it holds
  std::int32_t to_array_error;   // 0: gives an array (checked in its own test)
};

template <class T>
Cell<T> E(std::int32_t number) {
  return {std::nullopt, number};
}

std::vector<Row> matrix() {
  using I16 = std::int16_t;
  using I32 = std::int32_t;
  using S = std::string;
  const auto thing = std::make_shared<Marker>();
  std::vector<Row> rows;
  // One statement per row: one long braced list trips up some compilers.
  const auto add = [&rows](Row row) { rows.push_back(std::move(row)); };
  add({"Empty", Variant(), false, I16(0), 0, 0.0, S(""), k13, k13});
  add({"True", Variant(true), true, I16(-1), -1, -1.0, S("True"), k13, k13});
  add({"False", Variant(false), false, I16(0), 0, 0.0, S("False"), k13, k13});
  add({"Integer 7", Variant(I16(7)), true, I16(7), 7, 7.0, S("7"), k13, k13});
  add({"Long 40000", Variant(I32(40000)), true, E<I16>(k6), 40000, 40000.0, S("40000"), k13, k13});
  add({"Double 2.5", Variant(2.5), true, I16(2), 2, 2.5, S("2.5"), k13, k13});
  add({"Double 3.5", Variant(3.5), true, I16(4), 4, 3.5, S("3.5"), k13, k13});
  add({"Double 32767.5", Variant(32767.5), true, E<I16>(k6), 32768, 32767.5, S("32767.5"), k13, k13});
  add({"Double 1e10", Variant(1e10), true, E<I16>(k6), E<I32>(k6), 1e10, S("10000000000"), k13, k13});
  add({"String 12.5", Variant("12.5"), true, I16(12), 12, 12.5, S("12.5"), k13, k13});
  add({"String blanks", Variant(" 2.5 "), true, I16(2), 2, 2.5, S(" 2.5 "), k13, k13});
  add({"String 40000", Variant("40000"), true, E<I16>(k6), 40000, 40000.0, S("40000"), k13, k13});
  add({"String hex", Variant("&HFFFF"), true, I16(-1), -1, -1.0, S("&HFFFF"), k13, k13});
  add({"String -1e-400", Variant("-1e-400"), false, I16(0), 0, 0.0, S("-1e-400"), k13, k13});
  add({"String 1e400", Variant("1e400"), E<bool>(k6), E<I16>(k6), E<I32>(k6), E<double>(k6), S("1e400"), k13, k13});
  add({"String abc", Variant("abc"), E<bool>(k13), E<I16>(k13), E<I32>(k13), E<double>(k13), S("abc"), k13, k13});
  add({"String comma", Variant("1,5"), E<bool>(k13), E<I16>(k13), E<I32>(k13), E<double>(k13), S("1,5"), k13, k13});
  add({"String True", Variant("True"), true, E<I16>(k13), E<I32>(k13), E<double>(k13), S("True"), k13, k13});
  add({"String fALSE", Variant("fALSE"), false, E<I16>(k13), E<I32>(k13), E<double>(k13), S("fALSE"), k13, k13});
  add({"String #TRUE#", Variant("#TRUE#"), true, E<I16>(k13), E<I32>(k13), E<double>(k13), S("#TRUE#"), k13, k13});
  add({"String #True#", Variant("#True#"), E<bool>(k13), E<I16>(k13), E<I32>(k13), E<double>(k13), S("#True#"), k13, k13});
  add({"String Verdadero", Variant("Verdadero"), true, E<I16>(k13), E<I32>(k13), E<double>(k13), S("Verdadero"), k13, k13});
  add({"String True padded", Variant(" True"), E<bool>(k13), E<I16>(k13), E<I32>(k13), E<double>(k13), S(" True"), k13, k13});
  add({"Object", Variant(thing), E<bool>(k13), E<I16>(k13), E<I32>(k13), E<double>(k13), E<S>(k13), 0, k13});
  add({"Nothing", Variant(ObjectRef()), E<bool>(k91), E<I16>(k91), E<I32>(k91), E<double>(k91), E<S>(k91), 0, k13});
  add({"Double()", Variant(VbArray<double>(1, {1.5, 2.5})), E<bool>(k13), E<I16>(k13), E<I32>(k13), E<double>(k13), E<S>(k13), k13, 0});
  add({"Long()", Variant(VbArray<I32>(0, {5})), E<bool>(k13), E<I16>(k13), E<I32>(k13), E<double>(k13), E<S>(k13), k13, 0});
  add({"String()", Variant(VbArray<S>(0, {S("1")})), E<bool>(k13), E<I16>(k13), E<I32>(k13), E<double>(k13), E<S>(k13), k13, k13});
  add({"Variant()", Variant(VbArray<Variant>(0, {Variant(1.0)})), E<bool>(k13), E<I16>(k13), E<I32>(k13), E<double>(k13), E<S>(k13), k13, 0});
  add({"Variant() text", Variant(VbArray<Variant>(0, {Variant("x")})), E<bool>(k13), E<I16>(k13), E<I32>(k13), E<double>(k13), E<S>(k13), k13, k13});
  add({"Variant() Nothing", Variant(VbArray<Variant>(0, {Variant(ObjectRef())})), E<bool>(k13), E<I16>(k13), E<I32>(k13), E<double>(k13), E<S>(k13), k13, k91});
  add({"Object()", Variant(VbArray<ObjectRef>(0, {thing})), E<bool>(k13), E<I16>(k13), E<I32>(k13), E<double>(k13), E<S>(k13), k13, k13});
  return rows;
}

template <class T, class F>
void check(const std::string& row, const char* column, const Cell<T>& cell, F&& convert) {
  SCOPED_TRACE(row + " -> " + column);
  if (cell.value) {
    T got{};
    EXPECT_EQ(error_number([&] { got = convert(); }), 0);
    EXPECT_EQ(got, *cell.value);
  } else {
    EXPECT_EQ(error_number([&] { (void)convert(); }), cell.number);
  }
}

TEST(VariantMatrix, EverySourceAgainstEveryConversionThenTypesAndNames) {
  for (const Row& r : matrix()) {
    const Variant& v = r.source;
    check(r.name, "to_bool", r.to_bool, [&] { return v.to_bool(); });
    check(r.name, "to_int16", r.to_int16, [&] { return v.to_int16(); });
    check(r.name, "to_int32", r.to_int32, [&] { return v.to_int32(); });
    check(r.name, "to_double", r.to_double, [&] { return v.to_double(); });
    check(r.name, "to_string", r.to_string, [&] { return v.to_string(); });
    EXPECT_EQ(error_number([&] { (void)v.to_object(); }), r.to_object_error) << r.name << " -> to_object";
    EXPECT_EQ(error_number([&] { (void)v.to_double_array(); }), r.to_array_error) << r.name << " -> to_double_array";
  }
  // Array conversions keep bounds and values; types, names and typed access.
  const VbArray<double> from_variants =
      Variant(VbArray<Variant>(3, {Variant(std::int16_t(1)), Variant("2.5"), Variant(true)})).to_double_array();
  EXPECT_EQ(from_variants, VbArray<double>(3, {1.0, 2.5, -1.0}));
  EXPECT_EQ(Variant(VbArray<std::int32_t>(-1, {7, 8})).to_double_array(), VbArray<double>(-1, {7.0, 8.0}));
  EXPECT_FALSE(Variant(VbArray<Variant>()).to_double_array().allocated());
  EXPECT_EQ(Variant(1).type(), VarType::kLong);  // a C++ int is a Long, not an Integer
  EXPECT_EQ(type_name(Variant(VbArray<Variant>()).type()), "Variant()");
  EXPECT_TRUE(Variant(false).is_numeric());  // a Boolean counts as a number
  EXPECT_FALSE(Variant("1").is_numeric());
  EXPECT_EQ(error_number([] { (void)Variant("abc").as<double>(); }), kTypeMismatch);
}

// An unknown or read-only member raises 438 naming it; get falls back to a
// method without arguments and call to a property.
TEST(Dispatch, MembersAreFoundByKindOrRaise438NamingThem) {
  Marker m;
  const Error e = caught([&] { (void)m.get("Colour"); });
  EXPECT_EQ(std::tuple(e.number(), e.source()), std::tuple(kMemberNotSupported, "IMarker"));
  EXPECT_NE(e.description().find("Colour"), std::string::npos);
  EXPECT_EQ(error_number([&] { (void)m.get("Nam"); }), kMemberNotSupported);
  EXPECT_EQ(error_number([&] { m.put("Count", Variant(1)); }), kMemberNotSupported);
  EXPECT_EQ(error_number([&] { m.put("Reset", Variant(1)); }), kMemberNotSupported);
  m.x = 4;
  EXPECT_TRUE(m.get("Reset").to_bool());
  EXPECT_EQ(m.x, 0);
  std::array<Variant, 0> none{};
  EXPECT_EQ(m.call("count", none).to_int32(), 0);
  std::array<Variant, 1> one{Variant(1)};
  EXPECT_EQ(error_number([&] { (void)m.call("Count", one); }), kMemberNotSupported);
}

TEST(Dispatch, ArgumentErrorsNameThePositionAndObjGoesThroughLateBinding) {
  const struct {
    std::vector<Variant> args;
    std::int32_t number;
    const char* says;
  } cases[] = {
      {{Variant("abc"), Variant(1.0)}, kTypeMismatch, "argumento 1"},
      {{Variant(1.0), Variant(ObjectRef())}, kObjectNotSet, "argumento 2"},
      {{Variant(1.0)}, kArgumentNotOptional, "argumento 2"},
  };
  Marker m;
  for (auto c : cases) {
    const Error e = caught([&] { (void)m.call("Move", c.args); });
    EXPECT_EQ(e.number(), c.number);
    EXPECT_NE(e.description().find(c.says), std::string::npos) << e.description();
  }
  std::array<Variant, 2> big{Variant(1e10), Variant("2")};
  EXPECT_EQ(m.call("Move", big).to_double(), 1e10 + 2);
  // Obj's typed access goes through late binding; Nothing raises 91.
  auto marker = std::make_shared<Marker>();
  const Obj obj(marker);
  obj["Name"] = Variant("Cota");
  EXPECT_EQ(marker->name, "Cota");
  EXPECT_EQ(obj.call("Move", 1.5, 2).to_double(), 3.5);
  EXPECT_EQ(Variant(obj["NAME"]).to_string(), "Cota");
  EXPECT_EQ(obj["Self"].object(), obj);
  EXPECT_EQ(error_number([&] { (void)obj.object("Name"); }), kTypeMismatch);
  const Obj nothing;
  EXPECT_FALSE(nothing);
  EXPECT_EQ(error_number([&] { nothing.put("Name", Variant("x")); }), kObjectNotSet);
  EXPECT_EQ(error_number([&] { (void)nothing.get("Name"); }), kObjectNotSet);
  EXPECT_EQ(error_number([&] { nothing["Name"] = Variant("x"); }), kObjectNotSet);
}

}  // namespace
}  // namespace kestrel::core
