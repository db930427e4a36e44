// The transmitter dialogs' logic: joystick view, interface selection,
// calibration and the interfaces' own property dialogs.

#include <gtest/gtest.h>

#include <optional>

#include "base/settings/settings_store.h"
#include "support/temp_dir.h"
#include "ui/calib_dialog.h"
#include "ui/joy_dialog.h"
#include "ui/pic_dialog.h"
#include "ui/radio_dialog.h"

namespace veltrane::ui {
namespace {

class FakeJoysticks : public JoystickService {
 public:
  void Poll() override { ++polls; }
  bool Query(int device, JoystickState& s) override {
    if (!dev[device]) return false;
    s = *dev[device];
    return true;
  }
  std::optional<JoystickState> dev[2];
  int polls = 0;
};

TEST(JoyDialog, ShowsEachDeviceLiveWithNegatedBars) {
  FakeJoysticks j;
  JoystickState s;
  s.productName = "Sender USB";
  s.axes = 4;
  s.min = {0, 0, 0, 0, 0, 0};
  s.max = {1000, 1000, 1000, 1000, 0, 0};
  s.pos = {250, 0, 1000, 500, 0, 0};
  j.dev[1] = s;
  JoyDialog d(j);
  d.FormActivate();  // one update at once
  EXPECT_TRUE(d.TimerRunning());
  EXPECT_FALSE(d.Joystick(0).present);
  const auto& g = d.Joystick(1);
  ASSERT_TRUE(g.present);
  EXPECT_EQ(g.productName, "Sender USB");
  EXPECT_EQ(g.axesText, "4");
  EXPECT_EQ(g.status, "Betriebsbereit");
  EXPECT_EQ(g.bars[0].min, -1000);
  EXPECT_EQ(g.bars[0].max, 0);
  EXPECT_EQ(g.bars[0].position, -250);

  j.dev[1]->connected = false;
  j.dev[1]->pos[0] = 900;
  j.dev[0] = s;  // plugged in while the dialog is open
  d.TimerTick();
  EXPECT_EQ(d.Joystick(1).status, "Nicht verbunden");
  EXPECT_EQ(d.Joystick(1).bars[0].position, -900);
  EXPECT_TRUE(d.Joystick(0).present);
  EXPECT_EQ(j.polls, 2);
  d.FormDeactivate();
  EXPECT_FALSE(d.TimerRunning());
}

// Records the calls of the selection; delivers what the test puts in `channels`.
class FakeInterface : public TRcIntForm {
 public:
  FakeInterface(std::string name, bool available, std::string* log)
      : TRcIntForm(std::move(name)), available_(available), log_(log) {}
  bool GetAvailable() override { return available_; }
  void OpenInterface() override { *log_ += "open " + Name() + ";"; }
  void CloseInterface() override { *log_ += "close " + Name() + ";"; }
  void GetChannels(TRcChannels& c) override { c = channels; }
  TRcChannels channels;

