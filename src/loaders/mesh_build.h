#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/math/vec3.h"
#include "base/math/vec3f.h"
#include "base/memory/index_hash_table.h"
#include "base/rm/mesh_builder.h"
#include "base/rm/root.h"

namespace veltrane::loaders {

// A point in display axes (y up), kept in double until the mesh is assembled.
using MeshVertex = Vec3;

struct VertexRef {
  std::int32_t vertex = 0;
  double u = 0.0;  // texels of a 255-texel texture
  double v = 0.0;
  bool textured = false;
};

struct MeshFace {
  std::array<std::int32_t, 4> position{};  // scratch for the assembler; loaders leave it
  std::array<std::int32_t, 4> corner{};    // vertex reference indices, in drawing order
  std::int32_t cornerCount = 0;
  std::int32_t color = 0;
  bool singleSided = true;  // false: also drawn from the back
  std::int32_t texture = 0;
  std::int32_t material = 0;  // 0: none
};

struct ColorEntry {
  double r = 0.0;
  double g = 0.0;
  double b = 0.0;
  double a = 1.0;
};

struct MaterialEntry {
  double power = 0.0;
  double emissiveR = 0.0, emissiveG = 0.0, emissiveB = 0.0;
  double specularR = 0.0, specularG = 0.0, specularB = 0.0;
};

struct TextureEntry {
  std::string file;
  bool transparent = false;
};

// The polygons one loader collects for one AssembleMesh call. The tables grow
// as needed; past kMaxEntries in any of them the load stops with a LoadError,
// since no sane model or scene needs that many and the file is more likely
// broken than big.
class MeshBuild {
 public:
  static constexpr std::size_t kMaxEntries = 2'000'000;
  static constexpr double kMergeDistance = 1e-4;
  static constexpr double kHintedMergeDistance = 0.001;

  explicit MeshBuild(bool texturesEnabled = true);

  // Back to the start: no vertices, references, faces, colours or textures,
  // only the unused material 0.
  void Clear();

  bool TexturesEnabled() const { return texturesEnabled_; }

  // Frees the search structures behind AddVertex and AddVertexRef once
  // everything is collected; a later search builds them again.
  void DropSearchIndex();

  // The loader maps its points into display axes before calling these.
  // The highest-numbered vertex within kMergeDistance, else a new one.
  int AddVertex(const MeshVertex& p);
  // Reuses `hint` (when >= 0) if it lies within kHintedMergeDistance, else appends.
  int AddVertexHinted(const MeshVertex& p, int hint);

  // `textured` is ANDed with TexturesEnabled(). The highest-numbered reference
  // with the same vertex and flag (and, when textured, exactly the same u, v),
  // else a new one.
  int AddVertexRef(int vertex, bool textured, double u, double v);
  // Reuses reference `hint` (when >= 0) if it has this vertex, flag, u and v; else appends.
  int AddVertexRefHinted(int vertex, bool textured, double u, double v, int hint);

  // The highest-numbered colour with exactly these components, else a new one.
  int FindColor(double r, double g, double b, double a);
  // The first material from 1 upward with exactly these values, else a new one.
  int FindMaterial(double power, double emissiveR, double emissiveG, double emissiveB,
                   double specularR, double specularG, double specularB);

  // Appenders without search, all limit-checked.
  int AppendVertex(const MeshVertex& p);
  int AppendVertexRef(int vertex, bool textured, double u, double v);
  int AppendColor(const ColorEntry& c);
  int AppendFace(const MeshFace& f);
  int AppendTexture(const TextureEntry& t);

  const std::vector<MeshVertex>& Vertices() const { return vertices_; }
  const std::vector<VertexRef>& Refs() const { return refs_; }
  const std::vector<MeshFace>& Faces() const { return faces_; }
  const std::vector<ColorEntry>& Colors() const { return colors_; }
  const std::vector<MaterialEntry>& Materials() const { return materials_; }  // [0] unused
  const std::vector<TextureEntry>& Textures() const { return textures_; }

