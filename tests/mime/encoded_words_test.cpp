// The decoders: transfer encodings, encoded words, ISO-2022-JP and the charsets.
#include "mime/encoded_words.h"

#include <gtest/gtest.h>

namespace zv {
namespace {

TEST(EncodedWords, Decoders) {
  const auto converter = PlatformConverter();
  struct Case {
    const char* name;
    Decoded got;
    Decoded want;
  };
  const Case cases[] = {
      {"base64 with breaks", DecodeBase64("YW J\r\njZA=="), Decoded::Ok("abcd")},
      {"base64 lone char", DecodeBase64("YWJjZ"), Decoded::Fail("bad base64: a lone last character")},
      {"base64 after pad", DecodeBase64("YQ==YQ=="), Decoded::Fail("bad base64: data after the padding")},
      {"base64 bad char", DecodeBase64("YW*j"), Decoded::Fail("bad base64")},
      {"qp", Decoded::Ok(DecodeQuotedPrintable("a=3D=\r\nb=ZZ= \nc=", false)), Decoded::Ok("a=b=ZZc")},
      {"words", DecodeEncodedWords("=?utf-8?q?a_b?= \r\n =?UTF-8*ja?B?Yw==?= d =?x", *converter),
       Decoded::Ok("a bc d =?x")},
      {"word charset", DecodeEncodedWords("=?EUC-KR?B?YQ==?=", *converter),
       Decoded::Fail("unknown charset \"EUC-KR\"")},
      {"iso-2022-jp", Iso2022JpToCp932("a\x1b$B%+4A\x1b(I6\x1b(Bz"), Decoded::Ok("aカ漢ｶz")},
      {"iso-2022-jp half", Iso2022JpToCp932("\x1b$B%"), Decoded::Fail("ISO-2022-JP: half a character")},
      {"utf-8 without cp932 form", CharsetToCp932("\xF0\x9F\x98\x80", "UTF-8", *converter),
       Decoded::Fail("not UTF-8, or a character with no code page 932 form")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.got.ok, c.want.ok);
    EXPECT_EQ(c.got.text, c.want.text);
  }
}

}  // namespace
}  // namespace zv
