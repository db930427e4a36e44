// Writes a checked document back as plain ".x" text, so that the importer only
// ever reads a file laid out the one way it is sure to understand.

#include <cstdio>
#include <cstring>

#include "base/rm/x_document.h"

namespace veltrane::rm {
namespace {

class Writer {
 public:
  std::string Run(const XDocument& doc) {
    doc_ = &doc;
    out_ = "xof 0303txt 0032\n";
    for (const XMesh& m : doc.root.meshes) Mesh(m);
    for (const XFrame& f : doc.root.children) Frame(f);
    return std::move(out_);
  }

 private:
  void Num(float v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(v));
    out_ += buf;
    // Always a decimal point: some readers take a bare "1" for a whole number only.
    if (!std::strpbrk(buf, ".en")) out_ += ".0";
  }
  void Int(std::uint32_t v) { out_ += std::to_string(v); }

  // Names keep only the characters every reader takes; the importer uses them for nothing we draw.
  void Name(const std::string& name) {
    std::string clean;
    for (char c : name.substr(0, 64))
      clean += (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ? c : '_';
    if (!clean.empty() && !(clean[0] >= '0' && clean[0] <= '9')) out_ += clean + " ";
  }

  template <typename T, typename F>
  void List(const std::vector<T>& values, std::size_t group, F write) {
    for (std::size_t i = 0; i < values.size(); i += group) {
      for (std::size_t k = 0; k < group; ++k) {
        write(values[i + k]);
        out_ += ';';
      }
      out_ += i + group < values.size() ? ",\n" : ";\n";
    }
    if (values.empty()) out_ += ";\n";
  }

  // Faces: count;i,i,i;, ...
  void Faces(const std::vector<std::uint32_t>& faces) {
    std::size_t at = 0;
    if (faces.empty()) out_ += ";\n";
    while (at < faces.size()) {
      const std::uint32_t n = faces[at++];
      Int(n);
      out_ += ';';
      for (std::uint32_t c = 0; c < n; ++c) {
        Int(faces[at++]);
        out_ += c + 1 < n ? ',' : ';';
      }
      out_ += at < faces.size() ? ",\n" : ";\n";
    }
  }

  void Material(const XMaterial& m) {
    out_ += "Material {\n";
    for (float c : m.color) Num(c), out_ += ';';
    out_ += ";\n";
    Num(m.power);
    out_ += ";\n";
    for (float c : m.specular) Num(c), out_ += ';';
    out_ += ";\n";
    for (float c : m.emissive) Num(c), out_ += ';';
    out_ += ";\n";
    if (!m.texture.empty()) out_ += "TextureFilename { \"" + m.texture + "\"; }\n";
    out_ += "}\n";
  }

  void Mesh(const XMesh& m) {
    out_ += "Mesh ";
    Name(m.name);
    out_ += "{\n";
    Int(static_cast<std::uint32_t>(m.vertices.size() / 3));
    out_ += ";\n";
    List(m.vertices, 3, [&](float v) { Num(v); });
    Int(m.faceCount);
    out_ += ";\n";
    Faces(m.faces);
    if (!m.normalFaces.empty()) {
      out_ += "MeshNormals {\n";
      Int(static_cast<std::uint32_t>(m.normals.size() / 3));
      out_ += ";\n";
      List(m.normals, 3, [&](float v) { Num(v); });
      Int(m.faceCount);
      out_ += ";\n";
      Faces(m.normalFaces);
      out_ += "}\n";
    }
    if (!m.uv.empty()) {
      out_ += "MeshTextureCoords {\n";
      Int(static_cast<std::uint32_t>(m.uv.size() / 2));
      out_ += ";\n";
      List(m.uv, 2, [&](float v) { Num(v); });
      out_ += "}\n";
    }
    if (!m.materials.empty()) {
      out_ += "MeshMaterialList {\n";
      Int(static_cast<std::uint32_t>(m.materials.size()));
      out_ += ";\n";
      Int(static_cast<std::uint32_t>(m.faceMaterials.size()));
      out_ += ";\n";
      for (std::size_t i = 0; i < m.faceMaterials.size(); ++i) {
        Int(m.faceMaterials[i]);
        out_ += i + 1 < m.faceMaterials.size() ? ",\n" : ";\n";
      }
      out_ += ";\n";
      for (std::uint32_t k : m.materials) Material(doc_->materials[k]);
      out_ += "}\n";
    }
    out_ += "}\n";
  }

  void Frame(const XFrame& f) {
    out_ += "Frame ";
    Name(f.name);
    out_ += "{\n";
    if (f.hasMatrix) {
      out_ += "FrameTransformMatrix {\n";
      for (std::size_t i = 0; i < f.matrix.size(); ++i) {
        Num(f.matrix[i]);
        out_ += i + 1 < f.matrix.size() ? "," : ";;\n";
      }
      out_ += "}\n";
    }
    for (const XMesh& m : f.meshes) Mesh(m);
    for (const XFrame& c : f.children) Frame(c);
    out_ += "}\n";
  }

  const XDocument* doc_ = nullptr;
  std::string out_;
};

}  // namespace

std::string WriteXText(const XDocument& doc) { return Writer().Run(doc); }

}  // namespace veltrane::rm
