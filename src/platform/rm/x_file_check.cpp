#include "platform/rm/x_file_check.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <vector>

namespace veltrane::rm {
namespace {

constexpr std::size_t kHeaderSize = 16;
// No count may exceed this or the file's own size, whichever is larger.
constexpr std::uint64_t kMinCountLimit = 1'000'000;
constexpr std::size_t kMaxInflatedSize = std::size_t{256} << 20;

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

// The whole numbers that state sizes must stay below the limit. Those are the
// ones a list does not continue into: a count or field ends with ";" and is not
// preceded by ","; list elements (vertex data of DeclData can be any 32-bit
// pattern) are left alone.
bool CheckText(const std::string& b, std::uint64_t limit, std::string* error) {
  std::size_t i = kHeaderSize;
  while (i < b.size()) {
    const char c = b[i];
    if (c == '"') {
      const auto end = b.find('"', i + 1);
      i = end == std::string::npos ? b.size() : end + 1;
    } else if (c == '<') {
      const auto end = b.find('>', i + 1);
      i = end == std::string::npos ? b.size() : end + 1;
    } else if (c == '#' || (c == '/' && i + 1 < b.size() && b[i + 1] == '/')) {
      const auto end = b.find('\n', i);
      i = end == std::string::npos ? b.size() : end + 1;
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      const std::size_t start = i;
      while (i < b.size() && std::isdigit(static_cast<unsigned char>(b[i]))) ++i;
      const bool partOfWord = start > 0 && (std::isalpha(static_cast<unsigned char>(b[start - 1])) || b[start - 1] == '_' ||
                                            b[start - 1] == '.');
      const bool fraction = i < b.size() && (b[i] == '.' || b[i] == 'e' || b[i] == 'E' || std::isalpha(static_cast<unsigned char>(b[i])) || b[i] == '_');
      if (partOfWord || fraction) {
        while (i < b.size() && (std::isalnum(static_cast<unsigned char>(b[i])) || b[i] == '.' || b[i] == '_')) ++i;
        continue;
      }
      std::size_t before = start;
      while (before > 0 && std::isspace(static_cast<unsigned char>(b[before - 1]))) --before;
      if (before > 0 && b[before - 1] == '-') --before;
      while (before > 0 && std::isspace(static_cast<unsigned char>(b[before - 1]))) --before;
      std::size_t after = i;
      while (after < b.size() && std::isspace(static_cast<unsigned char>(b[after]))) ++after;
      const bool listElement = (before > 0 && b[before - 1] == ',') || after >= b.size() || b[after] != ';';
      if (listElement) continue;
      if (i - start > 18) return Fail(error, "a count in the file is out of range");
      const std::uint64_t v = std::stoull(b.substr(start, i - start));
      if (v > limit) return Fail(error, "the file states a count of " + std::to_string(v) + ", more than it can hold");
    } else {
      ++i;
    }
  }
  return true;
}

// Walks the binary token stream; list lengths must fit the file, integers the limit.
bool CheckBinary(const std::string& b, std::uint64_t limit, std::size_t floatSize, std::string* error) {
  std::size_t i = kHeaderSize;
  const auto need = [&](std::uint64_t n) { return n <= b.size() - i; };
  // Raw vertex data (DeclData) holds arbitrary 32-bit patterns, not counts.
  std::string lastName;
  std::vector<bool> rawData;
  const auto checking = [&] { return std::find(rawData.begin(), rawData.end(), true) == rawData.end(); };
  while (i < b.size()) {
    if (!need(2)) return Fail(error, "the file ends inside a token");
    const std::uint16_t token = U16(b, i);
    i += 2;
    switch (token) {
      case 1:  // name
      case 2: {  // string, followed by its terminator token
        if (!need(4)) return Fail(error, "the file ends inside a name");
        const std::uint32_t n = U32(b, i);
        i += 4;
        if (!need(n + (token == 2 ? 2u : 0u))) return Fail(error, "a name runs past the end of the file");
        if (token == 1) lastName = b.substr(i, n);
        i += n + (token == 2 ? 2u : 0u);
        break;
      }
      case 3: {  // integer
        if (!need(4)) return Fail(error, "the file ends inside a number");
        if (checking() && U32(b, i) > limit) return Fail(error, "the file states a count out of range");
        i += 4;
        break;
      }
      case 5:  // GUID
        if (!need(16)) return Fail(error, "the file ends inside a GUID");
        i += 16;
        break;
      case 6:    // integer list
      case 7: {  // float list
        if (!need(4)) return Fail(error, "the file ends inside a list");
        const std::uint64_t n = U32(b, i);
        i += 4;
        const std::uint64_t bytes = n * (token == 6 ? 4u : floatSize);
        if (!need(bytes)) return Fail(error, "a list runs past the end of the file");
        if (token == 6 && checking())
          for (std::uint64_t k = 0; k < n; ++k)
            if (U32(b, i + 4 * k) > limit) return Fail(error, "the file states a count out of range");
        i += bytes;
        break;
      }
      case 0x0A:  // opening brace
        rawData.push_back(lastName == "DeclData");
        lastName.clear();
        break;
      case 0x0B:  // closing brace
        if (!rawData.empty()) rawData.pop_back();
        break;
      default:
        // Punctuation and type words carry no data.
        if ((token >= 0x0A && token <= 0x14) || token == 0x1F || (token >= 0x28 && token <= 0x34)) break;
        return Fail(error, "unknown token " + std::to_string(token) + " in the binary file");
    }
  }
  return true;
}

// MSZIP: blocks of deflate data, each using the previous block's output as dictionary.
bool Inflate(const std::string& b, std::string& out, std::string* error) {
  if (b.size() < kHeaderSize + 4) return Fail(error, "the compressed file is too short");
  const std::uint64_t total = U32(b, kHeaderSize);
  if (total < kHeaderSize || total > kMaxInflatedSize) return Fail(error, "the compressed file states an absurd size");
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
      inflateSetDictionary(&z, reinterpret_cast<const Bytef*>(previous.data()), static_cast<uInt>(previous.size()));
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

}  // namespace

std::optional<std::string> CheckXFile(std::string bytes, std::string* error) {
  if (bytes.size() < kHeaderSize || bytes.compare(0, 4, "xof ") != 0) {
    Fail(error, "not a .x file");
    return std::nullopt;
  }
  const std::string format = bytes.substr(8, 4);
  const std::size_t floatSize = bytes.compare(12, 4, "0064") == 0 ? 8 : 4;
  if (format == "tzip" || format == "bzip") {
    std::string plain;
    if (!Inflate(bytes, plain, error)) return std::nullopt;
    plain.replace(8, 4, format == "tzip" ? "txt " : "bin ");
    bytes = std::move(plain);
  } else if (format != "txt " && format != "bin ") {
    Fail(error, "unknown .x format \"" + format + "\"");
    return std::nullopt;
  }
  const std::uint64_t limit = std::max<std::uint64_t>(bytes.size(), kMinCountLimit);
  const bool ok = bytes.compare(8, 4, "txt ") == 0 ? CheckText(bytes, limit, error)
                                                   : CheckBinary(bytes, limit, floatSize, error);
  if (!ok) return std::nullopt;
  return bytes;
}

}  // namespace veltrane::rm
