#include <gtest/gtest.h>

#include <sstream>

#include "platform/report_window.h"

namespace kestrel::platform {
namespace {

ReportWindow two_options() {
  ReportWindow report("Copiar - a.dwg");
  report.row("Nº de Entidades  ", "7");
  report.section("Opciones");
  report.option("Copiar Entidades desact", true);
  report.option("Copiar Bloques", true);
  return report;
}

TEST(ReportWindow, TerminalAnswersTickClearKeepOrCancel) {
  struct Case {
    const char* typed;
    bool off_layers, blocks, cancelled;
  };
  const Case cases[] = {
      {"n\n\n", false, true, false},      // cleared, kept
      {" S \nN\n", true, false, false},   // blanks and letter case do not matter
      {"x\nn\ns\n", false, true, false},  // an unknown answer is asked again
      {"c\n", true, true, true},          // cancel
      {"", true, true, false},            // end of input keeps what is shown
  };
  for (const Case& c : cases) {
    ReportWindow report = two_options();
    std::istringstream in(c.typed);
    std::ostringstream out;
    answer_report(report, in, out);
    EXPECT_EQ(report.checked("Copiar Entidades desact"), c.off_layers) << c.typed;
    EXPECT_EQ(report.checked("Copiar Bloques"), c.blocks) << c.typed;
    EXPECT_EQ(report.cancelled(), c.cancelled) << c.typed;
  }
}

TEST(ReportWindow, TextShowsEveryRowInOrder) {
  ReportWindow report = two_options();
  EXPECT_FALSE(report.set_checked("Nº de Entidades  ", false));  // a plain row is no option
  std::ostringstream out;
  write_report(out, report);
  EXPECT_EQ(out.str(),
            "Copiar - a.dwg\n  Nº de Entidades    7\n[Opciones]\n  [x] Copiar Entidades desact\n  [x] Copiar Bloques\n");
}

}  // namespace
}  // namespace kestrel::platform
