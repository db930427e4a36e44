// Help for a first flight in the real window: the hint on a fresh
// configuration until the first key, the key list from "Hilfe", and the
// thermals drawn as columns.
#include <chrono>

#include "program_fixture.h"

namespace veltrane::test {
namespace {

using namespace std::chrono_literals;

class HelpProgramTest : public WindowedProgramTest {};

TEST_F(HelpProgramTest, FirstStartHintUntilAKeyThenTheKeyListFromTheHelpMenu) {
  pictures::Picture p;
  ASSERT_TRUE(ShowsSoon(SceneWithMenuShown, &p));
  ASSERT_TRUE(Shows("first_flight_help")) << "no hint on a fresh configuration";
  ASSERT_TRUE(ShowsSoon(SceneWithMenuShown, &p));
  Keep(p, "first_flight_help.png");
  ASSERT_TRUE(program_->Key("F11"));  // any key, even one that does nothing else
  EXPECT_TRUE(Shows("first_flight_help", false)) << "the hint stayed after a key";

  ChooseFromMenu("help", "key_help");
  ASSERT_TRUE(Shows("dialog:key_help")) << "no key list";
  // The keyboard control's first slot and a shortcut of the menu, in German.
  EXPECT_NE(Ui("key_help_row1").label.find("Seitenruder links"), std::string::npos);
  bool listsF2 = false;
  for (int i = 0; i < 40 && !listsF2; ++i)
    if (const auto row = UiNow("key_help_row" + std::to_string(i)))
      listsF2 = row->label.rfind("F2", 0) == 0;
  EXPECT_TRUE(listsF2) << "F2 (load model) not listed";
  ASSERT_TRUE(ShowsSoon(
      [&](const pictures::Picture& q) { return TitleBarDrawn(q, Ui("dialog:key_help")); }, &p));
  Keep(p, "key_help.png");
  ASSERT_TRUE(program_->Key("Escape"));
  EXPECT_TRUE(Shows("dialog:key_help", false)) << "Esc did not close the key list";

  // The thermals as columns, from the Simulation menu; the check mark stays.
  ChooseFromMenu("simulation", "show_thermals");
  ASSERT_TRUE(ShowsSoon(SceneWithMenuShown, &p));
  Keep(p, "thermal_columns.png");
  ChooseFromMenu("simulation", "slow_motion_half");
  ASSERT_TRUE(program_->Terminate());
  ASSERT_EQ(program_->WaitExit(30s), 0);
  EXPECT_NE(program_->Settings().find("ThermikAnzeigen=1"), std::string::npos);
  EXPECT_NE(program_->Settings().find("FirstFlightHelpShown=1"), std::string::npos);
}

}  // namespace
}  // namespace veltrane::test
