#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane::loaders {

// The token every read past the end of the text returns.
inline constexpr std::string_view kEndOfFileToken = "\x1A";

// Converts a whole token as a number: optional sign, digits with an optional
// "." and an optional exponent. Always "." as decimal separator, whatever the
// locale. Nothing else (no "inf", "nan", hex, trailing junk, overflow) converts.
std::optional<double> TokenToDouble(std::string_view token);

// Which keyword-file reader this is; they differ only in how many following
// tokens an error message shows.
enum class ReaderFlavour {
  Model,  // geometry files: five following tokens
  Scene,  // scene files: three following tokens
};

// What ReadKeyword found: a number with its value, or the index of a keyword.
struct KeywordResult {
  static constexpr int kNumber = -1;
  int keyword = kNumber;  // index into the keyword list, or kNumber
  double value = 0.0;     // only for numbers
  bool IsNumber() const { return keyword == kNumber; }
};

// Cuts a keyword text into upper-cased tokens and drops "//" comments.
class TextReader {
 public:
  explicit TextReader(std::string text, ReaderFlavour flavour = ReaderFlavour::Model);

  // Reads a whole file (found case-insensitively). Throws LoadError when it
  // cannot be read.
  static TextReader FromFile(const std::string& path, ReaderFlavour flavour = ReaderFlavour::Model);

  // The next token, upper-cased; kEndOfFileToken at the end, forever.
  std::string ReadToken();

  // Classifies `token` (or the next token when `token` is empty) as a number or
  // one of `keywords`. The end of the text is reported as the keyword "END" so
  // that loaders stop; a list without "END" gets a LoadError there instead. A
  // word that is neither throws LoadError in the same form as ReadNumber.
  KeywordResult ReadKeyword(std::span<const std::string_view> keywords,
                            std::string_view token = {});
  KeywordResult ReadKeyword(const std::vector<std::string>& keywords, std::string_view token = {});

  // The next token as a number, or LoadError("Error: Floating point value
  // expected at: TOKEN T1 ... Tn ...") showing the following tokens.
  // `given`: a token already read, converted instead of the next one.
  // `commaToo`: a decimal comma reads like a point (one of them at most).
  double ReadNumber(std::string_view given = {}, bool commaToo = false);

  ReaderFlavour Flavour() const { return flavour_; }
  // The line (from 1) of the token read last, for messages.
  std::size_t Line() const;
  // The token ReadNumber read last, as written in the file (upper-cased).
  const std::string& LastNumberText() const { return lastToken_; }
  // A piece of the file as a message may quote it: at most about 80 characters.
  static std::string Excerpt(const std::string& text);

 private:
  int Get();
  // Throws the "value expected" error for `bad`, reading the following tokens.
  [[noreturn]] void FailAt(const std::string& bad);
  template <typename List>
  KeywordResult Classify(const List& keywords, std::string_view token);

  std::string text_;
  std::size_t pos_ = 0;
  std::size_t tokenStart_ = 0;
  std::string lastToken_;
  ReaderFlavour flavour_;
};

}  // namespace veltrane::loaders
