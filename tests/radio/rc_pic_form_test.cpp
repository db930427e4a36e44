#include "radio/pic/rc_pic_form.h"

#include <gtest/gtest.h>

#include "base/settings/settings_store.h"
#include "support/temp_dir.h"

namespace veltrane {
namespace {

class FakePort : public SerialPort {
 public:
  std::vector<std::string> ListPorts() override { return ports; }
  const std::string& PortName() const override { return name; }
  void SetPortName(const std::string& n) override { name = n; }
  void SetBaudRate(int b) override { baud = b; }
  bool Open(std::string&) override { return open = true; }
  void Close() override { open = false; }
  bool IsOpen() const override { return open; }
  bool TakeReceived(std::vector<std::uint8_t>& bytes, std::string&) override {
    bytes.insert(bytes.end(), pending.begin(), pending.end());
    pending.clear();
    return true;
  }
  std::vector<std::string> ports;
  std::string name;
  int baud = 0;
  bool open = false;
  std::vector<std::uint8_t> pending;
};

TEST(RcPICForm, StoredPortAndProtocolAtStartAndExit) {
  struct Row {
    const char* stored;  // "PortName"
    const char* protocol;
    std::vector<std::string> ports;
    std::string name;
    int baud;
  } rows[] = {
      {"/dev/ttyUSB0", "1", {"/dev/ttyS0", "/dev/ttyUSB0"}, "/dev/ttyUSB0", 19200},
      {"/dev/ttyUSB1",
       "0",
       {"/dev/ttyS0", "/dev/ttyUSB0"},
       "/dev/ttyS0",
       9600},  // gone: the first listed
      {nullptr, nullptr, {}, "", 9600},
  };
  for (const Row& r : rows) {
    test_support::TempDir dir;
    SettingsStore store(dir.path(), NumberFormat{'.'});
    if (r.stored) store.WriteString("RcPICForm", "PortName", r.stored);
    if (r.protocol) store.WriteString("RcPICForm", "Protocol", r.protocol);
    FakePort port;
    port.ports = r.ports;
    TraceCapture trace;
    TRcPICForm form(port, trace.Sink());
    form.Create(store);
    EXPECT_EQ(port.name, r.name);
    EXPECT_EQ(form.EditPortName, r.name);
    EXPECT_EQ(port.baud, r.baud);
    EXPECT_DOUBLE_EQ(form.Calib[0].FUp, 0.0);  // needs calibration
    form.OpenInterface();
    form.Destroy(store);
    EXPECT_FALSE(port.open);
    EXPECT_EQ(store.ReadString("RcPICForm", "PortName", "?"), r.name);
    EXPECT_TRUE(trace.Contains("TRcPICForm.Destroy Closing " + r.name + "\r\n"));
  }
}

TEST(RcPICForm, ProtocolChangeStartsAtTheTableBeginning) {
  FakePort port;
  TRcPICForm form(port, Trace());
  form.ComPortRxChar(std::vector<std::uint8_t>{0xF0}.data(), 1);
  ASSERT_EQ(form.RxIndex(), -1);
  form.SetProtocol(1);
  EXPECT_EQ(form.RxIndex(), 0);
  EXPECT_EQ(port.baud, 19200);
  const std::vector<std::uint8_t> frame = {0x33, 0x44, 0xFF};
  form.ComPortRxChar(frame.data(), frame.size());
  EXPECT_EQ(form.Channels().Count, 2);
  EXPECT_EQ(form.Channels().Value[0], 0x33);
  form.SetProtocol(1);  // the same protocol keeps its place
  form.ComPortRxChar(frame.data(), 1);
  EXPECT_EQ(form.RxIndex(), 1);
}

TEST(RcPICForm, OpenAndCloseTraceAndReadWhatArrived) {
  FakePort port;
  port.name = "/dev/ttyS1";
  TraceCapture trace;
  TRcPICForm form(port, trace.Sink());
  form.OpenInterface();
  form.OpenInterface();  // the selection opens the active interface twice around the calibration
  port.pending = {0xF5, 0x00, 0x80, 0x81, 0xF0};
  TRcChannels c;
  form.GetChannels(c);
  EXPECT_EQ(c.Count, 2);
  EXPECT_EQ(c.Value[1], 0x81);
  form.CloseInterface();
  form.CloseInterface();
  EXPECT_FALSE(port.open);
  EXPECT_EQ(trace.Lines(),
            (std::vector<std::string>{"TRcPICForm.OpenInterface Opening /dev/ttyS1\r\n",
                                      "TRcPICForm.OpenInterface Opening /dev/ttyS1\r\n",
                                      "TRcPICForm.CloseInterface Closing /dev/ttyS1\r\n",
                                      "TRcPICForm.CloseInterface Closing /dev/ttyS1\r\n"}));
  form.GetChannels(c);  // closed: the last frame stays
  EXPECT_EQ(c.Count, 2);
}

}  // namespace
}  // namespace veltrane
