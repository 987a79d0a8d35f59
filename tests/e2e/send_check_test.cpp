// The send-time check through APCSendPost: patterns from the settings file, the mail from the
// substitute host's composition window and signature file, the warning answered by a second
// thread, and the header handed back whatever the answer.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "e2e/test_mailbox.h"
#include "mailora/host.h"
#include "mailora/host_files.h"
#include "mailora/host_registry.h"
#include "mailora/host_warning.h"
#include "mailora/host_window.h"

namespace {

const std::string kEntry = "X-Mailer-Plugin: Zorvek32 Ver.1.04 Rev.2\r\n";

// One pattern, by default for every mail: the forbidden word 禁句 and the attachment check.
std::string SettingsFile(const char* address = "", const char* addressOn = "False") {
  std::string file = "Zorvek\\PatternCount=Integer:1\r\n";
  const char* fields[13][2] = {{"Name", "e2e"},
                               {"Address", address},
                               {"AddressOn", addressOn},
                               {"Always", "False"},
                               {"Kana", "False"},
                               {"ZenkakuText", "False"},
                               {"ZenkakuSubject", "False"},
                               {"BlankSubject", "False"},
                               {"AttachCheck", "True"},
                               {"ZorvekCheck", "True"},
                               {"Zorvek", "禁句"},
                               {"HissuCheck", "False"},
                               {"Hissu", ""}};
  for (const auto& f : fields) {
    file += std::string("Zorvek\\Pattern0000\\") + f[0] + "=String:" + f[1] + "\r\n";
  }
  return file;
}

class SendCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mailbox_.Create("check"));
    const std::string& box = mailbox_.folder();
    ASSERT_TRUE(mailora::WriteFileBytes(mailbox_.settingsPath(), SettingsFile()));
    ASSERT_TRUE(
        mailora::WriteFileBytes(box + "Signature", "{Begin 署名}\r\n禁句入りの署名\r\n{End}\r\n"));
    mailora::Script().account = box;
    ASSERT_TRUE(plugin_.loaded());
    ASSERT_EQ(plugin_.StartUp()("1.10"), -1);
  }
  void TearDown() override {
    plugin_.CleanUp()();
    mailbox_.Remove({"Signature"});
  }

  struct Outcome {
    int32_t result;
    mailora::WarningSeen seen;
    std::vector<mailora::SetHeaderCall> setHeaderCalls;
  };

  // Sends `body` with `signature` selected and the editor `gap` pixels above the window's
  // bottom, answering a warning with `button`.
  Outcome Send(const std::string& body, const std::string& signature, int button, int gap = 0,
               const std::string& header = "To: a@example.com\r\nSubject: hi\r\n") {
    mailora::CompositionWindow w(body, signature);
    mailora::PlaceEditor(w, gap);
    auto& script = mailora::Script();
    script.headers[w.hwnd()] = header;
    script.editors[w.hwnd()] = w.body();
    script.setHeaderCalls.clear();
    mailora::WarningAnswerer answerer(button);
    Outcome outcome{plugin_.SendPost()(w.hwnd(), 0), {}, {}};
    outcome.seen = answerer.Finish();
    outcome.setHeaderCalls = script.setHeaderCalls;
    return outcome;
  }

  // Clean-up, then start-up again over `settings`.
  void Restart(const std::string& settings) {
    plugin_.CleanUp()();
    ASSERT_TRUE(mailora::WriteFileBytes(mailbox_.settingsPath(), settings));
    ASSERT_EQ(plugin_.StartUp()("1.10"), -1);
  }

  mailora::Plugin plugin_;
  zv::test::TestMailbox mailbox_;
};

const std::string kHeaderSentBack = "To: a@example.com\r\n" + kEntry + "Subject: hi\r\n";

TEST_F(SendCheck, NoFindingSendsWithoutAWindow) {
  const Outcome o = Send("こんにちは\r\n", "(無し)", IDNO);
  EXPECT_EQ(o.result, -1);
  EXPECT_FALSE(o.seen.shown);
  ASSERT_EQ(o.setHeaderCalls.size(), 1u);
  EXPECT_EQ(o.setHeaderCalls[0].header, kHeaderSentBack);
}

TEST_F(SendCheck, TheAnswerDecidesAndTheHeaderIsSentBackEitherWay) {
  struct Case {
    int button;
    int32_t result;
  };
  for (const Case c : {Case{IDYES, -1}, Case{IDNO, 0}}) {
    SCOPED_TRACE(c.button);
    const Outcome o = Send("これは禁\r\n句です\r\n", "(無し)", c.button);
    EXPECT_EQ(o.result, c.result);
    ASSERT_TRUE(o.seen.shown);
    EXPECT_EQ(
        o.seen.text,
        "■禁句パターン【e2e】\r\n・以下の禁句が入っています。\r\n「禁句」\r\n\r\n送信しますか？");
    EXPECT_FALSE(o.seen.owned);
    EXPECT_TRUE(o.seen.yesNoOnly);
    ASSERT_EQ(o.setHeaderCalls.size(), 1u);
    EXPECT_EQ(o.setHeaderCalls[0].header, kHeaderSentBack);
  }
}

TEST_F(SendCheck, AttachmentGapBelowTheEditor) {
  struct Case {
    int gap;
    bool warned;
  };
  for (const Case c : {Case{11, true}, Case{12, false}}) {
    SCOPED_TRACE(c.gap);
    const Outcome o = Send("資料を添付します\r\n", "(無し)", IDNO, c.gap);
    EXPECT_EQ(o.seen.shown, c.warned);
    EXPECT_EQ(o.result, c.warned ? 0 : -1);
    if (c.warned) {
      EXPECT_EQ(o.seen.text,
                "■禁句パターン【e2e】\r\n"
                "・「添付」と書かれていますが、添付ファイルがありません。\r\n\r\n送信しますか？");
    }
  }
}

TEST_F(SendCheck, SignatureFromTheAccountFileIsChecked) {
  const Outcome o = Send("本文\r\n", "署名", IDNO);
  EXPECT_EQ(o.result, 0);
  ASSERT_TRUE(o.seen.shown);
  EXPECT_NE(o.seen.text.find("「禁句」"), std::string::npos) << o.seen.text;
}

TEST_F(SendCheck, CheckOptionsFromTheSettingsFile) {
  const std::string quoted = "了解です\r\n> 禁句を含む元の文\r\n";
  const std::string client = SettingsFile("client@example.com", "True");
  const std::string plain = "To: a@example.com\r\nSubject: hi\r\n";
  const std::string copied = "To: a@example.com\r\nCc: Client@Example.com\r\nSubject: hi\r\n";
  struct Case {
    const char* what;
    std::string settings, header, body;
    bool warned;
  } cases[] = {
      {"quoted, option off", SettingsFile(), plain, quoted, true},
      {"quoted, option on", SettingsFile() + "Check\\IgnoreQuotedLines=Boolean:True\r\n", plain,
       quoted, false},
      {"client in Cc, option off", client, copied, "禁句\r\n", false},
      {"client in Cc, option on", client + "Check\\IncludeCcBcc=Boolean:True\r\n", copied,
       "禁句\r\n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Restart(c.settings);
    const Outcome o = Send(c.body, "(無し)", IDNO, 0, c.header);
    EXPECT_EQ(o.seen.shown, c.warned);
    EXPECT_EQ(o.result, c.warned ? 0 : -1);
  }
}

}  // namespace
