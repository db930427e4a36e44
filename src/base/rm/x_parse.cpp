// The ".x" grammar as far as the program uses it: frames with their matrices,
// meshes with normals, texture coordinates and materials. Every other data
// object is read over (its braces must balance) and left out of the document.

#include <cfloat>
#include <cmath>
#include <map>

#include "base/rm/x_document.h"
#include "base/rm/x_tokens.h"

namespace veltrane::rm {
namespace {

constexpr int kMaxDepth = 64;
constexpr std::size_t kMaxQuoted = 40;
constexpr std::size_t kMaxTextureName = 1024;

std::string Quoted(std::string_view s) {
  if (s.size() <= kMaxQuoted) return "\"" + std::string(s) + "\"";
  return "\"" + std::string(s.substr(0, kMaxQuoted)) + "...\"";
}

class Parser {
 public:
  Parser(std::string_view bytes, bool binary, bool doubles)
      : t_(bytes, binary, doubles), size_(bytes.size()) {}

  XDocument Run() {
    for (;;) {
      SkipSeparators();
      const XToken& p = t_.Peek();
      if (p.kind == XToken::End) break;
      if (p.kind != XToken::Name) t_.Fail("a data object was expected here");
      DataObject(doc_.root, nullptr, 0);
    }
    return std::move(doc_);
  }

 private:
  void SkipSeparators() {
    while (t_.Peek().kind == XToken::Separator) t_.Next();
  }

  void Expect(XToken::Kind kind, const char* what) {
    SkipSeparators();
    if (t_.Peek().kind != kind) t_.Fail(std::string(what) + " was expected here");
    t_.Next();
  }

  double Number(const char* what) {
    SkipSeparators();
    const XToken t = t_.Next();
    if (t.kind != XToken::Integer && t.kind != XToken::Float)
      t_.Fail(std::string("a number (") + what + ") was expected here");
    return t.number;
  }

  float Float(const char* what) {
    const double v = Number(what);
    if (!(std::fabs(v) <= FLT_MAX))
      t_.Fail(std::string("the number for ") + what + " is out of range");
    return static_cast<float>(v);
  }

  std::uint32_t Count(const char* what) {
    SkipSeparators();
    const XToken t = t_.Next();
    if (t.kind != XToken::Integer)
      t_.Fail(std::string("a whole number (") + what + ") was expected here");
    if (t.negative && t.number != 0) t_.Fail(std::string(what) + " " + Written(t) + " is negative");
    // Every element takes at least one byte of the file.
    if (t.number > static_cast<double>(size_))
      t_.Fail(std::string(what) + " " + Written(t) + " is more than the file can hold");
    return static_cast<std::uint32_t>(t.number);
  }

  static std::string Written(const XToken& t) {
    return t.text.empty() ? std::to_string(static_cast<std::uint64_t>(t.number))
                          : std::string(t.text.substr(0, kMaxQuoted));
  }

  // An index into a table of `size` entries.
  std::uint32_t Index(const char* what, std::uint32_t size, const char* table) {
    SkipSeparators();
    const XToken t = t_.Next();
    if (t.kind != XToken::Integer)
      t_.Fail(std::string("a whole number (") + what + ") was expected here");
    if ((t.negative && t.number != 0) || t.number >= size) {
      t_.Fail(std::string(what) + " " + Written(t) + " is outside the " + std::to_string(size) +
              " " + table);
    }
    return static_cast<std::uint32_t>(t.number);
  }

  void Enter(int depth) {
    if (depth > kMaxDepth) t_.Fail("data objects nested too deeply");
  }

  // The opening of a data object after its type word: optional name, "{", optional GUID.
  std::string Opening() {
    std::string name;
    if (t_.Peek().kind == XToken::Name) name = std::string(t_.Next().text);
    if (t_.Peek().kind != XToken::Open) t_.Fail("\"{\" was expected here");
    t_.Next();
    if (t_.Peek().kind == XToken::Guid) t_.Next();
    return name;
  }

  void Closing(const std::string& type) {
    SkipSeparators();
    if (t_.Peek().kind != XToken::Close)
      t_.Fail("the " + type + " holds more than it should; \"}\" was expected");
    t_.Next();
  }

  // Reads over the rest of an object whose "{" has been taken.
  void SkipBody(int depth) {
    Enter(depth);
    for (;;) {
      const XToken t = t_.Next();
      if (t.kind == XToken::End) t_.Fail("the file ends inside a data object");
      if (t.kind == XToken::Close) return;
      if (t.kind == XToken::Open) SkipBody(depth + 1);
    }
  }

