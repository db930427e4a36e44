#include "app/main_form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "app/fake_services.h"
#include "support/temp_dir.h"

namespace veltrane {
namespace {

namespace fs = std::filesystem;

constexpr int kLeft = 0x25, kV = 0x56;
const std::string kData = std::string(VELTRANE_TEST_DIR) + "/data/";

// One program run: a settings folder that outlives the run, and the form.
class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("LC_ALL", "de_DE.UTF-8", 1); }
  void TearDown() override { unsetenv("LC_ALL"); }

  void Start(const std::string& exePath = kData, NumberFormat format = NumberFormat{'.'}) {
    form.reset();
    store = std::make_unique<SettingsStore>(config.path(), format);
    form = std::make_unique<TMainForm>(exePath, *store, traces.Sink(), clock, services);
  }
  void Close() {
    form->FormClose();
    form.reset();
  }
  void WriteSettings(const std::string& text) {
    std::ofstream(config.path() / "settings.ini", std::ios::binary) << text;
  }
  // What the file on disk holds now.
  std::string Stored(const std::string& name, const std::string& section = "MainForm") {
    SettingsStore disk(config.path(), NumberFormat{'.'});
    return disk.ReadString(section, name, "<missing>");
  }
  void Ticks(int n, int ms) {
    for (int i = 0; i < n; ++i) {
      clock.Advance(ms);
      form->DXTimerTimer();
    }
  }
  void StartWithScene() {
    WriteSettings(
        "[MainForm]\nsModellFilename=Model/trainer.par\nsLandFileName=Landscape/field.scn\n");
    Start();
    form->FormCreate();
    form->SimInit();
  }

  test_support::TempDir config;
  ManualClock clock;
  FakeServices services;
  TraceCapture traces;
  std::unique_ptr<SettingsStore> store;
  std::unique_ptr<TMainForm> form;
};

TEST_F(MainFormTest, FirstStartKeepsEveryBuiltInValueAndWritesThemAtClose) {
  Start("/nonexistent/veltrane");
  form->FormCreate();
  EXPECT_TRUE(form->MenuIsVisible());
  EXPECT_EQ(form->sModellFilename(), "Model/su-26.par");
  EXPECT_EQ(form->sLandFileName(), "Landscape/world.scn");
  EXPECT_EQ(form->iLanguage(), 0);  // German locale
  EXPECT_EQ(form->Width(), 640);
  EXPECT_EQ(form->Height(), 479);
  EXPECT_FALSE(form->Display().doFullscreen);
  EXPECT_TRUE(form->Display().doWaitVBlank);
  EXPECT_TRUE(form->Mipmapping());
  EXPECT_TRUE(form->Checks().Nebel);
  EXPECT_FALSE(form->Checks().FPS);
  EXPECT_EQ(Stored("Running"), "1");  // on disk right after start
  Close();

  const std::pair<const char*, const char*> expected[] = {{"MenuIsVisible", "1"},
                                                          {"SoundEin", "1"},
                                                          {"SoundVolume", "70"},
                                                          {"sModellFilename", "Model/su-26.par"},
                                                          {"AutoZoom", "0"},
                                                          {"Zoom", "2"},
                                                          {"aZoom", "2"},
                                                          {"fZoom", "2"},
                                                          {"fNoZoom", "10"},
                                                          {"fFullZoom", "60"},
                                                          {"fZoomSpeed", "50"},
                                                          {"AutoRestart", "0"},
                                                          {"AutoInit", "0"},
                                                          {"Nebel", "1"},
                                                          {"weicheTexturen", "1"},
                                                          {"Texturen", "1"},
                                                          {"doFullscreen", "0"},
                                                          {"DisplayWidth", "800"},
                                                          {"DisplayHeight", "600"},
                                                          {"iDXDrawDriver", "0"},
                                                          {"BitCount", "16"},
                                                          {"doWaitVBlank", "1"},
                                                          {"doFlip", "1"},
                                                          {"Mipmapping", "1"},
                                                          {"Width", "640"},
                                                          {"Height", "479"},
                                                          {"FPS", "0"},
                                                          {"GeschwHoehe", "0"},
                                                          {"sLandFileName", "Landscape/world.scn"},
                                                          {"Hinterherflug", "0"},
                                                          {"pStandort.fX", "0"},
                                                          {"pStandort.fY", "0"},
                                                          {"pStandort.fZ", "0"},
                                                          {"iLanguage", "0"},
                                                          {"Running", "0"},
                                                          {"ScreenSaver", "1"},
                                                          {"Vario", "-1"},
                                                          {"VarioVolume", "70"}};
  for (const auto& [name, value] : expected) EXPECT_EQ(Stored(name), value) << name;
  EXPECT_EQ(Stored("KeyChannel0", "KeyForm"), "37");
  EXPECT_EQ(Stored("fup3", "RcIntForm"), "0");
  EXPECT_EQ(Stored("pManPos.fX"), "<missing>");
}

