// Reading saved mails: the parts of a multipart mail.
#include "tester/mime.h"

#include <gtest/gtest.h>

namespace zv::tester {
namespace {

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
