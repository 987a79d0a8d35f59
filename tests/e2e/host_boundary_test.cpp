// The plug-in driven through its exports by a host named Mailora.exe: the start-up version
// table, the registry record, the send sequence's calls to the host, and the capture of a mail
// from the substitute host's own composition window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mailora/host.h"
#include "mailora/host_registry.h"
#include "mailora/host_window.h"
#include "plugin/capture_win32.h"
#include "plugin/host_binding_win32.h"

namespace {

const std::string kField = "X-Mailer-Plugin: Zorvek32 Ver.1.04 Rev.2\r\n";
const std::vector<mailora::RegistryValue> kRecord = {
    {"CopyrightYear", REG_SZ, "1997-2000"},
    {"Filename", REG_SZ, "Zorvek32"},
    {"Version", REG_SZ, "Ver.1.04 Rev.2"},
};

class HostBoundary : public ::testing::Test {
 protected:
  void SetUp() override {
    mailora::ResetScript();
    mailora::DeletePluginRecord();
    ASSERT_TRUE(plugin_.loaded());
  }
  void TearDown() override {
    plugin_.CleanUp()();
    mailora::DeletePluginRecord();
    mailora::ResetScript();
  }

  int32_t StartUp(const char* version = "1.10") { return plugin_.StartUp()(version); }
  int32_t SendPost(HWND w) { return plugin_.SendPost()(w, 0); }

  mailora::Plugin plugin_;
};

TEST_F(HostBoundary, VersionTable) {
  struct Case {
    const char* version;
    int32_t result;
  };
  const Case cases[] = {{"1.10", -1}, {"1.2", -1}, {"2.0", -1}, {"10.0", -1},
                        {"1.09", 0},  {"1.1", 0},  {"1.0", 0},  {"", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    EXPECT_EQ(StartUp(c.version), c.result);
    // A refused version touches neither the registry nor the host.
    EXPECT_EQ(mailora::ReadPluginRecord(),
              c.result ? kRecord : std::vector<mailora::RegistryValue>{});
    EXPECT_TRUE(mailora::Script().calls.empty());
    plugin_.CleanUp()();
    mailora::DeletePluginRecord();
  }
  EXPECT_EQ(StartUp(nullptr), 0);
  EXPECT_TRUE(mailora::ReadPluginRecord().empty());
}

TEST_F(HostBoundary, RecordIsWrittenAgainAtEveryStartUp) {
  ASSERT_EQ(StartUp(), -1);
  EXPECT_EQ(mailora::ReadPluginRecord(), kRecord);
  plugin_.CleanUp()();

  HKEY key = nullptr;
  ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, mailora::kRecordKey, 0, KEY_SET_VALUE, &key),
            ERROR_SUCCESS);
  ::RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("old"), 4);
  ::RegCloseKey(key);
  char version[64] = {};
  DWORD size = sizeof version;
  ASSERT_EQ(::RegGetValueA(HKEY_CURRENT_USER, mailora::kRecordKey, "Version", RRF_RT_REG_SZ,
                           nullptr, version, &size),
            ERROR_SUCCESS);
  ASSERT_STREQ(version, "old");

  ASSERT_EQ(StartUp("2.0"), -1);
  EXPECT_EQ(mailora::ReadPluginRecord(), kRecord);
}

TEST_F(HostBoundary, EntryPointsDoNothingWithoutStartUp) {
  mailora::CompositionWindow w("body", "(無し)");
  mailora::Script().headers[w.hwnd()] = "To: a@example.com\r\n";
  const auto idle = [&](const char* when) {
    SCOPED_TRACE(when);
    EXPECT_EQ(SendPost(w.hwnd()), -1);
    EXPECT_EQ(plugin_.Setup()(0), 2);
    plugin_.FolderCreate()(0);
    plugin_.ViewClose()(0);
    plugin_.ViewLoadMail()(0, "To: a\r\n", "body");
    plugin_.CleanUp()();
    EXPECT_TRUE(mailora::Script().calls.empty());
  };
  idle("before start-up");
  ASSERT_EQ(StartUp("1.09"), 0);
  idle("after a refused start-up");
  ASSERT_EQ(StartUp(), -1);
  plugin_.CleanUp()();
  idle("after clean-up");
  EXPECT_EQ(mailora::Script().headers[w.hwnd()], "To: a@example.com\r\n");
}

TEST_F(HostBoundary, SendPostSetsTheHeaderOnlyWhenItChanged) {
  mailora::CompositionWindow w("Hello\r\n", "(無し)");
  auto& script = mailora::Script();
  script.headers[w.hwnd()] = "To: a@example.com\r\nSubject: hi";
  ASSERT_EQ(StartUp(), -1);

  EXPECT_EQ(SendPost(w.hwnd()), -1);
  ASSERT_EQ(script.setHeaderCalls.size(), 1u);
  EXPECT_EQ(script.setHeaderCalls[0].window, w.hwnd());
  EXPECT_EQ(script.setHeaderCalls[0].header, "To: a@example.com\r\n" + kField + "Subject: hi\r\n");
  // "(無し)": the account's signature file is never asked for.
  EXPECT_EQ(script.calls, (std::vector<std::string>{"_APASendGetHeader@4", "_APASendSetHeader@8"}));

  // The host now holds the current entry: a second send leaves it alone.
  script.calls.clear();
  EXPECT_EQ(SendPost(w.hwnd()), -1);
  EXPECT_EQ(script.setHeaderCalls.size(), 1u);
  EXPECT_EQ(script.calls, std::vector<std::string>{"_APASendGetHeader@4"});
}

