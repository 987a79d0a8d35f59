// The recipients through APCSendPost: the three warnings and the confirmation window from the
// settings file, the domains sent to growing only with mails that go out, the header handed
// back whatever the answer, and the window's placement kept until clean-up writes it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "e2e/test_mailbox.h"
#include "mailora/host.h"
#include "mailora/host_confirm.h"
#include "mailora/host_files.h"
#include "mailora/host_registry.h"
#include "mailora/host_window.h"

namespace {

const std::string kEntry = "X-Mailer-Plugin: Zorvek32 Ver.1.04 Rev.2\r\n";
const std::string kNoPatterns = "Zorvek\\PatternCount=Integer:-1\r\n";
const std::string kHeader =
    "To: \"山本 様\" <yamamoto@client.example>, tanaka@own.example\r\n"
    "Cc: sato@cliemt.example, suzuki@own.example\r\nSubject: hi\r\n";

class Recipients : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mailbox_.Create("rcpt"));
    ASSERT_TRUE(plugin_.loaded());
  }
  void TearDown() override {
    plugin_.CleanUp()();
    mailbox_.Remove();
  }

  void Start(const std::string& settings) {
    plugin_.CleanUp()();
    ASSERT_TRUE(mailora::WriteFileBytes(mailbox_.settingsPath(), settings));
    ASSERT_EQ(plugin_.StartUp()("1.10"), -1);
  }
  // Clean-up, and the file it wrote.
  std::string CleanUp() {
    plugin_.CleanUp()();
    return mailora::ReadFileBytes(mailbox_.settingsPath());
  }

  struct Outcome {
    int32_t result;
    mailora::WarningSeen warning;
    mailora::ConfirmSeen confirm;
    size_t setHeaderCalls;
  };

  Outcome Send(const std::string& header, int button,
               mailora::ConfirmAction action = mailora::ConfirmAction::kTickAllAndSend,
               const RECT* moveTo = nullptr) {
    mailora::CompositionWindow w("本文\r\n", "(無し)");
    auto& script = mailora::Script();
    script.headers[w.hwnd()] = header;
    script.setHeaderCalls.clear();
    mailora::ConfirmAnswerer user(action, button, moveTo);
    const int32_t result = plugin_.SendPost()(w.hwnd(), 0);
    user.Finish();
    Outcome o{result, user.warning(), user.confirm(), script.setHeaderCalls.size()};
    if (o.confirm.shown) {
      EXPECT_EQ(o.confirm.owner, w.hwnd());
    }
    return o;
  }

  mailora::Plugin plugin_;
  zv::test::TestMailbox mailbox_;
};

