#include "tools/veltrane_tool/script.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

namespace veltrane::tool {
namespace {

using K = ScriptCommand::Kind;

TEST(Script, ReadsEveryCommandSkippingCommentsAndBlankLines) {
  const auto s = ParseScriptText(
      "# a takeoff\n"
      "\n"
      "0 set throttle 1   # full power\r\n"
      "0.5 set 5 -0.25\n"
      "1 SET Pitch 0.3\n"
      "1 init\n2 restart\n2 handstart\n3 winch\n"
      "4 pause on\n4 pause OFF\n5 autoinit on\n5 indestructible off\n"
      "6 pilot 9\n7 thermals 12 3.5\n");
  ASSERT_EQ(s.size(), 13u);
  EXPECT_EQ(s[0].kind, K::Set);
  EXPECT_EQ(s[0].function, 3);
  EXPECT_EQ(s[0].value, 1.0);
  EXPECT_EQ(s[0].line, 3);
  EXPECT_EQ(s[1].function, 5);
  EXPECT_EQ(s[1].value, -0.25);
  EXPECT_EQ(s[1].time, 0.5);
  EXPECT_EQ(s[2].function, 7);
  EXPECT_EQ(s[3].kind, K::Init);
  EXPECT_EQ(s[4].kind, K::Restart);
  EXPECT_EQ(s[5].kind, K::Handstart);
  EXPECT_EQ(s[6].kind, K::Winch);
  EXPECT_TRUE(s[7].on);
  EXPECT_FALSE(s[8].on);
  EXPECT_EQ(s[9].kind, K::AutoInit);
  EXPECT_EQ(s[10].kind, K::Indestructible);
  EXPECT_FALSE(s[10].on);
  EXPECT_EQ(s[11].key, '9');
  EXPECT_EQ(s[12].count, 12);
  EXPECT_EQ(s[12].strength, 3.5);
  EXPECT_EQ(s[12].line, 15);
}

TEST(Script, FunctionNamesAndNumbers) {
  const char* names[] = {"rudder", "elevator", "aileron", "throttle",
                         "tail",   "nick",     "roll",    "pitch"};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(FunctionIndex(names[i]), i);
    EXPECT_EQ(FunctionIndex(std::to_string(i)), i);
  }
  EXPECT_EQ(FunctionIndex("8"), -1);
  EXPECT_EQ(FunctionIndex("-1"), -1);
  EXPECT_EQ(FunctionIndex("yaw"), -1);
}

struct Case {
  std::string text;
  int line;
  const char* mentions;
};

// Each bad line is reported with its own line number and says what is wrong.
template <std::size_t N>
void ExpectErrors(const Case (&cases)[N]) {
  for (const Case& c : cases) {
    try {
      ParseScriptText(c.text);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const ScriptError& e) {
      EXPECT_EQ(e.Line(), c.line) << c.text;
      const std::string what = e.what();
      EXPECT_EQ(what.rfind("line " + std::to_string(c.line) + ": ", 0), 0u) << what;
      EXPECT_NE(what.find(c.mentions), std::string::npos) << what;
      EXPECT_LT(what.size(), 200u);
    }
  }
}

TEST(Script, BadLinesNameTheirLine) {
  const Case cases[] = {
      {"0 set throttle 1\nx init\n", 2, "bad time"},
      {"-1 init\n", 1, "bad time"},
      {"nan init\n", 1, "bad time"},
      {"1e999 init\n", 1, "bad time"},
      {"# c\n\n3\n", 3, "command must follow"},
      {"0 fly\n", 1, "unknown command"},
      {"0 set throttle\n", 1, "usage"},
      {"0 set throttle 1 2\n", 1, "usage"},
      {"0 set flaps 1\n", 1, "unknown function"},
      {"0 set 8 1\n", 1, "unknown function"},
      {"0 set throttle full\n", 1, "bad value"},
      {"0 set throttle 0,5\n", 1, "bad value"},
      {"0 init now\n", 1, "usage"},
      {"0 pause maybe\n", 1, "on or off"},
      {"0 pause\n", 1, "usage"},
      {"0 pilot 5\n", 1, "pilot key"},
      {"0 pilot 88\n", 1, "pilot key"},
      {"0 thermals 161 2\n", 1, "0..160"},
      {"0 thermals -1 2\n", 1, "0..160"},
      {"0 thermals 2.5 2\n", 1, "0..160"},
      {"0 thermals 10 strong\n", 1, "strength"},
      {"2 init\n1 init\n", 2, "backwards"},
      {"0 set throttle 1e308\n", 1, "outside -1 to 1"},
      {"0 set rudder -1.0001\n", 1, "outside -1 to 1"},
      {"0 " + std::string(10'000'000, 'x') + " 1\n", 1, "unknown command"},
  };
  ExpectErrors(cases);
}

TEST(Script, PlacedThermalWithAndWithoutRadius) {
  const auto s = ParseScriptText("0 thermal 1100 -840.5 3\n1 THERMAL 0 0 -0.5 120\n");
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s[0].kind, K::Thermal);
  EXPECT_EQ(s[0].x, 1100.0);
  EXPECT_EQ(s[0].y, -840.5);
  EXPECT_EQ(s[0].strength, 3.0);
  EXPECT_EQ(s[0].radius, kDefaultThermalRadius);
  // Sinking air is a thermal of negative strength.
  EXPECT_EQ(s[1].strength, -0.5);
  EXPECT_EQ(s[1].radius, 120.0);
  const Case bad[] = {
      {"0 thermal 1 2\n", 1, "usage"},         {"0 thermal 1 2 3 4 5\n", 1, "usage"},
      {"0 thermal east 2 3\n", 1, "position"}, {"0 thermal 1 nan 3\n", 1, "position"},
      {"0 thermal 1 2 lots\n", 1, "strength"}, {"0 thermal 1 2 3 0\n", 1, "radius"},
      {"0 thermal 1 2 3 -60\n", 1, "radius"},  {"0 thermal 1 2 3 wide\n", 1, "radius"},
  };
  ExpectErrors(bad);
}

TEST(Script, EqualTimesKeepTheirOrder) {
  const auto s = ParseScriptText("1 winch\n1 handstart\n1 init\n");
  ASSERT_EQ(s.size(), 3u);
  EXPECT_EQ(s[0].kind, K::Winch);
  EXPECT_EQ(s[2].kind, K::Init);
}

}  // namespace
}  // namespace veltrane::tool
