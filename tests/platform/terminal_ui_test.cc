#include "platform/posix/terminal_ui.h"
#include "platform/report_window.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kestrel::platform {
namespace {

// The style's buttons, whatever its icon; the first answers an empty line.
TEST(MessageBoxAnswer, TypedWordsChooseOnlyOfferedButtons) {
  const auto yes_no_cancel = message_box_buttons(kYesNoCancel | kQuestion);
  const auto yes_no = message_box_buttons(kYesNo | kCritical);
  struct Case {
    const char* line;
    std::span<const int> buttons;
    std::optional<int> answer;
  } const cases[] = {
      {"s", yes_no_cancel, kYes},   {"  SÍ \r", yes_no_cancel, kYes}, {"si", yes_no, kYes},
      {"N", yes_no_cancel, kNo},    {"cancelar", yes_no_cancel, kCancel}, {"c", yes_no, std::nullopt},
      {"", yes_no, kYes},           {"   ", yes_no_cancel, kYes},        {"sip", yes_no, std::nullopt},
      {"a", message_box_buttons(kOkCancel), kOk}, {"n", message_box_buttons(kOkCancel), std::nullopt},
      {"", message_box_buttons(2), kOk},  // a set we do not offer: OK alone
      {"c", message_box_buttons(2), std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(parse_message_box_answer(c.line, c.buttons), c.answer) << '"' << c.line << '"';
}

TEST(TerminalMessageBox, WithoutTerminalTakesTheUnattendedAnswerWhenOffered) {
  std::ostringstream out;
  std::istringstream in("n\n");  // never read
  TerminalMessageBox box(out, in, /*interactive=*/false);
  EXPECT_EQ(box.show("¿Seguir?", kYesNoCancel, "Quentar"), kYes);
  box.set_unattended_answer(kCancel);
  EXPECT_EQ(box.show("¿Seguir?", kYesNoCancel, "Quentar"), kCancel);
  EXPECT_EQ(box.show("¿Seguir?", kYesNo, "Quentar"), kYes);  // Cancel is not offered
  EXPECT_EQ(out.str(),
            "Quentar: ¿Seguir?\n[s]í/[n]o/[c]ancelar: sí\n"
            "Quentar: ¿Seguir?\n[s]í/[n]o/[c]ancelar: cancelar\n"
            "Quentar: ¿Seguir?\n[s]í/[n]o: sí\n");
}

// Title and text with line breaks, OK alone asked nothing; a question is
// asked again until an offered answer and given up at the end of input.
TEST(TerminalMessageBox, WritesTitleAndTextAndAsksUntilAnOfferedAnswer) {
  std::ostringstream out;
  std::istringstream in("quizá\nc\nno\n");
  TerminalMessageBox box(out, in, /*interactive=*/true);
  EXPECT_EQ(box.show("Error nº 5:\r\nsegunda línea", kOkOnly | kExclamation, "Mvx4_Kestrel"), kOk);
  EXPECT_EQ(box.show("sin título", kOkOnly, ""), kOk);
  box.set_unattended_answer(kNo);
  EXPECT_EQ(box.show("¿Borrar?", kYesNo, "T"), kNo);  // "c" is not offered by Yes/No
  EXPECT_EQ(box.show("¿Borrar?", kYesNo, "T"), kNo);  // end of input
  EXPECT_EQ(out.str(), "Mvx4_Kestrel: Error nº 5:\nsegunda línea\nsin título\n"
                       "T: ¿Borrar?\n[s]í/[n]o: [s]í/[n]o: [s]í/[n]o: T: ¿Borrar?\n[s]í/[n]o: no\n");
}

ReportWindow two_options() {
  ReportWindow report("Copiar - a.dwg");
  report.row("Nº de Entidades  ", "7");
  report.section("Opciones");
  report.option("Copiar Entidades desact", true);
  report.option("Copiar Bloques", true);
  return report;
}

TEST(ReportWindow, TerminalShowsEveryRowAndAnswersTickClearKeepOrCancel) {
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
  // The text shows every row in order.
  ReportWindow report = two_options();
  EXPECT_FALSE(report.set_checked("Nº de Entidades  ", false));  // a plain row is no option
  std::ostringstream out;
  write_report(out, report);
  EXPECT_EQ(out.str(),
            "Copiar - a.dwg\n  Nº de Entidades    7\n[Opciones]\n  [x] Copiar Entidades desact\n  [x] Copiar Bloques\n");
}

}  // namespace
}  // namespace kestrel::platform
