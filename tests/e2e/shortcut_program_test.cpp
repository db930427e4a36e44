// Every shortcut the menu shows does what its item does: each command of the
// table that has a key is run once from the menu and once by its key, in the
// real window, and both must leave the same mark.

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <thread>

#include "app/commands.h"
#include "app/main_form.h"
#include "program_fixture.h"
#include "ui/menu_model.h"

namespace veltrane::test {
namespace {

using namespace std::chrono_literals;

// How a command's effect shows from outside the program.
enum class Effect {
  CheckMark,   // its menu item's check mark turns over
  OpenDialog,  // the open dialog, under the command's own title
  Trace,       // a line of the trace
  Recording,   // a new flight is recorded
  Bigger,      // the model, paused, shows larger; `undo` takes it back
  Smaller,     // the model, paused, shows smaller
};

struct Observed {
  const char* id;
  Effect effect;
  const char* detail =
      nullptr;  // Trace: the line's start; Bigger, Smaller: the command that undoes it
};

constexpr Observed kObserved[] = {
    {"load_model", Effect::OpenDialog},
    {"reload_model", Effect::Trace, "LoadLib.LoadPAR File: "},
    {"load_scene", Effect::OpenDialog},
    {"reload_scene", Effect::Trace, "LoadLib.LoadSCN File: "},
    {"zoom_in", Effect::Bigger, "zoom_out"},
    {"zoom_out", Effect::Smaller, "zoom_in"},
    {"autozoom", Effect::CheckMark},
    {"follow_flight", Effect::CheckMark},
    {"speed_height", Effect::CheckMark},
    {"init", Effect::Trace, "Simulate.InitFlight"},
    {"pause", Effect::CheckMark},
    {"winch_launch", Effect::Recording},
    {"hand_launch", Effect::Trace, "Simulate.Handstart"},
    {"indestructible", Effect::CheckMark},
};

// The key as xdotool names it.
std::string XdoKey(const Shortcut& s) {
  std::string key;
  if (s.vk >= 0x70 && s.vk <= 0x87)
    key = "F" + std::to_string(s.vk - 0x70 + 1);
  else if (s.vk == vk::kAdd)
    key = "KP_Add";
  else if (s.vk == vk::kSubtract)
    key = "KP_Subtract";
  else
    key = std::string(1, static_cast<char>(std::tolower(s.vk)));
  return s.ctrl ? "ctrl+" + key : key;
}

class ShortcutTest : public WindowedProgramTest {
 protected:
  // The item's row while its menu is open, the menu closed again after.
  pictures::Picture Row(const std::string& menu, const std::string& item, UiRect* rect) {
    pictures::Picture p;
    const std::optional<UiRect> r = OpenMenu(menu, item);
    EXPECT_TRUE(r.has_value()) << item << " not shown in " << menu;
    if (!r) return p;
    *rect = *r;
    // Drawn on ImGui's dark popup: the sky and grass behind are light.
    EXPECT_TRUE(ShowsSoon(
        [&](const pictures::Picture& q) {
          return DarkPixels(q, r->x, r->y, r->x + r->w, r->y + r->h) > r->w * r->h / 2;
        },
        &p));
    ClickUi(menu);
    EXPECT_TRUE(Shows(item, false)) << menu << " stays open";
    return p;
  }
  static int RowChanges(const pictures::Picture& a, const pictures::Picture& b, const UiRect& r) {
    int n = 0;
    for (int y = r.y; y < r.y + r.h && y < a.height && y < b.height; ++y)
      for (int x = r.x; x < r.x + r.w && x < a.width && x < b.width; ++x)
        if (std::abs(Brightness(a, x, y) - Brightness(b, x, y)) > 100) ++n;
    return n;
  }
  // The recordings, by name, with their sizes.
  std::map<std::string, std::uintmax_t> Recordings() const {
    std::map<std::string, std::uintmax_t> found;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(dir_ / "share", ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
      if (it->path().filename().string().rfind("flight-", 0) == 0) {
        std::error_code sizeError;
        const std::uintmax_t size = fs::file_size(it->path(), sizeError);
        found[it->path().string()] = sizeError ? 0 : size;
      }
    return found;
  }
  // How large the view shows the model standing on the field: the pixels
  // below the horizon that are not grass.
  static int ModelPixels(const pictures::Picture& p) {
    int n = 0;
    for (int y = p.height * 2 / 5; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x) {
        const std::uint8_t* q = p.At(x, y);
        if (!(q[1] > q[0] && q[1] > q[2])) ++n;
      }
    return n;
  }
  // The view once it stands still (the camera may glide after a change).
  bool StillView(pictures::Picture* out) {
    return WaitUntil(
        [&] {
          const pictures::Picture a = program_->Grab();
          std::this_thread::sleep_for(700ms);
          *out = program_->Grab();
          return out->width > 0 && ChangedPixels(a, *out) < 50;
        },
        30s);
  }
  // The model shown clearly larger (or smaller) than with `from` model pixels.
  bool ResizedSoon(int from, bool bigger) {
    return ShowsSoon([&](const pictures::Picture& p) {
      const int n = ModelPixels(p);
      return bigger ? n * 10 > from * 12 : n * 12 < from * 10;
    });
  }

  void CheckMark(const std::string& menu, const std::string& id, const std::string& key) {
    UiRect r;
    const pictures::Picture before = Row(menu, id, &r);
    ChooseFromMenu(menu, id);
    ASSERT_TRUE(Shows(id, false));
    const pictures::Picture byItem = Row(menu, id, &r);
    EXPECT_GT(RowChanges(before, byItem, r), 10) << "the item did not turn its check mark";
    ASSERT_TRUE(program_->Key(key));
    // The key turns it back: the row looks as before.
    pictures::Picture byKey;
    EXPECT_TRUE(
        WaitUntil([&] { return RowChanges(before, byKey = Row(menu, id, &r), r) < 5; }, 20s))
        << "the key did not turn the check mark back";
  }
  void OpenDialog(const std::string& menu, const std::string& id, const std::string& key) {
    ChooseFromMenu(menu, id);
    ASSERT_TRUE(Shows("dialog:open")) << "no dialog from the item";
    const std::string title = Ui("dialog:open").label;
    ASSERT_TRUE(program_->Key("Escape"));
    ASSERT_TRUE(Shows("dialog:open", false));
    ASSERT_TRUE(program_->Key(key));
    ASSERT_TRUE(Shows("dialog:open")) << "no dialog from the key";
    EXPECT_EQ(Ui("dialog:open").label, title) << "the key opened another dialog";
    ASSERT_TRUE(program_->Key("Escape"));
    ASSERT_TRUE(Shows("dialog:open", false));
  }
  void Trace(const std::string& menu, const std::string& id, const std::string& key,
             const std::string& line) {
    const int before = program_->TraceCountStartingWith(line);
    ChooseFromMenu(menu, id);
    ASSERT_TRUE(WaitUntil([&] { return program_->TraceCountStartingWith(line) > before; }, 30s))
        << "item: no " << line;
    const int byItem = program_->TraceCountStartingWith(line);
    ASSERT_TRUE(program_->Key(key));
    EXPECT_TRUE(WaitUntil([&] { return program_->TraceCountStartingWith(line) > byItem; }, 30s))
        << "key: no " << line;
  }
  void Recording(const std::string& menu, const std::string& id, const std::string& key) {
    const auto before = Recordings();
    ChooseFromMenu(menu, id);
    // The new recording; its start is written with one write, so any size is the whole start.
    std::string path;
    std::uintmax_t started = 0;
    ASSERT_TRUE(WaitUntil(
        [&] {
          for (const auto& [name, size] : Recordings())
            if (!before.contains(name) && size > 0) {
              path = name;
              started = size;
            }
          return !path.empty();
        },
        30s))
        << "the item recorded no new flight";
    // A recording that ends before its first frame is thrown away, so the key
    // waits until this one holds frames (written out a second into the flight).
    ASSERT_TRUE(WaitUntil(
        [&] {
          const auto now = Recordings();
          const auto it = now.find(path);
          return it != now.end() && it->second > started;
        },
        30s))
        << "the item's recording holds no frame";
    const std::size_t byItem = Recordings().size();
    ASSERT_TRUE(program_->Key(key));
    EXPECT_TRUE(WaitUntil([&] { return Recordings().size() > byItem; }, 30s))
        << "the key recorded no new flight";
  }
  // A menu item chosen, and the menu gone from the screen, not just from the map.
  void Pick(const std::string& menu, const std::string& id) {
    const std::optional<UiRect> item = OpenMenu(menu, id);
    ASSERT_TRUE(item.has_value()) << id << " not shown in " << menu;
    ASSERT_TRUE(program_->Click(item->CenterX(), item->CenterY()));
    ASSERT_TRUE(ShowsSoon([&](const pictures::Picture& p) {
      return DarkPixels(p, item->x, item->y, item->x + item->w, item->y + item->h) <
             item->w * item->h / 4;
    })) << menu
        << " still drawn";
  }
  // Paused, the item shows the model larger (or smaller), its opposite takes
  // that back, and the key does what the item did.
  void Resize(const std::string& menu, const std::string& id, const std::string& key,
              const std::string& undo, bool bigger) {
    ASSERT_NO_FATAL_FAILURE(Pick("simulation", "pause"));
    pictures::Picture p;
    ASSERT_TRUE(StillView(&p)) << "the paused view does not stand still";
    const int before = ModelPixels(p);
    ASSERT_GT(before, 20) << "the model is not in view";
    ASSERT_NO_FATAL_FAILURE(Pick(menu, id));
    EXPECT_TRUE(ResizedSoon(before, bigger))
        << "the item: " << before << " model pixels, now " << ModelPixels(program_->Grab());
    ASSERT_NO_FATAL_FAILURE(Pick(menu, undo));
    ASSERT_TRUE(StillView(&p));
    const int undone = ModelPixels(p);
    ASSERT_TRUE(program_->Key(key));
    EXPECT_TRUE(ResizedSoon(undone, bigger))
        << "the key: " << undone << " model pixels, now " << ModelPixels(program_->Grab());
    ASSERT_NO_FATAL_FAILURE(Pick(menu, undo));
    ASSERT_NO_FATAL_FAILURE(Pick("simulation", "pause"));
  }
};

TEST_F(ShortcutTest, EveryShortcutShownInAMenuDoesWhatItsItemDoes) {
  ASSERT_TRUE(ShowsSoon(SceneWithMenuShown));
  int walked = 0;
  for (const ui::Menu& menu : ui::MainMenu())
    for (const ui::MenuItem& item : menu.items) {
      if (item.shortcut.empty() || !item.app) continue;
      SCOPED_TRACE(item.id + " " + item.shortcut);
      const std::string key = XdoKey(item.app->shortcuts.front());
      const Observed* seen = nullptr;
      for (const Observed& o : kObserved)
        if (item.id == o.id) seen = &o;
      ASSERT_NE(seen, nullptr) << "a shortcut whose effect this test does not look for";
      switch (seen->effect) {
        case Effect::CheckMark:
          ASSERT_NO_FATAL_FAILURE(CheckMark(menu.id, item.id, key));
          break;
        case Effect::OpenDialog:
          ASSERT_NO_FATAL_FAILURE(OpenDialog(menu.id, item.id, key));
          break;
        case Effect::Trace:
          ASSERT_NO_FATAL_FAILURE(Trace(menu.id, item.id, key, seen->detail));
          break;
        case Effect::Recording:
          ASSERT_NO_FATAL_FAILURE(Recording(menu.id, item.id, key));
          break;
        case Effect::Bigger:
        case Effect::Smaller:
          ASSERT_NO_FATAL_FAILURE(
              Resize(menu.id, item.id, key, seen->detail, seen->effect == Effect::Bigger));
          break;
      }
      ++walked;
    }
  EXPECT_EQ(walked, static_cast<int>(std::size(kObserved)))
      << "a command observed here lost its shortcut";
  EXPECT_TRUE(program_->Running());
}

}  // namespace
}  // namespace veltrane::test
