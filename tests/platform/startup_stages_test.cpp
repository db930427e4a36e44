#include "base/trace/startup_stages.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace veltrane::test {
namespace {

TEST(StartupStages, MarksCountFromTheStartOfTheProcess) {
  EXPECT_EQ(StartupStages::Line("first scene frame", 312), "Startup first scene frame: 312 ms\r\n");
  TraceCapture capture;
  StartupStages stages(capture.Sink());
  const std::int64_t before = stages.ElapsedMs();
  // The process began before this test, and not hours ago: a misread start
  // time gives a negative or an enormous figure.
  EXPECT_GE(before, 0);
  EXPECT_LT(before, 30 * 60 * 1000);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  stages.Mark("window open");
  ASSERT_EQ(capture.Lines().size(), 1u);
  const std::string& line = capture.Lines()[0];
  ASSERT_EQ(line.rfind("Startup window open: ", 0), 0u) << line;
  const std::int64_t ms = std::stoll(line.substr(21));
  EXPECT_GE(ms, before + 20);  // the clock's tick is 10 ms at worst
  EXPECT_LT(ms, before + 5000);
}

}  // namespace
}  // namespace veltrane::test
