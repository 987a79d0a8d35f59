// The settings file on disk: its location, creating the Plugins folder, and saves that fail
// without touching the old file.
#include "settings/ini_file_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "settings/registry_win32.h"
#include "win/cp932_win32.h"

namespace zv {
namespace {

using win::Cp932ToWide;
using win::WideToCp932;

std::string TempFolder() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  return WideToCp932(temp);
}

std::string ReadBytes(const std::string& path) {
  win::Win32SettingsFiles files;
  return files.ReadAll(path).value_or("<unreadable>");
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE f = ::CreateFileW(Cp932ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                           nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ::WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(f);
}

// Names of the files in `folder`.
std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW(Cp932ToWide(folder + "*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      names.push_back(WideToCp932(data.cFileName));
    }
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
  return names;
}

class SettingsOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    box_ = TempFolder() + "Zorvek32 メールボックス\\";
    plugins_ = box_ + "Plugins\\";
    path_ = plugins_ + "Zorvek32.ini";
    Remove();
    ASSERT_TRUE(::CreateDirectoryW(Cp932ToWide(box_).c_str(), nullptr));
    SetCommon(std::nullopt);
  }
  void TearDown() override {
    FreeIniStore();
    Remove();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, OptionsParent().c_str());
  }
  void Remove() {
    for (const std::string& name : FilesIn(plugins_)) {
      const std::wstring p = Cp932ToWide(plugins_ + name);
      ::SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
      ::DeleteFileW(p.c_str());
    }
    ::RemoveDirectoryW(Cp932ToWide(plugins_).c_str());
    ::RemoveDirectoryW(Cp932ToWide(box_).c_str());
  }

  static std::wstring OptionsParent() {
    return L"Software\\Tessaly Lab\\" + Cp932ToWide(FileNameOf(win::ExecutablePath()));
  }
  static void SetCommon(std::optional<DWORD> value) {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, OptionsParent().c_str());
    if (!value) return;
    HKEY key = nullptr;  // closed below
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, (OptionsParent() + L"\\Options").c_str(), 0,
                                nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExW(key, L"Common", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*value), 4);
    ::RegCloseKey(key);
  }

  IniLoadResult LoadFromBox() {
    return win::LoadIniStore([&] { return box_; });
  }

  std::string box_, plugins_, path_;
};

TEST_F(SettingsOnDisk, HostFolderIsTheExecutablesFolderInLongForm) {
  const std::string folder = win::HostFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '\\');
  const std::string exe = win::ExecutablePath();
  EXPECT_EQ(exe.substr(0, folder.size()), folder);
  wchar_t longForm[1024];
  ASSERT_GT(::GetLongPathNameW(Cp932ToWide(folder).c_str(), longForm, 1024), 0u);
  EXPECT_EQ(folder, WideToCp932(longForm));
}

