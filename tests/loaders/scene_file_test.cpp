#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "loaders/load_error.h"
#include "loaders/scene_test_support.h"

namespace veltrane::loaders {
namespace {

using testing::Grey;
using testing::kSmallScene;
using testing::LoadedScene;
using testing::SceneFolder;

std::string Scene(const std::string& items) { return std::string(kSmallScene) + items + "\nEND\n"; }

// The file's own faces come before the 800 terrain triangles.
std::size_t FileFaces(const LoadedScene& s) { return s.builds.terrain.Faces().size() - 800; }

const MeshVertex& CornerVertex(const MeshBuild& mb, const MeshFace& f, int k) {
  const VertexRef& r = mb.Refs()[static_cast<std::size_t>(f.corner[static_cast<std::size_t>(k)])];
  return mb.Vertices()[static_cast<std::size_t>(r.vertex)];
}

std::string ErrorOf(const SceneFolder& dir, const std::string& text, LoadedScene& s) {
  try {
    dir.Load(text, s);
  } catch (const LoadError& e) {
    return e.what();
  }
  return "";
}

TEST(SceneFile, StartAndPilotPositions) {
  SceneFolder dir;
  LoadedScene a;
  dir.Load(Scene("AIRCRAFT_POSITION AUTOMATIC PILOT_POSITION AUTOMATIC"), a);
  EXPECT_DOUBLE_EQ(a.info.StartX, 505.0);
  EXPECT_DOUBLE_EQ(a.info.StartY, 505.0);
  EXPECT_DOUBLE_EQ(a.info.PilotX, 500.0);
  EXPECT_DOUBLE_EQ(a.info.PilotY, 500.0);

  LoadedScene b;
  b.info.Reserved = 42;
  dir.Load(Scene("PILOT_POSITION -20 30 0 AIRCRAFT_POSITION 12 -7 3"), b);
  EXPECT_DOUBLE_EQ(b.info.PilotX, 480.0);
  EXPECT_DOUBLE_EQ(b.info.PilotY, 530.0);
  EXPECT_DOUBLE_EQ(b.info.StartX, 512.0);
  EXPECT_DOUBLE_EQ(b.info.StartY, 493.0);
  EXPECT_EQ(b.info.Reserved, 42);

  // The windsock: the file's x, y shifted like the pilot's, wherever the item
  // stands; without it 15 m to the pilot's right (+x as the pilot faces +y).
  struct Pole {
    const char* items;
    double x, y;
  };
  const Pole poles[] = {
      {"PILOT_POSITION -20 30 0 WINDPOLE 40 -60 2", 540.0, 440.0},
      {"WINDPOLE 40 -60 2 PILOT_POSITION -20 30 0", 540.0, 440.0},
      {"PILOT_POSITION -20 30 0", 495.0, 530.0},
      {"PILOT_POSITION AUTOMATIC", 515.0, 500.0},
  };
  for (const Pole& p : poles) {
    SCOPED_TRACE(p.items);
    LoadedScene w;
    dir.Load(Scene(p.items), w);
    EXPECT_DOUBLE_EQ(w.info.WindpoleX, p.x);
    EXPECT_DOUBLE_EQ(w.info.WindpoleY, p.y);
  }

  // A word that is no number fails with the reader's message and its line.
  LoadedScene c;
  EXPECT_NE(ErrorOf(dir, Scene("AIRCRAFT_POSITION ABC 1 2"), c)
                .find("Floating point value expected at: ABC"),
            std::string::npos);
  EXPECT_NE(ErrorOf(dir, Scene("PILOT_POSITION INF 1 2"), c).find("expected at: INF"),
            std::string::npos);
}

// The usual wind: named or not, its direction brought into 0..360, a speed the
// wind cannot have left out with a trace line; a word is the reader's error.
TEST(SceneFile, UsualWind) {
  struct Case {
    const char* items;
    bool named;
    double speed, from;
    bool traced;
  };
  const Case cases[] = {
      {"", false, 0, 0, false},
      {"WIND 8 0", true, 8, 0, false},
      {"wind 6.5 -90", true, 6.5, 270, false},
      {"WIND 3 720.5 PILOT_POSITION 1 2 0", true, 3, 0.5, false},
      {"WIND 5 10 WIND 7 20", true, 7, 20, false},
      {"WIND 25 0", false, 0, 0, true},
      {"WIND -1 0", false, 0, 0, true},
      {"WIND 8 10 WIND 99 0", false, 0, 0, true},
  };
  SceneFolder dir;
  LoadedScene s;  // one record for all: a load must not keep the last file's wind
  for (const Case& c : cases) {
    SCOPED_TRACE(c.items);
    s.traces.Clear();
    dir.Load(Scene(c.items), s);
    ASSERT_EQ(s.info.Wind.has_value(), c.named);
    if (c.named) {
      EXPECT_DOUBLE_EQ(s.info.Wind->speed, c.speed);
      EXPECT_DOUBLE_EQ(s.info.Wind->fromDegrees, c.from);
    }
    bool traced = false;
    for (const std::string& line : s.traces.Lines())
      traced = traced || line.find("WIND ignored") != std::string::npos;
    EXPECT_EQ(traced, c.traced);
    const std::string file = dir.Write("wind.scn", Scene(c.items));
    const auto quick = ReadSceneWind(file);
    EXPECT_EQ(quick.has_value(), c.named);
    if (quick && c.named) {
      EXPECT_DOUBLE_EQ(quick->fromDegrees, c.from);
    }
  }
  LoadedScene bad;
  EXPECT_NE(ErrorOf(dir, Scene("WIND STRONG 0"), bad).find("expected at: STRONG"),
            std::string::npos);
  EXPECT_FALSE(ReadSceneWind(dir.Path() + "/missing.scn").has_value());
}

// The task places a landscape may name: shifted like the pilot's, the
// course's direction brought into 0..360; a place off the terrain or a
// direction that is no number is left out with a trace line.
TEST(SceneFile, TaskPlaces) {
  struct Case {
    const char* items;
    bool course;
    double cx, cy, facing;
    bool spot;
    double sx, sy;
    const char* traced;  // the trace line's item, or empty
  };
  const Case cases[] = {
      {"", false, 0, 0, 0, false, 0, 0, ""},
      {"F3F_COURSE 10 -40 -90 LANDING_SPOT -5 7 3", true, 510, 460, 270, true, 495, 507, ""},
      {"LANDING_SPOT 500 -500 0 F3F_COURSE 0 0 720", true, 500, 500, 0, true, 1000, 0, ""},
      {"F3F_COURSE 501 0 0", false, 0, 0, 0, false, 0, 0, "F3F_COURSE ignored"},
      {"F3F_COURSE 0 0 NAN", false, 0, 0, 0, false, 0, 0, "F3F_COURSE ignored"},
      {"LANDING_SPOT 0 -600 0", false, 0, 0, 0, false, 0, 0, "LANDING_SPOT ignored"},
  };
  SceneFolder dir;
  LoadedScene s;  // one record for all: a load must not keep the last file's places
  for (const Case& c : cases) {
    SCOPED_TRACE(c.items);
    s.traces.Clear();
    try {
      dir.Load(Scene(c.items), s);
    } catch (const LoadError& e) {
      // A reader that takes no "NAN" for a number stops the load instead: also sound.
      EXPECT_NE(std::string(e.what()).find("NAN"), std::string::npos) << e.what();
      continue;
    }
    ASSERT_EQ(s.info.F3fCourse.has_value(), c.course);
    if (c.course) {
      EXPECT_DOUBLE_EQ(s.info.F3fCourse->x, c.cx);
      EXPECT_DOUBLE_EQ(s.info.F3fCourse->y, c.cy);
      EXPECT_DOUBLE_EQ(s.info.F3fCourse->facingDegrees, c.facing);
    }
    ASSERT_EQ(s.info.LandingSpot.has_value(), c.spot);
    if (c.spot) {
      EXPECT_DOUBLE_EQ(s.info.LandingSpot->first, c.sx);
      EXPECT_DOUBLE_EQ(s.info.LandingSpot->second, c.sy);
    }
    bool traced = false;
    for (const std::string& line : s.traces.Lines())
      traced = traced || (*c.traced && line.find(c.traced) != std::string::npos);
    EXPECT_EQ(traced, *c.traced != 0);
  }
  LoadedScene bad;
  EXPECT_NE(ErrorOf(dir, Scene("F3F_COURSE 0 0 NORTH"), bad).find("expected at: NORTH"),
            std::string::npos);
}

// Whatever the program's locale, "." and "," both read as the decimal separator
// in the two positions, so a file reads the same on every system.
TEST(SceneFile, PositionsReadAPointOrACommaInAnyLocale) {
  const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
  SceneFolder dir;
  for (const char* locale : {"C", "de_DE.UTF-8"}) {
    std::setlocale(LC_NUMERIC, locale);  // may fail where not installed: then "C" again
    LoadedScene a, b, c;
    dir.Load(Scene("AIRCRAFT_POSITION 12,5 3,25 0"), a);
    dir.Load(Scene("AIRCRAFT_POSITION 12.5 3.25 0"), b);
    const std::string err = ErrorOf(dir, Scene("AIRCRAFT_POSITION 1,2,5 3 0"), c);
    EXPECT_DOUBLE_EQ(a.info.StartX, 512.5) << locale;
    EXPECT_DOUBLE_EQ(a.info.StartY, 503.25) << locale;
    EXPECT_DOUBLE_EQ(b.info.StartX, 512.5) << locale;
    EXPECT_DOUBLE_EQ(b.info.StartY, 503.25) << locale;
    EXPECT_NE(err.find("expected at: 1,2,5"), std::string::npos) << err;
  }
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(SceneFile, MessagesQuoteNumbersAsWrittenAndGiveTheLine) {
  SceneFolder dir;
  LoadedScene s;
  const std::string huge = ErrorOf(dir, Scene("\nSCENE 1E308 10 10"), s);
  EXPECT_NE(huge.find("1E308"), std::string::npos) << huge;
  EXPECT_LT(huge.size(), 200u) << huge;
  const std::string longToken =
      ErrorOf(dir, Scene("\n\nCOLOR " + std::string(10'000'000, 'A') + " 1 1 X X"), s);
  EXPECT_LT(longToken.size(), 200u);
  EXPECT_NE(longToken.find("(line "), std::string::npos) << longToken;
}

TEST(SceneFile, QuadsAreReversedInTheSceneFrame) {
  SceneFolder dir;
  LoadedScene s;
  // TEXTURE OFF reads "QUADS" as its second word, which is then the next item.
  dir.Load(Scene("TEXTURE OFF QUADS 1 2 3  4 2 3  4 5 3  1 5 3\n"
                 "POSITION 100 200 10 CULL OFF 0 0 0 1 0 0 1 1 0 0 1 0"),
           s);
  ASSERT_EQ(FileFaces(s), 2u);
  const MeshBuild& mb = s.builds.terrain;
  const MeshFace& f = mb.Faces()[0];
  ASSERT_EQ(f.cornerCount, 4);
  EXPECT_TRUE(f.singleSided);
  // Last file corner first; file (x, y, z) is display (x, z, y).
  const MeshVertex& v0 = CornerVertex(mb, f, 0);
  EXPECT_EQ(v0.x, 1.0);
  EXPECT_EQ(v0.y, 3.0);
  EXPECT_EQ(v0.z, 5.0);
  EXPECT_EQ(CornerVertex(mb, f, 3).z, 2.0);
  EXPECT_FALSE(mb.Refs()[static_cast<std::size_t>(f.corner[0])].textured);
  const MaterialEntry& m = mb.Materials()[static_cast<std::size_t>(f.material)];
  EXPECT_EQ(m.power, 6.0);
  EXPECT_EQ(m.specularR, 0.5);

  // POSITION shifts the file point by (x, y, z); CULL OFF makes faces double-sided.
  const MeshFace& g = mb.Faces()[1];
  EXPECT_FALSE(g.singleSided);
  const MeshVertex& w = CornerVertex(mb, g, 0);  // file (0, 1, 0) + (100, 200, 10)
  EXPECT_EQ(w.x, 100.0);
  EXPECT_EQ(w.y, 10.0);
  EXPECT_EQ(w.z, 201.0);
}

TEST(SceneFile, RepeatedCornersAreDropped) {
  SceneFolder dir;
  LoadedScene s;
  dir.Load(Scene("TEXTURE OFF QUADS 0 0 0  1 0 0  1 0 0  0 1 0   0 0 0  1 0 0  0 1 0  0 0 0"), s);
  ASSERT_EQ(FileFaces(s), 2u);
  EXPECT_EQ(s.builds.terrain.Faces()[0].cornerCount, 3);
  EXPECT_EQ(s.builds.terrain.Faces()[1].cornerCount, 3);
}

TEST(SceneFile, TexturesAreSharedAndTransparentIsUsedUp) {
  SceneFolder dir;
  dir.Picture("tree.bmp", Grey(2, 2, 30));
  LoadedScene s;
  dir.Load(Scene("QUADRANT 0 0 10 10 TREE\n"
                 "TEXTURE TREE TRANSPARENT 0 0 0 0 0  255 0 1 0 0  255 255 1 1 0  0 255 0 1 0"),
           s);
  const MeshBuild& mb = s.builds.terrain;
  ASSERT_EQ(mb.Textures().size(), 1u);
  EXPECT_FALSE(mb.Textures()[0].transparent);  // the existing entry is reused unchanged
  EXPECT_EQ(mb.Textures()[0].file, dir.Path() + "/tree.bmp");
  ASSERT_EQ(FileFaces(s), 1u);
  const MeshFace& f = mb.Faces()[0];
  EXPECT_EQ(f.texture, 0);
  const VertexRef& r = mb.Refs()[static_cast<std::size_t>(f.corner[0])];
  EXPECT_TRUE(r.textured);
  EXPECT_EQ(r.u, 0.0);  // reversed: the last corner (0, 255) comes first
  EXPECT_EQ(r.v, 255.0);

  // A new name with TRANSPARENT adds a transparent entry; MANUAL changes nothing.
  LoadedScene t;
  dir.Load(Scene("TEXTURE LEAVES TRANSPARENT TEXTURE MANUAL QUADS 0 0 0 0 0  9 0 1 0 0  9 9 1 1 0  "
                 "0 9 0 1 0"),
           t);
  ASSERT_EQ(t.builds.terrain.Textures().size(), 1u);
  EXPECT_TRUE(t.builds.terrain.Textures()[0].transparent);
  EXPECT_EQ(FileFaces(t), 1u);
}

TEST(SceneFile, TransparentQuadsDroppedWhenTexturesAreOff) {
  const std::string quads =
      "TEXTURE TREE TRANSPARENT QUADS 0 0 0 0 0  9 0 1 0 0  9 9 1 1 0  0 9 0 1 0\n"
      "TEXTURE WALL QUADS 0 0 5 0 0  9 0 6 0 0  9 9 6 1 0  0 9 5 1 0\n";
  SceneFolder dir;
  LoadedScene off, on;
  dir.Load(Scene(quads), off, /*textures=*/false);
  ASSERT_EQ(FileFaces(off), 1u);  // only the wall
  const MeshBuild& mb = off.builds.terrain;
  EXPECT_EQ(CornerVertex(mb, mb.Faces()[0], 0).x, 5.0);
  EXPECT_FALSE(mb.Refs()[static_cast<std::size_t>(mb.Faces()[0].corner[0])].textured);

  dir.Load(Scene(quads), on, /*textures=*/true);
  EXPECT_EQ(FileFaces(on), 2u);
}

TEST(SceneFile, ColourAlwaysOpaqueThenAlpha) {
  SceneFolder dir;
  LoadedScene s;
  dir.Load(Scene("TEXTURE OFF ALPHA 0.5 COLOR 1 0.5 0 X Y QUADS 0 0 0 1 0 0 1 1 0 0 1 0\n"
                 "ALPHA 0.25 0 0 1 1 0 1 1 1 1 0 1 1"),
           s);
  const MeshBuild& mb = s.builds.terrain;
  ASSERT_EQ(FileFaces(s), 2u);
  const ColorEntry& a = mb.Colors()[static_cast<std::size_t>(mb.Faces()[0].color)];
  const ColorEntry& b = mb.Colors()[static_cast<std::size_t>(mb.Faces()[1].color)];
  EXPECT_EQ(a.r, 1.0);
  EXPECT_EQ(a.g, 0.5);
  EXPECT_EQ(a.a, 1.0);
  EXPECT_EQ(b.r, 1.0);
  EXPECT_EQ(b.a, 0.25);
}

TEST(SceneFile, LinesBecomeTubes) {
  SceneFolder dir;
  LoadedScene s;
  dir.Load(Scene("TEXTURE OFF LINES 0 0 0 10 0 0  3 3 0 3 3 0  5 5 0 5 5 8"), s);
  const MeshBuild& mb = s.builds.terrain;
  ASSERT_EQ(FileFaces(s), 12u);
  for (std::size_t k = 0; k < 12; ++k) {
    EXPECT_EQ(mb.Faces()[k].cornerCount, 4);
    EXPECT_EQ(mb.Faces()[k].material, 0);
    EXPECT_TRUE(mb.Faces()[k].singleSided);
  }
  // Along x the tube offsets are (0, -0.0025, 0) and e1 x d; display y is the file's z.
  double minZ = 1e9, maxZ = -1e9, minY = 1e9, maxY = -1e9;
  for (std::size_t k = 0; k < 4; ++k)
    for (int c = 0; c < 4; ++c) {
      const MeshVertex& v = CornerVertex(mb, mb.Faces()[k], c);
      minZ = std::min(minZ, v.z);
      maxZ = std::max(maxZ, v.z);
      minY = std::min(minY, v.y);
      maxY = std::max(maxY, v.y);
    }
  EXPECT_NEAR(maxZ - minZ, 0.0025, 1e-12);
  EXPECT_NEAR(maxY - minY, 0.0025, 1e-12);
  // The zero-length line collapses to a sliver at its point instead of producing NaN corners.
  for (std::size_t k = 4; k < 8; ++k)
    for (int c = 0; c < 4; ++c) {
      const MeshVertex& v = CornerVertex(mb, mb.Faces()[k], c);
      EXPECT_NEAR(v.x, 3.0, 0.003);
      EXPECT_NEAR(v.z, 3.0, 0.003);
      EXPECT_EQ(v.y, 0.0);
    }
  // A vertical line still gets a proper tube.
  const MeshVertex& top = CornerVertex(mb, mb.Faces()[8], 2);
  EXPECT_NEAR(top.y, 8.0, 0.003);
  EXPECT_TRUE(std::isfinite(top.x));
}

TEST(SceneFile, SkyDome) {
  SceneFolder dir;
  dir.Picture("clouds.bmp", Grey(4, 4, 200));
  for (const auto& [items, textures, faces] :
       {std::tuple{"", true, 0u}, std::tuple{"SKY 0 800 CLOUDS", true, 0u},
        std::tuple{"SKY 100 800 CLOUDS", false, 0u},
        std::tuple{"SKY 100 800 CLOUDS", true, 100u}}) {
    LoadedScene s;
    dir.Load(Scene(items), s, textures);
    EXPECT_EQ(s.sky.FaceCount(), faces) << items << " " << textures;
    EXPECT_EQ(s.traces.Count("LoadLib.LoadSCN.AddSky \r\n"), 1u);
    if (faces == 0) continue;
    const MeshBuild& mb = s.builds.sky;
    ASSERT_EQ(mb.Textures().size(), 1u);
    EXPECT_EQ(mb.Textures()[0].file, dir.Path() + "/clouds.bmp");
    EXPECT_FALSE(mb.Textures()[0].transparent);
    EXPECT_EQ(mb.Vertices().size(), 121u);
    // The dome rises to H in the middle and touches 0 at the rim, centred on the terrain.
    const rm::Box box = s.sky.GetBox();
    EXPECT_FLOAT_EQ(box.min.x, 500.0f - 800.0f);
    EXPECT_FLOAT_EQ(box.max.z, 500.0f + 800.0f);
    EXPECT_FLOAT_EQ(box.max.y, 100.0f);
    EXPECT_FLOAT_EQ(box.min.y, 0.0f);
    const MaterialEntry& m = mb.Materials()[static_cast<std::size_t>(mb.Faces()[0].material)];
    EXPECT_EQ(m.emissiveR, 1.0);
    EXPECT_EQ(m.power, 0.0);
    EXPECT_NE(s.sky.Faces()[0].texture, nullptr);
  }
}

TEST(SceneFile, IgnoredItemsChangeNothing) {
  SceneFolder dir;
  LoadedScene plain, extra;
  dir.Load(Scene(""), plain);
  dir.Load(Scene("WINDPOLE 1 2 3 DIM3 USE_TEXTURE SOMETHING"), extra);
  EXPECT_EQ(extra.builds.terrain.Faces().size(), plain.builds.terrain.Faces().size());
  EXPECT_EQ(extra.builds.terrain.Vertices().size(), plain.builds.terrain.Vertices().size());
  EXPECT_DOUBLE_EQ(extra.info.StartX, plain.info.StartX);
  EXPECT_DOUBLE_EQ(extra.info.PilotY, plain.info.PilotY);
  EXPECT_EQ(extra.random.State(), plain.random.State());
}

TEST(SceneFile, RequiredItemsAndBadNumbers) {
  SceneFolder dir;
  LoadedScene s;
  EXPECT_NE(ErrorOf(dir, "3D_LANDSCAPE HEIGHT END", s).find("SCENE"), std::string::npos);
  EXPECT_NE(ErrorOf(dir, "SCENE 500 100 50 END", s).find("3D_LANDSCAPE"), std::string::npos);
  EXPECT_EQ(s.terrain.FaceCount(), 0u);
  EXPECT_EQ(s.sky.FaceCount(), 0u);

  // A bad number stops the load before anything is assembled; the positions keep their
  // start values, unshifted.
  LoadedScene t;
  EXPECT_EQ(ErrorOf(dir, "SCENE 500 100 50 3D_LANDSCAPE HEIGHT SKY 10 X1 A B C D END", t),
            "Error: Floating point value expected at: X1 A B C ... (line 1)");
  EXPECT_EQ(t.terrain.FaceCount(), 0u);
  EXPECT_DOUBLE_EQ(t.info.StartX, 5.0);
  EXPECT_DOUBLE_EQ(t.info.PilotX, 0.0);
  EXPECT_EQ(t.info.CellsX, 0);

  // The end of the file ends the load like END.
  LoadedScene u;
  dir.Load(kSmallScene, u);
  EXPECT_EQ(u.terrain.FaceCount(), 800u);

  EXPECT_NE(ErrorOf(dir, Scene("BOGUS"), s), "");
  EXPECT_NE(ErrorOf(dir, "", s).find("SCENE"), std::string::npos);
}

TEST(SceneFile, NamesInsideTheFileAreFoundIgnoringCaseAndBackslashes) {
  SceneFolder dir;
  dir.Picture("Maps/Height.BMP", Grey(5, 5, 0));
  dir.Picture("Tex/Grass.Bmp", Grey(2, 2, 50));
  LoadedScene s;
  dir.Load("scene 500 100 50 3d_landscape maps\\height quadrant 0 0 10 10 tex\\grass end", s);
  EXPECT_NEAR(s.builds.terrain.Vertices()[0].y, 64.4385, 1e-9);
  ASSERT_EQ(s.builds.terrain.Textures().size(), 1u);
  EXPECT_EQ(s.builds.terrain.Textures()[0].file, dir.Path() + "/Tex/Grass.Bmp");
  EXPECT_NE(s.terrain.Faces()[0].texture, nullptr);

  // The scene file itself may also be named in another case.
  LoadedScene t;
  dir.Write("Other.SCN", kSmallScene);
  rm::Root root = testing::DecodingRoot();
  LoadSCN(dir.Path() + "/other.scn", root, true, t.info, t.grid, t.sky, t.terrain, t.random,
          t.traces.Sink(), &t.builds);
  EXPECT_EQ(t.terrain.FaceCount(), 800u);
}

TEST(SceneFile, MissingTextureLeavesFacesUntextured) {
  SceneFolder dir;
  LoadedScene s;
  dir.Load(Scene("QUADRANT 0 0 10 10 NOTTHERE"), s);
  EXPECT_EQ(s.terrain.FaceCount(), 800u);
  EXPECT_EQ(s.terrain.Faces()[0].texture, nullptr);
}

TEST(SceneFile, TerrainWithoutAnyTextureShowsItsShades) {
  SceneFolder dir;
  LoadedScene s;
  dir.Load(Scene(""), s, /*textures=*/true);
  ASSERT_EQ(s.terrain.FaceCount(), 800u);
  EXPECT_FALSE(s.builds.terrain.Refs()[0].textured);
  EXPECT_EQ(s.terrain.Faces()[0].texture, nullptr);
}

TEST(SceneFile, ManyTextures) {
  SceneFolder dir;
  std::string items;
  for (int k = 0; k < 50; ++k)
    items += "TEXTURE T" + std::to_string(k) + " 0 0 0 0 " + std::to_string(k) +
             " 1 0 1 0 0 1 1 1 1 0 0 1 0 1 0\n";
  LoadedScene s;
  dir.Load(Scene(items), s);
  EXPECT_EQ(s.builds.terrain.Textures().size(), 50u);
  EXPECT_EQ(s.builds.terrain.Faces()[49].texture, 49);
}

}  // namespace
}  // namespace veltrane::loaders

namespace veltrane::loaders {
namespace {

// A landscape as the old desktop wrote it: CRLF lines, comments, lower-case words, names in
// another case than on disk, an 8-bit paletted heightmap.
TEST(SceneFile, StoredLandscape) {
  const std::string file = std::string(VELTRANE_TEST_DIR) + "/data/scenes/Meadow/meadow.scn";
  for (bool textures : {true, false}) {
    LoadedScene s;
    rm::Root root = testing::DecodingRoot();
    LoadSCN(file, root, textures, s.info, s.grid, s.sky, s.terrain, s.random, s.traces.Sink(),
            &s.builds);
    EXPECT_EQ(s.info.CellsX, 16);
    EXPECT_EQ(s.info.GridStep, 25);
    EXPECT_DOUBLE_EQ(s.info.PilotX, 190.0);
    EXPECT_DOUBLE_EQ(s.info.PilotY, 220.0);
    EXPECT_DOUBLE_EQ(s.info.StartX, 205.0);
    EXPECT_EQ(s.grid.At(0, 16), 200);  // the dark corner at the top left of the picture
    EXPECT_EQ(s.grid.At(3, 13), 200);
    EXPECT_EQ(s.grid.At(4, 16), 0);
    EXPECT_EQ(s.grid.At(0, 12), 0);
    // Two fence lines of four sides each, and the tree only while textures are shown.
    EXPECT_EQ(s.builds.terrain.Faces().size(), 2u * 16 * 16 + 8 + (textures ? 1 : 0));
    EXPECT_EQ(s.sky.FaceCount(), textures ? 100u : 0u);
    if (textures) {
      ASSERT_EQ(s.builds.terrain.Textures().size(), 2u);
      EXPECT_TRUE(s.builds.terrain.Textures()[1].transparent);
      const rm::Face& tree = s.terrain.Faces()[8];  // after the fence, before the terrain
      ASSERT_NE(tree.texture, nullptr);
      EXPECT_TRUE(tree.texture->decalTransparency);
    }
  }
}

}  // namespace
}  // namespace veltrane::loaders