TEST_F(MainFormTest, FloatsFollowTheLocale) {
  WriteSettings("[MainForm]\nZoom=2,5\n");
  Start(kData, NumberFormat{','});
  form->FormCreate();
  EXPECT_DOUBLE_EQ(form->Zooms().Zoom, 2.5);
  form->Vergssern1Click();
  Close();
  EXPECT_EQ(Stored("Zoom"), "3");

  WriteSettings("[MainForm]\nZoom=2,5\n");
  Start(kData, NumberFormat{'.'});
  form->FormCreate();
  EXPECT_DOUBLE_EQ(form->Zooms().Zoom, 2.0);
  Close();
}

TEST_F(MainFormTest, ClosingInFullScreenKeepsTheWindowSizeFromBefore) {
  Start();
  form->FormCreate();
  form->ReportWindowSize(1024, 700);
  services.placement = {10, 20, 1024, 700};
  // What the window does for a switch to 800x600.
  form->StoreWindow();
  form->Display().doFullscreen = true;
  services.placement = {0, 0, 800, 600};
  form->ReportWindowSize(800, 600);
  Close();
  EXPECT_EQ(Stored("doFullscreen"), "1");
  EXPECT_EQ(Stored("DisplayWidth"), "800");
  EXPECT_EQ(Stored("DisplayHeight"), "600");
  EXPECT_EQ(Stored("Width"), "1024");
  EXPECT_EQ(Stored("Height"), "700");
  EXPECT_EQ(services.placement.x, 10);  // the window went back where it was

  // The next start is full screen at the stored size and returns to 1024x700.
  Start();
  form->FormCreate();
  EXPECT_TRUE(form->Display().doFullscreen);
  EXPECT_TRUE(traces.Contains("TMainForm.FormCreate doFullscreen\r\n"));
  Close();
  EXPECT_EQ(Stored("Width"), "1024");
}

TEST_F(MainFormTest, ScreenSaverIsRestoredAlsoAfterACrashedRun) {
  services.screenSaver = true;
  Start();
  form->FormCreate();
  EXPECT_FALSE(services.screenSaver);
  EXPECT_EQ(Stored("ScreenSaver"), "1");
  form.reset();  // the run ends without FormClose
  EXPECT_EQ(Stored("Running"), "1");

  // The system now reports the saver off; the crashed run's value wins.
  Start();
  form->FormCreate();
  EXPECT_EQ(Stored("ScreenSaver"), "1");
  Close();
  ASSERT_FALSE(services.screenSaverCalls.empty());
  EXPECT_TRUE(services.screenSaverCalls.back().active);
  EXPECT_TRUE(services.screenSaverCalls.back().notify);
  EXPECT_TRUE(services.screenSaver);
  EXPECT_EQ(Stored("Running"), "0");
  EXPECT_TRUE(traces.Contains("TMainForm.FormClose Enable ScreenSaver Succeeded \r\n"));
}

TEST_F(MainFormTest, ScreenSaverFailureIsOnlyTraced) {
  services.failScreenSaver = true;
  Start();
  form->FormCreate();
  EXPECT_TRUE(traces.Contains(
      "TMainForm.FormCreate Disable ScreenSaver GetLastError = Zugriff verweigert\r\n"));
  Close();
  EXPECT_TRUE(traces.Contains(
      "TMainForm.FormClose Enable ScreenSaver GetLastError = Zugriff verweigert\r\n"));
  EXPECT_EQ(Stored("Running"), "0");
}

TEST_F(MainFormTest, DamagedSettingsStartWithDefaultsAndAreReplaced) {
  WriteSettings(std::string("[MainForm]\nSoundVolume=33\nZoom=\x01\x02garbage\nWidth=8") +
                std::string(500, '\xfe'));
  Start();
  form->FormCreate();
  EXPECT_DOUBLE_EQ(form->Zooms().Zoom, 2.0);
  EXPECT_EQ(form->Width(), 640);
  Close();
  EXPECT_EQ(Stored("SoundVolume"), "33");
  EXPECT_EQ(Stored("Zoom"), "2");
  EXPECT_EQ(Stored("Width"), "640");
}

