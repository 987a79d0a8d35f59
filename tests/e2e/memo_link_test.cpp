// The memo-pad link through the plug-in's exports, with the substitute Notavo installed in a
// scratch folder and named in the registry, and the memo-pad option taken from the settings file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/test_mailbox.h"
#include "mailora/host.h"
#include "mailora/host_files.h"
#include "mailora/host_registry.h"
#include "memo/notavo_fixture_win32.h"

namespace {

using zv::test::NotavoFolder;
using zv::test::NotavoProcess;
using zv::test::NotavoRegistry;

class MemoLink : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mailbox_.Create("memo"));
    ASSERT_TRUE(plugin_.loaded());
    ASSERT_TRUE(folder_.copied());
    ASSERT_TRUE(registry_.SetText("Path", folder_.folder()));
    ASSERT_TRUE(registry_.SetText("ExeName", "Notavo"));
    ASSERT_EQ(zv::test::FindNotavo(), nullptr) << "a Notavo from elsewhere is running";
  }
  void TearDown() override {
    plugin_.CleanUp()();
    mailbox_.Remove();
  }

  // Starts the plug-in over a settings file holding `text`, or over none for null.
  void StartUpWith(const char* text) {
    ::DeleteFileA(mailbox_.settingsPath().c_str());
    if (text) {
      const zv::win::UniqueFile file(::CreateFileA(mailbox_.settingsPath().c_str(), GENERIC_WRITE,
                                                   0, nullptr, CREATE_ALWAYS, 0, nullptr));
      ASSERT_TRUE(file);
      DWORD written = 0;
      ::WriteFile(file.get(), text, static_cast<DWORD>(std::string_view(text).size()), &written,
                  nullptr);
    }
    ASSERT_EQ(plugin_.StartUp()("1.10"), -1);
    mailora::Script().calls.clear();
  }

  NotavoFolder folder_{"zv-e2e-notavo", "Notavo"};
  NotavoRegistry registry_;
  mailora::Plugin plugin_;
  zv::test::TestMailbox mailbox_;
};

TEST_F(MemoLink, OptionOnStartsNotavoAndHandsItTheViewedMail) {
  // Without a stored choice the option is on whenever Notavo is installed.
  for (const char* settings :
       {"Associate\\Notavo=Boolean:True\r\n", static_cast<const char*>(nullptr)}) {
    SCOPED_TRACE(settings ? settings : "no settings file");
    StartUpWith(settings);

    plugin_.FolderCreate()(0);
    EXPECT_EQ(folder_.Running().size(), 1u);
    ASSERT_TRUE(zv::test::WaitFor([] { return zv::test::FindNotavo() != nullptr; }));
    plugin_.FolderCreate()(0);  // its window exists: no second start
    EXPECT_EQ(folder_.Running().size(), 1u);

    const std::string header = "To: a@example.com\r\nSubject: 表示\r\n";
    const std::string body = "本文\r\nｶﾅ";
    plugin_.ViewLoadMail()(0, header.c_str(), body.c_str());
    plugin_.ViewClose()(0);
    EXPECT_EQ(folder_.Shown(), (std::vector<std::string>{header + "\r\n\r\n" + body, ""}));
    EXPECT_TRUE(mailora::Script().calls.empty());

    plugin_.CleanUp()();
    folder_.EndProcesses();
    ASSERT_TRUE(zv::test::WaitFor([] { return zv::test::FindNotavo() == nullptr; }));
    ::DeleteFileA(folder_.LogPath().c_str());
  }
}

TEST_F(MemoLink, OptionOffNothingStartsAndNothingReachesNotavo) {
  StartUpWith("Associate\\Notavo=Boolean:False\r\n");

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
