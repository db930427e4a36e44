#include "platform/gl/renderer.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <variant>

#include "base/memory/heap_release.h"
#include "platform/gl/detail_texture.h"
#include "platform/gl/scene_shaders.h"

namespace veltrane::gl {
namespace {

// Alpha of the planar shadow blended over whatever lies below it.
constexpr float kShadowAlpha = 0.5f;

// One opaque white texel: sampled where a surface has no texture, it leaves
// the surface's colour as it is.
unsigned MakeWhiteTexture() {
  const std::uint8_t white[4] = {255, 255, 255, 255};
  GLuint id = 0;
  glGenTextures(1, &id);
  glBindTexture(GL_TEXTURE_2D, id);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glBindTexture(GL_TEXTURE_2D, 0);
  return id;
}

void SetupAttributes() {
  const auto stride = static_cast<GLsizei>(sizeof(GpuVertex));
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride,
                        reinterpret_cast<const void*>(offsetof(GpuVertex, pos)));
  glEnableVertexAttribArray(1);
  glVertexAttribPointer(1, 4, GL_INT_2_10_10_10_REV, GL_TRUE, stride,
                        reinterpret_cast<const void*>(offsetof(GpuVertex, normal)));
  // Packed ARGB in little-endian memory is B, G, R, A: GL_BGRA swizzles it back.
  glEnableVertexAttribArray(2);
  glVertexAttribPointer(2, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                        reinterpret_cast<const void*>(offsetof(GpuVertex, argb)));
  glEnableVertexAttribArray(3);
  glVertexAttribPointer(3, 2, GL_FLOAT, GL_FALSE, stride,
                        reinterpret_cast<const void*>(offsetof(GpuVertex, uv)));
}

void NormalMatrix(const Mat4& m, float out[9]) {
  for (int c = 0; c < 3; ++c)
    for (int r = 0; r < 3; ++r) out[c * 3 + r] = m.at(r, c);
}

Mat4 PlacementOf(const rm::Frame& f) { return FrameMatrix(f.Position(), f.Direction(), f.Up()); }

// Direction a parallel light travels: from its frame's position toward the
// origin; a light on a frame at the origin shines along that frame's direction.
Vec3f TravelOf(const rm::Frame& f) {
  Vec3f p = f.Position();
  if (Length(p) > 1e-6f) return Normalize(p * -1.0f);
  return Normalize(f.Direction());
}

// The frame that places a light: the deepest one carrying it, since the program
// adds each light to the scene frame and to its own light frame.
void FindLightFrames(const rm::Frame& f, int depth,
                     std::unordered_map<const rm::Light*, std::pair<const rm::Frame*, int>>& out,
                     std::vector<const rm::Light*>& order) {
  for (const auto& l : f.Lights()) {
    if (!l) continue;
    auto it = out.find(l.get());
    if (it == out.end()) {
      out.emplace(l.get(), std::make_pair(&f, depth));
      order.push_back(l.get());
    } else if (depth > it->second.second) {
      it->second = {&f, depth};
    }
  }
  for (const auto& c : f.Children())
    if (c) FindLightFrames(*c, depth + 1, out, order);
}

bool FindShadowLight(const rm::Frame& f, const rm::Light* light, const rm::Frame*& where, int depth,
                     int& best) {
  for (const auto& l : f.Lights())
    if (l.get() == light && depth > best) {
      where = &f;
      best = depth;
    }
  for (const auto& c : f.Children())
    if (c) FindShadowLight(*c, light, where, depth + 1, best);
  return where != nullptr;
}

// Byte offset of an index in the bound element buffer, as GL takes it.
const std::uint32_t* IndexOffset(std::uint32_t first) {
  return static_cast<const std::uint32_t*>(nullptr) + first;
}

// The coarse run may stand in where, seen from the nearest point of its box,
// the coarse surface passes within half a pixel of every corner it dropped.
constexpr float kCoarseErrorPixels = 0.5f;
bool CoarseIsFine(const Batch& b, const Mat4& model_view, float pixels_per_unit) {
  const Vec3f centre = TransformPoint(model_view, (b.lo + b.hi) * 0.5f);
  const float distance = Length(centre) - Length(b.hi - b.lo) * 0.5f;
  return distance > 0 && b.lodError * pixels_per_unit < kCoarseErrorPixels * distance;
}

}  // namespace

