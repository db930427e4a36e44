// The shipped models through the program's own model loading: the right files load,
// the geometry faces outwards, and the clearances the flight checks use are the real ones.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/rm/mesh_builder.h"
#include "base/rm/root.h"
#include "base/trace/trace.h"
#include "loaders/model_loader.h"
#include "shipped_models.h"
#include "sim/sim_state.h"

namespace veltrane::content_test {
namespace {

struct Shipped {
  const char* file;
  const char* geometry;  // expected last geometry file
  int style;
  double clearance;   // what the loaders must make of the geometry
  const char* sound;  // expected engine sound (file name), "" for none
};

void PrintTo(const Shipped& s, std::ostream* os) { *os << s.file; }

class ShippedModel : public ::testing::TestWithParam<Shipped> {
 protected:
  void SetUp() override {
    const std::string data = VELTRANE_DATA_DIR;
    files_ = loaders::LoadModelFiles(data + "/" + GetParam().file, root_, true, data, mesh_, state_,
                                     Trace());
  }
  rm::Root root_;
  rm::MeshBuilder mesh_;
  SimState state_;
  loaders::ModelFiles files_;
};

// Signed volume enclosed by the faces with the corner order the layer draws as front
// (clockwise in its left-handed frame): positive when the fronts face outwards.
double FrontVolume(const rm::MeshBuilder& m) {
  double v = 0.0;
  const auto& p = m.Vertices();
  for (const rm::Face& f : m.Faces())
    for (size_t k = 1; k + 1 < f.corners.size(); ++k) {
      const rm::Vector& a = p[f.corners[0].vertex];
      const rm::Vector& b = p[f.corners[k].vertex];
      const rm::Vector& c = p[f.corners[k + 1].vertex];
      v += (a.x * (b.y * c.z - b.z * c.y) + a.y * (b.z * c.x - b.x * c.z) +
            a.z * (b.x * c.y - b.y * c.x)) /
           6.0;
    }
  return v;
}

TEST_P(ShippedModel, LoadsItsGeometryParametersAndSound) {
  const Shipped& s = GetParam();
  ASSERT_FALSE(files_.loadedFiles.empty());
  EXPECT_EQ(std::filesystem::path(files_.loadedFiles.back()).filename(), s.geometry);
  EXPECT_EQ(state_.iModelStyle, s.style);
  EXPECT_GT(state_.Airplane.Mass, 0.2);  // the hand-launch glider weighs 300 g
  EXPECT_GT(mesh_.FaceCount(), 200u);
  if (*s.sound) {
    EXPECT_EQ(std::filesystem::path(files_.soundFile).filename(), s.sound);
    EXPECT_TRUE(std::filesystem::exists(files_.soundFile)) << files_.soundFile;
  } else {
    EXPECT_FALSE(std::filesystem::exists(files_.soundFile)) << "a glider has no engine sound";
  }
}

TEST_P(ShippedModel, ClearanceMatchesTheFlightChecks) {
  const Shipped& s = GetParam();
  EXPECT_NEAR(state_.GroundClearance, s.clearance, 1e-4);
}

TEST_P(ShippedModel, FacesPointOutwards) {
  // Generated discs and wheels are part of the mesh; the body dominates the volume.
  EXPECT_GT(FrontVolume(mesh_), 0.0);
}

TEST_P(ShippedModel, FliesNoseFirstAlongTheDisplayForwardAxis) {
  // The layer flies the mesh towards its +z. Every shipped model has a longer tail than
  // nose, so a mesh turned the wrong way round reaches further forward than back.
  const rm::Box box = mesh_.GetBox();
  EXPECT_GT(-box.min.z, box.max.z);
  EXPECT_GT(box.max.z, 0.2);
  // Wings (or rotor) span the display x axis, the fin stands up along y.
  EXPECT_GT(box.max.x - box.min.x, box.max.y - box.min.y);
  EXPECT_GT(box.max.y, 0.1);
}

INSTANTIATE_TEST_SUITE_P(
    Data, ShippedModel,
    ::testing::Values(
        Shipped{"Model/su-26.par", "su-26.geo", 0, kSu26Clearance, "su-26.wav"},
        Shipped{"Model/glider.par", "glider.geo", 0, kGliderClearance, ""},
        Shipped{"Model/heli.par", "heli.geo", 1, kHeliClearance, "heli.wav"},
        Shipped{"Model/parkflyer.par", "parkflyer.x", 0, kParkflyerClearance, "parkflyer.wav"},
        Shipped{"Model/trainer.mdl", "trainer.mdl", 0, kTrainerFileClearance, "motor.wav"},
        Shipped{"Model/sport.par", "sport.geo", 0, kSportClearance, "sport.wav"},
        Shipped{"Model/warbird.par", "warbird.geo", 0, kWarbirdClearance, "warbird.wav"},
        Shipped{"Model/edf-jet.par", "edf-jet.geo", 0, kJetClearance, "edf-jet.wav"},
        Shipped{"Model/rudder-glider.par", "rudder-glider.geo", 0, kRudderGliderClearance, ""},
        Shipped{"Model/sailplane.par", "sailplane.geo", 0, kSailplaneClearance, ""},
        Shipped{"Model/hlg.par", "hlg.geo", 0, kHlgClearance, ""},
        Shipped{"Model/throw-glider.par", "throw-glider.geo", 0, kThrowGliderClearance, ""},
        Shipped{"Model/slope-racer.par", "slope-racer.geo", 0, kSlopeRacerClearance, ""},
        Shipped{"Model/slope-wing.par", "slope-wing.geo", 0, kSlopeWingClearance, ""},
        Shipped{"Model/motor-glider.par", "motor-glider.geo", 0, kMotorGliderClearance,
                "motor-glider.wav"},
        Shipped{"Model/heli-sport.par", "heli-sport.geo", 1, kHeliSportClearance,
                "heli-sport.wav"}),
    [](const ::testing::TestParamInfo<Shipped>& info) {
      std::string n = std::filesystem::path(info.param.file).stem().string();
      for (char& c : n)
        if (c == '-') c = '_';
      return n;
    });

TEST(ShippedModels, TheDefaultModelIsSmoothShaded) {
  rm::Root root;
  rm::MeshBuilder mesh;
  SimState s;
  const std::string data = VELTRANE_DATA_DIR;
  loaders::LoadModelFiles(data + "/Model/su-26.par", root, true, data, mesh, s, Trace());
  EXPECT_EQ(mesh.Quality(), 0x8Au) << "every face single-sided gives phong shading";
  rm::MeshBuilder trainer;
  loaders::LoadModelFiles(data + "/Model/trainer.mdl", root, true, data, trainer, s, Trace());
  EXPECT_EQ(trainer.Quality(), 0x8Au);
}

}  // namespace
}  // namespace veltrane::content_test