  // Loaders adjust what they have collected (axis conversion, materials, ...).
  std::vector<MeshVertex>& MutableVertices() {
    vertexIndexStale_ = true;
    return vertices_;
  }
  std::vector<MeshFace>& MutableFaces() { return faces_; }
  std::vector<TextureEntry>& MutableTextures() { return textures_; }

 private:
  template <typename T>
  int Append(std::vector<T>& table, const T& entry, const char* what);
  static std::int64_t CellKey(std::int64_t x, std::int64_t y, std::int64_t z);
  static std::int64_t CellKeyOf(const MeshVertex& p);
  void IndexVertex(int index);
  void IndexRef(int index);

  // The searches give the same answers as a scan of the whole table, through
  // a grid of kMergeDistance cells (vertices) and per-vertex lists
  // (references). Each list runs from its newest entry to its oldest: the
  // newest of each grid cell or vertex in a hash table, and per entry the
  // next older one (-1 at the end).
  IndexHashTable cellNewest_;
  std::vector<std::int32_t> olderInCell_;
  bool vertexIndexStale_ = false;
  IndexHashTable refNewest_;
  std::vector<std::int32_t> olderRef_;
  bool refIndexStale_ = false;

  bool texturesEnabled_;
  std::vector<MeshVertex> vertices_;
  std::vector<VertexRef> refs_;
  std::vector<MeshFace> faces_;
  std::vector<ColorEntry> colors_;
  std::vector<MaterialEntry> materials_;
  std::vector<TextureEntry> textures_;
};

// What a MeshBuild holds, for model authors' inspection.
struct MeshBuildStats {
  std::size_t vertices = 0;
  std::size_t references = 0;
  std::size_t faces = 0;
  std::size_t singleSidedFaces = 0;
  std::size_t texturedFaces = 0;
  // facesByCornerCount[k]: faces with k corners (k = 0..4).
  std::array<std::size_t, 5> facesByCornerCount{};
  std::size_t colors = 0;
  std::vector<std::size_t> facesByColor;  // one count per colour entry
  std::size_t textures = 0;
  std::size_t materials = 0;  // without the unused entry 0
};

MeshBuildStats Statistics(const MeshBuild& mb);

// Packs a 0..1 colour as ARGB bytes, each trunc(c * 255); values outside 0..1
// are clamped so that one channel can never spill into its neighbour.
rm::ColorARGB PackColor(const ColorEntry& c);

// The steps of AssembleMesh, for a caller that reads the tables in place.
// Throws LoadError for an index that points outside its table.
void CheckMeshBuild(const MeshBuild& mb);
// A face is textured when its first corner's reference is.
bool IsTextured(const MeshBuild& mb, const MeshFace& f);
// Vertex normals, split at sharp folds; slots[face][corner] receives the
// index of each corner's normal.
std::vector<Vec3f> VertexNormals(const MeshBuild& mb,
                                 std::vector<std::array<std::int32_t, 4>>& slots);
// One texture per entry (null where the picture did not load), mip-mapped.
std::vector<std::shared_ptr<rm::Texture>> LoadMeshTextures(const MeshBuild& mb, rm::Root& root);
// One material per entry; entry 0 (none) stays null.
std::vector<std::shared_ptr<rm::Material>> MakeMeshMaterials(const MeshBuild& mb, rm::Root& root);

// Turns the collected polygons into faces of `target`: vertex normals (split at
// folds sharper than about 143 degrees), back faces for double-sided faces,
// textures, materials, colours, texture coordinates; then perspective-correct
// texturing and phong quality when every face is single-sided, flat otherwise.
// Faces without corners are left out. An index that points outside its table
// throws LoadError before anything is added to `target`.
void AssembleMesh(const MeshBuild& mb, rm::Root& root, rm::MeshBuilder& target);

}  // namespace veltrane::loaders