void Renderer::ReleaseBuffers(GpuMesh& m) {
  if (m.vbo) glDeleteBuffers(1, &m.vbo);
  if (m.ibo) glDeleteBuffers(1, &m.ibo);
  if (m.vao) glDeleteVertexArrays(1, &m.vao);
  m.vao = m.vbo = m.ibo = 0;
}

Renderer::~Renderer() { Shutdown(); }

Renderer::Uniforms Renderer::LookUp(const ShaderProgram& p) {
  Uniforms u;
  u.model = p.Uniform("uModel");
  u.view = p.Uniform("uView");
  u.proj = p.Uniform("uProj");
  u.normalMat = p.Uniform("uNormalMat");
  u.lit = p.Uniform("uLit");
  u.ambient = p.Uniform("uAmbient");
  u.lightCount = p.Uniform("uLightCount");
  u.lightToward = p.Uniform("uLightToward");
  u.lightColor = p.Uniform("uLightColor");
  u.cameraPos = p.Uniform("uCameraPos");
  u.power = p.Uniform("uPower");
  u.specular = p.Uniform("uSpecular");
  u.emissive = p.Uniform("uEmissive");
  u.specularOn = p.Uniform("uSpecularOn");
  u.texture = p.Uniform("uTexture");
  u.alphaTest = p.Uniform("uAlphaTest");
  u.fogOn = p.Uniform("uFogOn");
  u.fogColor = p.Uniform("uFogColor");
  u.fogStart = p.Uniform("uFogStart");
  u.fogEnd = p.Uniform("uFogEnd");
  u.solid = p.Uniform("uSolid");
  u.detailTexture = p.Uniform("uDetailTexture");
  return u;
}

void Renderer::UseProgram(int which) {
  current_ = which;
  programs_[which].Use();
  u_ = uniforms_[which];
}

bool Renderer::Init(std::string& error) {
  if (Ready()) return true;
  for (int i = 0; i < 2; ++i) {
    const bool grain = i == 1;
    if (!programs_[i].Build(SceneShaderSource(kSceneVertexShader, grain).c_str(),
                            SceneShaderSource(kSceneFragmentShader, grain).c_str(), error))
      return false;
    uniforms_[i] = LookUp(programs_[i]);
  }
  if (!backdrop_.Init(error)) return false;
  detailTexture_ = MakeDetailTexture();
  whiteTexture_ = MakeWhiteTexture();
  glGenVertexArrays(1, &streamVao_);
  glGenBuffers(1, &streamVbo_);
  glBindVertexArray(streamVao_);
  glBindBuffer(GL_ARRAY_BUFFER, streamVbo_);
  SetupAttributes();
  glBindVertexArray(0);
  return true;
}

void Renderer::Shutdown() {
  if (!Ready()) return;
  for (auto& [k, m] : meshes_) ReleaseBuffers(m);
  meshes_.clear();
  textures_.Clear();
  if (streamVbo_) glDeleteBuffers(1, &streamVbo_);
  if (streamVao_) glDeleteVertexArrays(1, &streamVao_);
  streamVbo_ = streamVao_ = 0;
  streamCapacity_ = 0;
  for (ShaderProgram& p : programs_) p.Release();
  backdrop_.Shutdown();
  if (detailTexture_) glDeleteTextures(1, &detailTexture_);
  if (whiteTexture_) glDeleteTextures(1, &whiteTexture_);
  detailTexture_ = whiteTexture_ = 0;
}

