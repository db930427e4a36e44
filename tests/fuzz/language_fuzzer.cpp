// A language file: the first byte picks which of the languages (and so which
// code page) the rest is read as.

#include <cstdint>
#include <string>

#include "ui/language.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace veltrane::ui;
  if (size == 0) return 0;
  const int index = data[0] % kLanguageCount;
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  LanguageTexts texts;
  (void)texts.Apply(DecodeLanguageFile(bytes, index));
  (void)texts.AllText();
  return 0;
}
