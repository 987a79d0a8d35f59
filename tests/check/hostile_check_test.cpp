// Hostile mail through the whole send-time check: a 100 MB header line, a million header lines,
// a 10 MB body with no line break, zero bytes, 0xFF bytes and lone lead bytes at every
// boundary (line ends, the end of the body, the end of the subject). Correct warnings only; the
// benchmark command times the check.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "check/send_check.h"
#include "hostile_sizes.h"

namespace zv {
namespace {

using namespace std::string_literals;
using F = PatternField;

class NoAttachmentHost final : public SendCheckHost {
 public:
  Attachment TestAttachment() override { return Attachment::kAbsent; }
  bool AskUser(std::string_view, std::string_view) override { return false; }
};

// A pattern "p" that applies to every mail, with the given fields set.
PatternTable OnePattern(std::vector<std::pair<F, std::string>> fields) {
  PatternRow row;
  for (std::string& f : row) f = "False";
  row[static_cast<size_t>(F::kName)] = "p";
  row[static_cast<size_t>(F::kAddress)] = "";
  row[static_cast<size_t>(F::kZorvek)] = "";
  row[static_cast<size_t>(F::kHissu)] = "";
  for (auto& [field, value] : fields) row[static_cast<size_t>(field)] = std::move(value);
  PatternTable table;
  table.Append(std::move(row));
  return table;
}

// The findings of pattern "p" (between its heading and the question), or "" for no warning.
std::string Findings(const PatternTable& table, std::string_view header, std::string_view body) {
  NoAttachmentHost host;
  const std::string w = ComposeWarning(table, header, body, host);
  if (w.empty()) return w;
  const std::string head = "■禁句パターン【p】\r\n";
  const std::string tail = "\r\n送信しますか？";
  EXPECT_TRUE(w.starts_with(head));
  EXPECT_TRUE(w.ends_with(tail));
  return w.substr(head.size(), w.size() - head.size() - tail.size());
}

const std::string kZenkakuSubjectLine = "・題名に以下の全角文字が入っています。\r\n";
const std::string kZenkakuTextLine = "・本文か署名に以下の全角文字が入っています。\r\n";
const std::string kKanaLine = "・以下の半角カナ文字が入っています。\r\n";
const std::string kZorvekLine = "・以下の禁句が入っています。\r\n";
const std::string kHissuLine = "・以下の必須句が入っていません。\r\n";
const std::string kAttachLine = "・「添付」と書かれていますが、添付ファイルがありません。\r\n";

TEST(HostileCheck, HugeSubjectLine) {
  std::string header = "To: a@example.jp\r\nSubject: ";
  header.reserve(header.size() + test::kHugeLine + 16);
  header.append(test::kHugeLine, 'x');
  header += "馬鹿\r\n";
  const PatternTable table = OnePattern({{F::kZenkakuSubject, "True"},
                                         {F::kBlankSubject, "True"},
                                         {F::kZorvekCheck, "True"},
                                         {F::kZorvek, "馬鹿\r\nyyyy"},
                                         {F::kHissuCheck, "True"},
                                         {F::kHissu, "xxxxxxxx\r\nz"}});
  EXPECT_EQ(Findings(table, header, "body"), kZenkakuSubjectLine + "「馬」「鹿」\r\n" +
                                                 kZorvekLine + "「馬鹿」\r\n" + kHissuLine +
                                                 "「z」\r\n");
}

TEST(HostileCheck, LongToLineWithTheAddressAtItsEnd) {
  std::string header = "To: ";
  header.append(test::kLongText, 'a');
  header += "@Example.JP\r\nSubject: s\r\n";
  PatternTable table = OnePattern({{F::kAlways, "True"},
                                   {F::kAddressOn, "True"},
                                   {F::kAddress, "  x@y\r\naaa@example.jp \r\n"}});
  EXPECT_EQ(Findings(table, header, ""), "・常に警告するように設定されています。\r\n");
  table.Set(0, F::kAddress, "aaa@example.jpx");
  EXPECT_EQ(Findings(table, header, ""), "");
}

TEST(HostileCheck, MillionHeaderLines) {
  // A million filler lines, then a To field folded over two lines and a From line with kana.
  std::string header;
  header.reserve(test::kMillionLines * 14 + 64);
  for (size_t i = 0; i < test::kMillionLines; ++i) header += "X-Filler: v\r\n";
  header += "To: a@b,\r\n\tlast@example.jp\r\nFrom: \xB6\xC5\r\n";
  const PatternTable table = OnePattern({{F::kAddressOn, "True"},
                                         {F::kAddress, "LAST@EXAMPLE.JP"},
                                         {F::kKana, "True"},
                                         {F::kBlankSubject, "True"}});
  EXPECT_EQ(Findings(table, header, ""),
            kKanaLine + "「\xB6」「\xC5」\r\n" + "・題名が空白です。\r\n");
}

TEST(HostileCheck, SubjectFoldedOverAMillionLines) {
  std::string header = "Subject: s\r\n";
  header.reserve(test::kMillionLines * 4 + 64);
  for (size_t i = 0; i < test::kMillionLines; ++i) header += " a\r\n";
  header += "To: x\r\n";
  const std::string words = "s" + std::string(test::kMillionLines, 'a');
  const PatternTable table = OnePattern({{F::kHissuCheck, "True"},
                                         {F::kHissu, words + "\r\n" + words + "a"},
                                         {F::kBlankSubject, "True"}});
  EXPECT_EQ(Findings(table, header, ""), kHissuLine + "「" + words + "a」\r\n");
}

TEST(HostileCheck, LongBodyWithoutLineBreak) {
  std::string body;
  body.reserve(test::kLongText + 8);
  while (body.size() < test::kLongText) body += "あ";
  body += "馬鹿";
  const PatternTable table = OnePattern({{F::kZenkakuText, "True"},
                                         {F::kZorvekCheck, "True"},
                                         // あ is 82 A0: "A0 82" only ever stands across two.
                                         {F::kZorvek, "馬鹿\r\n\xA0\x82"},
                                         {F::kHissuCheck, "True"},
                                         {F::kHissu, "\xA0\x82\r\nあ馬"}});
  EXPECT_EQ(Findings(table, "Subject: s\r\n", body),
            kZenkakuTextLine + "「あ」「あ」「あ」「あ」「あ」…\r\n" + kZorvekLine +
                "「馬鹿」\r\n" + kHissuLine + "「\xA0\x82」\r\n");
}

TEST(HostileCheck, ZeroBytes) {
  struct Case {
    const char* what;
    std::string header, body, name, findings;
  };
  const std::string forbidden = "word";
  const std::vector<Case> cases = {
      {"a zero byte ends the body", "Subject: s\r\n", "abc\0word"s, "p", ""},
      {"a zero byte ends the header", "Subject: s\r\n\0Subject: word\r\n"s, "", "p", ""},
      {"the word before the zero byte is found", "Subject: s\r\n", "word\0"s, "p",
       kZorvekLine + "「word」\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const PatternTable table = OnePattern({{F::kZorvekCheck, "True"}, {F::kZorvek, forbidden}});
    EXPECT_EQ(Findings(table, c.header, c.body), c.findings);
  }
  // A pattern name holding a zero byte is shown up to it: the warning never holds one.
  PatternTable table = OnePattern({{F::kAlways, "True"}});
  table.Set(0, F::kName, "p\0hidden"s);
  NoAttachmentHost host;
  const std::string w = ComposeWarning(table, "", "", host);
  EXPECT_TRUE(w.starts_with("■禁句パターン【p】\r\n"));
  EXPECT_EQ(w.find('\0'), std::string::npos);
}

TEST(HostileCheck, FFBytesAreHalfWidth) {
  const std::string body(1000, '\xFF');
  const PatternTable table = OnePattern({{F::kKana, "True"}, {F::kZenkakuText, "True"}});
  EXPECT_EQ(Findings(table, "Subject: s\r\n", body),
            kKanaLine + "「\xFF」「\xFF」「\xFF」「\xFF」「\xFF」…\r\n");
}

TEST(HostileCheck, LoneLeadBytesAtEveryBoundary) {
  struct Case {
    const char* what;
    std::string header, body;
    std::vector<std::pair<F, std::string>> fields;
    std::string findings;
  };
  const std::vector<Case> cases = {
      {"a line's last lead byte pairs with the next line's first byte",
       "Subject: s\r\n",
       "x\x82\r\n\xA0y",
       {{F::kZenkakuText, "True"}, {F::kZorvekCheck, "True"}, {F::kZorvek, "あ"}},
       kZenkakuTextLine + "「あ」\r\n" + kZorvekLine + "「あ」\r\n"},
      {"a lead byte ending the body is listed alone",
       "Subject: s\r\n",
       "ab\x82",
       {{F::kZenkakuText, "True"}},
       kZenkakuTextLine + "「\x82」\r\n"},
      {"a lead byte ending the subject is listed alone",
       "Subject: s\x82\r\n",
       "",
       {{F::kZenkakuSubject, "True"}},
       kZenkakuSubjectLine + "「\x82」\r\n"},
      {"添付 across the end of the body and the start of the subject",
       "Subject: \x59\x95\x74\r\n",
       "\x93",
       {{F::kAttachCheck, "True"}},
       kAttachLine},
      {"a lead byte before a word hides its first byte",
       "Subject: s\r\n",
       "\x82word",
       {{F::kHissuCheck, "True"}, {F::kHissu, "word\r\nord"}},
       kHissuLine + "「word」\r\n"},
      {"a lead byte ending a header line takes its CR, not the next line",
       "From: \x82\r\nX: \xB1\r\n",
       "",
       {{F::kKana, "True"}},
       kKanaLine + "「\xB1」\r\n"},
      {"a lead byte ending a word list line",
       "Subject: s\r\n",
       "a\x82",
       {{F::kZorvekCheck, "True"}, {F::kZorvek, "\x82\r\na\x82"}},
       kZorvekLine + "「\x82」「a\x82」\r\n"},
      {"a lead byte ending the To value",
       "To: a@b\x82\r\n",
       "",
       {{F::kAlways, "True"}, {F::kAddressOn, "True"}, {F::kAddress, "B\x82"}},
       "・常に警告するように設定されています。\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Findings(OnePattern(c.fields), c.header, c.body), c.findings);
  }
}

}  // namespace
}  // namespace zv
