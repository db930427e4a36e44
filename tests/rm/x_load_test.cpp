#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "base/rm/mesh_builder.h"
#include "base/rm/root.h"
#include "base/rm/x_file_check.h"
#include "support/temp_dir.h"

// The importer leaks a few hundred bytes when it gives up on a damaged file;
// that is its own, not ours, so the leak checker is told to skip it.
extern "C" const char* __lsan_default_suppressions() { return "leak:libassimp.so\n"; }

namespace veltrane::rm {
namespace {

const std::string kModels = "/usr/share/assimp/models/X/";

// The vertex and face counts the text file states for its first mesh.
std::pair<std::size_t, std::size_t> StatedCounts(const std::string& path) {
  std::ifstream in(path);
  std::stringstream ss;
  ss << in.rdbuf();
  const std::string text = ss.str();
  const auto mesh = text.find("Mesh ");
  if (mesh == std::string::npos) return {0, 0};
  std::istringstream body(text.substr(text.find('{', mesh) + 1));
  std::size_t vertices = 0, faces = 0;
  char semicolon = 0;
  body >> vertices >> semicolon;
  std::string line;
  std::getline(body, line);
  for (std::size_t i = 0; i < vertices; ++i) std::getline(body, line);
  body >> faces;
  return {vertices, faces};
}

TEST(XLoad, ForeignCubeTextAndBinaryGiveTheStatedCounts) {
  const std::string text = kModels + "test_cube_text.x";
  if (!std::filesystem::exists(text)) GTEST_SKIP() << "assimp test models not installed";
  const auto [vertices, faces] = StatedCounts(text);
  ASSERT_EQ(vertices, 24u);  // sanity of the count reader
  ASSERT_EQ(faces, 12u);

  Root root;
  MeshBuilder fromText;
  std::string error;
  ASSERT_TRUE(fromText.Load(text, root, &error)) << error;
  EXPECT_EQ(fromText.Vertices().size(), vertices);
  EXPECT_EQ(fromText.FaceCount(), faces);
  EXPECT_EQ(fromText.Normals().size(), vertices);

  for (const char* twin : {"test_cube_binary.x", "test_cube_compressed.x"}) {
    MeshBuilder other;
    ASSERT_TRUE(other.Load(kModels + twin, root, &error)) << twin << ": " << error;
    ASSERT_EQ(other.Vertices().size(), fromText.Vertices().size()) << twin;
    ASSERT_EQ(other.FaceCount(), fromText.FaceCount()) << twin;
    for (std::size_t i = 0; i < other.Vertices().size(); ++i) {
      EXPECT_NEAR(other.Vertices()[i].x, fromText.Vertices()[i].x, 1e-5) << twin;
      EXPECT_NEAR(other.Vertices()[i].y, fromText.Vertices()[i].y, 1e-5) << twin;
      EXPECT_NEAR(other.Vertices()[i].z, fromText.Vertices()[i].z, 1e-5) << twin;
    }
  }
  const Box box = fromText.GetBox();
  EXPECT_NEAR(box.min.y, -1.0f, 1e-5);
  EXPECT_NEAR(box.max.x, 1.0f, 1e-5);
}

TEST(XLoad, ForeignCubeFacesPointOutward) {
  const std::string text = kModels + "test_cube_text.x";
  if (!std::filesystem::exists(text)) GTEST_SKIP() << "assimp test models not installed";
  Root root;
  MeshBuilder mb;
  ASSERT_TRUE(mb.Load(text, root));
  for (const Face& f : mb.Faces()) {
    ASSERT_EQ(f.corners.size(), 3u);
    const Vector a = mb.Vertices()[f.corners[0].vertex];
    const Vector b = mb.Vertices()[f.corners[1].vertex];
    const Vector c = mb.Vertices()[f.corners[2].vertex];
    // (b - a) x (c - a) is the outward normal of a clockwise face in this layer.
    const Vector e1{b.x - a.x, b.y - a.y, b.z - a.z}, e2{c.x - a.x, c.y - a.y, c.z - a.z};
    const Vector n{e1.y * e2.z - e1.z * e2.y, e1.z * e2.x - e1.x * e2.z, e1.x * e2.y - e1.y * e2.x};
    const Vector centre{(a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3, (a.z + b.z + c.z) / 3};
    // (The file's own normals are not checked: its x faces carry inward ones.)
    EXPECT_GT(n.x * centre.x + n.y * centre.y + n.z * centre.z, 0.0f);
  }
}

const char* kOwnFile = R"(xof 0303txt 0032
Material Red {
 1.0;0.0;0.0;0.5;;
 12.0;
 0.5;0.25;0.5;;
 0.1;0.0;0.0;;
 TextureFilename { "TEX.bmp"; }
}
Frame Body {
 FrameTransformMatrix {
  1.0,0.0,0.0,0.0, 0.0,1.0,0.0,0.0, 0.0,0.0,1.0,0.0, 10.0,0.0,0.0,1.0;;
 }
 Mesh Plate {
  4;
  1.0;2.0;3.0;,
  4.0;2.0;3.0;,
  1.0;5.0;3.0;,
  4.0;5.0;3.0;;
  2;
  3;0,1,2;,
  4;1,3,2,0;;
  MeshMaterialList { 1; 2; 0,0;; {Red} }
  MeshTextureCoords { 4; 0.0;0.0;, 1.0;0.0;, 0.0;0.25;, 1.0;1.0;; }
 }
}
)";

TEST(XLoad, FileNumbersAreKeptAsWritten) {
  test_support::TempDir dir;
  const std::string path = dir.Write("model.x", kOwnFile);
  dir.Write("tex.BMP", "t");
  std::vector<std::string> decoded;
  Root root([&](const std::string& p) -> std::optional<Picture> {
    decoded.push_back(p);
    return Picture{1, 1, {255, 255, 255, 255}};
  });
  root.SetSearchPath(dir.Path());
  MeshBuilder mb;
  std::string error;
  ASSERT_TRUE(mb.Load(path, root, &error)) << error;

  ASSERT_EQ(mb.Vertices().size(), 4u);
  // (1, 2, 3) moved by the frame's x translation of 10, no axis changed.
  EXPECT_EQ(mb.Vertices()[0], (Vector{11, 2, 3}));
  EXPECT_EQ(mb.Vertices()[3], (Vector{14, 5, 3}));
  ASSERT_EQ(mb.FaceCount(), 2u);
  const Face& tri = mb.Faces()[0];
  ASSERT_EQ(tri.corners.size(), 3u);
  EXPECT_EQ(tri.corners[1].vertex, 1u);  // corner order as in the file
  EXPECT_EQ(tri.corners[2].vertex, 2u);
  EXPECT_EQ(tri.corners[2].u, 0.0f);
  EXPECT_EQ(tri.corners[2].v, 0.25f);  // v as written, not flipped
  const Face& quad = mb.Faces()[1];
  ASSERT_EQ(quad.corners.size(), 4u);
  EXPECT_EQ(quad.corners[1].vertex, 3u);
  EXPECT_EQ(quad.color, PackARGB(127, 255, 0, 0));
  ASSERT_TRUE(quad.material);
  EXPECT_EQ(quad.material->power, 12.0f);
  EXPECT_EQ(quad.material->specular, (ColorRGB{0.5f, 0.25f, 0.5f}));
  EXPECT_EQ(quad.material->emissive.r, 0.1f);
  ASSERT_TRUE(quad.texture);
  EXPECT_EQ(decoded, std::vector<std::string>{dir.Path() + "/tex.BMP"});
  // No normals in the file: generated from the winding, (b - a) x (c - a) = +z here.
  const Vector n = mb.Normals()[tri.corners[0].normal];
  EXPECT_NEAR(n.z, 1.0f, 1e-5);
}

TEST(XLoad, UnreadableFilesLeaveTheBuilderUnchanged) {
  test_support::TempDir dir;
  Root root;
  MeshBuilder mb;
  mb.AddFaces(std::vector<Vector>{{0, 0, 0}}, std::vector<Vector>{{0, 1, 0}},
              std::vector<std::uint32_t>{1, 0, 0, 0});
  const auto generation = mb.Generation();
  std::string error;
  EXPECT_FALSE(mb.Load(dir.Path() + "/missing.x", root, &error));
  EXPECT_FALSE(error.empty());

  const std::string full = kOwnFile;
  for (const std::string& bad :
       {std::string("not an x file at all"), full.substr(0, full.size() / 2),
        std::string("xof 0303txt 0032\nMesh M { 2000000000; 1.0;2.0;3.0;;\n 0;; }\n"),
        std::string("xof 0303bin 0032\x01\x02\x03", 19)}) {
    const std::string path = dir.Write("bad.x", bad);
    error.clear();
    EXPECT_FALSE(mb.Load(path, root, &error)) << bad.substr(0, 40);
  }
  EXPECT_EQ(mb.Generation(), generation);
  EXPECT_EQ(mb.Vertices().size(), 1u);
}

TEST(XLoad, EverySampleFileNobodyHereWroteLoads) {
  if (!std::filesystem::exists(kModels)) GTEST_SKIP() << "assimp test models not installed";
  int loaded = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kModels)) {
    std::string ext = entry.path().extension().string();
    if (ext != ".x" && ext != ".X") continue;
    Root root;
    MeshBuilder mb;
    std::string error;
    EXPECT_TRUE(mb.Load(entry.path().string(), root, &error)) << entry.path() << ": " << error;
    EXPECT_GT(mb.FaceCount(), 0u) << entry.path();
    ++loaded;
  }
  EXPECT_GE(loaded, 4);
}

