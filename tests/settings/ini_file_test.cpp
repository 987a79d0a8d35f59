#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include "settings/fakes.h"

namespace zv {
namespace {

using testing::Dword;
using testing::FakeFiles;
using testing::FakeRegistry;
using testing::Sz;
using Step = FakeFiles::Step;

TEST(IniFileLocation, PathsAndFolders) {
  EXPECT_EQ(IniFilePathIn("C:\\Mailora\\"), "C:\\Mailora\\Plugins\\Zorvek32.ini");
  EXPECT_EQ(IniFilePathIn("C:\\Box"), "C:\\BoxPlugins\\Zorvek32.ini");  // used as given
  EXPECT_EQ(FolderOf("C:\\a\\b.exe"), "C:\\a\\");
  EXPECT_EQ(FolderOf("C:b.exe"), "C:");
  EXPECT_EQ(FolderOf("b.exe"), "");
  EXPECT_EQ(FolderOf("C:\\表\\x"), "C:\\表\\");
}

TEST(IniFileLocation, CommonChoosesTheFolder) {
  const std::string key = "Software\\Tessaly Lab\\Mailora.exe\\Options";
  const struct {
    const char* label;
    std::optional<RegData> common;
    bool host;
  } cases[] = {
      {"absent", std::nullopt, true},
      {"dword 1", Dword(1), true},
      {"dword 0", Dword(0), false},
      {"text FALSE", Sz("FALSE"), false},
      {"text 0", Sz("0"), false},
      {"text yes", Sz("yes"), true},
      {"binary", testing::Binary(std::string(4, '\0')), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    FakeRegistry reg;
    if (c.common) reg.Set(RegRoot::kCurrentUser, key, "Common", *c.common);
    int hostCalls = 0, mailboxCalls = 0;
    const std::string folder = SettingsFolder(
        reg, "Mailora.exe", DefaultFormats(),
        [&] { return ++hostCalls, std::string("C:\\Mailora\\"); },
        [&] { return ++mailboxCalls, std::string("D:\\Box\\"); });
    EXPECT_EQ(folder, c.host ? "C:\\Mailora\\" : "D:\\Box\\");
    EXPECT_EQ(hostCalls + mailboxCalls, 1);
  }
}

TEST(ReplaceFileContents, EveryFailingStepLeavesTheOldFile) {
  const std::string path = "C:\\M\\Plugins\\Zorvek32.ini";
  for (Step step : {Step::kEnsureFolder, Step::kCreateTemp, Step::kWrite, Step::kFlush,
                    Step::kClose, Step::kReplace}) {
    SCOPED_TRACE(static_cast<int>(step));
    FakeFiles fs;
    fs.folders.insert("C:\\M\\Plugins\\");
    fs.files[path] = "old\r\n";
    fs.failAt = step;
    EXPECT_FALSE(ReplaceFileContents(fs, path, "new contents\r\n"));
    EXPECT_EQ(fs.files, (std::map<std::string, std::string>{{path, "old\r\n"}}));
  }
}

TEST(ReplaceFileContents, ReplacesAndCreatesTheMissingFolder) {
  FakeFiles fs;
  const std::string path = "D:\\Box\\Plugins\\Zorvek32.ini";
  EXPECT_TRUE(ReplaceFileContents(fs, path, "a=b:c\r\n"));
  EXPECT_EQ(fs.folders, std::set<std::string>{"D:\\Box\\Plugins\\"});
  EXPECT_EQ(fs.files, (std::map<std::string, std::string>{{path, "a=b:c\r\n"}}));
  EXPECT_TRUE(ReplaceFileContents(fs, path, ""));
  EXPECT_EQ(fs.files, (std::map<std::string, std::string>{{path, ""}}));
}

class ProcessStore : public ::testing::Test {
 protected:
  void TearDown() override { FreeIniStore(); }
  FakeFiles fs;
  const std::string path = "C:\\M\\Plugins\\Zorvek32.ini";
};

TEST_F(ProcessStore, NoFileReadsDefaultsAndTheFirstSaveCreatesIt) {
  EXPECT_EQ(LoadIniStore(path, fs, DefaultFormats()), IniLoadResult::kNoFile);
  EXPECT_EQ(IniFilePath(), path);
  EXPECT_EQ(IniRead("SetupForm", "Left", Variant::Int32(3)), Variant::Int32(3));
  IniWrite("SetupForm", "Left", Variant::Int32(120));
  EXPECT_EQ(fs.files.count(path), 0u);  // writes stay in memory
  EXPECT_TRUE(SaveIniStore());
  EXPECT_EQ(fs.files[path], "SetupForm\\Left=Integer:120\r\n");
}

TEST_F(ProcessStore, LoadedFileSavesBackByteIdentical) {
  const std::string file =
      "Zorvek\\PatternCount=Integer:1\r\nodd line\r\n\r\nHeader\\X-Mailer-Plugin=Boolean:True\r\n";
  fs.folders.insert("C:\\M\\Plugins\\");
  fs.files[path] = file;
  EXPECT_EQ(LoadIniStore(path, fs, DefaultFormats()), IniLoadResult::kLoaded);
  EXPECT_EQ(IniRead("zorvek", "patterncount", Variant()), Variant::Int32(1));
  EXPECT_TRUE(SaveIniStore());
  EXPECT_EQ(fs.files[path],
            "Zorvek\\PatternCount=Integer:1\r\nodd line=odd line:odd line\r\n=:\r\n"
            "Header\\X-Mailer-Plugin=Boolean:True\r\n");
  const std::string once = fs.files[path];
  FreeIniStore();
  LoadIniStore(path, fs, DefaultFormats());
  EXPECT_TRUE(SaveIniStore());
  EXPECT_EQ(fs.files[path], once);
}

TEST_F(ProcessStore, AnUnreadableFileIsNeverOverwritten) {
  fs.folders.insert("C:\\M\\Plugins\\");
  fs.files[path] = "S\\K=Integer:1\r\n";
  fs.failAt = Step::kRead;
  EXPECT_EQ(LoadIniStore(path, fs, DefaultFormats()), IniLoadResult::kUnreadable);
  fs.failAt = Step::kNone;
  IniWrite("S", "K", Variant::Int32(2));
  EXPECT_FALSE(SaveIniStore());
  EXPECT_EQ(fs.files[path], "S\\K=Integer:1\r\n");
}

TEST_F(ProcessStore, WithoutAStoreReadsGiveDefaultsAndNothingIsSaved) {
  FreeIniStore();
  EXPECT_EQ(IniFilePath(), "");
  EXPECT_EQ(ActiveIniStore(), nullptr);
  EXPECT_EQ(IniRead("S", "K", Variant::Text("d")), Variant::Text("d"));
  IniWrite("S", "K", Variant::Int32(1));
  EXPECT_FALSE(SaveIniStore());
}

TEST_F(ProcessStore, AFailedSaveKeepsTheEntriesForALaterOne) {
  LoadIniStore(path, fs, DefaultFormats());
  IniWrite("S", "K", Variant::Text("v"));
  fs.failAt = Step::kReplace;
  EXPECT_FALSE(SaveIniStore());
  EXPECT_TRUE(fs.files.empty());
  fs.failAt = Step::kNone;
  EXPECT_TRUE(SaveIniStore());
  EXPECT_EQ(fs.files[path], "S\\K=String:v\r\n");
}

}  // namespace
}  // namespace zv