  void Template() {
    t_.Next();  // "template"
    if (t_.Peek().kind != XToken::Name) t_.Fail("a template name was expected here");
    t_.Next();
    if (t_.Peek().kind != XToken::Open) t_.Fail("\"{\" was expected here");
    t_.Next();
    for (;;) {
      const XToken t = t_.Next();
      if (t.kind == XToken::End) t_.Fail("the file ends inside a template");
      if (t.kind == XToken::Open) t_.Fail("a template holds a \"{\"");
      if (t.kind == XToken::Close) return;
    }
  }

  // One data object; the next token is its type word. `mesh` is set inside a mesh.
  void DataObject(XFrame& frame, XMesh* mesh, int depth) {
    Enter(depth);
    const std::string type(t_.Peek().text);
    if (type == "template") {
      if (depth > 0) t_.Fail("a template inside a data object");
      Template();
      return;
    }
    t_.Next();
    if (!mesh && type == "Frame") {
      XFrame child;
      child.name = Opening();
      FrameBody(child, depth + 1);
      frame.children.push_back(std::move(child));
    } else if (!mesh && type == "FrameTransformMatrix" && depth > 0) {
      Opening();
      if (frame.hasMatrix) t_.Fail("a frame with two matrices");
      for (float& m : frame.matrix) m = Float("the frame matrix");
      frame.hasMatrix = true;
      Closing(type);
    } else if (!mesh && type == "Mesh") {
      XMesh m;
      m.name = Opening();
      MeshBody(m, frame, depth + 1);
      if (m.faceCount > 0) frame.meshes.push_back(std::move(m));
    } else if (mesh && type == "MeshNormals") {
      Opening();
      Normals(*mesh);
      Closing(type);
    } else if (mesh && type == "MeshTextureCoords") {
      Opening();
      TextureCoords(*mesh);
      Closing(type);
    } else if (mesh && type == "MeshMaterialList") {
      Opening();
      MaterialList(*mesh, depth + 1);
    } else if (type == "Material") {
      const std::string name = Opening();
      const std::size_t index = MaterialBody(depth + 1);
      if (!name.empty()) named_[name] = index;
    } else {
      Opening();
      SkipBody(depth + 1);
    }
  }

  void FrameBody(XFrame& frame, int depth) {
    for (;;) {
      SkipSeparators();
      const XToken& p = t_.Peek();
      if (p.kind == XToken::Close) {
        t_.Next();
        return;
      }
      if (p.kind == XToken::Open) {  // a reference to another object: no meaning for the picture
        t_.Next();
        SkipBody(depth + 1);
        continue;
      }
      if (p.kind != XToken::Name)
        t_.Fail(p.kind == XToken::End ? "the file ends inside a frame"
                                      : "a data object was expected inside the frame");
      DataObject(frame, nullptr, depth);
    }
  }

  void MeshBody(XMesh& m, XFrame& frame, int depth) {
    const std::uint32_t nv = Count("the vertex count");
    for (std::uint32_t i = 0; i < nv; ++i)
      for (int k = 0; k < 3; ++k) m.vertices.push_back(Float("a vertex"));
    m.faceCount = Count("the face count");
    for (std::uint32_t f = 0; f < m.faceCount; ++f) {
      const std::uint32_t n = Count("the corner count of a face");
      if (n == 0) t_.Fail("face " + std::to_string(f) + " has no corners");
      m.faces.push_back(n);
      for (std::uint32_t c = 0; c < n; ++c)
        m.faces.push_back(Index("vertex index", nv, "vertices"));
    }
    for (;;) {
      SkipSeparators();
      const XToken& p = t_.Peek();
      if (p.kind == XToken::Close) {
        t_.Next();
        break;
      }
      if (p.kind == XToken::Open) {
        t_.Next();
        SkipBody(depth + 1);
        continue;
      }
      if (p.kind != XToken::Name)
        t_.Fail(p.kind == XToken::End ? "the file ends inside a mesh"
                                      : "a data object was expected inside the mesh");
      DataObject(frame, &m, depth);
    }
  }

  void Normals(XMesh& m) {
    if (!m.normalFaces.empty() || !m.normals.empty()) t_.Fail("a mesh with two normal lists");
    const std::uint32_t nn = Count("the normal count");
    for (std::uint32_t i = 0; i < nn; ++i)
      for (int k = 0; k < 3; ++k) m.normals.push_back(Float("a normal"));
    const std::uint32_t nf = Count("the normal face count");
    if (nf != m.faceCount)
      t_.Fail("the normals are given for " + std::to_string(nf) + " faces, the mesh has " +
              std::to_string(m.faceCount));
    std::size_t at = 0;
    for (std::uint32_t f = 0; f < nf; ++f) {
      const std::uint32_t n = Count("the corner count of a normal face");
      if (n != m.faces[at])
        t_.Fail("normal face " + std::to_string(f) + " has " + std::to_string(n) +
                " corners, its face " + std::to_string(m.faces[at]));
      m.normalFaces.push_back(n);
      for (std::uint32_t c = 0; c < n; ++c)
        m.normalFaces.push_back(Index("normal index", nn, "normals"));
      at += n + 1;
    }
    if (nf == 0) m.normals.clear();
  }