void Token(std::string& b, std::uint16_t t) { b.append(reinterpret_cast<const char*>(&t), 2); }
void Word(std::string& b, std::uint32_t w) { b.append(reinterpret_cast<const char*>(&w), 4); }

// A triangle with one normal; the pieces are replaced one by one below.
std::string Triangle(const std::string& faces, const std::string& extra) {
  return "xof 0303txt 0032\nMesh T {\n 3;\n 0.0;0.0;0.0;,\n 1.0;0.0;0.0;,\n 0.0;1.0;0.0;;\n 1;\n " +
         faces + "\n" + extra + "}\n";
}

TEST(XFileCheck, EveryIndexAndCountIsCheckedAgainstItsTable) {
  const std::string normals = " MeshNormals {\n 1;\n 0.0;0.0;1.0;;\n 1;\n 3;0,0,0;;\n }\n";
  struct Case {
    std::string file;
    std::string expected;  // part of the message; empty: accepted
  };
  const Case cases[] = {
      {Triangle("3;0,1,2;;", normals), ""},
      {Triangle("3;0,1,2;;", " MeshNormals {\n 1;\n 0.0;0.0;1.0;;\n 1;\n 3;-1,0,0;;\n }\n"),
       "line 13: normal index -1 is outside the 1 normals"},
      {Triangle("3;0,1,2;;", " MeshNormals {\n 1;\n 0.0;0.0;1.0;;\n 1;\n 3;0,65536,0;;\n }\n"),
       "normal index 65536"},
      {Triangle("3;0,1,2;;", " MeshNormals {\n 1;\n 0.0;0.0;1.0;;\n 1;\n 3;0,0,4294967295;;\n }\n"),
       "normal index 4294967295 is outside"},
      {Triangle("3;0,1,3;;", ""), "line 8: vertex index 3 is outside the 3 vertices"},
      {Triangle("3;0,1,2;;", " MeshNormals {\n 1;\n 0.0;0.0;1.0;;\n 1;\n 4;0,0,0,0;;\n }\n"),
       "has 4 corners, its face 3"},
      {Triangle("3;0,1,2;;",
                " MeshNormals {\n 1;\n 0.0;0.0;1.0;;\n 2;\n 3;0,0,0;,\n 3;0,0,0;;\n }\n"),
       "normals are given for 2 faces, the mesh has 1"},
      {Triangle("3;0,1,2;;", " MeshTextureCoords { 2; 0.0;0.0;, 1.0;1.0;; }\n"),
       "2 texture coordinates for 3 vertices"},
      {Triangle("3;0,1,2;;",
                " MeshMaterialList { 1; 1; 1;; Material { 1.0;0.0;0.0;1.0;; 0.0; 0.0;0.0;0.0;; "
                "0.0;0.0;0.0;; } }\n"),
       "material index 1 is outside the 1 materials"},
      {Triangle("3;0,1,2;;",
                " MeshMaterialList { 2; 1; 0;; Material { 1.0;0.0;0.0;1.0;; 0.0; 0.0;0.0;0.0;; "
                "0.0;0.0;0.0;; } }\n"),
       "states 2 materials and holds 1"},
      {Triangle("3;0,1,2;;", " MeshMaterialList { 1; 1; 0;; { Nowhere } }\n"),
       "\"Nowhere\" is not defined"},
      {Triangle("0;;", ""), "face 0 has no corners"},
      {Triangle("3;0,1,2;;", " Unknown { 1; { 2; } \n"), "ends inside a mesh"},
      {Triangle("3;0,1,2.5;;", ""), "a whole number (vertex index) was expected"},
      {"xof 0303txt 0032\nMesh M {\n 2000000000;\n 1.0;2.0;3.0;;\n 0;;\n}\n",
       "line 3: the vertex count 2000000000 is more"},
      {"xof 0303txt 0032\nMesh M { 3; 1e39;0;0;, 0;0;0;, 0;0;0;; 1; 3;0,1,2;; }", "out of range"},
      {"xof 0303txt 0032\nFrame F { FrameTransformMatrix { 1.0; } }",
       "a number (the frame matrix)"},
      {"xof 0303txt 0032\n" + std::string(200, '{'), "a data object was expected"},
      {"xof 0303txt 0032\n" +
           [] {
             std::string deep;
             for (int i = 0; i < 100; ++i) deep += "Frame {";
             return deep;
           }(),
       "nested too deeply"},
      {"xof 0303txt 0032\nMesh M 3;", "\"{\" was expected"},
      {"xof 0303txt 0032\nMesh M { 0;; 0;; }", "holds no faces"},
      {"xof 0303zzz 0032", "unknown .x format"},
      {"short", "not a .x file"},
  };
  for (const Case& c : cases) {
    std::string error;
    const auto out = CheckXFile(c.file, &error);
    if (c.expected.empty()) {
      EXPECT_TRUE(out) << c.file << "\n" << error;
    } else {
      EXPECT_FALSE(out) << c.file;
      EXPECT_NE(error.find(c.expected), std::string::npos) << c.file << "\n-> " << error;
      EXPECT_LE(error.size(), 160u) << error;
    }
  }
}

