// MeshBuilder::Load: ".x" files read through assimp.
//
// The importer hands the geometry over in its own right-handed convention: z
// negated, winding reversed and v flipped. This undoes exactly that, so the
// builder holds the file's own numbers: a vertex (1, 2, 3) stays (1, 2, 3).
// The file's frame matrices are applied; nothing else is re-oriented.

#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <sstream>

#include "base/rm/mesh_builder.h"
#include "base/rm/root.h"
#include "base/rm/x_file_check.h"
#include "base/rm/x_importer.h"

namespace veltrane::rm {
namespace {

// Model files are a few megabytes at most; this keeps a mistaken choice
// (a disc image renamed to .x) from being read into memory whole.
constexpr std::streamoff kMaxFileSize = std::streamoff{64} << 20;

struct Collected {
  std::vector<Vector> vertices;
  std::vector<Vector> normals;
  std::vector<std::uint32_t> faceData;
  // Per created face: material index and per-corner texture coordinates.
  std::vector<unsigned> faceMaterial;
  std::vector<std::vector<std::pair<float, float>>> faceUV;
};

Vector FromImporter(const aiVector3D& v) { return {v.x, v.y, -v.z}; }

Vector NormalFromImporter(const aiMatrix3x3& normalMatrix, const aiVector3D& n) {
  aiVector3D t = normalMatrix * n;
  const float len = t.Length();
  if (len > 0.0f) t /= len;
  return {t.x, t.y, -t.z};
}

void CollectMesh(const aiMesh& mesh, const aiMatrix4x4& transform, Collected& out) {
  if (mesh.mNumVertices == 0) return;
  const auto base = static_cast<std::uint32_t>(out.vertices.size());
  aiMatrix3x3 normalMatrix(transform);
  normalMatrix.Inverse().Transpose();

  std::vector<aiVector3D> generated;
  if (!mesh.HasNormals()) {
    // The file gave none: area-weighted face normals, summed per vertex.
    generated.assign(mesh.mNumVertices, aiVector3D(0, 0, 0));
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
      const aiFace& face = mesh.mFaces[f];
      if (face.mNumIndices < 3) continue;
      const aiVector3D& p0 = mesh.mVertices[face.mIndices[0]];
      for (unsigned k = 1; k + 1 < face.mNumIndices; ++k) {
        // Importer winding is reversed and z negated; the cross product comes out pointing outward
        // there too.
        const aiVector3D n =
            (mesh.mVertices[face.mIndices[k]] - p0) ^ (mesh.mVertices[face.mIndices[k + 1]] - p0);
        for (unsigned c = 0; c < face.mNumIndices; ++c) generated[face.mIndices[c]] += n;
      }
    }
  }

  for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
    out.vertices.push_back(FromImporter(transform * mesh.mVertices[i]));
    out.normals.push_back(
        NormalFromImporter(normalMatrix, mesh.HasNormals() ? mesh.mNormals[i] : generated[i]));
  }
  const bool hasUV = mesh.HasTextureCoords(0);
  // The importer reversed every face; turning them back gives the file's corner
  // order. Under a mirroring frame matrix that order would show the faces'
  // insides, so then they keep the reversed order and stay visible from outside.
  const bool mirrored = aiMatrix3x3(transform).Determinant() < 0.0f;
  for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
    const aiFace& face = mesh.mFaces[f];
    if (face.mNumIndices == 0) continue;
    out.faceData.push_back(face.mNumIndices);
    std::vector<std::pair<float, float>> uv;
    uv.reserve(face.mNumIndices);
    for (unsigned j = 0; j < face.mNumIndices; ++j) {
      const unsigned idx = face.mIndices[mirrored ? j : face.mNumIndices - 1 - j];
      out.faceData.push_back(base + idx);
      out.faceData.push_back(base + idx);
      if (hasUV)
        uv.emplace_back(mesh.mTextureCoords[0][idx].x, 1.0f - mesh.mTextureCoords[0][idx].y);
      else
        uv.emplace_back(0.0f, 0.0f);
    }
    out.faceMaterial.push_back(mesh.mMaterialIndex);
    out.faceUV.push_back(std::move(uv));
  }
}

void CollectNode(const aiScene& scene, const aiNode& node, const aiMatrix4x4& parent,
                 Collected& out) {
  const aiMatrix4x4 transform = parent * node.mTransformation;
  for (unsigned i = 0; i < node.mNumMeshes; ++i) {
    const unsigned m = node.mMeshes[i];
    if (m < scene.mNumMeshes && scene.mMeshes[m]) CollectMesh(*scene.mMeshes[m], transform, out);
  }
  for (unsigned i = 0; i < node.mNumChildren; ++i)
    if (node.mChildren[i]) CollectNode(scene, *node.mChildren[i], transform, out);
}

