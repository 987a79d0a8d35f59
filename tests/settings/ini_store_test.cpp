#include "settings/ini_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "text/sjis.h"

namespace zv {
namespace {

std::string Saved(std::string_view file) {
  IniStore store;
  store.Parse(file);
  return store.Serialize();
}

TEST(EscapeIniValue, Table) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"", ""},
      {"plain text", "plain text"},
      {"100%", "100%%"},
      {"%%", "%%%%"},
      {"abc\r\ndef", "abc%0D%0Adef"},
      {"a\tb", "a%09b"},
      {std::string("a\0b", 3), "a%00b"},
      {"\x1F\x20\x7F", "%1F \x7F"},
      {"表示", "表示"},             // trail byte 0x5C stays
      {"\x82\x25", "\x82%%"},        // "%" is never a second byte
      {"\x81\r\n", "\x81%0D%0A"},   // a lead byte never hides a line break
      {"\xA0\xDF%", "\xA0\xDF%%"},  // half-width kana are single bytes
      {"end\x81", "end\x81"},       // a lone lead byte at the end
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(EscapeIniValue(c.in), c.out);
  }
}

TEST(UnescapeIniValue, Table) {
  const struct {
    std::string in;
    std::optional<std::string> out;
  } cases[] = {
      {"", ""},
      {"%41", "A"},
      {"%4a", "J"},
      {"%%", "%"},
      {"100%%", "100%"},
      {"%%%41", "%A"},
      {"abc%0D%0Adef", "abc\r\ndef"},
      {"ab%4", std::string("ab\x04")},
      {"%00", std::string(1, '\0')},
      {"abc%", std::nullopt},
      {"%", std::nullopt},
      {"%zz", std::nullopt},
      {"%4z", std::nullopt},
      {"%\x82\xA0", std::nullopt},  // a two-byte character is no hex digit
      {"%4\x82", std::nullopt},     // nor is a lone lead byte
      {"\x82%41", "\x82" "A"},       // "%" is never a second byte
      {"%82%41", "\x82" "A"},        // not even after a decoded lead byte
      {"%82\x41%41", "\x82\x41" "A"},  // which takes any other byte with it
      {"表%41", "表A"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(UnescapeIniValue(c.in), c.out);
  }
}

// Any text escapes to one line that unescapes to the same text, lone lead bytes included.
TEST(EscapeIniValue, RoundTripsAndStaysOnOneLine) {
  const std::string alphabet = std::string("%aA0\r\n\t\x1F\x81\x82\x9F\xE0\xFC\xA0\x5C", 15) + '\0';
  std::mt19937 rng(7);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const size_t n = rng() % 12;
    for (size_t i = 0; i < n; ++i) text.push_back(alphabet[rng() % alphabet.size()]);
    SCOPED_TRACE(::testing::PrintToString(text));
    const std::string escaped = EscapeIniValue(text);
    for (char c : escaped) ASSERT_GE(static_cast<unsigned char>(c), 0x20u);
    EXPECT_EQ(UnescapeIniValue(escaped), text);
  }
}

TEST(IniStoreParse, LinesAreWrittenBackInTheirParts) {
  const struct {
    std::string file, saved;
  } cases[] = {
      {"SetupForm\\Left=Integer:120\r\n", "SetupForm\\Left=Integer:120\r\n"},
      {"abc", "abc=abc:abc\r\n"},                                          // no "=", no ":"
      {"a\\b=Integer", "a\\b=Integer:Integer\r\n"},                        // no ":"
      {"a\\b:String:x", "a\\b:String:x=a\\b:String:x\r\n"},  // ":" but no "="
      {"a\r\n\r\nb\r\n", "a=a:a\r\n=:\r\nb=b:b\r\n"},                      // an empty line
      {"x=String:a=b:c", "x=String:a=b:c\r\n"},
      {"a=A:1\rb=B:2\nc=C:3", "a=A:1\r\nb=B:2\r\nc=C:3\r\n"},  // lone CR, lone LF
      {std::string("a=A:1\r\n\0b=B:2", 14), "a=A:1\r\n"},      // a zero byte ends the text
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    EXPECT_EQ(Saved(c.file), c.saved);
  }
}

TEST(IniStoreParse, SeparatorsCountOnlyAtCharacterStarts) {
  IniStore store;
  // A lead byte never hides "=" or ":" (neither can be a second byte); a second byte 0x5C is
  // part of its character.
  store.Parse("K\\\x81=String:v\r\nNote\\x=String:a=b:c\r\nK\\\x95\\=String:w\r\n");
  EXPECT_EQ(store.Read("K", "\x81", Variant()), Variant::Text("v"));
  EXPECT_EQ(store.Read("Note", "x", Variant()), Variant::Text("a=b:c"));
  EXPECT_EQ(store.Read("K", "\x95\\", Variant()), Variant::Text("w"));
}

