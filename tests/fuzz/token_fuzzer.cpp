// The token reader under the model and scene readers: tokens, keywords and
// numbers in the order a reader asks for them, until the end-of-file token.

#include <array>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "loaders/text_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace veltrane::loaders;
  if (size == 0) return 0;
  const ReaderFlavour flavour = (data[0] & 1) ? ReaderFlavour::Scene : ReaderFlavour::Model;
  TextReader in(std::string(reinterpret_cast<const char*>(data) + 1, size - 1), flavour);
  static constexpr std::array<std::string_view, 4> kWords = {"SCENE", "MESH", "END", "TEXTURE"};
  try {
    // Every token consumes input, so this ends; the bound only guards a reader
    // that would hand out the end token forever without moving.
    for (std::size_t n = 0; n <= size + 1; ++n) {
      std::string token;
      switch (n % 3) {
        case 0:
          token = in.ReadToken();
          break;
        case 1:
          (void)in.ReadKeyword(kWords);
          token = in.LastNumberText();
          break;
        default:
          (void)in.ReadNumber({}, (n & 4) != 0);
          break;
      }
      if (token == kEndOfFileToken) break;
      (void)in.Line();
    }
  } catch (const std::exception&) {
  }
  (void)TokenToDouble(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
