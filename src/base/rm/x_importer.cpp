#include "base/rm/x_importer.h"

#include <dlfcn.h>

#include <optional>

namespace veltrane::rm {
namespace {

struct Opened {
  std::optional<XImporter> importer;
  std::string error;
};

template <typename Fn>
bool Resolve(void* library, const char* name, Fn& fn, std::string& error) {
  fn = reinterpret_cast<Fn>(dlsym(library, name));
  if (!fn) error = std::string("the .x importer has no ") + name;
  return fn != nullptr;
}

Opened Open() {
  Opened o;
  // Never closed: the scenes it made are released through it until the end.
  void* library = dlopen(VELTRANE_ASSIMP_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char* why = dlerror();
    o.error = std::string("cannot open the .x importer: ") + (why ? why : VELTRANE_ASSIMP_LIBRARY);
    return o;
  }
  XImporter x{};
  if (Resolve(library, "aiImportFileFromMemory", x.importFromMemory, o.error) &&
      Resolve(library, "aiReleaseImport", x.release, o.error) &&
      Resolve(library, "aiGetErrorString", x.lastError, o.error) &&
      Resolve(library, "aiGetMaterialColor", x.materialColor, o.error) &&
      Resolve(library, "aiGetMaterialFloatArray", x.materialFloats, o.error) &&
      Resolve(library, "aiGetMaterialTexture", x.materialTexture, o.error))
    o.importer = x;
  return o;
}

}  // namespace

const XImporter* OpenXImporter(std::string* error) {
  static const Opened opened = Open();  // thread-safe, once
  if (!opened.importer && error) *error = opened.error;
  return opened.importer ? &*opened.importer : nullptr;
}

}  // namespace veltrane::rm