TEST(IniStoreNames, CompareWithoutLetterCaseOutsideTwoByteCharacters) {
  IniStore store;
  store.Parse("SetupForm\\Left=Integer:120\r\nK\\\x82\x61=Integer:1\r\n");
  EXPECT_EQ(store.Read("setupform", "LEFT", Variant()), Variant::Int32(120));
  // 0x82 0x61 and 0x82 0x41 are different characters.
  EXPECT_EQ(store.Read("k", "\x82\x61", Variant()), Variant::Int32(1));
  EXPECT_EQ(store.Read("K", "\x82\x41", Variant::Int32(9)), Variant::Int32(9));

  ASSERT_TRUE(store.Write("SETUPFORM", "left", Variant::Int32(5)));
  EXPECT_EQ(store.Serialize(), "SETUPFORM\\left=Integer:5\r\nK\\\x82\x61=Integer:1\r\n");
}

TEST(IniStoreNames, DuplicatesReachTheFirstAndKeepTheRest) {
  IniStore store;
  store.Parse("A\\B=Integer:1\r\nC\\D=Integer:0\r\na\\b=Integer:2\r\nA\\b=Integer:3\r\n");
  EXPECT_EQ(store.Read("A", "B", Variant()), Variant::Int32(1));
  // Right after the line before a duplicate, the duplicate is still not the one reached.
  EXPECT_EQ(store.Read("C", "D", Variant()), Variant::Int32(0));
  EXPECT_EQ(store.Read("A", "B", Variant()), Variant::Int32(1));
  EXPECT_EQ(store.Read("C", "D", Variant()), Variant::Int32(0));
  store.Write("A", "B", Variant::Int32(7));
  EXPECT_EQ(store.Serialize(),
            "A\\B=Integer:7\r\nC\\D=Integer:0\r\na\\b=Integer:2\r\nA\\b=Integer:3\r\n");
  store.Write("A", "B", Variant());  // removes the first; the next one takes its role
  EXPECT_EQ(store.Read("A", "B", Variant()), Variant::Int32(2));
  store.Write("a", "B", Variant::Null());
  EXPECT_EQ(store.Read("A", "B", Variant()), Variant::Int32(3));
  store.Write("A", "B", Variant::Null());
  EXPECT_EQ(store.Read("A", "B", Variant::Int32(-1)), Variant::Int32(-1));
  EXPECT_EQ(store.Serialize(), "C\\D=Integer:0\r\n");
}

TEST(IniStoreWrite, PlacementRemovalAndEmptyText) {
  IniStore store;
  store.Parse("S\\A=Integer:1\r\nS\\B=Integer:2\r\n");
  store.Write("S", "Z", Variant());          // not stored: nothing changes
  store.Write("S", "A", Variant::Int32(3));  // keeps its place
  store.Write("S", "C", Variant::Text(""));  // new: at the end, nothing after ":"
  store.Write("S", "B", Variant::Null());
  EXPECT_EQ(store.Serialize(), "S\\A=Integer:3\r\nS\\C=String:\r\n");
  EXPECT_EQ(store.size(), 2u);
}

