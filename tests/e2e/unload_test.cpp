// The plug-in loaded, used and unloaded again and again in one host process, as a host that
// reloads its plug-ins does: every round must give back all it took.
#include <gtest/gtest.h>
#include <windows.h>

#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "e2e/process_census.h"
#include "e2e/test_mailbox.h"
#include "mailora/host.h"
#include "mailora/host_files.h"
#include "mailora/host_registry.h"
#include "mailora/host_warning.h"
#include "mailora/host_window.h"
#include "win/handles_win32.h"

namespace {

constexpr int kRounds = 20;

// One pattern for every mail, with the forbidden word 禁句.
constexpr char kSettings[] =
    "Zorvek\\PatternCount=Integer:1\r\n"
    "Zorvek\\Pattern0000\\Name=String:e2e\r\n"
    "Zorvek\\Pattern0000\\AddressOn=String:False\r\n"
    "Zorvek\\Pattern0000\\ZorvekCheck=String:True\r\n"
    "Zorvek\\Pattern0000\\Zorvek=String:禁句\r\n";

// Closes the setup dialog once it shows, as the user's close box would.
void CloseSetupWhenShown() {
  for (int waited = 0; waited < 120000; waited += 20) {  // emulated runs are slow
    HWND form = ::FindWindowW(L"TSetupForm", nullptr);
    if (form && ::IsWindowVisible(form)) {
      ::PostMessageW(form, WM_CLOSE, 0, 0);
      return;
    }
    ::Sleep(20);
  }
}

// Load, start-up, a send answered No at the warning, the setup dialog opened and closed,
// clean-up and unload.
void Round(const std::string& box) {
  mailora::ResetScript();  // the host's record of calls would grow otherwise
  auto& script = mailora::Script();
  script.mailbox = box;
  script.account = box;
  mailora::Plugin plugin;
  ASSERT_TRUE(plugin.loaded());
  ASSERT_EQ(plugin.StartUp()("1.10"), -1);
  {
    mailora::CompositionWindow w("本文に禁句\r\n", "(無し)");
    script.headers[w.hwnd()] = "To: a@example.com\r\nSubject: hi\r\n";
    script.editors[w.hwnd()] = w.body();
    mailora::WarningAnswerer answerer(IDNO);
    EXPECT_EQ(plugin.SendPost()(w.hwnd(), 0), 0);
    EXPECT_TRUE(answerer.Finish().shown);
  }
  std::thread closer(&CloseSetupWhenShown);
  plugin.Setup()(0);
  closer.join();
  plugin.CleanUp()();
}

TEST(Unload, RoundsInOneProcessLeaveNothingBehind) {
  zv::test::TestMailbox mailbox;
  ASSERT_TRUE(mailbox.Create("unload"));
  const std::string& box = mailbox.folder();
  ASSERT_TRUE(mailora::WriteFileBytes(mailbox.settingsPath(), kSettings));

  // The system libraries the plug-in imports stay loaded, as the real host keeps them: loading
  // them afresh every round is none of the plug-in's doing, and strains the emulated 32-bit run.
  std::vector<zv::win::UniqueModule> system;
  for (const char* name : {"comctl32.dll", "oleaut32.dll", "shell32.dll"}) {
    system.emplace_back(::LoadLibraryA(name));
  }
  Round(box);  // the system's and the runtime's caches fill on first use
  const zv::test::Census before = zv::test::TakeCensus();
  for (int i = 0; i < kRounds && !HasFailure(); ++i) Round(box);
  const zv::test::Census after = zv::test::TakeCensus();
  std::cout << "before: " << before << "\nafter " << kRounds << " rounds: " << after << "\n";
  // A few handles and objects of the system's own caches may come and go, and the threads
  // library keeps a mutex's few bytes from each load. One round's leak would show 20 times.
  EXPECT_LE(after.kernelHandles - before.kernelHandles, 4);
  EXPECT_LE(after.gdiObjects - before.gdiObjects, 4);
  EXPECT_LE(after.windows, before.windows);
  EXPECT_LE(after.heapBytes - before.heapBytes, 8 * 1024);

  mailbox.Remove();
}

}  // namespace
