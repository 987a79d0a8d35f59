// The settings file through the exports: start-up reads it from the mailbox folder (Common off),
// the options it holds take effect, and clean-up writes it back.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "e2e/test_mailbox.h"
#include "mailora/host.h"
#include "mailora/host_files.h"
#include "mailora/host_registry.h"
#include "mailora/host_window.h"

namespace {

using mailora::ReadFileBytes;

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    // No Plugins folder: the first clean-up makes it.
    ASSERT_TRUE(mailbox_.Create("mailbox", false));
    ASSERT_TRUE(plugin_.loaded());
  }
  void TearDown() override {
    plugin_.CleanUp()();
    mailbox_.Remove();
  }

  void WriteSettings(const std::string& bytes) {
    ::CreateDirectoryA((mailbox_.folder() + "Plugins").c_str(), nullptr);
    HANDLE f = ::CreateFileA(mailbox_.settingsPath().c_str(), GENERIC_WRITE, 0, nullptr,
                             CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(f);
  }

  // Sends one mail; true when the plug-in gave the host a changed header.
  bool SendSetsHeader() {
    mailora::CompositionWindow w("Hello\r\n", "(無し)");
    mailora::Script().headers[w.hwnd()] = "To: a@example.com\r\nSubject: hi\r\n";
    const size_t before = mailora::Script().setHeaderCalls.size();
    EXPECT_EQ(plugin_.SendPost()(w.hwnd(), 0), -1);
    return mailora::Script().setHeaderCalls.size() > before;
  }

  mailora::Plugin plugin_;
  zv::test::TestMailbox mailbox_;
};

TEST_F(SettingsFile, StartUpReadsItAndCleanUpWritesItBack) {
  std::string file = "Zorvek\\PatternCount=Integer:1\r\n";
  const char* fields[13][2] = {{"Name", "社内"},
                               {"Address", "@example.co.jp"},
                               {"AddressOn", "True"},
                               {"Always", "False"},
                               {"Kana", "TRUE"},
                               {"ZenkakuText", "False"},
                               {"ZenkakuSubject", "False"},
                               {"BlankSubject", "True"},
                               {"AttachCheck", "True"},
                               {"ZorvekCheck", "True"},
                               {"Zorvek", "秘密%0D%0A100%%"},
                               {"HissuCheck", "False"},
                               {"Hissu", ""}};
  for (const auto& f : fields) {
    file += std::string("Zorvek\\Pattern0000\\") + f[0] + "=String:" + f[1] + "\r\n";
  }
  file +=
      "Associate\\Notavo=Boolean:False\r\nHeader\\X-Mailer-Plugin=Boolean:False\r\n"
      "SetupForm\\Left=Integer:120\r\n";
  WriteSettings(file);

  ASSERT_EQ(plugin_.StartUp()("1.10"), -1);
  EXPECT_EQ(mailora::Script().calls, std::vector<std::string>{"_APAGetMailbox@0"});
  EXPECT_FALSE(SendSetsHeader());  // the header option came from the file
  EXPECT_EQ(ReadFileBytes(mailbox_.settingsPath()), file);

  plugin_.CleanUp()();
  // Byte for byte as it was: options the file does not hold and nobody set stay out of it.
  EXPECT_EQ(ReadFileBytes(mailbox_.settingsPath()), file);
}

TEST_F(SettingsFile, FirstCleanUpCreatesThePluginsFolder) {
  ASSERT_EQ(plugin_.StartUp()("1.10"), -1);
  EXPECT_TRUE(SendSetsHeader());
  plugin_.CleanUp()();
  // The first-use file: the default pattern and the two options, sixteen lines.
  EXPECT_EQ(ReadFileBytes(mailbox_.settingsPath()),
            "Zorvek\\PatternCount=Integer:1\r\n"
            "Zorvek\\Pattern0000\\Name=String:作者へ\r\n"
            "Zorvek\\Pattern0000\\Address=String:author@example.com%0D%0Asupport@example.org\r\n"
            "Zorvek\\Pattern0000\\AddressOn=String:True\r\n"
            "Zorvek\\Pattern0000\\Always=String:False\r\n"
            "Zorvek\\Pattern0000\\Kana=String:True\r\n"
            "Zorvek\\Pattern0000\\ZenkakuText=String:False\r\n"
            "Zorvek\\Pattern0000\\ZenkakuSubject=String:False\r\n"
            "Zorvek\\Pattern0000\\BlankSubject=String:True\r\n"
            "Zorvek\\Pattern0000\\AttachCheck=String:False\r\n"
            "Zorvek\\Pattern0000\\ZorvekCheck=String:True\r\n"
            "Zorvek\\Pattern0000\\Zorvek=String:馬鹿%0D%0Aばか%0D%0A間抜%0D%0Aまぬけ%0D%0A"
            "阿呆%0D%0Aあほう\r\n"
            "Zorvek\\Pattern0000\\HissuCheck=String:True\r\n"
            "Zorvek\\Pattern0000\\Hissu=String:\r\n"
            "Associate\\Notavo=Boolean:False\r\n"
            "Header\\X-Mailer-Plugin=Boolean:True\r\n");
}

TEST_F(SettingsFile, AFileThatCannotBeReadRefusesStartUpAndStays) {
  const std::string file = "Header\\X-Mailer-Plugin=Boolean:False\r\n";
  WriteSettings(file);
  HANDLE held = ::CreateFileA(mailbox_.settingsPath().c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(plugin_.StartUp()("1.10"), 0);
  ::CloseHandle(held);
  plugin_.CleanUp()();
  EXPECT_EQ(ReadFileBytes(mailbox_.settingsPath()), file);
}

}  // namespace
