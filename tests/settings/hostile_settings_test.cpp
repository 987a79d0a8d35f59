// Hostile settings files: one line of 50 MB, a value ending in "%", zero bytes, 0xFF bytes and
// lone lead bytes next to every separator. Each loads into the entries the format defines,
// saves back without loss, and stays the same size over repeated load and save.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hostile_sizes.h"
#include "settings/ini_store.h"
#include "settings/variant.h"

namespace zv {
namespace {

using namespace std::string_literals;

std::string Saved(std::string_view file) {
  IniStore store;
  store.Parse(file);
  return store.Serialize();
}

TEST(HostileSettings, OneHugeLine) {
  // One entry whose value is test::kSettingsLine bytes of text with escapes in it.
  std::string file = "Zorvek\\Pattern0000\\Zorvek=String:";
  file.reserve(file.size() + test::kSettingsLine + 8);
  while (file.size() < test::kSettingsLine) file += "\x94\x6E\x8E\x81%0D%0A100%%";
  file += "\r\n";
  IniStore store;
  store.Parse(file);
  EXPECT_EQ(store.size(), 1u);
  const Variant v = store.Read("ZORVEK\\pattern0000", "zorvek", Variant());
  ASSERT_NE(v.AsText(), nullptr);
  const std::string& text = *v.AsText();
  EXPECT_TRUE(text.starts_with("\x94\x6E\x8E\x81\r\n100%\x94\x6E"));
  EXPECT_TRUE(text.ends_with("\r\n100%"));
  EXPECT_TRUE(store.Serialize() == file);

  // Written back as text, it is escaped to the same line.
  store.Write("Zorvek\\Pattern0000", "Zorvek", Variant::Text(text));
  EXPECT_TRUE(store.Serialize() == file);
}

TEST(HostileSettings, OneHugeLineWithoutSeparators) {
  // A line with no "=" and no ":" is name, type and value at once; saved once, it is stable.
  std::string file(test::kSettingsLine / 4, 'x');
  const std::string once = Saved(file);
  ASSERT_EQ(once.size(), 3 * file.size() + 4);
  EXPECT_TRUE(Saved(once) == once);
}

TEST(HostileSettings, ValuesWithBadEscapes) {
  struct Case {
    std::string stored;
    Variant read;  // Variant() where the read gives its default
  };
  const std::vector<Case> cases = {
      {"abc%", Variant()},
      {"%", Variant()},
      {"100%%", Variant::Text("100%")},
      {"ab%4", Variant::Text("ab\x04")},
      {"%zz", Variant()},
      {"\x82%", Variant()},  // "%" after a lead byte is an escape, here a bad one
      {"\x82%%", Variant::Text("\x82%")},
      {"\x82%0D", Variant::Text("\x82\r")},
      {"%00x", Variant::Text("\0x"s)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    const std::string file = "S\\K=String:" + c.stored + "\r\n";
    IniStore store;
    store.Parse(file);
    EXPECT_EQ(store.Read("S", "K", Variant()), c.read);
    EXPECT_EQ(store.Serialize(), file);  // an unreadable value stays as it was
  }
}

TEST(HostileSettings, EveryTextReadsBackAsWritten) {
  const std::vector<std::string> texts = {
      "\x82\r\n", "a\x82\r\nb", "\x82%",     "\x82%%0D",  "\x82%0D",    "%\x82",
      "\x82",     "\x82\x82",   "\x82\0"s,   "\xFF%\xFF", "\x81\t\x9F", "\xE0\x1F\xFC%",
      "\0\0\0"s,  "100%",       "\x95\x5C%", "end\x82",
  };
  for (const std::string& t : texts) {
    SCOPED_TRACE(testing::PrintToString(t));
    IniStore store;
    store.Write("S", "K", Variant::Text(t));
    const std::string file = store.Serialize();
    EXPECT_EQ(file.find_first_of("\r\n"), file.size() - 2);  // one line
    IniStore loaded;
    loaded.Parse(file);
    EXPECT_EQ(loaded.Read("S", "K", Variant()), Variant::Text(t));
  }
}

TEST(HostileSettings, LoneLeadBytesNextToSeparators) {
  struct Case {
    const char* what;
    std::string line, saved;
  };
  const std::vector<Case> cases = {
      {"before the equals sign", "K\\\x81=String:v", "K\\\x81=String:v\r\n"},
      {"before the colon", "K\\n=Str\x81:v", "K\\n=Str\x81:v\r\n"},
      {"at the end of a line without separators", "x\x82", "x\x82=x\x82:x\x82\r\n"},
      {"before a line break", "K\\n=String:v\x82\r\nL\\m=Boolean:True",
       "K\\n=String:v\x82\r\nL\\m=Boolean:True\r\n"},
      {"colon but no equals sign", "a\x82:b", "a\x82:b=a\x82:b\r\n"},
      {"0xFF around the separators", "\xFF=\xFF:\xFF", "\xFF=\xFF:\xFF\r\n"},
      {"zero byte ends the file", "K\\n=String:v\0\r\nL=M:N"s, "K\\n=String:v\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string once = Saved(c.line);
    EXPECT_EQ(once, c.saved);
    EXPECT_EQ(Saved(once), once);  // no growth from one save to the next
  }
}

TEST(HostileSettings, MillionLines) {
  std::string file;
  file.reserve(test::kMillionLines * 40);
  for (size_t i = 0; i < test::kMillionLines; ++i) {
    file += "Zorvek\\Pattern" + std::to_string(i) + "\\Name=String:n\r\n";
  }
  IniStore store;
  store.Parse(file);
  EXPECT_EQ(store.size(), test::kMillionLines);
  const std::string last = "Zorvek\\PATTERN" + std::to_string(test::kMillionLines - 1);
  EXPECT_EQ(store.Read(last, "name", Variant()), Variant::Text("n"));
  store.Write(last, "Name", Variant::Text("changed"));
  store.Write("Zorvek\\Pattern0", "Name", Variant());
  const std::string saved = store.Serialize();
  EXPECT_EQ(saved.size(), file.size() - "Zorvek\\Pattern0\\Name=String:n\r\n"s.size() + 6);
  EXPECT_TRUE(saved.ends_with("Zorvek\\PATTERN" + std::to_string(test::kMillionLines - 1) +
                              "\\Name=String:changed\r\n"));
}

}  // namespace
}  // namespace zv
