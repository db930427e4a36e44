// Settings files that were damaged, edited by hand or written by two
// instances, and saves that are cut short by a kill.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "base/settings/settings_store.h"
#include "support/temp_dir.h"

namespace veltrane {
namespace {

namespace fs = std::filesystem;
const NumberFormat kEnglish{'.'};
const std::vector<std::string> kKnown = {"MainForm", "KeyForm"};

void WriteFile(const fs::path& p, const std::string& text) {
  std::ofstream(p, std::ios::binary) << text;
}

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(rng() & 0xFF);
  return s;
}

TEST(SettingsRecovery, DamagedFilesKeepWhatIsKnownSayItAndLeaveACopy) {
  struct Row {
    const char* what;
    std::string text;
    std::vector<std::tuple<std::string, std::string, std::string>> kept;  // section, name, value
    std::vector<std::pair<std::string, std::string>> dropped;
    const char* note;  // part of the note, or "" for a clean file
  } rows[] = {
      {"clean",
       "[Veltrane]\nIgnoreDirectXCheck=1\n[MainForm]\nZoom=3\n",
       {{"", "IgnoreDirectXCheck", "1"}, {"MainForm", "Zoom", "3"}},
       {},
       ""},
      {"values before any section",
       "junk line one\nnoise=1\nIgnoreDirectXCheck=1\n[MainForm]\nZoom=3\n",
       {{"", "IgnoreDirectXCheck", "1"}, {"MainForm", "Zoom", "3"}},
       {{"", "noise"}},
       "1 unreadable lines, 1 values outside any section skipped"},
      {"unknown section, unknown key in a known one",
       "[MainForm]\nZoom=3\nFromANewerVersion=x\n[Evil]\nA=1\n[KeyForm]\nKeyChannel0=37\n",
       {{"MainForm", "Zoom", "3"},
        {"MainForm", "FromANewerVersion", "x"},
        {"KeyForm", "KeyChannel0", "37"}},
       {{"Evil", "A"}},
       "1 unknown sections skipped"},
      {"binary garbage around a section",
       RandomBytes(3000, 1) + "\n[MainForm]\nZoom=4\n" + RandomBytes(3000, 2),
       {{"MainForm", "Zoom", "4"}},
       {},
       "unreadable lines"},
      {"50 MB of junk text",
       "[MainForm]\nZoom=3\n" + std::string(50 << 20, 'x'),
       {},
       {{"MainForm", "Zoom"}},
       "larger than 1048576 bytes"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    test_support::TempDir dir;
    const fs::path file = dir.path() / "settings.ini", bad = dir.path() / "settings.ini.bad";
    WriteFile(file, r.text);
    {
      SettingsStore s(dir.path(), kEnglish, kKnown);
      for (const auto& [section, name, value] : r.kept)
        EXPECT_EQ(s.ReadString(section, name, "<none>"), value);
      for (const auto& [section, name] : r.dropped)
        EXPECT_FALSE(s.ValueExists(section, name)) << name;
      if (*r.note == '\0') {
        EXPECT_EQ(s.LoadNote(), "");
      } else {
        EXPECT_NE(s.LoadNote().find(r.note), std::string::npos) << s.LoadNote();
        EXPECT_NE(s.LoadNote().find("settings.ini.bad"), std::string::npos);
      }
      EXPECT_FALSE(fs::exists(bad)) << "nothing is touched before a save";
      s.WriteString("MainForm", "Running", "0");
      s.Flush();
    }
    // The old file survives byte for byte beside a new one that reads cleanly.
    EXPECT_EQ(fs::exists(bad), *r.note != '\0');
    if (fs::exists(bad)) {
      EXPECT_TRUE(ReadFile(bad) == r.text);
    }
    const std::string written = ReadFile(file);
    EXPECT_LT(written.size(), 1000u);
    EXPECT_EQ(written.rfind("[", 0), 0u) << "no value may stand outside a section:\n" << written;
    SettingsStore again(dir.path(), kEnglish, kKnown);
    EXPECT_EQ(again.LoadNote(), "");
    EXPECT_EQ(again.ReadString("MainForm", "Running", ""), "0");
    for (const auto& [section, name, value] : r.kept)
      EXPECT_EQ(again.ReadString(section, name, "<none>"), value);
    // A second save has nothing damaged to keep: the copy stays the first damaged file.
    if (fs::exists(bad)) {
      again.WriteString("MainForm", "Running", "1");
      again.Flush();
      EXPECT_TRUE(ReadFile(bad) == r.text);
    }
  }
}

TEST(SettingsRecovery, ASecondInstanceClosingLaterKeepsTheFirstOnesChanges) {
  test_support::TempDir dir;
  WriteFile(dir.path() / "settings.ini", "[MainForm]\nZoom=2\nWidth=640\nSoundVolume=70\nOld=1\n");
  SettingsStore first(dir.path(), kEnglish, kKnown), second(dir.path(), kEnglish, kKnown);
  first.WriteString("MainForm", "Zoom", "5");
  first.WriteString("MainForm", "SoundVolume", "20");
  first.WriteString("KeyForm", "KeyChannel0", "37");
  first.Flush();
  // The second writes all its values at close, most of them as it read them.
  second.WriteString("MainForm", "Zoom", "2");
  second.WriteString("MainForm", "Width", "900");
  second.WriteString("MainForm", "SoundVolume", "90");  // changed by both: the later one wins
  second.Remove("MainForm", "Old");
  second.Flush();
  SettingsStore disk(dir.path(), kEnglish, kKnown);
  EXPECT_EQ(disk.ReadString("MainForm", "Zoom", ""), "5");
  EXPECT_EQ(disk.ReadString("MainForm", "Width", ""), "900");
  EXPECT_EQ(disk.ReadString("MainForm", "SoundVolume", ""), "90");
  EXPECT_EQ(disk.ReadString("KeyForm", "KeyChannel0", ""), "37");
  EXPECT_FALSE(disk.ValueExists("MainForm", "Old"));
  // What the second one sees after its save is the file.
  EXPECT_EQ(second.ReadString("MainForm", "Zoom", ""), "5");
}

using Clock = std::chrono::steady_clock;

// A child that saves generation after generation of the same keys until it is
// killed. After each finished save it writes one byte to a pipe, so the parent
// places its kills by the child's progress rather than by the clock, and knows
// afterwards exactly which generations were saved whole.
class SavingChild {
 public:
  // A child that makes no progress for this long hangs; the test then fails
  // instead of waiting forever.
  static constexpr Clock::duration kStall = std::chrono::seconds(60);

  SavingChild(const fs::path& folder, int firstGeneration, int keys) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
      ::close(fds[0]);
      Run(folder, firstGeneration, keys, fds[1]);
    }
    ::close(fds[1]);
    reports_ = fds[0];
    ::fcntl(reports_, F_SETFL, O_NONBLOCK);
    lastProgress_ = Clock::now();
  }
  ~SavingChild() {
    if (pid_ > 0) (void)Kill();
    ::close(reports_);
  }
  SavingChild(const SavingChild&) = delete;
  SavingChild& operator=(const SavingChild&) = delete;

