#include "settings/registry.h"

#include <gtest/gtest.h>

#include <cstring>

#include "settings/fakes.h"

namespace zv {
namespace {

using testing::Binary;
using testing::Dword;
using testing::FakeRegistry;
using testing::Sz;

TEST(SplitRegPath, Table) {
  const struct {
    const char* path;
    std::optional<RegKeyPath> split;
  } cases[] = {
      {"Options", RegKeyPath{RegRoot::kCurrentUser, "Software\\Tessaly Lab\\Mailora.exe\\Options"}},
      {"", RegKeyPath{RegRoot::kCurrentUser, "Software\\Tessaly Lab\\Mailora.exe\\"}},
      {"\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Brevik\\Mailora",
       RegKeyPath{RegRoot::kLocalMachine, "SOFTWARE\\Brevik\\Mailora"}},
      {"\\hkey_local_machine\\SOFTWARE\\Brevik\\Mailora",
       RegKeyPath{RegRoot::kLocalMachine, "SOFTWARE\\Brevik\\Mailora"}},
      {"\\HKEY_CURRENT_USER", RegKeyPath{RegRoot::kCurrentUser, ""}},
      {"\\Hkey_Classes_Root\\.txt", RegKeyPath{RegRoot::kClassesRoot, ".txt"}},
      {"\\HKEY_USERS\\.DEFAULT\\x", RegKeyPath{RegRoot::kUsers, ".DEFAULT\\x"}},
      {"\\HKEY_CURRENT_CONFIG\\a\\", RegKeyPath{RegRoot::kCurrentConfig, "a\\"}},
      {"\\HKEY_DYN_DATA\\a", RegKeyPath{RegRoot::kDynData, "a"}},
      {"\\HKEY_PERFORMANCE_DATA", std::nullopt},
      {"\\HKEY_CURRENT_USERS\\x", std::nullopt},
      {"\\", std::nullopt},
      {"\\\\HKEY_CURRENT_USER", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(SplitRegPath(c.path, "Mailora.exe"), c.split);
  }
}

std::string DoubleBytes(double v) {
  std::string b(8, '\0');
  std::memcpy(b.data(), &v, 8);
  return b;
}

TEST(ConvertRegData, EveryKindOfDefault) {
  const Variant null = Variant::Null();
  const Variant i16 = Variant::Int16(1), i32 = Variant::Int32(1), f32 = Variant::Float32(1),
                f64 = Variant::Float64(1), money = Variant::Money({1}), date = Variant::Date({1}),
                flag = Variant::Boolean(true), byte = Variant::Byte(1), text = Variant::Text("d");
  const RegData expand{RegDataKind::kNone, "x"};
  int64_t twelve = 120000;
  std::string twelveBytes(8, '\0');
  std::memcpy(twelveBytes.data(), &twelve, 8);
  const struct {
    const char* label;
    Variant fallback;
    RegData data;
    Variant expected;
  } cases[] = {
      {"int dword", i32, Dword(42), Variant::Int32(42)},
      {"int16 dword", i16, Dword(0xFFFFFFFF), Variant::Int32(-1)},
      {"int short dword", i32, {RegDataKind::kInteger, "\x05"}, Variant::Int32(5)},
      {"int text", i32, Sz("12"), Variant::Int32(12)},
      {"int word", i32, Sz("twelve"), null},
      {"int binary", i32, Binary(std::string(4, '\1')), null},
      {"float binary8", f64, Binary(DoubleBytes(2.5)), Variant::Float64(2.5)},
      {"float32 binary8", f32, Binary(DoubleBytes(2.5)), Variant::Float64(2.5)},
      {"float binary4", f64, Binary("abcd"), null},
      {"float text", f64, Sz("-0.25"), Variant::Float64(-0.25)},
      {"float dword", f64, Dword(1), null},
      {"money binary8", money, Binary(twelveBytes), Variant::Money({120000})},
      {"money text", money, Sz("1.5"), Variant::Money({15000})},
      {"money bad", money, Sz("x"), null},
      {"date binary8", date, Binary(DoubleBytes(36526.5)), Variant::Date({36526.5})},
      {"date text", date, Sz("2000/01/01 12:00:00"), Variant::Date({36526.5})},
      {"date bad", date, Sz("soon"), null},
      {"bool dword 0", flag, Dword(0), Variant::Boolean(false)},
      {"bool dword 7", flag, Dword(7), Variant::Boolean(true)},
      {"bool short int", flag, {RegDataKind::kInteger, std::string(2, '\0')}, null},
      {"bool binary4", flag, Binary(std::string(4, '\0')), null},
      {"bool text 0", flag, Sz("0"), Variant::Boolean(false)},
      {"bool text false", flag, Sz("false"), Variant::Boolean(false)},
      {"bool text FaLsE", flag, Sz("FaLsE"), Variant::Boolean(false)},
      {"bool text no", flag, Sz("no"), Variant::Boolean(true)},
      {"bool text empty", flag, Sz(""), Variant::Boolean(true)},
      {"byte binary1", byte, Binary("\xC8"), Variant::Int32(200)},
      {"byte binary2", byte, Binary("ab"), null},
      {"byte dword", byte, Dword(1), null},
      {"text text", text, Sz("C:\\Notavo\\"), Variant::Text("C:\\Notavo\\")},
      {"text dword", text, Dword(1), null},
      {"text expand", text, expand, null},
      {"text missing", text, RegData{}, null},
      {"empty default", Variant(), Sz("x"), null},
      {"null default", null, Sz("x"), null},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(ConvertRegData(c.data, c.fallback, DefaultFormats()), c.expected);
  }
}

TEST(RegRead, KeysAccessAndDefaults) {
  FakeRegistry reg;
  reg.Set(RegRoot::kCurrentUser, "Software\\Tessaly Lab\\Mailora.exe\\Options", "Common", Dword(0));
  reg.Set(RegRoot::kLocalMachine, "SOFTWARE\\Brevik\\Mailora", "InstallPath", Sz("C:\\M\\"));
  reg.Set(RegRoot::kCurrentUser, "", "Top", Sz("root"));
  auto read = [&](const char* path, const char* name, const Variant& d) {
    return RegRead(path, name, d, reg, "Mailora.exe", DefaultFormats());
  };
  EXPECT_EQ(read("Options", "Common", Variant::Boolean(true)), Variant::Boolean(false));
  EXPECT_EQ(
      read("\\hkey_local_machine\\SOFTWARE\\Brevik\\Mailora", "InstallPath", Variant::Text("")),
      Variant::Text("C:\\M\\"));
  EXPECT_EQ(read("\\HKEY_CURRENT_USER", "Top", Variant::Text("")), Variant::Text("root"));
  // Missing key, missing value, unusable data: the default.
  EXPECT_EQ(read("Missing", "Common", Variant::Boolean(true)), Variant::Boolean(true));
  EXPECT_EQ(read("Options", "Other", Variant::Int32(4)), Variant::Int32(4));
  EXPECT_EQ(read("Options", "Common", Variant::Text("t")), Variant::Text("t"));
  EXPECT_EQ(read("Options", "Common", Variant()), Variant());
  // An unknown root gives null, not the default.
  EXPECT_EQ(read("\\HKEY_PERFORMANCE_DATA\\x", "v", Variant::Text("t")), Variant::Null());
}

TEST(RegRead, FallsBackToReadAccessWhenFullAccessIsRefused) {
  FakeRegistry reg;
  reg.Set(RegRoot::kLocalMachine, "K", "V", Sz("x"));
  reg.denyFullAccess = true;
  EXPECT_EQ(
      RegRead("\\HKEY_LOCAL_MACHINE\\K", "V", Variant::Text(""), reg, "M.exe", DefaultFormats()),
      Variant::Text("x"));
  EXPECT_EQ(reg.opens, (std::vector<RegAccess>{RegAccess::kFull, RegAccess::kRead}));
  reg.denyFullAccess = false;
  reg.opens.clear();
  RegRead("\\HKEY_LOCAL_MACHINE\\K", "V", Variant::Text(""), reg, "M.exe", DefaultFormats());
  EXPECT_EQ(reg.opens, std::vector<RegAccess>{RegAccess::kFull});
}

TEST(FileNameOf, Table) {
  EXPECT_EQ(FileNameOf("C:\\Program Files\\Mailora\\Mailora.exe"), "Mailora.exe");
  EXPECT_EQ(FileNameOf("C:Mailora.exe"), "Mailora.exe");
  EXPECT_EQ(FileNameOf("Mailora.exe"), "Mailora.exe");
  EXPECT_EQ(FileNameOf("C:\\ソフト\\表.exe"), "表.exe");  // trail bytes 0x5C are no separators
  EXPECT_EQ(FileNameOf("C:\\dir\\"), "");
}

}  // namespace
}  // namespace zv
