// The command line over the sample mails and settings in this folder: each mode's output and
// exit status, and the lint of one settings file with one instance of each problem.
#include "tester/tester.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace zv::tester {
namespace {

// Files of this folder by their relative names; output kept in code page 932.
class FolderIo : public TesterIo {
 public:
  std::optional<std::string> ReadFile(const std::string& name) override {
    std::ifstream f(std::string(ZV_TESTER_DATA) + "/" + name, std::ios::binary);
    if (!f) return std::nullopt;
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
  }
  void Out(std::string_view b) override { out.append(b); }
  void Err(std::string_view b) override { err.append(b); }
  std::string out, err;
};

const char* const kUsage =
    "usage: zorvek-check --settings FILE [--signature FILE --signature-name NAME] [--attachment]"
    " [--encoding cp932|utf-8] MAIL...\n       zorvek-check --lint FILE\n";

TEST(Tester, ModesOutputAndStatus) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out, err;
  };
  const Case cases[] = {
      {{"--settings", "Zorvek32.ini", "mails/sjis.txt", "mails/utf8.txt", "mails/iso2022.eml",
        "mails/multipart.eml"},
       1,
       "== mails/sjis.txt\n■禁句パターン【社内規則】\n・以下の禁句が入っています。\n「極秘」\n"
       "■禁句パターン【取引先】\n・題名が空白です。\n\n送信しますか？\n"
       "== mails/utf8.txt\n■禁句パターン【社内規則】\n・以下の半角カナ文字が入っています。\n"
       "「ｶ」「ﾝ」「ﾌ」「ｧ」「ﾚ」…\n\n送信しますか？\n"
       "== mails/iso2022.eml\n■禁句パターン【社内規則】\n"
       "・「添付」と書かれていますが、添付ファイルがありません。\n\n送信しますか？\n"
       "== mails/multipart.eml\n■禁句パターン【社内規則】\n・以下の禁句が入っています。\n"
       "「社外秘」\n\n送信しますか？\n",
       ""},
      {{"--settings", "recipients.ini", "mails/sjis.txt"},
       1,
       "== mails/sjis.txt\n■宛先\n・宛先（To と Cc）が 2 件あります。\n"
       "・はじめて送るドメインがあります。\n"
       "「partner.example.jp」（partner.exampel.jp に似ています）\n\n送信しますか？\n",
       ""},
      // The confirmation's rows after the warning, or that none would be shown.
      {{"--settings", "confirm.ini", "mails/sjis.txt", "mails/utf8.txt"},
       0,
       "== mails/sjis.txt\nno warning\n[ ] Cc taro@partner.example.jp partner.example.jp\n"
       "[x] To hanako@example.org example.org\n"
       "== mails/utf8.txt\nno warning\nno confirmation\n",
       ""},
      {{"--attachment", "--settings", "Zorvek32.ini", "mails/iso2022.eml"},
       0,
       "== mails/iso2022.eml\nno warning\n",
       ""},
      {{"--settings", "Zorvek32.ini", "--signature", "mails/Signature", "--signature-name", "営業",
        "--attachment", "mails/iso2022.eml"},
       1,
       "== mails/iso2022.eml\n■禁句パターン【社内規則】\n・以下の禁句が入っています。\n"
       "「社外秘」\n\n送信しますか？\n",
       ""},
      // One bad mail does not stop the others, and 2 wins over 1.
      {{"--settings", "Zorvek32.ini", "missing.txt", "mails/bad.eml", "mails/sjis.txt"},
       2,
       "== mails/sjis.txt\n■禁句パターン【社内規則】\n・以下の禁句が入っています。\n「極秘」\n"
       "■禁句パターン【取引先】\n・題名が空白です。\n\n送信しますか？\n",
       "zorvek-check: missing.txt: cannot be read\n"
       "zorvek-check: mails/bad.eml: unknown charset \"EUC-KR\"\n"},
      {{"--settings", "Zorvek32.ini", "--bogus", "mails/sjis.txt"},
       2,
       "",
       std::string("zorvek-check: unknown option --bogus\n") + kUsage},
      {{"--settings", "missing.ini", "mails/sjis.txt"}, 2, "",
       "zorvek-check: missing.ini: cannot be read\n"},
      {{"--lint", "lint.ini"},
       1,
       "lint.ini:1: PatternCount is 3 but Zorvek\\Pattern0002 is missing: it loads as a pattern of"
       " default values\n"
       "lint.ini:3: Address lists \"A@Example.com\" twice\n"
       "lint.ini:5: Kana is \"true\", not True or False: it counts as off\n"
       "lint.ini:7: Zorvek entry \"社外秘 \" has blanks at an end: they are part of it\n"
       "lint.ini:11: pattern \"取引先\" has AddressOn True and no address: it never applies\n"
       "lint.ini:12: ZorvekCheck is on with an empty Zorvek list: it finds nothing\n"
       "lint.ini:15: Zorvek\\Pattern0003 is never loaded: PatternCount is 3\n"
       "lint.ini:16: value \"12a\" does not convert to Integer: the default is used\n"
       "lint.ini:17: bytes that are not code page 932 characters\n"
       "lint.ini:19: same name as line 18: this line is never read\n"
       "lint.ini:20: Attach is not a setting of a pattern: did you mean AttachCheck?\n"
       "lint.ini:21: AdressOn is not a setting of a pattern: did you mean AddressOn?\n"
       "lint.ini:22: IgnoreQuotedLine is not a setting of Check: did you mean IgnoreQuotedLines?\n"
       "lint.ini:23: Zorvek\\Patern0001 is not a pattern section name: did you mean"
       " Zorvek\\Pattern0001?\n"
       "lint.ini:24: Mailer is not a setting of Header: it is never read\n"
       "lint.ini:25: InternalDomains entry \"tanaka@\" can never match: nothing after @\n"
       "lint.ini:25: InternalDomains entry \"a b.example\" can never match: a blank inside\n"
       "lint.ini:25: InternalDomains entry \"a@b@c\" can never match: two @\n"
       "lint.ini:25: InternalDomains lists \"Example.org\" twice\n"
       "lint.ini:26: \"example.org\" is one of the own domains (InternalDomains) and is also"
       " listed in KnownDomains\n"
       "lint.ini:26: KnownDomains lists \"CLIENT.example\" twice\n"
       "lint.ini:27: ManyRecipients is 12345, outside 0 to 9999: it counts as 0 (off)\n",
       ""},
      {{"--lint", "Zorvek32.ini"}, 0, "", ""},
  };
  const auto converter = PlatformConverter();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.back());
    FolderIo io;
    EXPECT_EQ(RunTester(c.args, io, *converter, Console{true, Language::kEnglish}), c.status);
    EXPECT_EQ(io.out, c.out);
    EXPECT_EQ(io.err, c.err);
  }
}

}  // namespace
}  // namespace zv::tester
