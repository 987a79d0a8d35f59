// The memo-pad link against the substitute Notavo under Wine: the start through the shell and
// the hand-over, through the entry points' memo-pad work.
#include "memo/memo_link_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "memo/notavo_fixture_win32.h"
#include "plugin/entry_points_win32.h"
#include "plugin/lifecycle_win32.h"

namespace zv::win {
namespace {

using test::NotavoFolder;
using test::NotavoProcess;
using test::NotavoRegistry;

// The process-wide state as a successful start-up leaves it, with the option as given.
class MemoLink : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(State().lifecycle.started);
    State().lifecycle.started = true;
    State().lifecycle.patterns = PatternSettings{};
    State().lifecycle.patterns.associateOption = true;
    ASSERT_EQ(test::FindNotavo(), nullptr) << "a Notavo from elsewhere is running";
  }
  void TearDown() override {
    State().lifecycle.started = false;
    State().lifecycle.patterns = PatternSettings{};
  }
};

TEST_F(MemoLink, FolderCreateStartsTheProgramTheRegistryNames) {
  struct Case {
    const char* name;
    const char* subfolder;
    const char* exeName;       // the copy's base name in the folder
    const char* exeNameValue;  // ExeName in the registry; null: missing
    bool starts = true;
  };
  const std::vector<Case> cases = {
      {"named program", "zv-memo-named", "MemoPad", "MemoPad"},
      {"ExeName missing", "zv-memo-default", "Notavo", nullptr},
      {"two-byte folder and name", "zv-memo-表示", "メモ帳", "メモ帳"},
      {"executable missing", "zv-memo-missing", "Other", "MemoPad", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NotavoFolder folder(c.subfolder, c.exeName);
    ASSERT_TRUE(folder.copied());
    NotavoRegistry registry;
    ASSERT_TRUE(registry.SetText("Path", folder.folder()));
    if (c.exeNameValue) {
      ASSERT_TRUE(registry.SetText("ExeName", c.exeNameValue));
    }

    FolderCreate();
    // The shell creates the process before it returns.
    EXPECT_EQ(folder.Running().size(), c.starts ? 1u : 0u);
    if (c.starts) {
      EXPECT_TRUE(test::WaitFor([] { return test::FindNotavo() != nullptr; }));
      EXPECT_TRUE(test::WaitFor([&] { return folder.Starts() == 1; }));
      // While its window exists, no second one.
      FolderCreate();
      EXPECT_EQ(folder.Running().size(), 1u);
      folder.EndProcesses();
      EXPECT_TRUE(test::WaitFor([] { return test::FindNotavo() == nullptr; }));
    }
    EXPECT_EQ(test::FindNotavo(), nullptr);
  }
}

TEST_F(MemoLink, ViewLoadMailHandsOverHeaderBlankLineBody) {
  NotavoFolder folder("zv-memo-show", "Notavo");
  NotavoProcess notavo(folder.exe());
  ASSERT_TRUE(notavo.WaitForWindow());

  struct Case {
    std::string header, body;
  };
  std::string longBody;
  for (int i = 0; i < 4000; ++i)
    longBody += "本文の行、ｶﾀｶﾅ表示 line " + std::to_string(i) + "\r\n";
  const std::vector<Case> cases = {
      {"A", "B"},
      {"To: a@example.com\r\nSubject: 件名\r\n", "こんにちは\r\n表示とソ\r\n"},
      {"", ""},
      {"Subject: ﾃｽﾄ", longBody},
  };
  size_t count = 0;
  for (const Case& c : cases) {
    ViewLoadMail(c.header.c_str(), c.body.c_str());
    // The send returns once Notavo has taken the text.
    const std::vector<std::string> shown = folder.Shown();
    ASSERT_EQ(shown.size(), ++count);
    const std::string expected = c.header + "\r\n\r\n" + c.body;
    EXPECT_EQ(shown.back().size(), expected.size());
    EXPECT_EQ(test::FirstDifference(shown.back(), expected), std::string::npos) << c.header;
  }
  EXPECT_EQ(test::ThreadEditWindows(), 0);

  ViewClose();
  const std::vector<std::string> shown = folder.Shown();
  ASSERT_EQ(shown.size(), count + 1);
  EXPECT_EQ(shown.back(), "");
  EXPECT_EQ(test::ThreadEditWindows(), 0);
  EXPECT_EQ(folder.Starts(), 1u);
}

TEST_F(MemoLink, OptionOffNothingStartsAndNothingReachesNotavo) {
  NotavoFolder folder("zv-memo-off", "Notavo");
  NotavoRegistry registry;
  ASSERT_TRUE(registry.SetText("Path", folder.folder()));
  ASSERT_TRUE(registry.SetText("ExeName", "Notavo"));
  State().lifecycle.patterns.associateOption = false;

  FolderCreate();
  EXPECT_TRUE(folder.Running().empty());

  NotavoProcess notavo(folder.exe());
  ASSERT_TRUE(notavo.WaitForWindow());
  FolderCreate();
  ViewLoadMail("To: a", "body");
  ViewClose();
  EXPECT_EQ(folder.Running().size(), 1u);
  EXPECT_TRUE(folder.Shown().empty());

  // The same Notavo takes a text once the option is on: the silence above was the option's.
  State().lifecycle.patterns.associateOption = true;
  ViewClose();
  EXPECT_EQ(folder.Shown(), std::vector<std::string>{""});
}

TEST_F(MemoLink, HungNotavoReturnsWithinTheTimeOut) {
  NotavoFolder folder("zv-memo-hang", "Notavo");
  NotavoProcess notavo(folder.exe(), "--hang");
  ASSERT_TRUE(notavo.WaitForWindow());

  for (int call = 0; call < 2; ++call) {
    const ULONGLONG start = ::GetTickCount64();
    ViewLoadMail("To: a", "body");
    const ULONGLONG elapsed = ::GetTickCount64() - start;
    // The wait is 3 s; a hang would never return. The margin is for a loaded machine, where
    // the other process and Wine's server share the cores with whatever else runs.
    EXPECT_LT(elapsed, 12000u) << "call " << call;
    EXPECT_EQ(test::ThreadEditWindows(), 0);
  }
  EXPECT_TRUE(folder.Shown().empty());
}

}  // namespace
}  // namespace zv::win