Renderer::GpuMesh* Renderer::Upload(const std::shared_ptr<rm::MeshBuilder>& mesh) {
  GpuMesh& g = meshes_[mesh.get()];
  g.groundDetail = mesh->GroundDetail();
  bool same_object = !g.source.expired() && g.source.lock() == mesh;
  if (g.vao && same_object && g.generation == mesh->Generation()) {
    g.lastFrame = frame_;
    return &g;
  }
  if (!g.vao) {
    glGenVertexArrays(1, &g.vao);
    glGenBuffers(1, &g.vbo);
    glGenBuffers(1, &g.ibo);
    glBindVertexArray(g.vao);
    glBindBuffer(GL_ARRAY_BUFFER, g.vbo);
    SetupAttributes();
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, g.ibo);  // part of the vertex array's state
    glBindVertexArray(0);
  }
  g.source = mesh;
  g.generation = mesh->Generation();
  if (auto prebuilt = mesh->TakePrebuiltGeometry()) {
    g.geometry = std::move(*prebuilt);  // made on the loader's worker; nothing stays behind
    ++stats_.releasedMeshes;
  } else {
    g.geometry = BuildMeshGeometry(*mesh);
    if (mesh->ReleaseAfterUpload()) {
      mesh->ReleaseGeometry();
      ++stats_.releasedMeshes;
    }
  }
  MeshGeometry& geo = g.geometry;
  glBindBuffer(GL_ARRAY_BUFFER, g.vbo);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(geo.opaque.size() * sizeof(GpuVertex)),
               geo.opaque.empty() ? nullptr : geo.opaque.data(), GL_STATIC_DRAW);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glBindVertexArray(g.vao);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER,
               static_cast<GLsizeiptr>(geo.indices.size() * sizeof(std::uint32_t)),
               geo.indices.empty() ? nullptr : geo.indices.data(), GL_STATIC_DRAW);
  glBindVertexArray(0);
  // The GPU holds the opaque triangles now; keep only the batch table.
  std::vector<GpuVertex>().swap(geo.opaque);
  std::vector<std::uint32_t>().swap(geo.indices);
  g.lastFrame = frame_;
  ++stats_.meshUploads;
  ++totalUploads_;
  return &g;
}

void Renderer::Collect(const rm::Frame& frame, std::vector<Placed>& meshes,
                       std::vector<std::pair<const rm::Shadow*, Mat4>>& shadows) {
  Mat4 model = PlacementOf(frame);
  for (const rm::Visual& v : frame.Visuals()) {
    if (auto* m = std::get_if<std::shared_ptr<rm::MeshBuilder>>(&v)) {
      if (*m) meshes.push_back({Upload(*m), model});
    } else if (auto* s = std::get_if<std::shared_ptr<rm::Shadow>>(&v)) {
      if (*s && (*s)->visual) shadows.emplace_back(s->get(), model);
    }
  }
  for (const auto& c : frame.Children())
    if (c) Collect(*c, meshes, shadows);
}

Renderer::LightSet Renderer::GatherLights(const rm::Frame& scene) const {
  std::unordered_map<const rm::Light*, std::pair<const rm::Frame*, int>> where;
  std::vector<const rm::Light*> order;
  FindLightFrames(scene, 0, where, order);
  LightSet set;
  for (const rm::Light* l : order) {
    Vec3f c{l->color.r, l->color.g, l->color.b};
    if (l->type == rm::LightType::Ambient) {
      set.ambient = set.ambient + c;
    } else if (set.toward.size() < static_cast<std::size_t>(kMaxLights)) {
      set.toward.push_back(TravelOf(*where[l].first) * -1.0f);
      set.color.push_back(c);
    }
  }
  return set;
}

