// Saves of the settings file that the file system refuses, on the real Win32 file functions:
// a read-only file, a read-only folder, and a file another program holds open without sharing.
// In every case the old file stays byte-identical, no temporary file remains, and the same
// entries save once the obstacle is gone. A file another process holds for a moment saves; a
// replaced file keeps its attributes.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "check/patterns.h"
#include "win/handles_win32.h"
#include "settings/ini_file.h"
#include "settings/ini_file_win32.h"
#include "settings/system_formats.h"
#include "win/cp932_win32.h"

namespace zv {
namespace {

using win::Cp932ToWide;
using win::WideToCp932;

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW(Cp932ToWide(folder + "*").c_str(), &data);  // closed below
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      names.push_back(WideToCp932(data.cFileName));
    }
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
  return names;
}

std::string ReadBytes(const std::string& path) {
  win::Win32SettingsFiles files;
  return files.ReadAll(path).value_or("<unreadable>");
}

// An obstacle to saving: put in place before the save, taken away after it.
struct Obstacle {
  const char* what;
  std::function<void(const std::string& folder, const std::string& path)> set;
  std::function<void(const std::string& folder, const std::string& path)> clear;
};

class RefusedSave : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    folder_ = WideToCp932(temp) + "Zorvek32 保存失敗\\";
    path_ = folder_ + "Zorvek32.ini";
    Clean();
    ASSERT_TRUE(::CreateDirectoryW(Cp932ToWide(folder_).c_str(), nullptr));
  }
  void TearDown() override {
    FreeIniStore();
    Clean();
  }
  void Clean() {
    ::SetFileAttributesW(Cp932ToWide(folder_).c_str(), FILE_ATTRIBUTE_NORMAL);
    for (const std::string& name : FilesIn(folder_)) {
      const std::wstring p = Cp932ToWide(folder_ + name);
      ::SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
      ::DeleteFileW(p.c_str());
    }
    ::RemoveDirectoryW(Cp932ToWide(folder_).c_str());
  }
  void WriteOld() {
    win::UniqueFile f(::CreateFileW(Cp932ToWide(path_).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(f);
    DWORD written = 0;
    ASSERT_TRUE(
        ::WriteFile(f.get(), kOld.data(), static_cast<DWORD>(kOld.size()), &written, nullptr));
  }

  const std::string kOld =
      "Zorvek\\PatternCount=Integer:1\r\n"
      "Zorvek\\Pattern0000\\Name=String:\x8C\xC3\x82\xA2\r\n"
      "Header\\X-Mailer-Plugin=Boolean:True\r\n";
  std::string folder_, path_;
};

TEST_F(RefusedSave, OldFileKeptAndNoTemporaryFileLeft) {
  win::UniqueFile held;  // the other program's handle
  const std::vector<Obstacle> obstacles = {
      {"read-only file",
       [](const std::string&, const std::string& path) {
         ASSERT_TRUE(::SetFileAttributesW(Cp932ToWide(path).c_str(), FILE_ATTRIBUTE_READONLY));
       },
       [](const std::string&, const std::string& path) {
         ::SetFileAttributesW(Cp932ToWide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
       }},
      {"read-only folder",
       [](const std::string& folder, const std::string&) {
         ASSERT_TRUE(::SetFileAttributesW(Cp932ToWide(folder).c_str(), FILE_ATTRIBUTE_READONLY));
       },
       [](const std::string& folder, const std::string&) {
         ::SetFileAttributesW(Cp932ToWide(folder).c_str(), FILE_ATTRIBUTE_NORMAL);
       }},
      {"file held open without sharing",
       [&](const std::string&, const std::string& path) {
         held.reset(::CreateFileW(Cp932ToWide(path).c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
         ASSERT_TRUE(held);
       },
       [&](const std::string&, const std::string&) { held.reset(); }},
  };
  for (const Obstacle& o : obstacles) {
    SCOPED_TRACE(o.what);
    WriteOld();
    ASSERT_EQ(LoadIniStore(path_, win::SystemSettingsFiles(), DefaultFormats()),
              IniLoadResult::kLoaded);
    PatternSettings settings;
    LoadPatterns(settings, *ActiveIniStore(), [] { return false; });
    settings.table.Set(0, PatternField::kName, "\x90\x56\x82\xB5\x82\xA2 100%");
    settings.headerOption = false;

    o.set(folder_, path_);
    const bool saved = SavePatterns(settings, *ActiveIniStore(), [] { return SaveIniStore(); });
    o.clear(folder_, path_);

    if (saved) {
      // Only a read-only folder may let the save through: Windows ignores that attribute on
      // folders (so does Wine for an administrator; for other users it maps to the Unix
      // permissions and refuses). The save then is complete.
      EXPECT_STREQ(o.what, "read-only folder");
      EXPECT_NE(ReadBytes(path_).find("Name=String:\x90\x56\x82\xB5\x82\xA2 100%%\r\n"),
                std::string::npos);
    } else {
      EXPECT_EQ(ReadBytes(path_), kOld);
      // Once the obstacle is gone, the same entries save.
      EXPECT_TRUE(SaveIniStore());
      EXPECT_NE(ReadBytes(path_).find("Header\\X-Mailer-Plugin=Boolean:False\r\n"),
                std::string::npos);
    }
    EXPECT_EQ(FilesIn(folder_), std::vector<std::string>{"Zorvek32.ini"});
    FreeIniStore();
  }
}

// The holding process: this test program started again with these variables set; it opens the
// file without delete sharing, as a virus scanner does, and closes it after the given time.
constexpr wchar_t kHoldPath[] = L"ZV_HOLD_PATH";
constexpr wchar_t kHoldMs[] = L"ZV_HOLD_MS";

// Set by the holding process once it holds the file; named after the starting process.
std::wstring HeldEventName() {
  wchar_t parent[16] = L"";
  if (!::GetEnvironmentVariableW(L"ZV_HOLD_PARENT", parent, 16)) {
    ::wsprintfW(parent, L"%lu", ::GetCurrentProcessId());
  }
  return std::wstring(L"Local\\ZorvekHeld") + parent;
}

TEST(HeldFileChild, HoldsTheFile) {
  wchar_t path[MAX_PATH * 2], ms[16];
  if (!::GetEnvironmentVariableW(kHoldPath, path, MAX_PATH * 2) ||
      !::GetEnvironmentVariableW(kHoldMs, ms, 16)) {
    GTEST_SKIP() << "only as the holding process of HeldFile";
  }
  win::UniqueFile held(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  if (HANDLE ready = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, HeldEventName().c_str())) {
    ::SetEvent(ready);
    ::CloseHandle(ready);
  }
  ::Sleep(static_cast<DWORD>(std::wcstoul(ms, nullptr, 10)));
}

// A process or an event.
struct ObjectTraits {
  static HANDLE Invalid() { return nullptr; }
  static void Close(HANDLE h) { ::CloseHandle(h); }
};
using UniqueObject = win::UniqueHandle<HANDLE, ObjectTraits>;

// Starts the holding process and returns once it holds `path`.
UniqueObject HoldInAnotherProcess(const std::string& path, int ms) {
  wchar_t exe[MAX_PATH];
  ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(exe) + L"\" --gtest_filter=HeldFileChild.*";
  // The child inherits these; it must not write over this program's report.
  wchar_t report[1024];
  const bool hadReport = ::GetEnvironmentVariableW(L"GTEST_OUTPUT", report, 1024) != 0;
  ::SetEnvironmentVariableW(L"GTEST_OUTPUT", nullptr);
  ::SetEnvironmentVariableW(kHoldPath, Cp932ToWide(path).c_str());
  ::SetEnvironmentVariableW(kHoldMs, std::to_wstring(ms).c_str());
  ::SetEnvironmentVariableW(L"ZV_HOLD_PARENT", std::to_wstring(::GetCurrentProcessId()).c_str());
  const UniqueObject ready(::CreateEventW(nullptr, TRUE, FALSE, HeldEventName().c_str()));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;  // its output stays out of this program's
  PROCESS_INFORMATION child{};
  const BOOL started = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0,
                                        nullptr, nullptr, &startup, &child);
  ::SetEnvironmentVariableW(kHoldPath, nullptr);
  ::SetEnvironmentVariableW(kHoldMs, nullptr);
  ::SetEnvironmentVariableW(L"ZV_HOLD_PARENT", nullptr);
  if (hadReport) ::SetEnvironmentVariableW(L"GTEST_OUTPUT", report);
  if (!started) return UniqueObject();
  ::CloseHandle(child.hThread);
  UniqueObject process(child.hProcess);
  const HANDLE both[] = {ready.get(), process.get()};
  if (::WaitForMultipleObjects(2, both, FALSE, 30000) != WAIT_OBJECT_0) return UniqueObject();
  return process;
}

TEST_F(RefusedSave, FileHeldByAnotherProcessForAMoment) {
  struct Case {
    int ms;
    bool saves;
  };
  for (const Case c : {Case{300, true}, Case{5000, false}}) {
    SCOPED_TRACE(c.ms);
    WriteOld();
    ASSERT_EQ(LoadIniStore(path_, win::SystemSettingsFiles(), DefaultFormats()),
              IniLoadResult::kLoaded);
    ActiveIniStore()->Write("Header", "X-Mailer-Plugin", Variant::Boolean(false));
    UniqueObject holder = HoldInAnotherProcess(path_, c.ms);
    ASSERT_TRUE(holder);
    const bool saved = SaveIniStore();
    EXPECT_EQ(saved, c.saves);
    EXPECT_EQ(ReadBytes(path_).find("X-Mailer-Plugin=Boolean:False") != std::string::npos,
              c.saves);
    if (!c.saves) {
      EXPECT_EQ(ReadBytes(path_), kOld);
    }
    EXPECT_EQ(FilesIn(folder_), std::vector<std::string>{"Zorvek32.ini"});
    ::WaitForSingleObject(holder.get(), 30000);
    FreeIniStore();
  }
}

TEST_F(RefusedSave, ReplacedFileKeepsItsAttributes) {
  WriteOld();
  const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
  ASSERT_TRUE(::SetFileAttributesW(Cp932ToWide(path_).c_str(), kept));
  ASSERT_EQ(LoadIniStore(path_, win::SystemSettingsFiles(), DefaultFormats()),
            IniLoadResult::kLoaded);
  ActiveIniStore()->Write("Header", "X-Mailer-Plugin", Variant::Boolean(false));
  ASSERT_TRUE(SaveIniStore());
  EXPECT_EQ(::GetFileAttributesW(Cp932ToWide(path_).c_str()) & kept, kept);
}

}  // namespace
}  // namespace zv
