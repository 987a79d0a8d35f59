// Saves of the settings file that the file system refuses, on the real Win32 file functions:
// a read-only file, a read-only folder, and a file another program holds open without sharing.
// In every case the old file stays byte-identical, no temporary file remains, and the same
// entries save once the obstacle is gone.
#include <gtest/gtest.h>
#include <windows.h>

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

}  // namespace
}  // namespace zv