void Renderer::ApplyMaterial(const std::shared_ptr<rm::Material>& m, bool view_specular) {
  if (m) {
    glUniform1f(u_.power, m->power);
    glUniform3f(u_.specular, m->specular.r, m->specular.g, m->specular.b);
    glUniform3f(u_.emissive, m->emissive.r, m->emissive.g, m->emissive.b);
    bool spec = view_specular && m->power > 0 &&
                (m->specular.r > 0 || m->specular.g > 0 || m->specular.b > 0);
    glUniform1i(u_.specularOn, spec ? 1 : 0);
  } else {
    glUniform1f(u_.power, 0);
    glUniform3f(u_.specular, 0, 0, 0);
    glUniform3f(u_.emissive, 0, 0, 0);
    glUniform1i(u_.specularOn, 0);
  }
}

void Renderer::BindTexture(const std::shared_ptr<rm::Texture>& t, rm::TextureQuality q) {
  unsigned id = t ? textures_.Get(t, q) : 0;
  if (!id) glBindTexture(GL_TEXTURE_2D, whiteTexture_);
}

void Renderer::SetModel(const Mat4& model) {
  float nm[9];
  NormalMatrix(model, nm);
  glUniformMatrix4fv(u_.model, 1, GL_FALSE, model.data());
  glUniformMatrix3fv(u_.normalMat, 1, GL_FALSE, nm);
}

void Renderer::SetFrameUniforms(const Uniforms& u, const Mat4& view, const Mat4& proj,
                                Vec3f cam_pos, const LightSet& lights, const rm::Fog& fog) {
  glUniformMatrix4fv(u.view, 1, GL_FALSE, view.data());
  glUniformMatrix4fv(u.proj, 1, GL_FALSE, proj.data());
  glUniform3f(u.cameraPos, cam_pos.x, cam_pos.y, cam_pos.z);
  glUniform3f(u.ambient, lights.ambient.x, lights.ambient.y, lights.ambient.z);
  const int n = static_cast<int>(lights.toward.size());
  glUniform1i(u.lightCount, n);
  if (n) {
    glUniform3fv(u.lightToward, n, &lights.toward[0].x);
    glUniform3fv(u.lightColor, n, &lights.color[0].x);
  }
  glUniform1i(u.fogOn, fog.enabled ? 1 : 0);
  glUniform3f(u.fogColor, fog.color.r, fog.color.g, fog.color.b);
  glUniform1f(u.fogStart, fog.start);
  glUniform1f(u.fogEnd, fog.end);
  glUniform4f(u.solid, 0, 0, 0, -1);
  glUniform1i(u.texture, 0);
  glUniform1i(u.alphaTest, 1);
  glUniform1i(u.detailTexture, 3);
}

