// The CLI's stand-in for the host's progress form: what the import walks
// write to it becomes the bar and status line the terminal shows.
#include "tools/kestrel/host_progress_form.h"

#include <gtest/gtest.h>

#include <tuple>

#include "core/error.h"
#include "import/progress_form.h"
#include "support/scripted_module.h"

namespace kestrel::cli {
namespace {

class HostProgressFormTest : public ::testing::Test {
 protected:
  std::shared_ptr<HostProgressForm> form = HostProgressForm::create();
  test_support::ScriptedModule scripted;
  importing::HostProgress progress{scripted.module, core::Obj(form)};
};

TEST_F(HostProgressFormTest, APhaseShowsTitleDocumentAndCountUntilHiddenAndRefusesWhatTheHostRefuses) {
  progress.begin(5, "Copiando Capas ZWCad", "levantamiento.dxf");
  EXPECT_EQ(std::tuple(form->bar().visible, form->bar().max, form->status().caption),
            std::tuple(true, 10, "Copiando Capas ZWCad levan...Dwg"));  // 10: the lower clamp
  progress.advance();
  progress.advance();
  EXPECT_EQ(std::tuple(form->bar().value, form->status().caption),
            std::tuple(2, "Copiando Capas ZWCad levan...Dwg: 2 / 10"));
  progress.hide();
  EXPECT_EQ(std::tuple(form->bar().visible, form->shown()), std::tuple(false, false));
  progress.show_and_focus();
  EXPECT_TRUE(form->shown());
  // It refuses what the host's form refuses.
  const core::Obj bar = core::Obj(form).object("ProgressBar1");
  bar.put("Max", 10);
  EXPECT_THROW(bar.put("Value", 11), core::Error);
  EXPECT_THROW(bar.put("Value", -1), core::Error);
  try {
    (void)core::Obj(form).call("LabXYZ", 4);
    FAIL() << "a fifth label was served";
  } catch (const core::Error& e) {
    EXPECT_EQ(e.number(), core::kSubscriptOutOfRange);
  }
  EXPECT_THROW((void)core::Obj(form).get("Caption"), core::Error);
}

}  // namespace
}  // namespace kestrel::cli
