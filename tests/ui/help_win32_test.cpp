// The help launcher against the real registry, file system and message boxes.
#include "ui/help_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/help.h"
#include "ui_harness_win32.h"

namespace zv::ui {
namespace {

using zv::test::W;

constexpr wchar_t kKey[] = L"SOFTWARE\\Brevik\\Mailora";

void SetInstallPath(const std::wstring* value, DWORD type = REG_SZ) {
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
            ERROR_SUCCESS);
  if (value) {
    ::RegSetValueExW(key, L"InstallPath", 0, type, reinterpret_cast<const BYTE*>(value->c_str()),
                     static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t)));
  } else {
    ::RegDeleteValueW(key, L"InstallPath");
  }
  ::RegCloseKey(key);
}

// Runs ShowHelp and returns the text of the message box it shows ("" for none).
std::wstring MessageOf(const std::function<void()>& show, int waitMs = 5000) {
  std::wstring text;
  zv::test::WhileModal(show, [&] {
    HWND box = zv::test::WaitForWindow(L"#32770", W("エラー").c_str(), waitMs);
    if (!box) return;
    text = zv::test::WindowText(::GetDlgItem(box, 0xFFFF));
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  return text;
}

// A host folder with a long name, and its short form.
struct HostFolder {
  std::wstring longPath, shortPath;
};

HostFolder MakeHostFolder() {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  HostFolder f;
  f.longPath = std::wstring(temp) + L"Zorvek Help Test Folder";
  ::CreateDirectoryW(f.longPath.c_str(), nullptr);
  ::CreateDirectoryW((f.longPath + L"\\Plugins").c_str(), nullptr);
  wchar_t shortPath[MAX_PATH] = {};
  ::GetShortPathNameW(f.longPath.c_str(), shortPath, MAX_PATH);
  f.shortPath = shortPath;
  return f;
}

TEST(Help, MissingInstallPathSaysSo) {
  struct Row {
    const char* name;
    bool present;
    DWORD type;
  };
  for (const Row& r : {Row{"missing", false, REG_SZ}, Row{"empty", true, REG_SZ},
                       Row{"expandable", true, REG_EXPAND_SZ}}) {
    const std::wstring value = r.type == REG_EXPAND_SZ ? L"%ProgramFiles%\\Mailora\\M.EXE" : L"";
    SetInstallPath(r.present ? &value : nullptr, r.type);
    EXPECT_EQ(MessageOf([] { win::ShowHelp(nullptr); }),
              W("HKEY_LOCAL_MACHINE\\SOFTWARE\\Brevik\\Mailora\\InstallPath がありません"))
        << r.name;
  }
}

TEST(Help, MissingFileShowsTheExpandedPath) {
  const HostFolder f = MakeHostFolder();
  ASSERT_NE(f.shortPath, f.longPath);  // the system gave it a short form
  ::DeleteFileW((f.longPath + L"\\Plugins\\Zorvek32.hlp").c_str());
  struct Row {
    std::wstring installPath, shownPath;
  };
  const std::vector<Row> rows = {
      {f.shortPath + L"\\MAILORA.EXE", f.longPath + L"\\Plugins\\Zorvek32.hlp"},
      // A folder that does not exist stays as written, and the walk goes on.
      {f.shortPath + L"\\NOPE\\Deeper\\M.EXE",
       f.longPath + L"\\NOPE\\Deeper\\Plugins\\Zorvek32.hlp"},
  };
  for (const Row& r : rows) {
    SetInstallPath(&r.installPath);
    EXPECT_EQ(MessageOf([] { win::ShowHelp(nullptr); }), r.shownPath + W(" がありません"));
  }
}

// Records the shell call instead of starting a help viewer.
class RecordingEnvironment final : public win::Win32HelpEnvironment {
 public:
  using Win32HelpEnvironment::Win32HelpEnvironment;
  void Open(const std::string& path) override { opened.push_back(path); }
  std::vector<std::string> opened;
};

TEST(Help, ExistingFileIsOpenedWithoutMessage) {
  const HostFolder f = MakeHostFolder();
  const std::wstring file = f.longPath + L"\\Plugins\\Zorvek32.hlp";
  HANDLE h = ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  ::CloseHandle(h);
  const std::wstring installPath = f.shortPath + L"\\MAILORA.EXE";
  SetInstallPath(&installPath);
  RecordingEnvironment env(nullptr, win::RegistryInstallPath);
  EXPECT_EQ(MessageOf([&] { ShowHelp(env); }, 1500), L"");
  EXPECT_EQ(env.opened, std::vector<std::string>{zv::win::WideToCp932(file)});
  ::DeleteFileW(file.c_str());
}

}  // namespace
}  // namespace zv::ui