TEST_F(SettingsOnDisk, CommonChoosesHostOrMailboxFolder) {
  const struct {
    const char* label;
    std::optional<DWORD> common;
    bool host;
  } cases[] = {{"absent", std::nullopt, true}, {"on", 1, true}, {"off", 0, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    SetCommon(c.common);
    bool askedMailbox = false;
    win::LoadIniStore([&] {
      askedMailbox = true;
      return std::string("X:\\Box\\");
    });
    EXPECT_EQ(IniFilePath(), c.host ? win::HostFolder() + "Plugins\\Zorvek32.ini"
                                    : "X:\\Box\\Plugins\\Zorvek32.ini");
    EXPECT_EQ(askedMailbox, !c.host);
    FreeIniStore();
  }
  SetCommon(0);
  win::LoadIniStore([] { return std::string("X:\\Box"); });  // used as the host gives it
  EXPECT_EQ(IniFilePath(), "X:\\BoxPlugins\\Zorvek32.ini");
}

TEST_F(SettingsOnDisk, FirstSaveCreatesTheMissingPluginsFolder) {
  SetCommon(0);
  ASSERT_EQ(LoadFromBox(), IniLoadResult::kNoFile);
  IniWrite("SetupForm", "Note", Variant::Text("表示\r\n100%"));
  ASSERT_TRUE(SaveIniStore());
  EXPECT_EQ(ReadBytes(path_), "SetupForm\\Note=String:表示%0D%0A100%%\r\n");
  EXPECT_EQ(FilesIn(plugins_), std::vector<std::string>{"Zorvek32.ini"});

  FreeIniStore();
  ASSERT_EQ(LoadFromBox(), IniLoadResult::kLoaded);
  EXPECT_EQ(IniRead("setupform", "note", Variant()), Variant::Text("表示\r\n100%"));
}

class FailedSave : public SettingsOnDisk {
 protected:
  void SetUp() override {
    SettingsOnDisk::SetUp();
    SetCommon(0);
    ASSERT_TRUE(::CreateDirectoryW(Cp932ToWide(plugins_).c_str(), nullptr));
    WriteBytes(path_, old_);
    ASSERT_EQ(LoadFromBox(), IniLoadResult::kLoaded);
    IniWrite("S", "K", Variant::Text("a new value that makes the file longer"));
  }
  void ExpectOldFileOnly() {
    EXPECT_EQ(ReadBytes(path_), old_);
    EXPECT_EQ(FilesIn(plugins_), std::vector<std::string>{"Zorvek32.ini"});
  }
  const std::string old_ = "S\\K=String:old\r\nS\\L=Integer:1\r\n";
};

TEST_F(FailedSave, OntoAReadOnlyFile) {
  ASSERT_TRUE(::SetFileAttributesW(Cp932ToWide(path_).c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(SaveIniStore());
  ExpectOldFileOnly();
}

TEST_F(FailedSave, IntoAFileAnotherProgramHoldsOpen) {
  HANDLE held = ::CreateFileW(Cp932ToWide(path_).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(SaveIniStore());
  ::CloseHandle(held);
  ExpectOldFileOnly();
  // Once released, the same entries save.
  EXPECT_TRUE(SaveIniStore());
  EXPECT_NE(ReadBytes(path_), old_);
}

// The real file steps, failing at one of them.
class FaultyFiles final : public SettingsFiles {
 public:
  enum Step { kCreateTemp, kWrite, kFlush, kClose, kReplace };
  explicit FaultyFiles(Step step) : step_(step) {}

  bool Exists(const std::string& p) override { return real_.Exists(p); }
  std::optional<std::string> ReadAll(const std::string& p) override { return real_.ReadAll(p); }
  bool EnsureFolder(const std::string& f) override { return real_.EnsureFolder(f); }
  std::unique_ptr<TempFile> CreateTemp(const std::string& folder) override {
    auto temp = real_.CreateTemp(folder);
    if (step_ != kCreateTemp) return std::make_unique<Temp>(std::move(temp), step_);
    const std::string path = temp->path();
    temp.reset();
    real_.Remove(path);
    return nullptr;
  }
  bool Replace(const std::string& s, const std::string& t) override {
    return step_ != kReplace && real_.Replace(s, t);
  }
  void Remove(const std::string& p) override { real_.Remove(p); }

 private:
  class Temp final : public TempFile {
   public:
    Temp(std::unique_ptr<TempFile> real, Step step) : real_(std::move(real)), step_(step) {}
    const std::string& path() const override { return real_->path(); }
    bool Write(std::string_view b) override {
      return step_ == kWrite ? (real_->Write(b.substr(0, b.size() / 2)), false) : real_->Write(b);
    }
    bool Flush() override { return real_->Flush() && step_ != kFlush; }
    bool Close() override { return real_->Close() && step_ != kClose; }

   private:
    std::unique_ptr<TempFile> real_;
    Step step_;
  };
  win::Win32SettingsFiles real_;
  Step step_;
};

TEST_F(FailedSave, AtEveryStepOfTheReplacement) {
  for (auto step : {FaultyFiles::kCreateTemp, FaultyFiles::kWrite, FaultyFiles::kFlush,
                    FaultyFiles::kClose, FaultyFiles::kReplace}) {
    SCOPED_TRACE(step);
    FaultyFiles files(step);
    EXPECT_FALSE(ReplaceFileContents(files, path_, "new\r\n"));
    ExpectOldFileOnly();
  }
}

TEST_F(FailedSave, AFileThatCannotBeReadIsNeverReplaced) {
  FreeIniStore();
  HANDLE held = ::CreateFileW(Cp932ToWide(path_).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(LoadFromBox(), IniLoadResult::kUnreadable);
  ::CloseHandle(held);
  IniWrite("S", "K", Variant::Text("x"));
  EXPECT_FALSE(SaveIniStore());
  ExpectOldFileOnly();
}

}  // namespace
}  // namespace zv
