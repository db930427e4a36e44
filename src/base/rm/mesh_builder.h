#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/rm/corner_list.h"
#include "base/rm/material.h"
#include "base/rm/texture.h"
#include "base/rm/types.h"

namespace veltrane::rm {

class Root;
class MeshBuilder;
struct MeshGeometry;

// Raised by MeshBuilder::AddFaces for face data that does not fit the given
// vertex and normal lists; the builder is left unchanged.
class FaceDataError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One corner of a face: indices into the builder's Vertices() and Normals(),
// and the corner's own texture coordinates (see Picture for their orientation).
struct Corner {
  std::uint32_t vertex = 0;
  std::uint32_t normal = 0;
  float u = 0.0f;
  float v = 0.0f;
};

// A polygon, drawn in corner order. The front side is the one from which the
// corners run clockwise (left-handed layer, as the loaders produce them).
struct Face {
  CornerList<Corner> corners;
  ColorARGB color = 0xFFFFFFFF;
  std::shared_ptr<Texture> texture;    // may be null: untextured
  std::shared_ptr<Material> material;  // may be null: default material
};

// Short-lived handle on one face of a builder (valid while the builder lives).
class FaceRef {
 public:
  FaceRef(MeshBuilder& builder, std::size_t index) : builder_(&builder), index_(index) {}
  void SetColor(ColorARGB argb);
  void SetTexture(std::shared_ptr<Texture> texture);
  void SetTextureCoordinates(std::size_t corner, float u, float v);
  void SetMaterial(std::shared_ptr<Material> material);
  std::size_t Index() const { return index_; }
  const Face& Get() const;

 private:
  MeshBuilder* builder_;
  std::size_t index_;
};

// The faces one AddFaces call created, in face-data order.
class FaceArray {
 public:
  FaceArray(MeshBuilder& builder, std::size_t first, std::size_t count)
      : builder_(&builder), first_(first), count_(count) {}
  std::size_t GetSize() const { return count_; }
  FaceRef GetElement(std::size_t i) const;  // throws std::out_of_range past the end

 private:
  MeshBuilder* builder_;
  std::size_t first_;
  std::size_t count_;
};

// Geometry of one visual: vertices, normals and faces in the coordinates of
// the frame the builder is attached to.
//
// Generation() changes whenever anything the renderer draws changes (geometry,
// face colours, textures, materials, quality), so the renderer uploads once and
// re-uploads only on a new value. Key caches by builder identity (e.g. weak_ptr),
// the counter is per builder.
class MeshBuilder {
 public:
  // Face data words: for each face its corner count n, then n pairs
  // (vertex index, normal index) into `vertices` and `normals`; a count of 0
  // ends the list (a missing terminator ends it at the end of the span).
  // Vertices and normals are appended to the builder's own lists; indices in
  // the created faces are rebased accordingly. Throws FaceDataError on an
  // index out of range or a face running past the end of the data.
  FaceArray AddFaces(std::span<const Vector> vertices, std::span<const Vector> normals,
                     std::span<const std::uint32_t> faceData);

  void SetPerspective(bool on);
  void SetQuality(std::uint32_t quality);  // raw value, see quality:: in types.h
  void Translate(float dx, float dy, float dz);

  // Reads a ".x" file (text, binary or compressed) and adds all its meshes in
  // the file's own axes: a vertex (1, 2, 3) stays (1, 2, 3), moved only by
  // the file's own frame matrices; v is kept as written. Faces keep the
  // file's corner order, except under a mirroring frame matrix, where they
  // are turned so that they still face outward. Face colour and material come
  // from the file's material; textures named in it are loaded through
  // root.LoadTexture (so the root's search path applies). Missing normals are
  // computed from the faces. Damaged files (an index outside its table, a
  // count that does not match) are refused by CheckXFile before the importer
  // sees them. On failure the builder is left unchanged, false is returned
  // and *error (if given) says why.
  bool Load(const std::string& file, Root& root, std::string* error = nullptr);
  // The same for the bytes of a file already read.
  bool LoadX(std::string bytes, Root& root, std::string* error = nullptr);

  // Min and max corners over all vertices; an empty builder gives both at the origin.
  // After ReleaseGeometry, the box the geometry had.
  Box GetBox() const;

  // Geometry only the renderer needs once it has taken it (a landscape, which
  // is large and never changes): the renderer then calls ReleaseGeometry,
  // which drops vertices, normals and faces but keeps Generation(), so the
  // renderer goes on drawing what it took.
  void SetReleaseAfterUpload(bool on) { releaseAfterUpload_ = on; }
  bool ReleaseAfterUpload() const { return releaseAfterUpload_; }
  void ReleaseGeometry();

  // A mesh made straight into the renderer's streams (a landscape read in one
  // pass) has no faces: the renderer takes this geometry instead, once, and
  // GetBox gives `box`. Release-after-upload follows.
  void SetPrebuiltGeometry(std::shared_ptr<MeshGeometry> geometry, Box box);
  std::shared_ptr<MeshGeometry> TakePrebuiltGeometry() { return std::move(prebuilt_); }
  bool HasPrebuiltGeometry() const { return prebuilt_ != nullptr; }
  // Ground seen close up: the renderer lays fine grain over its textures.
  void SetGroundDetail(bool on) { groundDetail_ = on; }
  bool GroundDetail() const { return groundDetail_; }

  const std::vector<Vector>& Vertices() const { return vertices_; }
  const std::vector<Vector>& Normals() const { return normals_; }
  const std::vector<Face>& Faces() const { return faces_; }
  std::size_t FaceCount() const { return faces_.size(); }
  bool Perspective() const { return perspective_; }
  std::uint32_t Quality() const { return quality_; }
  std::uint64_t Generation() const { return generation_; }

  FaceRef GetFace(std::size_t index);  // throws std::out_of_range
  void SetFaceColor(std::size_t face, ColorARGB argb);
  void SetFaceTexture(std::size_t face, std::shared_ptr<Texture> texture);
  void SetFaceTextureCoordinates(std::size_t face, std::size_t corner, float u, float v);
  void SetFaceMaterial(std::size_t face, std::shared_ptr<Material> material);

 private:
  Face& FaceAt(std::size_t index);
  void Touch() { ++generation_; }

  std::vector<Vector> vertices_;
  std::vector<Vector> normals_;
  std::vector<Face> faces_;
  bool perspective_ = false;
  // Smooth until told otherwise: ".x" models bring their own normals and set no quality.
  std::uint32_t quality_ = quality::kSolidLitGouraud;
  std::uint64_t generation_ = 0;
  bool releaseAfterUpload_ = false;
  bool groundDetail_ = false;
  std::optional<Box> releasedBox_;
  std::shared_ptr<MeshGeometry> prebuilt_;
};

}  // namespace veltrane::rm
