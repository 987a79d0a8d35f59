#include "text/sjis.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#if __has_include(<iconv.h>) && !defined(_WIN32)
#include <iconv.h>
#define ZV_HAVE_ICONV 1
#endif

namespace zv {
namespace {

// a, then katakana A (0x83 0x41), then b.
const std::string kAKaB = "a\x83\x41" "b";
const std::string kKatakanaA = "\x83\x41";

TEST(SjisLeadByte, Ranges) {
  for (int b = 0; b < 256; ++b) {
    const bool expected = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    EXPECT_EQ(IsSjisLeadByte(static_cast<unsigned char>(b)), expected) << b;
  }
}

TEST(SjisPos, Table) {
  struct Case {
    std::string sub, s;
    int expected;
  };
  const std::vector<Case> cases = {
      {"A", kKatakanaA, 0},                   // the trail byte is the letter A
      {kKatakanaA, "a" + kKatakanaA, 2},
      {"", "abc", 1},
      {"", "", 0},
      {"b", kAKaB, 3},
      {"c", "abc", 3},
      {"abcd", "abc", 0},
      {"\\", "\x95\x5C\\", 2},                // 表 then a real backslash
      {"\\", "\x95\x5C", 0},
      {"ab", "aab", 2},
      {"aab", "aaab", 2},
      {"\x41" "b", "\x83\x41" "b" "\x41" "b", 3},  // first candidate starts at a trail byte
      {"\x81", "a\x81", 2},                  // lone lead byte at the end is a character
      {"x", std::string("ab\0x", 4), 0},     // a zero byte ends the text
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SjisPos(c.sub, c.s), c.expected) << "sub=" << c.sub << " s=" << c.s;
  }
}

TEST(SjisLength, Table) {
  struct Case {
    std::string s;
    int expected;
  };
  const std::vector<Case> cases = {
      {"", 0},          {kAKaB, 3},       {"a\x83", 2},  // lone lead byte at the end
      {"\x80", 1},      {"\xA0", 1},      {"\xFD", 1},   {"\x80\xA0\xFD\xFF", 4},
      {"\xB1\xB2", 2},  // half-width kana are single bytes
      {"\x81\x81\x81", 2},
  };
  for (const auto& c : cases) EXPECT_EQ(SjisLength(c.s), c.expected) << c.s;
}

TEST(SjisCopy, Table) {
  struct Case {
    std::string s;
    int index, count;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {kAKaB, 2, 1, kKatakanaA},
      {kAKaB, 2, kToEnd, kKatakanaA + "b"},
      {kAKaB, 1, kToEnd, kAKaB},
      {kAKaB, 0, kToEnd, ""},
      {kAKaB, 4, kToEnd, ""},
      {kAKaB, -5, kToEnd, ""},
      {kAKaB, -2147483647 - 1, kToEnd, ""},
      {"abc", 0, 1, ""},
      {"abc", 4, 1, ""},
      {"abc", 2, 5, "bc"},
      {"abc", 1, -1, "abc"},
      {"abc", 3, -1, ""},
      {"abc", 2, -1, ""},     // the walk stops at character 1, before the start
      {"abc", 2, -2, "bc"},   // index + count is 0: no end, so the rest
      {"abc", 2, 0, ""},
      {"abc", 1, 2147483646, "abc"},
      {"abc", 2147483647, 5, ""},
      {"a\x83", 2, 1, "\x83"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SjisCopy(c.s, c.index, c.count), c.expected)
        << c.s << " index " << c.index << " count " << c.count;
  }
}

#ifdef ZV_HAVE_ICONV
// Every two-byte sequence that iconv decodes as one CP932 character is one character here too,
// and the character after it is found where iconv puts it.
TEST(SjisLength, AgreesWithIconvOnEveryDoubleByteCharacter) {
  iconv_t cd = iconv_open("UTF-32LE", "CP932");
  ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
  int checked = 0;
  for (int lead = 0x80; lead <= 0xFF; ++lead) {
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      char out[16];
      char* inp = in;
      char* outp = out;
      size_t inLeft = 2, outLeft = sizeof out;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      const size_t r = iconv(cd, &inp, &inLeft, &outp, &outLeft);
      if (r == static_cast<size_t>(-1) || inLeft != 0 || sizeof out - outLeft != 4) continue;
      const std::string ch(in, 2);
      ASSERT_TRUE(IsSjisLeadByte(static_cast<unsigned char>(lead))) << std::hex << lead;
      ASSERT_EQ(SjisLength(ch), 1) << std::hex << lead << " " << trail;
      ASSERT_EQ(SjisLength("x" + ch + "y"), 3);
      ASSERT_EQ(SjisPos("y", "x" + ch + "y"), 3);
      ASSERT_EQ(SjisCopy("x" + ch + "y", 2, 1), ch);
      ++checked;
    }
  }
  iconv_close(cd);
  EXPECT_GT(checked, 7000);  // JIS X 0208 plus the NEC and IBM extensions
}
#endif

// Long inputs stay linear: a text of a million lead bytes and a search that only matches at the
// end (a pattern that defeats naive backtracking).
TEST(SjisPos, LongPathologicalTextsFinish) {
  const std::string s = std::string(1 << 20, 'a') + "b";
  const std::string sub = std::string(1 << 10, 'a') + "b";
  EXPECT_EQ(SjisPos(sub, s), (1 << 20) - (1 << 10) + 1);
  const std::string leads(1 << 20, '\x81');
  EXPECT_EQ(SjisLength(leads), 1 << 19);
  EXPECT_EQ(SjisPos("\x81\x81", leads + "x"), 1);
  EXPECT_EQ(SjisCopy(leads, (1 << 19), kToEnd), "\x81\x81");
}

}  // namespace
}  // namespace zv
