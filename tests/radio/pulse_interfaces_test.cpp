// The kernel-driver and 16-bit-library interfaces against fakes that answer
// their calls as the pulse-capture drivers do.

#include <gtest/gtest.h>

#include <cstring>
#include <deque>

#include "base/settings/settings_store.h"
#include "radio/dll/rc_dll_form.h"
#include "radio/vxd/rc_vxd_form.h"
#include "support/temp_dir.h"

namespace veltrane {
namespace {

class FakeDriver : public VxdDriver {
 public:
  bool Available() const override { return true; }
  void Open(const std::string& device) override {
    log += "open " + device + ";";
    error = 0;
  }
  bool Control(std::uint32_t code, const void* in, std::uint32_t inSize, void* out,
               std::uint32_t outSize, std::uint32_t& returned) override {
    log += std::to_string(code) + ";";
    returned = 0;
    if (code == 1)
      opened =
          std::string(static_cast<const char*>(in), strnlen(static_cast<const char*>(in), inSize));
    if (code == 3 || code == 4) {
      if (ports.empty()) {
        error = 1248;
        return false;
      }
      std::snprintf(static_cast<char*>(out), outSize, "%s", ports.front().c_str());
      ports.pop_front();
      return true;
    }
    if (code == 5) {
      if (!reply) {
        error = 31;
        return false;
      }
      std::memcpy(out, reply->data(), std::min<std::size_t>(outSize, reply->size()));
    }
    error = failNext ? 31 : 0;
    return !failNext;
  }
  void CloseHandle() override { log += "closehandle;"; }
  std::uint32_t LastError() const override { return error; }
  std::string ErrorText(std::uint32_t code) const override { return code == 0 ? "ok" : "Fehler"; }