TEST_F(MainFormTest, ZoomValuesThatWouldBreakTheViewKeepTheirDefaults) {
  WriteSettings(
      "[MainForm]\nZoom=0\naZoom=-3\nfZoom=4\nfNoZoom=0\nfFullZoom=-60\nSoundVolume=250\n");
  Start();
  form->FormCreate();
  EXPECT_DOUBLE_EQ(form->Zooms().Zoom, 2.0);
  EXPECT_DOUBLE_EQ(form->Zooms().aZoom, 2.0);
  EXPECT_DOUBLE_EQ(form->Zooms().fZoom, 4.0);
  EXPECT_DOUBLE_EQ(form->Zooms().fNoZoom, 0.0);
  EXPECT_DOUBLE_EQ(form->Zooms().fFullZoom, 60.0);
  Close();
  EXPECT_EQ(Stored("SoundVolume"), "100");
}

TEST_F(MainFormTest, AbsurdStoredValuesStartOnDefaultsAndAreNamedInOneLine) {
  WriteSettings(
      "[MainForm]\nWidth=-5\nHeight=99999999\nZoom=nan\naZoom=inf\nfZoomSpeed=-3\nBitCount=7\n"
      "doFullscreen=1\nDisplayWidth=0\nDisplayHeight=2147483647\niLanguage=99\n"
      "pStandort.fX=1e308\npStandort.fY=-inf\nsModellFilename=Model/none.par\nsLandFileName=/"
      "nowhere.scn\n");
  Start();
  form->FormCreate();
  EXPECT_EQ(form->Width(), 640);
  EXPECT_EQ(form->Height(), 479);
  EXPECT_DOUBLE_EQ(form->Zooms().Zoom, 2.0);
  EXPECT_DOUBLE_EQ(form->Zooms().aZoom, 2.0);
  EXPECT_EQ(form->Zooms().fZoomSpeed, 50);
  EXPECT_EQ(form->Display().BitCount, 16);
  EXPECT_EQ(form->iLanguage(), 0);
  EXPECT_TRUE(std::isfinite(form->Zooms().pStandort.x) &&
              std::fabs(form->Zooms().pStandort.x) < 1e7);
  EXPECT_TRUE(std::isfinite(form->Zooms().pStandort.y));
  EXPECT_EQ(form->sModellFilename(), "Model/su-26.par");
  EXPECT_EQ(form->sLandFileName(), "Landscape/world.scn");
  EXPECT_TRUE(
      traces.Contains("TMainForm.FormCreate settings out of range, kept defaults for: Zoom, aZoom, "
                      "fZoomSpeed, BitCount, "
                      "Width, Height, pStandort.fX, pStandort.fY\r\n"));
  Close();
  EXPECT_EQ(Stored("Width"), "640");
  EXPECT_EQ(Stored("Zoom"), "2");
}

TEST_F(MainFormTest, UnknownDriverFallsBackToTheFirst) {
  WriteSettings("[MainForm]\niDXDrawDriver=7\n");
  Start();
  form->FormCreate();
  EXPECT_EQ(form->Display().iDXDrawDriver, 0);
  EXPECT_TRUE(traces.Contains("TMainForm.FormCreate iDXDrawDriver = 7\r\n"));
  EXPECT_TRUE(traces.Contains("TMainForm.FormCreate DriverName = Display 0\r\n"));
  form.reset();
}

TEST_F(MainFormTest, GraphicsCheckAsksOnceAndRemembersIgnore) {
  Start();
  EXPECT_TRUE(form->OnInitalizeAppliciation(4, 6));
  EXPECT_TRUE(form->OnInitalizeAppliciation(3, 3));
  EXPECT_TRUE(services.boxes.empty());
  EXPECT_TRUE(traces.Contains("OnInitalizeAppliciation GLVersion = OpenGL 3.3\r\n"));

  services.answer = MessageBoxChoice::Ok;
  EXPECT_FALSE(form->OnInitalizeAppliciation(3, 2));
  ASSERT_EQ(services.boxes.size(), 1u);
  EXPECT_EQ(services.boxes[0].rfind(
                "You must have installed OpenGL Version 3.3 or later to run Veltrane. \n", 0),
            0u);
  EXPECT_EQ(Stored("IgnoreDirectXCheck", ""), "<missing>");

  services.answer = MessageBoxChoice::Ignore;
  EXPECT_TRUE(form->OnInitalizeAppliciation(2, 1));
  EXPECT_EQ(Stored("IgnoreDirectXCheck", ""), "1");
  traces.Clear();
  Start();
  EXPECT_TRUE(form->OnInitalizeAppliciation(2, 1));
  EXPECT_EQ(services.boxes.size(), 2u);  // not asked again
  EXPECT_TRUE(traces.Contains("OnInitalizeAppliciation User Ignored DirectXCheck\r\n"));
}