TEST_F(HostBoundary, SendPostUpdatesAnOlderEntryAndReadsTheSignature) {
  mailora::CompositionWindow w("Hello\r\n", "work");
  auto& script = mailora::Script();
  script.account = "C:\\no-such-folder\\account\\";
  script.headers[w.hwnd()] = "X-Mailer-Plugin: Zorvek32 Ver.1.00\r\nTo: a@example.com\r\n";
  ASSERT_EQ(StartUp(), -1);

  EXPECT_EQ(SendPost(w.hwnd()), -1);
  EXPECT_EQ(script.calls, (std::vector<std::string>{"_APASendGetHeader@4", "_APAGetAccount@4",
                                                    "_APASendSetHeader@8"}));
  ASSERT_EQ(script.setHeaderCalls.size(), 1u);
  EXPECT_EQ(script.setHeaderCalls[0].header, kField + "To: a@example.com\r\n");
}

// The capture itself, run in this process against the substitute host's windows and functions.
class Capture : public HostBoundary {
 protected:
  void SetUp() override {
    HostBoundary::SetUp();
    char temp[MAX_PATH] = {};
    ::GetTempPathA(sizeof temp, temp);
    folder_ = std::string(temp) + "zv-capture-" + std::to_string(::GetCurrentProcessId()) + "\\";
    ::CreateDirectoryA(folder_.c_str(), nullptr);
    mailora::Script().account = folder_;
    ASSERT_TRUE(zv::win::BindHost(binding_));
  }
  void TearDown() override {
    zv::win::UnbindHost(binding_);
    ::DeleteFileA(SignaturePath().c_str());
    ::RemoveDirectoryA(folder_.c_str());
    HostBoundary::TearDown();
  }

  std::string SignaturePath() const { return folder_ + "Signature"; }
  void WriteSignatureFile(const std::string& text) {
    HANDLE f = ::CreateFileA(SignaturePath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(f);
  }

  std::string folder_;
  zv::win::HostBinding binding_;
};

TEST_F(Capture, FindsTheBodyAndTheSelector) {
  mailora::CompositionWindow w("body", "(無し)");
  const zv::win::CompositionParts parts = zv::win::FindCompositionParts(w.hwnd());
  EXPECT_EQ(parts.body, w.body());
  EXPECT_EQ(parts.selector, w.selector());
  EXPECT_EQ(zv::win::WindowText(parts.selector), "(無し)");
}

TEST_F(Capture, BodyAndSignatureTable) {
  const std::string file =
      "{Begin (無し)}\r\nnever\r\n{End}\r\n"
      "{Begin work}\r\nBest regards\r\nTaro{End}\r\n"
      "{Begin 仕事}\r\n山田 太郎\r\n表示\r\n{End}\r\n"
      "{Begin ｗｏｒｋ}\r\nfull-width\r\n{End}\r\n";
  struct Case {
    const char* what;
    std::string body, selector;
    bool fileExists;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"no signature", "本文です\r\n", "(無し)", true, "本文です\r\n"},
      {"other letter case", "Hi\r\n", "WORK", true, "Hi\r\nBest regards\r\nTaro"},
      {"Japanese name", "Hi\r\n", "仕事", true, "Hi\r\n山田 太郎\r\n表示\r\n"},
      {"full-width letters in other case", "", "ＷＯＲＫ", true, "full-width\r\n"},
      {"no such block", "Hi", "home", true, "Hi"},
      {"no signature file", "Hi", "work", false, "Hi"},
      {"empty body", "", "work", true, "Best regards\r\nTaro"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.fileExists) {
      WriteSignatureFile(file);
    } else {
      ::DeleteFileA(SignaturePath().c_str());
    }
    mailora::CompositionWindow w(c.body, c.selector);
    mailora::Script().headers[w.hwnd()] = "To: a@example.com\r\n";
    mailora::Script().calls.clear();
    const zv::OutgoingMail mail =
        zv::win::CaptureOutgoingMail(zv::win::HostCalls(binding_.table), w.hwnd());
    EXPECT_EQ(mail.header, "To: a@example.com\r\n");
    EXPECT_EQ(mail.body, c.expected);
    const bool askedAccount =
        mailora::Script().calls.size() == 2 && mailora::Script().calls[1] == "_APAGetAccount@4";
    EXPECT_EQ(askedAccount, c.selector != "(無し)");
  }
}

}  // namespace
