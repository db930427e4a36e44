// Writes the shipped flight models: parameter files and geometry (.geo, .mdl, .x);
// their previews are the program's own pictures (render_previews.sh). Usage: veltrane-gen-models OUTPUT_DIR  (writes OUTPUT_DIR/Model/...)
#include <cstdio>
#include <exception>
#include <string>

#include "aircraft_params.h"
#include "design.h"
#include "file_writers.h"
#include "model_writers.h"

namespace veltrane::content {
namespace {

void WriteGeoModel(const std::string& dir, const std::string& name, const Design& d, int style,
                   const std::vector<ParamLine>& params, const std::string& about) {
  WriteText(dir + "/" + name + ".par",
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
    const Design trainer =
        HighWing(1.0, {0.98, 0.8, 0.1, 1.0, "yellow"}, {0.8, 0.1, 0.1, 1.0, "red"},
                 "high-wing trainer, 1.6 m span");
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

    WriteGeoModel(dir, "rudder-glider", Scaled(Glider(), 0.8, 0.67, 0.8, "thermal glider, 2 m span, rudder and elevator"), 0,
                  AirplaneLines(RudderGliderValues()),
                  "// Rudder and elevator only: the dihedral banks it when the rudder yaws it.\n");
    Design sailplane = Scaled(Glider(), 1.25, 1.33, 1.2, "sailplane, 4 m span");
    Recolour(sailplane, "orange", {0.85, 0.09, 0.08, 1.0, "red"});
    WriteGeoModel(dir, "sailplane", sailplane, 0, AirplaneLines(SailplaneValues()),
                  "// A big sailplane for the winch and the thermals.\n");
    Design hlg = Scaled(Glider(), 0.55, 0.5, 0.55, "hand-launch glider, 1.5 m span");
    Recolour(hlg, "orange", {0.1, 0.6, 0.2, 1.0, "green"});
    WriteGeoModel(dir, "hlg", hlg, 0, AirplaneLines(HandLaunchGliderValues()),
                  "// Thrown by hand or pulled up on a line; floats in the lightest lift.\n");
    Design motor = Scaled(Glider(), 0.9, 0.83, 0.9, "motor glider, 2.5 m span");
    Recolour(motor, "orange", {0.08, 0.2, 0.62, 1.0, "blue"});
    AddNosePropeller(motor, -0.5, 0.12);
    WriteGeoModel(dir, "motor-glider", motor, 0, AirplaneLines(MotorGliderValues()),
                  "// An electric motor climbs it; with the motor off it glides like the others.\n");

    Design heli = Scaled(Helicopter(), 0.85, 0.85, 0.85, "sport helicopter, 1.15 m rotor");
    Recolour(heli, "blue", {0.8, 0.1, 0.1, 1.0, "red"});
    WriteGeoModel(dir, "heli-sport", heli, 1, HelicopterLines(SportHeli()),
                  "// Livelier than the trainer helicopter: less damping, more cyclic.\n");
  });
}