void Renderer::ClearTo(rm::ColorRGB background) {
  glClearColor(background.r, background.g, background.b, 1.0f);
  glClearStencil(0);
  glDepthMask(GL_TRUE);
  glStencilMask(0xFF);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

void Renderer::Render(const rm::Frame& scene, rm::Viewport& vp, const rm::Device& device, int width,
                      int height, bool cleared) {
  stats_ = {};
  ++frame_;
  // Everything is redrawn every frame, so forced areas need no extra work.
  vp.forcedUpdates.clear();
  if (!Ready() || width <= 0 || height <= 0) return;

  glViewport(0, 0, width, height);
  if (!cleared) {
    // Only the view's own rectangle: the surface may hold a menu bar above it.
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, width, height);
    ClearTo(scene.SceneBackground());
    glDisable(GL_SCISSOR_TEST);
  }

  Vec3f cam_pos{}, cam_dir{0, 0, 1}, cam_up{0, 1, 0};
  if (vp.camera) {
    cam_pos = vp.camera->Position();
    cam_dir = vp.camera->Direction();
    cam_up = vp.camera->Up();
  }
  Mat4 view = ViewMatrix(cam_pos, cam_dir, cam_up);
  Mat4 proj = ProjectionMatrix(vp.front, vp.back, vp.field,
                               static_cast<float>(width) / static_cast<float>(height));

  std::vector<Placed> placed;
  std::vector<std::pair<const rm::Shadow*, Mat4>> shadows;
  Collect(scene, placed, shadows);
  // Shadows need their visual on the GPU even when it is not drawn itself.
  for (auto& [s, m] : shadows) Upload(s->visual);
  const std::size_t releasedPictures = textures_.ReleasedPictures();
  LightSet lights = GatherLights(scene);
  const rm::Fog& fog = scene.SceneFog();
  bool view_specular =
      (device.renderMode & rm::render_mode::kViewDependentSpecular) != 0 || device.renderMode == 0;

  for (int i = 1; i >= 0; --i) {
    UseProgram(i);
    SetFrameUniforms(u_, view, proj, cam_pos, lights, fog);
  }
  glActiveTexture(GL_TEXTURE3);
  glBindTexture(GL_TEXTURE_2D, detailTexture_);
  glActiveTexture(GL_TEXTURE0);

  // Loaders emit a second face for double-sided polygons, so back faces go.
  // Fronts run clockwise on screen (the layer is left-handed, the view is not mirrored).
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glFrontFace(GL_CW);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glDisable(GL_BLEND);
  glDisable(GL_STENCIL_TEST);

  // Nothing beyond the point where the fog is complete needs drawing: the
  // culling frustum ends there.
  const float aspect = static_cast<float>(width) / static_cast<float>(height);
  const float cull_back = fog.enabled && fog.end > vp.front ? std::min(vp.back, fog.end) : vp.back;
  DrawOpaque(placed, view, ProjectionMatrix(vp.front, cull_back, vp.field, aspect) * view,
             proj.at(1, 1) * 0.5f * static_cast<float>(height), device.textureQuality,
             view_specular);
  rm::TextureQuality q = device.textureQuality;
  if (const auto& backdrop = scene.SceneBackdrop()) {
    // After the opaque surfaces, so the depth test spares the pixels they cover.
    BackdropView bv;
    bv.direction = Normalize(cam_dir);
    bv.up = Normalize(cam_up - bv.direction * Dot(cam_up, bv.direction));
    bv.right = Cross(bv.up, bv.direction);
    bv.tanHalfWidth = 1.0f / proj.at(0, 0);
    bv.tanHalfHeight = 1.0f / proj.at(1, 1);
    Vec3f sun{};
    float brightest = 0;
    for (std::size_t i = 0; i < lights.toward.size(); ++i) {
      const Vec3f c = lights.color[i];
      if (c.x + c.y + c.z > brightest) {
        brightest = c.x + c.y + c.z;
        sun = Normalize(lights.toward[i]);
      }
    }
    backdrop_.Draw(*backdrop, fog, bv, sun, textures_, q);
    UseProgram(current_);
  }
  DrawShadows(shadows, scene);
  DrawTranslucent(
      placed, view, q, view_specular,
      (device.renderMode & rm::render_mode::kBlendedTransparency) != 0 || device.renderMode == 0,
      (device.renderMode & rm::render_mode::kSortedTransparency) != 0 || device.renderMode == 0);

  glDisable(GL_BLEND);
  glDisable(GL_STENCIL_TEST);
  glDisable(GL_POLYGON_OFFSET_FILL);
  glDepthMask(GL_TRUE);
  glUseProgram(0);
  textures_.Collect();
  // Meshes not seen for a while belong to discarded scenes.
  for (auto it = meshes_.begin(); it != meshes_.end();) {
    if (it->second.source.expired()) {
      ReleaseBuffers(it->second);
      it = meshes_.erase(it);
    } else {
      ++it;
    }
  }
  // A landscape's CPU copies (meshes and pictures) went with their upload:
  // their pages go back once, at the end of the frame that uploaded them.
  if (stats_.releasedMeshes || textures_.ReleasedPictures() != releasedPictures) ReleaseFreedHeap();
}

