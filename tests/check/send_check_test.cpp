#include "check/send_check.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "text/sjis.h"

namespace zv {
namespace {

using F = PatternField;

constexpr std::string_view kQuestionTail = "\r\n送信しますか？";

// Records what the check asks of the platform.
class FakeHost : public SendCheckHost {
 public:
  Attachment attachment = Attachment::kAbsent;
  bool answer = false;
  int attachmentTests = 0;
  std::vector<std::string> texts;
  std::vector<std::string> titles;

  Attachment TestAttachment() override {
    ++attachmentTests;
    return attachment;
  }
  bool AskUser(std::string_view text, std::string_view title) override {
    texts.emplace_back(text);
    titles.emplace_back(title);
    return answer;
  }
};

CharsetConverter& Converter() {
  static const auto converter = PlatformConverter();
  return *converter;
}

// A pattern that applies to every mail and checks nothing until `fields` switch checks on.
PatternRow Pattern(std::vector<std::pair<F, std::string>> fields) {
  PatternRow row;
  for (size_t f = 0; f < kPatternFieldCount; ++f) row[f] = "False";
  row[static_cast<size_t>(F::kName)] = "p";
  row[static_cast<size_t>(F::kAddress)] = "";
  row[static_cast<size_t>(F::kZorvek)] = "";
  row[static_cast<size_t>(F::kHissu)] = "";
  for (auto& [field, value] : fields) row[static_cast<size_t>(field)] = std::move(value);
  return row;
}

PatternTable Table(std::vector<PatternRow> rows) {
  PatternTable table;
  for (auto& row : rows) table.Append(std::move(row));
  return table;
}

std::string Warning(const PatternTable& table, std::string_view header, std::string_view body,
                    Attachment attachment = Attachment::kAbsent) {
  FakeHost host;
  host.attachment = attachment;
  return ComposeWarning(table, header, body, host);
}

// The findings of the single pattern "p", or "" when it found nothing.
std::string Findings(const PatternTable& table, std::string_view header, std::string_view body,
                     Attachment attachment = Attachment::kAbsent) {
  const std::string w = Warning(table, header, body, attachment);
  if (w.empty()) return w;
  const std::string head = "■禁句パターン【p】\r\n";
  EXPECT_EQ(w.substr(0, head.size()), head);
  EXPECT_EQ(w.substr(w.size() - kQuestionTail.size()), kQuestionTail);
  return w.substr(head.size(), w.size() - head.size() - kQuestionTail.size());
}

TEST(SendCheckApplicability, Table) {
  struct Case {
    const char* what;
    std::string address, addressOn, header;
    bool applies;
  };
  const std::vector<Case> cases = {
      {"empty list, on", "", "True", "To: a@x.jp", false},
      {"empty list, off", "", "False", "To: a@x.jp", true},
      {"blanks around the address, any case", "  \tTaro@Example.jp \t", "True",
       "To: Hanako <TARO@example.JP>", true},
      {"a line of blanks only", "   ", "True", "To: a@x.jp", false},
      {"second line matches", "b@y.jp\r\na@x.jp\r\n", "True", "To: a@x.jp", true},
      {"address in Cc only", "a@x.jp", "True", "To: b@y.jp\r\nCc: a@x.jp", false},
      {"address in Cc only, off", "a@x.jp", "False", "To: b@y.jp\r\nCc: a@x.jp", true},
      {"folded To", "a@x.jp", "True", "To: b@y.jp,\r\n\ta@x.jp\r\nSubject: s", true},
      {"fold joins without the blank", "jp,a@", "True", "To: b@y.jp,\r\n a@x.jp", true},
      {"fold onto an empty line joins again", "b@z", "True", "To: x@y\r\n\r\n  b@z", true},
      {"joined behind a lone lead byte, which takes the b", "b@z", "True",
       "To: x@y\x82\r\n\r\n  b@z", false},
      {"joined behind a lone lead byte, the rest found", "@z", "True",
       "To: x@y\x82\r\n\r\n  b@z", true},
      {"a first line with a blank stays", "x@y", "True", " To: x@y", false},
      {"lower-case field name", "a@x.jp", "True", "to: a@x.jp", true},
      {"mixed-case field name", "a@x.jp", "True", "tO: A@X.JP", true},
      {"only the first To line counts", "a@x.jp", "True", "To: b@y.jp\r\nTo: a@x.jp", false},
      {"no To line, on", "a@x.jp", "True", "Subject: s", false},
      {"no To line, off", "a@x.jp", "False", "Subject: s", true},
      {"match with a flag that is not exactly True", "a@x.jp", "TRUE", "To: a@x.jp", false},
      {"no match with a flag that is not exactly True", "a@x.jp", "true", "To: b@y.jp", true},
      {"double-byte address, letters beside it folded", "営業a", "True", "To: 営業A <x>", true},
  };
  for (const auto& c : cases) {
    const PatternTable table = Table(
        {Pattern({{F::kAddress, c.address}, {F::kAddressOn, c.addressOn}, {F::kAlways, "True"}})});
    EXPECT_EQ(!Warning(table, c.header, "body").empty(), c.applies) << c.what;
  }
}

// Each case once with the option off and once on; the address is "a@x.jp" throughout.
TEST(SendCheckOptions, IncludeCcBcc) {
  struct Case {
    const char* what;
    std::string addressOn, header;
    bool appliesOff, appliesOn;
  };
  const std::vector<Case> cases = {
      {"Cc match", "True", "To: b@y.jp\r\nCc: A@x.jp", false, true},
      {"Bcc match", "True", "To: b@y.jp\r\nBcc: a@x.jp", false, true},
      {"Cc match, AddressOn off", "False", "To: b@y.jp\r\nCc: a@x.jp", true, false},
      {"Bcc match, AddressOn off", "False", "Bcc: a@x.jp\r\nTo: b@y.jp", true, false},
      {"folded lower-case cc", "True", "To: b@y.jp\r\ncc: c@z.jp,\r\n\ta@x.jp", false, true},
      {"only the first Cc counts", "True", "Cc: c@z.jp\r\nCc: a@x.jp", false, false},
      {"no match across To into Cc", "True", "To: b@a\r\nCc: @x.jp", false, false},
  };
  for (const auto& c : cases) {
    for (const bool on : {false, true}) {
      PatternSettings settings;
      settings.includeCcBcc = on;
      settings.table = Table(
          {Pattern({{F::kAddress, "a@x.jp"}, {F::kAddressOn, c.addressOn}, {F::kAlways, "True"}})});
      FakeHost host;
      CheckOutgoingMail(settings, c.header, "body", host, Converter());
      EXPECT_EQ(host.texts.size() == 1, on ? c.appliesOn : c.appliesOff) << c.what << on;
    }
  }
}

TEST(SendCheckOptions, IgnoreQuotedLines) {
  const std::string kAttach = "・「添付」と書かれていますが、添付ファイルがありません。\r\n";
  struct Case {
    const char* what;
    std::vector<std::pair<F, std::string>> fields;
    std::string body, findingsOff, findingsOn;
  };
  const std::vector<Case> cases = {
      {"添付 in a \"> \" line",
       {{F::kAttachCheck, "True"}},
       "了解です\r\n> 添付しました\r\n",
       kAttach,
       ""},
      {"添付 in a ＞ line", {{F::kAttachCheck, "True"}}, "了解\r\n＞添付しました", kAttach, ""},
      {"blanks and a tab before >",
       {{F::kAttachCheck, "True"}},
       "了解\n \t>添付しました",
       kAttach,
       ""},
      {"> after other text", {{F::kAttachCheck, "True"}}, "返信 > 添付しました", kAttach, kAttach},
      {"forbidden word only quoted",
       {{F::kZorvekCheck, "True"}, {F::kZorvek, "馬鹿"}},
       "> この馬鹿\r\nはい",
       "・以下の禁句が入っています。\r\n「馬鹿」\r\n",
       ""},
      {"required word only quoted",
       {{F::kHissuCheck, "True"}, {F::kHissu, "敬具"}},
       "はい\r\n>> 敬具",
       "",
       "・以下の必須句が入っていません。\r\n「敬具」\r\n"},
      {"kana and full-width only quoted",
       {{F::kKana, "True"}, {F::kZenkakuText, "True"}},
       ">ｶあ\r\nok",
       "・以下の半角カナ文字が入っています。\r\n「ｶ」\r\n"
       "・本文か署名に以下の全角文字が入っています。\r\n「あ」\r\n",
       ""},
  };
  for (const auto& c : cases) {
    for (const bool on : {false, true}) {
      FakeHost host;
      const std::string w = ComposeWarning(Table({Pattern(c.fields)}), "Subject: s", c.body, host,
                                           {.ignoreQuotedLines = on});
      const std::string& findings = on ? c.findingsOn : c.findingsOff;
      EXPECT_EQ(w,
                findings.empty() ? "" : "■禁句パターン【p】\r\n" + findings + "\r\n送信しますか？")
          << c.what << on;
    }
  }
}

TEST(SendCheckFindings, EachCheckPositiveAndNegative) {
  struct Case {
    const char* what;
    F flag;
    std::string words;  // Zorvek or Hissu field, when the flag is one of those checks
    std::string header, body;
    std::string findings;
  };
  const std::vector<Case> cases = {
      {"kana in body", F::kKana, "", "Subject: s", "ab\xB6",
       "・以下の半角カナ文字が入っています。\r\n「ｶ」\r\n"},
      {"kana in From line", F::kKana, "", "From: ﾀﾛｳ\r\nSubject: s", "x",
       "・以下の半角カナ文字が入っています。\r\n「ﾀ」「ﾛ」「ｳ」\r\n"},
      {"no kana; trail bytes in kana range are not kana", F::kKana, "", "Subject: ア",
       "\x83\xB1\x83\x41 ok", ""},
      {"zenkaku in body", F::kZenkakuText, "", "Subject: s", "aあb",
       "・本文か署名に以下の全角文字が入っています。\r\n「あ」\r\n"},
      {"zenkaku only in subject is not body", F::kZenkakuText, "", "Subject: あ", "ab", ""},
      {"zenkaku in subject", F::kZenkakuSubject, "", "Subject: 件名", "x",
       "・題名に以下の全角文字が入っています。\r\n「件」「名」\r\n"},
      {"subject of full-width spaces", F::kZenkakuSubject, "", "Subject: 　　", "x",
       "・題名に以下の全角文字が入っています。\r\n「　」「　」\r\n"},
      {"ascii subject", F::kZenkakuSubject, "", "Subject: hello", "あ", ""},
      {"blank subject", F::kBlankSubject, "", "Subject:  \t ", "x", "・題名が空白です。\r\n"},
      {"no subject line", F::kBlankSubject, "", "To: a", "x", "・題名が空白です。\r\n"},
      {"full-width spaces are not blank", F::kBlankSubject, "", "Subject: 　", "x", ""},
      {"forbidden word", F::kZorvekCheck, "馬鹿\r\nばか", "Subject: s", "この馬鹿！",
       "・以下の禁句が入っています。\r\n「馬鹿」\r\n"},
      {"forbidden word split by a line break", F::kZorvekCheck, "ばか", "Subject: s",
       "あのば\r\nかめ", "・以下の禁句が入っています。\r\n「ばか」\r\n"},
      {"forbidden word in subject", F::kZorvekCheck, "NG", "Subject: NG here", "x",
       "・以下の禁句が入っています。\r\n「NG」\r\n"},
      {"forbidden word is case-sensitive", F::kZorvekCheck, "NG", "Subject: ng", "ng", ""},
      {"forbidden word only at a trail byte", F::kZorvekCheck, "A", "Subject: s", "\x83\x41", ""},
      {"not spanning body end and subject", F::kZorvekCheck, "yz", "Subject: z", "xy", ""},
      {"words taken as they stand", F::kZorvekCheck, " a", "Subject: s", "ba", ""},
      {"required word missing", F::kHissuCheck, "敬具\r\n以上", "Subject: s", "以上です",
       "・以下の必須句が入っていません。\r\n「敬具」\r\n"},
      {"required word only in subject", F::kHissuCheck, "至急", "Subject: 至急", "x", ""},
      {"required word split by a line break", F::kHissuCheck, "以上", "Subject: s", "以\r\n上", ""},
  };
  for (const auto& c : cases) {
    std::vector<std::pair<F, std::string>> fields = {{c.flag, "True"}};
    if (c.flag == F::kZorvekCheck) fields.push_back({F::kZorvek, c.words});
    if (c.flag == F::kHissuCheck) fields.push_back({F::kHissu, c.words});
    EXPECT_EQ(Findings(Table({Pattern(fields)}), c.header, c.body), c.findings) << c.what;
  }
}

TEST(SendCheckFindings, Attachment) {
  const std::string kFinding = "・「添付」と書かれていますが、添付ファイルがありません。\r\n";
  struct Case {
    const char* what;
    std::string header, body;
    Attachment attachment;
    std::string findings;
  };
  const std::vector<Case> cases = {
      {"written, none attached", "Subject: s", "資料を添付します", Attachment::kAbsent, kFinding},
      {"written, attached", "Subject: s", "資料を添付します", Attachment::kPresent, ""},
      {"written, editor unknown", "Subject: s", "添付", Attachment::kUnknown, kFinding},
      {"subject only", "Subject: 添付資料", "x", Attachment::kAbsent, kFinding},
      {"across the body's end into the subject", "Subject: 付", "添", Attachment::kAbsent,
       kFinding},
      {"split by a line break", "Subject: s", "添\r\n付", Attachment::kAbsent, kFinding},
      {"not written", "Subject: s", "添えて付ける", Attachment::kAbsent, ""},
      // The body's lone lead byte takes the subject's first byte, moving its characters.
      {"subject shifted by a lone lead byte", "Subject: x添付", "a\x81", Attachment::kAbsent,
       kFinding},
      {"subject shifted onto a trail byte", "Subject: \x93\x59\x95\x74", "a\x81",
       Attachment::kAbsent, ""},
  };
  for (const auto& c : cases) {
    const PatternTable table = Table({Pattern({{F::kAttachCheck, "True"}})});
    EXPECT_EQ(Findings(table, c.header, c.body, c.attachment), c.findings) << c.what;
  }
}

TEST(SendCheckFindings, AttachmentTestedOnlyWhenWrittenAndOnce) {
  const PatternTable table =
      Table({Pattern({{F::kAttachCheck, "True"}}), Pattern({{F::kAttachCheck, "True"}})});
  FakeHost host;
  ComposeWarning(table, "Subject: s", "no such word", host);
  EXPECT_EQ(host.attachmentTests, 0);
  const std::string w = ComposeWarning(table, "Subject: s", "添付", host);
  EXPECT_EQ(host.attachmentTests, 1);
  EXPECT_EQ(w,
            "■禁句パターン【p】\r\n・「添付」と書かれていますが、添付ファイルがありません。\r\n"
            "■禁句パターン【p】\r\n・「添付」と書かれていますが、添付ファイルがありません。\r\n"
            "\r\n送信しますか？");
}

TEST(SendCheckFindings, CheckOrderAndAlways) {
  const std::vector<std::pair<F, std::string>> everything = {
      {F::kKana, "True"},         {F::kZenkakuText, "True"}, {F::kZenkakuSubject, "True"},
      {F::kBlankSubject, "True"}, {F::kAttachCheck, "True"}, {F::kZorvekCheck, "True"},
      {F::kZorvek, "bad"},        {F::kHissuCheck, "True"},  {F::kHissu, "must"}};
  const std::string header = "Subject: 　";
  const std::string body = "ｱ 添付 bad";
  EXPECT_EQ(Findings(Table({Pattern(everything)}), header, body),
            "・以下の半角カナ文字が入っています。\r\n「ｱ」\r\n"
            "・本文か署名に以下の全角文字が入っています。\r\n「添」「付」\r\n"
            "・題名に以下の全角文字が入っています。\r\n「　」\r\n"
            "・「添付」と書かれていますが、添付ファイルがありません。\r\n"
            "・以下の禁句が入っています。\r\n「bad」\r\n"
            "・以下の必須句が入っていません。\r\n「must」\r\n");

  auto always = everything;
  always.push_back({F::kAlways, "True"});
  FakeHost host;
  EXPECT_EQ(ComposeWarning(Table({Pattern(always)}), header, body, host),
            "■禁句パターン【p】\r\n・常に警告するように設定されています。\r\n\r\n送信しますか？");
  EXPECT_EQ(host.attachmentTests, 0);
}

TEST(SendCheckFindings, WordLists) {
  struct Case {
    const char* what;
    F flag;
    std::string words, body, findings;
  };
  const std::vector<Case> cases = {
      {"duplicate word listed twice", F::kZorvekCheck, "ばか\r\nあほう\r\nばか", "ばかあほう",
       "・以下の禁句が入っています。\r\n「ばか」「あほう」「ばか」\r\n"},
      {"empty lines add nothing", F::kZorvekCheck, "\r\n\r\nばか\r\n\r\n", "ばか",
       "・以下の禁句が入っています。\r\n「ばか」\r\n"},
      {"only empty lines", F::kZorvekCheck, "\r\n\r\n", "x", ""},
      {"lone CR and LF split words", F::kZorvekCheck, "a1\rb2\nc3", "c3 a1",
       "・以下の禁句が入っています。\r\n「a1」「c3」\r\n"},
      {"empty required lines add nothing", F::kHissuCheck, "\r\n敬具\r\n\r\n", "x",
       "・以下の必須句が入っていません。\r\n「敬具」\r\n"},
      {"duplicate required word listed twice", F::kHissuCheck, "敬具\r\n敬具", "x",
       "・以下の必須句が入っていません。\r\n「敬具」「敬具」\r\n"},
  };
  for (const auto& c : cases) {
    const F list = c.flag == F::kZorvekCheck ? F::kZorvek : F::kHissu;
    const PatternTable table = Table({Pattern({{c.flag, "True"}, {list, c.words}})});
    EXPECT_EQ(Findings(table, "Subject: s", c.body), c.findings) << c.what;
  }
}

TEST(SendCheckFindings, WordChecksOffOrNotApplicableListNothing) {
  // The missing-key defaults switch both word checks on, with empty lists.
  PatternRow defaults;
  for (size_t f = 0; f < kPatternFieldCount; ++f) defaults[f] = kPatternFields[f].missingValue;
  defaults[static_cast<size_t>(F::kAddressOn)] = "False";
  EXPECT_EQ(Warning(Table({defaults}), "Subject: s", "x"), "");
  EXPECT_EQ(Findings(Table({Pattern({{F::kZorvek, "x"}, {F::kHissu, "y"}})}), "Subject: s", "x"),
            "");
}

TEST(SendCheckExcerpts, Kana) {
  struct Case {
    std::string text, excerpt;
  };
  const std::vector<Case> cases = {
      {"", ""},
      {"abc~", ""},
      {"ｱｲｳｴｵ", "「ｱ」「ｲ」「ｳ」「ｴ」「ｵ」"},
      {"ｱｲｳｴｵｶ", "「ｱ」「ｲ」「ｳ」「ｴ」「ｵ」…"},
      {"ｱｲｳｴｵｶｷ", "「ｱ」「ｲ」「ｳ」「ｴ」「ｵ」…"},
      {"ｱあｲ", "「ｱ」「ｲ」"},
      {"\x7F\x80\xA0\xFD\xFF", "「\x7F」「\x80」「\xA0」「\xFD」「\xFF」"},
      {"\x83\xB1", ""},                   // a trail byte in the kana range
      {"a\x81", ""},                      // a lone lead byte is no kana
      {std::string("ｱ\0ｲ", 3), "「ｱ」"},  // a zero byte ends the text
      {std::string("\x81\0ｲ", 3), ""},    // even as the byte after a lead byte
  };
  for (const auto& c : cases) EXPECT_EQ(KanaExcerpt(c.text), c.excerpt) << c.text;
}

TEST(SendCheckExcerpts, Zenkaku) {
  struct Case {
    std::string text, excerpt;
  };
  const std::vector<Case> cases = {
      {"", ""},
      {"abcｱｲ", ""},
      {"あいうえお", "「あ」「い」「う」「え」「お」"},
      {"あいうえおか", "「あ」「い」「う」「え」「お」…"},
      {"aあbいcうdえeおf", "「あ」「い」「う」「え」「お」"},
      {"表示", "「表」「示」"},  // second byte 0x5C
      {"a\x81", "「\x81」"},     // lone lead byte at the end, listed alone
      {"あいうえお\x81", "「あ」「い」「う」「え」「お」…"},
      {std::string("\x81\0x", 3), "「\x81」"},  // no zero byte enters the list
      {"\x81\x81\x81", "「\x81\x81」「\x81」"},
  };
  for (const auto& c : cases) {
    const std::string excerpt = ZenkakuExcerpt(c.text);
    EXPECT_EQ(excerpt, c.excerpt) << c.text;
    EXPECT_EQ(excerpt.find('\0'), std::string::npos);
  }
}

// The byte loops the excerpts are defined by, to compare the block scans with.
std::string KanaByLoop(const std::string& text) {
  std::string list;
  for (size_t i = 0; i < text.size() && text[i] != '\0'; ++i) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    if (IsSjisLeadByte(b)) {
      ++i;
    } else if (b > 0x7E) {
      if (list.size() >= 25) return list + "…";
      list += "「" + std::string(1, text[i]) + "」";
    }
  }
  return list;
}

std::string ZenkakuByLoop(const std::string& text) {
  std::string list;
  for (size_t i = 0; i < text.size() && text[i] != '\0'; ++i) {
    if (!IsSjisLeadByte(text[i])) continue;
    if (list.size() >= 30) return list + "…";
    const bool alone = i + 1 == text.size() || text[i + 1] == '\0';
    list += "「" + text.substr(i, alone ? 1 : 2) + "」";
    ++i;
  }
  return list;
}

TEST(SendCheckExcerpts, AgreeWithTheByteLoopOnRandomTexts) {
  const std::string alphabet = "a~\x7F\x80\x81\x9F\xA0\xB1\xDF\xE0\xFC\xFD\x40";
  std::mt19937 rng(5);
  for (int round = 0; round < 3000; ++round) {
    // Mostly plain bytes, so that the findings often lie beyond the first blocks.
    std::string text(rng() % 300, 'a');
    const unsigned rare = 1 + rng() % 40;
    for (char& c : text) {
      if (rng() % rare == 0) c = alphabet[rng() % alphabet.size()];
    }
    ASSERT_EQ(KanaExcerpt(text), KanaByLoop(text)) << round;
    ASSERT_EQ(ZenkakuExcerpt(text), ZenkakuByLoop(text)) << round;
  }
}

// The body is flattened and scanned in chunks; a word split by line breaks is found wherever
// the break falls.
TEST(SendCheckFindings, SplitWordAtEveryOffset) {
  const PatternTable table = Table({Pattern(
      {{F::kZorvekCheck, "True"}, {F::kZorvek, "ばか\r\n終了\r\nzz"}, {F::kKana, "True"}})});
  for (size_t k = 0; k < 80; ++k) {
    const std::string body = std::string(k, 'x') + "ば\r\nか" + std::string(k, '\n') +
                             "終\r了\r\n" + std::string(k % 17, 'y') + "z\r\r\n\nzｶ";
    EXPECT_EQ(Findings(table, "Subject: s", body),
              "・以下の半角カナ文字が入っています。\r\n「ｶ」\r\n"
              "・以下の禁句が入っています。\r\n「ばか」「終了」「zz」\r\n")
        << k;
  }
}

TEST(SendCheckMessage, WorkedExampleOfTheDefaultPattern) {
  const PatternTable table = Table({{
      "作者へ",
      "author@example.jp\r\nauthor@example.com",
      "True",
      "False",
      "True",
      "False",
      "False",
      "True",
      "False",
      "True",
      "馬鹿\r\nばか\r\n間抜\r\nまぬけ\r\n阿呆\r\nあほう",
      "True",
      "",
  }});
  FakeHost host;
  host.answer = true;
  EXPECT_TRUE(CheckOutgoingMail(table, "To: author@example.jp\r\nSubject: \r\n", "ｶﾅ", host));
  ASSERT_EQ(host.texts.size(), 1u);
  EXPECT_EQ(host.texts[0],
            "■禁句パターン【作者へ】\r\n"
            "・以下の半角カナ文字が入っています。\r\n"
            "「ｶ」「ﾅ」\r\n"
            "・題名が空白です。\r\n"
            "\r\n"
            "送信しますか？");
  EXPECT_EQ(host.titles[0], "Zorvek32 からの警告");
}

TEST(SendCheckMessage, TwoPatternsTwoBlocksOneEmptyLine) {
  const PatternTable table = Table({
      Pattern({{F::kName, "一"}, {F::kBlankSubject, "True"}}),
      Pattern({{F::kName, "quiet"}, {F::kKana, "True"}}),  // finds nothing: no block
      Pattern({{F::kName, "二"}, {F::kZorvekCheck, "True"}, {F::kZorvek, "x"}}),
  });
  EXPECT_EQ(Warning(table, "To: a", "x"),
            "■禁句パターン【一】\r\n・題名が空白です。\r\n"
            "■禁句パターン【二】\r\n・以下の禁句が入っています。\r\n「x」\r\n"
            "\r\n送信しますか？");
}

// The recipient block opens the message, before the first pattern's block; alone it still
// asks. The mail's new domains come back with the answer.
TEST(SendCheckMessage, RecipientBlockFirst) {
  const std::string block = "■宛先\r\n・はじめて送るドメインがあります。\r\n「x.jp」\r\n";
  const std::string pattern = "■禁句パターン【p】\r\n・常に警告するように設定されています。\r\n";
  const struct {
    bool always, newDomains;
    std::string text;
  } cases[] = {
      {false, false, ""},
      {true, false, pattern + "\r\n送信しますか？"},
      {false, true, block + "\r\n送信しますか？"},
      {true, true, block + pattern + "\r\n送信しますか？"},
  };
  for (const auto& c : cases) {
    PatternSettings settings;
    settings.table = Table({Pattern({{F::kAlways, c.always ? "True" : "False"}})});
    settings.recipients.newDomains = c.newDomains;
    settings.recipients.internalDomains = "own.jp";
    FakeHost host;
    host.answer = true;
    const SendVerdict v =
        CheckOutgoingMail(settings, "To: a@own.jp, b@X.jp\r\nSubject: s", "b", host, Converter());
    EXPECT_EQ(host.texts, c.text.empty() ? std::vector<std::string>{}
                                         : std::vector<std::string>{c.text});
    EXPECT_TRUE(v.send);
    EXPECT_EQ(v.newDomains, c.newDomains ? std::vector<std::string>{"x.jp"}
                                         : std::vector<std::string>{});
  }
}

TEST(SendCheckQuestion, Answers) {
  const PatternTable finds = Table({Pattern({{F::kAlways, "True"}})});
  const PatternTable quiet = Table({Pattern({})});
  struct Case {
    const char* what;
    const PatternTable* table;
    bool answer;
    bool sent;
    size_t questions;
  };
  const PatternTable empty;
  const std::vector<Case> cases = {
      {"no finding", &quiet, false, true, 0},
      {"no pattern", &empty, false, true, 0},
      {"answered Yes", &finds, true, true, 1},
      {"answered No", &finds, false, false, 1},
  };
  for (const auto& c : cases) {
    FakeHost host;
    host.answer = c.answer;
    EXPECT_EQ(CheckOutgoingMail(*c.table, "To: a", "b", host), c.sent) << c.what;
    EXPECT_EQ(host.texts.size(), c.questions) << c.what;
  }
}

TEST(SendCheckAttachment, GapBelowTheEditor) {
  EXPECT_EQ(AttachmentFromBottoms(500, 489), Attachment::kAbsent);   // 11 px
  EXPECT_EQ(AttachmentFromBottoms(500, 488), Attachment::kPresent);  // 12 px
  EXPECT_EQ(AttachmentFromBottoms(500, 520), Attachment::kAbsent);   // editor reaches past
}

}  // namespace
}  // namespace zv
