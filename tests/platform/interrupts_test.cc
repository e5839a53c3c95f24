// Ctrl-C, SIGTERM and SIGHUP end a run cleanly (exit 130, registered
// temporary files removed) except while a dialog holds Ctrl-C as its abort key.
#include "platform/posix/interrupts.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <filesystem>
#include <utility>
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

// Ctrl-C while a dialog holds it as its abort key, then `next`.
void ctrl_c_in_a_dialog_then(void (*next)(TerminalPump&)) {
  static TerminalPump pump;
  static KeyRecorder dialog;
  pump.set_key_target(&dialog);
  ::raise(SIGINT);
  next(pump);
}

// Each case runs in a child process that must end with exit code 130 and
// leave no registered temporary file.
const std::pair<const char*, void (*)()> kInterruptCases[] = {
    {"sigterm", [] { ::raise(SIGTERM); }},
    {"ctrl_c_without_a_dialog", [] { ::raise(SIGINT); }},
    {"sighup", [] { ::raise(SIGHUP); }},
    {"second_ctrl_c_before_delivery", [] { ctrl_c_in_a_dialog_then([](TerminalPump&) { ::raise(SIGINT); }); }},
    {"press_waiting_when_the_dialog_closes",
     [] { ctrl_c_in_a_dialog_then([](TerminalPump& pump) { pump.set_key_target(nullptr); }); }},
};

TEST(InterruptDeathTest, EndsWith130AndRemovesTemporaryFiles) {
  GTEST_FLAG_SET(death_test_style, "fast");  // the child writes in this folder
  for (const auto& [name, run] : kInterruptCases) {
    SCOPED_TRACE(name);
    TempFolder folder;
    const auto kept = folder.path() / "kept.dxf";
    const auto temporary = folder.path() / ".plano.dxf.kestrel-1-a.tmp";
    write_bytes(kept, "old");
    EXPECT_EXIT(
        {
          const InterruptHandlers handlers("kestrel: interrupted\n");
          write_bytes(temporary, "half");
          const TemporaryRegistration registration(temporary.string());
          run();
          std::exit(0);
        },
        ::testing::ExitedWithCode(kInterruptedExitCode), "kestrel: interrupted");
    EXPECT_FALSE(std::filesystem::exists(temporary));
    EXPECT_EQ(read_bytes(kept), "old");
  }
}

}  // namespace
}  // namespace kestrel::platform