TEST_F(MainFormTest, SceneBuildPlacesPilotModelAndLights) {
  StartWithScene();
  const SimState& s = form->State();
  const double ground = form->CurrentWorld().GroundHeightAt(480, 450);
  EXPECT_GT(ground, 1.0);
  EXPECT_NEAR(s.PilotPosition.x, 480.0, 1e-9);  // the file's places are from the centre
  EXPECT_NEAR(s.PilotPosition.y, 450.0, 1e-9);
  EXPECT_NEAR(s.PilotPosition.z, ground + 2.0, 1e-3);
  EXPECT_NEAR(s.WinchPosition.y, 700.0, 1e-9);
  EXPECT_NEAR(s.WinchPosition.z, ground + 0.1, 1e-3);
  EXPECT_NEAR(s.ModelPosition.x, 500.0, 1e-9);
  EXPECT_EQ(services.caption, "Veltrane - trainer");
  EXPECT_FALSE(form->HasErrorMessage()) << *form->TakeErrorMessage();

  ASSERT_TRUE(form->SceneFrame());
  std::size_t lights = 0;
  for (const auto& l : form->SceneFrame()->Lights()) lights += l != nullptr;
  EXPECT_EQ(lights, 6u);
  EXPECT_EQ(form->SceneFrame()->SceneFog().enabled, true);
  EXPECT_FLOAT_EQ(form->Viewport().back, 8000.0f);
  EXPECT_EQ(form->Device().renderMode, 19u);
  EXPECT_EQ(form->Device().textureQuality, rm::TextureQuality::MipLinear);
  EXPECT_TRUE(form->TimerEnabled());
  for (const char* line :
       {"TMainForm.DXDrawInitialize\r\n", "TMainForm.DXDrawInitialize SetScene\r\n",
        "TMainForm.DXDrawInitialize CreateWorldFrame\r\n",
        "TMainForm.DXDrawInitialize CreateShadow\r\n",
        "TMainForm.DXDrawInitialize DXTimer.Enable\r\n", "TMainForm.DXDrawInitializeSurface\r\n"})
    EXPECT_TRUE(traces.Contains(line)) << line;
  // The model's mesh builder was filled and is the shadow's visual.
  bool modelFilled = false;
  for (const auto& child : form->SceneFrame()->Children())
    for (const auto& v : child->Visuals())
      if (auto* shadow = std::get_if<std::shared_ptr<rm::Shadow>>(&v))
        modelFilled = (*shadow)->visual && (*shadow)->visual->FaceCount() > 0;
  EXPECT_TRUE(modelFilled);
  form.reset();
}

TEST_F(MainFormTest, StartRunningAppliesTheStoredLanguageAndTheCaptionKeepsTheModel) {
  WriteSettings(
      "[MainForm]\niLanguage=13\nsModellFilename=Model/trainer.par\nsLandFileName=Landscape/"
      "field.scn\n");
  Start();
  std::vector<int> applied;
  form->onUpdateLanguage = [&](int index) { applied.push_back(index); };
  form->FormCreate();
  form->OnStartRunning();
  EXPECT_EQ(applied, std::vector<int>{13});
  EXPECT_TRUE(traces.Contains("TMainForm.OnStartRunning\r\n"));
  form->SetMainCaption("Veltrane GR");
  EXPECT_EQ(services.caption, "Veltrane GR");
  form->SimInit();
  EXPECT_EQ(services.caption, "Veltrane GR - trainer");
  // A language chosen later keeps the loaded model's name in the title.
  form->SetMainCaption("Veltrane");
  EXPECT_EQ(services.caption, "Veltrane - trainer");
}

TEST_F(MainFormTest, PilotPositionOverrideFromSettings) {
  WriteSettings(
      "[MainForm]\nsModellFilename=Model/trainer.par\nsLandFileName=Landscape/field.scn\n"
      "pManPos.fX=100\npManPos.fY=200\n");
  Start();
  form->FormCreate();
  form->SimInit();
  EXPECT_NEAR(form->State().PilotPosition.x, 100.0, 1e-9);
  EXPECT_NEAR(form->State().PilotPosition.z, form->CurrentWorld().GroundHeightAt(100, 200) + 2.0,
              1e-3);
  form.reset();
}

