#include "plugin/capture_win32.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace zv::win {
namespace {

// A window whose answers to WM_GETTEXTLENGTH and WM_GETTEXT are scripted, to see how the
// reader copes with windows that misreport.
struct ScriptedText {
  LRESULT length;    // WM_GETTEXTLENGTH's answer
  std::string text;  // bytes copied by WM_GETTEXT, within the buffer's size
  LRESULT copied;    // WM_GETTEXT's answer
};

LRESULT CALLBACK ScriptedProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  auto* s = reinterpret_cast<ScriptedText*>(::GetWindowLongPtrA(w, GWLP_USERDATA));
  if (s && msg == WM_GETTEXTLENGTH) return s->length;
  if (s && msg == WM_GETTEXT) {
    const size_t n = std::min<size_t>(s->text.size(), static_cast<size_t>(wp));
    s->text.copy(reinterpret_cast<char*>(lp), n);
    return s->copied;
  }
  return ::DefWindowProcA(w, msg, wp, lp);
}

win::UniqueWindow Window(const char* cls, const char* text = "", HWND parent = nullptr) {
  return win::UniqueWindow(::CreateWindowExA(0, cls, text, parent ? WS_CHILD : WS_POPUP, 0, 0, 10,
                                             10, parent, nullptr, nullptr, nullptr));
}

TEST(WindowText, ScriptedWindows) {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ScriptedProc;
    wc.lpszClassName = "ZvScriptedText";
    return ::RegisterClassA(&wc) != 0;
  }();
  ASSERT_TRUE(registered);
  struct Case {
    const char* what;
    ScriptedText script;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"plain", {5, std::string("hello\0", 6), 5}, "hello"},
      {"no text", {0, std::string("\0", 1), 0}, ""},
      {"stops at a zero byte", {5, std::string("ab\0cd\0", 6), 5}, "ab"},
      {"cut to the count copied", {5, std::string("hello\0", 6), 3}, "hel"},
      {"length too short: buffer bounds the copy", {2, "hello", 5}, "hel"},
      {"length too long", {50, std::string("hi\0", 3), 2}, "hi"},
      {"negative length", {-1, "hello", 5}, ""},
      {"negative count", {5, std::string("hello\0", 6), -1}, ""},
  };
  for (const auto& c : cases) {
    ScriptedText script = c.script;
    const win::UniqueWindow w = Window("ZvScriptedText");
    ASSERT_TRUE(w);
    ::SetWindowLongPtrA(w.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&script));
    EXPECT_EQ(WindowText(w.get()), c.expected) << c.what;
  }
}

TEST(WindowText, EditControlsKeepTheBytes) {
  const std::vector<std::string> texts = {"", "本文\r\n表示ソ能\r\n", "ｱｲｳ half-width", "a"};
  for (const auto& text : texts) {
    const win::UniqueWindow edit = Window("EDIT", text.c_str());
    ASSERT_TRUE(edit);
    EXPECT_EQ(WindowText(edit.get()), text);
  }
  EXPECT_EQ(WindowText(nullptr), "");
}

// A parent with `counts[i]` grandchildren under its i-th child, each window's text naming its
// place ("1.2" is the second child of the first child).
struct Layout {
  win::UniqueWindow top;
  explicit Layout(const std::vector<int>& counts) : top(Window("STATIC", "top")) {
    for (size_t i = 0; i < counts.size(); ++i) {
      const HWND child = Window("STATIC", std::to_string(i + 1).c_str(), top.get()).release();
      for (int j = 0; j < counts[i]; ++j) {
        const std::string name = std::to_string(i + 1) + "." + std::to_string(j + 1);
        Window("STATIC", name.c_str(), child).release();  // destroyed with the top window
      }
    }
  }
};

TEST(FindCompositionParts, Layouts) {
  struct Case {
    std::vector<int> counts;
    std::string body, selector;  // texts of the windows found; "-" for none
  };
  const std::vector<Case> cases = {
      {{}, "-", "-"},           {{0}, "-", "-"},          {{2}, "1.1", "-"},
      {{1, 10}, "1.1", "-"},    {{1, 11}, "1.1", "2.11"}, {{0, 12, 3}, "-", "2.11"},
      {{3, 20}, "1.1", "2.11"},
  };
  const auto text = [](HWND w) { return w ? WindowText(w) : std::string("-"); };
  for (const auto& c : cases) {
    Layout layout(c.counts);
    const CompositionParts parts = FindCompositionParts(layout.top.get());
    EXPECT_EQ(text(parts.body), c.body) << c.counts.size();
    EXPECT_EQ(text(parts.selector), c.selector) << c.counts.size();
  }
  // Neither a null handle nor a destroyed window leads to the desktop's windows.
  EXPECT_EQ(FindCompositionParts(nullptr).body, nullptr);
  HWND gone = Window("STATIC").release();
  ::DestroyWindow(gone);
  EXPECT_EQ(FindCompositionParts(gone).selector, nullptr);
}

