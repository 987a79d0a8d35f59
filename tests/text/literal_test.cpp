// The binaries hold user texts as code page 932 bytes, whatever the build.
#include <gtest/gtest.h>

#include <string>

#include "text/constants.h"

namespace {

std::string Hex(std::string_view s) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : s) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

TEST(Literals, AreCodePage932Bytes) {
  EXPECT_EQ(Hex(zv::kNoSignature), "2896B382B529");  // (無し)
  // Second bytes equal to a backslash must survive: ソ 表 能.
  EXPECT_EQ(Hex("ソ表能"), "835C955C945C");
  EXPECT_EQ(Hex("送信しますか？"), "9197904D82B582DC82B782A98148");
  EXPECT_EQ(Hex("ｶﾅ"), "B6C5");  // half-width katakana are single bytes
}

}  // namespace
