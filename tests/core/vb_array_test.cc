#include "core/vb_array.h"

#include <gtest/gtest.h>

#include <string>

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
