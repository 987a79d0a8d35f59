// The setup dialog's ヘルプ button through the DLL, as on a current Windows with no .hlp viewer:
// with only the help page in the Plugins folder the shell opens the page (seen through a .html
// association to a recording program); with neither file the message names the .hlp file.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <thread>

#include "e2e/test_mailbox.h"
#include "mailora/host.h"
#include "mailora/host_files.h"
#include "mailora/host_registry.h"
#include "memo/notavo_fixture_win32.h"
#include "win/cp932_win32.h"

namespace {

constexpr DWORD kPatience = 120000;  // emulated 32-bit runs are slow

std::wstring W(std::string_view cp932) {
  return zv::win::Cp932ToWide(cp932);
}

bool SetDefault(HKEY root, const std::string& key, const std::string& name,
                const std::string& value) {
  HKEY k = nullptr;
  if (::RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  const LONG rc = ::RegSetValueExA(k, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                                   reinterpret_cast<const BYTE*>(value.c_str()),
                                   static_cast<DWORD>(value.size() + 1));
  ::RegCloseKey(k);
  return rc == ERROR_SUCCESS;
}

std::string DefaultOf(HKEY root, const char* key) {
  char value[512] = {};
  LONG size = sizeof value;
  return ::RegQueryValueA(root, key, value, &size) == ERROR_SUCCESS ? std::string(value) : "";
}

struct FindCaption {
  std::wstring caption;
  HWND found;
};

BOOL CALLBACK MatchCaption(HWND w, LPARAM p) {
  auto* f = reinterpret_cast<FindCaption*>(p);
  wchar_t text[32] = {};
  ::GetWindowTextW(w, text, 32);
  if (f->caption == text) f->found = w;
  return f->found == nullptr;
}

constexpr char kHostKey[] = "SOFTWARE\\Brevik\\Mailora";
constexpr char kPageClass[] = "ZorvekHelpTest.Page";

class HelpButton : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mailbox_.Create("help"));
    log_ = mailbox_.folder() + "opened.log";
    ASSERT_TRUE(
        SetDefault(HKEY_LOCAL_MACHINE, kHostKey, "InstallPath", mailbox_.folder() + "MAILORA.EXE"));
    // .html files open in the recording program, for this test only.
    oldHtmlClass_ = DefaultOf(HKEY_CLASSES_ROOT, ".html");
    const std::string recorder = zv::test::ThisExeFolder() + "..\\bin\\Recorder.exe";
    ASSERT_EQ(::GetFileAttributesA(recorder.c_str()) == INVALID_FILE_ATTRIBUTES, false) << recorder;
    ASSERT_TRUE(SetDefault(HKEY_CLASSES_ROOT, ".html", "", kPageClass));
    ASSERT_TRUE(SetDefault(HKEY_CLASSES_ROOT, std::string(kPageClass) + "\\shell\\open\\command",
                           "", "\"" + recorder + "\" --log \"" + log_ + "\" \"%1\""));
  }
  void TearDown() override {
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, kPageClass);
    if (!oldHtmlClass_.empty()) SetDefault(HKEY_CLASSES_ROOT, ".html", "", oldHtmlClass_);
    HKEY k = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kHostKey, 0, KEY_ALL_ACCESS, &k) == ERROR_SUCCESS) {
      ::RegDeleteValueA(k, "InstallPath");
      ::RegCloseKey(k);
    }
    mailbox_.Remove({"Plugins\\Zorvek32.html", "opened.log"});
  }

  // Opens the setup dialog through the DLL, presses ヘルプ, lets `afterHelp` look (the dialog
  // still open) and closes the dialog.
  void PressHelp(const std::function<void(HWND form)>& afterHelp) {
    mailora::Plugin plugin;
    ASSERT_TRUE(plugin.loaded());
    ASSERT_EQ(plugin.StartUp()("1.10"), -1);
    std::thread driver([&] {
      HWND form = nullptr;
      zv::test::WaitFor(
          [&] { return (form = ::FindWindowW(L"TSetupForm", nullptr)) && ::IsWindowVisible(form); },
          kPatience);
      ASSERT_NE(form, nullptr);
      FindCaption find{W("ヘルプ"), nullptr};
      ::EnumChildWindows(form, &MatchCaption, reinterpret_cast<LPARAM>(&find));
      ASSERT_NE(find.found, nullptr);
      ::PostMessageW(find.found, BM_CLICK, 0, 0);
      afterHelp(form);
      ::PostMessageW(form, WM_CLOSE, 0, 0);
    });
    plugin.Setup()(0);
    driver.join();
    plugin.CleanUp()();
  }

  zv::test::TestMailbox mailbox_;
  std::string log_, oldHtmlClass_;
};

TEST_F(HelpButton, OpensThePageBesideTheMissingHelpFile) {
  const std::string page = mailbox_.folder() + "Plugins\\Zorvek32.html";
  ASSERT_TRUE(mailora::WriteFileBytes(page, "<!DOCTYPE html><title>help</title>"));
  PressHelp([&](HWND form) {
    EXPECT_TRUE(zv::test::WaitFor(
        [&] { return mailora::ReadFileBytes(log_).find("\r\n") != std::string::npos; }, kPatience));
    EXPECT_EQ(::FindWindowW(L"#32770", W("エラー").c_str()), nullptr);
    EXPECT_TRUE(::IsWindowEnabled(form));
  });
  // The long form of the folder, as the launcher builds it; compared letter case aside.
  char longPage[MAX_PATH * 2] = {};
  ::GetLongPathNameA(page.c_str(), longPage, sizeof longPage);
  const std::string opened = mailora::ReadFileBytes(log_);
  EXPECT_EQ(CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, opened.c_str(), -1,
                           ("open " + std::string(longPage) + "\r\n").c_str(), -1),
            CSTR_EQUAL)
      << opened;
}

TEST_F(HelpButton, NeitherFileShowsTheDesignedMessage) {
  std::wstring message;
  HWND owner = nullptr;
  PressHelp([&](HWND form) {
    HWND box = nullptr;
    zv::test::WaitFor(
        [&] { return (box = ::FindWindowW(L"#32770", W("エラー").c_str())) != nullptr; },
        kPatience);
    ASSERT_NE(box, nullptr);
    wchar_t text[1024] = {};
    ::GetWindowTextW(::GetDlgItem(box, 0xFFFF), text, 1024);
    message = text;
    owner = ::GetWindow(box, GW_OWNER);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(zv::test::WaitFor([&] { return !::IsWindow(box); }, kPatience));
    EXPECT_EQ(owner, form);
  });
  char longBox[MAX_PATH * 2] = {};
  ::GetLongPathNameA(mailbox_.folder().c_str(), longBox, sizeof longBox);
  const std::wstring expected = W(std::string(longBox) + "Plugins\\Zorvek32.hlp がありません");
  EXPECT_EQ(_wcsicmp(message.c_str(), expected.c_str()), 0) << zv::win::WideToCp932(message);
  EXPECT_EQ(mailora::ReadFileBytes(log_).find("open"), std::string::npos);  // nothing opened
}

}  // namespace
