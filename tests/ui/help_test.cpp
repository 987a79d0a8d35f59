#include "ui/help.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace zv::ui {
namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return s;
}

// Entries by full path (long or short spelling, letter case ignored); records every probe.
class FakeFs final : public DirectorySearch {
 public:
  struct Row {
    std::string path, shortPath, name;
    uint32_t attributes;
  };
  explicit FakeFs(std::vector<Row> rows) : rows_(std::move(rows)) {}

  void ForEach(const std::string& pattern,
               const std::function<bool(const DirEntry&)>& visit) override {
    probes.push_back(pattern);
    for (const Row& r : rows_) {
      if (Lower(r.path) != Lower(pattern) && Lower(r.shortPath) != Lower(pattern)) continue;
      if (visit(DirEntry{r.name, r.attributes})) return;
    }
  }
  std::vector<std::string> probes;

 private:
  std::vector<Row> rows_;
};

FakeFs MakeFs() {
  return FakeFs({
      {"C:\\Program Files", "C:\\PROGRA~1", "Program Files", kAttrDirectory},
      {"C:\\PROGRA~1\\Mailora", "C:\\PROGRA~1\\MAILORA", "Mailora", kAttrDirectory},
      {"C:\\Hidden", "C:\\HIDDEN", "Hidden Long", kAttrDirectory | kAttrHidden},
      {"D:\\表示", "D:\\表示", "表示フォルダ", kAttrDirectory},
  });
}

TEST(FolderPart, UpToLastBackslashOrColon) {
  struct Row {
    std::string in, out;
  };
  const Row rows[] = {
      {"C:\\PROGRA~1\\MAILORA\\MAILORA.EXE", "C:\\PROGRA~1\\MAILORA\\"},
      {"C:\\Mailora", "C:\\"},
      {"C:MAILORA.EXE", "C:"},
      {"MAILORA.EXE", ""},
      {"D:\\表\\x", "D:\\表\\"},  // 表 ends in byte 0x5C: no separator
      {"D:\\ソ", "D:\\"},
  };
  for (const Row& r : rows) EXPECT_EQ(FolderPart(r.in), r.out) << r.in;
}

TEST(HelpFilePath, WalksFolderKeepingUnknownNames) {
  struct Row {
    std::string name, installPath, expected;
    std::vector<std::string> probes;
  };
  const std::vector<Row> rows = {
      {"ShortFormExpands",
       "C:\\PROGRA~1\\MAILORA\\MAILORA.EXE",
       "C:\\Program Files\\Mailora\\Plugins\\Zorvek32.hlp",
       {"C:\\PROGRA~1", "C:\\PROGRA~1\\MAILORA"}},
      {"FolderWithoutBackslashIsDropped", "C:\\Mailora", "C:\\Plugins\\Zorvek32.hlp", {}},
      {"FolderPathWithTrailingBackslash",
       "C:\\PROGRA~1\\",
       "C:\\Program Files\\Plugins\\Zorvek32.hlp",
       {"C:\\PROGRA~1"}},
      // An unknown folder stays as written and the walk goes on with the names as written.
      {"UnknownKeptWalkGoesOn",
       "C:\\NOPE\\MAILORA\\M.EXE",
       "C:\\NOPE\\MAILORA\\Plugins\\Zorvek32.hlp",
       {"C:\\NOPE", "C:\\NOPE\\MAILORA"}},
      {"ProbeKeepsWrittenNames",
       "C:\\PROGRA~1\\NOPE\\MAILORA\\M.EXE",
       "C:\\Program Files\\NOPE\\MAILORA\\Plugins\\Zorvek32.hlp",
       {"C:\\PROGRA~1", "C:\\PROGRA~1\\NOPE", "C:\\PROGRA~1\\NOPE\\MAILORA"}},
      {"HiddenFolderKeepsWrittenName",
       "C:\\HIDDEN\\M.EXE",
       "C:\\HIDDEN\\Plugins\\Zorvek32.hlp",
       {"C:\\HIDDEN"}},
      {"DriveOnly", "C:MAILORA.EXE", "C:Plugins\\Zorvek32.hlp", {}},
      {"NoFolder", "MAILORA.EXE", "Plugins\\Zorvek32.hlp", {}},
      {"TrailByteNoSeparator",
       "D:\\表示\\M.EXE",
       "D:\\表示フォルダ\\Plugins\\Zorvek32.hlp",
       {"D:\\表示"}},
  };
  for (const Row& r : rows) {
    FakeFs fs = MakeFs();
    EXPECT_EQ(HelpFilePath(r.installPath, fs), r.expected) << r.name;
    EXPECT_EQ(fs.probes, r.probes) << r.name;
  }
}

