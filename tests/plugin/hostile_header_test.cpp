// Hostile mail for header editing, header look-up and signature blocks: a 100 MB header line, a
// million header lines, a 10 MB signature with no line break, zero bytes, 0xFF bytes and lone
// lead bytes at the edges of fields. Correct results only; bench/quality_bench.cpp times them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hostile_sizes.h"
#include "text/constants.h"
#include "text/header_field.h"
#include "plugin/mailer_header.h"
#include "plugin/signature.h"
#include "text/lines.h"

namespace zv {
namespace {

using namespace std::string_literals;

const std::string kField = std::string(kMailerFieldPrefix) + std::string(kHeaderEntry);
const std::string kContinuation = "\t" + std::string(kHeaderEntry);

TEST(HostileHeader, HugeLastLine) {
  std::string header = "To: a@example.jp\r\nSubject: ";
  header.reserve(header.size() + test::kHugeLine);
  header.append(test::kHugeLine, 'x');  // no final line break

  {
    const std::vector<std::string_view> lines = SplitLines(header);
    ASSERT_EQ(lines.size(), 2u);
    const std::string_view subject = HeaderField("SUBJECT:", lines);
    EXPECT_EQ(subject.size(), test::kHugeLine);
    EXPECT_EQ(subject.data(), header.data() + header.size() - test::kHugeLine);
  }

  ASSERT_TRUE(AddMailerHeader(header));
  const std::string head = "To: a@example.jp\r\n" + kField + "\r\nSubject: ";
  ASSERT_EQ(header.size(), head.size() + test::kHugeLine + 2);
  EXPECT_EQ(header.compare(0, head.size(), head), 0);
  EXPECT_EQ(header.find_first_not_of('x', head.size()), head.size() + test::kHugeLine);
  EXPECT_TRUE(header.ends_with("x\r\n"));
  EXPECT_FALSE(AddMailerHeader(header));
}

TEST(HostileHeader, HugeFieldLineNamingAnotherPlugIn) {
  std::string header = "X-Mailer-Plugin: ";
  header.reserve(test::kHugeLine + 64);
  header.append(test::kHugeLine, 'o');
  header += "\r\nTo: a\r\n";
  const size_t valueEnd = header.size() - "\r\nTo: a\r\n"s.size();
  ASSERT_TRUE(AddMailerHeader(header));
  EXPECT_EQ(header.find_first_not_of('o', 17), valueEnd);
  EXPECT_EQ(header.substr(valueEnd), ",\r\n" + kContinuation + "\r\nTo: a\r\n");
}

TEST(HostileHeader, MillionLines) {
  std::string header;
  header.reserve(test::kMillionLines * 16);
  for (size_t i = 0; i < test::kMillionLines - 1; ++i) header += "X-Filler: v\r\n";
  header += "To: last@example.jp\r\n";

  const std::vector<std::string_view> lines = SplitLines(header);
  ASSERT_EQ(lines.size(), test::kMillionLines);
  EXPECT_EQ(HeaderField("TO:", lines), "last@example.jp");
  EXPECT_EQ(HeaderField("CC:", lines), "");

  std::string edited = header;
  ASSERT_TRUE(AddMailerHeader(edited));
  const size_t lastLine = header.size() - "To: last@example.jp\r\n"s.size();
  EXPECT_EQ(edited.compare(0, lastLine, header, 0, lastLine), 0);
  EXPECT_EQ(edited.substr(lastLine), kField + "\r\nTo: last@example.jp\r\n");
  EXPECT_FALSE(AddMailerHeader(edited));
}

TEST(HostileHeader, MillionContinuationLines) {
  // The field's list runs over a million continuation lines; the entry goes after the last.
  std::string header = "X-Mailer-Plugin: first\r\n";
  for (size_t i = 0; i < test::kMillionLines; ++i) header += " o\r\n";
  header += "Subject: s\r\n";
  std::string edited = header;
  ASSERT_TRUE(AddMailerHeader(edited));
  const size_t subject = header.size() - "Subject: s\r\n"s.size();
  const std::string expected =
      header.substr(0, subject - 2) + ",\r\n" + kContinuation + "\r\nSubject: s\r\n";
  EXPECT_TRUE(edited == expected);
  EXPECT_FALSE(AddMailerHeader(edited));
}

TEST(HostileHeader, OddBytesAtFieldEdges) {
  struct Case {
    const char* what;
    std::string header, expected;
  };
  const std::vector<Case> cases = {
      {"lead byte before the colon: not the field",
       "X-Mailer-Plugin\x82: Zorvek32 Ver.1.00\r\nTo: a\r\n",
       "X-Mailer-Plugin\x82: Zorvek32 Ver.1.00\r\n" + kField + "\r\nTo: a\r\n"},
      {"lead byte ending the other entry: the comma follows it byte for byte",
       "X-Mailer-Plugin: Other\x82\r\nTo: a\r\n",
       "X-Mailer-Plugin: Other\x82,\r\n" + kContinuation + "\r\nTo: a\r\n"},
      {"0xFF around the field name is no blank", "\xFFX-Mailer-Plugin\xFF: Zorvek32\r\nTo: a\r\n",
       "\xFFX-Mailer-Plugin\xFF: Zorvek32\r\n" + kField + "\r\nTo: a\r\n"},
      {"control bytes around the field name are trimmed",
       "\x01X-Mailer-Plugin\x1F: Zorvek32 Ver.0.9\r\nTo: a\r\n", kField + "\r\nTo: a\r\n"},
      {"0x7F is no blank", "X-Mailer-Plugin\x7F: Zorvek32\r\nTo: a\r\n",
       "X-Mailer-Plugin\x7F: Zorvek32\r\n" + kField + "\r\nTo: a\r\n"},
      {"zero byte in the field: the rest of the header is gone",
       "To: a\r\nX-Mailer-Plugin: Zor\0vek32\r\nSubject: b\r\n"s,
       "To: a\r\nX-Mailer-Plugin: Zor,\r\n" + kContinuation + "\r\n"},
      {"our entry after a lead byte on a continuation line",
       "X-Mailer-Plugin: Other,\r\n\t\x82Zorvek32 Ver.1.04 Rev.2\r\n",
       "X-Mailer-Plugin: Other,\r\n" + kContinuation + "\r\n"},
  };
  for (const Case& c : cases) {
    std::string header = c.header;
    EXPECT_EQ(AddMailerHeader(header), c.header != c.expected) << c.what;
    EXPECT_EQ(header, c.expected) << c.what;
    EXPECT_FALSE(AddMailerHeader(header)) << c.what;
  }
}

TEST(HostileHeader, FieldLookUpWithOddBytes) {
  struct Case {
    std::string line, name, expected;
  };
  const std::vector<Case> cases = {
      {"To:\x82", "TO:", "\x82"},  // a lone lead byte is no blank
      {"To: \xFF\xFF ", "TO:", "\xFF\xFF"},
      {"T\x82O: a", "TO:", ""},
      {"to:\t\x01 a \x7F", "TO:", "a \x7F"},  // 0x7F is above the trimmed range
      {"Subject:\0x"s, "SUBJECT:", ""},
  };
  for (const Case& c : cases) {
    const std::vector<std::string_view> lines = SplitLines(c.line);
    EXPECT_EQ(HeaderField(c.name, lines), c.expected) << c.line;
  }
}

TEST(HostileSignature, LongBlockWithoutLineBreak) {
  std::string file = "{Begin big}\r\n";
  const size_t start = file.size();
  file.append(test::kLongText, '\x82');  // lead bytes pair up with each other
  file += "{End}\r\n{Begin small}\r\nx\r\n";
  const std::string block = SignatureBlockFromText(file, "BIG");
  ASSERT_EQ(block.size(), test::kLongText);
  EXPECT_EQ(block, std::string_view(file).substr(start, test::kLongText));
  EXPECT_EQ(SignatureBlockFromText(file, "small"), "x\r\n");
}

TEST(HostileSignature, OddBytes) {
  struct Case {
    const char* what;
    std::string file, name, expected;
  };
  const std::vector<Case> cases = {
      {"lead byte before {End}: the end mark counts byte for byte", "{Begin a}\r\nx\x82{End}\r\n",
       "a", "x\x82"},
      {"lone lead byte as the whole line", "{Begin a}\r\n\x82\r\n{End}", "a", "\x82\r\n"},
      {"zero byte ends the file", "{Begin a}\r\nx\r\n\0{End}\r\ny\r\n"s, "a", "x\r\n"},
      {"0xFF lines", "{Begin a}\r\n\xFF\xFF\r\n\xFF{End}", "a", "\xFF\xFF\r\n\xFF"},
      {"name with a lead byte hiding a letter",
       "{Begin \x82"
       "a}\r\nx\r\n",
       "\x82"
       "A",
       ""},
      {"name ending with a lone lead byte: the same bytes still match", "{Begin \x82}\r\nx\r\n",
       "\x82", "x\r\n"},
      {"begin line with a zero byte in the name", "{Begin a\0}\r\nx\r\n"s, "a", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SignatureBlockFromText(c.file, c.name), c.expected) << c.what;
  }
}

}  // namespace
}  // namespace zv
