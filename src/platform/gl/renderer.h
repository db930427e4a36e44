#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/rm/frame.h"
#include "base/rm/viewport.h"
#include "platform/gl/backdrop_pass.h"
#include "platform/gl/gl_math.h"
#include "platform/gl/mesh_geometry.h"
#include "platform/gl/shader_program.h"
#include "platform/gl/texture_cache.h"

namespace veltrane::gl {

// What the last frame did, for tests and the benchmark.
struct FrameStats {
  std::size_t meshes = 0;          // mesh visuals drawn
  std::size_t meshUploads = 0;     // meshes (re)uploaded this frame
  std::size_t releasedMeshes = 0;  // of those, meshes whose CPU copy was dropped
  std::size_t triangles = 0;       // opaque + translucent
  std::size_t translucent = 0;
  std::size_t shadows = 0;
  std::size_t drawCalls = 0;
  std::size_t culledRuns = 0;  // opaque runs outside the view or beyond the fog
  std::size_t coarseRuns = 0;  // opaque runs drawn in their coarse version
};

// Draws a retained-mode scene with OpenGL 3.3 core. Mesh geometry goes to the
// GPU once per builder and is re-sent only when its generation changes.
class Renderer {
 public:
  Renderer() = default;
  ~Renderer();
  Renderer(const Renderer&) = delete;
  Renderer& operator=(const Renderer&) = delete;

  // Needs a current context; false with the reason in error.
  bool Init(std::string& error);
  void Shutdown();
  bool Ready() const { return programs_[0].Id() != 0; }

  // Clears to the scene's background and draws it through the viewport into the
  // width x height rectangle at the lower left of the bound framebuffer.
  // `cleared`: the caller has cleared the whole framebuffer to that background
  // already, depth and stencil too. A clear of the view's rectangle alone is no
  // fast clear for the software rasteriser: a tenth of the frame.
  void Render(const rm::Frame& scene, rm::Viewport& viewport, const rm::Device& device, int width,
              int height, bool cleared = false);
  // Clears colour, depth and stencil of the bound framebuffer (within the
  // scissor, when it is on) to the background colour, depth 1 and stencil 0.
  static void ClearTo(rm::ColorRGB background);

  // Off draws every run whether it can be seen or not: the reference the
  // culled picture is compared with.
  void SetCulling(bool on) { culling_ = on; }
  // Far runs in their coarse version (on by default); off for a reference picture.
  void SetLevelOfDetail(bool on) { levelOfDetail_ = on; }

  const FrameStats& Stats() const { return stats_; }
  std::size_t TotalMeshUploads() const { return totalUploads_; }
  std::size_t CachedMeshes() const { return meshes_.size(); }

 private:
  struct GpuMesh {
    std::weak_ptr<rm::MeshBuilder> source;
    std::uint64_t generation = 0;
    unsigned vao = 0;
    unsigned vbo = 0;
    unsigned ibo = 0;
    MeshGeometry geometry;  // opaque vertices and indices are dropped after the upload
    std::uint64_t lastFrame = 0;
    bool groundDetail = false;
  };
  struct Placed {
    GpuMesh* mesh;
    Mat4 model;
  };
  struct LightSet {
    Vec3f ambient;
    std::vector<Vec3f> toward;
    std::vector<Vec3f> color;
  };

  GpuMesh* Upload(const std::shared_ptr<rm::MeshBuilder>& mesh);
  static void ReleaseBuffers(GpuMesh& mesh);
  void Collect(const rm::Frame& frame, std::vector<Placed>& meshes,
               std::vector<std::pair<const rm::Shadow*, Mat4>>& shadows);
  LightSet GatherLights(const rm::Frame& scene) const;
  void ApplyMaterial(const std::shared_ptr<rm::Material>& material, bool view_specular);
  void BindTexture(const std::shared_ptr<rm::Texture>& texture, rm::TextureQuality quality);
  void SetModel(const Mat4& model);
  void DrawTranslucent(const std::vector<Placed>& placed, const Mat4& view, rm::TextureQuality q,
                       bool view_specular, bool blended, bool sorted);
  // pixels_per_unit: screen pixels a unit of height spans at distance 1.
  void DrawOpaque(const std::vector<Placed>& placed, const Mat4& view, const Mat4& cull_view_proj,
                  float pixels_per_unit, rm::TextureQuality q, bool view_specular);
  void DrawShadows(const std::vector<std::pair<const rm::Shadow*, Mat4>>& shadows,
                   const rm::Frame& scene);

  // Plain surfaces, and ground with its grain (see SceneShaderSource).
  ShaderProgram programs_[2];
  BackdropPass backdrop_;
  unsigned detailTexture_ = 0;  // grain laid over ground textures close by
  unsigned whiteTexture_ = 0;   // stands in for the texture of untextured surfaces
  TextureCache textures_;
  std::unordered_map<const rm::MeshBuilder*, GpuMesh> meshes_;
  unsigned streamVao_ = 0;
  unsigned streamVbo_ = 0;
  std::size_t streamCapacity_ = 0;
  std::uint64_t frame_ = 0;
  FrameStats stats_;
  std::size_t totalUploads_ = 0;
  bool culling_ = true;
  bool levelOfDetail_ = true;
  std::vector<const void*> drawFirst_;  // ranges of one multi-draw, kept to spare allocations
  std::vector<int> drawCount_;

  struct Uniforms {
    int model, view, proj, normalMat, lit, ambient, lightCount, lightToward, lightColor, cameraPos;
    int power, specular, emissive, specularOn, texture, alphaTest, fogOn, fogColor, fogStart,
        fogEnd, solid, detailTexture;
  };
  static Uniforms LookUp(const ShaderProgram& p);
  void SetFrameUniforms(const Uniforms& u, const Mat4& view, const Mat4& proj, Vec3f cam_pos,
                        const LightSet& lights, const rm::Fog& fog);
  // Makes one of programs_ current; the draw state each draw sets follows it.
  void UseProgram(int which);
  Uniforms uniforms_[2]{};
  Uniforms u_{};  // those of the current program
  int current_ = 0;
};

}  // namespace veltrane::gl
