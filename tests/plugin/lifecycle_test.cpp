#include "plugin/lifecycle.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace zv {
namespace {

using Log = std::vector<std::string>;

const Log kStartUpSteps = {"bind", "load ini", "create dialog", "load patterns", "enable check"};
const Log kCleanUpSteps = {"save", "destroy dialog", "unbind", "free ini"};
const std::string kField = "X-Mailer-Plugin: Zorvek32 Ver.1.04 Rev.2";

// Records every step it runs; a step named in `failing` throws after being recorded.
struct FakeSteps : PluginSteps {
  Log log;
  std::set<std::string> failing;
  bool hostThere = true;
  IniLoadResult iniResult = IniLoadResult::kLoaded;
  std::string header = "To: a\r\nSubject: s\r\n";
  bool answer = true;
  std::vector<std::string> newDomains;  // what the check reports
  std::string checkedHeader;
  std::vector<std::string> setHeaders;

  void Run(const std::string& step) {
    log.push_back(step);
    if (failing.count(step)) throw std::runtime_error(step);
  }

  bool BindHost() override {
    Run("bind");
    return hostThere;
  }
  void UnbindHost() override { Run("unbind"); }
  IniLoadResult LoadIniStore() override {
    Run("load ini");
    return iniResult;
  }
  void CreateSetupDialog(PatternSettings&) override { Run("create dialog"); }
  void LoadPatterns(PatternSettings& s) override {
    Run("load patterns");
    s.notavoInstalled = true;
  }
  void EnableAssociateCheck(bool on) override { Run(on ? "enable check" : "disable check"); }
  void SavePatterns(PatternSettings&) override { Run("save"); }
  void DestroySetupDialog() override { Run("destroy dialog"); }
  void FreeIniStore() override { Run("free ini"); }
  OutgoingMail CaptureMail(HostWindow) override {
    Run("capture");
    return {header, "b"};
  }
  SendVerdict CheckMail(const PatternSettings&, HostWindow, const OutgoingMail& mail) override {
    checkedHeader = mail.header;
    Run("check");
    return {answer, newDomains};
  }
  void SetHeader(HostWindow, const std::string& h) override {
    setHeaders.push_back(h);
    Run("set header");
  }
  int32_t ShowSetupDialog() override {
    Run("setup");
    return 1;
  }
  void ShowAboutBox(HostWindow) override { Run("about"); }
  void MemoFolderCreate() override { Run("memo folder"); }
  void MemoViewClose() override { Run("memo close"); }
  void MemoViewLoadMail(std::string_view h, std::string_view b) override {
    Run("memo load " + std::string(h) + "|" + std::string(b));
  }
};

struct Plugin {
  FakeSteps steps;
  PluginLifecycle lifecycle{steps};

