#include "base/rm/x_file_check.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <vector>

#include "base/rm/x_document.h"
#include "base/rm/x_tokens.h"

namespace veltrane::rm {
namespace {

constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kMaxInflatedSize = std::size_t{64} << 20;

bool Fail(std::string* error, const std::string& why) {
  if (error) *error = why;
  return false;
}

std::uint32_t U32(const std::string& b, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}
std::uint16_t U16(const std::string& b, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                    static_cast<unsigned char>(b[at + 1]) << 8);
}

// MSZIP: blocks of deflate data, each using the previous block's output as dictionary.
bool Inflate(const std::string& b, std::string& out, std::string* error) {
  if (b.size() < kHeaderSize + 4) return Fail(error, "the compressed file is too short");
  const std::uint64_t total = U32(b, kHeaderSize);
  if (total < kHeaderSize || total > kMaxInflatedSize)
    return Fail(error, "the compressed file states an absurd size");
  out.assign(b, 0, kHeaderSize);
  out.reserve(static_cast<std::size_t>(total));
  std::size_t i = kHeaderSize + 4;
  std::string previous;
  while (i + 4 <= b.size() && out.size() < total) {
    const std::size_t plain = U16(b, i);
    const std::size_t packed = U16(b, i + 2);
    i += 4;
    if (packed < 2 || packed > b.size() - i || b.compare(i, 2, "CK") != 0)
      return Fail(error, "a compressed block is damaged");
    if (out.size() + plain > total) return Fail(error, "the compressed data is larger than stated");
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return Fail(error, "cannot inflate");
    if (!previous.empty())
      inflateSetDictionary(&z, reinterpret_cast<const Bytef*>(previous.data()),
                           static_cast<uInt>(previous.size()));
    std::string block(plain, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(b.data() + i + 2));
    z.avail_in = static_cast<uInt>(packed - 2);
    z.next_out = reinterpret_cast<Bytef*>(block.data());
    z.avail_out = static_cast<uInt>(plain);
    const int rc = inflate(&z, Z_FINISH);
    const bool ok = (rc == Z_STREAM_END || rc == Z_OK || rc == Z_BUF_ERROR) && z.avail_out == 0;
    inflateEnd(&z);
    if (!ok) return Fail(error, "a compressed block is damaged");
    out += block;
    previous = std::move(block);
    i += packed;
  }
  if (out.size() != total) return Fail(error, "the compressed file ends early");
  return true;
}

bool HasFaces(const XFrame& f) {
  for (const XMesh& m : f.meshes)
    if (m.faceCount > 0) return true;
  for (const XFrame& c : f.children)
    if (HasFaces(c)) return true;
  return false;
}

// Header bytes as they may be quoted in a message.
std::string Printable(const std::string& s) {
  std::string out;
  for (char c : s) out += c >= 32 && c < 127 && c != '"' ? c : '?';
  return out;
}

}  // namespace

std::optional<std::string> CheckXFile(std::string bytes, std::string* error) {
  if (bytes.size() < kHeaderSize || bytes.compare(0, 4, "xof ") != 0) {
    Fail(error, "not a .x file");
    return std::nullopt;
  }
  const std::string format = bytes.substr(8, 4);
  const std::string floats = bytes.substr(12, 4);
  if (floats != "0032" && floats != "0064") {
    Fail(error, "unknown .x number size \"" + Printable(floats) + "\"");
    return std::nullopt;
  }
  if (format == "tzip" || format == "bzip") {
    std::string plain;
    if (!Inflate(bytes, plain, error)) return std::nullopt;
    bytes = std::move(plain);
  } else if (format != "txt " && format != "bin ") {
    Fail(error, "unknown .x format \"" + Printable(format) + "\"");
    return std::nullopt;
  }
  try {
    const XDocument doc =
        ParseXDocument(bytes, format == "bin " || format == "bzip", floats == "0064");
    if (!HasFaces(doc.root)) {
      Fail(error, "the file holds no faces");
      return std::nullopt;
    }
    return WriteXText(doc);
  } catch (const XSyntaxError& e) {
    Fail(error, e.message);
    return std::nullopt;
  }
}

}  // namespace veltrane::rm
