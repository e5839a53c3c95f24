#include "core/trap.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace kestrel::core {
namespace {

struct Logged {
  std::string message;
  std::string title;
};

class RecordingLog : public ErrorLogger {
 public:
  void log(const std::string& message, const std::string& title) override { entries.push_back({message, title}); }
  std::vector<Logged> entries;
};

constexpr TrapMessage kCapas{"Autocad Genera Capas Prefijo - Error    n\xC2\xBA ", ": "};

TEST(Trap, MessageIsPrefixNumberSeparatorDescription) {
  const Error e(91, "Mvx4_Kestrel", "Variable no establecida");
  EXPECT_EQ(compose_message(kCapas, e),
            "Autocad Genera Capas Prefijo - Error    n\xC2\xBA  91: Variable no establecida");
  // The number has a leading blank unless negative.
  EXPECT_EQ(compose_message({"X - Error n\xC2\xBA ", ":"}, Error(-2147467259, "CAD", "Fallo")),
            "X - Error n\xC2\xBA -2147467259:Fallo");
  EXPECT_EQ(number_text(0), " 0");
  EXPECT_EQ(number_text(INT32_MIN), "-2147483648");
}

TEST(Trap, SuffixFollowsAfterOneBlankEvenWhenEmpty) {
  const Error e(13, "src", "No coinciden los tipos");
  const TrapMessage with_version{"P - Error ", ":", std::string_view("64 bit")};
  EXPECT_EQ(compose_message(with_version, e), "P - Error  13:No coinciden los tipos 64 bit");
  const TrapMessage with_empty_version{"P - Error ", ":", std::string_view()};
  EXPECT_EQ(compose_message(with_empty_version, e), "P - Error  13:No coinciden los tipos ");
}

TEST(Trap, LogsOnceWithTheSourceAsTitleAndReturnsNormally) {
  RecordingLog log;
  bool after_error = false;
  const bool ok = trap(log, kCapas, [&] {
    throw Error(438, "IAcadLayer", "El objeto no acepta esta propiedad o m\xC3\xA9todo");
    after_error = true;  // never reached: the body stops at the error
  });
  EXPECT_FALSE(ok);
  EXPECT_FALSE(after_error);
  ASSERT_EQ(log.entries.size(), 1u);
  EXPECT_EQ(log.entries[0].title, "IAcadLayer");
  EXPECT_EQ(log.entries[0].message,
            "Autocad Genera Capas Prefijo - Error    n\xC2\xBA  438: El objeto no acepta esta propiedad o m\xC3\xA9todo");
}

TEST(Trap, CleanBodyLogsNothing) {
  RecordingLog log;
  EXPECT_TRUE(trap(log, kCapas, [] {}));
  EXPECT_TRUE(log.entries.empty());
}

TEST(Trap, ForeignExceptionsBecomeRunTimeErrors) {
  RecordingLog log;
  trap(log, {"A:", ":"}, [] { throw std::bad_alloc(); });
  trap(log, {"B:", ":"}, [] { throw std::out_of_range("vector"); });
  trap(log, {"C:", ":"}, [] { throw 42; });
  ASSERT_EQ(log.entries.size(), 3u);
  EXPECT_EQ(log.entries[0].message, "A: 7:Memoria insuficiente");
  EXPECT_EQ(log.entries[1].message, "B: 51:Error interno: vector");
  EXPECT_EQ(log.entries[2].message, "C: 51:Error interno");
  for (const auto& entry : log.entries) EXPECT_EQ(entry.title, kRuntimeSource);
}

TEST(SkipEach, RunsEveryStatementAndReturnsOnlyTheLastError) {
  std::vector<int> ran;
  auto last = skip_each([&] { ran.push_back(1); },
                        [&] {
                          ran.push_back(2);
                          raise(kOverflow);
                        },
                        [&] { ran.push_back(3); });
  EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
  EXPECT_FALSE(last.has_value());  // the last statement succeeded

  last = skip_each([] { raise(kOverflow); }, [] { raise(kTypeMismatch); });
  ASSERT_TRUE(last.has_value());
  EXPECT_EQ(last->number(), kTypeMismatch);
}

TEST(SkipEach, AttemptReportsTheStatementsError) {
  EXPECT_FALSE(attempt([] {}).has_value());
  const auto e = attempt([] { throw std::runtime_error("x"); });
  ASSERT_TRUE(e.has_value());
  EXPECT_EQ(e->number(), kInternalError);
}

}  // namespace
}  // namespace kestrel::core
