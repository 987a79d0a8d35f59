// RegRead against real registry values of each type.
#include "settings/registry_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "settings/system_formats_win32.h"
#include "win/cp932_win32.h"

namespace zv {
namespace {

constexpr wchar_t kTestKey[] = L"Software\\Zorvek32 registry test";
constexpr char kTestPath[] = "\\HKEY_CURRENT_USER\\Software\\Zorvek32 registry test";

class RealRegistry : public ::testing::Test {
 protected:
  void SetUp() override {
    Clean();
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                &key_, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    if (key_) ::RegCloseKey(key_);
    Clean();
  }
  static void Clean() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
    ::RegDeleteValueW(HKEY_CURRENT_USER, L"Zorvek32 test value");
  }

  void Put(const wchar_t* name, DWORD type, const void* data, size_t size) {
    ASSERT_EQ(::RegSetValueExW(key_, name, 0, type, static_cast<const BYTE*>(data),
                               static_cast<DWORD>(size)),
              ERROR_SUCCESS);
  }
  void PutText(const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ) {
    Put(name, type, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  }
  void PutDword(const wchar_t* name, DWORD v) { Put(name, REG_DWORD, &v, sizeof v); }

  HKEY key_ = nullptr;  // owned by the fixture
};

TEST_F(RealRegistry, EachTypeAgainstEachKindOfDefault) {
  PutText(L"Twelve", L"12");
  PutText(L"Word", L"twelve");
  PutText(L"False", L"false");
  PutText(L"No", L"no");
  PutText(L"Japanese", L"C:\\表示\\ソフト\\");
  PutText(L"Expand", L"%TEMP%", REG_EXPAND_SZ);
  PutText(L"Date", L"2000/01/01 12:00:00");
  PutDword(L"Zero", 0);
  PutDword(L"Seven", 7);
  const double half = 2.5;
  Put(L"Double", REG_BINARY, &half, 8);
  const int64_t money = 15000;
  Put(L"Money", REG_BINARY, &money, 8);
  Put(L"Four", REG_BINARY, "\1\0\0\0", 4);
  Put(L"One", REG_BINARY, "\xC8", 1);
  const uint64_t big = 5;
  Put(L"Qword", REG_QWORD, &big, 8);

  const Variant t = Variant::Text("default"), b = Variant::Boolean(true), i = Variant::Int32(-5),
                f = Variant::Float64(-1), d = Variant::Date({-1}), c = Variant::Money({-1}),
                y = Variant::Byte(9);
  const struct {
    const char* name;
    Variant fallback, expected;
  } cases[] = {
      {"Twelve", i, Variant::Int32(12)},
      {"Word", i, i},
      {"Twelve", t, Variant::Text("12")},
      {"Japanese", t, Variant::Text("C:\\表示\\ソフト\\")},
      {"Expand", t, t},  // REG_EXPAND_SZ is never text
      {"Expand", b, b},
      {"False", b, Variant::Boolean(false)},
      {"No", b, Variant::Boolean(true)},
      {"Zero", b, Variant::Boolean(false)},
      {"Seven", b, Variant::Boolean(true)},
      {"Seven", i, Variant::Int32(7)},
      {"Seven", t, t},
      {"Four", b, b},  // 4 bytes of binary are no integer
      {"Double", f, Variant::Float64(2.5)},
      {"Double", d, Variant::Date({2.5})},
      {"Money", c, Variant::Money({15000})},
      {"Date", d, Variant::Date({36526.5})},
      {"One", y, Variant::Int32(200)},
      {"Four", y, y},
      {"Qword", i, i},
      {"Missing", t, t},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(win::RegRead(kTestPath, row.name, row.fallback), row.expected);
  }
}

TEST_F(RealRegistry, PathsNameTheirKeys) {
  PutText(L"V", L"here");
  const std::string lower = "\\hkey_current_user\\Software\\Zorvek32 registry test";
  EXPECT_EQ(win::RegRead(lower, "V", Variant::Text("")), Variant::Text("here"));
  EXPECT_EQ(win::RegRead(std::string(kTestPath) + "\\Missing", "V", Variant::Text("d")),
            Variant::Text("d"));
  EXPECT_EQ(win::RegRead("\\HKEY_PERFORMANCE_DATA\\x", "V", Variant::Text("d")), Variant::Null());

  // Directly under a root.
  const std::wstring top = L"top";
  ASSERT_EQ(::RegSetValueExW(HKEY_CURRENT_USER, L"Zorvek32 test value", 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(top.c_str()), 8),
            ERROR_SUCCESS);
  EXPECT_EQ(win::RegRead("\\HKEY_CURRENT_USER", "Zorvek32 test value", Variant::Text("")),
            Variant::Text("top"));
}

TEST_F(RealRegistry, RelativePathsLiveUnderTheMakersKeyForThisProgram) {
  const std::string exe = FileNameOf(win::ExecutablePath());
  ASSERT_EQ(exe, "settings_win32_tests.exe");
  const std::wstring key = L"Software\\Tessaly Lab\\" + win::Cp932ToWide(exe) + L"\\Options";
  HKEY options = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &options, nullptr),
            ERROR_SUCCESS);
  const DWORD zero = 0;
  ::RegSetValueExW(options, L"Common", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zero), 4);
  ::RegCloseKey(options);
  EXPECT_EQ(win::RegRead("Options", "Common", Variant::Boolean(true)), Variant::Boolean(false));
  ::RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\Tessaly Lab\\" + win::Cp932ToWide(exe)).c_str());
  EXPECT_EQ(win::RegRead("Options", "Common", Variant::Boolean(true)), Variant::Boolean(true));
}

TEST(SystemFormats, JapaneseDefaultsAndTheSystemParser) {
  const SystemFormats& formats = win::SystemFormatsOfUser();
  EXPECT_EQ(formats.DateSeparator(), "/");
  EXPECT_EQ(formats.TimeSeparator(), ":");
  EXPECT_EQ(formats.DecimalSeparator(), ".");
  EXPECT_EQ(formats.ParseDateTime("2000/01/01 12:00:00"), DateTime{36526.5});
  EXPECT_EQ(formats.ParseDateTime("2000/1/2"), DateTime{36527});
  // Other forms go to the system's parser.
  EXPECT_EQ(formats.ParseDateTime("2000-01-02"), DateTime{36527});
  const auto pm = formats.ParseDateTime("2000/01/02 3:00:00 PM");
  ASSERT_TRUE(pm);
  EXPECT_DOUBLE_EQ(pm->days, 36527.625);
  EXPECT_EQ(formats.ParseDateTime("not a date"), std::nullopt);
  EXPECT_EQ(formats.ParseDateTime(""), std::nullopt);
}

}  // namespace
}  // namespace zv
