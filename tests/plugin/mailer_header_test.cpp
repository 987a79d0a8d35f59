#include "plugin/mailer_header.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zv {
namespace {

const std::string P = "X-Mailer-Plugin: ";
const std::string V = "Zorvek32 Ver.1.04 Rev.2";

struct Case {
  const char* what;
  std::string header;
  std::string expected;  // the header afterwards; equal to `header` when nothing changes
};

void RunCases(const std::vector<Case>& cases) {
  for (const auto& c : cases) {
    std::string header = c.header;
    const bool changed = AddMailerHeader(header);
    EXPECT_EQ(header, c.expected) << c.what;
    EXPECT_EQ(changed, c.header != c.expected) << c.what;
  }
}

TEST(AddMailerHeader, AddsTheFieldBeforeTheLastField) {
  RunCases({
      {"two fields", "To: a\r\nSubject: b\r\n", "To: a\r\n" + P + V + "\r\nSubject: b\r\n"},
      {"last field folded", "To: a\r\nSubject: b\r\n c\r\n\td\r\n",
       "To: a\r\n" + P + V + "\r\nSubject: b\r\n c\r\n\td\r\n"},
      {"single line", "To: a\r\n", P + V + "\r\nTo: a\r\n"},
      {"only continuation lines", " x\r\n\ty\r\n", P + V + "\r\n x\r\n\ty\r\n"},
      {"no final line break", "To: a\r\nSubject: b", "To: a\r\n" + P + V + "\r\nSubject: b\r\n"},
      {"lone LF and CR breaks", "To: a\nCc: c\rSubject: b\n",
       "To: a\r\nCc: c\r\n" + P + V + "\r\nSubject: b\r\n"},
      {"empty header", "", P + V + "\r\n"},
      {"own name outside the field", "Subject: Zorvek32\r\nTo: a\r\n",
       "Subject: Zorvek32\r\n" + P + V + "\r\nTo: a\r\n"},
      {"field name without colon", "X-Mailer-Plugin Zorvek32\r\nTo: a\r\n",
       "X-Mailer-Plugin Zorvek32\r\n" + P + V + "\r\nTo: a\r\n"},
      {"longer field name", "X-Mailer-Plugins: Zorvek32\r\nTo: a\r\n",
       "X-Mailer-Plugins: Zorvek32\r\n" + P + V + "\r\nTo: a\r\n"},
      {"zero byte ends the header", std::string("To: a\r\n\0Cc: b\r\n", 15),
       P + V + "\r\nTo: a\r\n"},
  });
}

TEST(AddMailerHeader, KeepsTheCurrentEntry) {
  RunCases({
      {"only the field", P + V + "\r\n", P + V + "\r\n"},
      {"without final break", P + V, P + V},
      {"with comma and another entry", "To: a\r\n" + P + V + ",\r\n\tOther 1.0\r\nSubject: b",
       "To: a\r\n" + P + V + ",\r\n\tOther 1.0\r\nSubject: b"},
      {"on a continuation line", P + "Other,\r\n\t" + V + "\r\nTo: a\r\n",
       P + "Other,\r\n\t" + V + "\r\nTo: a\r\n"},
      {"on a blank-led continuation with comma", P + "Other,\n " + V + ",\n\tThird\n",
       P + "Other,\n " + V + ",\n\tThird\n"},
  });
}

TEST(AddMailerHeader, UpdatesAnOlderEntry) {
  RunCases({
      {"older version", "To: a\r\n" + P + "Zorvek32 Ver.1.03\r\n", "To: a\r\n" + P + V + "\r\n"},
      {"older version with comma", P + "Zorvek32 Ver.1.00,\r\n\tOther\r\n",
       P + V + ",\r\n\tOther\r\n"},
      {"another entry before ours is replaced too", P + "Other, Zorvek32 Ver.1.00\r\n",
       P + V + "\r\n"},
      {"trailing blank is not current", P + V + " \r\n", P + V + "\r\n"},
      {"other letter case and blanks before the colon", "x-mailer-PLUGIN  :Zorvek32 old\r\n",
       P + V + "\r\n"},
      {"continuation line naming the field", "Subject: s\r\n X-Mailer-Plugin: Zorvek32 1\r\n",
       "Subject: s\r\n" + P + V + "\r\n"},
      {"continuation entry with comma", P + "Other,\r\n Zorvek32 Ver.1.00,\r\n\tThird\r\nTo: a",
       P + "Other,\r\n\t" + V + ",\r\n\tThird\r\nTo: a\r\n"},
      {"continuation entry without comma", P + "Other,\r\n\tZorvek32 Ver.1.00\r\n",
       P + "Other,\r\n\t" + V + "\r\n"},
      {"only the first continuation entry counts", P + "A,\r\n\tZorvek32 1,\r\n\tZorvek32 2\r\n",
       P + "A,\r\n\t" + V + ",\r\n\tZorvek32 2\r\n"},
  });
}

TEST(AddMailerHeader, JoinsAnotherPluginsField) {
  RunCases({
      {"field not last", "To: a\r\n" + P + "Other 1.0\r\nSubject: b\r\n",
       "To: a\r\n" + P + "Other 1.0,\r\n\t" + V + "\r\nSubject: b\r\n"},
      {"field last, no final break", "To: a\r\n" + P + "Other 1.0",
       "To: a\r\n" + P + "Other 1.0,\r\n\t" + V + "\r\n"},
      {"after the field's continuation lines", P + "A,\r\n\tB\r\nTo: x",
       P + "A,\r\n\tB,\r\n\t" + V + "\r\nTo: x\r\n"},
      {"a trailing comma gets another", P + "Other,\r\nTo: a\r\n",
       P + "Other,,\r\n\t" + V + "\r\nTo: a\r\n"},
      {"other letter case", "x-MAILER-plugin: Other\r\nTo: a\r\n",
       "x-MAILER-plugin: Other,\r\n\t" + V + "\r\nTo: a\r\n"},
      {"first field line wins", P + "A\r\n" + P + V + "\r\n",
       P + "A,\r\n\t" + V + "\r\n" + P + V + "\r\n"},
  });
}

}  // namespace
}  // namespace zv