TEST_F(MainFormTest, MissingAndBrokenFilesAreReportedAndTheProgramRuns) {
  fs::path exe = config.path() / "exe";
  fs::create_directories(exe / "Landscape");
  std::ofstream(exe / "Landscape" / "bad.scn") << "SCENE 500 100\nFOO BAR\n";
  WriteSettings("[MainForm]\nsLandFileName=Landscape/bad.scn\n");
  Start(exe.string());
  form->FormCreate();
  form->SimInit();
  std::vector<std::string> messages;
  while (auto m = form->TakeErrorMessage()) messages.push_back(*m);
  ASSERT_EQ(messages.size(), 2u);  // the broken landscape, the missing default model
  EXPECT_NE(messages[1].find("su-26.par"), std::string::npos);
  Ticks(20, 20);  // flies on the flat stand-in world
  EXPECT_TRUE(form->TimerEnabled());
  form.reset();
}

TEST_F(MainFormTest, AFileWhoseLoadEndedTheLastRunIsSkippedOnce) {
  struct Case {
    std::string running;
    bool skipped;
  };
  for (const Case& c : {Case{"1", true}, Case{"0", false}}) {
    WriteSettings("[MainForm]\nRunning=" + c.running +
                  "\nsModellFilename=Model/trainer.par\nLoadingModel=Model/trainer.par\n"
                  "sLandFileName=Landscape/field.scn\nLoadingLandscape=Landscape/field.scn\n");
    Start();
    form->FormCreate();
    std::vector<std::string> messages;
    while (auto m = form->TakeErrorMessage()) messages.push_back(*m);
    if (c.skipped) {
      ASSERT_EQ(messages.size(), 1u);  // one message for both files
      EXPECT_NE(messages[0].find("Model/trainer.par"), std::string::npos) << messages[0];
      EXPECT_NE(messages[0].find("Landscape/field.scn"), std::string::npos) << messages[0];
      EXPECT_EQ(form->sModellFilename(),
                "Model/su-26.par");  // the default, not in this data folder
      EXPECT_EQ(form->sLandFileName(), "Landscape/world.scn");
    } else {
      EXPECT_TRUE(messages.empty());
      EXPECT_EQ(form->sModellFilename(), "Model/trainer.par");
    }
    // The markers are gone from the file: the next start loads normally.
    EXPECT_EQ(Stored("LoadingModel"), "<missing>");
    EXPECT_EQ(Stored("LoadingLandscape"), "<missing>");
    form.reset();
  }
}

TEST_F(MainFormTest, AFileThatIsNoModelKeepsTheCurrentModel) {
  StartWithScene();
  while (form->TakeErrorMessage()) {
  }
  const double mass = form->State().Airplane.Mass;
  const std::string caption = form->Caption();
  fs::path bad = config.path() / "bad";
  fs::create_directories(bad);
  std::ofstream(bad / "noise.par") << "RIFF\x01\x02 WAVEfmt data";
  std::ofstream(bad / "empty.par") << "0\n1\n2\n";
  std::ofstream(bad / "empty.geo") << "END\n";  // no geometry
  for (const char* name : {"noise.par", "empty.par"}) {
    form->SetModelFileName((bad / name).string());
    form->LoadAirplane((bad / name).string());
    const auto message = form->TakeErrorMessage();
    ASSERT_TRUE(message) << name;
    EXPECT_NE(message->find(name == std::string("empty.par") ? "empty.geo" : name),
              std::string::npos)
        << *message;
    EXPECT_EQ(form->sModellFilename(), "Model/trainer.par") << name;
    EXPECT_EQ(form->State().Airplane.Mass, mass) << name;
    EXPECT_EQ(form->Caption(), caption);
    EXPECT_EQ(Stored("LoadingModel"), "<missing>");
  }
  form.reset();
}

