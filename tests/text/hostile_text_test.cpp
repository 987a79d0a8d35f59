// Hostile input for the text functions: huge texts without a line break, zero bytes, 0xFF
// bytes and lone lead bytes at every boundary. Correct results only; their speed is measured
// in bench/quality_bench.cpp.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hostile_sizes.h"
#include "text/lines.h"
#include "text/long_path.h"
#include "text/sjis.h"

namespace zv {
namespace {

using namespace std::string_literals;

// Every lead byte at the edges of its two ranges.
const std::vector<char> kEdgeLeads = {'\x81', '\x9F', '\xE0', '\xFC'};

TEST(HostileText, LoneLeadByteAtEveryBoundary) {
  for (char lead : kEdgeLeads) {
    const std::string l(1, lead);
    SCOPED_TRACE(static_cast<int>(static_cast<unsigned char>(lead)));
    // At the end: a character by itself.
    EXPECT_EQ(SjisLength("ab" + l), 3);
    EXPECT_EQ(SjisPos(l, "ab" + l), 3);
    EXPECT_EQ(SjisCopy("ab" + l, 3, 1), l);
    EXPECT_EQ(SjisCopy("ab" + l, 3, kToEnd), l);
    // Before a zero byte: the zero byte ends the text, so the lead byte is alone again.
    EXPECT_EQ(SjisLength("a" + l + "\0bc"s), 2);
    EXPECT_EQ(SjisCopy("a" + l + "\0bc"s, 2, kToEnd), l);
    // Before a line break: it takes the CR as its trail byte, but lines still end there.
    const std::string broken = "a" + l + "\r\nb";
    const std::string firstLine = "a" + l;
    EXPECT_EQ(SjisLength(broken), 4);
    EXPECT_EQ(SjisPos("\r", broken), 0);
    EXPECT_EQ(SjisPos("\n", broken), 3);
    EXPECT_EQ(SplitLines(broken), (std::vector<std::string_view>{firstLine, "b"}));
    // Before a backslash: the backslash is a trail byte and separates nothing.
    EXPECT_EQ(SjisPos("\\", l + "\\x\\"), 3);
    // At the start, hiding an ASCII letter.
    EXPECT_EQ(SjisPos("A", l + "AA"), 2);
    EXPECT_EQ(UpperSjis(l + "ab"), l + "aB");
    // Several in a row pair up.
    EXPECT_EQ(SjisLength(l + l + l), 2);
    EXPECT_EQ(SjisCopy(l + l + l, 2, 1), l);
  }
}

TEST(HostileText, ZeroBytesEndEveryText) {
  const std::string s = "ab\0cd"s;
  EXPECT_EQ(SjisLength(s), 2);
  EXPECT_EQ(SjisPos("cd", s), 0);
  EXPECT_EQ(SjisPos("b\0c"s, s), 2);  // the sought text ends at its zero byte too
  EXPECT_EQ(SjisCopy(s, 1, kToEnd), "ab");
  EXPECT_EQ(SjisCopy(s, 3, 1), "");
  EXPECT_EQ(SplitLines("a\r\n\0b\r\n"s), std::vector<std::string_view>{"a"});
  EXPECT_EQ(SjisLength("\0"s), 0);
  EXPECT_EQ(SjisPos("", "\0x"s), 0);
}

TEST(HostileText, FFBytesAreSingleCharacters) {
  const std::string ff(1000, '\xFF');
  EXPECT_EQ(SjisLength(ff), 1000);
  EXPECT_EQ(SjisPos("\xFF\xFF", ff), 1);
  EXPECT_EQ(SjisPos("a", ff + "a"), 1001);
  EXPECT_EQ(SjisCopy(ff + "xy", 1001, 2), "xy");
  EXPECT_EQ(UpperSjis("\xFFz\xFF"), "\xFFZ\xFF");
  EXPECT_EQ(TrimControls("\xFF \xFF"), "\xFF \xFF");
  EXPECT_EQ(SplitLines(ff + "\r\n" + ff).size(), 2u);
}

// Ten megabytes of hiragana "a" (0x82 0xA0) with no line break.
class HostileLongText : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    text_ = new std::string();
    text_->reserve(test::kLongText + 8);
    while (text_->size() < test::kLongText) text_->append("\x82\xA0");
  }
  static void TearDownTestSuite() {
    delete text_;
    text_ = nullptr;
  }
  static std::string* text_;
};
std::string* HostileLongText::text_ = nullptr;

TEST_F(HostileLongText, SearchCountAndCut) {
  const std::string& s = *text_;
  const int chars = static_cast<int>(s.size() / 2);
  EXPECT_EQ(SjisLength(s), chars);
  // The byte pair A0 82 occurs everywhere, but only across characters.
  EXPECT_EQ(SjisPos("\xA0\x82", s), 0);
  EXPECT_EQ(SjisPos("\xA0", s), 0);
  EXPECT_EQ(SjisPos("\x82\xA0\x82\xA0", s), 1);
  EXPECT_EQ(SjisPos("\x82\xA0z", s + "z"), chars);
  EXPECT_EQ(SjisCopy(s, chars, kToEnd), "\x82\xA0");
  EXPECT_EQ(SjisCopy(s + "tail", chars + 1, 4), "tail");
  const std::vector<std::string_view> lines = SplitLines(s);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].size(), s.size());
}

// A folder tree in which every component exists under its own name.
class EveryNameExists final : public DirectorySearch {
 public:
  void ForEach(const std::string& pattern,
               const std::function<bool(const DirEntry&)>& visit) override {
    ++searches;
    // The name after the last backslash character (a trail byte 0x5C is none).
    size_t nameStart = 0;
    for (size_t i = 0; i < pattern.size(); i += SjisCharLength(pattern, i)) {
      if (pattern[i] == '\\') nameStart = i + 1;
    }
    visit(DirEntry{pattern.substr(nameStart), kAttrDirectory});
  }
  size_t searches = 0;
};

TEST(HostileText, LongPathOfManyComponents) {
  std::string path = "C:\\";
  for (int i = 0; i < 2000; ++i) path += "d\\";
  EveryNameExists fs;
  EXPECT_EQ(ExpandLongPath(path, fs), path);
  EXPECT_EQ(fs.searches, 2000u);
}

TEST(HostileText, LongPathWithLeadBytesBeforeBackslashes) {
  // "\x95\x5C" is one character whose trail byte is a backslash: never a separator.
  EveryNameExists fs;
  EXPECT_EQ(ExpandLongPath("C:\\a\x95\\b\\c", fs), "C:\\a\x95\\b\\c\\");
  EXPECT_EQ(fs.searches, 2u);
  EveryNameExists fs2;
  EXPECT_EQ(ExpandLongPath("C\x81\\x", fs2), "");  // no separator at all
  EXPECT_EQ(fs2.searches, 0u);
}

}  // namespace
}  // namespace zv
