// Member lookup by name: any case finds the member, nothing else does.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "core/dispatch.h"

namespace kestrel::core {
namespace {

struct Thing {};

TEST(MemberTable, FindsEveryMemberInAnyCaseAndNothingElse) {
  // Enough names that many share a hash slot; "Item" comes twice.
  std::vector<std::string> names = {"Item", "ITEM", "Count", "x"};
  for (int i = 0; i < 300; ++i) names.push_back("Member" + std::to_string(i * 7919 % 1000));
  names.push_back(std::string(64, 'L'));
  std::vector<Member<Thing>> members;
  for (const std::string& name : names) members.push_back({name});
  const MemberTable<Thing> table(std::initializer_list<std::span<const Member<Thing>>>{members});

  for (std::size_t i = 1; i < names.size(); ++i) {
    std::string upper = names[i], lower = names[i];
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const std::string& asked : {names[i], upper, lower}) {
      const Member<Thing>* found = table.find(asked);
      ASSERT_NE(found, nullptr) << asked;
      // The same data as the name given: the member, not a copy of its name.
      EXPECT_EQ(found->name.data(), i == 1 ? names[0].data() : names[i].data()) << asked;
    }
  }
  for (const std::string& asked :
       std::vector<std::string>{"", "Ite", "Items", "Member1000", "Member 1", std::string(65, 'L'), "y"}) {
    EXPECT_EQ(table.find(asked), nullptr) << asked;
  }
}

}  // namespace
}  // namespace kestrel::core