  std::string log;
  std::deque<std::string> ports;
  std::optional<std::vector<std::uint8_t>> reply;
  std::string opened;
  std::uint32_t error = 0;
  bool failNext = false;
};

std::vector<std::uint8_t> Reply(std::uint32_t count, std::uint32_t first) {
  std::vector<std::uint8_t> r(56, 0);
  auto put = [&](std::size_t at, std::uint32_t v) {
    for (int b = 0; b < 4; ++b) r[at + b] = static_cast<std::uint8_t>(v >> (8 * b));
  };
  put(0, count);
  for (std::uint32_t i = 0; i < 13; ++i) put(4 + 4 * i, first + i);
  return r;
}

TEST(RcVxdForm, CallOrderAndTracesOverARun) {
  test_support::TempDir dir;
  SettingsStore store(dir.path(), NumberFormat{'.'});
  store.WriteString("RcVxdForm", "PortName", "COM9");  // no longer offered
  FakeDriver d;
  d.ports = {"LPT1", "COM1"};
  TraceCapture trace;
  TRcVxdForm vxd(d, trace.Sink());
  vxd.Create(store);
  EXPECT_EQ(vxd.PortList(), (std::vector<std::string>{"LPT1", "COM1"}));
  EXPECT_EQ(vxd.PortName(), "LPT1");
  EXPECT_EQ(trace.Lines(),
            (std::vector<std::string>{
                "TRcVxdForm.LoadRcVxd\r\n", "TRcVxdForm.LoadRcVxd VxdResult = ok (0)\r\n",
                "TRcVxdForm.GetPortList\r\n", "TRcVxdForm.GetPortList Suceeded\r\n"}));

  vxd.ChoosePort("COM1");
  vxd.PropertiesOk();
  d.failNext = true;
  vxd.OpenInterface();
  d.failNext = false;
  vxd.OpenInterface();  // a repeated open closes first
  EXPECT_EQ(d.opened, "COM1");
  EXPECT_TRUE(trace.Contains("TRcVxdForm.OpenRcPort GetLastError = Fehler (31)\r\n"));

  TRcChannels c;
  d.reply = Reply(20, 1000);  // more than the reply holds
  vxd.GetChannels(c);
  EXPECT_EQ(c.Count, 13);
  EXPECT_EQ(c.Value[12], 1012);
  d.reply.reset();  // a failed request gives the previous channels again
  vxd.GetChannels(c);
  EXPECT_EQ(c.Count, 13);
  d.reply = Reply(0, 0);
  vxd.GetChannels(c);
  EXPECT_EQ(c.Count, 0);

  d.log.clear();
  vxd.Destroy(store);
  EXPECT_EQ(d.log, "2;2;closehandle;");  // close sent twice at exit, then the handle goes
  EXPECT_EQ(store.ReadString("RcVxdForm", "PortName", ""), "COM1");
}

TEST(RcVxdForm, UnavailableLoadsNothingButStillTraces) {
  NoVxdDriver none;
  TraceCapture trace;
  TRcVxdForm vxd(none, trace.Sink());
  test_support::TempDir dir;
  SettingsStore store(dir.path(), NumberFormat{'.'});
  vxd.Create(store);
  EXPECT_FALSE(vxd.GetAvailable());
  EXPECT_TRUE(trace.Lines().empty());
  vxd.OpenInterface();
  EXPECT_EQ(trace.Lines().back(),
            "TRcVxdForm.OpenRcPort GetLastError = Kein Treiber auf diesem System (6)\r\n");
  TRcChannels c;
  vxd.GetChannels(c);
  EXPECT_EQ(c.Count, 0);
}

class FakeLibrary : public Load16Library {
 public:
  bool Available() const override { return true; }
  void Load(const std::string& f) override { log += "load " + f + ";"; }
  void Free() override { log += "free;"; }
  bool Lookup(const std::string&) override { return exports; }
  void RCRadioStart16(std::uint16_t a, std::uint16_t i) override {
    log += "start " + std::to_string(a) + " " + std::to_string(i) + ";";
  }
  void RCRadioStop16() override { log += "stop;"; }
  std::int16_t GetChannel16(std::int32_t ch) override {
    ++gets;
    return static_cast<std::int16_t>(-100 * ch);
  }
  std::string log;
  bool exports = true;
  int gets = 0;
};

TEST(RcDllForm, StartsWithTheChosenListPositions) {
  struct Row {
    const char* addr;
    const char* irq;
    std::string start;
  } rows[] = {{nullptr, nullptr, "start 1 3;"}, {"9", "0", "start 8 3;"}, {"6", "2", "start 6 4;"}};
  for (const Row& r : rows) {
    test_support::TempDir dir;
    SettingsStore store(dir.path(), NumberFormat{'.'});
    if (r.addr) store.WriteString("RcDllForm", "PortAddr", r.addr);
    if (r.irq) store.WriteString("RcDllForm", "PortIRQ", r.irq);
    FakeLibrary lib;
    TraceCapture trace;
    TRcDllForm dll(lib, trace.Sink());
    dll.Create(store);
    dll.OpenInterface();
    EXPECT_EQ(lib.log, "load load16.dll;" + r.start);
  }
}

TEST(RcDllForm, DialogChannelsAndExit) {
  test_support::TempDir dir;
  SettingsStore store(dir.path(), NumberFormat{'.'});
  FakeLibrary lib;
  TraceCapture trace;
  TRcDllForm dll(lib, trace.Sink());
  dll.Create(store);
  dll.ChooseLists(6, 2);  // "2F8" and "4"
  dll.PropertiesCancel();
  EXPECT_EQ(dll.EditAddr, 1);
  dll.ChooseLists(6, 2);
  dll.PropertiesOk();
  lib.log.clear();
  dll.OpenInterface();
  EXPECT_EQ(lib.log, "start 6 4;");

  TRcChannels c;
  dll.GetChannels(c);
  EXPECT_EQ(c.Count, 16);
  EXPECT_EQ(lib.gets, 16);
  EXPECT_EQ(c.Value[15], -1600);
  lib.exports = false;  // a lookup that fails repeats the last value
  dll.GetChannels(c);
  EXPECT_EQ(c.Value[0], -1600);

  lib.exports = true;
  lib.log.clear();
  dll.Destroy(store);
  EXPECT_EQ(lib.log, "stop;free;");
  EXPECT_EQ(store.ReadString("RcDllForm", "PortAddr", ""), "6");
  EXPECT_EQ(trace.Lines(),
            (std::vector<std::string>{"RCint32.LoadRCIntDLL\r\n", "TRcDllForm.OpenInterface\r\n",
                                      "RCint32.FreeRCIntDLL\r\n"}));

  NoLoad16Library none;
  TRcDllForm off(none, Trace());
  off.Create(store);
  EXPECT_FALSE(off.GetAvailable());
  off.GetChannels(c);
  EXPECT_EQ(c.Count, 0);
}

}  // namespace
}  // namespace veltrane
