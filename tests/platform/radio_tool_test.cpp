// `veltrane-tool radio`: the serial board on a pseudo-terminal, the stored
// calibration applied, and what it reports for mistakes.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "support/temp_dir.h"
#include "tools/veltrane_tool/command_line.h"

namespace veltrane {
namespace {

int Tool(const std::vector<std::string>& args, std::string& out, std::string& err) {
  std::vector<std::string> argv = {"veltrane-tool", "radio"};
  argv.insert(argv.end(), args.begin(), args.end());
  std::ostringstream o, e;
  const int rc = tool::RunTool(argv, o, e);
  out = o.str();
  err = e.str();
  return rc;
}

TEST(RadioTool, FramesFromTheSerialBoardWithTheStoredCalibration) {
  const int board = ::posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(board, 0);
  ASSERT_EQ(::grantpt(board), 0);
  ASSERT_EQ(::unlockpt(board), 0);
  const std::string port = ::ptsname(board);
  test_support::TempDir dir;
  std::ofstream(dir.path() / "settings.ini")
      << "[RcPICForm]\nProtocol=0\ncentre0=100\nfup0=0.02\nfdown0=0.02\ncentre1=100\nfup1=0.02\n"
         "i3=0\ninv3=1\n";
  // Sent before the tool opens the port, so repeated until the frames show it.
  std::thread sender([&] {
    const std::uint8_t frame[] = {0xFF, 0x10, 150, 0x20};  // 0xFF is data in protocol 1
    for (int i = 0; i < 40; ++i) {
      if (::write(board, frame, sizeof frame) < 0) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  });
  std::string out, err;
  const int rc = Tool({"--interface", "pic", "--port", port, "--protocol", "1", "--config-dir",
                       dir.path().string(), "--frames", "15", "--frame-time", "0.02"},
                      out, err);
  sender.join();
  ::close(board);
  ASSERT_EQ(rc, 0) << err;
  std::istringstream lines(out);
  std::string line, last;
  int n = 0;
  while (std::getline(lines, line)) {
    last = line;
    ++n;
  }
  EXPECT_EQ(n, 15);
  const auto j = nlohmann::json::parse(last);
  EXPECT_EQ(last.rfind("{\"t\":", 0), 0u);
  EXPECT_DOUBLE_EQ(j["t"].get<double>(), 0.28);
  ASSERT_EQ(j["count"], 3) << last;
  EXPECT_EQ(j["channels"], nlohmann::json({16, 150, 32}));
  // Channel 1 on rudder: 16 is 84 below the centre, beyond the calibrated end: clamped.
  EXPECT_EQ(j["functions"][0], -1.0);
  EXPECT_DOUBLE_EQ(j["functions"][1].get<double>(), 1.0);  // (150 - 100) * 0.02
  EXPECT_DOUBLE_EQ(j["functions"][3].get<double>(), 1.0);  // channel 1 reversed, clamped
  EXPECT_EQ(j["functions"][2], 0.0);                       // channel 3 not calibrated
  EXPECT_EQ(j["functions"][4], 0.0);                       // channel 5 not delivered
  EXPECT_NE(err.find("TRcPICForm.OpenInterface Opening " + port), std::string::npos);
}

TEST(RadioTool, MistakesAndAPortThatCannotBeOpened) {
  test_support::TempDir dir;
  std::string out, err;
  EXPECT_EQ(Tool({"--interface", "serial"}, out, err), 1);
  EXPECT_NE(err.find("radio needs --interface none, joystick or pic"), std::string::npos) << err;
  EXPECT_EQ(Tool({"--interface", "joystick", "--port", "/dev/ttyS0"}, out, err), 1);
  EXPECT_EQ(Tool({"--interface", "pic", "--protocol", "2"}, out, err), 1);

  // As in the program: no message, frames with the last (no) channels, a trace line.
  ASSERT_EQ(Tool({"--interface", "pic", "--port", "/dev/veltrane-missing", "--config-dir",
                  dir.path().string(), "--frames", "2", "--frame-time", "0"},
                 out, err),
            0);
  EXPECT_EQ(
      out,
      "{\"t\":0.0,\"count\":0,\"channels\":[],\"functions\":[0.0,0.0,0.0,0.0,0.0,0.0,0.0,0.0]}\n"
      "{\"t\":0.0,\"count\":0,\"channels\":[],\"functions\":[0.0,0.0,0.0,0.0,0.0,0.0,0.0,0.0]}\n");
  EXPECT_NE(err.find("TRcPICForm.OpenInterface Failed /dev/veltrane-missing: "), std::string::npos)
      << err;

  ASSERT_EQ(Tool({"--list"}, out, err), 0);
  const auto j = nlohmann::json::parse(out);
  EXPECT_TRUE(j["serial_ports"].is_array());
  EXPECT_TRUE(j["joysticks"].is_array());
}

}  // namespace
}  // namespace veltrane
