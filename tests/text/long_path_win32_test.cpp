// ExpandLongPath against the real file system through the Win32 directory search.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "win/cp932_win32.h"
#include "text/long_path.h"
#include "text/long_path_win32.h"

namespace zv {
namespace {

using win::Cp932ToWide;
using win::WideToCp932;

class LongPathOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    ASSERT_GT(::GetTempPathW(MAX_PATH, temp), 0u);
    base_ = WideToCp932(temp) + "zv long path test\\";
    long_ = base_ + "表示 フォルダ with a long name\\second level folder\\";
    Remove();
    ASSERT_TRUE(::CreateDirectoryW(Cp932ToWide(base_).c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW(Cp932ToWide(base_ + "表示 フォルダ with a long name").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW(Cp932ToWide(long_).c_str(), nullptr));
    HANDLE f = ::CreateFileW(Cp932ToWide(long_ + "a file name.txt").c_str(), GENERIC_WRITE, 0,
                             nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    ::CloseHandle(f);
  }
  void TearDown() override { Remove(); }

  void Remove() {
    ::DeleteFileW(Cp932ToWide(long_ + "a file name.txt").c_str());
    ::RemoveDirectoryW(Cp932ToWide(long_).c_str());
    ::RemoveDirectoryW(Cp932ToWide(base_ + "表示 フォルダ with a long name").c_str());
    ::RemoveDirectoryW(Cp932ToWide(base_).c_str());
  }

  static std::string Short(const std::string& path) {
    wchar_t out[1024];
    const DWORD n = ::GetShortPathNameW(Cp932ToWide(path).c_str(), out, 1024);
    return n > 0 && n < 1024 ? WideToCp932(std::wstring(out, n)) : std::string();
  }

  std::string base_, long_;
};

TEST_F(LongPathOnDisk, ShortFolderBecomesLongWithItsBackslash) {
  const std::string shortForm = Short(long_);
  ASSERT_FALSE(shortForm.empty());
  ASSERT_EQ(shortForm.find("long name"), std::string::npos) << shortForm;
  win::Win32DirectorySearch fs;
  // The temporary folder's own path may be short too; compare with its long form.
  wchar_t full[1024];
  ASSERT_GT(::GetLongPathNameW(Cp932ToWide(long_).c_str(), full, 1024), 0u);
  EXPECT_EQ(ExpandLongPath(shortForm, fs), WideToCp932(full));
  EXPECT_EQ(ExpandLongPath(shortForm + "a file name.txt", fs),
            WideToCp932(full) + "a file name.txt");
}

TEST_F(LongPathOnDisk, MissingSecondComponentLeavesTheDrive) {
  win::Win32DirectorySearch fs;
  EXPECT_EQ(ExpandLongPath("C:\\zv no such folder\\x\\", fs), "C:\\");
  EXPECT_EQ(ExpandLongPath("no backslash", fs), "");
}

}  // namespace
}  // namespace zv
