// The user's own domains: each form of entry, exclusions, letter case.
#include "recipients/own_domains.h"

#include <gtest/gtest.h>

#include "recipients/address_list.h"
#include "text/lines.h"

namespace zv {
namespace {

bool Internal(const OwnDomains& own, std::string_view address) {
  return own.IsInternal(LowerSjis(address), DomainOf(address));
}

TEST(OwnDomains, EntryForms) {
  const struct {
    const char* list;
    std::vector<const char*> internal, external;
  } cases[] = {
      {"", {}, {"a@example.co.jp"}},
      {" Example.CO.jp \r\n# x.jp\r\n\r\n",
       {"a@example.co.jp", "B@EXAMPLE.co.jp."},
       {"a@sub.example.co.jp", "a@x.jp", "example.co.jp", "a@"}},
      {"@example.co.jp", {"a@example.co.jp"}, {"a@xexample.co.jp"}},
      {"*.example.co.jp",
       {"a@sub.example.co.jp", "a@x.y.example.co.jp"},
       {"a@example.co.jp", "a@xexample.co.jp"}},
      {"Boss@Example.co.jp", {"boss@example.CO.JP"}, {"other@example.co.jp"}},
      {"sales-*@example.co.jp\nuser?@x.jp\r*@partner*.jp\rmail.*\n??.jp\n*@*mid*\n*@p??-*.co.jp",
       {"sales-1@example.co.jp", "user7@x.jp", "a@partner-a.jp", "a@mail.example", "a@ab.jp",
        "a@表x.jp", "a@amidb.org", "a@pxy-z.co.jp"},
       {"sales@example.co.jp", "user@x.jp", "user77@x.jp", "a@abc.jp", "a@b.jp", "a@表.jp",
        "a@mi.org", "a@pxyz-z.co.jp"}},
      {"*\n-*@x.jp", {"a@y.jp"}, {"a@x.jp", "nodomain"}},
      {"?*", {"a@y.jp"}, {}},
      {"example.co.jp\n-boss@example.co.jp\n*.x.jp\n- Y.X.JP",
       {"a@example.co.jp", "a@z.x.jp"},
       {"boss@example.co.jp", "BOSS@example.co.jp", "a@y.x.jp"}},
      {"-example.co.jp\nexample.co.jp", {}, {"a@example.co.jp"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.list);
    const OwnDomains own(c.list);
    for (const char* a : c.internal) EXPECT_TRUE(Internal(own, a)) << a;
    for (const char* a : c.external) EXPECT_FALSE(Internal(own, a)) << a;
  }
  EXPECT_EQ(OwnDomains("A.jp\n@b.jp\n-c.jp\n*.d.jp\ne@f.jp\n@").plainDomains(),
            (std::vector<std::string>{"a.jp", "b.jp"}));
}

}  // namespace
}  // namespace zv
