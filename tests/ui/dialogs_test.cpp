#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>

#include "support/temp_dir.h"
#include "ui/autozoom_dialog.h"
#include "ui/simple_dialogs.h"
#include "ui/thermal_dialog.h"
#include "ui/wind_dialog.h"

namespace veltrane::ui {
namespace {

struct CountingTimer : FrameTimer {
  void SetTimerEnabled(bool e) override {
    enabled = e;
    ++calls;
  }
  bool enabled = true;
  int calls = 0;
};

TEST(AutozoomDialog, OkTakesWholeNumbersAndKeepsFullZoomBeyondNoZoom) {
  CountingTimer timer;
  TAZoomForm form(timer);
  AutozoomSettings s;
  form.FormActivate(s);
  EXPECT_FALSE(timer.enabled);
  EXPECT_EQ(form.noZoomText, "10");
  EXPECT_EQ(form.fullZoomText, "60");
  form.noZoomText = "80";
  form.fullZoomText = "50";
  form.SetSpeed(120);
  EXPECT_EQ(form.Button1Click(s), std::nullopt);
  EXPECT_EQ(s.fNoZoom, 80);
  EXPECT_EQ(s.fFullZoom, 82);
  EXPECT_EQ(s.fZoomSpeed, 120);
  form.noZoomText = "-30";
  form.fullZoomText = "100";
  form.Button1Click(s);
  EXPECT_EQ(s.fNoZoom, 30);
  EXPECT_EQ(s.fFullZoom, 100);
  form.FormDeactivate();
  EXPECT_TRUE(timer.enabled);
}

TEST(AutozoomDialog, InvalidFieldStopsTakingFromThere) {
  CountingTimer timer;
  TAZoomForm form(timer);
  AutozoomSettings s;
  form.FormActivate(s);
  form.noZoomText = "abc";
  form.fullZoomText = "90";
  form.SetSpeed(30);
  auto msg = form.Button1Click(s);
  ASSERT_TRUE(msg);
  EXPECT_NE(msg->find("'abc'"), std::string::npos);
  EXPECT_EQ(s.fNoZoom, 10);
  EXPECT_EQ(s.fFullZoom, 60);
  EXPECT_EQ(s.fZoomSpeed, 50);
  // The first field is taken, the rest not.
  form.noZoomText = "15";
  form.fullZoomText = "12.5";
  msg = form.Button1Click(s);
  ASSERT_TRUE(msg);
  EXPECT_NE(msg->find("'12.5'"), std::string::npos);
  EXPECT_EQ(s.fNoZoom, 15);
  EXPECT_EQ(s.fFullZoom, 60);
  EXPECT_EQ(s.fZoomSpeed, 50);
  // 0 and 0 would zoom without end: refused like a non-number, from that field on.
  form.noZoomText = "0";
  form.fullZoomText = " -0 ";
  msg = form.Button1Click(s);
  ASSERT_TRUE(msg);
  EXPECT_EQ(*msg, TAZoomForm::ZeroRangeMessage());
  EXPECT_EQ(s.fNoZoom, 0);
  EXPECT_EQ(s.fFullZoom, 60);
  // 0 with a full-zoom distance is a range.
  form.fullZoomText = "5";
  EXPECT_EQ(form.Button1Click(s), std::nullopt);
  EXPECT_EQ(s.fFullZoom, 5);
}

TEST(AutozoomDialog, ScrollBarRangeAndNumberText) {
  CountingTimer timer;
  TAZoomForm form(timer);
  form.SetSpeed(10);
  EXPECT_EQ(form.speed, 25);
  form.SetSpeed(1000);
  EXPECT_EQ(form.speed, 200);
  EXPECT_EQ(TAZoomForm::ShortestText(12.5), "12.5");
  EXPECT_EQ(ParseWholeNumber(" 42 "), 42);
  EXPECT_EQ(ParseWholeNumber("+7"), 7);
  EXPECT_EQ(ParseWholeNumber(""), std::nullopt);
  EXPECT_EQ(ParseWholeNumber("4 2"), std::nullopt);
  EXPECT_EQ(ParseWholeNumber("99999999999"), std::nullopt);
}

TEST(Dialogs, CancelChangesNothingAndTimerResumes) {
  CountingTimer timer;
  AutozoomSettings zoom;
  zoom.fNoZoom = 25;
  TAZoomForm az(timer);
  az.FormActivate(zoom);
  az.noZoomText = "5";
  az.SetSpeed(100);
  az.FormDeactivate();  // cancelled: Button1Click never ran
  EXPECT_TRUE(timer.enabled);
  // Opened again, the dialog shows the values in force, not the dropped edits.
  az.FormActivate(zoom);
  EXPECT_EQ(az.noZoomText, "25");
  EXPECT_EQ(az.speed, 50);
  az.FormDeactivate();

  TSoundForm sound(timer);
  sound.FormActivate(true, 70);
  EXPECT_FALSE(timer.enabled);
  sound.checkBox = false;
  sound.FormDeactivate();
  EXPECT_TRUE(timer.enabled);

  ThermalTable table;
  int rescatters = 0;
  TThermalForm thermal(timer, [&] { ++rescatters; });
  thermal.FormActivate(table);
  thermal.SetCount(3);
  thermal.FormDeactivate();
  EXPECT_EQ(table.iBubbles, 40);
  EXPECT_EQ(rescatters, 0);
  EXPECT_TRUE(timer.enabled);

  TInfoForm info(timer);
  info.FormActivate(0);
  EXPECT_FALSE(timer.enabled);
  info.FormDeactivate();
  EXPECT_TRUE(timer.enabled);
}

TEST(GraphicsOptions, UnknownDepthLeavesTheButtonsAndOkStores16Or32) {
  TGraphConfigForm form;
  form.FormShow({32, false, true, false});
  EXPECT_FALSE(form.radio16);
  form.FormShow({24, true, false, true});
  EXPECT_FALSE(form.radio16);  // left as it was
  EXPECT_EQ(form.Button1Click().bitCount, 32);
  TGraphConfigForm fresh;
  fresh.FormShow({24, true, true, true});
  const GraphicsOptions ok = fresh.Button1Click();
  EXPECT_EQ(ok.bitCount, 16);
  EXPECT_TRUE(ok.waitVBlank);
}

TEST(DriverDialog, StoredIndexOutOfRangeFallsBackToFirst) {
  TConfigForm form;
  form.FormCreate({"Display 0", "Display 1"}, 1);
  EXPECT_EQ(form.Button1Click(), 1);
  form.FormCreate({"Display 0"}, 5);
  EXPECT_EQ(form.Button1Click(), 0);
  form.FormCreate({}, 2);
  EXPECT_EQ(form.Button1Click(), 0);
}

TEST(InfoDialog, CreditsRiseAndRestartHundredPixelsAfterTheLastLine) {
  CountingTimer timer;
  TInfoForm info(timer);
  info.FormActivate(1);
  EXPECT_EQ(info.caption, "About");
  info.FormActivate(0);
  EXPECT_EQ(info.caption, "Info");
  ASSERT_FALSE(info.CreditLines.empty());
  EXPECT_EQ(info.CreditLines[0], "Veltrane");
  for (const auto& line : info.CreditLines) EXPECT_LE(line.size(), 36u) << line;
  EXPECT_EQ(info.LineY(0), TInfoForm::kAreaHeight);
  const int n = static_cast<int>(info.CreditLines.size());
  const int end = 16 * n + TInfoForm::kAreaHeight + 100;
  for (int i = 0; i < end; ++i) info.DXTimerTimer();
  EXPECT_EQ(info.ScrollOffset, end);
  // The last line's bottom has left the top by 100 pixels (less its own 16).
  EXPECT_EQ(info.LineY(static_cast<std::size_t>(n - 1)), -100 - 16);
  info.DXTimerTimer();
  EXPECT_EQ(info.ScrollOffset, 0);
  EXPECT_EQ(TInfoForm::LineX(100), 124);
  EXPECT_EQ(TInfoForm::LineX(349), 0);  // (348 - 349) / 2 rounds toward zero
}

TEST(ThermalDialog, OkStoresSlidersAndRescatters) {
  CountingTimer timer;
  ThermalTable table;
  table.BubbleZ = 2.57;
  int rescatters = 0;
  TThermalForm form(timer, [&] { ++rescatters; });
  form.FormActivate(table);
  EXPECT_EQ(form.strength, 25);
  EXPECT_EQ(form.count, 40);
  form.SetStrength(75);
  EXPECT_EQ(form.strength, 60);
  form.SetCount(200);
  EXPECT_EQ(form.count, 160);
  form.SetCount(12);
  form.Button1Click(table);
  EXPECT_DOUBLE_EQ(table.BubbleZ, 6.0);
  EXPECT_EQ(table.iBubbles, 12);
  EXPECT_EQ(rescatters, 1);
}

TEST(ThermalDialog, SettingsRoundTripInTheLocaleFormat) {
  const test_support::TempDir temp;
  const auto& dir = temp.path();
  {
    SettingsStore store(dir, NumberFormat{','});
    ThermalTable t;
    t.BubbleZ = 3.5;
    t.iBubbles = 77;
    TThermalForm::WriteSettings(store, t);
    EXPECT_EQ(store.ReadString("ThermalForm", "BubbleZ", ""), "3,5");
    store.Flush();
  }
  SettingsStore again(dir, NumberFormat{','});
  ThermalTable t;
  TThermalForm::ReadSettings(again, t);
  EXPECT_DOUBLE_EQ(t.BubbleZ, 3.5);
  EXPECT_EQ(t.iBubbles, 77);
  // Garbage and out-of-range values: default and clamp.
  again.WriteString("ThermalForm", "BubbleZ", "viel");
  again.WriteString("ThermalForm", "iBubbles", "9999");
  ThermalTable u;
  TThermalForm::ReadSettings(again, u);
  EXPECT_DOUBLE_EQ(u.BubbleZ, 2.0);
  EXPECT_EQ(u.iBubbles, 160);
}

TEST(WindDialog, OkSetsTheClampedWindAtOnceAndCancelLeavesTheAir) {
  CountingTimer timer;
  AirModel air;
  WindSettings before;
  before.turbulenceSeed = 77;
  air.SetWind(before);
  int applied = 0;
  TWindForm form(timer, [&] { ++applied; });

  form.FormActivate(air.Settings());
  EXPECT_FALSE(timer.enabled);
  form.SetSpeed(6.5);
  form.SetDirection(270.0);
  form.FormDeactivate();  // Abbrechen, Esc
  EXPECT_TRUE(timer.enabled);
  EXPECT_EQ(air.Settings(), before);
  EXPECT_EQ(applied, 0);

  // Each field pulled into its range as it is set: direction wraps, the rest clamps.
  struct Case {
    double speed, direction;
    int gusts, turbulence;
    double wantSpeed, wantDirection;
    int wantGusts, wantTurbulence;
  };
  const Case cases[] = {
      {6.0, 270.0, 30, 40, 6.0, 270.0, 30, 40},
      {25.0, 370.0, 150, 101, 20.0, 10.0, 100, 100},
      {-3.0, -90.0, -1, -50, 0.0, 270.0, 0, 0},
      {std::nan(""), 359.7, 0, 0, 0.0, 0.0, 0, 0},
      {20.0, std::numeric_limits<double>::infinity(), 100, 100, 20.0, 0.0, 100, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.speed);
    form.FormActivate(air.Settings());
    form.SetSpeed(c.speed);
    form.SetDirection(c.direction);
    form.SetGusts(c.gusts);
    form.SetTurbulence(c.turbulence);
    form.Button1Click(air);
    form.FormDeactivate();
    const WindSettings& w = air.Settings();
    EXPECT_DOUBLE_EQ(w.speed, c.wantSpeed);
    EXPECT_DOUBLE_EQ(w.fromDegrees, c.wantDirection);
    EXPECT_EQ(w.gusts, c.wantGusts);
    EXPECT_EQ(w.turbulence, c.wantTurbulence);
    EXPECT_EQ(w.turbulenceSeed, 77u) << "the dialog has no seed to change";
  }
  EXPECT_EQ(applied, 5);
  // Reopened, the dialog shows what is in force.
  air.SetWind({6.0, 90.0, 25, 10, 77});
  form.FormActivate(air.Settings());
  EXPECT_DOUBLE_EQ(form.speed, 6.0);
  EXPECT_DOUBLE_EQ(form.direction, 90.0);
  EXPECT_EQ(form.gusts, 25);
  EXPECT_EQ(form.turbulence, 10);
}

TEST(WindDialog, SettingsRoundTripMissingKeepDefaultsAndBadOnesClamp) {
  const test_support::TempDir temp;
  const auto& dir = temp.path();
  {
    SettingsStore store(dir, NumberFormat{','});
    AirModel untouched;
    TWindForm::ReadSettings(store, untouched);  // nothing stored: still air, seed 1
    EXPECT_EQ(untouched.Settings(), WindSettings{});
    EXPECT_TRUE(untouched.Still());
    TWindForm::WriteSettings(store, {6.5, 270.25, 30, 45, 4000000000u});
    EXPECT_EQ(store.ReadString("WindForm", "fWindSpeed", ""), "6,5");
    EXPECT_EQ(store.ReadString("WindForm", "fWindDirection", ""), "270,25");
    store.Flush();
  }
  SettingsStore again(dir, NumberFormat{','});
  AirModel air;
  TWindForm::ReadSettings(again, air);
  EXPECT_EQ(air.Settings(), (WindSettings{6.5, 270.25, 30, 45, 4000000000u}));

  struct Case {
    const char* key;
    const char* value;
    WindSettings want;  // from the defaults, the one key changed
  };
  const Case cases[] = {
      {"fWindSpeed", "99", {20.0, 0.0, 0, 0, 1}},
      {"fWindSpeed", "-4", {0.0, 0.0, 0, 0, 1}},
      {"fWindSpeed", "stark", {0.0, 0.0, 0, 0, 1}},
      {"fWindDirection", "-90", {0.0, 270.0, 0, 0, 1}},
      {"fWindDirection", "720,5", {0.0, 0.5, 0, 0, 1}},
      {"iGusts", "250", {0.0, 0.0, 100, 0, 1}},
      {"iTurbulence", "-7", {0.0, 0.0, 0, 0, 1}},
      {"iTurbulence", "viel", {0.0, 0.0, 0, 0, 1}},
      {"iTurbulenceSeed", "12", {0.0, 0.0, 0, 0, 12}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + "=" + c.value);
    SettingsStore one(dir / "one", NumberFormat{','});
    one.WriteString("WindForm", c.key, c.value);
    AirModel fresh;
    TWindForm::ReadSettings(one, fresh);
    EXPECT_EQ(fresh.Settings(), c.want);
  }
}

}  // namespace
}  // namespace veltrane::ui