  void TextureCoords(XMesh& m) {
    const std::uint32_t n = Count("the texture coordinate count");
    const std::uint32_t nv = static_cast<std::uint32_t>(m.vertices.size() / 3);
    if (n != nv)
      t_.Fail(std::to_string(n) + " texture coordinates for " + std::to_string(nv) + " vertices");
    std::vector<float> uv;
    for (std::uint32_t i = 0; i < 2 * n; ++i) uv.push_back(Float("a texture coordinate"));
    if (m.uv.empty()) m.uv = std::move(uv);  // the first set is the one drawn
  }

  void MaterialList(XMesh& m, int depth) {
    if (!m.faceMaterials.empty() || !m.materials.empty()) t_.Fail("a mesh with two material lists");
    const std::uint32_t nm = Count("the material count");
    const std::uint32_t ni = Count("the count of face materials");
    if (ni != m.faceCount && !(ni == 1 && m.faceCount > 0))
      t_.Fail(std::to_string(ni) + " face materials for " + std::to_string(m.faceCount) + " faces");
    for (std::uint32_t i = 0; i < ni; ++i)
      m.faceMaterials.push_back(Index("material index", nm, "materials"));
    // One index stands for every face.
    if (ni == 1) m.faceMaterials.assign(m.faceCount, m.faceMaterials.front());
    const std::size_t listStart = t_.Peek().where;
    for (;;) {
      SkipSeparators();
      const XToken p = t_.Peek();
      if (p.kind == XToken::Close) {
        t_.Next();
        break;
      }
      if (p.kind == XToken::Open) {
        t_.Next();
        SkipSeparators();
        const XToken ref = t_.Next();
        if (ref.kind != XToken::Name) t_.Fail("a material name was expected in the reference");
        if (t_.Peek().kind == XToken::Guid) t_.Next();
        Expect(XToken::Close, "\"}\"");
        // Only a material defined earlier in the file can be meant.
        const auto it = named_.find(std::string(ref.text));
        if (it == named_.end())
          t_.FailAt(p.where, "the material " + Quoted(ref.text) + " is not defined before its use");
        m.materials.push_back(static_cast<std::uint32_t>(it->second));
        continue;
      }
      if (p.kind != XToken::Name)
        t_.Fail(p.kind == XToken::End ? "the file ends inside a material list"
                                      : "a material was expected here");
      if (p.text == "Material") {
        t_.Next();
        const std::string name = Opening();
        const std::size_t index = MaterialBody(depth + 1);
        if (!name.empty()) named_[name] = index;
        m.materials.push_back(static_cast<std::uint32_t>(index));
      } else {
        t_.Next();
        Opening();
        SkipBody(depth + 1);
      }
    }
    if (m.materials.size() != nm)
      t_.FailAt(listStart, "the material list states " + std::to_string(nm) +
                               " materials and holds " + std::to_string(m.materials.size()));
  }

  std::size_t MaterialBody(int depth) {
    XMaterial mat;
    for (float& c : mat.color) c = Float("a material colour");
    mat.power = Float("the material power");
    for (float& c : mat.specular) c = Float("a material colour");
    for (float& c : mat.emissive) c = Float("a material colour");
    for (;;) {
      SkipSeparators();
      const XToken p = t_.Peek();
      if (p.kind == XToken::Close) {
        t_.Next();
        break;
      }
      if (p.kind != XToken::Name)
        t_.Fail(p.kind == XToken::End ? "the file ends inside a material"
                                      : "a data object was expected inside the material");
      t_.Next();
      Opening();
      if (p.text == "TextureFilename" || p.text == "TextureFileName") {
        SkipSeparators();
        const XToken s = t_.Next();
        if (s.kind != XToken::String) t_.Fail("a texture file name in quotes was expected here");
        if (s.text.size() > kMaxTextureName) t_.Fail("the texture file name is too long");
        if (mat.texture.empty()) mat.texture = std::string(s.text);
        Closing(std::string(p.text));
      } else {
        SkipBody(depth + 1);
      }
    }
    doc_.materials.push_back(std::move(mat));
    return doc_.materials.size() - 1;
  }

  XTokenizer t_;
  std::size_t size_;
  XDocument doc_;
  std::map<std::string, std::size_t> named_;
};

}  // namespace

XDocument ParseXDocument(std::string_view bytes, bool binary, bool doubles) {
  return Parser(bytes, binary, doubles).Run();
}

}  // namespace veltrane::rm