TEST_F(MainFormTest, TenSecondsOfKeyboardFlightAndTheCommandsArePersisted) {
  StartWithScene();
  const double startY = form->State().ModelPosition.y;
  services.held = {kV};  // full throttle
  Ticks(250, 20);
  EXPECT_DOUBLE_EQ(form->State().FunctionValue[fn::kThrottle], 1.0);
  form->FormKeyDown('Z', false);  // autozoom
  form->FormKeyDown('A', false);  // speed, height, vario
  form->FormKeyDown(vk::kAdd, false);
  services.held = {kV, kLeft};
  Ticks(250, 20);
  EXPECT_DOUBLE_EQ(form->State().FunctionValue[fn::kRudder], 1.0);
  EXPECT_GT(std::abs(form->State().ModelPosition.y - startY), 5.0);
  EXPECT_FALSE(form->State().Crashed && form->State().ModelPosition.z < 0);

  const Overlay& ov = form->CurrentOverlay();
  EXPECT_TRUE(ov.speed.visible);
  EXPECT_FALSE(ov.fps.visible);
  EXPECT_EQ(ov.speed.text.rfind("Geschwindigkeit: ", 0), 0u);
  EXPECT_EQ(ov.height.y, 6 + 16);  // 1.2 x 13 px rounds to 16
  EXPECT_GT(form->FramesPerSecond(), 45);
  EXPECT_LT(form->FramesPerSecond(), 55);

  const Vec3 standing = form->State().PilotPosition;
  form->FormKeyDown('C', false);  // follow flight on
  Ticks(10, 20);
  EXPECT_NE(form->State().PilotPosition, standing);
  form->FormKeyUp(vk::kF12);
  EXPECT_EQ(services.cursor, CursorKind::Hidden);
  Close();

  EXPECT_EQ(Stored("AutoZoom"), "1");
  EXPECT_EQ(Stored("fZoom"), "2.4");
  EXPECT_EQ(Stored("Zoom"), "2");
  EXPECT_EQ(Stored("GeschwHoehe"), "1");
  EXPECT_EQ(Stored("Hinterherflug"), "1");
  EXPECT_EQ(Stored("MenuIsVisible"), "0");
  EXPECT_EQ(Stored("sModellFilename"), "Model/trainer.par");
  EXPECT_EQ(Stored("sLandFileName"), "Landscape/field.scn");
  EXPECT_DOUBLE_EQ(std::stod(Stored("pStandort.fX")), standing.x);
  EXPECT_DOUBLE_EQ(std::stod(Stored("pStandort.fZ")), standing.z);
  EXPECT_NE(Stored("aZoom"), "2");  // adapted while flying

  // The next run returns to the standing place when follow flight goes off.
  Start();
  form->FormCreate();
  form->SimInit();
  EXPECT_TRUE(form->Zooms().Hinterherflug);
  form->Hinterherflug1Click();
  EXPECT_EQ(form->State().PilotPosition, standing);
  form.reset();
}

TEST_F(MainFormTest, SoundHookGetsTheModelsSoundAndEveryUnpausedFrame) {
  struct RecordingSound : SoundHook {
    bool Available() const override { return true; }
    void LoadSound(const std::string& file, const SimState&) override { files.push_back(file); }
    void UpdateSound(const SimState&, bool) override { ++updates; }
    std::vector<std::string> files;
    int updates = 0;
  } sound;
  WriteSettings(
      "[MainForm]\nsModellFilename=Model/trainer.par\nsLandFileName=Landscape/field.scn\n");
  store = std::make_unique<SettingsStore>(config.path(), NumberFormat{'.'});
  form = std::make_unique<TMainForm>(kData, *store, traces.Sink(), clock, services, &sound);
  form->FormCreate();
  EXPECT_TRUE(form->SoundAvailable());
  form->SimInit();
  ASSERT_EQ(sound.files.size(), 1u);
  EXPECT_EQ(fs::path(sound.files[0]).filename(), "trainer.wav");
  Ticks(5, 20);
  form->PauseClick();
  Ticks(5, 20);
  EXPECT_EQ(sound.updates, 5);
  form.reset();
}

TEST_F(MainFormTest, AMissingSoundDeviceIsTracedWhereTheWindowsCreationReachesTheSound) {
  struct SilentSound : SoundHook {
    bool Available() const override { return false; }
  } sound;
  store = std::make_unique<SettingsStore>(config.path(), NumberFormat{'.'});
  form = std::make_unique<TMainForm>(kData, *store, traces.Sink(), clock, services, &sound);
  form->FormCreate();
  EXPECT_FALSE(form->SoundAvailable());
  const auto& l = traces.Lines();
  const auto at = [&](const std::string& line) {
    return std::find(l.begin(), l.end(), line) - l.begin();
  };
  ASSERT_EQ(traces.Count("TMainForm.FormCreate DXSound not available\r\n"), 1u);
  EXPECT_GT(at("TMainForm.FormCreate DXSound not available\r\n"),
            at("TMainForm.FormCreate Disable ScreenSaver Succeeded\r\n"));
  form.reset();
}

