#pragma once

// Writes landscapes (scene text and pictures) into a temporary folder and loads them.

#include <functional>
#include <optional>
#include <string>

#include "base/pictures/bmp_writer.h"
#include "base/pictures/picture_file.h"
#include "base/rm/root.h"
#include "loaders/scene_file.h"
#include "support/temp_dir.h"

namespace veltrane::loaders::testing {

inline pictures::Picture Grey(int w, int h, std::uint8_t level) {
  return pictures::MakePicture(w, h, level, level, level);
}

// A picture whose red channel is red(x, y).
inline pictures::Picture Pattern(int w, int h, const std::function<int(int, int)>& red) {
  pictures::Picture p = pictures::MakePicture(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.At(x, y)[0] = static_cast<std::uint8_t>(red(x, y));
  return p;
}

inline rm::Root DecodingRoot() { return rm::Root(pictures::LoadTexturePicture); }

struct LoadedScene {
  SceneInfo info;
  HeightGrid grid;
  rm::MeshBuilder sky, terrain;
  SceneBuilds builds;
  ProgramRandom random;
  TraceCapture traces;
};

class SceneFolder {
 public:
  SceneFolder() { Picture("height.bmp", Grey(20, 20, 255)); }

  const std::string& Path() const { return dir_.Path(); }
  std::string Write(const std::string& name, const std::string& text) const {
    return dir_.Write(name, text);
  }
  std::string Picture(const std::string& name, const pictures::Picture& p) const {
    const std::string path = dir_.Write(name, "");
    pictures::WriteBmp(path, p);
    return path;
  }

  // Loads `text` as "scene.scn"; throws what LoadSCN throws.
  void Load(const std::string& text, LoadedScene& out, bool textures = true,
            const std::string& name = "scene.scn") const {
    const std::string file = Write(name, text);
    rm::Root root = DecodingRoot();
    LoadSCN(file, root, textures, out.info, out.grid, out.sky, out.terrain, out.random,
            out.traces.Sink(), &out.builds);
  }

 private:
  test_support::TempDir dir_;
};

// The usual head of a small test landscape: 20 cells of 50 on a side.
inline const char* kSmallScene = "SCENE 500 100 50\n3D_LANDSCAPE HEIGHT\n";

}  // namespace veltrane::loaders::testing
