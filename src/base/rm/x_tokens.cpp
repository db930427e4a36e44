#include "base/rm/x_tokens.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace veltrane::rm {
namespace {

bool IsNameStart(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsNameChar(unsigned char c) {
  return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// A digit, or a sign or point directly before one ("-1", ".5", "-.5").
bool StartsNumber(std::string_view b, std::size_t i) {
  const auto digitAt = [&](std::size_t k) {
    return k < b.size() && IsDigit(static_cast<unsigned char>(b[k]));
  };
  if (digitAt(i)) return true;
  if (b[i] == '.') return digitAt(i + 1);
  if (b[i] == '-' || b[i] == '+')
    return digitAt(i + 1) || (i + 1 < b.size() && b[i + 1] == '.' && digitAt(i + 2));
  return false;
}

std::uint32_t U32(std::string_view b, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

}  // namespace

XTokenizer::XTokenizer(std::string_view bytes, bool binary, bool doubles)
    : b_(bytes), binary_(binary), doubles_(doubles) {
  lastWhere_ = binary ? i_ : 1;
}

const XToken& XTokenizer::Peek() {
  if (!havePeeked_) {
    peeked_ = binary_ ? ReadBinary() : ReadText();
    havePeeked_ = true;
  }
  lastWhere_ = peeked_.where;
  return peeked_;
}

XToken XTokenizer::Next() {
  Peek();
  havePeeked_ = false;
  return peeked_;
}

std::string XTokenizer::Where() const {
  return (binary_ ? "byte " : "line ") + std::to_string(lastWhere_);
}

void XTokenizer::Fail(const std::string& why) const { throw XSyntaxError{Where() + ": " + why}; }

void XTokenizer::FailAt(std::size_t where, const std::string& why) const {
  throw XSyntaxError{(binary_ ? "byte " : "line ") + std::to_string(where) + ": " + why};
}

XToken XTokenizer::ReadText() {
  for (;;) {
    if (i_ >= b_.size()) return XToken{XToken::End, {}, 0, false, line_};
    const unsigned char c = static_cast<unsigned char>(b_[i_]);
    if (c == '\n') {
      ++line_;
      ++i_;
    } else if (c == ' ' || c == '\t' || c == '\r') {
      ++i_;
    } else if (c == '#' || (c == '/' && i_ + 1 < b_.size() && b_[i_ + 1] == '/')) {
      while (i_ < b_.size() && b_[i_] != '\n') ++i_;
    } else {
      break;
    }
  }
  lastWhere_ = line_;
  XToken t;
  t.where = line_;
  const std::size_t start = i_;
  const unsigned char c = static_cast<unsigned char>(b_[i_]);
  if (c == '{' || c == '}') {
    t.kind = c == '{' ? XToken::Open : XToken::Close;
    t.text = b_.substr(i_++, 1);
  } else if (c == ',' || c == ';') {
    t.kind = XToken::Separator;
    t.text = b_.substr(i_++, 1);
  } else if (c == '"') {
    const std::size_t end = b_.find('"', i_ + 1);
    if (end == std::string_view::npos) Fail("a string that is never closed");
    t.kind = XToken::String;
    t.text = b_.substr(i_ + 1, end - i_ - 1);
    for (char ch : t.text) {
      if (ch == '\n') Fail("a string runs over the end of its line");
      if (static_cast<unsigned char>(ch) < 32) Fail("a control character inside a string");
    }
    i_ = end + 1;
  } else if (c == '<') {
    const std::size_t end = b_.find('>', i_ + 1);
    if (end == std::string_view::npos || end - i_ > 40) Fail("a GUID that is never closed");
    for (std::size_t k = i_ + 1; k < end; ++k) {
      const unsigned char g = static_cast<unsigned char>(b_[k]);
      if (!(IsDigit(g) || (g >= 'a' && g <= 'f') || (g >= 'A' && g <= 'F') || g == '-' || g == ' '))
        Fail("a GUID holds a character that is not hexadecimal");
    }
    t.kind = XToken::Guid;
    t.text = b_.substr(i_ + 1, end - i_ - 1);
    i_ = end + 1;
  } else if (StartsNumber(b_, i_)) {
    std::size_t k = i_;
    if (b_[k] == '-' || b_[k] == '+') ++k;
    bool integer = true;
    while (k < b_.size() && IsDigit(static_cast<unsigned char>(b_[k]))) ++k;
    if (k < b_.size() && b_[k] == '.') {
      integer = false;
      ++k;
      while (k < b_.size() && IsDigit(static_cast<unsigned char>(b_[k]))) ++k;
    }
    if (k < b_.size() && (b_[k] == 'e' || b_[k] == 'E')) {
      integer = false;
      ++k;
      if (k < b_.size() && (b_[k] == '-' || b_[k] == '+')) ++k;
      if (k >= b_.size() || !IsDigit(static_cast<unsigned char>(b_[k])))
        Fail("a number with an empty exponent");
      while (k < b_.size() && IsDigit(static_cast<unsigned char>(b_[k]))) ++k;
    }
    if (k < b_.size() && IsNameChar(static_cast<unsigned char>(b_[k])))
      Fail("a number runs into other characters");
    const std::size_t from = b_[i_] == '+' ? i_ + 1 : i_;
    double v = 0;
    const auto r = std::from_chars(b_.data() + from, b_.data() + k, v);
    if (r.ec != std::errc() || r.ptr != b_.data() + k || !std::isfinite(v))
      Fail("a number out of range");
    t.kind = integer ? XToken::Integer : XToken::Float;
    t.number = v;
    t.negative = b_[i_] == '-';
    t.text = b_.substr(start, k - start);
    i_ = k;
  } else if (IsNameStart(c)) {
    std::size_t k = i_;
    while (k < b_.size() && IsNameChar(static_cast<unsigned char>(b_[k]))) ++k;
    t.kind = XToken::Name;
    t.text = b_.substr(i_, k - i_);
    i_ = k;
  } else if (c == '[' || c == ']' || c == '.' || c == '(' || c == ')') {
    t.kind = XToken::Other;
    t.text = b_.substr(i_++, 1);
  } else {
    Fail(c < 32 || c > 126
             ? "a byte that does not belong in a text file (code " + std::to_string(c) + ")"
             : std::string("an unexpected character '") + static_cast<char>(c) + "'");
  }
  return t;
}

XToken XTokenizer::ReadBinary() {
  XToken t;
  t.where = i_;
  lastWhere_ = i_;
  const auto need = [&](std::size_t n) {
    if (n > b_.size() - i_) Fail("the file ends inside a token");
  };
  if (listLeft_ > 0) {
    --listLeft_;
    if (listFloats_) {
      need(doubles_ ? 8 : 4);
      double v;
      if (doubles_) {
        std::memcpy(&v, b_.data() + i_, 8);
        i_ += 8;
      } else {
        float f;
        std::memcpy(&f, b_.data() + i_, 4);
        v = f;
        i_ += 4;
      }
      if (!std::isfinite(v)) Fail("a number out of range");
      t.kind = XToken::Float;
      t.number = v;
    } else {
      need(4);
      t.kind = XToken::Integer;
      t.number = U32(b_, i_);
      i_ += 4;
    }
    return t;
  }
  if (i_ >= b_.size()) return t;
  need(2);
  const unsigned token = static_cast<unsigned char>(b_[i_]) | static_cast<unsigned char>(b_[i_ + 1])
                                                                  << 8;
  i_ += 2;
  switch (token) {
    case 1:    // name
    case 2: {  // string, followed by its terminator token
      need(4);
      const std::uint32_t n = U32(b_, i_);
      i_ += 4;
      need(n);
      t.kind = token == 1 ? XToken::Name : XToken::String;
      t.text = b_.substr(i_, n);
      i_ += n;
      for (char ch : t.text)
        if (static_cast<unsigned char>(ch) < 32 || ch == '"')
          Fail("a name or string holds a control character");
      if (token == 2) {
        need(2);
        i_ += 2;
      }
      return t;
    }
    case 3:  // integer
      need(4);
      t.kind = XToken::Integer;
      t.number = U32(b_, i_);
      i_ += 4;
      return t;
    case 5:  // GUID
      need(16);
      t.kind = XToken::Guid;
      t.text = b_.substr(i_, 16);
      i_ += 16;
      return t;
    case 6:    // integer list
    case 7: {  // float list
      need(4);
      listLeft_ = U32(b_, i_);
      listFloats_ = token == 7;
      i_ += 4;
      // Each element needs its bytes: refuse a list longer than the file at once.
      if (static_cast<std::uint64_t>(listLeft_) * (listFloats_ && doubles_ ? 8 : 4) >
          b_.size() - i_)
        Fail("a list runs past the end of the file");
      t.kind = XToken::Separator;  // an empty list reads as nothing
      t.text = ";";
      return t;
    }
    case 0x0A:
      t.kind = XToken::Open;
      t.text = "{";
      return t;
    case 0x0B:
      t.kind = XToken::Close;
      t.text = "}";
      return t;
    case 0x13:
    case 0x14:
      t.kind = XToken::Separator;
      t.text = token == 0x13 ? "," : ";";
      return t;
    case 0x1F:
      t.kind = XToken::Name;
      t.text = "template";
      return t;
    default:
      // Brackets, dots and the type words of template definitions.
      if ((token >= 0x0C && token <= 0x12) || (token >= 0x28 && token <= 0x34)) {
        t.kind = XToken::Other;
        t.text = "?";
        return t;
      }
      i_ -= 2;
      t.where = i_;
      lastWhere_ = i_;
      Fail("unknown token " + std::to_string(token) + " in the binary file");
  }
}

}  // namespace veltrane::rm
