// Decoding of saved mails: the transfer encodings, encoded words, ISO-2022-JP and parts.
#include "tester/mime.h"

#include <gtest/gtest.h>

namespace zv::tester {
namespace {

TEST(Mime, Decoders) {
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

// Nested parts: the first text/plain part is the body wherever it sits; the HTML twin is not;
// a part named by an RFC 2231 file name counts as an attachment.
TEST(Mime, NestedParts) {
  const auto converter = PlatformConverter();
  const std::string eml =
      "To: a@example.org\r\nContent-Type: multipart/mixed; boundary=outer\r\n\r\n"
      "--outer\r\nContent-Type: multipart/alternative; boundary=\"in ner\"\r\n\r\n"
      "--in ner\r\nContent-Type: text/plain; charset=us-ascii\r\n\r\nplain\r\n"
      "--in ner\r\nContent-Type: text/html\r\n\r\n<p>html</p>\r\n--in ner--\r\n"
      "--outer\r\nContent-Disposition: attachment; filename*=utf-8''a%20b.txt\r\n\r\nfile\r\n"
      "--outer--\r\n";
  MailText mail;
  ASSERT_TRUE(ReadEml(eml, FileEncoding::kCp932, *converter, mail).ok);
  EXPECT_EQ(mail.header, "To: a@example.org\r\nContent-Type: multipart/mixed; boundary=outer\r\n");
  EXPECT_EQ(mail.body, "plain");
  EXPECT_TRUE(mail.attachment);
}

}  // namespace
}  // namespace zv::tester