 private:
  bool available_;
  std::string* log_;
};

class Timer : public FrameTimer {
 public:
  void SetTimerEnabled(bool e) override { enabled = e; }
  bool enabled = true;
};

struct Selection {
  std::string log;
  FakeInterface none{"RcIntForm", false, &log}, joy{"RcJoyForm", true, &log},
      vxd{"RcVxdForm", false, &log}, dll{"RcDllForm", false, &log}, pic{"RcPICForm", true, &log};
  TRadioForm radio{{&none, &joy, &vxd, &dll, &pic}};
  Timer timer;
  RadioDialog dialog{radio, timer};
};

TEST(RadioForm, StoredIndexOpensTheActiveInterfaceAndOutOfRangeIsNone) {
  struct Row {
    const char* stored;
    int active;
  } rows[] = {{nullptr, 0}, {"4", 4}, {"5", 0}, {"-1", 0}, {"joystick", 0}};
  for (const Row& r : rows) {
    test_support::TempDir dir;
    SettingsStore store(dir.path(), NumberFormat{'.'});
    if (r.stored) store.WriteString("RadioForm", "InterfaceIndex", r.stored);
    Selection s;
    s.radio.Create(store);
    EXPECT_EQ(s.radio.ActiveIndex, r.active) << (r.stored ? r.stored : "missing");
    EXPECT_EQ(s.log, "open " + s.radio.Active().Name() + ";");
    s.radio.ActiveIndex = 1;
    s.radio.Destroy(store);
    EXPECT_EQ(store.ReadString("RadioForm", "InterfaceIndex", ""), "1");
  }
}

TEST(RadioDialog, EventWiringOpensAndClosesAroundTheDialogs) {
  Selection s;
  s.radio.ActiveIndex = 4;
  s.dialog.FormActivate();
  EXPECT_FALSE(s.timer.enabled);
  EXPECT_EQ(s.dialog.Selected(), 4);
  EXPECT_TRUE(s.dialog.ButtonsEnabled());
  s.dialog.Choose(2);
  EXPECT_FALSE(s.dialog.ButtonsEnabled());  // the kernel driver is not there on this system
  s.dialog.Choose(1);
  EXPECT_TRUE(s.dialog.ButtonsEnabled());

  // "Belegung / Kalibration" on the joystick while the serial board is active.
  s.dialog.CalibrationOpening();
  EXPECT_TRUE(s.timer.enabled);  // the simulation runs behind the calibration
  s.dialog.CalibrationClosed();
  EXPECT_FALSE(s.timer.enabled);
  EXPECT_EQ(s.dialog.Selected(), 4);  // the list shows the active entry again
  EXPECT_EQ(s.log,
            "close RcPICForm;"
            "open RcJoyForm;open RcPICForm;close RcPICForm;close RcJoyForm;");

  s.log.clear();
  s.dialog.Choose(1);
  s.dialog.Cancel();
  s.dialog.FormDeactivate();
  EXPECT_EQ(s.radio.ActiveIndex, 4);
  EXPECT_EQ(s.log, "open RcPICForm;");

  s.log.clear();
  s.dialog.FormActivate();
  s.dialog.Choose(3);  // unavailable, but it can be chosen
  s.dialog.Ok();
  s.dialog.FormDeactivate();
  EXPECT_EQ(s.radio.ActiveIndex, 3);
  EXPECT_EQ(s.log, "close RcPICForm;open RcDllForm;");
  EXPECT_TRUE(s.timer.enabled);
}

TEST(CalibDialog, OkWithoutTheProcedureReproducesTheCalibration) {
  std::string log;
  FakeInterface rc("RcPICForm", true, &log);
  for (int k = 0; k < kMaxChannels; ++k)
    rc.Calib[k] = {100.0 + k, 1.0 / (30 + k), 1.0 / (70 + 3 * k)};
  rc.Calib[5] = {40.0, 0.0, 0.0};
  rc.Assign[3] = {-1, true, false};
  rc.Assign[6] = {11, false, true};
  const auto calib = rc.Calib;
  const auto assign = rc.Assign;
  CalibDialog d;
  d.EditInterface(rc);
  EXPECT_EQ(d.rows[3].channel, "0");
  EXPECT_EQ(d.rows[6].channel, "12");
  d.FormActivate();
  EXPECT_EQ(d.lines[0], "Um den Sender zu kalibrieren, klicken");
  EXPECT_EQ(d.button, "Kalibrieren");
  EXPECT_EQ(d.Ok(), std::nullopt);
  for (int k = 0; k < kMaxChannels; ++k) {
    EXPECT_DOUBLE_EQ(rc.Calib[k].Centre, calib[k].Centre) << k;
    EXPECT_NEAR(rc.Calib[k].FUp, calib[k].FUp, 1e-15) << k;
    EXPECT_NEAR(rc.Calib[k].FDown, calib[k].FDown, 1e-15) << k;
  }
  for (int f = 0; f < kFunctionCount; ++f) {
    EXPECT_EQ(rc.Assign[f].Channel, assign[f].Channel) << f;
    EXPECT_EQ(rc.Assign[f].Inv, assign[f].Inv) << f;
    EXPECT_EQ(rc.Assign[f].Exp, assign[f].Exp) << f;
  }
}

TEST(CalibDialog, GuidedCaptureOfRangeAndCentre) {
  std::string log;
  FakeInterface rc("RcPICForm", true, &log);
  rc.channels.Count = 3;
  CalibDialog d;
  d.EditInterface(rc);
  d.FormActivate();
  d.KalibrierenClick();
  EXPECT_EQ(d.lines[0], "Bewegen Sie die Knüppel mehrmals im");
  EXPECT_EQ(d.button, "Weiter");
  // Channel 0 swept 20..220, channel 1 seen at one value only, channel 2 swept 0..50.
  for (double v : {120.0, 20.0, 220.0, 150.0}) {
    rc.channels.Value = {v, 77.0, v / 4.4};
    d.TimerTick();
  }
  EXPECT_EQ(d.bars[0], 50 + static_cast<int>((150.0 - 120.0) * 50 / 100));
  EXPECT_EQ(d.bars[3], 50);  // beyond the channel count
  d.KalibrierenClick();
  EXPECT_EQ(d.lines[0], "Zentrieren Sie alle Knüppel");
  EXPECT_EQ(d.button, "Fertig");
  rc.channels.Value = {110.0, 77.0, 30.0};
  d.TimerTick();
  d.KalibrierenClick();
  EXPECT_EQ(d.lines[2], "'Kalibrieren' wiederholt werden.");
  EXPECT_EQ(d.button, "Kalibrieren");
  ASSERT_EQ(d.Ok(), std::nullopt);
  EXPECT_DOUBLE_EQ(rc.Calib[0].Centre, 110.0);
  EXPECT_DOUBLE_EQ(rc.Calib[0].FUp, 1.0 / 110);
  EXPECT_DOUBLE_EQ(rc.Calib[0].FDown, 1.0 / 90);
  EXPECT_EQ(rc.Calib[1].FUp, 0.0);
  EXPECT_EQ(rc.Calib[1].FDown, 0.0);
  EXPECT_DOUBLE_EQ(rc.Calib[2].FDown, 1.0 / (30.0 - 20.0 / 4.4));
  // Channels that never reported keep their centre and lose their factors.
  EXPECT_DOUBLE_EQ(rc.Calib[9].Centre, 0.0);
  EXPECT_EQ(rc.Calib[9].FUp, 0.0);
}

TEST(CalibDialog, BadRowStopsOkThereAndNamesIt) {
  std::string log;
  FakeInterface rc("RcPICForm", true, &log);
  rc.Calib[0] = {10.0, 0.5, 0.5};
  CalibDialog d;
  d.EditInterface(rc);
  d.rows[0].channel = "3";
  d.rows[2].channel = " 0 ";
  d.rows[fn::kTailRotor].channel = "2x";  // the row named "Heckrotor:"
  d.rows[5].channel = "1";
  d.Mid[0] = 12.0;
  const auto error = d.Ok();
  ASSERT_TRUE(error);
  EXPECT_NE(error->find("\"2x\""), std::string::npos) << *error;
  EXPECT_NE(error->find("Heckrotor:"), std::string::npos) << *error;
  EXPECT_EQ(rc.Assign[0].Channel, 2);
  EXPECT_EQ(rc.Assign[2].Channel, -1);
  EXPECT_EQ(rc.Assign[5].Channel, 5);          // after the bad row: not taken
  EXPECT_DOUBLE_EQ(rc.Calib[0].Centre, 10.0);  // nor the calibration
}

class ListedPorts : public SerialPort {
 public:
  std::vector<std::string> ListPorts() override { return {"/dev/ttyS0", "/dev/ttyUSB0"}; }
  const std::string& PortName() const override { return name; }
  void SetPortName(const std::string& n) override { name = n; }
  void SetBaudRate(int b) override { baud = b; }
  bool Open(std::string&) override { return true; }
  void Close() override {}
  bool IsOpen() const override { return false; }
  bool TakeReceived(std::vector<std::uint8_t>&, std::string&) override { return true; }
  std::string name;
  int baud = 0;
};

TEST(PicDialog, OkTakesPortAndProtocolCancelRestores) {
  ListedPorts port;
  TRcPICForm pic(port, Trace());
  test_support::TempDir dir;
  SettingsStore store(dir.path(), NumberFormat{'.'});
  pic.Create(store);
  PicDialog d(pic);
  d.FormShow();
  EXPECT_EQ(d.selectedPort, 0);
  d.ChoosePort(1);
  d.protocol = 1;
  d.Cancel();
  EXPECT_EQ(port.name, "/dev/ttyS0");
  EXPECT_EQ(d.selectedPort, 0);
  EXPECT_EQ(d.protocol, 0);
  d.ChoosePort(1);
  d.protocol = 1;
  d.Ok();
  EXPECT_EQ(port.name, "/dev/ttyUSB0");
  EXPECT_EQ(pic.Protocol(), 1);
  EXPECT_EQ(port.baud, 19200);
}

}  // namespace
}  // namespace veltrane::ui