  // Started, with the log cleared.
  Plugin& Started() {
    EXPECT_TRUE(lifecycle.StartUp("1.10"));
    steps.log.clear();
    return *this;
  }
};

Log Join(Log a, const Log& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(PluginLifecycle, StartUpAndCleanUpRunTheirStepsInOrder) {
  Plugin p;
  EXPECT_TRUE(p.lifecycle.StartUp("1.10"));
  EXPECT_TRUE(p.lifecycle.started);
  EXPECT_EQ(p.steps.log, kStartUpSteps);
  p.steps.log.clear();
  p.lifecycle.CleanUp();
  EXPECT_FALSE(p.lifecycle.started);
  EXPECT_EQ(p.steps.log, kCleanUpSteps);
  p.steps.log.clear();
  p.lifecycle.CleanUp();
  EXPECT_EQ(p.steps.log, Log{});
}

TEST(PluginLifecycle, RefusedVersionTouchesNothing) {
  for (const char* version : {"1.09", "1.1", "", "0", static_cast<const char*>(nullptr)}) {
    Plugin p;
    EXPECT_FALSE(p.lifecycle.StartUp(version)) << (version ? version : "null");
    EXPECT_EQ(p.steps.log, Log{});
    EXPECT_FALSE(p.lifecycle.started);
  }
}

TEST(PluginLifecycle, HostThatCannotBeBoundRefusesStartUp) {
  Plugin missing;
  missing.steps.hostThere = false;
  EXPECT_FALSE(missing.lifecycle.StartUp("1.10"));
  EXPECT_EQ(missing.steps.log, Log{"bind"});

  Plugin failing;
  failing.steps.failing = {"bind"};
  EXPECT_FALSE(failing.lifecycle.StartUp("1.10"));
  EXPECT_EQ(failing.steps.log, (Log{"bind", "unbind"}));
  EXPECT_FALSE(failing.lifecycle.started);
}

TEST(PluginLifecycle, FailingStartUpStepAbandonsItWithoutSaving) {
  const Log undo = {"destroy dialog", "unbind", "free ini"};
  for (size_t failed = 1; failed < kStartUpSteps.size(); ++failed) {
    SCOPED_TRACE(kStartUpSteps[failed]);
    Plugin p;
    p.steps.failing = {kStartUpSteps[failed]};
    EXPECT_FALSE(p.lifecycle.StartUp("1.10"));
    EXPECT_FALSE(p.lifecycle.started);
    const Log ran(kStartUpSteps.begin(), kStartUpSteps.begin() + failed + 1);
    EXPECT_EQ(p.steps.log, Join(ran, undo));
    // Nothing is left to clean up: the patterns are never saved.
    p.lifecycle.CleanUp();
    EXPECT_EQ(p.steps.log, Join(ran, undo));
  }
  Plugin unreadable;
  unreadable.steps.iniResult = IniLoadResult::kUnreadable;
  EXPECT_FALSE(unreadable.lifecycle.StartUp("1.10"));
  EXPECT_EQ(unreadable.steps.log, Join({"bind", "load ini"}, undo));

  Plugin noFile;
  noFile.steps.iniResult = IniLoadResult::kNoFile;
  EXPECT_TRUE(noFile.lifecycle.StartUp("1.10"));
}

TEST(PluginLifecycle, CleanUpRunsEveryStepWhenOneFails) {
  for (const std::string& failed : kCleanUpSteps) {
    SCOPED_TRACE(failed);
    Plugin p;
    p.Started().steps.failing = {failed};
    p.lifecycle.CleanUp();
    EXPECT_EQ(p.steps.log, kCleanUpSteps);
    EXPECT_FALSE(p.lifecycle.started);
  }
}

TEST(PluginLifecycle, SecondStartUpWhileStartedChangesNothing) {
  Plugin p;
  p.Started();
  EXPECT_TRUE(p.lifecycle.StartUp("1.10"));
  EXPECT_FALSE(p.lifecycle.StartUp("1.0"));
  EXPECT_TRUE(p.lifecycle.started);
  EXPECT_EQ(p.steps.log, Log{});
}

TEST(PluginLifecycle, SendSetsTheHeaderByOptionWhateverTheAnswer) {
  const struct {
    bool headerOption;
    std::string header;
    bool answer;
    std::vector<std::string> setHeaders;
  } cases[] = {
      {true, "To: a\r\nSubject: s", true, {"To: a\r\n" + kField + "\r\nSubject: s\r\n"}},
      {true, "To: a\r\nSubject: s", false, {"To: a\r\n" + kField + "\r\nSubject: s\r\n"}},
      {true, kField + "\r\n", true, {}},
      {false, "To: a\r\nSubject: s", true, {}},
      {false, "To: a\r\nSubject: s", false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.header);
    Plugin p;
    p.Started().lifecycle.patterns.headerOption = c.headerOption;
    p.steps.header = c.header;
    p.steps.answer = c.answer;
    EXPECT_EQ(p.lifecycle.SendPost(nullptr), c.answer);
    EXPECT_EQ(p.steps.checkedHeader, c.header);
    EXPECT_EQ(p.steps.setHeaders, c.setHeaders);
  }
}

// The domains sent to grow only with NewDomains on and only by mails that go out.
TEST(PluginLifecycle, SentMailsAddTheirNewDomains) {
  const struct {
    bool newDomains, answer;
    std::string known;
  } cases[] = {
      {true, true, "old.jp\r\na.jp\r\nb.jp"},
      {true, false, "old.jp"},
      {false, true, "old.jp"},
  };
  for (const auto& c : cases) {
    Plugin p;
    RecipientSettings& r = p.Started().lifecycle.patterns.recipients;
    r.newDomains = c.newDomains;
    r.knownDomains = "old.jp";
    p.steps.answer = c.answer;
    p.steps.newDomains = {"a.jp", "b.jp"};
    EXPECT_EQ(p.lifecycle.SendPost(nullptr), c.answer);
    EXPECT_EQ(r.knownDomains, c.known) << c.newDomains << c.answer;
  }
}

TEST(PluginLifecycle, SendFailureLetsTheMailThroughUntilTheAnswer) {
  const struct {
    std::string failing;
    bool send;
    Log ran;
  } cases[] = {
      {"capture", true, {"capture"}},
      {"check", true, {"capture", "check"}},
      {"set header", false, {"capture", "check", "set header"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.failing);
    Plugin p;
    p.Started().steps.failing = {c.failing};
    p.steps.answer = false;
    EXPECT_EQ(p.lifecycle.SendPost(nullptr), c.send);
    EXPECT_EQ(p.steps.log, c.ran);
  }
}

TEST(PluginLifecycle, NotStartedOnlyTheAboutBoxRuns) {
  Plugin p;
  p.lifecycle.patterns.associateOption = true;
  EXPECT_TRUE(p.lifecycle.SendPost(nullptr));
  EXPECT_EQ(p.lifecycle.Setup(), 2);
  p.lifecycle.FolderCreate();
  p.lifecycle.ViewClose();
  p.lifecycle.ViewLoadMail("h", "b");
  EXPECT_EQ(p.steps.log, Log{});
  p.steps.failing = {"about"};
  p.lifecycle.VersionInfo(nullptr);
  EXPECT_EQ(p.steps.log, Log{"about"});
}

TEST(PluginLifecycle, SetupShowsTheDialogOnceStarted) {
  Plugin p;
  EXPECT_EQ(p.Started().lifecycle.Setup(), 1);
  p.steps.failing = {"setup"};
  EXPECT_EQ(p.lifecycle.Setup(), 2);
  EXPECT_EQ(p.steps.log, (Log{"setup", "setup"}));
}

TEST(PluginLifecycle, MemoEntryPointsNeedAssociateOption) {
  for (const bool associate : {false, true}) {
    Plugin p;
    p.Started().lifecycle.patterns.associateOption = associate;
    p.steps.failing = {"memo folder"};
    p.lifecycle.FolderCreate();
    p.lifecycle.ViewLoadMail(nullptr, "b");
    p.lifecycle.ViewClose();
    const Log memo = {"memo folder", "memo load |b", "memo close"};
    EXPECT_EQ(p.steps.log, associate ? memo : Log{}) << associate;
  }
}

}  // namespace
}  // namespace zv
