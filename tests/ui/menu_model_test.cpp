#include "ui/menu_model.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace veltrane::ui {
namespace {

const MenuItem* Find(const std::string& caption) {
  for (const auto& m : MainMenu())
    for (const auto& i : m.items)
      if (i.caption == caption) return &i;
  return nullptr;
}

TEST(MainMenu, MenusInOrder) {
  std::vector<std::string> captions;
  for (const auto& m : MainMenu()) captions.push_back(m.caption);
  EXPECT_EQ(captions, (std::vector<std::string>{"&Datei", "&Flugmodell", "&Landschaft", "A&nsicht",
                                                "Si&mulation", "Aufga&ben", "S&ound", "&Auflösung",
                                                "&Grafik", "&Steuerung", "S&prache", "&Hilfe"}));
}

TEST(MainMenu, EveryItemWithShortcutCheckMarkAndSeparator) {
  // caption, shortcut, checkable, checked by default, separator after
  const std::vector<std::tuple<std::string, std::string, bool, bool, bool>> expected = {
      {"&Grafikkarte auswählen", "", false, false, true},
      {"Flug &abspielen...", "", false, false, false},
      {"Flug als G&eist zeigen...", "", false, false, false},
      {"Geist a&usblenden", "", false, false, true},
      {"Flüge auf&zeichnen", "", true, true, true},
      {"&Beenden", "", false, false, false},
      {"&Laden...", "F2", false, false, false},
      {"&Neu laden", "Ctrl+M", false, false, false},
      {"&Laden...", "F3", false, false, false},
      {"&Neu laden", "Ctrl+L", false, false, false},
      {"Ver&grössern", "Num +", false, false, false},
      {"Ver&kleinern", "Num -", false, false, true},
      {"Auto&zoom", "Z", true, false, false},
      {"&Autozoom einstellen...", "", false, false, true},
      {"Hinterherflug", "C", true, false, true},
      {"Geschwindigkeit, Höhe und Vario", "A", true, false, false},
      {"&Bilder pro Sekunde", "", true, false, false},
      {"&Initialisieren", "I", false, false, false},
      {"&Pause", "P", true, false, false},
      {"&Zeitlupe: halbe Geschwindigkeit", "", true, false, false},
      {"Zeitlupe: &Viertelgeschwindigkeit", "", true, false, true},
      {"&Windenstart", "W", false, false, false},
      {"Handsta&rt", "R", false, false, true},
      {"&Thermik einstellen...", "", false, false, false},
      {"T&hermik anzeigen", "", true, false, false},
      {"Wi&nd einstellen...", "", false, false, true},
      {"Modell &unzerstörbar", "U", true, false, false},
      {"&Automatische Initialisierung", "", true, false, false},
      {"&Hangrennen", "", false, false, false},
      {"&Dauer und Landung...", "", false, false, false},
      {"&Limbo", "", false, false, false},
      {"Aufgabe &beenden", "", false, false, true},
      {"&Ergebnisse...", "", false, false, false},
      {"So&und", "", false, false, false},
      {"&Vario", "", true, false, false},
      {"&Fenster", "", false, false, true},
      {"320x240", "", false, false, false},
      {"512x384", "", false, false, false},
      {"640x480", "", false, false, false},
      {"800x600", "", false, false, false},
      {"1024x768", "", false, false, false},
      {"1280x1024", "", false, false, false},
      {"1600x1200", "", false, false, false},
      {"&Nebel", "", true, true, false},
      {"&Weiche Texturen", "", true, true, false},
      {"&Texturen", "", true, true, false},
      {"&Panorama und Himmel", "", true, true, false},
      {"&Bodendetails", "", true, true, true},
      {"Optionen ...", "", false, false, false},
      {"&Tastatur...", "", false, false, true},
      {"&Analoge Steuerung...", "", false, false, false},
  };
  std::size_t k = 0;
  for (const auto& m : MainMenu()) {
    if (m.caption == "S&prache" || m.caption == "&Hilfe") continue;
    for (const auto& item : m.items) {
      ASSERT_LT(k, expected.size()) << item.caption;
      const auto& [caption, shortcut, checkable, checked, separator] = expected[k++];
      EXPECT_EQ(item.caption, caption);
      EXPECT_EQ(item.shortcut, shortcut) << caption;
      EXPECT_EQ(item.checkable, checkable) << caption;
      EXPECT_EQ(item.checkedByDefault, checked) << caption;
      EXPECT_EQ(item.separatorAfter, separator) << caption;
    }
  }
  EXPECT_EQ(k, expected.size());
}

TEST(MainMenu, ResolutionAndLanguageItemsCarryTheirValues) {
  const MenuItem* r = Find("1280x1024");
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->command, Command::Resolution);
  EXPECT_EQ(r->value, 1280);
  EXPECT_EQ(r->value2, 1024);
  const auto& lang = MainMenu()[10].items;
  ASSERT_EQ(lang.size(), 18u);
  const std::vector<int> order = {16, 17, 5, 14, 15, 0, 13, 1, 6, 3, 11, 7, 10, 8, 4, 12, 9, 2};
  for (std::size_t i = 0; i < lang.size(); ++i)
    EXPECT_EQ(lang[i].value, order[i]) << lang[i].caption;
  EXPECT_EQ(lang[0].caption, "&Chinese Simplified");
  EXPECT_EQ(lang[17].caption, "S&wedish");
}

TEST(MainMenu, EveryMenuAndItemHasItsOwnEnglishIdentifier) {
  std::set<std::string> ids;
  for (const auto& m : MainMenu()) {
    EXPECT_TRUE(ids.insert(m.id).second) << m.id;
    for (const auto& i : m.items) {
      EXPECT_TRUE(ids.insert(i.id).second) << i.id;
      if (i.app) {
        EXPECT_EQ(i.id, i.app->id);
      }
    }
  }
  EXPECT_EQ(ids.count(""), 0u);
  const std::vector<std::string> some = {"view",
                                         "help",
                                         "wind_dialog",
                                         "resolution_800x600",
                                         "language_russian",
                                         "language_chinesesimplified",
                                         "window_mode",
                                         "quit"};
  for (const std::string& id : some) EXPECT_EQ(ids.count(id), 1u) << id;
}

TEST(MainMenu, PlainCaptionDropsAccelerators) {
  EXPECT_EQ(PlainCaption("Modell &unzerstörbar"), "Modell unzerstörbar");
  EXPECT_EQ(PlainCaption("A&&B"), "A&B");
  EXPECT_EQ(PlainCaption("&"), "");
}

}  // namespace
}  // namespace veltrane::ui