void Renderer::DrawOpaque(const std::vector<Placed>& placed, const Mat4& view,
                          const Mat4& cull_view_proj, float pixels_per_unit, rm::TextureQuality q,
                          bool view_specular) {
  for (const Placed& p : placed) {
    const MeshGeometry& g = p.mesh->geometry;
    if (g.batches.empty()) continue;
    const Frustum frustum = FrustumOf(cull_view_proj * p.model);
    const Mat4 modelView = view * p.model;
    bool placedYet = false;
    // Runs of one texture and material follow each other: the visible ones go
    // out in one multi-draw, neighbours in the buffer merged into one range.
    for (std::size_t i = 0; i < g.batches.size();) {
      const Batch& head = g.batches[i];
      drawFirst_.clear();
      drawCount_.clear();
      std::size_t j = i;
      for (; j < g.batches.size() && g.batches[j].texture == head.texture &&
             g.batches[j].material == head.material;
           ++j) {
        const Batch& b = g.batches[j];
        if (culling_ && BoxOutside(frustum, b.lo, b.hi)) {
          ++stats_.culledRuns;
          continue;
        }
        std::uint32_t first = b.first, count = b.count;
        if (levelOfDetail_ && b.lodCount && CoarseIsFine(b, modelView, pixels_per_unit)) {
          first = b.lodFirst;
          count = b.lodCount;
          ++stats_.coarseRuns;
        }
        stats_.triangles += count / 3;
        if (!drawFirst_.empty() &&
            IndexOffset(first) ==
                static_cast<const std::uint32_t*>(drawFirst_.back()) + drawCount_.back())
          drawCount_.back() += static_cast<int>(count);
        else {
          drawFirst_.push_back(IndexOffset(first));
          drawCount_.push_back(static_cast<int>(count));
        }
      }
      i = j;
      if (drawFirst_.empty()) continue;
      if (!placedYet) {
        placedYet = true;
        ++stats_.meshes;
        if (current_ != (p.mesh->groundDetail ? 1 : 0)) UseProgram(p.mesh->groundDetail ? 1 : 0);
        SetModel(p.model);
        glUniform1i(u_.lit, g.lit ? 1 : 0);
        glBindVertexArray(p.mesh->vao);
      }
      BindTexture(head.texture, q);
      ApplyMaterial(head.material, view_specular);
      glMultiDrawElements(GL_TRIANGLES, drawCount_.data(), GL_UNSIGNED_INT, drawFirst_.data(),
                          static_cast<GLsizei>(drawFirst_.size()));
      ++stats_.drawCalls;
    }
  }
  glBindVertexArray(0);
  if (current_ != 0) UseProgram(0);
}

void Renderer::DrawShadows(const std::vector<std::pair<const rm::Shadow*, Mat4>>& shadows,
                           const rm::Frame& scene) {
  if (shadows.empty()) return;
  // Each shadow darkens a pixel once however many of its triangles overlap
  // there: the stencil marks covered pixels.
  glEnable(GL_STENCIL_TEST);
  glStencilMask(0xFF);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDepthMask(GL_FALSE);
  glDisable(GL_CULL_FACE);  // the projection may turn faces over
  glEnable(GL_POLYGON_OFFSET_FILL);
  glPolygonOffset(-2.0f, -2.0f);                // stays above the ground it lies on
  glBindTexture(GL_TEXTURE_2D, whiteTexture_);  // no texel makes a hole in a shadow
  glUniform1i(u_.lit, 0);
  int stencil_ref = 0;
  for (const auto& [s, model] : shadows) {
    auto it = meshes_.find(s->visual.get());
    if (it == meshes_.end() || it->second.geometry.batches.empty()) continue;
    Vec3f travel{0, -1, 0};
    const rm::Frame* where = nullptr;
    int best = -1;
    if (s->light && FindShadowLight(scene, s->light.get(), where, 0, best))
      travel = TravelOf(*where);
    Mat4 sm = PlanarShadowMatrix(travel, s->planePoint, s->planeNormal);
    // A light parallel to the plane casts nothing useful.
    if (std::fabs(Dot(Normalize(s->planeNormal), travel)) < 1e-6f) continue;
    SetModel(sm * model);
    float a = s->trueAlpha ? kShadowAlpha : 1.0f;
    glUniform4f(u_.solid, 0, 0, 0, a);
    ++stencil_ref;
    if (stencil_ref > 255) {
      glClear(GL_STENCIL_BUFFER_BIT);
      stencil_ref = 1;
    }
    glStencilFunc(GL_NOTEQUAL, stencil_ref, 0xFF);
    glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
    glBindVertexArray(it->second.vao);
    // The runs fill the buffer end to end: one draw takes them all.
    const Batch& last = it->second.geometry.batches.back();
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(last.first + last.count), GL_UNSIGNED_INT,
                   nullptr);
    ++stats_.drawCalls;
    ++stats_.shadows;
  }
  glBindVertexArray(0);
  glUniform4f(u_.solid, 0, 0, 0, -1);
  glDisable(GL_POLYGON_OFFSET_FILL);
  glDisable(GL_STENCIL_TEST);
  glEnable(GL_CULL_FACE);
  glDepthMask(GL_TRUE);
  glDisable(GL_BLEND);
}