TEST_F(MainFormTest, PauseStillReadsTheKeysAndDrawsButFreezesTheFlight) {
  StartWithScene();
  Ticks(5, 20);
  form->FormKeyDown('P', false);
  const Vec3 at = form->State().ModelPosition;
  services.held = {kLeft};
  Ticks(50, 20);
  EXPECT_EQ(form->State().ModelPosition, at);
  EXPECT_DOUBLE_EQ(form->State().FunctionValue[fn::kRudder], 1.0);
  form.reset();
}

TEST_F(MainFormTest, KeysOfTheMainWindow) {
  StartWithScene();
  traces.Clear();
  const Vec3 before = form->State().PilotPosition;
  form->FormKeyPress('8');
  EXPECT_TRUE(traces.Contains("TMainForm.FormKeyPress\r\n"));
  const Vec3 after = form->State().PilotPosition;
  EXPECT_NE(after, before);
  EXPECT_EQ(form->CameraFrame()->Position(), rm::ToLayer(after));
  form->FormKeyPress('5');
  EXPECT_EQ(form->State().PilotPosition, after);
  EXPECT_EQ(traces.Count("TMainForm.FormKeyPress\r\n"), 2u);

  form->FormKeyPress(27);  // Esc in window mode: nothing to switch
  EXPECT_FALSE(form->TakeDisplayRequest());
  form->Display().doFullscreen = true;
  form->FormKeyDown(vk::kEscape, false);
  auto request = form->TakeDisplayRequest();
  ASSERT_TRUE(request);
  EXPECT_FALSE(request->fullScreen);

  form->FormKeyUp(vk::kF12);
  EXPECT_FALSE(form->MenuIsVisible());
  form->FormKeyUp(vk::kF12);
  EXPECT_TRUE(form->MenuIsVisible());
  EXPECT_EQ(services.cursor, CursorKind::Arrow);
  form.reset();
}

TEST_F(MainFormTest, ZoomCommandsAndTextureQuality) {
  StartWithScene();
  for (int i = 0; i < 5; ++i) form->Vergssern1Click();
  EXPECT_NEAR(form->Zooms().Zoom, 2.0 * std::pow(1.2, 5), 1e-12);
  EXPECT_FLOAT_EQ(form->Viewport().field, 0.5f);
  EXPECT_FLOAT_EQ(form->Viewport().front, static_cast<float>(form->Zooms().Zoom));

  using Q = rm::TextureQuality;
  form->SetMipmapping(false);
  EXPECT_EQ(form->Device().textureQuality, Q::Linear);
  form->weicheTexturenClick();
  EXPECT_EQ(form->Device().textureQuality, Q::Nearest);
  form->SetMipmapping(true);
  EXPECT_EQ(form->Device().textureQuality, Q::MipNearest);
  form->NebelClick();
  EXPECT_FALSE(form->SceneFrame()->SceneFog().enabled);
  form.reset();
}

TEST_F(MainFormTest, TexturesToggleReloadsBothFilesAndRestartsTheFlight) {
  StartWithScene();
  services.held = {kV};
  Ticks(100, 20);
  services.held.clear();
  traces.Clear();
  form->TexturenClick();
  EXPECT_TRUE(traces.Contains("TMainForm.LoadAirplane File: Model/trainer.par\r\n"));
  EXPECT_TRUE(traces.Contains("TMainForm.LoadWorld File: Landscape/field.scn\r\n"));
  EXPECT_NEAR(form->State().ModelPosition.y, 500.0, 1e-9);
  EXPECT_DOUBLE_EQ(form->State().FunctionValue[fn::kThrottle], -1.0);
  form.reset();
}

TEST_F(MainFormTest, DisplayFinalizeStopsTheTimerAndFreesTheWorld) {
  StartWithScene();
  const double ground = form->CurrentWorld().GroundHeightAt(500, 500);
  EXPECT_GT(ground, 1.0);
  form->DXDrawFinalize();
  EXPECT_FALSE(form->TimerEnabled());
  EXPECT_TRUE(traces.Contains("TMainForm.DXDrawFinalize\r\n"));
  EXPECT_DOUBLE_EQ(form->CurrentWorld().GroundHeightAt(500, 500), 0.0);
  const Vec3 at = form->State().ModelPosition;
  Ticks(10, 20);
  EXPECT_EQ(form->State().ModelPosition, at);
  form->SimInit();  // a display change builds everything again
  EXPECT_TRUE(form->TimerEnabled());
  EXPECT_DOUBLE_EQ(form->CurrentWorld().GroundHeightAt(500, 500), ground);
  form.reset();
}

}  // namespace
}  // namespace veltrane

