#include "loaders/x_file.h"

#include <cmath>

#include "loaders/file_names.h"
#include "loaders/load_error.h"
#include "loaders/par_file.h"
#include "loaders/text_reader.h"

namespace veltrane::loaders {

void LoadX(const std::string& fileName, rm::Root& root, rm::MeshBuilder& target, SimState& s,
           const Trace& trace) {
  trace("LoadLib.LoadX File: " + fileName + "\r\n");
  root.SetSearchPath(FolderOf(ResolveCaseInsensitive(fileName)));
  std::string why;
  // Silently keeping an empty model would hide a broken file from its author.
  if (!target.Load(fileName, root, &why))
    throw LoadError("Error: cannot load " + fileName + ": " + TextReader::Excerpt(why));
  s.GroundClearance = std::abs(static_cast<double>(target.GetBox().min.y));
  LoadPAR(s, ChangeExtension(fileName, ".PAR"), trace);
}

}  // namespace veltrane::loaders