void Renderer::DrawTranslucent(const std::vector<Placed>& placed, const Mat4& view,
                               rm::TextureQuality q, bool view_specular, bool blended,
                               bool sorted) {
  struct Item {
    float depth;
    const TranslucentTriangle* tri;
    const Mat4* model;
    bool lit;
  };
  std::vector<Item> items;
  for (const Placed& p : placed)
    for (const TranslucentTriangle& t : p.mesh->geometry.translucent) {
      Vec3f c{(t.v[0].pos.x + t.v[1].pos.x + t.v[2].pos.x) / 3,
              (t.v[0].pos.y + t.v[1].pos.y + t.v[2].pos.y) / 3,
              (t.v[0].pos.z + t.v[1].pos.z + t.v[2].pos.z) / 3};
      Vec3f eye = TransformPoint(view, TransformPoint(p.model, c));
      items.push_back({-eye.z, &t, &p.model, p.mesh->geometry.lit});
    }
  if (items.empty()) return;
  // Far ones first, so nearer faces blend over them.
  if (sorted)
    std::stable_sort(items.begin(), items.end(),
                     [](const Item& a, const Item& b) { return a.depth > b.depth; });

  std::vector<GpuVertex> verts;
  verts.reserve(items.size() * 3);
  for (const Item& it : items)
    for (const GpuVertex& src : it.tri->v) {
      GpuVertex v = src;
      v.pos = TransformPoint(*it.model, src.pos);
      v.normal = PackNormal(TransformDir(*it.model, UnpackNormal(src.normal)));
      verts.push_back(v);
    }
  glBindVertexArray(streamVao_);
  glBindBuffer(GL_ARRAY_BUFFER, streamVbo_);
  std::size_t bytes = verts.size() * sizeof(GpuVertex);
  if (bytes > streamCapacity_) {
    streamCapacity_ = bytes * 2;
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(streamCapacity_), nullptr,
                 GL_STREAM_DRAW);
  }
  glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(bytes), verts.data());

  if (blended) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
  }
  SetModel(Mat4{});
  // Runs of equal texture, material and lighting are one draw each.
  std::size_t start = 0;
  while (start < items.size()) {
    std::size_t end = start + 1;
    const Item& a = items[start];
    while (end < items.size() && items[end].tri->texture == a.tri->texture &&
           items[end].tri->material == a.tri->material && items[end].lit == a.lit)
      ++end;
    glUniform1i(u_.lit, a.lit ? 1 : 0);
    BindTexture(a.tri->texture, q);
    ApplyMaterial(a.tri->material, view_specular);
    glDrawArrays(GL_TRIANGLES, static_cast<GLint>(start * 3),
                 static_cast<GLsizei>((end - start) * 3));
    ++stats_.drawCalls;
    start = end;
  }
  stats_.translucent += items.size();
  stats_.triangles += items.size();
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glBindVertexArray(0);
  glDepthMask(GL_TRUE);
  glDisable(GL_BLEND);
}

}  // namespace veltrane::gl
