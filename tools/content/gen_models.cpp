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
  });
}