std::uint8_t Byte(float c) {
  const float s = c * 255.0f;
  if (!(s > 0.0f)) return 0;
  if (s >= 255.0f) return 255;
  return static_cast<std::uint8_t>(s);
}

struct FileMaterial {
  ColorARGB color = 0xFFFFFFFF;
  std::shared_ptr<Material> material;
  std::shared_ptr<Texture> texture;
};

FileMaterial ConvertMaterial(const XImporter& x, const aiMaterial& m, Root& root) {
  FileMaterial fm;
  // Each value keeps its default where the file has none.
  aiColor4D diffuse(1, 1, 1, 1);
  x.materialColor(&m, AI_MATKEY_COLOR_DIFFUSE, &diffuse);
  fm.color = PackARGB(Byte(diffuse.a), Byte(diffuse.r), Byte(diffuse.g), Byte(diffuse.b));

  ai_real power = 0.0f;
  x.materialFloats(&m, AI_MATKEY_SHININESS, &power, nullptr);
  aiColor4D specular(0, 0, 0, 1), emissive(0, 0, 0, 1);
  x.materialColor(&m, AI_MATKEY_COLOR_SPECULAR, &specular);
  x.materialColor(&m, AI_MATKEY_COLOR_EMISSIVE, &emissive);
  fm.material = root.CreateMaterial(power);
  fm.material->SetSpecular(specular.r, specular.g, specular.b);
  fm.material->SetEmissive(emissive.r, emissive.g, emissive.b);

  aiString path;
  if (x.materialTexture(&m, aiTextureType_DIFFUSE, 0, &path, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr) == AI_SUCCESS &&
      path.length > 0)
    fm.texture = root.LoadTexture(path.C_Str());
  return fm;
}

}  // namespace

bool MeshBuilder::Load(const std::string& file, Root& root, std::string* error) {
  const std::string path = root.FindFile(file);
  if (path.empty()) {
    if (error) *error = "file not found: " + file;
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  std::string raw;
  if (in) {
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size > kMaxFileSize) {
      if (error) *error = "the file is larger than " + std::to_string(kMaxFileSize >> 20) + " MB";
      return false;
    }
    in.seekg(0);
    if (size > 0) {
      raw.resize(static_cast<std::size_t>(size));
      in.read(raw.data(), size);
    }
  }
  if (!in) {
    if (error) *error = "cannot read " + path;
    return false;
  }
  return LoadX(std::move(raw), root, error);
}

bool MeshBuilder::LoadX(std::string raw, Root& root, std::string* error) {
  std::optional<std::string> bytes = CheckXFile(std::move(raw), error);
  if (!bytes) return false;

  const XImporter* x = OpenXImporter(error);
  if (!x) return false;
  if (bytes->size() > std::numeric_limits<unsigned int>::max()) {
    if (error) *error = "the model file is too large";
    return false;
  }
  // Only joining identical vertices: it changes no axis, and it gives back the
  // file's own vertex table, which the importer otherwise splits per corner.
  std::unique_ptr<const aiScene, void (*)(const aiScene*)> imported(
      x->importFromMemory(bytes->data(), static_cast<unsigned int>(bytes->size()),
                          aiProcess_JoinIdenticalVertices, "x"),
      x->release);
  const aiScene* scene = imported.get();
  if (!scene || !scene->mRootNode || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE)) {
    if (error) *error = x->lastError();
    return false;
  }

  Collected c;
  CollectNode(*scene, *scene->mRootNode, aiMatrix4x4(), c);
  c.faceData.push_back(0);
  for (const Vector& v : c.vertices)
    if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z)) {
      if (error) *error = "the frame matrices move a vertex out of range";
      return false;
    }

  std::map<unsigned, FileMaterial> materials;
  for (unsigned m : c.faceMaterial)
    if (!materials.contains(m) && m < scene->mNumMaterials && scene->mMaterials[m])
      materials[m] = ConvertMaterial(*x, *scene->mMaterials[m], root);

  std::optional<FaceArray> added;
  try {
    added = AddFaces(c.vertices, c.normals, c.faceData);
  } catch (const FaceDataError& e) {
    if (error) *error = e.what();
    return false;
  }
  const FaceArray& faces = *added;
  for (std::size_t i = 0; i < faces.GetSize(); ++i) {
    FaceRef f = faces.GetElement(i);
    const auto it = materials.find(c.faceMaterial[i]);
    if (it != materials.end()) {
      f.SetColor(it->second.color);
      f.SetMaterial(it->second.material);
      if (it->second.texture) f.SetTexture(it->second.texture);
    }
    for (std::size_t k = 0; k < c.faceUV[i].size(); ++k)
      f.SetTextureCoordinates(k, c.faceUV[i][k].first, c.faceUV[i][k].second);
  }
  return true;
}

}  // namespace veltrane::rm
