#include "tools/veltrane_tool/inspect.h"

#include <filesystem>
#include <map>

#include "base/rm/root.h"
#include "base/trace/trace.h"
#include "loaders/geo_file.h"
#include "loaders/mdl_file.h"
#include "loaders/par_file.h"
#include "loaders/scene_file.h"
#include "loaders/x_file.h"
#include "tools/veltrane_tool/model_files.h"
#include "tools/veltrane_tool/tool_error.h"

namespace veltrane::tool {
namespace {

nlohmann::json AirplaneJson(const AirplaneParams& a) {
  return {{"MaxThrust", a.MaxThrust},
          {"RudderGain", a.RudderGain},
          {"ElevatorGain", a.ElevatorGain},
          {"AileronGain", a.AileronGain},
          {"MaxLift", a.MaxLift},
          {"MinLift", a.MinLift},
          {"LiftSlope", a.LiftSlope},
          {"StallLiftSlope", a.StallLiftSlope},
          {"ProfileDrag", a.ProfileDrag},
          {"ParasiteDrag", a.ParasiteDrag},
          {"WheelFriction", a.WheelFriction},
          {"StallDragSlope", a.StallDragSlope},
          {"PitchMomentCoef", a.PitchMomentCoef},
          {"WingIncidence", a.WingIncidence},
          {"WingSpan", a.WingSpan},
          {"WingChord", a.WingChord},
          {"WingArea", a.WingArea},
          {"CgPosition", a.CgPosition},
          {"Mass", a.Mass},
          {"YawInertia", a.YawInertia},
          {"PitchInertia", a.PitchInertia},
          {"RollInertia", a.RollInertia},
          {"StabilizerArea", a.StabilizerArea},
          {"FinArea", a.FinArea},
          {"TailArm", a.TailArm},
          {"Dihedral", a.Dihedral}};
}

nlohmann::json HelicopterJson(const AirplaneParams& a, const HelicopterParams& h) {
  nlohmann::json j = {
      {"Mass", a.Mass},
      {"HeliInertia", {{"x", h.HeliInertia.x}, {"y", h.HeliInertia.y}, {"z", h.HeliInertia.z}}},
      {"RotationalDamping", h.RotationalDamping},
      {"ExpoPitch", h.ExpoPitch},
      {"ExpoRoll", h.ExpoRoll},
      {"ExpoYaw", h.ExpoYaw},
      {"ExpoCollective", h.ExpoCollective},
      {"RotorRadius", h.RotorRadius},
      {"BladeArea", h.BladeArea},
      {"RotorRpm", h.RotorRpm},
      {"CollectiveGain", h.CollectiveGain},
      {"PitchCyclicGain", h.PitchCyclicGain},
      {"RollCyclicGain", h.RollCyclicGain},
      {"RotorHeight", h.RotorHeight},
      {"InPlaneFlowFactor", h.InPlaneFlowFactor},
      {"TailRotorRadius", h.TailRotorRadius},
      {"TailRotorArea", h.TailRotorArea},
      {"TailRotorRpm", h.TailRotorRpm},
      {"TailPitchGain", h.TailPitchGain},
      {"TailPitchTrim", h.TailPitchTrim},
      {"TailRotorArm", h.TailRotorArm},
      {"SideFlowFactor", h.SideFlowFactor},
      {"GyroGain", h.GyroGain},
      {"GyroStickReduction", h.GyroStickReduction},
      {"LiftSlope", a.LiftSlope},
      {"MaxLift", a.MaxLift},
      {"MinLift", a.MinLift},
      {"ProfileDrag", a.ProfileDrag},
      {"BladeDragSlope", h.BladeDragSlope},
      {"ParasiteDrag", a.ParasiteDrag},
      {"ContactCount", h.ContactCount},
  };
  nlohmann::json contacts = nlohmann::json::array();
  for (int i = 0; i < h.ContactCount && i < kMaxContacts; ++i) {
    const HeliContact& c = h.Contacts[i];
    contacts.push_back({{"forward", c.Position.x},
                        {"right", c.Position.y},
                        {"up", c.Position.z},
                        {"ContactFriction", c.ContactFriction},
                        {"ContactStiffness", c.ContactStiffness},
                        {"ContactDamping", c.ContactDamping},
                        {"ContactMaxForce", c.ContactMaxForce}});
  }
  j["Contacts"] = contacts;
  return j;
}

nlohmann::json Triple(double a, double b, double c) { return nlohmann::json::array({a, b, c}); }

nlohmann::json Point(const rm::Vector& v) { return Triple(v.x, v.y, v.z); }

nlohmann::json InspectPar(const std::string& path) {
  SimState s;
  TraceCapture capture;
  loaders::LoadPAR(s, path, capture.Sink());
  nlohmann::json j;
  j["file"] = path;
  j["iModelStyle"] = s.iModelStyle;
  j["parameters"] = ParametersJson(s);
  // The reader reports bad values only through its trace; show them.
  j["trace"] = capture.Lines();
  return j;
}

// A geometry file read by its own loader; .x files have no MeshBuild.
nlohmann::json InspectModel(const std::string& path, const std::string& ext) {
  SimState s;
  rm::Root root;
  root.SetSearchPath(std::filesystem::path(path).parent_path().string());
  rm::MeshBuilder mesh;
  TraceCapture capture;
  nlohmann::json build = nullptr;
  if (ext == ".mdl")
    build = BuildJson(loaders::LoadMDL(path, root, mesh, s, capture.Sink()));
  else if (ext == ".geo")
    build = BuildJson(loaders::LoadGEO(path, root, true, mesh, s, capture.Sink()));
  else
    loaders::LoadX(path, root, mesh, s, capture.Sink());
  nlohmann::json j;
  j["file"] = path;
  j["iModelStyle"] = s.iModelStyle;
  j["GroundClearance"] = s.GroundClearance;
  j["parameters"] = ParametersJson(s);
  j["build"] = build;
  j["mesh"] = MeshJson(mesh);
  j["trace"] = capture.Lines();
  return j;
}

nlohmann::json InspectScn(const std::string& path) {
  rm::Root root;
  root.SetSearchPath(std::filesystem::path(path).parent_path().string());
  loaders::SceneInfo info;
  loaders::HeightGrid grid;
  rm::MeshBuilder sky, terrain;
  ProgramRandom random;
  loaders::SceneBuilds builds;
  loaders::LoadSCN(path, root, true, info, grid, sky, terrain, random, Trace(), &builds);
  nlohmann::json j;
  j["file"] = path;
  j["scene"] = {{"grid_step", info.GridStep},
                {"height_per_level", info.HeightPerLevel},
                {"cells_x", info.CellsX},
                {"cells_y", info.CellsY},
                {"pilot", nlohmann::json::array({info.PilotX, info.PilotY})},
                {"start", nlohmann::json::array({info.StartX, info.StartY})},
                {"windpole", nlohmann::json::array({info.WindpoleX, info.WindpoleY})}};
  j["wind"] = info.Wind
                  ? nlohmann::json{{"speed", info.Wind->speed}, {"from", info.Wind->fromDegrees}}
                  : nlohmann::json(nullptr);
  j["f3f_course"] =
      info.F3fCourse
          ? nlohmann::json{{"middle",
                            nlohmann::json::array({info.F3fCourse->x, info.F3fCourse->y})},
                           {"facing", info.F3fCourse->facingDegrees}}
          : nlohmann::json(nullptr);
  j["landing_spot"] =
      info.LandingSpot ? nlohmann::json::array({info.LandingSpot->first, info.LandingSpot->second})
                       : nlohmann::json(nullptr);
  j["panorama"] =
      info.PanoramaFile.empty() ? nlohmann::json(nullptr) : nlohmann::json(info.PanoramaFile);
  j["terrain"] = {{"build", BuildJson(builds.terrain)}, {"mesh", MeshJson(terrain)}};
  j["sky"] = {{"build", BuildJson(builds.sky)}, {"mesh", MeshJson(sky)}};
  return j;
}

}  // namespace

nlohmann::json ParametersJson(const SimState& s) {
  if (s.iModelStyle == 0) return AirplaneJson(s.Airplane);
  if (s.iModelStyle == 1) return HelicopterJson(s.Airplane, s.Heli);
  return nlohmann::json::object();  // no flight model reads anything else
}

nlohmann::json BuildJson(const loaders::MeshBuild& mb) {
  const loaders::MeshBuildStats st = loaders::Statistics(mb);
  nlohmann::json corners = nlohmann::json::object();
  for (std::size_t k = 0; k < st.facesByCornerCount.size(); ++k)
    if (st.facesByCornerCount[k] > 0) corners[std::to_string(k)] = st.facesByCornerCount[k];
  nlohmann::json colors = nlohmann::json::array();
  for (const auto& c : mb.Colors()) colors.push_back({c.r, c.g, c.b, c.a});
  nlohmann::json textures = nlohmann::json::array();
  for (const auto& t : mb.Textures())
    textures.push_back({{"file", t.file}, {"transparent", t.transparent}});
  nlohmann::json materials = nlohmann::json::array();
  // Entry 0 is the unused "no material".
  for (std::size_t i = 1; i < mb.Materials().size(); ++i) {
    const auto& m = mb.Materials()[i];
    materials.push_back({{"power", m.power},
                         {"emissive", Triple(m.emissiveR, m.emissiveG, m.emissiveB)},
                         {"specular", Triple(m.specularR, m.specularG, m.specularB)}});
  }
  return {{"vertices", st.vertices},
          {"references", st.references},
          {"faces", st.faces},
          {"single_sided_faces", st.singleSidedFaces},
          {"textured_faces", st.texturedFaces},
          {"corner_counts", corners},
          {"colors", colors},
          {"faces_by_color", st.facesByColor},
          {"textures", textures},
          {"materials", materials}};
}

nlohmann::json MeshJson(const rm::MeshBuilder& mesh) {
  const rm::Box box = mesh.GetBox();
  const bool phong = (mesh.Quality() & rm::quality::kShadeMask) == rm::quality::kShadePhong;
  return {{"faces", mesh.FaceCount()},
          {"vertices", mesh.Vertices().size()},
          {"normals", mesh.Normals().size()},
          {"quality", phong ? "phong" : "flat"},
          {"perspective", mesh.Perspective()},
          {"box", {{"min", Point(box.min)}, {"max", Point(box.max)}}}};
}

nlohmann::json Inspect(const std::string& path) {
  RequireFile(path, "file");
  const std::string ext = ExtensionOf(path);
  if (ext == ".par") return InspectPar(path);
  if (ext == ".mdl" || ext == ".geo" || ext == ".x") return InspectModel(path, ext);
  if (ext == ".scn") return InspectScn(path);
  throw ToolError("cannot inspect \"" + ext +
                  "\" files (expected .par, .mdl, .geo, .x or .scn): " + path);
}

}  // namespace veltrane::tool