// Host functions for the capture: a header and an account, each call recorded.
std::vector<std::string> g_calls;
std::string g_account;
const char* WINAPI FakeGetHeader(HWND) {
  g_calls.push_back("header");
  return "To: a@example.com\r\n";
}
const char* WINAPI FakeGetAccount(HWND) {
  g_calls.push_back("account");
  return g_account.c_str();
}

HostTable FakeTable() {
  HostTable table;
  table[HostFn::kSendGetHeader] = reinterpret_cast<void*>(&FakeGetHeader);
  table[HostFn::kGetAccount] = reinterpret_cast<void*>(&FakeGetAccount);
  return table;
}

std::string TempFolder() {
  char temp[MAX_PATH] = {};
  ::GetTempPathA(sizeof temp, temp);
  return std::string(temp) + "zv-capture-unit-" + std::to_string(::GetCurrentProcessId()) + "\\";
}

void WriteFile(const std::string& path, const std::string& bytes) {
  HANDLE f = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ::WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(f);
}

TEST(CaptureOutgoingMail, WindowsWithoutTheExpectedChildren) {
  const HostTable table = FakeTable();
  for (const std::vector<int>& counts : {std::vector<int>{}, {0, 0}, {1}, {1, 3}}) {
    Layout layout(counts);
    g_calls.clear();
    const OutgoingMail mail = CaptureOutgoingMail(HostCalls(table), layout.top.get());
    EXPECT_EQ(mail.header, "To: a@example.com\r\n");
    EXPECT_EQ(mail.body, counts.empty() || counts[0] == 0 ? "" : "1.1");
    EXPECT_EQ(g_calls, std::vector<std::string>{"header"});  // no signature file looked for
  }
}

TEST(CaptureOutgoingMail, SignatureFileCases) {
  const std::string folder = TempFolder();
  ::CreateDirectoryA(folder.c_str(), nullptr);
  const std::string file = folder + "Signature";
  const HostTable table = FakeTable();
  Layout layout({1, 11});  // body "1.1", selector "2.11"
  // With the file in the current folder, an empty account would find it by "Signature" alone.
  char previous[MAX_PATH] = {};
  ::GetCurrentDirectoryA(sizeof previous, previous);
  ::SetCurrentDirectoryA(folder.c_str());

  struct Case {
    const char* what;
    std::string account;
    std::optional<std::string> fileText;  // none: no file
    std::string body;
  };
  const std::vector<Case> cases = {
      {"block found", folder, "{begin 2.11}\r\nsig\r\n", "1.1sig\r\n"},
      {"no file", folder, std::nullopt, "1.1"},
      {"no account: no file is read", "", "{Begin 2.11}\r\nsig\r\n", "1.1"},
      {"a zero byte ends the file", folder, std::string("{Begin 2.11}\r\nx\0y\r\n", 19),
       "1.1x\r\n"},
  };
  for (const auto& c : cases) {
    ::DeleteFileA(file.c_str());
    if (c.fileText) WriteFile(file, *c.fileText);
    g_account = c.account;
    g_calls.clear();
    const OutgoingMail mail = CaptureOutgoingMail(HostCalls(table), layout.top.get());
    EXPECT_EQ(mail.body, c.body) << c.what;
    EXPECT_EQ(g_calls, (std::vector<std::string>{"header", "account"})) << c.what;
  }
  ::SetCurrentDirectoryA(previous);
  ::DeleteFileA(file.c_str());
  ::RemoveDirectoryA(folder.c_str());
}

TEST(ReadWholeFileOrEmpty, Bytes) {
  const std::string folder = TempFolder();
  ::CreateDirectoryA(folder.c_str(), nullptr);
  const std::string path = folder + "bytes";
  std::string bytes;
  for (int i = 0; i < 3 * 256; ++i) bytes.push_back(static_cast<char>(i));
  WriteFile(path, bytes);
  EXPECT_EQ(ReadWholeFileOrEmpty(path), bytes);
  WriteFile(path, "");
  EXPECT_EQ(ReadWholeFileOrEmpty(path), "");
  ::DeleteFileA(path.c_str());
  EXPECT_EQ(ReadWholeFileOrEmpty(path), "");
  EXPECT_EQ(ReadWholeFileOrEmpty(folder), "");
  ::RemoveDirectoryA(folder.c_str());
}

TEST(EqualsIgnoringCaseUserLocale, Table) {
  struct Case {
    std::string a, b;
    bool equal;
  };
  const std::vector<Case> cases = {
      {"{Begin work}", "{BEGIN WORK}", true},
      {"{Begin ａｂ}", "{Begin ＡＢ}", true},  // full-width letters fold too
      {"{Begin 仕事}", "{Begin 仕事}", true},
      {"{Begin A}", "{Begin Ａ}", false},  // width counts
      {"{Begin ア}", "{Begin ャ}", false},
      {"{Begin A}", "{Begin A} ", false},
      {"", "", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EqualsIgnoringCaseUserLocale(c.a, c.b), c.equal) << c.a << " / " << c.b;
  }
}

}  // namespace
}  // namespace zv::win
