// What recording costs the frame loop: one frame record with four controls
// moving as on a transmitter, a snapshot every 5 s and the flush once a second,
// at 60 frames a second. Reports the bytes a minute of flight takes.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "record/flight_recorder.h"

namespace {

void BM_RecordFrame(benchmark::State& state) {
  using namespace veltrane;
  const std::string path =
      (std::filesystem::temp_directory_path() / "veltrane-bench.vflight").string();
  SimState s;
  s.Thermals.iBubbles = 40;
  record::FlightHeader h;
  h.modelFile = "/bench/model.par";
  record::FlightRecorder r;
  r.Start(path, h, s);
  std::int64_t frames = 0;
  for (auto _ : state) {
    ++frames;
    s.PrevTickTime = s.LastTickTime;
    s.LastTickTime += frames % 3 == 0 ? 16 : 17;
    const double t = static_cast<double>(frames) / 60.0;
    for (int i = 0; i < 4; ++i)
      s.FunctionValue[static_cast<std::size_t>(i)] =
          static_cast<float>(0.5 * std::sin(t * (1.0 + i)));
    r.Frame(s);
    s.ModelPosition.x += 0.1;
    r.AfterTick(s);
  }
  r.Flush();
  const double minutes = static_cast<double>(s.LastTickTime) / 60000.0;
  state.counters["bytes_per_minute"] = minutes > 0 ? static_cast<double>(r.Size()) / minutes : 0.0;
  r.Stop();
  std::remove(path.c_str());
}
BENCHMARK(BM_RecordFrame)->Iterations(360000);  // 100 minutes of flight

}  // namespace
