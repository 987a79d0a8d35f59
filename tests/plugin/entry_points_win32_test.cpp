// The entry points' sequences in a process that is not the host: start-up must refuse (and load
// no planted Mailora.exe), and the send sequence runs over a table of fake host functions.
#include "plugin/entry_points_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "plugin/lifecycle_win32.h"

namespace zv::win {
namespace {

constexpr char kRecordKey[] = "Software\\Tessaly Lab\\Zorvek32";

std::string RecordValue(const char* name) {
  char data[256] = {};
  DWORD size = sizeof data;
  if (::RegGetValueA(HKEY_CURRENT_USER, kRecordKey, name, RRF_RT_REG_SZ, nullptr, data, &size) !=
      ERROR_SUCCESS) {
    return "(missing)";
  }
  return data;
}

void DeleteRecord() {
  ::RegDeleteKeyA(HKEY_CURRENT_USER, kRecordKey);
  ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Tessaly Lab");
}

std::string ExeFolder() {
  char path[MAX_PATH] = {};
  const DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof path);
  const std::string s(path, n);
  return s.substr(0, s.find_last_of('\\') + 1);
}

TEST(StartUp, RefusedOutsideTheHostWithoutLoadingAPlantedExecutable) {
  DeleteRecord();
  // The substitute host, which exports every host function, planted beside this program and in
  // the current folder, where a search by file name would find and bind it.
  const std::string host = ExeFolder() + "..\\e2e\\Mailora.exe";
  const std::string planted = ExeFolder() + "Mailora.exe";
  ASSERT_TRUE(::CopyFileA(host.c_str(), planted.c_str(), FALSE)) << "build e2e_host first";
  char previous[MAX_PATH] = {};
  ::GetCurrentDirectoryA(sizeof previous, previous);
  ::SetCurrentDirectoryA(ExeFolder().c_str());

  EXPECT_FALSE(StartUp("1.10"));
  EXPECT_EQ(::GetModuleHandleA("Mailora.exe"), nullptr);
  EXPECT_FALSE(State().lifecycle.started);
  EXPECT_EQ(State().host.module.get(), nullptr);
  // The record is written before the host is looked for.
  EXPECT_EQ(RecordValue("Version"), "Ver.1.04 Rev.2");
  EXPECT_EQ(RecordValue("CopyrightYear"), "1997-2000");
  EXPECT_EQ(RecordValue("Filename"), "Zorvek32");

  ::SetCurrentDirectoryA(previous);
  ::DeleteFileA(planted.c_str());
  DeleteRecord();
}

TEST(StartUp, RefusedVersionTouchesNothing) {
  DeleteRecord();
  for (const char* version : {"1.09", "1.1", "", "0"}) {
    EXPECT_FALSE(StartUp(version)) << version;
  }
  EXPECT_FALSE(StartUp(nullptr));
  EXPECT_EQ(RecordValue("Version"), "(missing)");
}

// Host functions for the send sequence.
std::string g_header;
std::vector<std::string> g_setHeaders;
bool g_throwOnHeader = false;
int g_headerCalls = 0;

const char* WINAPI FakeGetHeader(HWND) {
  ++g_headerCalls;
  if (g_throwOnHeader) throw std::bad_alloc();
  return g_header.c_str();
}
void WINAPI FakeSetHeader(HWND, const char* header) {
  g_setHeaders.push_back(header);
}

// Puts the process-wide state into "started" with the fake host, and takes it out again.
class SendSequence : public ::testing::Test {
 protected:
  void SetUp() override {
    PluginState& state = State();
    state.host.table[HostFn::kSendGetHeader] = reinterpret_cast<void*>(&FakeGetHeader);
    state.host.table[HostFn::kSendSetHeader] = reinterpret_cast<void*>(&FakeSetHeader);
    state.lifecycle.patterns = PatternSettings{};
    state.lifecycle.started = true;
    g_setHeaders.clear();
    g_throwOnHeader = false;
  }
  void TearDown() override {
    CleanUp();
    EXPECT_FALSE(State().lifecycle.started);
    EXPECT_EQ(State().host.table[HostFn::kSendGetHeader], nullptr);
  }
};

TEST_F(SendSequence, HeaderOptionTable) {
  const std::string field = "X-Mailer-Plugin: Zorvek32 Ver.1.04 Rev.2";
  struct Case {
    bool headerOption;
    std::string header;
    std::vector<std::string> setHeaders;
  };
  const std::vector<Case> cases = {
      {true, "To: a\r\nSubject: s", {"To: a\r\n" + field + "\r\nSubject: s\r\n"}},
      {true, field + "\r\n", {}},
      {true, "", {field + "\r\n"}},
      {false, "To: a\r\nSubject: s", {}},
  };
  for (const auto& c : cases) {
    State().lifecycle.patterns.headerOption = c.headerOption;
    g_header = c.header;
    g_setHeaders.clear();
    EXPECT_EQ(SendPost(nullptr), kHostTrue) << c.header;
    EXPECT_EQ(g_setHeaders, c.setHeaders) << c.header;
  }
}

TEST_F(SendSequence, FailureLetsTheMailThroughWithTheHeaderUntouched) {
  g_throwOnHeader = true;
  EXPECT_EQ(SendPost(nullptr), kHostTrue);
  EXPECT_TRUE(g_setHeaders.empty());
}

TEST_F(SendSequence, OtherEntryPointsAnswerQuietly) {
  State().lifecycle.patterns.associateOption = true;
  EXPECT_EQ(zv::win::Setup(), 2);
  FolderCreate();
  ViewClose();
  ViewLoadMail(nullptr, nullptr);
  // The About box is modal: closed from another thread as a user would close it.
  std::thread closer([] {
    for (int waited = 0; waited < 10000; waited += 20) {
      if (HWND box = ::FindWindowW(L"TVersionForm", nullptr); box && ::IsWindowVisible(box)) {
        ::PostMessageW(box, WM_CLOSE, 0, 0);
        return;
      }
      ::Sleep(20);
    }
  });
  VersionInfo(nullptr);
  closer.join();
  // Already started: an accepted version changes nothing, a refused one is still refused.
  EXPECT_TRUE(StartUp("1.10"));
  EXPECT_FALSE(StartUp("1.0"));
  EXPECT_TRUE(State().lifecycle.started);
}

TEST(SendPost, NotStartedLetsTheMailThroughWithoutCallingTheHost) {
  ASSERT_FALSE(State().lifecycle.started);
  State().host.table[HostFn::kSendGetHeader] = reinterpret_cast<void*>(&FakeGetHeader);
  g_headerCalls = 0;
  EXPECT_EQ(SendPost(nullptr), kHostTrue);
  EXPECT_EQ(g_headerCalls, 0);
  EXPECT_EQ(zv::win::Setup(), 2);
  State().host.table = HostTable{};
}

}  // namespace
}  // namespace zv::win
