#include "core/vb_array.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/error_number.h"

namespace kestrel::core {
namespace {

using testing_support::error_number;

TEST(VbArray, UnallocatedHasNoBounds) {
  VbArray<int> a;
  EXPECT_FALSE(a.allocated());
  EXPECT_EQ(a.size(), 0);
  EXPECT_FALSE(a.contains(0));
  EXPECT_EQ(error_number([&] { (void)a.lbound(); }), kSubscriptOutOfRange);
  EXPECT_EQ(error_number([&] { (void)a.ubound(); }), kSubscriptOutOfRange);
  EXPECT_EQ(error_number([&] { (void)a[0]; }), kSubscriptOutOfRange);
}

TEST(VbArray, AccessIsCheckedAgainstBothBounds) {
  VbArray<std::string> a(1, 3);
  EXPECT_EQ(a.lbound(), 1);
  EXPECT_EQ(a.ubound(), 3);
  EXPECT_EQ(a.size(), 3);
  a[1] = "uno";
  a[3] = "tres";
  EXPECT_EQ(a[1], "uno");
  EXPECT_EQ(a[2], "");
  EXPECT_EQ(error_number([&] { (void)a[0]; }), kSubscriptOutOfRange);
  EXPECT_EQ(error_number([&] { (void)a[4]; }), kSubscriptOutOfRange);
  EXPECT_EQ(error_number([&] { (void)a[INT32_MIN]; }), kSubscriptOutOfRange);
  const VbArray<std::string>& c = a;
  EXPECT_EQ(c[3], "tres");
  EXPECT_EQ(error_number([&] { (void)c[-1]; }), kSubscriptOutOfRange);
}

TEST(VbArray, NegativeAndEmptyBounds) {
  VbArray<int> a(-2, 2);
  a[-2] = 7;
  EXPECT_EQ(a.items().front(), 7);
  EXPECT_EQ(a.size(), 5);

  VbArray<int> none(0, -1);  // allocated, no items
  EXPECT_TRUE(none.allocated());
  EXPECT_EQ(none.lbound(), 0);
  EXPECT_EQ(none.ubound(), -1);
  EXPECT_TRUE(none.empty());
  EXPECT_EQ(error_number([&] { (void)none[0]; }), kSubscriptOutOfRange);
  EXPECT_EQ(error_number([] { VbArray<int> bad(0, -2); }), kSubscriptOutOfRange);
  EXPECT_EQ(error_number([] { VbArray<int> bad(5, 3); }), kSubscriptOutOfRange);
}

TEST(VbArray, RedimDiscardsRedimPreserveKeeps) {
  VbArray<int> a(1, 3);
  a[1] = 10;
  a[3] = 30;
  a.redim_preserve(5);
  EXPECT_EQ(a.lbound(), 1);
  EXPECT_EQ(a.ubound(), 5);
  EXPECT_EQ(a[1], 10);
  EXPECT_EQ(a[3], 30);
  EXPECT_EQ(a[5], 0);
  a.redim_preserve(2);
  EXPECT_EQ(a.ubound(), 2);
  EXPECT_EQ(a[1], 10);
  EXPECT_EQ(error_number([&] { (void)a[3]; }), kSubscriptOutOfRange);
  a.redim_preserve(0);  // down to no items, still allocated from 1
  EXPECT_TRUE(a.allocated());
  EXPECT_EQ(a.size(), 0);
  EXPECT_EQ(error_number([&] { a.redim_preserve(-1); }), kSubscriptOutOfRange);
  a.redim_preserve(3);
  EXPECT_EQ(a[1], 0);  // items dropped by shrinking do not come back

  a.redim(0, 1);
  EXPECT_EQ(a.lbound(), 0);
  EXPECT_EQ(a[0], 0);
  EXPECT_EQ(a[1], 0);
}

TEST(VbArray, RedimPreserveOfUnallocatedUsesTheNewLowerBound) {
  VbArray<int> a;
  a.redim_preserve(4, 1);
  EXPECT_EQ(a.lbound(), 1);
  EXPECT_EQ(a.ubound(), 4);
  a.redim_preserve(6, 99);  // the lower bound stays once allocated
  EXPECT_EQ(a.lbound(), 1);
}

TEST(VbArray, AppendMovesTheUpperBound) {
  VbArray<int> a;
  a.append(5, 1);
  a.append(6, 99);
  EXPECT_EQ(a.lbound(), 1);
  EXPECT_EQ(a.ubound(), 2);
  EXPECT_EQ(a[2], 6);

  VbArray<int> last(INT32_MAX, {1});
  EXPECT_EQ(last.ubound(), INT32_MAX);
  EXPECT_EQ(error_number([&] { last.append(2); }), kOverflow);
}

TEST(VbArray, EraseReturnsToUnallocated) {
  VbArray<int> a(1, {1, 2, 3});
  a.erase();
  EXPECT_FALSE(a.allocated());
  EXPECT_EQ(error_number([&] { (void)a.ubound(); }), kSubscriptOutOfRange);
  EXPECT_EQ(a, VbArray<int>());
}

TEST(VbArray, EqualityComparesBoundsAndItems) {
  EXPECT_EQ(VbArray<int>(1, {1, 2}), VbArray<int>(1, {1, 2}));
  EXPECT_NE(VbArray<int>(1, {1, 2}), VbArray<int>(0, {1, 2}));
  EXPECT_NE(VbArray<int>(1, {1, 2}), VbArray<int>(1, {1, 3}));
  EXPECT_NE(VbArray<int>(0, -1), VbArray<int>());  // allocated without items is not unallocated
}

std::vector<std::string> listed(const VbArray<std::string>& a) { return {a.items().begin(), a.items().end()}; }

// Copies share their items until one side changes: whichever side changes,
// and however, the other keeps what it held.
TEST(VbArray, ACopyAndItsOriginalChangeIndependently) {
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
      VbArray<std::string> original(1, {"a", "b", "c"});
      VbArray<std::string> copy = original;
      VbArray<std::string>& changed = change_the_copy ? copy : original;
      const VbArray<std::string>& kept = change_the_copy ? original : copy;
      changes[k](changed);
      EXPECT_EQ(listed(kept), (std::vector<std::string>{"a", "b", "c"})) << k << change_the_copy;
      EXPECT_EQ(kept.lbound(), 1);
      EXPECT_NE(changed, kept) << k << change_the_copy;
    }
  }
}

