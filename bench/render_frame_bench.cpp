// Needs a display (run under Xvfb: DISPLAY=:99). Frames render off-screen at
// 1024 x 768; glFinish makes each iteration wait for the picture.

#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#ifdef VELTRANE_WITH_APP
#include "app/main_form.h"
#include "app/platform_services.h"
#include "base/clock/clock.h"
#include "base/settings/settings_store.h"
#include "base/trace/trace.h"
#endif
#include "base/rm/rm.h"
#include "platform/gl/render_target.h"
#include "platform/gl/renderer.h"
#include "platform/window/gl_window.h"

namespace {

using namespace veltrane;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

struct Context {
  window::GlWindow window;
  gl::Renderer renderer;
  gl::RenderTarget target;
  bool ok = false;
  Context() {
    window::WindowOptions o;
    o.hidden = true;
    o.vsync = false;
    window::OpenError e;
    std::string err;
    ok = window.Open(o, e) && renderer.Init(err) && target.Resize(kWidth, kHeight);
  }
};

// A landscape like the program's: lights as its light table, fog, a textured
// heightfield of n x n cells (two triangles each) and a shadowed model.
struct SyntheticScene {
  rm::Root root;
  std::shared_ptr<rm::Frame> scene, camera;
  rm::Viewport viewport;
  rm::Device device;

