// The per-frame radio read (interface, mapping, keys, clamp) with the joystick
// on SDL virtual devices and with the serial board on a pseudo-terminal that a
// thread feeds as a board at 19200 baud would. It runs before every frame's
// physics, so it has to stay far below a millisecond.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/joystick/sdl_joystick_service.h"
#include "platform/serial/libserialport_port.h"
#include "radio/joystick/rc_joy_form.h"
#include "radio/key_form.h"
#include "radio/pic/rc_pic_form.h"

namespace veltrane {
namespace {

class NoKeys : public KeyState {
 public:
  bool IsKeyDown(int) const override { return false; }
};

void Calibrate(TRcIntForm& rc) {
  for (int c = 0; c < kMaxChannels; ++c) {
    rc.Calib[c].Centre = rc.GetInitCalibCentre(c);
    rc.Calib[c].FUp = rc.Calib[c].FDown = rc.GetInitCalibF(c);
  }
}

void BM_ReadRadioNoInterface(benchmark::State& state) {
  TRcIntForm plain;
  TKeyForm keys;
  NoKeys none;
  FunctionValues fv{};
  for (auto _ : state) {
    ReadRadio(plain, 0, keys, none, fv);
    benchmark::DoNotOptimize(fv);
  }
}
BENCHMARK(BM_ReadRadioNoInterface);

// Two six-axis devices; a stick moves every frame.
void BM_ReadRadioJoystick(benchmark::State& state) {
  platform::SdlJoystickService service;
  const int a = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 6, 0, 0);
  const int b = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 6, 0, 0);
  SDL_Joystick* stick = SDL_JoystickOpen(a);
  SDL_Joystick* second = SDL_JoystickOpen(b);
  TRcJoyForm joy(service);
  Calibrate(joy);
  TKeyForm keys;
  NoKeys none;
  FunctionValues fv{};
  Sint16 pos = 0;
  for (auto _ : state) {
    SDL_JoystickSetVirtualAxis(stick, 0, pos += 97);
    ReadRadio(joy, 1, keys, none, fv);
    benchmark::DoNotOptimize(fv);
  }
  TRcChannels c;
  joy.GetChannels(c);
  state.counters["channels"] = c.Count;
  SDL_JoystickClose(second);
  SDL_JoystickClose(stick);
  SDL_JoystickDetachVirtual(1);
  SDL_JoystickDetachVirtual(0);
}
BENCHMARK(BM_ReadRadioJoystick);

// Eight channels in protocol 1: ten bytes a frame, about 190 frames a second.
void BM_ReadRadioSerial(benchmark::State& state) {
  const int board = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (board < 0 || ::grantpt(board) != 0 || ::unlockpt(board) != 0) {
    state.SkipWithError("no pseudo-terminal");
    return;
  }
  platform::LibSerialPort port;
  TRcPICForm pic(port, Trace());
  pic.SetProtocol(1);
  pic.SetPortName(::ptsname(board));
  pic.OpenInterface();
  for (int c = 0; c < kMaxChannels; ++c) pic.Calib[c] = {128.0, 1.0 / 127, 1.0 / 128};
  std::atomic<bool> stop{false};
  std::thread sender([&] {
    std::uint8_t frame[10] = {0xFF, 10, 20, 30, 40, 50, 60, 70, 80, 0xFF};
    while (!stop) {
      frame[1] = static_cast<std::uint8_t>((frame[1] + 1) % 0xFF);
      if (::write(board, frame, sizeof frame) < 0) break;
      std::this_thread::sleep_for(std::chrono::microseconds(5200));
    }
  });
  TKeyForm keys;
  NoKeys none;
  FunctionValues fv{};
  for (auto _ : state) {
    ReadRadio(pic, 4, keys, none, fv);
    benchmark::DoNotOptimize(fv);
  }
  stop = true;
  sender.join();
  state.counters["channels"] = pic.Channels().Count;
  pic.CloseInterface();
  ::close(board);
}
BENCHMARK(BM_ReadRadioSerial)->UseRealTime();

// The decoder's share: a whole frame of 16 channels waiting at every read.
class BurstPort : public SerialPort {
 public:
  std::vector<std::string> ListPorts() override { return {}; }
  const std::string& PortName() const override { return name_; }
  void SetPortName(const std::string&) override {}
  void SetBaudRate(int) override {}
  bool Open(std::string&) override { return true; }
  void Close() override {}
  bool IsOpen() const override { return true; }
  bool TakeReceived(std::vector<std::uint8_t>& bytes, std::string&) override {
    static const std::uint8_t kFrame[] = {0xFF, 1,  2,  3,  4,  5,  6,  7, 8,
                                          9,    10, 11, 12, 13, 14, 15, 16};
    bytes.insert(bytes.end(), std::begin(kFrame), std::end(kFrame));
    return true;
  }

 private:
  std::string name_;
};

void BM_ReadRadioSerialFrameWaiting(benchmark::State& state) {
  BurstPort port;
  TRcPICForm pic(port, Trace());
  pic.SetProtocol(1);
  for (int c = 0; c < kMaxChannels; ++c) pic.Calib[c] = {8.0, 0.125, 0.125};
  TKeyForm keys;
  NoKeys none;
  FunctionValues fv{};
  for (auto _ : state) {
    ReadRadio(pic, 4, keys, none, fv);
    benchmark::DoNotOptimize(fv);
  }
}
BENCHMARK(BM_ReadRadioSerialFrameWaiting);

}  // namespace
}  // namespace veltrane
