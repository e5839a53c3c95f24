#include "platform/posix/terminal_ui.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace kestrel::platform {
namespace {

std::vector<int> buttons_of(int style) {
  const auto buttons = message_box_buttons(style);
  return {buttons.begin(), buttons.end()};
}

TEST(MessageBoxButtons, StyleButtonsIgnoreTheIcon) {
  EXPECT_EQ(buttons_of(kOkOnly | kExclamation), (std::vector<int>{kOk}));
  EXPECT_EQ(buttons_of(kOkCancel), (std::vector<int>{kOk, kCancel}));
  EXPECT_EQ(buttons_of(kYesNoCancel | kQuestion), (std::vector<int>{kYes, kNo, kCancel}));
  EXPECT_EQ(buttons_of(kYesNo | kCritical), (std::vector<int>{kYes, kNo}));
  EXPECT_EQ(buttons_of(2), (std::vector<int>{kOk}));  // a set we do not offer
}

TEST(MessageBoxAnswer, TypedWordsChooseOnlyOfferedButtons) {
  const auto yes_no_cancel = message_box_buttons(kYesNoCancel);
  const auto yes_no = message_box_buttons(kYesNo);
  struct Case {
    const char* line;
    std::span<const int> buttons;
    std::optional<int> answer;
  } const cases[] = {
      {"s", yes_no_cancel, kYes},   {"  SÍ \r", yes_no_cancel, kYes}, {"si", yes_no, kYes},
      {"N", yes_no_cancel, kNo},    {"cancelar", yes_no_cancel, kCancel}, {"c", yes_no, std::nullopt},
      {"", yes_no, kYes},           {"   ", yes_no_cancel, kYes},        {"sip", yes_no, std::nullopt},
      {"a", message_box_buttons(kOkCancel), kOk}, {"n", message_box_buttons(kOkCancel), std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(parse_message_box_answer(c.line, c.buttons), c.answer) << '"' << c.line << '"';
}

TEST(TerminalMessageBox, WritesTitleAndTextWithLineBreaks) {
  std::ostringstream out;
  std::istringstream in;
  TerminalMessageBox box(out, in, /*interactive=*/true);
  EXPECT_EQ(box.show("Error nº 5:\r\nsegunda línea", kOkOnly | kExclamation, "Mvx4_Kestrel"), kOk);
  EXPECT_EQ(box.show("sin título", kOkOnly, ""), kOk);
  EXPECT_EQ(out.str(), "Mvx4_Kestrel: Error nº 5:\nsegunda línea\nsin título\n");
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

TEST(TerminalMessageBox, AsksAgainUntilAnOfferedAnswerAndGivesUpAtEndOfInput) {
  std::ostringstream out;
  std::istringstream in("quizá\nc\nno\n");
  TerminalMessageBox box(out, in, /*interactive=*/true);
  box.set_unattended_answer(kNo);
  EXPECT_EQ(box.show("¿Borrar?", kYesNo, "T"), kNo);  // "c" is not offered by Yes/No
  EXPECT_EQ(box.show("¿Borrar?", kYesNo, "T"), kNo);  // end of input
  EXPECT_EQ(out.str(), "T: ¿Borrar?\n[s]í/[n]o: [s]í/[n]o: [s]í/[n]o: T: ¿Borrar?\n[s]í/[n]o: no\n");
}


}  // namespace
}  // namespace kestrel::platform
