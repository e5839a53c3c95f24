#include "core/dispatch.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>

#include "core/error_number.h"
#include "core/object.h"

namespace kestrel::core {
namespace {

using testing_support::error_number;

// A small late-bound object: Name (read/write), Count (read-only), X
// (read/write Double), Reset (method without arguments), Move (method with
// two Double arguments), Self (object property).
class Marker : public Dispatchable<Marker> {
 public:
  static const MemberTable<Marker>& member_table() {
    static const MemberTable<Marker> table = {
        {"Name", [](Marker& m) { return Variant(m.name); },
         [](Marker& m, const Variant& v) { m.name = v.to_string(); }},
        {"Count", [](Marker& m) { return Variant(m.count); }},
        {"X", [](Marker& m) { return Variant(m.x); }, [](Marker& m, const Variant& v) { m.x = v.to_double(); }},
        {"Reset", nullptr, nullptr, [](Marker& m, std::span<Variant>) {
           m.x = 0;
           return Variant(true);
         }},
        {"Move", nullptr, nullptr, [](Marker& m, std::span<Variant> args) {
           const double dx = convert_argument(args, 1, [](const Variant& v) { return v.to_double(); });
           const double dy = convert_argument(args, 2, [](const Variant& v) { return v.to_double(); });
           m.x += dx + dy;
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

Error caught(const std::function<void()>& f) {
  try {
    f();
  } catch (const Error& e) {
    return e;
  }
  return Error(0, "", "");
}

TEST(Dispatch, MemberNamesAreCaseInsensitive) {
  Marker m;
  m.put("NAME", Variant("P1"));
  EXPECT_EQ(m.get("name").to_string(), "P1");
  EXPECT_EQ(compare_member_names("Layer", "LAYER"), 0);
  EXPECT_LT(compare_member_names("Add", "addpoint"), 0);
  EXPECT_GT(compare_member_names("b", "A"), 0);
}

TEST(Dispatch, UnknownMemberRaises438NamingTheMember) {
  Marker m;
  const Error e = caught([&] { (void)m.get("Colour"); });
  EXPECT_EQ(e.number(), kMemberNotSupported);
  EXPECT_EQ(e.source(), "IMarker");
  EXPECT_NE(e.description().find("Colour"), std::string::npos);
  EXPECT_EQ(error_number([&] { m.put("Colour", Variant(1)); }), kMemberNotSupported);
  EXPECT_EQ(error_number([&] { (void)m.get("Nam"); }), kMemberNotSupported);
  EXPECT_EQ(error_number([&] { m.put("Count", Variant(1)); }), kMemberNotSupported);  // read-only
  EXPECT_EQ(error_number([&] { m.put("Reset", Variant(1)); }), kMemberNotSupported);
}

TEST(Dispatch, GetFallsBackToAMethodAndCallToAProperty) {
  Marker m;
  m.x = 4;
  EXPECT_TRUE(m.get("Reset").to_bool());  // a method without arguments answers a get
  EXPECT_EQ(m.x, 0);
  std::array<Variant, 0> none{};
  EXPECT_EQ(m.call("count", none).to_int32(), 0);  // a property answers a call without arguments
  std::array<Variant, 1> one{Variant(1)};
  EXPECT_EQ(error_number([&] { (void)m.call("Count", one); }), kMemberNotSupported);
}

TEST(Dispatch, ArgumentErrorsNameThePosition) {
  Marker m;
  std::array<Variant, 2> bad_first{Variant("abc"), Variant(1.0)};
  Error e = caught([&] { (void)m.call("Move", bad_first); });
  EXPECT_EQ(e.number(), kTypeMismatch);
  EXPECT_NE(e.description().find("argumento 1"), std::string::npos) << e.description();

  std::array<Variant, 2> bad_second{Variant(1.0), Variant(ObjectRef())};
  e = caught([&] { (void)m.call("Move", bad_second); });
  EXPECT_EQ(e.number(), kObjectNotSet);
  EXPECT_NE(e.description().find("argumento 2"), std::string::npos) << e.description();

  std::array<Variant, 1> missing{Variant(1.0)};
  e = caught([&] { (void)m.call("Move", missing); });
  EXPECT_EQ(e.number(), kArgumentNotOptional);
  EXPECT_NE(e.description().find("argumento 2"), std::string::npos) << e.description();

  std::array<Variant, 2> big{Variant(1e10), Variant("2")};
  EXPECT_EQ(m.call("Move", big).to_double(), 1e10 + 2);
  EXPECT_EQ(m.count, 1);
}

TEST(Dispatch, MemberTableFromGroups) {
  static constexpr Member<Marker> kFirst[] = {{"Zeta"}, {"alpha"}};
  static constexpr Member<Marker> kSecond[] = {{"Mid"}};
  const MemberTable<Marker> table({std::span<const Member<Marker>>(kFirst), std::span<const Member<Marker>>(kSecond)});
  ASSERT_EQ(table.members().size(), 3u);
  EXPECT_EQ(table.members()[0].name, "alpha");
  EXPECT_EQ(table.members()[2].name, "Zeta");
  EXPECT_NE(table.find("MID"), nullptr);
  EXPECT_EQ(table.find("Mi"), nullptr);
}

TEST(Obj, NullReferenceRaises91) {
  const Obj nothing;
  EXPECT_FALSE(nothing);
  EXPECT_EQ(error_number([&] { (void)nothing.get("Name"); }), kObjectNotSet);
  EXPECT_EQ(error_number([&] { nothing.put("Name", Variant("x")); }), kObjectNotSet);
  EXPECT_EQ(error_number([&] { nothing["Name"] = Variant("x"); }), kObjectNotSet);
  EXPECT_EQ(error_number([&] { (void)nothing.object("Self"); }), kObjectNotSet);
}

TEST(Obj, TypedAccessGoesThroughLateBinding) {
  auto marker = std::make_shared<Marker>();
  const Obj obj(marker);
  obj["Name"] = Variant("Cota");
  EXPECT_EQ(marker->name, "Cota");
  const Variant name = obj["NAME"];
  EXPECT_EQ(name.to_string(), "Cota");
  EXPECT_EQ(obj.call("Move", 1.5, 2).to_double(), 3.5);
  EXPECT_EQ(obj.object("Self"), obj);
  EXPECT_EQ(obj["Self"].object(), obj);
  EXPECT_EQ(error_number([&] { (void)obj.object("Name"); }), kTypeMismatch);  // not an object
}

}  // namespace
}  // namespace kestrel::core
