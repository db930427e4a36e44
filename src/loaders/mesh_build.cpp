#include "loaders/mesh_build.h"

#include <cmath>

#include "loaders/load_error.h"

namespace veltrane::loaders {
namespace {

double Distance(const MeshVertex& a, const MeshVertex& b) {
  const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

}  // namespace

MeshBuild::MeshBuild(bool texturesEnabled) : texturesEnabled_(texturesEnabled) { Clear(); }

void MeshBuild::Clear() {
  cellNewest_.Clear();
  olderInCell_.clear();
  vertexIndexStale_ = false;
  refNewest_.Clear();
  olderRef_.clear();
  refIndexStale_ = false;
  vertices_.clear();
  refs_.clear();
  faces_.clear();
  colors_.clear();
  textures_.clear();
  materials_.assign(1, MaterialEntry{});
}

template <typename T>
int MeshBuild::Append(std::vector<T>& table, const T& entry, const char* what) {
  if (table.size() >= kMaxEntries)
    throw LoadError(std::string("Error: too many ") + what + " (more than " +
                    std::to_string(kMaxEntries) + ")");
  table.push_back(entry);
  return static_cast<int>(table.size() - 1);
}

namespace {

// Cell coordinate along one axis. Cells are twice the merge distance wide, so
// a match is always in a neighbouring cell despite rounding in the division.
// Far-out and non-finite values share the edge cells.
std::int64_t Cell(double c) {
  const double scaled = std::floor(c / (2 * MeshBuild::kMergeDistance));
  if (!(scaled > -1e6 * 1e6 / 2)) return -(std::int64_t{1} << 20);
  if (!(scaled < 1e6 * 1e6 / 2)) return std::int64_t{1} << 20;
  // Fold into 21 bits per axis; collisions only put more candidates in a cell.
  return static_cast<std::int64_t>(scaled) & 0x1FFFFF;
}

}  // namespace

std::int64_t MeshBuild::CellKey(std::int64_t x, std::int64_t y, std::int64_t z) {
  return ((x & 0x1FFFFF) << 42) | ((y & 0x1FFFFF) << 21) | (z & 0x1FFFFF);
}

std::int64_t MeshBuild::CellKeyOf(const MeshVertex& p) {
  return CellKey(Cell(p.x), Cell(p.y), Cell(p.z));
}

// Entries are indexed in increasing order, so each list stays newest first.
void MeshBuild::IndexVertex(int index) {
  const auto at = static_cast<std::size_t>(index);
  const std::int64_t key = CellKeyOf(vertices_[at]);
  if (olderInCell_.size() <= at) olderInCell_.resize(at + 1, -1);
  const std::uint32_t older =
      cellNewest_.Replace(static_cast<std::uint64_t>(key), static_cast<std::uint32_t>(index),
                          [&](std::uint32_t i) { return CellKeyOf(vertices_[i]) == key; });
  olderInCell_[at] = older == IndexHashTable::kNone ? -1 : static_cast<std::int32_t>(older);
}

void MeshBuild::IndexRef(int index) {
  const auto at = static_cast<std::size_t>(index);
  const std::int32_t vertex = refs_[at].vertex;
  if (olderRef_.size() <= at) olderRef_.resize(at + 1, -1);
  const std::uint32_t older =
      refNewest_.Replace(static_cast<std::uint64_t>(static_cast<std::uint32_t>(vertex)),
                         static_cast<std::uint32_t>(index),
                         [&](std::uint32_t i) { return refs_[i].vertex == vertex; });
  olderRef_[at] = older == IndexHashTable::kNone ? -1 : static_cast<std::int32_t>(older);
}

int MeshBuild::AppendVertex(const MeshVertex& p) {
  const int index = Append(vertices_, p, "vertices");
  if (!vertexIndexStale_) IndexVertex(index);
  return index;
}

int MeshBuild::AppendVertexRef(int vertex, bool textured, double u, double v) {
  const int index =
      Append(refs_, VertexRef{vertex, u, v, textured && texturesEnabled_}, "vertex references");
  if (!refIndexStale_) IndexRef(index);
  return index;
}

void MeshBuild::DropSearchIndex() {
  cellNewest_.Release();
  std::vector<std::int32_t>().swap(olderInCell_);
  vertexIndexStale_ = true;
  refNewest_.Release();
  std::vector<std::int32_t>().swap(olderRef_);
  refIndexStale_ = true;
}

int MeshBuild::AppendColor(const ColorEntry& c) { return Append(colors_, c, "colours"); }
int MeshBuild::AppendFace(const MeshFace& f) { return Append(faces_, f, "faces"); }
int MeshBuild::AppendTexture(const TextureEntry& t) { return Append(textures_, t, "textures"); }

int MeshBuild::AddVertex(const MeshVertex& p) {
  if (vertexIndexStale_) {
    cellNewest_.Clear();
    olderInCell_.assign(vertices_.size(), -1);
    vertexIndexStale_ = false;
    for (std::size_t i = 0; i < vertices_.size(); ++i) IndexVertex(static_cast<int>(i));
  }
  const std::int64_t cx = Cell(p.x), cy = Cell(p.y), cz = Cell(p.z);
  int best = -1;
  for (std::int64_t dx = -1; dx <= 1; ++dx)
    for (std::int64_t dy = -1; dy <= 1; ++dy)
      for (std::int64_t dz = -1; dz <= 1; ++dz) {
        const std::int64_t key = CellKey(cx + dx, cy + dy, cz + dz);
        const std::uint32_t newest =
            cellNewest_.Find(static_cast<std::uint64_t>(key),
                             [&](std::uint32_t i) { return CellKeyOf(vertices_[i]) == key; });
        // Newest first: the first one near enough is this cell's highest.
        for (std::int32_t i = newest == IndexHashTable::kNone ? -1
                                                              : static_cast<std::int32_t>(newest);
             i > best; i = olderInCell_[static_cast<std::size_t>(i)])
          if (Distance(vertices_[static_cast<std::size_t>(i)], p) <= kMergeDistance) {
            best = i;
            break;
          }
      }
  if (best >= 0) return best;
  return AppendVertex(p);
}

int MeshBuild::AddVertexHinted(const MeshVertex& p, int hint) {
  if (hint >= 0 && static_cast<std::size_t>(hint) < vertices_.size() &&
      Distance(vertices_[static_cast<std::size_t>(hint)], p) <= kHintedMergeDistance)
    return hint;
  return AppendVertex(p);
}

int MeshBuild::AddVertexRef(int vertex, bool textured, double u, double v) {
  if (refIndexStale_) {
    refNewest_.Clear();
    olderRef_.assign(refs_.size(), -1);
    refIndexStale_ = false;
    for (std::size_t i = 0; i < refs_.size(); ++i) IndexRef(static_cast<int>(i));
  }
  const bool t = textured && texturesEnabled_;
  const std::uint32_t newest =
      refNewest_.Find(static_cast<std::uint64_t>(static_cast<std::uint32_t>(vertex)),
                      [&](std::uint32_t i) { return refs_[i].vertex == vertex; });
  for (std::int32_t i = newest == IndexHashTable::kNone ? -1 : static_cast<std::int32_t>(newest);
       i >= 0; i = olderRef_[static_cast<std::size_t>(i)]) {
    const VertexRef& r = refs_[static_cast<std::size_t>(i)];
    if (r.textured == t && (!t || (r.u == u && r.v == v))) return i;
  }
  return AppendVertexRef(vertex, t, u, v);
}

int MeshBuild::AddVertexRefHinted(int vertex, bool textured, double u, double v, int hint) {
  const bool t = textured && texturesEnabled_;
  if (hint >= 0 && static_cast<std::size_t>(hint) < refs_.size()) {
    const VertexRef& r = refs_[static_cast<std::size_t>(hint)];
    if (r.vertex == vertex && r.textured == t && r.u == u && r.v == v) return hint;
  }
  return AppendVertexRef(vertex, t, u, v);
}

int MeshBuild::FindColor(double r, double g, double b, double a) {
  for (std::size_t i = colors_.size(); i-- > 0;) {
    const ColorEntry& c = colors_[i];
    if (c.r == r && c.g == g && c.b == b && c.a == a) return static_cast<int>(i);
  }
  return AppendColor(ColorEntry{r, g, b, a});
}

int MeshBuild::FindMaterial(double power, double emissiveR, double emissiveG, double emissiveB,
                            double specularR, double specularG, double specularB) {
  for (std::size_t i = 1; i < materials_.size(); ++i) {
    const MaterialEntry& m = materials_[i];
    if (m.power == power && m.emissiveR == emissiveR && m.emissiveG == emissiveG &&
        m.emissiveB == emissiveB && m.specularR == specularR && m.specularG == specularG &&
        m.specularB == specularB)
      return static_cast<int>(i);
  }
  return Append(
      materials_,
      MaterialEntry{power, emissiveR, emissiveG, emissiveB, specularR, specularG, specularB},
      "materials");
}

MeshBuildStats Statistics(const MeshBuild& mb) {
  MeshBuildStats s;
  s.vertices = mb.Vertices().size();
  s.references = mb.Refs().size();
  s.faces = mb.Faces().size();
  s.colors = mb.Colors().size();
  s.facesByColor.assign(s.colors, 0);
  s.textures = mb.Textures().size();
  s.materials = mb.Materials().empty() ? 0 : mb.Materials().size() - 1;
  for (const MeshFace& f : mb.Faces()) {
    if (f.singleSided) ++s.singleSidedFaces;
    if (f.cornerCount >= 0 && f.cornerCount <= 4)
      ++s.facesByCornerCount[static_cast<std::size_t>(f.cornerCount)];
    if (f.color >= 0 && static_cast<std::size_t>(f.color) < s.colors)
      ++s.facesByColor[static_cast<std::size_t>(f.color)];
    if (f.cornerCount > 0 && f.corner[0] >= 0 &&
        static_cast<std::size_t>(f.corner[0]) < mb.Refs().size() &&
        mb.Refs()[static_cast<std::size_t>(f.corner[0])].textured)
      ++s.texturedFaces;
  }
  return s;
}

}  // namespace veltrane::loaders

namespace veltrane::loaders {
namespace {

constexpr double kFoldCosine = -0.8;
constexpr double kTinyLength = 1e-4;

std::uint8_t ToByte(double c) {
  const double scaled = c * 255.0;
  if (!(scaled > 0.0)) return 0;  // also NaN
  if (scaled >= 255.0) return 255;
  return static_cast<std::uint8_t>(scaled);
}

bool InRange(std::int32_t index, std::size_t size) {
  return index >= 0 && static_cast<std::size_t>(index) < size;
}

}  // namespace

bool IsTextured(const MeshBuild& mb, const MeshFace& f) {
  return f.cornerCount > 0 && mb.Refs()[static_cast<std::size_t>(f.corner[0])].textured;
}

void CheckMeshBuild(const MeshBuild& mb) {
  const auto fail = [](std::size_t face, const std::string& what) {
    throw LoadError("Error: face " + std::to_string(face + 1) + " " + what);
  };
  for (const VertexRef& r : mb.Refs())
    if (!InRange(r.vertex, mb.Vertices().size()))
      throw LoadError("Error: a vertex reference names vertex " + std::to_string(r.vertex + 1) +
                      ", which does not exist");
  for (std::size_t i = 0; i < mb.Faces().size(); ++i) {
    const MeshFace& f = mb.Faces()[i];
    if (f.cornerCount < 0 || f.cornerCount > 4)
      fail(i, "has " + std::to_string(f.cornerCount) + " corners");
    for (int k = 0; k < f.cornerCount; ++k)
      if (!InRange(f.corner[static_cast<std::size_t>(k)], mb.Refs().size()))
        fail(i, "names a vertex that does not exist");
    if (f.cornerCount == 0) continue;
    if (IsTextured(mb, f)) {
      if (!InRange(f.texture, mb.Textures().size())) fail(i, "names a texture that does not exist");
    } else if (!InRange(f.color, mb.Colors().size())) {
      fail(i, "names a colour that does not exist");
    }
    if (!InRange(f.material, mb.Materials().size()))
      fail(i, "names a material that does not exist");
  }
}

std::vector<Vec3f> VertexNormals(const MeshBuild& mb,
                                 std::vector<std::array<std::int32_t, 4>>& slots) {
  const auto& verts = mb.Vertices();
  const auto& refs = mb.Refs();
  std::vector<Vec3f> normals(verts.size());
  slots.resize(mb.Faces().size());
  for (std::size_t fi = 0; fi < mb.Faces().size(); ++fi) {
    const MeshFace& f = mb.Faces()[fi];
    for (int k = 0; k < f.cornerCount; ++k)
      slots[fi][static_cast<std::size_t>(k)] =
          refs[static_cast<std::size_t>(f.corner[static_cast<std::size_t>(k)])].vertex;
  }
  for (std::size_t fi = 0; fi < mb.Faces().size(); ++fi) {
    const MeshFace& f = mb.Faces()[fi];
    const int n = f.cornerCount;
    if (n == 2) continue;
    for (int k = 0; k < n; ++k) {
      const auto vertexAt = [&](int c) -> const MeshVertex& {
        const VertexRef& r = refs[static_cast<std::size_t>(f.corner[static_cast<std::size_t>(c)])];
        return verts[static_cast<std::size_t>(r.vertex)];
      };
      const MeshVertex& P = vertexAt(k);
      const MeshVertex& R = vertexAt(k == 0 ? n - 1 : k - 1);
      const MeshVertex& S = vertexAt(k == n - 1 ? 0 : k + 1);
      const double e1x = R.x - P.x, e1y = R.y - P.y, e1z = R.z - P.z;
      const double e2x = S.x - P.x, e2y = S.y - P.y, e2z = S.z - P.z;
      const double nx = e1z * e2y - e1y * e2z;
      const double ny = e1x * e2z - e1z * e2x;
      const double nz = e1y * e2x - e1x * e2y;
      const double L = std::sqrt(nx * nx + ny * ny + nz * nz);
      if (!(L > 0.0) || !std::isfinite(L)) continue;
      std::int32_t& slot = slots[fi][static_cast<std::size_t>(k)];
      Vec3f& N = normals[static_cast<std::size_t>(slot)];
      const double M = std::sqrt(double(N.x) * N.x + double(N.y) * N.y + double(N.z) * N.z);
      if (M <= kTinyLength || (nx * N.x + ny * N.y + nz * N.z) / (L * M) >= kFoldCosine) {
        N.x = static_cast<float>(N.x + nx / L);
        N.y = static_cast<float>(N.y + ny / L);
        N.z = static_cast<float>(N.z + nz / L);
      } else {
        if (normals.size() >= MeshBuild::kMaxEntries) throw LoadError("Error: too many normals");
        normals.push_back(Vec3f{static_cast<float>(nx / L), static_cast<float>(ny / L),
                                static_cast<float>(nz / L)});
        slot = static_cast<std::int32_t>(normals.size() - 1);
      }
    }
  }
  for (Vec3f& N : normals) {
    const double M = std::sqrt(double(N.x) * N.x + double(N.y) * N.y + double(N.z) * N.z);
    if (M > kTinyLength) {
      N.x = static_cast<float>(N.x / M);
      N.y = static_cast<float>(N.y / M);
      N.z = static_cast<float>(N.z / M);
    }
  }
  return normals;
}

std::vector<std::shared_ptr<rm::Texture>> LoadMeshTextures(const MeshBuild& mb, rm::Root& root) {
  std::vector<std::shared_ptr<rm::Texture>> textures;
  textures.reserve(mb.Textures().size());
  for (const TextureEntry& t : mb.Textures()) {
    auto tex = root.LoadTexture(t.file);
    if (tex) {
      tex->GenerateMIPMap();
      if (t.transparent) tex->SetDecalTransparency(true);
    }
    textures.push_back(std::move(tex));
  }
  return textures;
}

std::vector<std::shared_ptr<rm::Material>> MakeMeshMaterials(const MeshBuild& mb, rm::Root& root) {
  std::vector<std::shared_ptr<rm::Material>> materials(mb.Materials().size());
  for (std::size_t i = 1; i < mb.Materials().size(); ++i) {
    const MaterialEntry& m = mb.Materials()[i];
    materials[i] = root.CreateMaterial(static_cast<float>(m.power));
    materials[i]->SetSpecular(static_cast<float>(m.specularR), static_cast<float>(m.specularG),
                              static_cast<float>(m.specularB));
    materials[i]->SetEmissive(static_cast<float>(m.emissiveR), static_cast<float>(m.emissiveG),
                              static_cast<float>(m.emissiveB));
  }
  return materials;
}

rm::ColorARGB PackColor(const ColorEntry& c) {
  return rm::PackARGB(ToByte(c.a), ToByte(c.r), ToByte(c.g), ToByte(c.b));
}

void AssembleMesh(const MeshBuild& mb, rm::Root& root, rm::MeshBuilder& target) {
  CheckMeshBuild(mb);
  const std::vector<std::shared_ptr<rm::Texture>> textures = LoadMeshTextures(mb, root);

  bool allSingleSided = true;
  rm::FaceArray faces(target, 0, 0);
  {
    // The builder copies these; they go before the faces are dressed.
    std::vector<std::array<std::int32_t, 4>> slots;
    const std::vector<Vec3f> normals = VertexNormals(mb, slots);
    std::vector<rm::Vector> vertices;
    vertices.reserve(mb.Refs().size());
    for (const VertexRef& r : mb.Refs()) {
      const MeshVertex& v = mb.Vertices()[static_cast<std::size_t>(r.vertex)];
      vertices.push_back(
          {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)});
    }

    std::size_t words = 1;
    for (const MeshFace& f : mb.Faces())
      words += static_cast<std::size_t>(f.cornerCount > 0) *
               (1 + 2 * static_cast<std::size_t>(f.cornerCount)) * (f.singleSided ? 1 : 2);
    std::vector<std::uint32_t> data;
    data.reserve(words);
    for (std::size_t fi = 0; fi < mb.Faces().size(); ++fi) {
      const MeshFace& f = mb.Faces()[fi];
      if (!f.singleSided) allSingleSided = false;
      // A zero count would end the face list early and shift every later face.
      if (f.cornerCount == 0) continue;
      const auto n = static_cast<std::size_t>(f.cornerCount);
      data.push_back(static_cast<std::uint32_t>(n));
      for (std::size_t k = 0; k < n; ++k) {
        data.push_back(static_cast<std::uint32_t>(f.corner[k]));
        data.push_back(static_cast<std::uint32_t>(slots[fi][k]));
      }
      if (!f.singleSided) {
        data.push_back(static_cast<std::uint32_t>(n));
        for (std::size_t k = n; k-- > 0;) {
          data.push_back(static_cast<std::uint32_t>(f.corner[k]));
          data.push_back(static_cast<std::uint32_t>(slots[fi][k]));
        }
      }
    }
    data.push_back(0);
    faces = target.AddFaces(vertices, normals, data);
  }

