// Saving the settings file through a writer that fails at every operation of a save, one after
// the other, and in every way a write can fail (nothing written, part of it, all of it but
// reported as failed). After each failed save the old file must be byte-identical (or still
// absent), no temporary file may remain, and the entries in memory must save in full later.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "check/patterns.h"
#include "settings/ini_file.h"
#include "settings/ini_store.h"
#include "settings/system_formats.h"

namespace zv {
namespace {

// How a failing write leaves the temporary file.
enum class PartialWrite { kNothing, kOneByte, kHalf, kAllButOne, kAll };
const PartialWrite kPartialWrites[] = {PartialWrite::kNothing, PartialWrite::kOneByte,
                                       PartialWrite::kHalf, PartialWrite::kAllButOne,
                                       PartialWrite::kAll};

// Files in memory. Every operation of a save is numbered from 1; the one numbered `failAt`
// fails (0: none fails). As on Windows, a file that is still open cannot be removed; a failed
// close still releases the file, and a failed replacement leaves both files as they were.
class CountingFiles final : public SettingsFiles {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> folders;
  int failAt = 0;
  PartialWrite partial = PartialWrite::kNothing;
  int operations = 0;

  bool Exists(const std::string& path) override { return files.count(path) != 0; }
  std::optional<std::string> ReadAll(const std::string& path) override {
    if (!Exists(path)) return std::nullopt;
    return files[path];
  }
  bool EnsureFolder(const std::string& folder) override {
    if (Fails()) return false;
    folders.insert(folder);
    return true;
  }
  std::unique_ptr<TempFile> CreateTemp(const std::string& folder) override {
    if (Fails() || !folders.count(folder)) return nullptr;
    const std::string path = folder + "~save" + std::to_string(++temps_) + ".tmp";
    files[path];
    open.insert(path);
    return std::make_unique<Temp>(*this, path);
  }
  bool Replace(const std::string& source, const std::string& target) override {
    if (Fails() || !files.count(source) || open.count(source)) return false;
    files[target] = files[source];
    files.erase(source);
    return true;
  }
  void Remove(const std::string& path) override {
    if (!open.count(path)) files.erase(path);
  }

  std::set<std::string> open;

 private:
  bool Fails() { return ++operations == failAt; }