  explicit SyntheticScene(int n) {
    scene = root.CreateFrame(nullptr);
    scene->SetSceneBackgroundRGB(0.89f, 0.98f, 1.0f);
    scene->SetSceneFogEnable(true);
    scene->SetSceneFogColor({227 / 255.0f, 250 / 255.0f, 1.0f});
    scene->SetSceneFogParams(5, 5000, 0.5f);
    struct L {
      rm::Vector p;
      rm::LightType t;
      float c;
    };
    std::shared_ptr<rm::Light> main;
    for (L l : {L{{10000, 3000, 10000}, rm::LightType::ParallelPoint, 0.15f},
                L{{-10000, 3000, 10000}, rm::LightType::ParallelPoint, 0.12f},
                L{{10000, 3000, -10000}, rm::LightType::ParallelPoint, 0.12f},
                L{{-10000, 3000, -10000}, rm::LightType::ParallelPoint, 0.10f},
                L{{0, 10000, -1500}, rm::LightType::Ambient, 0.3f},
                L{{0, 10000, -1500}, rm::LightType::ParallelPoint, 1.0f}}) {
      auto f = root.CreateFrame(scene);
      f->SetPosition(l.p);
      auto light = root.CreateLight(l.t, l.c, l.c, l.c);
      scene->AddLight(light);
      f->AddLight(light);
      main = light;
    }
    auto tex = std::make_shared<rm::Texture>();
    tex->picture.width = tex->picture.height = 256;
    tex->picture.pixels.resize(256 * 256 * 4);
    for (std::size_t i = 0; i < tex->picture.pixels.size(); i += 4) {
      auto v = static_cast<std::uint8_t>(100 + (i * 2654435761u >> 26));
      tex->picture.pixels[i] = v / 2;
      tex->picture.pixels[i + 1] = v;
      tex->picture.pixels[i + 2] = v / 3;
      tex->picture.pixels[i + 3] = 255;
    }
    tex->GenerateMIPMap();

    const float step = 10;
    std::vector<rm::Vector> v, nrm{{0, 1, 0}};
    for (int z = 0; z <= n; ++z)
      for (int x = 0; x <= n; ++x) {
        float fx = (x - n / 2) * step, fz = (z - n / 2) * step;
        v.push_back({fx, 20 * std::sin(fx / 90) * std::cos(fz / 70), fz});
      }
    std::vector<std::uint32_t> d;
    auto at = [&](int x, int z) { return static_cast<std::uint32_t>(z * (n + 1) + x); };
    for (int z = 0; z < n; ++z)
      for (int x = 0; x < n; ++x) {
        // Clockwise seen from above.
        for (auto tri : {std::array<std::uint32_t, 3>{at(x, z), at(x, z + 1), at(x + 1, z + 1)},
                         std::array<std::uint32_t, 3>{at(x, z), at(x + 1, z + 1), at(x + 1, z)}}) {
          d.push_back(3);
          for (auto i : tri) {
            d.push_back(i);
            d.push_back(0);
          }
        }
      }
    d.push_back(0);
    auto terrain = root.CreateMeshBuilder();
    auto faces = terrain->AddFaces(v, nrm, d);
    // As the landscape files give it: one colour, the texture repeated every
    // four cells, so that neighbouring faces share their corners.
    for (std::size_t i = 0; i < faces.GetSize(); ++i) {
      auto f = faces.GetElement(i);
      f.SetColor(rm::PackARGB(255, 230, 230, 230));
      f.SetTexture(tex);
      const auto& corners = f.Get().corners;
      for (std::size_t c = 0; c < corners.size(); ++c) {
        const rm::Vector& p = terrain->Vertices()[corners[c].vertex];
        f.SetTextureCoordinates(c, p.x / (4 * step), p.z / (4 * step));
      }
    }
    auto world = root.CreateFrame(scene);
    world->AddVisual(terrain);

    // A small model with its shadow, 30 m in front of the camera.
    std::vector<rm::Vector> mv = {{-4, 0, -1}, {4, 0, -1}, {4, 0, 1}, {-4, 0, 1}};
    std::vector<std::uint32_t> md = {4, 0, 0, 3, 0, 2, 0, 1, 0, 4, 0, 0, 1, 0, 2, 0, 3, 0, 0};
    auto model = root.CreateMeshBuilder();
    model->AddFaces(mv, nrm, md);
    auto modelFrame = root.CreateFrame(scene);
    modelFrame->SetPosition({0, 30, 30});
    modelFrame->AddVisual(model);
    auto shadow = root.CreateShadow(model, main, {0, 0.01f, 30}, {0, 1, 0});
    shadow->SetOptions(true);
    modelFrame->AddVisual(shadow);

    camera = root.CreateFrame(scene);
    camera->SetPosition({0, 40, -40});
    camera->SetOrientation({0, -0.2f, 1}, {0, 1, 0});
    viewport.camera = camera;
    viewport.SetFront(1);
    viewport.SetBack(8000);
    viewport.SetField(0.25f);
    device.SetTextureQuality(rm::TextureQuality::MipLinear);
    device.SetRenderMode(rm::render_mode::kProgramDefault);
  }
};

// Frames of a synthetic scene, the first (which uploads the geometry) untimed.
void TimeFrames(benchmark::State& state, Context& ctx, SyntheticScene& s) {
  ctx.target.Bind();
  ctx.renderer.Render(*s.scene, s.viewport, s.device, kWidth, kHeight);  // uploads once
  glFinish();
  for (auto _ : state) {
    ctx.target.Bind();
    ctx.renderer.Render(*s.scene, s.viewport, s.device, kWidth, kHeight);
    glFinish();
  }
}

void BM_RenderFrameSyntheticTerrain(benchmark::State& state) {
  static Context ctx;
  if (!ctx.ok) {
    state.SkipWithError("no display with OpenGL 3.3 (set DISPLAY, e.g. under Xvfb)");
    return;
  }
  SyntheticScene s(224);  // 224 x 224 cells: 100 352 triangles
  TimeFrames(state, ctx, s);
  state.counters["triangles"] = static_cast<double>(ctx.renderer.Stats().triangles);
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RenderFrameSyntheticTerrain)->Unit(benchmark::kMillisecond)->UseRealTime();

// Frame cost against the landscape's size, n x n cells, seen from its middle as
// the pilot sees the program's landscapes: what lies outside the view or
// beyond the fog is not drawn, and far runs are drawn coarse, so the cost
// grows far less than the triangles.
void BM_FrameCostByLandscapeSize(benchmark::State& state) {
  static Context ctx;
  if (!ctx.ok) {
    state.SkipWithError("no display with OpenGL 3.3 (set DISPLAY, e.g. under Xvfb)");
    return;
  }
  const auto n = static_cast<int>(state.range(0));
  ctx.renderer.SetCulling(state.range(1) >= 1);
  ctx.renderer.SetLevelOfDetail(state.range(1) >= 2);
  SyntheticScene s(n);
  TimeFrames(state, ctx, s);
  state.counters["triangles"] = 2.0 * n * n;
  state.counters["drawn"] = static_cast<double>(ctx.renderer.Stats().triangles);
  state.counters["coarse_runs"] = static_cast<double>(ctx.renderer.Stats().coarseRuns);
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  ctx.renderer.SetCulling(true);
  ctx.renderer.SetLevelOfDetail(true);
}
// Second argument: 2 culls and draws far runs coarse, 1 only culls, 0 draws
// everything in full (the cost without either).
BENCHMARK(BM_FrameCostByLandscapeSize)
    ->ArgsProduct({{50, 100, 200, 299}, {2, 1, 0}})
    ->ArgNames({"cells", "mode"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

#ifdef VELTRANE_WITH_APP
// The shipped default model and landscape, built by the main window's logic
// headless; each iteration is one tick (physics, scene update) and one frame.
// view: 0 plain, 1 with the ground grain, 2 with the grain and the panorama
// and sky (the default).
void BM_RenderFrameDefaultScene(benchmark::State& state) {
  static Context ctx;
  if (!ctx.ok) {
    state.SkipWithError("no display with OpenGL 3.3 (set DISPLAY, e.g. under Xvfb)");
    return;
  }
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / "veltrane_bench_scene";
  fs::remove_all(dir);
  fs::create_directories(dir);
  {
    SettingsStore settings(dir);
    settings.WriteBool("MainForm", "Bodendetails", state.range(0) >= 1);
    settings.WriteBool("MainForm", "Panorama", state.range(0) >= 2);
    settings.WriteBool("MainForm", "FirstFlightHelpShown", true);
    NullPlatformServices services;
    ManualClock clock;
    TMainForm form(std::string(VELTRANE_DATA_DIR) + "/", settings, Trace{}, clock, services);
    form.FormCreate();
    form.ReportSurfaceSize(kWidth, kHeight);
    form.SimInit();
    if (!form.SceneFrame()) {
      state.SkipWithError("the default scene was not built");
      return;
    }
    for (auto _ : state) {
      clock.Advance(16);
      form.DXTimerTimer();
      ctx.target.Bind();
      ctx.renderer.Render(*form.SceneFrame(), form.Viewport(), form.Device(), kWidth, kHeight);
      glFinish();
    }
    state.counters["triangles"] = static_cast<double>(ctx.renderer.Stats().triangles);
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  }
  fs::remove_all(dir);
}
BENCHMARK(BM_RenderFrameDefaultScene)
    ->DenseRange(0, 2)
    ->ArgName("view")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
#endif

#ifdef VELTRANE_PROGRAM
// Start of the program to its first frame on the shipped default model and
// landscape: one frame rendered and written, then the program ends.
void BM_ProgramStartToFirstFrame(benchmark::State& state) {
  if (!std::getenv("DISPLAY")) {
    state.SkipWithError("no DISPLAY (run under Xvfb)");
    return;
  }
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / "veltrane_bench_start";
  fs::create_directories(dir);
  std::string cmd = std::string("\"") + VELTRANE_PROGRAM + "\" --config-dir \"" + dir.string() +
                    "\" --screenshot \"" + (dir / "first.png").string() +
                    "\" --frames 1 >/dev/null 2>&1";
  for (auto _ : state) {
    if (std::system(cmd.c_str()) != 0) {
      state.SkipWithError("the program did not render its first frame");
      break;
    }
  }
  fs::remove_all(dir);
}
BENCHMARK(BM_ProgramStartToFirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
#endif

}  // namespace
