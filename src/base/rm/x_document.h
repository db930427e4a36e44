#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane::rm {

// What a ".x" file holds that the program draws: frames, meshes and their
// materials. Every index in here has been checked against its table.
struct XMaterial {
  std::array<float, 4> color{1, 1, 1, 1};
  float power = 0;
  std::array<float, 3> specular{0, 0, 0};
  std::array<float, 3> emissive{0, 0, 0};
  std::string texture;  // empty: none
};

struct XMesh {
  std::string name;
  std::vector<float> vertices;       // x, y, z per vertex
  std::vector<std::uint32_t> faces;  // per face: corner count, then the vertex indices
  std::uint32_t faceCount = 0;
  std::vector<float> normals;  // x, y, z per normal
  std::vector<std::uint32_t>
      normalFaces;        // laid out as faces; empty when the file gives no normals
  std::vector<float> uv;  // u, v per vertex; empty when the file gives none
  std::vector<std::uint32_t> faceMaterials;  // one per face, or empty
  std::vector<std::uint32_t> materials;      // indices into XDocument::materials
};

struct XFrame {
  std::string name;
  bool hasMatrix = false;
  std::array<float, 16> matrix{};
  std::vector<XMesh> meshes;
  std::vector<XFrame> children;
};

struct XDocument {
  XFrame root;  // top-level meshes and frames; has no matrix
  std::vector<XMaterial> materials;
};

// Reads the body of a ".x" file (its 16-byte header included, already
// inflated). Throws XSyntaxError naming the line (or byte) of the first fault:
// an index outside its table, a count that does not match what follows, a
// number out of range, or anything the grammar does not allow.
XDocument ParseXDocument(std::string_view bytes, bool binary, bool doubles);

// The document as a text ".x" file in the plain layout every importer reads.
std::string WriteXText(const XDocument& doc);

}  // namespace veltrane::rm