  pid_t Pid() const { return pid_; }
  // Saves reported so far; after Kill, every save the child finished.
  int Saves() const { return saves_; }
  // Seconds per save, measured from the reports; 0 before two arrived.
  double SecondsPerSave() const {
    return saves_ < 2
               ? 0.0
               : std::chrono::duration<double>(lastReport_ - firstReport_).count() / (saves_ - 1);
  }
  const std::string& Failure() const { return failure_; }

  // Takes the reports that are there without waiting. False once the child
  // ended by itself or stalled (see Failure).
  bool Poll() {
    if (!failure_.empty()) return false;
    char buf[256];
    for (;;) {
      const ssize_t n = ::read(reports_, buf, sizeof buf);
      if (n > 0) {
        Count(static_cast<int>(n));
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n == 0) {  // every writer is gone: the child ended without being killed
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        failure_ = "the saving child ended by itself (" + Describe(status) + ")";
        return false;
      }
      break;  // EAGAIN: nothing more for now
    }
    if (Clock::now() - lastProgress_ > kStall) {
      failure_ =
          "the saving child finished no save for 60 s after " + std::to_string(saves_) + " saves";
      return false;
    }
    return true;
  }

  ::testing::AssertionResult WaitForSaves(int n) {
    while (Poll() && saves_ < n) {
      pollfd p{reports_, POLLIN, 0};
      ::poll(&p, 1, 100);
    }
    if (!failure_.empty()) return ::testing::AssertionFailure() << failure_;
    return ::testing::AssertionSuccess();
  }

