// Writes the shipped flight models: parameter files and geometry (.geo, .mdl, .x);
// their previews are the program's own pictures (render_previews.sh). Usage: veltrane-gen-models
// OUTPUT_DIR  (writes OUTPUT_DIR/Model/...)
#include <cstdio>
#include <exception>
#include <string>

#include "aircraft_params.h"
#include "design.h"
#include "file_writers.h"
#include "glider_designs.h"
#include "model_writers.h"

namespace veltrane::content {
namespace {

void WriteGeoModel(const std::string& dir, const std::string& name, const Design& d, int style,
                   const std::vector<ParamLine>& params, const std::string& about) {
  WriteText(
      dir + "/" + name + ".par",
      ParText(style, params,
              style == 0 ? "iModelStyle: 0 = airplane; one value per line, notes after it"
                         : "iModelStyle: 1 = helicopter; one value per line, notes after it"));
  WriteText(dir + "/" + name + ".geo", GeoText(d, "// " + d.title + "\n" + about));
}

}  // namespace
}  // namespace veltrane::content

int main(int argc, char** argv) {
  using namespace veltrane::content;
  return GeneratorMain(argc, argv, [](const std::string& out) {
    const std::string dir = out + "/Model";
    MakeDirs(dir);
    WriteGeoModel(dir, "su-26", Su26(), 0, AirplaneLines(Su26Values()),
                  "// The default model: flies aerobatics on full throttle, loops, rolls and\n"
                  "// flies inverted. Flight values in su-26.par, engine sound in su-26.wav.\n");
    WriteGeoModel(dir, "glider", Glider(), 0, AirplaneLines(GliderValues()),
                  "// No engine (MaxThrust 0): launch it by hand or on the winch and look for\n"
                  "// thermals.\n");
    WriteGeoModel(dir, "heli", Helicopter(), 1, HelicopterLines(),
                  "// Flown with the helicopter model; it stands on the four contact points\n"
                  "// of heli.par at the ends of its skids.\n");
    const Design trainer = HighWing(1.0, {0.98, 0.8, 0.1, 1.0, "yellow"},
                                    {0.8, 0.1, 0.1, 1.0, "red"}, "high-wing trainer, 1.6 m span");
    WriteText(dir + "/trainer.mdl", MdlText(trainer, AirplaneLines(TrainerValues())));
    const Design park = HighWing(0.62, {0.92, 0.92, 0.95, 1.0, "white"},
                                 {0.1, 0.45, 0.2, 1.0, "green"}, "park flyer, 1 m span");
    WriteText(dir + "/parkflyer.par",
              ParText(0, AirplaneLines(ParkflyerValues()),
                      "iModelStyle: 0 = airplane; geometry in parkflyer.x"));
    WriteText(dir + "/parkflyer.x", XText(park));

    Design sport = Scaled(Su26(), 0.72, 0.75, 0.72, "low-wing sport model, 1.5 m span");
    Recolour(sport, "red", {0.1, 0.3, 0.75, 1.0, "blue"});
    Recolour(sport, "blue", {0.98, 0.8, 0.1, 1.0, "yellow"});
    WriteGeoModel(dir, "sport", sport, 0, AirplaneLines(SportValues()),
                  "// A low-wing sport model: loops, rolls and flies inverted with a push.\n");
    Design warbird = Scaled(Su26(), 0.95, 0.9, 0.9, "scale warbird, 1.8 m span");
    Recolour(warbird, "white", {0.33, 0.37, 0.22, 1.0, "olive drab"});
    Recolour(warbird, "red", {0.55, 0.58, 0.6, 1.0, "sky grey"});
    Recolour(warbird, "blue", {0.9, 0.85, 0.2, 1.0, "yellow band"});
    WriteGeoModel(dir, "warbird", warbird, 0, AirplaneLines(WarbirdValues()),
                  "// A heavy scale fighter: fast, keep the speed up on the approach.\n");
    WriteGeoModel(dir, "edf-jet", DuctedFanJet(), 0, AirplaneLines(JetValues()),
                  "// An electric ducted-fan jet: long take-off run, fast and smooth.\n");

    // Each glider has its own planform, tail and colours, so that they differ in the
    // open dialog's previews.
    GliderLook rudder;
    rudder.title = "thermal glider, 2 m span, rudder and elevator";
    rudder.span = 2.0, rudder.rootChord = 0.2, rudder.tipChord = 0.14, rudder.tipSweep = 0.03;
    rudder.polyhedral = true, rudder.dihedral = 0.12, rudder.length = 1.15, rudder.pod = 0.05;
    rudder.tail = TailKind::Cross, rudder.tailSpan = 0.45, rudder.finHeight = 0.16;
    rudder.main = {0.98, 0.8, 0.1, 1.0, "yellow"}, rudder.trim = {0.85, 0.09, 0.08, 1.0, "red"};
    WriteGeoModel(dir, "rudder-glider", SlenderGlider(rudder), 0,
                  AirplaneLines(RudderGliderValues()),
                  "// Rudder and elevator only: the dihedral banks it when the rudder yaws it.\n");

    GliderLook sail;
    sail.title = "sailplane, 4 m span";
    sail.span = 4.0, sail.rootChord = 0.26, sail.tipChord = 0.1, sail.tipSweep = 0.08;
    sail.dihedral = 0.05, sail.length = 1.8, sail.pod = 0.08;
    sail.tail = TailKind::T, sail.tailSpan = 0.75, sail.finHeight = 0.3;
    sail.main = {0.95, 0.95, 0.93, 1.0, "white"}, sail.trim = {0.85, 0.09, 0.08, 1.0, "red"};
    WriteGeoModel(dir, "sailplane", SlenderGlider(sail), 0, AirplaneLines(SailplaneValues()),
                  "// A big sailplane for the winch and the thermals.\n");

    GliderLook hlg;
    hlg.title = "hand-launch glider, 1.5 m span";
    hlg.span = 1.5, hlg.rootChord = 0.19, hlg.tipChord = 0.08, hlg.tipSweep = 0.06;
    hlg.polyhedral = true, hlg.dihedral = 0.08, hlg.length = 1.0, hlg.pod = 0.04;
    hlg.podAndBoom = true, hlg.canopy = false;
    hlg.tail = TailKind::Cross, hlg.tailSpan = 0.35, hlg.finHeight = 0.14;
    hlg.main = {0.55, 0.8, 0.95, 1.0, "light blue"}, hlg.trim = {0.1, 0.6, 0.2, 1.0, "green"};
    WriteGeoModel(dir, "hlg", SlenderGlider(hlg), 0, AirplaneLines(HandLaunchGliderValues()),
                  "// Thrown by hand or pulled up on a line; floats in the lightest lift.\n");

    GliderLook thrown;
    thrown.title = "hand-launch glider, 1.3 m span, V-tail";
    thrown.span = 1.3, thrown.rootChord = 0.17, thrown.tipChord = 0.06, thrown.tipSweep = 0.1;
    thrown.dihedral = 0.1, thrown.length = 0.9, thrown.pod = 0.035;
    thrown.podAndBoom = true, thrown.canopy = false;
    thrown.tail = TailKind::V, thrown.tailSpan = 0.32;
    thrown.main = {0.92, 0.92, 0.95, 1.0, "white"}, thrown.trim = {0.85, 0.15, 0.6, 1.0, "magenta"};
    WriteGeoModel(
        dir, "throw-glider", SlenderGlider(thrown), 0, AirplaneLines(ThrowGliderValues()),
        "// A small hand-launch glider: throw it, find the bubble of lift, land at your feet.\n");

    GliderLook motor;
    motor.title = "motor glider, 2.5 m span";
    motor.span = 2.5, motor.rootChord = 0.24, motor.tipChord = 0.14, motor.tipSweep = 0.03;
    motor.dihedral = 0.07, motor.length = 1.3, motor.pod = 0.065;
    motor.tail = TailKind::V, motor.tailSpan = 0.5;
    motor.main = {0.08, 0.2, 0.62, 1.0, "blue"}, motor.trim = {0.95, 0.95, 0.93, 1.0, "white"};
    Design motorDesign = SlenderGlider(motor);
    AddNosePropeller(motorDesign, -0.43, 0.12);
    WriteGeoModel(
        dir, "motor-glider", motorDesign, 0, AirplaneLines(MotorGliderValues()),
        "// An electric motor climbs it; with the motor off it glides like the others.\n");

    GliderLook racer;
    racer.title = "slope racer, 2.5 m span";
    racer.span = 2.5, racer.rootChord = 0.24, racer.tipChord = 0.12, racer.tipSweep = 0.02;
    racer.dihedral = 0.02, racer.length = 1.35, racer.pod = 0.045;
    racer.tail = TailKind::V, racer.tailSpan = 0.42;
    racer.main = {0.18, 0.18, 0.2, 1.0, "carbon"}, racer.trim = {0.98, 0.8, 0.1, 1.0, "yellow"};
    WriteGeoModel(
        dir, "slope-racer", SlenderGlider(racer), 0, AirplaneLines(SlopeRacerValues()),
        "// Fast and heavy: fly it in the lift in front of a slope, ailerons and elevator.\n");

    WriteGeoModel(dir, "slope-wing",
                  FoamWing(1.2, {0.95, 0.35, 0.1, 1.0, "orange"}, {0.1, 0.1, 0.12, 1.0, "black"},
                           "foam slope wing, 1.2 m span"),
                  0, AirplaneLines(SlopeWingValues()),
                  "// A tough foam flying wing for the slope: elevons, no rudder.\n");

    Design heli = Scaled(Helicopter(), 0.85, 0.85, 0.85, "sport helicopter, 1.15 m rotor");
    Recolour(heli, "blue", {0.8, 0.1, 0.1, 1.0, "red"});
    WriteGeoModel(dir, "heli-sport", heli, 1, HelicopterLines(SportHeli()),
                  "// Livelier than the trainer helicopter: less damping, more cyclic.\n");
  });
}
