#include "loaders/text_reader.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <sstream>

#include "loaders/file_names.h"
#include "loaders/load_error.h"

namespace veltrane::loaders {

namespace {

constexpr int kCtrlZ = 26;

bool IsSeparator(int c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; }

char Upper(int c) { return static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Checks the number grammar, so that from_chars' extras (inf, nan) never pass.
bool HasNumberShape(std::string_view t) {
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    std::size_t expDigits = 0;
    while (i < t.size() && IsDigit(t[i])) ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  return i == t.size();
}

// What a message quotes of the file stays short, however long a token is.
constexpr std::size_t kMaxExcerpt = 80;

// Shown in place of the end-of-file character, which would print as garbage.
std::string Printable(const std::string& token) {
  if (token == kEndOfFileToken) return "<EOF>";
  return token.size() <= kMaxExcerpt ? token : token.substr(0, kMaxExcerpt - 3) + "...";
}

}  // namespace

std::optional<double> TokenToDouble(std::string_view token) {
  if (!HasNumberShape(token)) return std::nullopt;
  // from_chars takes no leading "+".
  if (token.front() == '+') token.remove_prefix(1);
  double value = 0.0;
  const auto [end, ec] =
      std::from_chars(token.data(), token.data() + token.size(), value, std::chars_format::general);
  if (ec != std::errc() || end != token.data() + token.size()) return std::nullopt;
  return value;
}

TextReader::TextReader(std::string text, ReaderFlavour flavour)
    : text_(std::move(text)), flavour_(flavour) {
  // A Ctrl-Z in the data marks the end of an old DOS text file.
  if (const auto z = text_.find(static_cast<char>(kCtrlZ)); z != std::string::npos) text_.resize(z);
  if (text_.starts_with("\xEF\xBB\xBF")) pos_ = 3;
}

TextReader TextReader::FromFile(const std::string& path, ReaderFlavour flavour) {
  const std::string found = ResolveCaseInsensitive(path);
  if (!FileExists(found)) throw LoadError("Error: File not found: " + path);
  std::ifstream in(found, std::ios::binary);
  if (!in) throw LoadError("Error: Cannot open file: " + path + " (" + std::strerror(errno) + ")");
  std::ostringstream buf;
  buf << in.rdbuf();
  if (in.bad()) throw LoadError("Error: Cannot read file: " + path);
  return TextReader(buf.str(), flavour);
}

int TextReader::Get() {
  if (pos_ >= text_.size()) return kCtrlZ;
  return static_cast<unsigned char>(text_[pos_++]);
}

std::string TextReader::ReadToken() {
  for (;;) {
    int c = Get();
    while (IsSeparator(c)) c = Get();
    tokenStart_ = pos_ - (c == kCtrlZ ? 0 : 1);
    if (c == kCtrlZ) return std::string(kEndOfFileToken);

    std::string token(1, Upper(c));
    int last = c;
    int next = Get();
    bool comment = false;
    for (;;) {
      if (last == '/' && next == '/') {
        comment = true;
        break;
      }
      if (IsSeparator(next) || next == kCtrlZ) break;
      token += Upper(next);
      last = next;
      next = Get();
    }
    if (!comment) return token;

    // Skip the comment up to and including the line end; a carriage return
    // ends it too, for files with old Mac line ends.
    int k = Get();
    while (k != '\n' && k != '\r' && k != kCtrlZ) k = Get();
    token.pop_back();  // the first "/" of "//"
    if (!token.empty()) return token;
  }
}

void TextReader::FailAt(const std::string& bad) {
  const int following = flavour_ == ReaderFlavour::Model ? 5 : 3;
  const std::size_t line = Line();
  std::string excerpt = Printable(bad);
  for (int i = 0; i < following && excerpt.size() < kMaxExcerpt; ++i)
    excerpt += " " + Printable(ReadToken());
  if (excerpt.size() > kMaxExcerpt) excerpt = excerpt.substr(0, kMaxExcerpt - 3) + "...";
  throw LoadError("Error: Floating point value expected at: " + excerpt + " ... (line " +
                  std::to_string(line) + ")");
}

double TextReader::ReadNumber(std::string_view given, bool commaToo) {
  lastToken_ = given.empty() ? ReadToken() : std::string(given);
  std::string t = lastToken_;
  if (const auto comma = t.find(',');
      commaToo && comma != std::string::npos && t.find(',', comma + 1) == std::string::npos)
    t[comma] = '.';
  if (const auto v = TokenToDouble(t)) return *v;
  FailAt(lastToken_);
}

std::size_t TextReader::Line() const {
  std::size_t line = 1;
  for (std::size_t i = 0; i < tokenStart_ && i < text_.size(); ++i)
    if (text_[i] == '\n' || (text_[i] == '\r' && (i + 1 >= text_.size() || text_[i + 1] != '\n')))
      ++line;
  return line;
}

std::string TextReader::Excerpt(const std::string& text) { return Printable(text); }

template <typename List>
KeywordResult TextReader::Classify(const List& keywords, std::string_view given) {
  const std::string token = given.empty() ? ReadToken() : std::string(given);
  if (const auto v = TokenToDouble(token)) return {KeywordResult::kNumber, *v};
  const bool atEnd = token == kEndOfFileToken;
  for (std::size_t i = 0; i < keywords.size(); ++i) {
    const std::string_view k = keywords[i];
    if (atEnd ? k == "END" : k == token) return {static_cast<int>(i), 0.0};
  }
  if (atEnd) throw LoadError("Error: Unexpected end of file (line " + std::to_string(Line()) + ")");
  FailAt(token);
}

KeywordResult TextReader::ReadKeyword(std::span<const std::string_view> keywords,
                                      std::string_view token) {
  return Classify(keywords, token);
}

KeywordResult TextReader::ReadKeyword(const std::vector<std::string>& keywords,
                                      std::string_view token) {
  return Classify(keywords, token);
}

}  // namespace veltrane::loaders