  // Holds the child wherever it is; it stays there until Continue or Kill.
  ::testing::AssertionResult Stop() {
    ::kill(pid_, SIGSTOP);
    int status = 0;
    while (::waitpid(pid_, &status, WUNTRACED) < 0 && errno == EINTR) {
    }
    if (WIFSTOPPED(status)) return ::testing::AssertionSuccess();
    pid_ = -1;
    failure_ = "the saving child ended by itself (" + Describe(status) + ")";
    return ::testing::AssertionFailure() << failure_;
  }
  void Continue() { ::kill(pid_, SIGCONT); }

  // Kills the child, stopped or not, and takes the reports it sent before it died.
  ::testing::AssertionResult Kill() {
    ::kill(pid_, SIGKILL);
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    char buf[256];
    for (;;) {  // no writer is left, so this ends at the end of the pipe
      const ssize_t n = ::read(reports_, buf, sizeof buf);
      if (n > 0)
        Count(static_cast<int>(n));
      else if (!(n < 0 && errno == EINTR))
        break;
    }
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "the saving child ended by itself (" << Describe(status) << ")";
  }

 private:
  [[noreturn]] static void Run(const fs::path& folder, int firstGeneration, int keys,
                               int reportFd) {
    try {
      SettingsStore s(folder, kEnglish, kKnown);
      for (int generation = firstGeneration;; ++generation) {
        for (int k = 0; k < keys; ++k)
          s.WriteInteger("MainForm", "Key" + std::to_string(k), generation);
        s.Flush();
        const char saved = 1;
        if (::write(reportFd, &saved, 1) != 1) ::_exit(3);
      }
    } catch (...) {
    }
    ::_exit(2);  // never back into the test runner's code
  }

  static std::string Describe(int status) {
    if (WIFEXITED(status)) return "exit code " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) return "signal " + std::to_string(WTERMSIG(status));
    return "status " + std::to_string(status);
  }

  void Count(int n) {
    const Clock::time_point now = Clock::now();
    if (saves_ == 0) firstReport_ = now;
    saves_ += n;
    lastReport_ = lastProgress_ = now;
  }

  pid_t pid_ = -1;
  int reports_ = -1;
  int saves_ = 0;
  Clock::time_point firstReport_, lastReport_, lastProgress_;
  std::string failure_;
};

bool Exists(const fs::path& p) {
  struct stat st {};
  return ::lstat(p.c_str(), &st) == 0;
}

// Spins until `tmp` exists, that is until the child is inside a save between
// creating its temporary file and renaming it. False when the child reported
// `untilSaves` saves first, ended or stalled.
bool AwaitTemporary(SavingChild& child, const fs::path& tmp, int untilSaves) {
  while (child.Poll() && child.Saves() < untilSaves) {
    if (Exists(tmp)) return true;
    sched_yield();
  }
  return false;
}

