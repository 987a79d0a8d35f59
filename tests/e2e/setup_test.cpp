// One setup round through the exports: APCSetup opens the dialog, a pattern is added through
// the input box, OK closes it, and clean-up writes the new pattern to the settings file.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>

#include "e2e/test_mailbox.h"
#include "mailora/host.h"
#include "mailora/host_files.h"
#include "mailora/host_registry.h"
#include "win/cp932_win32.h"

namespace {

constexpr int kPatience = 120000;  // emulated 32-bit runs are slow

std::wstring W(std::string_view cp932) {
  return zv::win::Cp932ToWide(cp932);
}

HWND WaitForWindow(const wchar_t* cls) {
  for (int waited = 0; waited < kPatience; waited += 50) {
    HWND w = ::FindWindowW(cls, nullptr);
    if (w && ::IsWindowVisible(w)) return w;
    ::Sleep(50);
  }
  return nullptr;
}

template <typename Done>
bool WaitUntil(Done done) {
  for (int waited = 0; waited < kPatience && !done(); waited += 50) ::Sleep(50);
  return done();
}

struct Search {
  const wchar_t* cls;
  const std::wstring& text;
  HWND found;
};

BOOL CALLBACK MatchChild(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<Search*>(p);
  wchar_t cls[32] = {}, text[64] = {};
  ::GetClassNameW(w, cls, 32);
  ::GetWindowTextW(w, text, 64);
  if (_wcsicmp(cls, s->cls) == 0 && (s->text.empty() || s->text == text) &&
      !(::GetWindowLongW(w, GWL_STYLE) & ES_READONLY)) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

// The child of `root` of window class `cls` whose text is `text` (any text when empty).
HWND FindChild(HWND root, const wchar_t* cls, const std::wstring& text) {
  Search s{cls, text, nullptr};
  ::EnumChildWindows(root, &MatchChild, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

TEST(SetupThroughTheDll, AddAPatternAndCleanUpWritesIt) {
  zv::test::TestMailbox mailbox;
  ASSERT_TRUE(mailbox.Create("setup", false));
  const std::string path = mailbox.settingsPath();

  mailora::Plugin plugin;
  ASSERT_TRUE(plugin.loaded());
  ASSERT_EQ(plugin.StartUp()("1.10"), -1);
  EXPECT_NE(::FindWindowW(L"TSetupForm", nullptr), nullptr);  // created hidden

  const std::string name = "e2e の禁句";
  std::thread driver([&] {
    HWND form = WaitForWindow(L"TSetupForm");
    ASSERT_NE(form, nullptr);
    HWND list = FindChild(form, L"ListBox", L"");
    ASSERT_NE(list, nullptr);
    ::PostMessageW(FindChild(form, L"Button", W("追加 ...")), BM_CLICK, 0, 0);
    HWND input = WaitForWindow(L"TInputForm");
    ASSERT_NE(input, nullptr);
    HWND edit = FindChild(input, L"Edit", L"");
    ASSERT_NE(edit, nullptr);
    ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(W(name).c_str()));
    ::PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
    ::PostMessageW(edit, WM_KEYUP, VK_RETURN, 0xC0000001);
    EXPECT_TRUE(WaitUntil([&] { return ::SendMessageW(list, LB_GETCURSEL, 0, 0) == 1; }));
    ::PostMessageW(FindChild(form, L"Button", L"OK"), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(plugin.Setup()(0), 2);
  driver.join();
  EXPECT_FALSE(::IsWindowVisible(::FindWindowW(L"TSetupForm", nullptr)));

  plugin.CleanUp()();
  EXPECT_EQ(::FindWindowW(L"TSetupForm", nullptr), nullptr);  // destroyed at clean-up
  const std::string saved = "\r\n" + mailora::ReadFileBytes(path);
  EXPECT_NE(saved.find("\r\nZorvek\\PatternCount=Integer:2\r\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("\r\nZorvek\\Pattern0001\\Name=String:" + name + "\r\n"), std::string::npos);
  EXPECT_NE(saved.find("\r\nZorvek\\Pattern0001\\ZorvekCheck=String:False\r\n"), std::string::npos);
  EXPECT_NE(saved.find("\r\nSetupForm\\PatternPanelWidth=Integer:97\r\n"), std::string::npos);

  mailbox.Remove();
}

}  // namespace