TEST(VbArray, CopiesOfRecordsHoldingArraysChangeIndependently) {
  VbArray<VbArray<int>> outer(1, 2);
  outer[1] = VbArray<int>(0, {1, 2});
  const VbArray<VbArray<int>> copy = outer;
  outer[1][0] = 9;
  outer[2].append(5);
  EXPECT_EQ(copy[1], VbArray<int>(0, {1, 2}));
  EXPECT_FALSE(copy[2].allocated());
  EXPECT_EQ(std::as_const(outer)[1], VbArray<int>(0, {9, 2}));
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

TEST(VbArray, AChangeThatCannotCopyTheSharedItemsChangesNothing) {
  const VbArray<Fragile> original(1, {1, 2, 3});
  VbArray<Fragile> copy = original;
  Fragile::copies_left = 1;
  EXPECT_THROW(copy[1] = Fragile(7), std::runtime_error);
  Fragile::copies_left = -1;
  EXPECT_EQ(copy, VbArray<Fragile>(1, {1, 2, 3}));
  copy[1] = Fragile(7);
  EXPECT_EQ(original, VbArray<Fragile>(1, {1, 2, 3}));
  EXPECT_EQ(copy, VbArray<Fragile>(1, {7, 2, 3}));
}

// Counts how often the storage moves while an array grows one item at a
// time; geometric growth moves it O(log n) times.
template <class Grow>
int reallocations(Grow&& grow_by_one) {
  VbArray<double> a;
  int moves = 0;
  const double* data = nullptr;
  for (int i = 0; i < 100000; ++i) {
    grow_by_one(a, i);
    if (a.items().data() != data) {
      ++moves;
      data = a.items().data();
    }
  }
  EXPECT_EQ(a.size(), 100000);
  return moves;
}

TEST(VbArray, GrowthOneItemAtATimeIsAmortised) {
  EXPECT_LE(reallocations([](VbArray<double>& a, int i) { a.append(i, 1); }), 40);
  EXPECT_LE(reallocations([](VbArray<double>& a, int i) { a.redim_preserve(i + 1, 1); }), 40);
}

}  // namespace
}  // namespace kestrel::core
