// Ctrl-C, SIGTERM and SIGHUP end a run cleanly (exit 130, registered
// temporary files removed) except while a dialog holds Ctrl-C as its abort key.
#include "platform/posix/interrupts.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/temp_folder.h"
#include "platform/posix/terminal_ui.h"

namespace kestrel::platform {
namespace {

class KeyRecorder final : public KeyTarget {
 public:
  void key_press(int key_code) override { keys.push_back(key_code); }
  std::vector<int> keys;
};

TEST(AbortKey, FirstCtrlCReachesTheDialogOnceAsEscape) {
  const InterruptHandlers handlers("");
  TerminalPump pump;
  KeyRecorder dialog;
  pump.set_key_target(&dialog);
  ASSERT_EQ(::raise(SIGINT), 0);
  EXPECT_TRUE(pump.abort_pending());
  pump.do_events();
  pump.do_events();
  EXPECT_EQ(dialog.keys, (std::vector<int>{kKeyEscape}));
  pump.set_key_target(nullptr);
}

TEST(AbortKey, OnePumpAndOneSetOfHandlersAtATime) {
  TerminalPump first, second;
  KeyRecorder dialog;
  first.set_key_target(&dialog);
  EXPECT_THROW(second.set_key_target(&dialog), std::logic_error);
  first.set_key_target(nullptr);
  second.set_key_target(&dialog);  // free again
  second.set_key_target(nullptr);
  const InterruptHandlers handlers("");
  EXPECT_THROW(InterruptHandlers again(""), std::logic_error);
}

// Each case runs in a child process that must end with exit code 130 and
// leave no registered temporary file.
struct InterruptCase {
  const char* name;
  void (*run)();
};

void sigterm_anywhere() { ::raise(SIGTERM); }
void ctrl_c_without_a_dialog() { ::raise(SIGINT); }
void sighup() { ::raise(SIGHUP); }
void second_ctrl_c_before_delivery() {
  static TerminalPump pump;
  static KeyRecorder dialog;
  pump.set_key_target(&dialog);
  ::raise(SIGINT);
  ::raise(SIGINT);
}
void press_still_waiting_when_the_dialog_closes() {
  static TerminalPump pump;
  static KeyRecorder dialog;
  pump.set_key_target(&dialog);
  ::raise(SIGINT);
  pump.set_key_target(nullptr);
}

const InterruptCase kInterruptCases[] = {
    {"sigterm", sigterm_anywhere},
    {"ctrl_c_without_a_dialog", ctrl_c_without_a_dialog},
    {"sighup", sighup},
    {"second_ctrl_c", second_ctrl_c_before_delivery},
    {"press_waiting_at_close", press_still_waiting_when_the_dialog_closes},
};

TEST(InterruptDeathTest, EndsWith130AndRemovesTemporaryFiles) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  for (const InterruptCase& c : kInterruptCases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    const auto kept = folder.path() / "kept.dxf";
    const auto temporary = folder.path() / ".plano.dxf.kestrel-1-a.tmp";
    write_bytes(kept, "old");
    EXPECT_EXIT(
        {
          const InterruptHandlers handlers("kestrel: interrupted\n");
          write_bytes(temporary, "half");
          const TemporaryRegistration registration(temporary.string());
          c.run();
          std::exit(0);
        },
        ::testing::ExitedWithCode(kInterruptedExitCode), "kestrel: interrupted");
    EXPECT_FALSE(std::filesystem::exists(temporary));
    EXPECT_EQ(read_bytes(kept), "old");
  }
}

}  // namespace
}  // namespace kestrel::platform
