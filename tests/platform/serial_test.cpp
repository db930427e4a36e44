// The serial board's interface on a real pseudo-terminal pair: the interface
// opens the terminal's far end as its port, the test writes as the board.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>
#include <vector>

#include "base/settings/settings_store.h"
#include "platform/serial/libserialport_port.h"
#include "radio/pic/rc_pic_form.h"
#include "support/temp_dir.h"

namespace veltrane {
namespace {

using namespace std::chrono_literals;

// The board's end of the line.
class Board {
 public:
  Board() {
    fd_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (fd_ >= 0 && ::grantpt(fd_) == 0 && ::unlockpt(fd_) == 0) name_ = ::ptsname(fd_);
  }
  ~Board() { Unplug(); }
  const std::string& PortName() const { return name_; }
  void Send(const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n =
          ::write(fd_, bytes.data() + done, std::min<std::size_t>(bytes.size() - done, 4096));
      if (n > 0)
        done += static_cast<std::size_t>(n);
      else
        std::this_thread::sleep_for(1ms);  // the terminal's buffer is full: the reader catches up
    }
  }
  void Unplug() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_ = -1;
  std::string name_;
};

struct Line {
  Board board;
  platform::LibSerialPort port;
  TraceCapture trace;
  TRcPICForm form{port, trace.Sink()};
  Line(int protocol) {
    form.SetProtocol(protocol);
    form.SetPortName(board.PortName());
    form.OpenInterface();
  }
  // Reads frames until `done` or two seconds passed.
  bool Frames(const std::function<bool(const TRcChannels&)>& done) {
    const auto end = std::chrono::steady_clock::now() + 2s;
    TRcChannels c;
    do {
      form.GetChannels(c);
      if (done(c)) return true;
      std::this_thread::sleep_for(2ms);
    } while (std::chrono::steady_clock::now() < end);
    return false;
  }
};

TEST(SerialBoard, FramesOfBothProtocolsThroughAPseudoTerminal) {
  struct Row {
    const char* what;
    int protocol;
    std::vector<std::uint8_t> bytes;
    int count;
    std::vector<double> values;
  } rows[] = {
      {"protocol 0 skips the byte after the sync",
       0,
       {0xF3, 0x07, 0x10, 0x20, 0x30, 0xF0},
       3,
       {0x10, 0x20, 0x30}},
      {"protocol 1", 1, {0xFF, 0x10, 0x20, 0x30, 0xFF}, 3, {0x10, 0x20, 0x30}},
      {"two syncs in a row", 0, {0xF0, 0xF0}, -1, {}},
      {"0xF5 is data in protocol 1", 1, {0xFF, 0xF5, 0xEF, 0xFF}, 2, {0xF5, 0xEF}},
      {"bytes before the first sync count from channel 1", 1, {0x42, 0x43, 0xFF}, 2, {0x42, 0x43}},
  };
  for (const Row& r : rows) {
    Line line(r.protocol);
    ASSERT_TRUE(line.port.IsOpen()) << r.what << ": " << line.board.PortName();
    line.board.Send(r.bytes);
    EXPECT_TRUE(line.Frames([&](const TRcChannels& c) {
      if (c.Count != r.count) return false;
      for (std::size_t i = 0; i < r.values.size(); ++i)
        if (c.Value[i] != r.values[i]) return false;
      return true;
    })) << r.what;
  }

  // Twenty channel bytes between syncs: 15 channels, the last byte in the last place.
  Line line(1);
  std::vector<std::uint8_t> frame = {0xFF};
  for (int i = 1; i <= 20; ++i) frame.push_back(static_cast<std::uint8_t>(i));
  frame.push_back(0xFF);
  line.board.Send(frame);
  EXPECT_TRUE(line.Frames([](const TRcChannels& c) {
    return c.Count == 15 && c.Value[14] == 15 && c.Value[15] == 20;
  }));
}

TEST(SerialBoard, AMillionRandomBytesStayInsideTheChannelTable) {
  for (int protocol : {0, 1}) {
    Line line(protocol);
    ASSERT_TRUE(line.port.IsOpen());
    std::mt19937 random(1234 + protocol);
    std::vector<std::uint8_t> bytes(1000000);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    bytes.insert(bytes.end(), {0xFF, 0xFF, 1, 2, 0xFF});  // a known last frame: all was read
    std::thread writer([&] { line.board.Send(bytes); });
    bool inside = true;
    const bool last = line.Frames([&](const TRcChannels& c) {
      inside = inside && c.Count >= -1 && c.Count <= 15 && line.form.RxIndex() >= -1 &&
               line.form.RxIndex() <= 15;
      for (double v : c.Value) inside = inside && v >= 0 && v <= 255;
      return protocol == 1
                 ? c.Count == 2 && c.Value[0] == 1 && c.Value[1] == 2 && line.form.RxIndex() == 0
                 : c.Count == 1 && c.Value[0] == 2 && line.form.RxIndex() == -1;
    });
    writer.join();
    if (!last)  // the reader may trail the writer on a busy machine
      line.Frames([&](const TRcChannels& c) { return c.Count == (protocol == 1 ? 2 : 1); });
    EXPECT_TRUE(inside) << protocol;
    TRcChannels c;
    line.form.GetChannels(c);
    EXPECT_EQ(c.Count, protocol == 1 ? 2 : 1) << protocol;
  }
}

TEST(SerialBoard, APortThatFailsOrVanishesKeepsTheLastFrameAndNeverBlocks) {
  Line line(1);
  line.board.Send({0xFF, 0x11, 0x22, 0xFF});
  ASSERT_TRUE(line.Frames([](const TRcChannels& c) { return c.Count == 2; }));
  line.board.Unplug();
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(line.Frames([&](const TRcChannels&) { return !line.port.IsOpen(); }));
  TRcChannels c;
  line.form.GetChannels(c);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
  EXPECT_EQ(c.Count, 2);
  EXPECT_EQ(c.Value[1], 0x22);
  EXPECT_EQ(line.trace.Count("TRcPICForm.ComPortRxChar Port lost " + line.board.PortName() +
                             ": the port went away\r\n") +
                line.trace.Count("TRcPICForm.ComPortRxChar Port lost " + line.board.PortName() +
                                 ": Input/output error\r\n"),
            1u)
      << (line.trace.Lines().empty() ? "" : line.trace.Lines().back());

  // A port that cannot be opened: a trace line, no channels, the frame goes on.
  platform::LibSerialPort missing;
  TraceCapture trace;
  TRcPICForm form(missing, trace.Sink());
  form.SetPortName("/dev/veltrane-no-such-port");
  form.OpenInterface();
  EXPECT_FALSE(missing.IsOpen());
  EXPECT_TRUE(trace.Contains("TRcPICForm.OpenInterface Opening /dev/veltrane-no-such-port\r\n"));
  ASSERT_EQ(trace.Lines().size(), 2u);
  EXPECT_EQ(
      trace.Lines()[1].rfind("TRcPICForm.OpenInterface Failed /dev/veltrane-no-such-port: ", 0),
      0u);
  form.GetChannels(c);
  EXPECT_EQ(c.Count, 0);
}

}  // namespace
}  // namespace veltrane
