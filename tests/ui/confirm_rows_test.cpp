// The confirmation's rows and when it is shown, from a mail and the settings, without windows.
#include "ui/confirm_rows.h"

#include <gtest/gtest.h>

#include "mime/charset.h"

namespace zv::ui {
namespace {

struct Host : SendCheckHost {
  Attachment TestAttachment() override { return Attachment::kAbsent; }
  bool AskUser(std::string_view, std::string_view) override {
    ++asked;
    return false;
  }
  bool Confirm(const CheckResult& result) override {
    rows = ConfirmRows(result);
    ++confirmed;
    return true;
  }
  int asked = 0, confirmed = 0;
  std::vector<ConfirmRow> rows;
};

PatternSettings Settings(bool confirmInternal) {
  PatternSettings s;
  PatternRow p = {"社外宛", "@own.example", "False", "False", "False", "False", "False",
                  "False",  "False",        "True",  "社外秘", "False", ""};
  s.table.Append(p);
  s.recipients.internalDomains = "own.example\r\n*.own.example\r\n-boss@own.example";
  s.recipients.knownDomains = "client.example";
  s.recipients.newDomains = true;
  s.recipients.confirm = true;
  s.recipients.confirmInternal = confirmInternal;
  return s;
}

std::string Line(const ConfirmRow& r) {
  return std::string(r.ticked ? "[x] " : "[ ] ") + (r.alert ? "! " : "") + r.kind + " | " +
         r.content + " | " + r.domain;
}

TEST(ConfirmRows, FindingsThenExternalByDomainThenInternal) {
  const auto converter = PlatformConverter();
  Host host;
  const std::string header =
      "To: \"山本 様\" <yamamoto@client.example>\r\n"
      "Cc: sato@cliemt.example, tanaka@own.example, ito@Client.Example (伊藤), boss@own.example\r\n"
      "Bcc: suzuki@tokyo.own.example, YAMAMOTO@client.example\r\n"
      "Subject: s\r\n";
  const SendVerdict v =
      CheckOutgoingMail(Settings(false), header, "社外秘です", host, *converter);
  EXPECT_TRUE(v.send);
  EXPECT_EQ(host.asked, 0);
  ASSERT_EQ(host.confirmed, 1);
  std::vector<std::string> lines;
  for (const ConfirmRow& r : host.rows) lines.push_back(Line(r));
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "[ ] ! 警告 | 【宛先】はじめて送るドメインがあります。 "
                       "「cliemt.example」（client.example に似ています）「own.example」 | ",
                       "[ ] ! 警告 | 【社外宛】以下の禁句が入っています。 「社外秘」 | ",
                       "[ ] ! To | 山本 様 <yamamoto@client.example> | client.example",
                       "[ ] ! Cc | 伊藤 <ito@Client.Example> | client.example",
                       "[ ] ! Cc | sato@cliemt.example | cliemt.example",
                       "[ ] ! Cc | boss@own.example | own.example",
                       "[x] Cc | tanaka@own.example | own.example",
                       "[x] Bcc | suzuki@tokyo.own.example | tokyo.own.example",
                   }));
}

TEST(ConfirmRows, WhenTheWindowIsShown) {
  const auto converter = PlatformConverter();
  const struct {
    const char* header;
    const char* body;
    bool confirmInternal;
    int confirmed;
  } cases[] = {
      {"To: a@own.example\r\nSubject: s", "ok", false, 0},   // internal only, nothing found
      {"To: a@own.example\r\nSubject: s", "ok", true, 1},    // ConfirmInternal
      {"Subject: s", "ok", true, 0},                         // nobody at all
      {"To: a@client.example\r\nSubject: s", "ok", false, 1},  // external
      {"To: a@own.example\r\nSubject: s", "社外秘", false, 0},  // the pattern is for outside
      {"To: b@x.example\r\nSubject: s", "社外秘", false, 1},    // a finding (and a new domain)
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.header);
    Host host;
    PatternSettings s = Settings(c.confirmInternal);
    s.recipients.newDomains = false;
    s.recipients.knownDomains.clear();
    CheckOutgoingMail(s, c.header, c.body, host, *converter);
    EXPECT_EQ(host.confirmed, c.confirmed);
    EXPECT_EQ(host.asked, 0);
  }
}

}  // namespace
}  // namespace zv::ui