TEST(XFileCheck, BinaryAndCompressedFilesAreCheckedAlike) {
  std::string error;
  // A name, a brace and a one-element integer list holding the vertex count.
  std::string bin = "xof 0303bin 0032";
  Token(bin, 1);
  Word(bin, 4);
  bin += "Mesh";
  Token(bin, 0x0A);
  Token(bin, 6);
  Word(bin, 1);
  Word(bin, 2000000000u);
  Token(bin, 0x0B);
  EXPECT_FALSE(CheckXFile(bin, &error));
  EXPECT_NE(error.find("byte "), std::string::npos) << error;

  // A triangle whose face names vertex 7 of 3.
  std::string tri = "xof 0303bin 0032";
  Token(tri, 1);
  Word(tri, 4);
  tri += "Mesh";
  Token(tri, 0x0A);
  Token(tri, 6);
  Word(tri, 1);
  Word(tri, 3);
  Token(tri, 7);
  Word(tri, 9);
  for (float f : {0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 0.f, 1.f, 0.f})
    tri.append(reinterpret_cast<const char*>(&f), 4);
  Token(tri, 6);
  Word(tri, 5);
  for (std::uint32_t w : {1u, 3u, 0u, 1u, 7u}) Word(tri, w);
  Token(tri, 0x0B);
  EXPECT_FALSE(CheckXFile(tri, &error));
  EXPECT_NE(error.find("vertex index 7 is outside the 3 vertices"), std::string::npos) << error;

  // A list that claims more elements than the file holds.
  std::string shortList = "xof 0303bin 0032";
  Token(shortList, 7);
  Word(shortList, 0x40000000u);
  EXPECT_FALSE(CheckXFile(shortList, &error));

  // Compressed file stating an absurd size, and one with a damaged block.
  std::string zip = "xof 0303bzip0032";
  Word(zip, 0xFFFFFFF0u);
  EXPECT_FALSE(CheckXFile(zip, &error));
  std::string damaged = "xof 0303bzip0032";
  Word(damaged, 100);
  Word(damaged, 0x00100054u);  // 84 bytes plain, 16 packed
  damaged += "CK" + std::string(14, '\xFF');
  EXPECT_FALSE(CheckXFile(damaged, &error));
}

TEST(XLoad, AFaceNamingAMissingNormalIsRefusedWithItsLine) {
  test_support::TempDir dir;
  const std::string path = dir.Write(
      "bad.x",
      Triangle("3;0,1,2;;", " MeshNormals {\n 1;\n 0.0;0.0;1.0;;\n 1;\n 3;-1,0,0;;\n }\n"));
  Root root;
  MeshBuilder mb;
  std::string error;
  EXPECT_FALSE(mb.Load(path, root, &error));
  EXPECT_NE(error.find("line 13"), std::string::npos) << error;
  EXPECT_EQ(mb.FaceCount(), 0u);
}

}  // namespace
}  // namespace veltrane::rm
