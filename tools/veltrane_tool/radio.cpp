#include "tools/veltrane_tool/radio.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <memory>
#include <nlohmann/json.hpp>
#include <thread>

#include "base/settings/settings_store.h"
#include "base/trace/trace.h"
#include "platform/joystick/sdl_joystick_service.h"
#include "platform/serial/libserialport_port.h"
#include "radio/joystick/rc_joy_form.h"
#include "radio/pic/rc_pic_form.h"
#include "tools/veltrane_tool/tool_error.h"

namespace veltrane::tool {

namespace {

double Number(const std::string& option, const std::string& text, double lo, double hi) {
  double v = 0.0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, v);
  if (ec != std::errc() || ptr != end || !std::isfinite(v) || v < lo || v > hi)
    throw ToolError(option + ": needs a number from " + nlohmann::json(lo).dump() + " to " +
                    nlohmann::json(hi).dump() + ", not \"" + text + "\"");
  return v;
}

nlohmann::json List() {
  platform::LibSerialPort serial;
  nlohmann::json j;
  j["serial_ports"] = serial.ListPorts();
  j["joysticks"] = nlohmann::json::array();
  platform::SdlJoystickService joysticks;
  joysticks.Poll();
  for (int d = 0; d < 2; ++d) {
    JoystickState s;
    if (joysticks.Query(d, s))
      j["joysticks"].push_back({{"device", d}, {"name", s.productName}, {"axes", s.axes}});
  }
  return j;
}

}  // namespace

int RadioCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string interfaceName, port, configDir, traceFile;
  int protocol = -1, frames = 1;
  double frameTime = 0.02;
  bool list = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw ToolError(a + " needs a value");
      return args[++i];
    };
    if (a == "--interface")
      interfaceName = value();
    else if (a == "--port")
      port = value();
    else if (a == "--protocol")
      protocol = static_cast<int>(Number(a, value(), 0, 1));
    else if (a == "--config-dir")
      configDir = value();
    else if (a == "--frames")
      frames = static_cast<int>(Number(a, value(), 1, 1000000));
    else if (a == "--frame-time")
      frameTime = Number(a, value(), 0, 10);
    else if (a == "--trace")
      traceFile = value();
    else if (a == "--list")
      list = true;
    else
      throw ToolError("radio: unknown option \"" + a + "\"");
  }
  if (list) {
    out << List().dump() << '\n';
    return 0;
  }
  if (interfaceName != "none" && interfaceName != "joystick" && interfaceName != "pic")
    throw ToolError("radio needs --interface none, joystick or pic" +
                    (interfaceName.empty() ? std::string() : ", not \"" + interfaceName + "\""));
  if (interfaceName != "pic" && (!port.empty() || protocol >= 0))
    throw ToolError("--port and --protocol belong to --interface pic");

  // Trace lines (a port that cannot be opened, for one) go to stderr unless a file is named.
  Trace trace([&err](std::string_view line) { err << line; });
  if (!traceFile.empty()) trace = Trace::ToFile(traceFile);
  SettingsStore settings(configDir.empty() ? SettingsStore::DefaultFolder()
                                           : std::filesystem::path(configDir));

  std::unique_ptr<platform::SdlJoystickService> joysticks;
  std::unique_ptr<platform::LibSerialPort> serial;
  std::unique_ptr<TRcIntForm> rc;
  if (interfaceName == "joystick") {
    joysticks = std::make_unique<platform::SdlJoystickService>();
    if (!joysticks->Ready()) throw ToolError("the joystick service did not start");
    rc = std::make_unique<TRcJoyForm>(*joysticks);
  } else if (interfaceName == "pic") {
    serial = std::make_unique<platform::LibSerialPort>();
    rc = std::make_unique<TRcPICForm>(*serial, trace);
  } else {
    rc = std::make_unique<TRcIntForm>("RcIntForm");
  }
  rc->Create(settings);
  if (auto* pic = dynamic_cast<TRcPICForm*>(rc.get())) {
    if (protocol >= 0) pic->SetProtocol(protocol);
    if (!port.empty()) pic->SetPortName(port);
  }
  rc->OpenInterface();

  const auto start = std::chrono::steady_clock::now();
  for (int f = 0; f < frames; ++f) {
    if (f > 0) std::this_thread::sleep_until(start + std::chrono::duration<double>(frameTime * f));
    TRcChannels ch;
    rc->GetChannels(ch);
    FunctionValues fv{};
    rc->MapChannels(ch, fv);
    ClampFunctionValues(fv);
    nlohmann::ordered_json j;
    j["t"] = frameTime * f;
    j["count"] = ch.Count;
    j["channels"] = nlohmann::json::array();
    for (int k = 0; k < ch.Count && k < kMaxChannels; ++k)
      j["channels"].push_back(ch.Value[static_cast<std::size_t>(k)]);
    j["functions"] = fv;
    out << j.dump() << '\n' << std::flush;
  }
  rc->CloseInterface();
  return 0;
}

}  // namespace veltrane::tool
