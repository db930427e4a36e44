#include "loaders/par_file.h"

#include <gtest/gtest.h>

#include <clocale>
#include <fstream>
#include <string>

#include "loaders/load_error.h"
#include "support/temp_dir.h"

namespace veltrane::loaders {
namespace {

std::string Lines(const std::string& first, int count, const std::string& line) {
  std::string text = first + "\n";
  for (int i = 0; i < count; ++i) text += line + "\n";
  return text;
}

struct ParFixture : ::testing::Test {
  test_support::TempDir dir;
  SimState s;
  TraceCapture capture;
  Trace trace = capture.Sink();

  void Load(const std::string& content, const std::string& name = "model.par") {
    LoadPAR(s, dir.Write(name, content), trace);
  }
};

TEST_F(ParFixture, AirplaneValuesWithCommentsAndTraces) {
  const std::string path = dir.Write("plane.par", Lines("0   // style", 25, "1 // value"));
  LoadPAR(s, path, trace);
  EXPECT_EQ(s.iModelStyle, 0);
  const AirplaneParams& p = s.Airplane;
  for (double v :
       {p.MaxThrust,     p.RudderGain,     p.ElevatorGain,    p.AileronGain,   p.MaxLift,
        p.MinLift,       p.LiftSlope,      p.StallLiftSlope,  p.ProfileDrag,   p.ParasiteDrag,
        p.WheelFriction, p.StallDragSlope, p.PitchMomentCoef, p.WingIncidence, p.WingSpan,
        p.WingChord,     p.WingArea,       p.CgPosition,      p.Mass,          p.YawInertia,
        p.PitchInertia,  p.RollInertia,    p.StabilizerArea,  p.FinArea,       p.TailArm,
        p.Dihedral})
    EXPECT_EQ(v, 1.0);
  EXPECT_EQ(capture.Lines(),
            (std::vector<std::string>{"LoadLib.LoadPAR File: " + path + "\r\n",
                                      "LoadLib.LoadPAR iModelStyle = Airplane\r\n"}));
}

TEST_F(ParFixture, AirplaneBlockOrderAndWingArea) {
  std::string text = "0\n";
  for (int i = 1; i <= 25; ++i) text += std::to_string(i) + "\n";
  Load(text);
  const AirplaneParams& p = s.Airplane;
  EXPECT_EQ(p.MaxThrust, 1);
  EXPECT_EQ(p.ProfileDrag, 9);
  EXPECT_EQ(p.WingIncidence, 14);
  EXPECT_EQ(p.WingSpan, 15);
  EXPECT_EQ(p.WingChord, 16);
  EXPECT_EQ(p.WingArea, 15.0 * 16.0);
  EXPECT_EQ(p.CgPosition, 17);
  EXPECT_EQ(p.Mass, 18);
  EXPECT_EQ(p.Dihedral, 25);
}

TEST_F(ParFixture, BlankLinesTabsAndSignsAreSkippedOrRead) {
  Load("\n\n 0\r\n\n\t-0.05\t// thrust\n\n\n  1.5e-3\n+2\n\n");
  EXPECT_EQ(s.iModelStyle, 0);
  EXPECT_EQ(s.Airplane.MaxThrust, -0.05);
  EXPECT_EQ(s.Airplane.RudderGain, 1.5e-3);
  EXPECT_EQ(s.Airplane.ElevatorGain, 2.0);
  // The file ends here: the rest reads as 0.
  EXPECT_EQ(s.Airplane.AileronGain, 0.0);
  EXPECT_EQ(s.Airplane.WingSpan, 0.0);
  EXPECT_EQ(s.Airplane.WingArea, 0.0);
  EXPECT_EQ(capture.Lines().size(), 2u);
}

TEST_F(ParFixture, EveryLineEndStyleSeparatesValues) {
  Load("0 // style\r1 // a\r\n2 // b\n\r3\r\r4x");
  EXPECT_EQ(s.Airplane.MaxThrust, 1);
  EXPECT_EQ(s.Airplane.RudderGain, 2);
  EXPECT_EQ(s.Airplane.ElevatorGain, 3);
  EXPECT_EQ(s.Airplane.AileronGain, AirplaneParams{}.AileronGain);
  // LF, CR LF, LF, then CR, CR: the bad value stands on line 7.
  EXPECT_TRUE(capture.Contains("LoadLib.LoadPAR bad number at line 7\r\n"));
}

TEST_F(ParFixture, OtherStyleReadsNothingMore) {
  s.Airplane.MaxThrust = 42;
  Load("2\n5\n6\n");
  EXPECT_EQ(s.iModelStyle, 2);
  EXPECT_EQ(s.Airplane.MaxThrust, 42);
  EXPECT_EQ(capture.Lines().size(), 1u);
}

TEST_F(ParFixture, MissingFileGivesAirplaneDefaultsAndKeepsHelicopter) {
  s.iModelStyle = 1;
  s.Airplane.Mass = 4.2;
  s.Airplane.WingArea = 7;
  s.Heli.RotorRadius = 0.75;
  s.Heli.ContactCount = 4;
  LoadPAR(s, dir.Path() + "/absent.par", trace);
  EXPECT_EQ(s.iModelStyle, 0);
  EXPECT_EQ(s.Airplane.Mass, AirplaneParams{}.Mass);
  EXPECT_EQ(s.Airplane.WingArea, 1.0);
  EXPECT_EQ(s.Heli.RotorRadius, 0.75);
  EXPECT_EQ(s.Heli.ContactCount, 4);
  EXPECT_TRUE(capture.Lines().empty());
}

TEST_F(ParFixture, UnreadableFileFallsBackToDefaults) {
  const std::string path = dir.Write("locked.par", "1\n2\n");
  std::filesystem::permissions(path, std::filesystem::perms::none);
  if (std::ifstream(path)) GTEST_SKIP() << "running with rights that read any file";
  s.iModelStyle = 1;
  s.Airplane.Mass = 9;
  LoadPAR(s, path, trace);
  EXPECT_EQ(s.iModelStyle, 0);
  EXPECT_EQ(s.Airplane.Mass, 1.0);
  EXPECT_TRUE(capture.Contains("LoadLib.LoadPAR cannot read file\r\n"));
}

TEST_F(ParFixture, FoundIgnoringCase) {
  dir.Write("Model/HELI.PAR", "2\n");
  LoadPAR(s, dir.Path() + "/model/heli.par", trace);
  EXPECT_EQ(s.iModelStyle, 2);
}

TEST_F(ParFixture, MalformedNumberKeepsDefaultAndTracesLine) {
  std::string text = "0\n";
  for (int i = 1; i <= 25; ++i) text += i == 9 ? "0,02\n" : i == 15 ? "\n  2.0x\n" : "3\n";
  Load(text);
  EXPECT_EQ(s.Airplane.ProfileDrag, AirplaneParams{}.ProfileDrag);
  EXPECT_EQ(s.Airplane.WingSpan, AirplaneParams{}.WingSpan);
  EXPECT_EQ(s.Airplane.WingChord, 3);
  EXPECT_EQ(s.Airplane.WingArea, 3);
  // The values after a bad one are still read.
  EXPECT_EQ(s.Airplane.Dihedral, 3);
  EXPECT_TRUE(capture.Contains("LoadLib.LoadPAR bad number at line 10\r\n"));
  EXPECT_TRUE(capture.Contains("LoadLib.LoadPAR bad number at line 17\r\n"));
}

TEST_F(ParFixture, MalformedStyleIsAirplane) {
  std::string text = "x1\n";
  for (int i = 1; i <= 25; ++i) text += "1\n";
  Load(text);
  EXPECT_EQ(s.iModelStyle, 0);
  EXPECT_TRUE(capture.Contains("LoadLib.LoadPAR bad number at line 1\r\n"));
  EXPECT_TRUE(capture.Contains("LoadLib.LoadPAR iModelStyle = Airplane\r\n"));
}

TEST_F(ParFixture, FilesWithoutParametersAreRefusedAndChangeNothing) {
  std::string riff = "RIFF\x24\x08\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x44\xAC\0\0";
  riff += std::string(64, '\x80');
  const std::string cases[] = {"",
                               "\n\n",
                               "x1\n",
                               riff,
                               "\xFF\xD8\xFF\xE0\0\x10JFIF\0 \x01\x01 1 \x02 xx yy zz 7 \xFF\xD9",
                               "just some words\nin a text file\n"};
  for (const std::string& text : cases) {
    s.Airplane.Mass = 42.0;
    s.iModelStyle = 1;
    EXPECT_THROW(Load(text), LoadError) << text;
    EXPECT_EQ(s.Airplane.Mass, 42.0);
    EXPECT_EQ(s.iModelStyle, 1);
  }
}

std::string HeliText(const std::string& count, int groups) {
  std::string text = "1\n";
  for (int i = 1; i <= 32; ++i) text += std::to_string(i) + " // value " + std::to_string(i) + "\n";
  text += count + "\n";
  for (int g = 0; g < groups; ++g)
    for (int f = 1; f <= 7; ++f) text += std::to_string(100 * (g + 1) + f) + "\n";
  return text;
}

TEST_F(ParFixture, HelicopterBlockOrderAndContacts) {
  s.Airplane.MaxThrust = 33;  // not part of the helicopter block
  Load(HeliText("2", 2));
  EXPECT_EQ(s.iModelStyle, 1);
  EXPECT_TRUE(capture.Contains("LoadLib.LoadPAR iModelStyle = Helicopter\r\n"));
  const HelicopterParams& h = s.Heli;
  EXPECT_EQ(s.Airplane.Mass, 1);
  EXPECT_EQ(h.HeliInertia.z, 2);
  EXPECT_EQ(h.HeliInertia.y, 3);
  EXPECT_EQ(h.HeliInertia.x, 4);
  EXPECT_EQ(h.RotationalDamping, 5);
  EXPECT_EQ(h.ExpoCollective, 9);
  EXPECT_EQ(h.RotorRadius, 10);
  EXPECT_EQ(h.InPlaneFlowFactor, 17);
  EXPECT_EQ(h.TailRotorArm, 23);
  EXPECT_EQ(h.GyroStickReduction, 26);
  EXPECT_EQ(s.Airplane.LiftSlope, 27);
  EXPECT_EQ(s.Airplane.MaxLift, 28);
  EXPECT_EQ(s.Airplane.MinLift, 29);
  EXPECT_EQ(s.Airplane.ProfileDrag, 30);
  EXPECT_EQ(h.BladeDragSlope, 31);
  EXPECT_EQ(s.Airplane.ParasiteDrag, 32);
  EXPECT_EQ(s.Airplane.MaxThrust, 33);
  ASSERT_EQ(h.ContactCount, 2);
  const HeliContact& c = h.Contacts[1];
  EXPECT_EQ(c.Position, (Vec3{201, 202, 203}));
  EXPECT_EQ(c.ContactFriction, 204);
  EXPECT_EQ(c.ContactStiffness, 205);
  EXPECT_EQ(c.ContactDamping, 206);
  EXPECT_EQ(c.ContactMaxForce, 207);
}

TEST_F(ParFixture, ContactCountIsLimitedToTheTable) {
  Load(HeliText("0", 0));
  EXPECT_EQ(s.Heli.ContactCount, 0);
  Load(HeliText("60", 60));
  EXPECT_EQ(s.Heli.ContactCount, kMaxContacts);
  EXPECT_EQ(s.Heli.Contacts[50].ContactMaxForce, 5107);
  Load(HeliText("-3", 1));
  EXPECT_EQ(s.Heli.ContactCount, 0);
  Load(HeliText("2.5", 2));
  EXPECT_EQ(s.Heli.ContactCount, 0);
}

TEST_F(ParFixture, NewHelicopterForgetsOldContacts) {
  Load(HeliText("3", 3));
  Load(HeliText("1", 1));
  EXPECT_EQ(s.Heli.ContactCount, 1);
  EXPECT_EQ(s.Heli.Contacts[2].ContactStiffness, 0.0);
}

TEST_F(ParFixture, ShortHelicopterFileReadsZeros) {
  Load("1\n4\n0.1\n");
  EXPECT_EQ(s.Airplane.Mass, 4);
  EXPECT_EQ(s.Heli.HeliInertia.z, 0.1);
  EXPECT_EQ(s.Heli.HeliInertia.y, 0.0);
  EXPECT_EQ(s.Airplane.LiftSlope, 0.0);
  EXPECT_EQ(s.Airplane.ProfileDrag, 0.0);
  EXPECT_EQ(s.Heli.ContactCount, 0);
  EXPECT_EQ(capture.Lines().size(), 2u);
}

TEST_F(ParFixture, MalformedHelicopterValueIsZero) {
  std::string text = HeliText("1", 1);
  text.replace(text.find("\n10 "), 4, "\nabc ");
  Load(text);
  EXPECT_EQ(s.Heli.RotorRadius, 0.0);
  EXPECT_EQ(s.Heli.BladeArea, 11);
  EXPECT_TRUE(capture.Contains("LoadLib.LoadPAR bad number at line 11\r\n"));
}

TEST_F(ParFixture, DecimalPointWhateverTheLocale) {
  const std::string old = std::setlocale(LC_ALL, nullptr);
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "de_DE.UTF-8 not installed";
  Load("0\n2.5\n3,5\n");
  std::setlocale(LC_ALL, old.c_str());
  EXPECT_EQ(s.Airplane.MaxThrust, 2.5);
  EXPECT_EQ(s.Airplane.RudderGain, AirplaneParams{}.RudderGain);
}

}  // namespace
}  // namespace veltrane::loaders
