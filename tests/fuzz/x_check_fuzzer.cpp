// Feeds arbitrary bytes to the ".x" check and, where it accepts them, to the
// importer and the mesh builder behind it, exactly as a model load does.
// Besides crashes it stops on two broken promises: text the check wrote that
// the check itself refuses, and an accepted file the importer cannot read.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "base/rm/mesh_builder.h"
#include "base/rm/root.h"
#include "base/rm/x_file_check.h"

// The importer keeps a few hundred bytes of logging state per process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libassimp.so\n"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace veltrane::rm;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::string error;
  const std::optional<std::string> text = CheckXFile(bytes, &error);
  if (!text) return 0;

  std::string again;
  const std::optional<std::string> twice = CheckXFile(*text, &again);
  if (!twice || *twice != *text) {
    std::fprintf(stderr, "the check refuses or changes its own text: %s\n", again.c_str());
    std::abort();
  }

  Root root([](const std::string&) -> std::optional<Picture> { return std::nullopt; });
  root.SetSearchPath("/nonexistent-fuzz-textures");
  MeshBuilder mb;
  if (!mb.LoadX(bytes, root, &error) && error.find("out of range") == std::string::npos) {
    std::fprintf(stderr, "accepted by the check, refused behind it: %s\n", error.c_str());
    std::abort();
  }
  return 0;
}