  class Temp final : public TempFile {
   public:
    Temp(CountingFiles& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
    ~Temp() override { fs_.open.erase(path_); }
    const std::string& path() const override { return path_; }
    bool Write(std::string_view bytes) override {
      if (!fs_.Fails()) {
        fs_.files[path_] += std::string(bytes);
        return true;
      }
      size_t n = 0;
      switch (fs_.partial) {
        case PartialWrite::kNothing:
          break;
        case PartialWrite::kOneByte:
          n = bytes.empty() ? 0 : 1;
          break;
        case PartialWrite::kHalf:
          n = bytes.size() / 2;
          break;
        case PartialWrite::kAllButOne:
          n = bytes.empty() ? 0 : bytes.size() - 1;
          break;
        case PartialWrite::kAll:
          n = bytes.size();
          break;
      }
      fs_.files[path_] += std::string(bytes.substr(0, n));
      return false;
    }
    bool Flush() override { return !fs_.Fails(); }
    bool Close() override {
      fs_.open.erase(path_);
      return !fs_.Fails();
    }

   private:
    CountingFiles& fs_;
    std::string path_;
  };
  int temps_ = 0;
};

const std::string kFolder = "C:\\Mailora\\Plugins\\";
const std::string kPath = kFolder + "Zorvek32.ini";
const std::string kOldFile =
    "Zorvek\\PatternCount=Integer:1\r\n"
    "Zorvek\\Pattern0000\\Name=String:old\r\n"
    "Header\\X-Mailer-Plugin=Boolean:True\r\n";

// Changes that make the file longer and shorter in different places.
void ChangeEntries() {
  IniWrite("Zorvek\\Pattern0000", "Name", Variant::Text("\x8F\x56\x82\xB5\x82\xA2 100%"));
  IniWrite("Header", "X-Mailer-Plugin", Variant());  // removed
  IniWrite("SetupForm", "Left", Variant::Int32(120));
}

// What a save that never fails writes; also the number of operations it takes.
struct CleanSave {
  std::string bytes;
  int operations = 0;
};
CleanSave SaveWithoutFaults(bool oldFileExists) {
  CountingFiles fs;
  if (oldFileExists) {
    fs.folders.insert(kFolder);
    fs.files[kPath] = kOldFile;
  }
  LoadIniStore(kPath, fs, DefaultFormats());
  ChangeEntries();
  fs.operations = 0;
  EXPECT_TRUE(SaveIniStore());
  FreeIniStore();
  return {fs.files[kPath], fs.operations};
}

class SaveFaults : public ::testing::TestWithParam<bool> {
 protected:
  void TearDown() override { FreeIniStore(); }
};

TEST_P(SaveFaults, EveryOperationFailingInEveryWay) {
  const bool oldFileExists = GetParam();
  const CleanSave clean = SaveWithoutFaults(oldFileExists);
  ASSERT_GE(clean.operations, 5);  // create, write, flush, close, replace at least
  const std::map<std::string, std::string> before =
      oldFileExists ? std::map<std::string, std::string>{{kPath, kOldFile}}
                    : std::map<std::string, std::string>{};

  for (int failAt = 1; failAt <= clean.operations; ++failAt) {
    for (PartialWrite partial : kPartialWrites) {
      SCOPED_TRACE(testing::Message()
                   << "operation " << failAt << ", partial write " << static_cast<int>(partial));
      CountingFiles fs;
      if (oldFileExists) {
        fs.folders.insert(kFolder);
        fs.files[kPath] = kOldFile;
      }
      LoadIniStore(kPath, fs, DefaultFormats());
      ChangeEntries();
      fs.operations = 0;
      fs.failAt = failAt;
      fs.partial = partial;
      EXPECT_FALSE(SaveIniStore());
      EXPECT_EQ(fs.files, before);  // the old file byte-identical, no temporary file

      // Nothing was lost in memory: the next save writes everything.
      fs.failAt = 0;
      EXPECT_TRUE(SaveIniStore());
      EXPECT_EQ(fs.files, (std::map<std::string, std::string>{{kPath, clean.bytes}}));
      FreeIniStore();
    }
  }
}

INSTANTIATE_TEST_SUITE_P(OldFile, SaveFaults, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Present" : "Absent"; });

TEST(SaveFaults, PatternsSavedAtCleanUpFailingAtEveryOperation) {
  CountingFiles probe;
  probe.folders.insert(kFolder);
  probe.files[kPath] = kOldFile;
  const auto run = [&](CountingFiles& fs, int failAt) {
    LoadIniStore(kPath, fs, DefaultFormats());
    PatternSettings settings;
    LoadPatterns(settings, *ActiveIniStore(), [] { return false; });
    settings.table.Set(0, PatternField::kZorvek, "a\r\nb");
    settings.headerOption = false;
    fs.operations = 0;
    fs.failAt = failAt;
    const bool saved = SavePatterns(settings, *ActiveIniStore(), [] { return SaveIniStore(); });
    EXPECT_TRUE(settings.table.empty());  // released whatever the outcome
    FreeIniStore();
    return saved;
  };
  ASSERT_TRUE(run(probe, 0));
  const int operations = probe.operations;
  for (int failAt = 1; failAt <= operations; ++failAt) {
    SCOPED_TRACE(failAt);
    CountingFiles fs;
    fs.folders.insert(kFolder);
    fs.files[kPath] = kOldFile;
    EXPECT_FALSE(run(fs, failAt));
    EXPECT_EQ(fs.files, (std::map<std::string, std::string>{{kPath, kOldFile}}));
  }
}

TEST(SaveFaults, LargeFileFailingHalfWay) {
  // A file of 10,000 patterns; the write fails after half of it.
  std::string old;
  old += "Zorvek\\PatternCount=Integer:10000\r\n";
  for (size_t i = 0; i < 10000; ++i) {
    old += PatternSection(i) + "\\Zorvek=String:word" + std::to_string(i) + "%0D%0Aother\r\n";
  }
  CountingFiles fs;
  fs.folders.insert(kFolder);
  fs.files[kPath] = old;
  ASSERT_EQ(LoadIniStore(kPath, fs, DefaultFormats()), IniLoadResult::kLoaded);
  IniWrite("Zorvek", "PatternCount", Variant::Int32(1));
  fs.operations = 0;
  fs.failAt = 2;  // the write, after creating the temporary file
  fs.partial = PartialWrite::kHalf;
  EXPECT_FALSE(SaveIniStore());
  EXPECT_EQ(fs.files.size(), 1u);
  EXPECT_TRUE(fs.files[kPath] == old);
  FreeIniStore();
}

}  // namespace
}  // namespace zv
