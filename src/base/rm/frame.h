#pragma once

#include <memory>
#include <variant>
#include <vector>

#include "base/rm/backdrop.h"
#include "base/rm/light.h"
#include "base/rm/mesh_builder.h"
#include "base/rm/shadow.h"
#include "base/rm/types.h"

namespace veltrane::rm {

using Visual = std::variant<std::shared_ptr<MeshBuilder>, std::shared_ptr<Shadow>>;

enum class FogMode { Linear };

struct Fog {
  bool enabled = false;
  ColorRGB color;
  FogMode mode = FogMode::Linear;
  float start = 1.0f;
  float end = 100.0f;
  float density = 1.0f;
};

// A node of the scene. Placement (position, direction, up) is always relative
// to the scene, whatever the parent: the program's frames are all children of
// the scene frame. The frame's local z axis is `direction`, local y is `up`
// (made perpendicular to direction), local x = up x direction (left-handed).
// Created by Root::CreateFrame; a new frame has identity placement.
//
// The scene frame (created with no parent) also carries the background colour
// and the fog settings.
class Frame {
 public:
  Frame() = default;
  Frame(const Frame&) = delete;
  Frame& operator=(const Frame&) = delete;

  std::shared_ptr<Frame> Parent() const { return parent_.lock(); }
  const std::vector<std::shared_ptr<Frame>>& Children() const { return children_; }
  void DeleteChild(const std::shared_ptr<Frame>& child);

  void SetPosition(Vector p) { position_ = p; }
  // A zero direction, or an up parallel to direction, keeps the previous orientation.
  void SetOrientation(Vector direction, Vector up);
  Vector Position() const { return position_; }
  Vector Direction() const { return direction_; }  // unit local z
  Vector Up() const { return up_; }                // unit local y, perpendicular to Direction()
  Vector Right() const;                            // unit local x = Up() x Direction()
  // A point in frame coordinates, in scene coordinates.
  Vector ToScene(Vector local) const;

  void AddVisual(Visual v);
  void DeleteVisual(const Visual& v);
  const std::vector<Visual>& Visuals() const { return visuals_; }

  void AddLight(std::shared_ptr<Light> light);
  void DeleteLight(const std::shared_ptr<Light>& light);
  const std::vector<std::shared_ptr<Light>>& Lights() const { return lights_; }

  void SetSceneBackgroundRGB(float r, float g, float b) { background_ = {r, g, b}; }
  ColorRGB SceneBackground() const { return background_; }
  void SetSceneFogEnable(bool on) { fog_.enabled = on; }
  void SetSceneFogColor(ColorRGB c) { fog_.color = c; }
  void SetSceneFogMode(FogMode m) { fog_.mode = m; }
  void SetSceneFogParams(float start, float end, float density) {
    fog_.start = start;
    fog_.end = end;
    fog_.density = density;
  }
  const Fog& SceneFog() const { return fog_; }
  // Null draws the background colour behind the geometry.
  void SetSceneBackdrop(std::shared_ptr<const Backdrop> b) { backdrop_ = std::move(b); }
  const std::shared_ptr<const Backdrop>& SceneBackdrop() const { return backdrop_; }

 private:
  friend class Root;

  std::weak_ptr<Frame> parent_;
  std::vector<std::shared_ptr<Frame>> children_;
  Vector position_;
  Vector direction_{0.0f, 0.0f, 1.0f};
  Vector up_{0.0f, 1.0f, 0.0f};
  std::vector<Visual> visuals_;
  std::vector<std::shared_ptr<Light>> lights_;
  ColorRGB background_;
  Fog fog_;
  std::shared_ptr<const Backdrop> backdrop_;
};

}  // namespace veltrane::rm
