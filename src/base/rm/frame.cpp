#include "base/rm/frame.h"

#include <algorithm>
#include <cmath>

namespace veltrane::rm {

void Frame::DeleteChild(const std::shared_ptr<Frame>& child) {
  auto it = std::find(children_.begin(), children_.end(), child);
  if (it == children_.end()) return;
  (*it)->parent_.reset();
  children_.erase(it);
}

void Frame::SetOrientation(Vector direction, Vector up) {
  const float dl = std::sqrt(Dot(direction, direction));
  if (!(dl > 0.0f) || !std::isfinite(dl)) return;
  const Vector d{direction.x / dl, direction.y / dl, direction.z / dl};
  // Gram-Schmidt: keep only the part of `up` perpendicular to the direction.
  const float along = Dot(up, d);
  const Vector u{up.x - along * d.x, up.y - along * d.y, up.z - along * d.z};
  const float ul = std::sqrt(Dot(u, u));
  if (!(ul > 1e-6f * std::max(1.0f, std::sqrt(Dot(up, up)))) || !std::isfinite(ul)) return;
  direction_ = d;
  up_ = {u.x / ul, u.y / ul, u.z / ul};
}

Vector Frame::Right() const { return Cross(up_, direction_); }

Vector Frame::ToScene(Vector local) const {
  const Vector r = Right();
  return {position_.x + local.x * r.x + local.y * up_.x + local.z * direction_.x,
          position_.y + local.x * r.y + local.y * up_.y + local.z * direction_.y,
          position_.z + local.x * r.z + local.y * up_.z + local.z * direction_.z};
}

void Frame::AddVisual(Visual v) {
  if (std::find(visuals_.begin(), visuals_.end(), v) == visuals_.end())
    visuals_.push_back(std::move(v));
}

void Frame::DeleteVisual(const Visual& v) {
  visuals_.erase(std::remove(visuals_.begin(), visuals_.end(), v), visuals_.end());
}

void Frame::AddLight(std::shared_ptr<Light> light) {
  if (std::find(lights_.begin(), lights_.end(), light) == lights_.end())
    lights_.push_back(std::move(light));
}

void Frame::DeleteLight(const std::shared_ptr<Light>& light) {
  lights_.erase(std::remove(lights_.begin(), lights_.end(), light), lights_.end());
}

}  // namespace veltrane::rm