  const std::vector<std::shared_ptr<rm::Material>> materials = MakeMeshMaterials(mb, root);

  std::size_t j = 0;
  for (const MeshFace& f : mb.Faces()) {
    if (f.cornerCount == 0) continue;
    const std::shared_ptr<rm::Material> material =
        f.material > 0 ? materials[static_cast<std::size_t>(f.material)] : nullptr;
    if (IsTextured(mb, f)) {
      const auto& tex = textures[static_cast<std::size_t>(f.texture)];
      rm::FaceRef front = faces.GetElement(j++);
      front.SetTexture(tex);
      for (int c = 0; c < f.cornerCount; ++c) {
        const VertexRef& r =
            mb.Refs()[static_cast<std::size_t>(f.corner[static_cast<std::size_t>(c)])];
        front.SetTextureCoordinates(static_cast<std::size_t>(c), static_cast<float>(r.u / 255.0),
                                    static_cast<float>(r.v / 255.0));
      }
      if (material) front.SetMaterial(material);
      if (!f.singleSided) {
        rm::FaceRef back = faces.GetElement(j++);
        if (material) back.SetMaterial(material);
        back.SetTexture(tex);
      }
    } else {
      const rm::ColorARGB color = PackColor(mb.Colors()[static_cast<std::size_t>(f.color)]);
      rm::FaceRef front = faces.GetElement(j++);
      front.SetColor(color);
      if (material) front.SetMaterial(material);
      if (!f.singleSided) {
        rm::FaceRef back = faces.GetElement(j++);
        back.SetColor(color);
        if (material) back.SetMaterial(material);
      }
    }
  }

  target.SetPerspective(true);
  target.SetQuality(allSingleSided ? rm::quality::kSolidLitPhong : rm::quality::kSolidLitFlat);
}

}  // namespace veltrane::loaders
