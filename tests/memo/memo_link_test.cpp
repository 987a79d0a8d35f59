// The memo-pad link's decisions over a fake system that records every call in order.
#include "memo/memo_link.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace zv {
namespace {

using Calls = std::vector<std::string>;

class FakePlatform : public NotavoPlatform {
 public:
  std::map<std::string, std::string, std::less<>> registry;
  std::set<std::string> files;
  ForeignWindow window = 0;
  Calls calls;

  std::string ReadRegistryText(std::string_view name, std::string_view fallback) override {
    calls.push_back("reg " + std::string(name));
    const auto it = registry.find(name);
    return it == registry.end() ? std::string(fallback) : it->second;
  }
  bool FileExists(const std::string& path) override {
    calls.push_back("exists " + path);
    return files.count(path) != 0;
  }
  void ShellOpen(const std::string& path) override { calls.push_back("open " + path); }
  ForeignWindow FindNotavoWindow() override {
    calls.push_back("find");
    return window;
  }
  void HandOver(ForeignWindow notavo, std::string_view text) override {
    EXPECT_EQ(notavo, window);
    calls.push_back("show " + std::string(text));
  }
};

TEST(StartNotavo, RegistryAndFileTable) {
  struct Case {
    const char* name;
    std::map<std::string, std::string, std::less<>> registry;
    std::set<std::string> files;
    Calls calls;
  };
  const std::vector<Case> cases = {
      {"not installed", {}, {"C:\\N\\Notavo.exe"}, {"reg Path"}},
      {"empty Path", {{"Path", ""}, {"ExeName", "Notavo"}}, {"Notavo.exe"}, {"reg Path"}},
      {"named program",
       {{"Path", "C:\\N\\"}, {"ExeName", "Memo"}},
       {"C:\\N\\Memo.exe"},
       {"reg Path", "reg ExeName", "exists C:\\N\\Memo.exe", "open C:\\N\\Memo.exe"}},
      {"ExeName missing",
       {{"Path", "C:\\N\\"}},
       {"C:\\N\\Notavo.exe"},
       {"reg Path", "reg ExeName", "exists C:\\N\\Notavo.exe", "open C:\\N\\Notavo.exe"}},
      {"executable missing",
       {{"Path", "C:\\N\\"}, {"ExeName", "Memo"}},
       {"C:\\N\\Notavo.exe"},
       {"reg Path", "reg ExeName", "exists C:\\N\\Memo.exe"}},
      {"Path without a backslash is a plain prefix",
       {{"Path", "C:\\N"}},
       {"C:\\NNotavo.exe"},
       {"reg Path", "reg ExeName", "exists C:\\NNotavo.exe", "open C:\\NNotavo.exe"}},
      {"empty ExeName is taken as stored",
       {{"Path", "C:\\N\\"}, {"ExeName", ""}},
       {"C:\\N\\.exe"},
       {"reg Path", "reg ExeName", "exists C:\\N\\.exe", "open C:\\N\\.exe"}},
      // 表 ends in the byte of a backslash; the bytes pass unchanged.
      {"two-byte names",
       {{"Path", "D:\\表\\"}, {"ExeName", "メモ"}},
       {"D:\\表\\メモ.exe"},
       {"reg Path", "reg ExeName", "exists D:\\表\\メモ.exe", "open D:\\表\\メモ.exe"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakePlatform p;
    p.registry = c.registry;
    p.files = c.files;
    StartNotavo(p);
    EXPECT_EQ(p.calls, c.calls);
  }
}

// Each entry point's calls, for the option on and off, with and without Notavo's window.
TEST(MemoEntryPoints, OptionAndWindowTable) {
  enum class Entry { kFolderCreate, kViewLoadMail, kViewClose };
  struct Case {
    const char* name;
    Entry entry;
    bool option;
    bool window;
    Calls calls;
  };
  const char* exe = "C:\\N\\Memo.exe";
  const std::vector<Case> cases = {
      {"folder, off, window", Entry::kFolderCreate, false, true, {}},
      {"folder, off, no window", Entry::kFolderCreate, false, false, {}},
      {"load, off, window", Entry::kViewLoadMail, false, true, {}},
      {"close, off, window", Entry::kViewClose, false, true, {}},
      {"folder, on, window: no second start", Entry::kFolderCreate, true, true, {"find"}},
      {"folder, on, no window",
       Entry::kFolderCreate,
       true,
       false,
       {"find", "reg Path", "reg ExeName", std::string("exists ") + exe,
        std::string("open ") + exe}},
      {"load, on, window", Entry::kViewLoadMail, true, true, {"find", "show A\r\n\r\nB"}},
      {"load, on, no window", Entry::kViewLoadMail, true, false, {"find"}},
      {"close, on, window: empty text", Entry::kViewClose, true, true, {"find", "show "}},
      {"close, on, no window", Entry::kViewClose, true, false, {"find"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakePlatform p;
    p.registry = {{"Path", "C:\\N\\"}, {"ExeName", "Memo"}};
    p.files = {exe};
    p.window = c.window ? 0x1234 : 0;
    switch (c.entry) {
      case Entry::kFolderCreate:
        MemoFolderCreate(c.option, p);
        break;
      case Entry::kViewLoadMail:
        MemoViewLoadMail(c.option, p, "A", "B");
        break;
      case Entry::kViewClose:
        MemoViewClose(c.option, p);
        break;
    }
    EXPECT_EQ(p.calls, c.calls);
  }
}

}  // namespace
}  // namespace zv
