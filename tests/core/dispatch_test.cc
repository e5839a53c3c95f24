#include "core/dispatch.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "core/error_number.h"
#include "core/object.h"

namespace kestrel::core {
namespace {

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

TEST(Dispatch, MembersAreFoundWithoutRegardToCase) {
  Marker m;
  m.put("NAME", Variant("P1"));
  EXPECT_EQ(m.get("name").to_string(), "P1");
  EXPECT_LT(compare_member_names("Add", "addpoint"), 0);
  EXPECT_GT(compare_member_names("b", "A"), 0);
  static constexpr Member<Marker> kFirst[] = {{"Zeta"}, {"alpha"}};
  static constexpr Member<Marker> kSecond[] = {{"Mid"}};
  const MemberTable<Marker> table({std::span<const Member<Marker>>(kFirst), std::span<const Member<Marker>>(kSecond)});
  EXPECT_EQ(table.members()[0].name, "alpha");
  EXPECT_NE(table.find("MID"), nullptr);
  EXPECT_EQ(table.find("Mi"), nullptr);
}

TEST(Dispatch, UnknownOrReadOnlyMemberRaises438NamingIt) {
  Marker m;
  try {
    (void)m.get("Colour");
    ADD_FAILURE();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), kMemberNotSupported);
    EXPECT_EQ(e.source(), "IMarker");
    EXPECT_NE(e.description().find("Colour"), std::string::npos);
  }
  EXPECT_EQ(error_number([&] { (void)m.get("Nam"); }), kMemberNotSupported);
  EXPECT_EQ(error_number([&] { m.put("Count", Variant(1)); }), kMemberNotSupported);
  EXPECT_EQ(error_number([&] { m.put("Reset", Variant(1)); }), kMemberNotSupported);
}

TEST(Dispatch, GetFallsBackToAMethodAndCallToAProperty) {
  Marker m;
  m.x = 4;
  EXPECT_TRUE(m.get("Reset").to_bool());
  EXPECT_EQ(m.x, 0);
  std::array<Variant, 0> none{};
  EXPECT_EQ(m.call("count", none).to_int32(), 0);
  std::array<Variant, 1> one{Variant(1)};
  EXPECT_EQ(error_number([&] { (void)m.call("Count", one); }), kMemberNotSupported);
}

TEST(Dispatch, ArgumentErrorsNameThePosition) {
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
    try {
      (void)m.call("Move", c.args);
      ADD_FAILURE() << c.says;
    } catch (const Error& e) {
      EXPECT_EQ(e.number(), c.number);
      EXPECT_NE(e.description().find(c.says), std::string::npos) << e.description();
    }
  }
  std::array<Variant, 2> big{Variant(1e10), Variant("2")};
  EXPECT_EQ(m.call("Move", big).to_double(), 1e10 + 2);
}

TEST(Obj, TypedAccessGoesThroughLateBindingAndNothingRaises91) {
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
