#include "base/rm/mesh_builder.h"

#include <algorithm>

namespace veltrane::rm {

void FaceRef::SetColor(ColorARGB argb) { builder_->SetFaceColor(index_, argb); }
void FaceRef::SetTexture(std::shared_ptr<Texture> texture) {
  builder_->SetFaceTexture(index_, std::move(texture));
}
void FaceRef::SetTextureCoordinates(std::size_t corner, float u, float v) {
  builder_->SetFaceTextureCoordinates(index_, corner, u, v);
}
void FaceRef::SetMaterial(std::shared_ptr<Material> material) {
  builder_->SetFaceMaterial(index_, std::move(material));
}
const Face& FaceRef::Get() const { return builder_->Faces().at(index_); }

FaceRef FaceArray::GetElement(std::size_t i) const {
  if (i >= count_) throw std::out_of_range("face array index out of range");
  return FaceRef(*builder_, first_ + i);
}

FaceArray MeshBuilder::AddFaces(std::span<const Vector> vertices, std::span<const Vector> normals,
                                std::span<const std::uint32_t> faceData) {
  const auto vertexBase = static_cast<std::uint32_t>(vertices_.size());
  const auto normalBase = static_cast<std::uint32_t>(normals_.size());

  // Check everything first so bad data leaves the builder untouched.
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < faceData.size();) {
    const std::uint32_t n = faceData[pos++];
    if (n == 0) break;
    if (n > (faceData.size() - pos) / 2) throw FaceDataError("face data ends inside a face");
    for (std::uint32_t k = 0; k < n; ++k, pos += 2) {
      if (faceData[pos] >= vertices.size())
        throw FaceDataError("face data names a vertex that does not exist");
      if (faceData[pos + 1] >= normals.size())
        throw FaceDataError("face data names a normal that does not exist");
    }
    ++count;
  }

  // A landscape brings some hundred thousand faces at once: they go straight
  // into place, without a second list.
  const std::size_t first = faces_.size();
  if (faces_.capacity() < first + count)
    faces_.reserve(std::max(first + count, 2 * faces_.capacity()));
  vertices_.insert(vertices_.end(), vertices.begin(), vertices.end());
  normals_.insert(normals_.end(), normals.begin(), normals.end());
  for (std::size_t pos = 0, f = 0; f < count; ++f) {
    const std::uint32_t n = faceData[pos++];
    Face& face = faces_.emplace_back();
    face.corners.reserve(n);
    for (std::uint32_t k = 0; k < n; ++k, pos += 2)
      face.corners.push_back(
          Corner{vertexBase + faceData[pos], normalBase + faceData[pos + 1], 0.0f, 0.0f});
  }
  Touch();
  return FaceArray(*this, first, faces_.size() - first);
}

void MeshBuilder::SetPerspective(bool on) {
  perspective_ = on;
  Touch();
}

void MeshBuilder::SetQuality(std::uint32_t quality) {
  quality_ = quality;
  Touch();
}

void MeshBuilder::Translate(float dx, float dy, float dz) {
  for (auto& v : vertices_) {
    v.x += dx;
    v.y += dy;
    v.z += dz;
  }
  Touch();
}

void MeshBuilder::ReleaseGeometry() {
  if (!releasedBox_) releasedBox_ = GetBox();
  // Swapped out: assigning {} would keep the capacity.
  std::vector<Vector>().swap(vertices_);
  std::vector<Vector>().swap(normals_);
  std::vector<Face>().swap(faces_);
}

void MeshBuilder::SetPrebuiltGeometry(std::shared_ptr<MeshGeometry> geometry, Box box) {
  prebuilt_ = std::move(geometry);
  releasedBox_ = box;
  releaseAfterUpload_ = true;
  Touch();
}

Box MeshBuilder::GetBox() const {
  if (vertices_.empty()) return releasedBox_.value_or(Box{});
  Box box{vertices_.front(), vertices_.front()};
  for (const auto& v : vertices_) {
    box.min = {std::min(box.min.x, v.x), std::min(box.min.y, v.y), std::min(box.min.z, v.z)};
    box.max = {std::max(box.max.x, v.x), std::max(box.max.y, v.y), std::max(box.max.z, v.z)};
  }
  return box;
}

FaceRef MeshBuilder::GetFace(std::size_t index) {
  FaceAt(index);
  return FaceRef(*this, index);
}

Face& MeshBuilder::FaceAt(std::size_t index) {
  if (index >= faces_.size()) throw std::out_of_range("face index out of range");
  return faces_[index];
}

void MeshBuilder::SetFaceColor(std::size_t face, ColorARGB argb) {
  FaceAt(face).color = argb;
  Touch();
}

void MeshBuilder::SetFaceTexture(std::size_t face, std::shared_ptr<Texture> texture) {
  FaceAt(face).texture = std::move(texture);
  Touch();
}

void MeshBuilder::SetFaceTextureCoordinates(std::size_t face, std::size_t corner, float u,
                                            float v) {
  auto& f = FaceAt(face);
  if (corner >= f.corners.size()) throw std::out_of_range("corner index out of range");
  f.corners[corner].u = u;
  f.corners[corner].v = v;
  Touch();
}

void MeshBuilder::SetFaceMaterial(std::size_t face, std::shared_ptr<Material> material) {
  FaceAt(face).material = std::move(material);
  Touch();
}

}  // namespace veltrane::rm
