// The recipient block of the warning, the look-alike rule and the growing list of domains
// sent to.
#include "recipients/recipient_warnings.h"

#include <gtest/gtest.h>

#include "recipients/known_domains.h"
#include "recipients/look_alike.h"
#include "text/header_field.h"

namespace zv {
namespace {

RecipientFindings Check(const RecipientSettings& settings, std::string_view header) {
  static const auto converter = PlatformConverter();
  const std::vector<std::string> lines = UnfoldHeader(header);
  return CheckRecipients(settings, std::vector<std::string_view>(lines.begin(), lines.end()),
                         *converter);
}

RecipientSettings Settings(int32_t many, int32_t domains, bool fresh,
                           std::string internal = "own.jp", std::string known = "") {
  RecipientSettings s;
  s.manyRecipients = many;
  s.manyDomains = domains;
  s.newDomains = fresh;
  s.internalDomains = std::move(internal);
  s.knownDomains = std::move(known);
  return s;
}

TEST(RecipientWarnings, Block) {
  const std::string header =
      "To: a@own.jp, B@abc.jp, b@ABC.jp, nodomain\r\nCc: c@def.jp, a@own.jp\r\n"
      "Bcc: d@ghi.jp, e@abc.jp";
  const struct {
    const char* what;
    RecipientSettings settings;
    std::string header;
    std::string block;
  } cases[] = {
      {"all off", Settings(0, 0, false), header, ""},
      {"out of range is off", Settings(-1, 10000, false), header, ""},
      {"below the thresholds", Settings(5, 3, false), header, ""},
      {"counts of distinct To and Cc addresses and external domains", Settings(4, 2, false), header,
       "■宛先\r\n・宛先（To と Cc）が 4 件あります。\r\n"
       "・社外のドメインが 2 個あります。\r\n「abc.jp」「def.jp」\r\n"},
      {"new domains, Bcc included, known ones and case aside",
       Settings(0, 0, true, "own.jp", " DEF.jp\r\n"), header,
       "■宛先\r\n・はじめて送るドメインがあります。\r\n「abc.jp」「ghi.jp」\r\n"},
      {"nothing new", Settings(0, 0, true, "", "abc.jp\ndef.jp\nghi.jp\nown.jp"), header, ""},
      {"ten listed, then …", Settings(0, 1, false),
       "To: a@d1.jp, a@d2.jp, a@d3.jp, a@d4.jp, a@d5.jp, a@d6.jp, a@d7.jp, a@d8.jp, a@d9.jp, "
       "a@d10.jp, a@d11.jp",
       "■宛先\r\n・社外のドメインが 11 個あります。\r\n「d1.jp」「d2.jp」「d3.jp」「d4.jp」"
       "「d5.jp」「d6.jp」「d7.jp」「d8.jp」「d9.jp」「d10.jp」…\r\n"},
      // example.co.jp is new through its excluded address and looks like the domain sent to.
      {"look-alikes: own list first, then the domains sent to",
       Settings(0, 0, true, "example.co.jp\n*.exmaple.co.jp\n-x@example.co.jp",
                "exampel.co.jp\nsample.jp"),
       "To: a@exmaple.co.jp, b@exampel.co.jp, x@example.co.jp, c@ample.jp, d@other.jp",
       "■宛先\r\n・はじめて送るドメインがあります。\r\n"
       "「exmaple.co.jp」（example.co.jp に似ています）「example.co.jp」（exampel.co.jp "
       "に似ています）"
       "「ample.jp」（sample.jp に似ています）「other.jp」\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(RecipientBlock(Check(c.settings, c.header)), c.block);
  }
  EXPECT_EQ(Check(Settings(0, 0, true, "own.jp", "def.jp"), header).newDomains,
            (std::vector<std::string>{"abc.jp", "ghi.jp"}));
}

TEST(LookAlike, OneEdit) {
  const struct {
    const char* a;
    const char* b;
    bool apart;
  } cases[] = {
      {"example.jp", "example.jp", false},
      {"example.jp", "exmple.jp", true},
      {"example.jp", "exaample.jp", true},
      {"example.jp", "exbmple.jp", true},
      {"example.jp", "exmaple.jp", true},
      {"example.jp", "exmpale.jp", false},
      {"example.jp", "exlmpae.jp", false},
      {"表.jp", "ソ.jp", true},
      {"表.jp", "a.jp", true},
      {"表.jp", ".jp", true},
      {"\x95\x5C.jp", "\x95.jp", false},
      {"ab", "ba", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(OneEditApart(c.a, c.b), c.apart) << c.a << " " << c.b;
    EXPECT_EQ(OneEditApart(c.b, c.a), c.apart) << c.b << " " << c.a;
  }
  // The first entry in list order wins, whichever kind of edit it is; none: the list's size.
  const std::vector<std::string_view> known = {"zzz", "abd", "abcd", "bca", "bac", "ab"};
  EXPECT_EQ(FindLookAlikes({"abc", "qqq", "acb", "cba"}, known), (std::vector<size_t>{1, 6, 5, 3}));
}

TEST(KnownDomains, Append) {
  const struct {
    std::string list;
    std::vector<std::string> domains;
    std::string want;
  } cases[] = {
      {"", {"a.jp", "b.jp"}, "a.jp\r\nb.jp"},
      {"x.jp", {"a.jp"}, "x.jp\r\na.jp"},
      {"x.jp\r\n", {"a.jp", "A.JP", "b.jp"}, "x.jp\r\na.jp\r\nb.jp"},
      {"x.jp\n", {"a.jp"}, "x.jp\na.jp"},
      {" X.jp \r\n", {"x.jp"}, " X.jp \r\n"},
      {"x.jp", {}, "x.jp"},
  };
  for (const auto& c : cases) {
    std::string list = c.list;
    AppendKnownDomains(list, c.domains);
    EXPECT_EQ(list, c.want) << c.list;
  }
}

}  // namespace
}  // namespace zv
