#include "core/vb_array.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>

#include "core/error_number.h"

namespace kestrel::core {
namespace {

using testing_support::error_number;

TEST(VbArray, AccessIsCheckedAgainstBothBounds) {
  VbArray<std::string> a(1, 3);
  a[3] = "tres";
  EXPECT_EQ(a.size(), 3);
  EXPECT_EQ(std::as_const(a)[3], "tres");
  const VbArray<int> negative(-2, {7, 0, 0, 0, 9});
  EXPECT_EQ(negative[2], 9);
  const VbArray<int> unallocated;
  const VbArray<int> none(0, -1);  // allocated, no items
  EXPECT_TRUE(none.allocated() && none.empty() && none.ubound() == -1);
  EXPECT_NE(none, unallocated);
  EXPECT_NE(VbArray<int>(1, {1, 2}), VbArray<int>(0, {1, 2}));  // equal items, other bounds
  const std::function<void()> out_of_range[] = {
      [&] { (void)a[0]; },        [&] { (void)a[4]; },           [&] { (void)a[INT32_MIN]; },
      [&] { (void)none[0]; },     [&] { (void)unallocated[0]; }, [&] { (void)unallocated.lbound(); },
      [&] { (void)unallocated.ubound(); }, [] { VbArray<int> bad(0, -2); }, [] { VbArray<int> bad(5, 3); },
  };
  for (std::size_t k = 0; k < std::size(out_of_range); ++k) {
    EXPECT_EQ(error_number(out_of_range[k]), kSubscriptOutOfRange) << k;
  }
}

TEST(VbArray, RedimDiscardsRedimPreserveKeepsAppendGrows) {
  VbArray<int> a(1, {10, 0, 30});
  a.redim_preserve(5);
  EXPECT_EQ(a, VbArray<int>(1, {10, 0, 30, 0, 0}));
  a.redim_preserve(0);  // down to no items, still allocated from 1
  EXPECT_EQ(a, VbArray<int>(1, 0));
  EXPECT_EQ(error_number([&] { a.redim_preserve(-1); }), kSubscriptOutOfRange);
  a.redim_preserve(2);
  EXPECT_EQ(a, VbArray<int>(1, {0, 0}));  // items dropped by shrinking do not come back
  a.append(5, 99);
  EXPECT_EQ(a, VbArray<int>(1, {0, 0, 5}));  // the lower bound stays once allocated
  a.redim(0, 1);
  EXPECT_EQ(a, VbArray<int>(0, {0, 0}));
  a.erase();
  EXPECT_EQ(a, VbArray<int>());
  a.redim_preserve(4, 1);  // unallocated: the new lower bound
  EXPECT_EQ(a.lbound(), 1);
  VbArray<int> last(INT32_MAX, {1});
  EXPECT_EQ(error_number([&] { last.append(2); }), kOverflow);
  // Room is counted in 32 bits: more is refused before anything is allocated.
  VbArray<char> huge;
  if constexpr (sizeof(std::size_t) > 4) {
    EXPECT_THROW(huge.reserve(std::size_t{1} << 32), std::bad_alloc);
  }
}

// An item whose copy fails on demand.
struct Fragile {
  static inline int copies_left = -1;  // < 0: no limit
  int value = 0;
  Fragile() = default;
  Fragile(int v) : value(v) {}  // implicit: the lists below are of ints
  Fragile(const Fragile& other) : value(other.value) {
    if (copies_left == 0) throw std::runtime_error("copy");
    if (copies_left > 0) --copies_left;
  }
  Fragile& operator=(const Fragile&) = default;
  friend bool operator==(const Fragile&, const Fragile&) = default;
};

// Copies share their items until one side changes: whichever side changes,
// and however, the other keeps what it held, and a change that fails keeps both.
TEST(VbArray, ACopyAndItsOriginalChangeIndependentlyOrNotAtAll) {
  using Change = void (*)(VbArray<std::string>&);
  const Change changes[] = {
      [](VbArray<std::string>& a) { a[2] = "x"; },
      [](VbArray<std::string>& a) { a.items()[0] = "x"; },
      [](VbArray<std::string>& a) { a.append("x"); },
      [](VbArray<std::string>& a) { a.redim_preserve(1); },
      [](VbArray<std::string>& a) { a.redim_preserve(5), a[5] = "x"; },
      [](VbArray<std::string>& a) { a.reserve(100), a[1] = "x"; },
      [](VbArray<std::string>& a) { a.redim(1, 3); },
      [](VbArray<std::string>& a) { a.erase(); },
      [](VbArray<std::string>& a) { a = VbArray<std::string>(0, {"x"}); },
  };
  for (std::size_t k = 0; k < std::size(changes); ++k) {
    for (const bool change_the_copy : {false, true}) {
      VbArray<std::string> original(1, {"a", "b", "c"}), copy = original;
      VbArray<std::string>& changed = change_the_copy ? copy : original;
      const VbArray<std::string>& kept = change_the_copy ? original : copy;
      changes[k](changed);
      EXPECT_EQ(kept, VbArray<std::string>(1, {"a", "b", "c"})) << k << change_the_copy;
      EXPECT_NE(changed, kept) << k << change_the_copy;
    }
  }
  // So do copies of records holding arrays.
  VbArray<VbArray<int>> outer(1, 2);
  outer[1] = VbArray<int>(0, {1, 2});
  const VbArray<VbArray<int>> copy = outer;
  outer[1][0] = 9;
  outer[2].append(5);
  EXPECT_EQ(copy, (VbArray<VbArray<int>>(1, {VbArray<int>(0, {1, 2}), VbArray<int>()})));
  EXPECT_EQ(std::as_const(outer)[1], VbArray<int>(0, {9, 2}));
  // A change that cannot copy the shared items changes nothing.
  const VbArray<Fragile> fragile(1, {1, 2, 3});
  VbArray<Fragile> fragile_copy = fragile;
  Fragile::copies_left = 1;
  EXPECT_THROW(fragile_copy[1] = Fragile(7), std::runtime_error);
  Fragile::copies_left = -1;
  EXPECT_EQ(fragile_copy, fragile);
  fragile_copy[1] = Fragile(7);
  EXPECT_EQ(std::pair(fragile, fragile_copy),
            std::pair(VbArray<Fragile>(1, {1, 2, 3}), VbArray<Fragile>(1, {7, 2, 3})));
}

}  // namespace
}  // namespace kestrel::core
