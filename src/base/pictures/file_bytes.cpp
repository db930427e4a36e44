#include "base/pictures/file_bytes.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "base/pictures/picture.h"

namespace veltrane::pictures {

std::vector<std::uint8_t> ReadFileBytes(const std::string& path, std::uint64_t maxBytes) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec))
    throw PictureError("cannot open picture \"" + path + "\": is a folder");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw PictureError("cannot open picture \"" + path + "\"");
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) throw PictureError("cannot read picture \"" + path + "\"");
  if (static_cast<std::uint64_t>(size) > maxBytes)
    throw PictureError("picture \"" + path + "\" is too large");
  in.seekg(0, std::ios::beg);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size))
    throw PictureError("cannot read picture \"" + path + "\"");
  return bytes;
}

void WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  const std::string tmp = path + ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out) throw PictureError("cannot create picture \"" + path + "\"");
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::remove(tmp.c_str());
      throw PictureError("cannot write picture \"" + path + "\"");
    }
  }
  std::error_code ec;
  std::filesystem::rename(tmp, path, ec);
  if (ec) {
    std::remove(tmp.c_str());
    throw PictureError("cannot write picture \"" + path + "\": " + ec.message());
  }
}

}  // namespace veltrane::pictures
