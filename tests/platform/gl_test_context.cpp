#include "gl_test_context.h"

#include <cstdlib>

#include "base/pictures/png_codec.h"

namespace veltrane::test {

window::GlWindow* GlSceneTest::window_ = nullptr;
gl::Renderer* GlSceneTest::renderer_ = nullptr;
gl::RenderTarget* GlSceneTest::target_ = nullptr;

void Shot::Save(const std::string& name) const {
  const char* dir = std::getenv("VELTRANE_SHOT_DIR");
  if (!dir || !*dir) return;
  pictures::Picture p;
  p.width = width;
  p.height = height;
  p.pixels = px;
  pictures::WritePng(std::string(dir) + "/" + name + ".png", p);
}

void GlSceneTest::SetUpTestSuite() {
  window_ = new window::GlWindow;
  window::WindowOptions o;
  o.hidden = true;
  o.width = 64;
  o.height = 64;
  window::OpenError e;
  if (!window_->Open(o, e)) {
    delete window_;
    window_ = nullptr;
    return;
  }
  renderer_ = new gl::Renderer;
  std::string err;
  if (!renderer_->Init(err)) ADD_FAILURE() << err;
  target_ = new gl::RenderTarget;
}

void GlSceneTest::TearDownTestSuite() {
  delete target_;
  delete renderer_;
  delete window_;
  target_ = nullptr;
  renderer_ = nullptr;
  window_ = nullptr;
}

void GlSceneTest::SetUp() {
  if (!window_) GTEST_SKIP() << "no display with OpenGL 3.3";
  scene_ = root_.CreateFrame(nullptr);
  scene_->SetSceneBackgroundRGB(0, 0, 1);  // blue
  camera_ = root_.CreateFrame(scene_);
  world_ = root_.CreateFrame(scene_);
  viewport_.camera = camera_;
  viewport_.SetFront(1);
  viewport_.SetBack(1000);
  viewport_.SetField(0.5f);
}

Shot GlSceneTest::Render(int width, int height) {
  Shot s;
  if (!target_->Resize(width, height)) {
    ADD_FAILURE() << "no off-screen target";
    return s;
  }
  target_->Bind();
  renderer_->Render(*scene_, viewport_, device_, width, height);
  gl::RenderTarget::BindDefault();
  s.width = width;
  s.height = height;
  s.px = target_->ReadPixels();
  return s;
}

std::shared_ptr<rm::MeshBuilder> GlSceneTest::Quad(float cx, float cy, float z, float size,
                                                   rm::ColorARGB color) {
  float h = size / 2;
  // Seen from -z looking +z with x right, y up: top-left, top-right,
  // bottom-right, bottom-left runs clockwise.
  std::vector<rm::Vector> v = {
      {cx - h, cy + h, z}, {cx + h, cy + h, z}, {cx + h, cy - h, z}, {cx - h, cy - h, z}};
  std::vector<rm::Vector> n = {{0, 0, -1}};
  std::vector<std::uint32_t> d = {4, 0, 0, 1, 0, 2, 0, 3, 0, 0};
  auto mb = root_.CreateMeshBuilder();
  auto faces = mb->AddFaces(v, n, d);
  faces.GetElement(0).SetColor(color);
  faces.GetElement(0).SetTextureCoordinates(0, 0, 0);
  faces.GetElement(0).SetTextureCoordinates(1, 1, 0);
  faces.GetElement(0).SetTextureCoordinates(2, 1, 1);
  faces.GetElement(0).SetTextureCoordinates(3, 0, 1);
  return mb;
}

}  // namespace veltrane::test
