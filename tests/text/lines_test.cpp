#include "text/lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zv {
namespace {

using Lines = std::vector<std::string>;

Lines Split(std::string_view s) {
  Lines out;
  for (auto v : SplitLines(s)) out.emplace_back(v);
  return out;
}

TEST(SplitLines, Table) {
  struct Case {
    std::string text;
    Lines expected;
  };
  const std::vector<Case> cases = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
      {"a\n\nb", {"a", "", "b"}},
      {"a\r\n\r\n", {"a", ""}},
      {"\r\n", {""}},
      {"a\n\r", {"a", ""}},  // LF, then a lone CR at the end
      {std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}},
      {"\x83\r\n", {"\x83"}},  // a lead byte before CR does not swallow it
  };
  for (const auto& c : cases) EXPECT_EQ(Split(c.text), c.expected) << c.text;
}

TEST(JoinLines, CrLfAfterEveryLine) {
  EXPECT_EQ(JoinLines(Lines{}), "");
  EXPECT_EQ(JoinLines(Lines{"a"}), "a\r\n");
  EXPECT_EQ(JoinLines(Lines{"a", "", "b"}), "a\r\n\r\nb\r\n");
  EXPECT_EQ(JoinLines(SplitLines("x\ry\n")), "x\r\ny\r\n");
}

TEST(Flag, OnlyExactTrueIsOn) {
  EXPECT_TRUE(IsFlagOn("True"));
  for (const char* off : {"true", "TRUE", "False", "", "1", "True "}) EXPECT_FALSE(IsFlagOn(off));
  EXPECT_EQ(FlagText(true), "True");
  EXPECT_EQ(FlagText(false), "False");
}

TEST(TrimControls, BothEnds) {
  EXPECT_EQ(TrimControls("  \tHello \x01 "), "Hello");
  EXPECT_EQ(TrimControls(" \r\n "), "");
  EXPECT_EQ(TrimControls("\x81\x40"), "\x81\x40");  // a full-width space is not trimmed
}

TEST(UpperSjis, OnlySingleByteLetters) {
  EXPECT_EQ(UpperSjis("abc@xyz"), "ABC@XYZ");
  // The trail byte of a two-byte character may equal a lower-case letter; it stays.
  EXPECT_EQ(UpperSjis("a\x82\x61" "b"), "A\x82\x61" "B");
  EXPECT_EQ(UpperSjis("\xB1z"), "\xB1Z");
  EXPECT_EQ(LowerSjis("A\x82\x41" "B\x82"), "a\x82\x41" "b\x82");
}

}  // namespace
}  // namespace zv
