#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace veltrane::rm {

// One token of a ".x" file, the same for the text and the binary form. The
// binary form's integer and float lists arrive as one token per element.
struct XToken {
  enum Kind { End, Name, Integer, Float, String, Guid, Open, Close, Separator, Other };
  Kind kind = End;
  std::string_view text;  // Name and String: the characters; Other: the punctuation
  double number = 0;      // Integer and Float
  bool negative = false;  // Integer written with a minus sign
  std::size_t where = 0;  // line (text) or byte offset (binary)
};

// Thrown for anything that is not a well-formed ".x" file; the message names
// the place ("line 12: ..." or "byte 300: ...").
struct XSyntaxError {
  std::string message;
};

// Pulls tokens one by one from the body of a ".x" file (after its 16-byte
// header); nothing is read ahead beyond one token, so memory stays bounded by
// the file itself whatever counts it states.
class XTokenizer {
 public:
  XTokenizer(std::string_view bytes, bool binary, bool doubles);

  const XToken& Peek();
  XToken Next();
  [[noreturn]] void Fail(const std::string& why) const;
  [[noreturn]] void FailAt(std::size_t where, const std::string& why) const;
  // "line 12" or "byte 300" for the token last peeked or taken.
  std::string Where() const;

 private:
  XToken ReadText();
  XToken ReadBinary();

  std::string_view b_;
  bool binary_;
  bool doubles_;
  std::size_t i_ = 16;
  std::size_t line_ = 1;
  // Binary lists: elements still to hand out and their type.
  std::uint32_t listLeft_ = 0;
  bool listFloats_ = false;
  XToken peeked_;
  bool havePeeked_ = false;
  std::size_t lastWhere_ = 1;
};

}  // namespace veltrane::rm
