// The memo-pad link through the plug-in's exports, with the substitute Notavo installed in a
// scratch folder and named in the registry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mailora/host.h"
#include "mailora/host_registry.h"
#include "memo/notavo_fixture_win32.h"

namespace {

using zv::test::NotavoFolder;
using zv::test::NotavoProcess;
using zv::test::NotavoRegistry;

// The settings file in the host's Plugins folder with the given text for the run of a test; the
// file as it was (or its absence) comes back afterwards.
class SettingsFile {
 public:
  explicit SettingsFile(const std::string& text) {
    ::CreateDirectoryA(folder_.c_str(), nullptr);
    had_ = Read(previous_);
    Write(text);
  }
  ~SettingsFile() {
    if (had_) {
      Write(previous_);
    } else {
      ::DeleteFileA(path_.c_str());
      ::RemoveDirectoryA(folder_.c_str());  // only when nothing else is in it
    }
  }
  SettingsFile(const SettingsFile&) = delete;
  SettingsFile& operator=(const SettingsFile&) = delete;

 private:
  bool Read(std::string& text) const {
    const zv::win::UniqueFile file(::CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                 nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return false;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
      text.append(buffer, got);
    }
    return true;
  }
  void Write(const std::string& text) const {
    const zv::win::UniqueFile file(::CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr,
                                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (file)
      ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }

  const std::string folder_ = mailora::ExeFolder() + "Plugins";
  const std::string path_ = folder_ + "\\Zorvek32.ini";
  std::string previous_;
  bool had_ = false;
};

class MemoLink : public ::testing::Test {
 protected:
  void SetUp() override {
    mailora::ResetScript();
    mailora::DeletePluginRecord();
    ASSERT_TRUE(plugin_.loaded());
    ASSERT_TRUE(folder_.copied());
    ASSERT_TRUE(registry_.SetText("Path", folder_.folder()));
    ASSERT_TRUE(registry_.SetText("ExeName", "Notavo"));
    ASSERT_EQ(zv::test::FindNotavo(), nullptr) << "a Notavo from elsewhere is running";
  }
  void TearDown() override {
    plugin_.CleanUp()();
    mailora::DeletePluginRecord();
  }

  NotavoFolder folder_{"zv-e2e-notavo", "Notavo"};
  NotavoRegistry registry_;
  mailora::Plugin plugin_;
};

TEST_F(MemoLink, OptionOffNothingStartsAndNothingReachesNotavo) {
  const SettingsFile settings("Associate\\Notavo=Boolean:False\r\n");
  ASSERT_EQ(plugin_.StartUp()("1.10"), -1);

  plugin_.FolderCreate()(0);
  EXPECT_TRUE(folder_.Running().empty());

  NotavoProcess notavo(folder_.exe());
  ASSERT_TRUE(notavo.WaitForWindow());
  plugin_.FolderCreate()(0);
  plugin_.ViewLoadMail()(0, "To: a@example.com\r\n", "本文");
  plugin_.ViewClose()(0);
  EXPECT_EQ(folder_.Running().size(), 1u);
  EXPECT_EQ(folder_.Starts(), 1u);
  EXPECT_TRUE(folder_.Shown().empty());
  EXPECT_TRUE(mailora::Script().calls.empty());
}

}  // namespace