// Five hundred children killed while saving, after a random number of reported
// saves: the file is always the last whole save or the one in progress, never
// missing, never empty, never a mix, and it always reads cleanly.
TEST(SettingsRecovery, KilledWhileSavingLeavesTheOldOrTheNewFile) {
  test_support::TempDir dir;
  const fs::path file = dir.path() / "settings.ini";
  constexpr int kKeys = 200, kRounds = 500, kGenerationsPerRound = 1000;
  // The exact text of one generation, as the store writes it.
  const std::string kSentinel = "987654321";
  std::string pattern;
  {
    test_support::TempDir reference;
    SettingsStore s(reference.path(), kEnglish, kKnown);
    for (int k = 0; k < kKeys; ++k) s.WriteString("MainForm", "Key" + std::to_string(k), kSentinel);
    s.Flush();
    pattern = ReadFile(reference.path() / "settings.ini");
  }
  auto generationText = [&](int generation) {
    std::string text = pattern;
    const std::string value = std::to_string(generation);
    int replaced = 0;
    for (auto at = text.find(kSentinel); at != std::string::npos;
         at = text.find(kSentinel, at + value.size())) {
      text.replace(at, kSentinel.size(), value);
      ++replaced;
    }
    EXPECT_EQ(replaced, kKeys);
    return text;
  };
  {
    SettingsStore s(dir.path(), kEnglish, kKnown);
    for (int k = 0; k < kKeys; ++k) s.WriteInteger("MainForm", "Key" + std::to_string(k), 0);
    s.Flush();
  }
  ASSERT_TRUE(ReadFile(file) == generationText(0));

  std::mt19937 rng(16);
  std::uniform_real_distribution<double> fraction(0.0, 1.0);
  int onDisk = 0;         // the generation the file holds
  int newer = 0;          // kills after the child reported a save of its own
  int stoppedInside = 0;  // kills while the child was held inside a save
  double secondsPerSave = 0.0, secondsInside = 0.0;  // measured, only to spread the kills
  for (int round = 1; round <= kRounds; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const int first = round * kGenerationsPerRound;
    SavingChild child(dir.path(), first, kKeys);
    const fs::path tmp = file.string() + ".tmp." + std::to_string(child.Pid());
    // Let the child finish 0 to 3 saves of its own first.
    ASSERT_TRUE(child.WaitForSaves(static_cast<int>(rng() % 4)));
    bool inside = false;
    if (rng() % 2 == 0) {
      // Hold the child at a random point between creating its temporary file
      // and the rename, and kill it there.
      const int untilSaves = child.Saves() + 200;
      if ((secondsInside == 0.0 || round % 8 == 0) && AwaitTemporary(child, tmp, untilSaves)) {
        // How long a save keeps its temporary file here, now and then.
        const Clock::time_point seen = Clock::now();
        while (child.Poll() && Exists(tmp)) sched_yield();
        secondsInside = std::chrono::duration<double>(Clock::now() - seen).count();
      }
      std::chrono::duration<double> delay{secondsInside * fraction(rng)};
      while (!inside && AwaitTemporary(child, tmp, untilSaves)) {
        std::this_thread::sleep_for(delay);
        ASSERT_TRUE(child.Stop());
        inside = Exists(tmp);
        if (!inside) {  // the save was over already: try the next one sooner
          child.Continue();
          delay /= 2;
        }
      }
      ASSERT_EQ(child.Failure(), "");
      if (inside) ++stoppedInside;
    } else {
      // Anywhere in the cycle of saves, as far as the measured pace can tell.
      std::this_thread::sleep_for(
          std::chrono::duration<double>(1.5 * secondsPerSave * fraction(rng)));
    }
    ASSERT_TRUE(child.Kill());
    ASSERT_LT(child.Saves(), kGenerationsPerRound);
    if (child.SecondsPerSave() > 0.0) secondsPerSave = child.SecondsPerSave();

    if (inside) {
      ASSERT_TRUE(Exists(tmp)) << "the temporary file of the save the child was killed in is gone";
    }

    // The old file is the last save the child reported, or the previous
    // child's when it reported none; the new one is the save it was in.
    const int old = child.Saves() == 0 ? onDisk : first + child.Saves() - 1;
    const int inProgress = first + child.Saves();
    ASSERT_TRUE(fs::is_regular_file(file))
        << "settings.ini is missing after " << child.Saves() << " reported saves";
    const std::string text = ReadFile(file);
    if (inside) {
      ASSERT_TRUE(text == generationText(old))
          << "killed while its temporary file existed, after " << child.Saves()
          << " reported saves; the file is not generation " << old << ", it has " << text.size()
          << " bytes:\n"
          << text;
    } else {
      ASSERT_TRUE(text == generationText(old) || text == generationText(inProgress))
          << "after " << child.Saves() << " reported saves the file is neither generation " << old
          << " nor " << inProgress << "; it has " << text.size() << " bytes:\n"
          << text;
    }
    onDisk = text == generationText(old) ? old : inProgress;
    if (child.Saves() > 0) ++newer;

    SettingsStore s(dir.path(), kEnglish, kKnown);
    ASSERT_EQ(s.LoadNote(), "");
    for (int k = 0; k < kKeys; ++k)
      ASSERT_EQ(s.ReadInteger("MainForm", "Key" + std::to_string(k), -1), onDisk);
  }
  // Kills landed after saves of the child's own, and inside a save.
  EXPECT_GT(newer, kRounds / 2);
  EXPECT_GT(stoppedInside, kRounds / 4);
  std::size_t files = 0;
  for (const auto& e : fs::directory_iterator(dir.path()))
    files += e.path().filename() == "settings.ini" ? 1 : 100;
  EXPECT_EQ(files, 1u) << "a temporary file of a killed save is left behind";
}

}  // namespace
}  // namespace veltrane