TEST_F(Recipients, EachWarningOnAndOffFromTheSettingsFile) {
  const std::string own = "Recipients\\InternalDomains=String:own.example\r\n";
  const struct {
    const char* what;
    std::string settings;
    const char* warning;  // null: none
  } cases[] = {
      {"all off", kNoPatterns + own, nullptr},
      {"many recipients", kNoPatterns + "Recipients\\ManyRecipients=Integer:4\r\n",
       "■宛先\r\n・宛先（To と Cc）が 4 件あります。\r\n\r\n送信しますか？"},
      {"many recipients, one short", kNoPatterns + "Recipients\\ManyRecipients=Integer:5\r\n",
       nullptr},
      {"many domains", kNoPatterns + own + "Recipients\\ManyDomains=Integer:2\r\n",
       "■宛先\r\n・社外のドメインが 2 個あります。\r\n「client.example」「cliemt.example」\r\n\r\n"
       "送信しますか？"},
      {"new domains",
       kNoPatterns + own +
           "Recipients\\KnownDomains=String:client.example\r\nRecipients\\NewDomains=Boolean:"
           "True\r\n",
       "■宛先\r\n・はじめて送るドメインがあります。\r\n"
       "「cliemt.example」（client.example に似ています）\r\n\r\n送信しますか？"},
      {"new domains off", kNoPatterns + own + "Recipients\\NewDomains=Boolean:False\r\n", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Start(c.settings + "Header\\X-Mailer-Plugin=Boolean:True\r\n");
    const Outcome o = Send(kHeader, IDNO);
    EXPECT_EQ(o.warning.shown, c.warning != nullptr);
    if (c.warning) {
      EXPECT_EQ(o.warning.text, c.warning);
    }
    EXPECT_EQ(o.result, c.warning ? 0 : -1);
    EXPECT_FALSE(o.confirm.shown);
    EXPECT_EQ(o.setHeaderCalls, 1u);  // the header's upkeep whatever the answer
  }
}

TEST_F(Recipients, DomainsSentToGrowOnlyWithMailsThatGoOut) {
  Start(
      kNoPatterns +
      "Recipients\\InternalDomains=String:own.example\r\nRecipients\\NewDomains=Boolean:True\r\n");
  EXPECT_EQ(Send(kHeader, IDNO).result, 0);
  EXPECT_EQ(Send(kHeader, IDYES).result, -1);
  // Now known: the same mail goes out without a question.
  const Outcome again = Send(kHeader, IDNO);
  EXPECT_FALSE(again.warning.shown);
  EXPECT_EQ(again.result, -1);
  const std::string saved = CleanUp();
  EXPECT_NE(
      saved.find("\r\nRecipients\\KnownDomains=String:client.example%0D%0Acliemt.example\r\n"),
      std::string::npos)
      << saved;
}

TEST_F(Recipients, ConfirmationWindowInPlaceOfTheWarning) {
  const std::string settings =
      kNoPatterns +
      "Recipients\\InternalDomains=String:own.example\r\nRecipients\\Confirm=Boolean:True\r\n"
      "Header\\X-Mailer-Plugin=Boolean:True\r\n";
  using A = mailora::ConfirmAction;
  const struct {
    const char* what;
    A action;
    int32_t result;
  } cases[] = {
      {"every row ticked, 送信", A::kTickAllAndSend, -1},
      {"one row unticked", A::kLeaveOneAndSend, 0},
      {"Enter", A::kTickAllAndEnter, 0},
      {"Esc", A::kTickAllAndEsc, 0},
      {"the close box", A::kTickAllAndClose, 0},
  };
  Start(settings);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Outcome o = Send(kHeader, IDYES, c.action);
    EXPECT_FALSE(o.warning.shown);
    ASSERT_TRUE(o.confirm.shown);
    EXPECT_EQ(o.confirm.rows, (std::vector<std::string>{
                                  "[ ] To 山本 様 <yamamoto@client.example> client.example",
                                  "[ ] Cc sato@cliemt.example cliemt.example",
                                  "[x] To tanaka@own.example own.example",
                                  "[x] Cc suzuki@own.example own.example",
                              }));
    EXPECT_FALSE(o.confirm.sendEnabledBefore);
    EXPECT_EQ(o.confirm.sendEnabledAfter, c.action != A::kLeaveOneAndSend);
    EXPECT_EQ(o.result, c.result);
    EXPECT_EQ(o.setHeaderCalls, 1u);
  }
  // Internal recipients only and nothing found: no window, unless ConfirmInternal says so.
  const std::string internal = "To: tanaka@own.example\r\nSubject: hi\r\n";
  const Outcome quiet = Send(internal, IDNO);
  EXPECT_FALSE(quiet.confirm.shown);
  EXPECT_EQ(quiet.result, -1);
  Start(settings + "Recipients\\ConfirmInternal=Boolean:True\r\n");
  const Outcome asked = Send(internal, IDNO, A::kTickAllAndSend);
  ASSERT_TRUE(asked.confirm.shown);
  EXPECT_EQ(asked.confirm.rows, std::vector<std::string>{"[x] To tanaka@own.example own.example"});
  EXPECT_TRUE(asked.confirm.sendEnabledBefore);
  EXPECT_EQ(asked.result, -1);
}

TEST_F(Recipients, ConfirmationPlacementKeptAcrossSendsAndWrittenAtCleanUp) {
  const std::string settings = kNoPatterns + "Recipients\\Confirm=Boolean:True\r\n";
  Start(settings);
  const RECT moved{150, 120, 750, 450};
  Send(kHeader, IDNO, mailora::ConfirmAction::kTickAllAndEsc, &moved);
  // Nothing written at a send.
  EXPECT_EQ(mailora::ReadFileBytes(mailbox_.settingsPath()), settings);
  const Outcome second = Send(kHeader, IDNO, mailora::ConfirmAction::kTickAllAndEsc);
  ASSERT_TRUE(second.confirm.shown);
  EXPECT_EQ(second.confirm.place.left, moved.left);
  EXPECT_EQ(second.confirm.place.top, moved.top);
  EXPECT_EQ(second.confirm.place.right - second.confirm.place.left, moved.right - moved.left);
  const std::string saved = CleanUp();
  EXPECT_NE(saved.find("\r\nConfirmForm\\Width=Integer:600\r\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("\r\nConfirmForm\\State=String:Normal\r\n"), std::string::npos) << saved;
}

}  // namespace
