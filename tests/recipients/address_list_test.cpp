// The recipients of a header: every form of address list the user's mail program may write.
#include "recipients/address_list.h"

#include <gtest/gtest.h>

#include "text/header_field.h"

namespace zv {
namespace {

using K = RecipientKind;

std::vector<Recipient> Parse(std::string_view header) {
  static const auto converter = PlatformConverter();
  const std::vector<std::string> lines = UnfoldHeader(header);
  return ParseRecipients(std::vector<std::string_view>(lines.begin(), lines.end()), *converter);
}

TEST(AddressList, Forms) {
  const struct {
    const char* what;
    std::string header;
    std::vector<Recipient> want;
  } cases[] = {
      {"bare", "To: a@example.co.jp", {{K::kTo, "", "a@example.co.jp", "example.co.jp"}}},
      {"phrase, case and final dot",
       "To: 田中 太郎 <Taro@Example.CO.JP.>",
       {{K::kTo, "田中 太郎", "Taro@Example.CO.JP.", "example.co.jp"}}},
      {"quoted, escapes, second bytes 0x5C",
       "To: \"表示 ソフト\\\"能\\\\\" <x@y.jp>",
       {{K::kTo, "表示 ソフト\"能\\", "x@y.jp", "y.jp"}}},
      {"unquoted second bytes 0x5C before < and ,",
       "To: ソ<a@b.jp>, 能,c@d.jp",
       {{K::kTo, "ソ", "a@b.jp", "b.jp"}, {K::kTo, "", "能", ""}, {K::kTo, "", "c@d.jp", "d.jp"}}},
      {"separators in quotes and angles",
       "To: \"Doe, John; Jr\" <j@x.jp>, <@r,@s:k@z.jp>",
       {{K::kTo, "Doe, John; Jr", "j@x.jp", "x.jp"}, {K::kTo, "", "@r,@s:k@z.jp", "z.jp"}}},
      {"encoded words, in quotes too",
       "Cc: =?ISO-2022-JP?B?GyRCJUYlOSVIGyhC?= <t@x.jp>, \"=?utf-8?B?5bGx55Sw?=\" <y@x.jp>, "
       "=?UTF-8?Q?=E5=96=B6?= =?UTF-8?Q?=E6=A5=AD?= <e@x.jp>, =?EUC-KR?B?YQ==?= <k@x.jp>",
       {{K::kCc, "テスト", "t@x.jp", "x.jp"},
        {K::kCc, "山田", "y@x.jp", "x.jp"},
        {K::kCc, "営業", "e@x.jp", "x.jp"},
        {K::kCc, "=?EUC-KR?B?YQ==?=", "k@x.jp", "x.jp"}}},
      {"control bytes decoded into a name become blanks",
       "To: =?utf-8?B?5bGxAOeUsA0K?= <y@x.jp>",
       {{K::kTo, "山 田", "y@x.jp", "x.jp"}}},
      {"comments",
       "To: tanaka@x.example (田中), (note) b@y.jp (first (nested)) (second), "
       "Sales (dept)  Team <s@x.jp> (after)",
       {{K::kTo, "田中", "tanaka@x.example", "x.example"},
        {K::kTo, "first", "b@y.jp", "y.jp"},
        {K::kTo, "Sales Team", "s@x.jp", "x.jp"}}},
      {"groups",
       "To: 営業部: a@x.jp, \"B\" <b@y.jp>; c@z.jp\r\nCc: undisclosed-recipients:;",
       {{K::kTo, "", "a@x.jp", "x.jp"},
        {K::kTo, "B", "b@y.jp", "y.jp"},
        {K::kTo, "", "c@z.jp", "z.jp"}}},
      {"; and empty elements",
       "bcc: a@x.jp;; ,b@y.jp ,",
       {{K::kBcc, "", "a@x.jp", "x.jp"}, {K::kBcc, "", "b@y.jp", "y.jp"}}},
      {"folded, any case, other fields not",
       "tO: a@x.jp,\r\n b@y.jp\r\nX-To: q@q.jp\r\n"
       "To : r@r.jp\r\nCC: c@z.jp",
       {{K::kTo, "", "a@x.jp", "x.jp"},
        {K::kTo, "", "b@y.jp", "y.jp"},
        {K::kCc, "", "c@z.jp", "z.jp"}}},
      {"domains",
       "To: tanaka, \"a@b\"@c.jp, a@x.jp.., x\x81\x40y.jp, u@, <>",
       {{K::kTo, "", "tanaka", ""},
        {K::kTo, "", "\"a@b\"@c.jp", "c.jp"},
        {K::kTo, "", "a@x.jp..", "x.jp."},
        {K::kTo, "", "x\x81\x40y.jp", ""},
        {K::kTo, "", "u@", ""}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Parse(c.header), c.want);
  }
}

}  // namespace
}  // namespace zv
