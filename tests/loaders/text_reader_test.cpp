#include "loaders/text_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <string_view>

#include "loaders/load_error.h"
#include "support/temp_dir.h"

namespace veltrane::loaders {
namespace {

std::vector<std::string> Tokens(const std::string& text, int n) {
  TextReader r(text);
  std::vector<std::string> out;
  for (int i = 0; i < n; ++i) out.push_back(r.ReadToken());
  return out;
}

const std::string kEof(kEndOfFileToken);

TEST(TextReaderTokens, UpperCasesWordsBetweenSeparators) {
  EXPECT_EQ(Tokens("  cull \t on \r\n", 3), (std::vector<std::string>{"CULL", "ON", kEof}));
  // Only ASCII letters change case; other bytes pass through as they are.
  EXPECT_EQ(Tokens("\xC3\xA4x_1", 1), (std::vector<std::string>{"\xC3\xA4X_1"}));
}

TEST(TextReaderTokens, CommentsEndTokensAndLines) {
  EXPECT_EQ(Tokens("1.5// a comment\n2", 3), (std::vector<std::string>{"1.5", "2", kEof}));
  EXPECT_EQ(Tokens("// whole line 1 2\nfirst second", 2),
            (std::vector<std::string>{"FIRST", "SECOND"}));
  EXPECT_EQ(Tokens("a // c1\n// c2\n\n  // c3\nb", 3), (std::vector<std::string>{"A", "B", kEof}));
  // Old Mac line ends close a comment as well.
  EXPECT_EQ(Tokens("a // c1\rb // c2\r\nc", 3), (std::vector<std::string>{"A", "B", "C"}));
  // A comment running to the end of the file leaves only the end.
  EXPECT_EQ(Tokens("x //no line feed", 3), (std::vector<std::string>{"X", kEof, kEof}));
}

TEST(TextReaderTokens, SingleSlashesAreOrdinaryCharacters) {
  EXPECT_EQ(Tokens("a/b / c/", 4), (std::vector<std::string>{"A/B", "/", "C/", kEof}));
  // "///" opens a comment at its first two slashes.
  EXPECT_EQ(Tokens("w///x\ny", 2), (std::vector<std::string>{"W", "Y"}));
}

TEST(TextReaderTokens, EndOfFileRepeatsForever) {
  TextReader r("last");
  EXPECT_EQ(r.ReadToken(), "LAST");
  for (int i = 0; i < 100; ++i) ASSERT_EQ(r.ReadToken(), kEof);
  EXPECT_EQ(TextReader("").ReadToken(), kEof);
  EXPECT_EQ(TextReader(" \r\n\t ").ReadToken(), kEof);
  // A DOS end-of-file mark ends the text; what follows it is never read.
  EXPECT_EQ(Tokens("a\x1A b", 2), (std::vector<std::string>{"A", kEof}));
}

TEST(TextReaderNumbers, WholeTokenMustConvert) {
  EXPECT_EQ(TokenToDouble("1E3"), 1000.0);
  EXPECT_EQ(TokenToDouble("-0.05"), -0.05);
  EXPECT_EQ(TokenToDouble("+2.5e-1"), 0.25);
  EXPECT_EQ(TokenToDouble("7"), 7.0);
  EXPECT_EQ(TokenToDouble(".5"), 0.5);
  EXPECT_EQ(TokenToDouble("5."), 5.0);
  for (std::string_view bad : {"", "1,5", "1.5X", "E3", "1E", "1E+", "--1", "+-1", ".", "-", "INF",
                               "NAN", "0X10", "1e999", " 1"})
    EXPECT_FALSE(TokenToDouble(bad).has_value()) << bad;
}

TEST(TextReaderNumbers, DecimalCommaShowsFiveFollowingTokensInModelFiles) {
  TextReader r("1,5 a b c d e f g", ReaderFlavour::Model);
  try {
    r.ReadNumber();
    FAIL() << "no error";
  } catch (const LoadError& e) {
    EXPECT_STREQ(e.what(), "Error: Floating point value expected at: 1,5 A B C D E ... (line 1)");
  }
  // The error consumed exactly the five tokens it shows.
  EXPECT_EQ(r.ReadToken(), "F");
}

TEST(TextReaderNumbers, SceneFilesShowThreeFollowingTokens) {
  TextReader r("2.0 x1 y2 z3 w4", ReaderFlavour::Scene);
  EXPECT_EQ(r.ReadNumber(), 2.0);
  try {
    r.ReadNumber();
    FAIL() << "no error";
  } catch (const LoadError& e) {
    EXPECT_STREQ(e.what(), "Error: Floating point value expected at: X1 Y2 Z3 W4 ... (line 1)");
  }
}

TEST(TextReaderNumbers, ErrorsNameTheLineAndQuoteAtMostAShortExcerpt) {
  // LF, CR LF and a lone CR each end a line; comments count too.
  TextReader r("1\n2 // two\r\n3\r" + std::string(100000, 'q') + " a b c d e",
               ReaderFlavour::Model);
  for (int i = 0; i < 3; ++i) r.ReadNumber();
  try {
    r.ReadNumber();
    FAIL() << "no error";
  } catch (const LoadError& e) {
    const std::string m = e.what();
    EXPECT_NE(m.find("(line 4)"), std::string::npos) << m;
    EXPECT_LT(m.size(), 160u) << m;
  }
}

TEST(TextReaderNumbers, ErrorNearTheEndStaysReadable) {
  TextReader r("oops", ReaderFlavour::Scene);
  try {
    r.ReadNumber();
    FAIL() << "no error";
  } catch (const LoadError& e) {
    EXPECT_STREQ(e.what(),
                 "Error: Floating point value expected at: OOPS <EOF> <EOF> <EOF> ... (line 1)");
  }
}

constexpr std::array<std::string_view, 3> kWords{"VERTEX", "END", "CULL"};

TEST(TextReaderKeywords, ClassifiesNumbersAndKeywords) {
  TextReader r("vertex 1e3 cull end -2");
  EXPECT_EQ(r.ReadKeyword(kWords).keyword, 0);
  const KeywordResult n = r.ReadKeyword(kWords);
  EXPECT_TRUE(n.IsNumber());
  EXPECT_EQ(n.value, 1000.0);
  EXPECT_EQ(r.ReadKeyword(kWords).keyword, 2);
  EXPECT_EQ(r.ReadKeyword(kWords).keyword, 1);
  EXPECT_EQ(r.ReadKeyword(kWords).value, -2.0);
}

TEST(TextReaderKeywords, GivenTokenIsClassifiedInsteadOfReading) {
  TextReader r("vertex", ReaderFlavour::Scene);
  EXPECT_EQ(r.ReadKeyword(kWords, "CULL").keyword, 2);
  EXPECT_EQ(r.ReadKeyword(kWords, "").keyword, 0);  // empty: reads the next token
  const std::vector<std::string> words{"A", "B"};
  EXPECT_EQ(r.ReadKeyword(words, "B").keyword, 1);
}

TEST(TextReaderKeywords, EndOfFileReadsAsEndSoLoadersStop) {
  TextReader r("cull");
  EXPECT_EQ(r.ReadKeyword(kWords).keyword, 2);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(r.ReadKeyword(kWords).keyword, 1);
  // A loader without an END keyword must not spin at the end either.
  constexpr std::array<std::string_view, 1> noEnd{"CULL"};
  EXPECT_THROW(r.ReadKeyword(noEnd), LoadError);
}

TEST(TextReaderKeywords, UnknownWordIsAnError) {
  TextReader r("verteks 1 2 3 4 5 6");
  try {
    r.ReadKeyword(kWords);
    FAIL() << "no error";
  } catch (const LoadError& e) {
    EXPECT_STREQ(e.what(),
                 "Error: Floating point value expected at: VERTEKS 1 2 3 4 5 ... (line 1)");
  }
}

TEST(TextReaderFile, ReadsFilesCaseInsensitivelyAndReportsMissingOnes) {
  test_support::TempDir dir;
  dir.Write("Sub/Model.GEO", "cull // x\n3.25");
  TextReader r = TextReader::FromFile(dir.Path() + "/sub/model.geo", ReaderFlavour::Model);
  EXPECT_EQ(r.ReadToken(), "CULL");
  EXPECT_EQ(r.ReadNumber(), 3.25);
  try {
    TextReader::FromFile(dir.Path() + "/nothing.geo");
    FAIL() << "no error";
  } catch (const LoadError& e) {
    EXPECT_NE(std::string(e.what()).find("nothing.geo"), std::string::npos) << e.what();
  }
  EXPECT_THROW(TextReader::FromFile(dir.Path() + "/Sub"), LoadError);
}

}  // namespace
}  // namespace veltrane::loaders