class FakeEnv final : public HelpEnvironment {
 public:
  std::string installPath;
  std::set<std::string> files;
  FakeFs fs = MakeFs();
  std::vector<std::string> errors, opened;

  std::string InstallPath() override { return installPath; }
  DirectorySearch& Directories() override { return fs; }
  bool FileExists(const std::string& path) override { return files.contains(path); }
  void ShowError(const std::string& message) override { errors.push_back(message); }
  void Open(const std::string& path) override { opened.push_back(path); }
};

TEST(ShowHelp, MissingInstallPathNamesKeyWithoutLeadingBackslash) {
  FakeEnv env;
  ShowHelp(env);
  ASSERT_EQ(env.errors.size(), 1u);
  EXPECT_EQ(env.errors[0],
            "HKEY_LOCAL_MACHINE\\SOFTWARE\\Brevik\\Mailora\\InstallPath がありません");
  EXPECT_EQ(env.errors[0], std::string(kInstallPathKey.substr(1)) + "\\InstallPath がありません");
  EXPECT_TRUE(env.opened.empty());
}

TEST(ShowHelp, MissingFileShowsExpandedPath) {
  FakeEnv env;
  env.installPath = "C:\\PROGRA~1\\NOPE\\M.EXE";
  ShowHelp(env);
  ASSERT_EQ(env.errors.size(), 1u);
  EXPECT_EQ(env.errors[0], "C:\\Program Files\\NOPE\\Plugins\\Zorvek32.hlp がありません");
  EXPECT_TRUE(env.opened.empty());
}

TEST(ShowHelp, ExistingFileIsOpened) {
  FakeEnv env;
  env.installPath = "C:\\PROGRA~1\\MAILORA\\MAILORA.EXE";
  env.files.insert("C:\\Program Files\\Mailora\\Plugins\\Zorvek32.hlp");
  ShowHelp(env);
  EXPECT_TRUE(env.errors.empty());
  EXPECT_EQ(env.opened,
            std::vector<std::string>{"C:\\Program Files\\Mailora\\Plugins\\Zorvek32.hlp"});
}

// The .hlp file wins; the page beside it stands in only when it is missing; the message always
// names the .hlp file.
TEST(ShowHelp, PageStandsInForMissingHelpFile) {
  const std::string folder = "C:\\Program Files\\Mailora\\Plugins\\";
  const std::string hlp = folder + "Zorvek32.hlp", html = folder + "Zorvek32.html";
  struct Row {
    std::set<std::string> files;
    std::vector<std::string> opened, errors;
  };
  const std::vector<Row> rows = {
      {{hlp, html}, {hlp}, {}},
      {{html}, {html}, {}},
      {{folder + "Zorvek32.htm", folder + "zorvek32.html.hlp"}, {}, {hlp + " がありません"}},
  };
  for (const Row& r : rows) {
    FakeEnv env;
    env.installPath = "C:\\PROGRA~1\\MAILORA\\MAILORA.EXE";
    env.files = r.files;
    ShowHelp(env);
    EXPECT_EQ(env.opened, r.opened);
    EXPECT_EQ(env.errors, r.errors);
  }
}

}  // namespace
}  // namespace zv::ui