TEST(IniStoreWrite, KindsAndTheirFileForms) {
  const struct {
    Variant value;
    std::string line;  // empty: rejected, nothing stored
  } cases[] = {
      {Variant::Boolean(true), "S\\K=Boolean:True"},
      {Variant::Boolean(false), "S\\K=Boolean:False"},
      {Variant::Int16(-3), "S\\K=Integer:-3"},
      {Variant::Int32(2147483647), "S\\K=Integer:2147483647"},
      {Variant::Float64(0.1), "S\\K=Float:0.1"},
      {Variant::Float64(1.0 / 3), "S\\K=Float:0.333333333333333"},
      {Variant::Float64(1e20), "S\\K=Float:1e+20"},
      {Variant::Float32(0.5f), "S\\K=Float:0.5"},
      {Variant::Date(DateTime{36526.5}), "S\\K=Date:2000/01/01 12:00:00"},
      {Variant::Text("100%\r\n"), "S\\K=String:100%%%0D%0A"},
      {Variant::Money(Currency{1}), ""},
      {Variant::Byte(1), ""},
      {Variant::Float64(1.0 / 0.0), ""},
      {Variant::Date(DateTime{1e9}), ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    IniStore store;
    EXPECT_EQ(store.Write("S", "K", c.value), !c.line.empty());
    EXPECT_EQ(store.Serialize(), c.line.empty() ? "" : c.line + "\r\n");
  }
}

TEST(IniStoreRead, TypedValuesAndTheDefaultOnFailure) {
  IniStore store;
  store.Parse(
      "S\\b1=Boolean:True\r\nS\\b2=Boolean:true\r\nS\\b3=Boolean:\r\n"
      "S\\i1=Integer:-12\r\nS\\i2=Integer:12a\r\nS\\i3=Integer:99999999999\r\n"
      "S\\f1=Float:1.5\r\nS\\f2=Float:1,5\r\nS\\f3=Float:1e-3\r\n"
      "S\\d1=Date:2000/01/01 12:00:00\r\nS\\d2=Date:2000/13/01 00:00:00\r\n"
      "S\\s1=String:a%0D%0Ab\r\nS\\s2=String:bad%\r\nS\\s3=Strange:x%41\r\n"
      "S\\s4=string:%%\r\n");
  const Variant fallback = Variant::Text("default");
  const struct {
    const char* key;
    Variant expected;
  } cases[] = {
      {"b1", Variant::Boolean(true)},
      {"b2", Variant::Boolean(false)},
      {"b3", Variant::Boolean(false)},
      {"i1", Variant::Int32(-12)},
      {"i2", fallback},
      {"i3", fallback},
      {"f1", Variant::Float64(1.5)},
      {"f2", fallback},
      {"f3", Variant::Float64(0.001)},
      {"d1", Variant::Date(DateTime{36526.5})},
      {"d2", fallback},
      {"s1", Variant::Text("a\r\nb")},
      {"s2", fallback},
      {"s3", Variant::Text("xA")},  // any other type reads as escaped text
      {"s4", Variant::Text("%")},
      {"missing", fallback},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(store.Read("S", c.key, fallback), c.expected);
  }
  // A failed read changes nothing.
  EXPECT_NE(store.Serialize().find("S\\s2=String:bad%\r\n"), std::string::npos);
}

TEST(IniStoreRead, UsesTheSystemSeparators) {
  struct Dotted final : SystemFormats {
    std::string DateSeparator() const override { return "."; }
    std::string TimeSeparator() const override { return "-"; }
    std::string DecimalSeparator() const override { return ","; }
  } formats;
  IniStore store(formats);
  store.Write("S", "D", Variant::Date(DateTime{36526.75}));
  store.Write("S", "F", Variant::Float64(-2.25));
  EXPECT_EQ(store.Serialize(), "S\\D=Date:2000.01.01 18-00-00\r\nS\\F=Float:-2,25\r\n");
  EXPECT_EQ(store.Read("S", "D", Variant()), Variant::Date(DateTime{36526.75}));
  EXPECT_EQ(store.Read("S", "F", Variant()), Variant::Float64(-2.25));
}

// Random writes and removals against a plain list of lines: the store must end with the same
// file, and a file the store wrote must load and save to the same bytes.
TEST(IniStoreModel, RandomEditsMatchAListAndRoundTrip) {
  std::mt19937 rng(11);
  const std::vector<std::string> keys = {"a", "B", "c", "Long\\Key", "\x82\xA0", "k5", "k6"};
  auto lower = [](std::string s) {
    for (char& c : s) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return s;
  };
  for (int round = 0; round < 40; ++round) {
    IniStore store;
    struct Line {
      std::string name, value;
    };
    std::vector<Line> model;
    for (int op = 0; op < 600; ++op) {
      std::string key = keys[rng() % keys.size()];
      if (rng() % 2) key = lower(key);
      const std::string section = "Sec" + std::to_string(rng() % 5);
      const std::string name = section + "\\" + key;
      auto it = std::find_if(model.begin(), model.end(),
                             [&](const Line& l) { return lower(l.name) == lower(name); });
      if (rng() % 4 == 0) {
        store.Write(section, key, Variant());
        if (it != model.end()) model.erase(it);
      } else {
        const std::string value(rng() % 40, static_cast<char>('a' + rng() % 26));
        store.Write(section, key, Variant::Text(value));
        if (it == model.end()) {
          model.push_back({name, value});
        } else {
          *it = {name, value};
        }
      }
    }
    std::string expected;
    for (const Line& l : model) expected += l.name + "=String:" + l.value + "\r\n";
    const std::string saved = store.Serialize();
    ASSERT_EQ(saved, expected);
    ASSERT_EQ(Saved(saved), saved);
  }
}

}  // namespace
}  // namespace zv
