#include "check/patterns.h"

#include <gtest/gtest.h>

#include "settings/fakes.h"
#include "text/lines.h"

namespace zv {
namespace {

using testing::FakeRegistry;
using testing::Sz;

std::string PatternLines(size_t index, const PatternRow& row) {
  std::string out;
  for (size_t f = 0; f < kPatternFieldCount; ++f) {
    out += PatternSection(index) + "\\" + std::string(kPatternFields[f].key) +
           "=String:" + EscapeIniValue(row[f]) + "\r\n";
  }
  return out;
}

PatternRow Row(std::string name, std::string flag = "True") {
  PatternRow row;
  for (size_t f = 0; f < kPatternFieldCount; ++f)
    row[f] = std::string(kPatternFields[f].missingValue);
  row[0] = std::move(name);
  row[static_cast<size_t>(PatternField::kKana)] = std::move(flag);
  return row;
}

PatternSettings Load(const std::string& file, bool notavo = true) {
  IniStore store;
  store.Parse(file);
  PatternSettings s;
  LoadPatterns(s, store, [&] { return notavo; });
  return s;
}

TEST(PatternSection, UpperCaseHexWithAtLeastFourDigits) {
  const struct {
    size_t index;
    const char* section;
  } cases[] = {
      {0, "Zorvek\\Pattern0000"},        {9, "Zorvek\\Pattern0009"},
      {10, "Zorvek\\Pattern000A"},       {15, "Zorvek\\Pattern000F"},
      {16, "Zorvek\\Pattern0010"},       {0xFFFF, "Zorvek\\PatternFFFF"},
      {0x1ABCD, "Zorvek\\Pattern1ABCD"},
  };
  for (const auto& c : cases) EXPECT_EQ(PatternSection(c.index), c.section);
}

TEST(LoadPatterns, CountDecidesTheTable) {
  const std::string two = "Zorvek\\PatternCount=Integer:2\r\n" + PatternLines(0, Row("first")) +
                          PatternLines(1, Row("second"));
  const struct {
    const char* label;
    std::string file;
    std::vector<std::string> names;
  } cases[] = {
      {"no file", "", {"作者へ"}},
      {"count 0", "Zorvek\\PatternCount=Integer:0\r\n" + PatternLines(0, Row("kept")), {"作者へ"}},
      {"count -1", "Zorvek\\PatternCount=Integer:-1\r\n" + PatternLines(0, Row("x")), {}},
      {"count 2", two, {"first", "second"}},
      {"count 3, two sections", two + "zorvek\\patterncount=Integer:9\r\n", {"first", "second"}},
      {"count not a number", "Zorvek\\PatternCount=Integer:two\r\n", {"作者へ"}},
      {"count as text", "Zorvek\\PatternCount=String:1\r\n" + PatternLines(0, Row("t")), {"t"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const PatternSettings s = Load(c.file);
    std::vector<std::string> names;
    for (size_t i = 0; i < s.table.size(); ++i)
      names.push_back(s.table.Get(i, PatternField::kName));
    EXPECT_EQ(names, c.names);
  }
}

// A huge count loads the sections present and a bounded run of missing ones, in linear time.
TEST(LoadPatterns, HugeCountStaysBounded) {
  const PatternSettings s =
      Load("Zorvek\\PatternCount=Integer:2147483647\r\n" + PatternLines(0, Row("first")) +
           PatternLines(5, Row("sixth")));
  ASSERT_GT(s.table.size(), 6u);
  EXPECT_LT(s.table.size(), 2000u);
  EXPECT_EQ(s.table.Get(0, PatternField::kName), "first");
  EXPECT_EQ(s.table.Get(1, PatternField::kName), "no name");
  EXPECT_EQ(s.table.Get(5, PatternField::kName), "sixth");
}

TEST(LoadPatterns, MissingKeysTakeTheirDefaults) {
  const PatternSettings s = Load(
      "Zorvek\\PatternCount=Integer:2\r\n"
      "Zorvek\\Pattern0001\\Name=String:only a name\r\n");
  ASSERT_EQ(s.table.size(), 2u);
  PatternRow defaults;
  for (size_t f = 0; f < kPatternFieldCount; ++f) defaults[f] = kPatternFields[f].missingValue;
  EXPECT_EQ(s.table.Row(0), defaults);
  EXPECT_EQ(s.table.Get(0, PatternField::kName), "no name");
  EXPECT_EQ(s.table.Get(1, PatternField::kName), "only a name");
  EXPECT_EQ(s.table.Get(1, PatternField::kZorvekCheck), "True");
}

TEST(LoadPatterns, DefaultPatternAndOptions) {
  const PatternSettings first = Load("", /*notavo=*/true);
  ASSERT_EQ(first.table.size(), 1u);
  const PatternRow row = first.table.Row(0);
  EXPECT_EQ(row[0], "作者へ");
  EXPECT_EQ(SplitLines(row[1]).size(), 2u);
  EXPECT_EQ(row[static_cast<size_t>(PatternField::kZorvek)],
            "\x94\x6E\x8E\xAD\r\n\x82\xCE\x82\xA9\r\n\x8A\xD4\x94\xB2\r\n"
            "\x82\xDC\x82\xCA\x82\xAF\r\n\x88\xA2\x95\xF0\r\n\x82\xA0\x82\xD9\x82\xA4");
  EXPECT_TRUE(first.table.IsOn(0, PatternField::kKana));
  EXPECT_TRUE(first.table.IsOn(0, PatternField::kBlankSubject));
  EXPECT_FALSE(first.table.IsOn(0, PatternField::kAlways));
  EXPECT_TRUE(first.notavoInstalled);
  EXPECT_TRUE(first.associateOption);
  EXPECT_TRUE(first.headerOption);

  const std::string off =
      "Associate\\Notavo=Boolean:False\r\nHeader\\X-Mailer-Plugin=Boolean:False\r\n";
  EXPECT_FALSE(Load(off, true).associateOption);
  EXPECT_FALSE(Load(off, true).headerOption);
  const std::string on = "Associate\\Notavo=Boolean:True\r\n";
  EXPECT_FALSE(Load(on, /*notavo=*/false).associateOption);  // never without the program
  EXPECT_FALSE(Load(on, false).notavoInstalled);
}

TEST(LoadPatterns, CheckOptionsAreOffUnlessStoredAsTrue) {
  const struct {
    const char* stored;
    bool on;
  } cases[] = {
      {"", false},
      {"Boolean:True", true},
      {"Boolean:False", false},
      {"Boolean:yes", false},
      {"Integer:x", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    const std::string file = *c.stored == '\0'
                                 ? std::string()
                                 : std::string("Check\\IgnoreQuotedLines=") + c.stored +
                                       "\r\nCheck\\IncludeCcBcc=" + c.stored + "\r\n";
    PatternSettings s = Load(file);
    EXPECT_EQ(s.ignoreQuotedLines, c.on);
    EXPECT_EQ(s.includeCcBcc, c.on);
  }
  // Each is saved on its own, and only once set or when the file already held it.
  PatternSettings s;
  s.includeCcBcc = true;
  IniStore store;
  SavePatterns(s, store, [] { return true; });
  std::string saved = store.Serialize();
  EXPECT_EQ(saved.find("IgnoreQuotedLines"), std::string::npos);
  EXPECT_NE(saved.find("\r\nCheck\\IncludeCcBcc=Boolean:True\r\n"), std::string::npos);
  PatternSettings back = Load(saved);
  EXPECT_FALSE(back.ignoreQuotedLines);
  EXPECT_TRUE(back.includeCcBcc);
  back.includeCcBcc = false;  // switched off again: the key stays, with its new value
  SavePatterns(back, store, [] { return true; });
  saved = store.Serialize();
  EXPECT_NE(saved.find("\r\nCheck\\IncludeCcBcc=Boolean:False\r\n"), std::string::npos);
  EXPECT_EQ(saved.find("IgnoreQuotedLines"), std::string::npos);
}

TEST(LoadPatterns, RecipientKeysWrittenOnlyOnceSetOrStored) {
  const std::string designed = "Zorvek\\PatternCount=Integer:1\r\n" + PatternLines(0, Row("p")) +
                               "Associate\\Notavo=Boolean:False\r\n"
                               "Header\\X-Mailer-Plugin=Boolean:True\r\n";
  const auto roundTrip = [](const std::string& file, auto change) {
    IniStore store;
    store.Parse(file);
    PatternSettings s;
    LoadPatterns(s, store, [] { return false; });
    change(s.recipients);
    SavePatterns(s, store, [] { return true; });
    return store.Serialize();
  };
  const auto untouched = [](RecipientSettings&) {};
  EXPECT_EQ(roundTrip(designed, untouched), designed);

  // Stored keys come back as they were, a threshold outside 0-9999 included; it counts as off.
  const std::string stored = designed +
                             "Recipients\\InternalDomains=String:a.jp%0D%0A-b@a.jp\r\n"
                             "Recipients\\ManyRecipients=Integer:10000\r\n"
                             "Recipients\\NewDomains=Boolean:False\r\n"
                             "Recipients\\ConfirmInternal=Boolean:True\r\n";
  EXPECT_EQ(roundTrip(stored, untouched), stored);
  IniStore store;
  store.Parse(stored + "Recipients\\ManyDomains=Integer:x\r\n");
  PatternSettings s;
  LoadPatterns(s, store, [] { return false; });
  EXPECT_EQ(s.recipients.internalDomains, "a.jp\r\n-b@a.jp");
  EXPECT_EQ(s.recipients.manyRecipients, 10000);
  EXPECT_EQ(s.recipients.manyDomains, 0);  // does not convert: off
  EXPECT_TRUE(s.recipients.confirmInternal);
  EXPECT_FALSE(RecipientWarningsOn(s.recipients));

  // Set during the run: written after the designed keys, in their order; a stored key that is
  // switched off stays with its new value.
  EXPECT_EQ(roundTrip(stored,
                      [](RecipientSettings& r) {
                        r.knownDomains = "x.jp";
                        r.manyRecipients = 0;
                        r.manyDomains = 3;
                        r.confirm = true;
                      }),
            designed +
                "Recipients\\InternalDomains=String:a.jp%0D%0A-b@a.jp\r\n"
                "Recipients\\ManyRecipients=Integer:0\r\n"
                "Recipients\\NewDomains=Boolean:False\r\n"
                "Recipients\\ConfirmInternal=Boolean:True\r\n"
                "Recipients\\KnownDomains=String:x.jp\r\n"
                "Recipients\\ManyDomains=Integer:3\r\n"
                "Recipients\\Confirm=Boolean:True\r\n");
}

TEST(SavePatterns, WritesInOrderAndEmptiesTheTable) {
  IniStore store;
  PatternSettings s;
  s.table.Append(Row("a\r\nb%"));
  s.associateOption = false;
  s.headerOption = true;
  bool called = false;
  EXPECT_TRUE(SavePatterns(s, store, [&] { return called = true; }));
  EXPECT_TRUE(called);
  EXPECT_TRUE(s.table.empty());
  EXPECT_EQ(store.Serialize(), "Zorvek\\PatternCount=Integer:1\r\n" +
                                   PatternLines(0, Row("a\r\nb%")) +
                                   "Associate\\Notavo=Boolean:False\r\n"
                                   "Header\\X-Mailer-Plugin=Boolean:True\r\n");
  EXPECT_FALSE(SavePatterns(s, store, [] { return false; }));
}

TEST(SavePatterns, ShrunkTableKeepsSurplusSectionsAndFlagsAsTheyWere) {
  const std::string file = "Zorvek\\PatternCount=Integer:3\r\n" +
                           PatternLines(0, Row("p0", "TRUE")) + PatternLines(1, Row("p1")) +
                           PatternLines(2, Row("p2"));
  IniStore store;
  store.Parse(file);
  PatternSettings s;
  LoadPatterns(s, store, [] { return false; });
  EXPECT_FALSE(s.table.IsOn(0, PatternField::kKana));  // "TRUE" is not "True"
  s.table.Remove(1);
  SavePatterns(s, store, [] { return true; });
  EXPECT_EQ(store.Serialize(), "Zorvek\\PatternCount=Integer:2\r\n" +
                                   PatternLines(0, Row("p0", "TRUE")) + PatternLines(1, Row("p2")) +
                                   PatternLines(2, Row("p2")) +
                                   "Associate\\Notavo=Boolean:False\r\n"
                                   "Header\\X-Mailer-Plugin=Boolean:True\r\n");
  LoadPatterns(s, store, [] { return false; });
  ASSERT_EQ(s.table.size(), 2u);
  EXPECT_EQ(s.table.Get(1, PatternField::kName), "p2");
}

TEST(SavePatterns, NoPatternsComeBackAsTheDefault) {
  IniStore store;
  PatternSettings s;
  SavePatterns(s, store, [] { return true; });
  LoadPatterns(s, store, [] { return false; });
  EXPECT_EQ(s.table.size(), 1u);
  EXPECT_EQ(s.table.Row(0), DefaultPattern());
}

TEST(NotavoPresent, NeedsBothValuesAndTheFile) {
  const struct {
    const char* label;
    std::optional<std::string> path, exe;
    bool exists, present;
  } cases[] = {
      {"both and file", "C:\\Notavo\\", "Notavo", true, true},
      {"no file", "C:\\Notavo\\", "Notavo", false, false},
      {"empty path", "", "Notavo", true, false},
      {"missing path", std::nullopt, "Notavo", true, false},
      {"empty exe", "C:\\Notavo\\", "", true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    FakeRegistry reg;
    const std::string key = "Software\\Tessaly Lab\\Notavo";
    reg.AddKey(RegRoot::kCurrentUser, key);
    if (c.path) reg.Set(RegRoot::kCurrentUser, key, "Path", Sz(*c.path));
    if (c.exe) reg.Set(RegRoot::kCurrentUser, key, "ExeName", Sz(*c.exe));
    std::vector<std::string> asked;
    EXPECT_EQ(NotavoPresent(reg, "Mailora.exe", DefaultFormats(),
                            [&](const std::string& p) {
                              asked.push_back(p);
                              return c.exists;
                            }),
              c.present);
    if (!asked.empty()) {
      EXPECT_EQ(asked, std::vector<std::string>{"C:\\Notavo\\Notavo.exe"});
    }
  }
}

}  // namespace
}  // namespace zv
