#include "core/trap.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace kestrel::core {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;  // message, title

class RecordingLog : public ErrorLogger {
 public:
  void log(const std::string& message, const std::string& title) override { entries.push_back({message, title}); }
  Entries entries;
};

constexpr TrapMessage kCapas{"Autocad Genera Capas Prefijo - Error    n\xC2\xBA ", ": "};

// The number has a leading blank unless negative; a suffix follows after one
// blank even when empty.
TEST(Trap, MessageIsPrefixNumberSeparatorDescriptionSuffix) {
  EXPECT_EQ(compose_message(kCapas, Error(91, "Mvx4_Kestrel", "Variable no establecida")),
            "Autocad Genera Capas Prefijo - Error    n\xC2\xBA  91: Variable no establecida");
  EXPECT_EQ(compose_message({"X - Error ", ":"}, Error(-2147467259, "CAD", "Fallo")), "X - Error -2147467259:Fallo");
  const Error e(13, "src", "No coinciden los tipos");
  EXPECT_EQ(compose_message({"P - Error ", ":", std::string_view("64 bit")}, e),
            "P - Error  13:No coinciden los tipos 64 bit");
  EXPECT_EQ(compose_message({"P - Error ", ":", std::string_view()}, e), "P - Error  13:No coinciden los tipos ");
  EXPECT_EQ(number_text(INT32_MIN), "-2147483648");
}

// Foreign exceptions become run-time errors under the run time's source.
TEST(Trap, LogsOnceWithTheSourceAsTitleAndReturnsNormallyAndSkipEachGoesOn) {
  RecordingLog log;
  EXPECT_TRUE(trap(log, kCapas, [] {}));
  bool after_error = false;
  EXPECT_FALSE(trap(log, kCapas, [&] {
    throw Error(438, "IAcadLayer", "El objeto no acepta esta propiedad o m\xC3\xA9todo");
    after_error = true;  // never reached: the body stops at the error
  }));
  EXPECT_FALSE(after_error);
  EXPECT_EQ(log.entries, (Entries{{"Autocad Genera Capas Prefijo - Error    n\xC2\xBA  438: El objeto no acepta esta "
                                   "propiedad o m\xC3\xA9todo",
                                   "IAcadLayer"}}));
  log.entries.clear();
  trap(log, {"A:", ":"}, [] { throw std::bad_alloc(); });
  trap(log, {"B:", ":"}, [] { throw std::out_of_range("vector"); });
  trap(log, {"C:", ":"}, [] { throw 42; });
  EXPECT_EQ(log.entries, (Entries{{"A: 7:Memoria insuficiente", std::string(kRuntimeSource)},
                                  {"B: 51:Error interno: vector", std::string(kRuntimeSource)},
                                  {"C: 51:Error interno", std::string(kRuntimeSource)}}));
  // skip_each runs every statement and returns only the last error.
  std::vector<int> ran;
  auto last = skip_each([&] { ran.push_back(1); }, [&] { ran.push_back(2), raise(kOverflow); },
                        [&] { ran.push_back(3); });
  EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
  EXPECT_FALSE(last.has_value());  // the last statement succeeded
  EXPECT_EQ(skip_each([] { raise(kOverflow); }, [] { raise(kTypeMismatch); }).value().number(), kTypeMismatch);
  EXPECT_EQ(attempt([] { throw std::runtime_error("x"); }).value().number(), kInternalError);
}

}  // namespace
}  // namespace kestrel::core
