// The example files of the authoring guide: each loads through the program's own
// loaders with the values the guide states, faces turn the way the guide says,
// the example flight flies, and every file the guide quotes is quoted unchanged.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/pictures/picture_file.h"
#include "base/rm/mesh_builder.h"
#include "base/rm/root.h"
#include "loaders/model_loader.h"
#include "loaders/scene_file.h"
#include "tools/veltrane_tool/fly.h"
#include "tools/veltrane_tool/inspect.h"

namespace veltrane::tool {
namespace {

namespace fs = std::filesystem;

const fs::path kRepo = fs::path(VELTRANE_TEST_DIR).parent_path().parent_path();
const fs::path kExamples = kRepo / "docs" / "examples";

std::string Example(const std::string& name) { return (kExamples / name).string(); }

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// What `veltrane-tool inspect` reports for an example, as JSON pointer and value.
struct Expectation {
  const char* file;
  const char* pointer;
  nlohmann::json value;
};

const std::vector<Expectation> kExpected = {
    {"cub.par", "/iModelStyle", 0},
    {"cub.par", "/parameters/WingArea", 1.6 * 0.27},
    {"cub.par", "/parameters/Dihedral", 0.08},  // the last line: nothing was skipped
    {"dart.par", "/parameters/Dihedral", 0.08},
    {"hover.par", "/iModelStyle", 1},
    {"hover.par", "/parameters/ContactCount", 4},
    {"hover.par", "/parameters/Contacts/3/ContactMaxForce", 400},
    {"cub.geo", "/GroundClearance", 0.21},      // wheels: 16 cm below the origin, 5 cm radius
    {"cub.geo", "/parameters/MaxThrust", 10},   // from cub.par beside it
    {"cub.geo", "/build/faces", 10 + 32 + 72},  // own faces, propeller disc, wheel pair
    {"cub.geo", "/mesh/quality", "flat"},       // CULL OFF faces make it flat-shaded
    {"cub.geo", "/mesh/box/min/2", -0.70},      // the tail end, x = 70 cm, lies behind
    {"delta.mdl", "/GroundClearance", 0.11},
    {"delta.mdl", "/build/faces", 6 + 32 + 36},  // own faces, disc, 12-segment wheel
    {"delta.mdl", "/mesh/quality", "phong"},
    {"delta.mdl", "/mesh/box/max/2", 0.41},  // the propeller disc in front of the nose
    {"dart.x", "/GroundClearance", 0.04},
    {"dart.x", "/parameters/MaxThrust", 10},
    {"dart.x", "/mesh/faces", 6},
    {"dart.x", "/mesh/box/max/2", 0.4},
    {"field.scn", "/scene/cells_x", 40},
    {"field.scn", "/scene/pilot", {155.0, 120.0}},
    {"field.scn", "/scene/start", {125.0, 143.0}},
    {"field.scn", "/terrain/build/textures/1/file", (kExamples / "strip.bmp").string()},
    {"field.scn", "/sky/mesh/faces", 100},
    {"field.scn", "/terrain/mesh/box/max/1", 50.54},  // the hill: 200 grey levels
};

// Files the load check covers without an inspect entry.
const std::set<std::string> kOtherExamples = {"first_flight.txt", "field_height.bmp", "grass.bmp",
                                              "strip.bmp", "sky.bmp"};

TEST(AuthoringExamples, LoadWithTheValuesTheGuideGives) {
  std::map<std::string, nlohmann::json> inspected;
  for (const Expectation& e : kExpected) {
    SCOPED_TRACE(std::string(e.file) + " " + e.pointer);
    if (!inspected.contains(e.file)) {
      ASSERT_NO_THROW(inspected[e.file] = Inspect(Example(e.file)));
      // The parameter reader reports malformed numbers only in its trace.
      for (const auto& line : inspected[e.file].value("trace", nlohmann::json::array()))
        EXPECT_EQ(line.get<std::string>().find("bad number"), std::string::npos) << line;
    }
    const nlohmann::json& got = inspected[e.file].at(nlohmann::json::json_pointer(e.pointer));
    if (e.value.is_number_float())
      EXPECT_NEAR(got.get<double>(), e.value.get<double>(), 1e-6);
    else
      EXPECT_EQ(got, e.value);
  }
  // A new example without a check here would go untested.
  for (const auto& entry : fs::directory_iterator(kExamples)) {
    const std::string name = entry.path().filename().string();
    if (name.ends_with("_prv.jpg")) continue;
    EXPECT_TRUE(inspected.contains(name) || kOtherExamples.contains(name))
        << name << " is not checked";
  }
}

// Previews are named and sized as the open dialog shows them.
TEST(AuthoringExamples, PreviewsBelongToAFileAndHaveTheDialogsSize) {
  int previews = 0;
  for (const auto& entry : fs::directory_iterator(kExamples)) {
    const std::string name = entry.path().filename().string();
    if (!name.ends_with("_prv.jpg")) continue;
    SCOPED_TRACE(name);
    ++previews;
    const std::string base = name.substr(0, name.size() - std::string("_prv.jpg").size());
    const bool landscape = fs::exists(kExamples / (base + ".scn"));
    EXPECT_TRUE(landscape || fs::exists(kExamples / (base + ".par")) ||
                fs::exists(kExamples / (base + ".mdl")))
        << "belongs to no model or landscape";
    const pictures::Picture p = pictures::LoadPicture(entry.path().string());
    EXPECT_EQ(p.width, 256);
    EXPECT_EQ(p.height, landscape ? 256 : 192);
  }
  EXPECT_GE(previews, 4);
}

// The side a face is drawn from, as the renderer computes it.
rm::Vector FrontNormal(const rm::MeshBuilder& mesh, const rm::Face& f) {
  rm::Vector n{0, 0, 0};
  const auto& vs = mesh.Vertices();
  for (std::size_t i = 0; i < f.corners.size(); ++i) {
    const rm::Vector& a = vs[f.corners[i].vertex];
    const rm::Vector& b = vs[f.corners[(i + 1) % f.corners.size()].vertex];
    n.x += (a.y - b.y) * (a.z + b.z);
    n.y += (a.z - b.z) * (a.x + b.x);
    n.z += (a.x - b.x) * (a.y + b.y);
  }
  return n;
}

rm::Vector Centre(const rm::MeshBuilder& mesh, const std::vector<std::uint32_t>& vertices) {
  rm::Vector c{0, 0, 0};
  for (std::uint32_t v : vertices) {
    c.x += mesh.Vertices()[v].x / static_cast<float>(vertices.size());
    c.y += mesh.Vertices()[v].y / static_cast<float>(vertices.size());
    c.z += mesh.Vertices()[v].z / static_cast<float>(vertices.size());
  }
  return c;
}

TEST(AuthoringExamples, ClosedBodiesFaceOutwardsInTheWindingTheGuideGives) {
  // Each model's own closed body is its first vertices: the cub's fuselage box
  // and the dart's double pyramid. Their faces must show their outside.
  const struct {
    const char* file;
    std::uint32_t bodyVertices;
  } kBodies[] = {{"cub.par", 8}, {"delta.mdl", 5}, {"dart.par", 5}};
  for (const auto& b : kBodies) {
    SCOPED_TRACE(b.file);
    rm::Root root;
    rm::MeshBuilder mesh;
    SimState s;
    loaders::LoadModelFiles(Example(b.file), root, true, VELTRANE_DATA_DIR, mesh, s, Trace());
    std::vector<std::uint32_t> body;
    for (std::uint32_t v = 0; v < b.bodyVertices; ++v) body.push_back(v);
    const rm::Vector centre = Centre(mesh, body);
    int bodyFaces = 0;
    for (const rm::Face& f : mesh.Faces()) {
      std::vector<std::uint32_t> corners;
      for (const rm::Corner& c : f.corners) corners.push_back(c.vertex);
      if (std::ranges::any_of(corners, [&](std::uint32_t v) { return v >= b.bodyVertices; }))
        continue;
      ++bodyFaces;
      EXPECT_GT(Dot(FrontNormal(mesh, f), Centre(mesh, corners) - centre), 0.0f)
          << "a face of the body shows its inside";
    }
    EXPECT_EQ(bodyFaces, 6);
  }

  // The scene's start mat, 1 cm above the flat ground, is seen from above.
  rm::Root root;
  loaders::SceneInfo info;
  loaders::HeightGrid grid;
  rm::MeshBuilder sky, terrain;
  ProgramRandom random;
  loaders::LoadSCN(Example("field.scn"), root, true, info, grid, sky, terrain, random, Trace());
  int mat = 0;
  for (const rm::Face& f : terrain.Faces()) {
    if (std::ranges::all_of(f.corners, [&](const rm::Corner& c) {
          return std::abs(terrain.Vertices()[c.vertex].y - 0.01f) < 1e-4f;
        })) {
      ++mat;
      EXPECT_GT(FrontNormal(terrain, f).y, 0.0f);
    }
  }
  EXPECT_EQ(mat, 1);
}

TEST(AuthoringExamples, TheExampleFlightTakesOffAndLandsNowhere) {
  std::ifstream script(Example("first_flight.txt"));
  FlyOptions o;
  o.model = Example("cub.par");
  o.landscape = Example("field.scn");
  o.duration = 20.0;
  const nlohmann::json j = Fly(o, ParseScript(script), nullptr, Trace());
  EXPECT_FALSE(j["crashed"].get<bool>());
  EXPECT_GT(j["airborne_time"].get<double>(), 10.0);
  EXPECT_GT(j["max_height_agl"].get<double>(), 15.0);
}

// Every code block announced as "File `docs/examples/NAME`:" must be that file, byte for byte.
TEST(AuthoringExamples, TheGuideQuotesTheFilesUnchanged) {
  std::istringstream guide(ReadFile(kRepo / "docs" / "AUTHORING.md"));
  const std::string kLead = "File `docs/examples/";
  int quoted = 0;
  std::string line;
  int lineNo = 0;
  while (std::getline(guide, line)) {
    ++lineNo;
    if (!line.starts_with(kLead) || !line.ends_with("`:")) continue;
    const std::string name = line.substr(kLead.size(), line.size() - kLead.size() - 2);
    SCOPED_TRACE("AUTHORING.md line " + std::to_string(lineNo) + ": " + name);
    std::string fence;
    ASSERT_TRUE(std::getline(guide, fence) && fence.starts_with("```")) << "no code block follows";
    ++lineNo;
    std::string block;
    bool closed = false;
    while (std::getline(guide, line)) {
      ++lineNo;
      if (line == "```") {
        closed = true;
        break;
      }
      block += line + "\n";
    }
    ASSERT_TRUE(closed) << "the code block does not end";
    ASSERT_TRUE(fs::is_regular_file(kExamples / name)) << "no such example file";
    EXPECT_EQ(block, ReadFile(kExamples / name));
    ++quoted;
  }
  EXPECT_GE(quoted, 7);  // every text example but dart.par, which the guide describes
}

}  // namespace
}  // namespace veltrane::tool