namespace veltrane {
namespace {

TEST_F(MainFormTest, StoppedFrameTimerFreezesAndTheFirstTickAfterIsCapped) {
  StartWithScene();
  services.held = {kV};  // full throttle
  Ticks(5, 20);
  const Vec3 before = form->State().ModelPosition;
  form->SetTimerEnabled(false);  // a dialog is open
  Ticks(100, 20);
  EXPECT_EQ(form->State().ModelPosition, before);
  form->SetTimerEnabled(true);
  Ticks(1, 0);  // two seconds have passed since the last tick
  EXPECT_DOUBLE_EQ(form->State().TimeStep, 0.1);
  form.reset();
}

// The wind flows over the same ground the model lands on: the air's terrain is
// the shipped landscape's collision terrain, only its objects stand above it.
TEST_F(MainFormTest, TheAirSeesTheLandscapesGroundAndTheOverlayShowsTheWind) {
  WriteSettings(
      "[MainForm]\nsModellFilename=Model/glider.par\nsLandFileName=Landscape/valley.scn\n");
  Start(std::string(VELTRANE_DATA_DIR) + "/");
  form->FormCreate();
  form->SimInit();
  const TerrainGrid& terrain = form->State().Air.Terrain();
  ASSERT_FALSE(terrain.Empty());
  const double side = terrain.Cells() * terrain.Step();
  EXPECT_DOUBLE_EQ(side, 1600.0);
  int points = 0, same = 0;
  for (int i = 0; i <= 20; ++i)
    for (int k = 0; k <= 20; ++k) {
      // Off the grid lines, where the triangles' diagonals matter.
      const double x = std::clamp(side * (i + 0.37) / 21.0, 0.01, side - 0.01);
      const double y = std::clamp(side * (k + 0.61) / 21.0, 0.01, side - 0.01);
      const double ground = form->CurrentWorld().GroundHeightAt(x, y), air = terrain.HeightAt(x, y);
      ++points;
      EXPECT_LE(air, ground + 0.03) << x << ", " << y;
      if (std::abs(air - ground) <= 0.03) ++same;
    }
  EXPECT_GE(same, points * 97 / 100) << same << " of " << points;

  form->FormKeyDown('A', false);  // speed, height, vario
  Ticks(1, 20);
  const Overlay& ov = form->CurrentOverlay();
  EXPECT_FALSE(ov.wind.visible) << "still air adds no line";
  form->State().Air.SetWind({6.0, 270.0, 0, 0, 1});
  Ticks(1, 20);
  EXPECT_TRUE(ov.wind.visible);
  EXPECT_EQ(ov.wind.text, "Wind: 6.0 m/s aus 270°");
  EXPECT_EQ(ov.wind.y, ov.vario.y + 16);
  form->FormKeyDown('A', false);
  Ticks(1, 20);
  EXPECT_FALSE(ov.wind.visible) << "only with speed, height and vario";
  form.reset();
}

// Opening a landscape made for a wind brings that wind; reloading it keeps what the
// user set since, and a landscape that names none leaves the wind alone.
TEST_F(MainFormTest, ALandscapeThatNamesAWindBringsItWhenOpened) {
  WriteSettings(
      "[MainForm]\nsModellFilename=Model/glider.par\nsLandFileName=Landscape/valley.scn\n");
  Start(std::string(VELTRANE_DATA_DIR) + "/");
  form->FormCreate();
  form->SimInit();
  AirModel& air = form->State().Air;
  air.SetWind({3.0, 90.0, 20, 10, 5});
  struct Step {
    std::function<void()> act;
    double speed, from;
  };
  const Step steps[] = {
      {[&] { form->LoadWorld("Landscape/ridge.scn"); }, 5.0, 0.0},
      {[&] {
         air.SetWind({4.0, 30.0, 20, 10, 5});
       },
       4.0, 30.0},
      {[&] { form->TexturenClick(); }, 4.0, 30.0},
      {[&] { form->LandNeuLadenClick(); }, 4.0, 30.0},
      {[&] { form->LoadWorld("Landscape/valley.scn"); }, 4.0, 30.0},
      {[&] { form->LoadWorld("Landscape/hill.scn"); }, 5.0, 270.0},
  };
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    SCOPED_TRACE(i);
    steps[i].act();
    EXPECT_DOUBLE_EQ(air.Settings().speed, steps[i].speed);
    EXPECT_DOUBLE_EQ(air.Settings().fromDegrees, steps[i].from);
    EXPECT_EQ(air.Settings().gusts, 20) << "gusts and turbulence stay the user's";
    EXPECT_EQ(air.Settings().turbulence, 10);
  }
  form.reset();
}

}  // namespace
}  // namespace veltrane
