#include "text/long_path.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zv {
namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return s;
}

// A file system of (folder, long name, short name, attributes) rows; a search matches a name
// by its long or short form, ignoring letter case, in row order.
class FakeFs final : public DirectorySearch {
 public:
  struct Row {
    std::string folder, longName, shortName;
    uint32_t attributes;
  };
  explicit FakeFs(std::vector<Row> rows) : rows_(std::move(rows)) {}

  void ForEach(const std::string& pattern,
               const std::function<bool(const DirEntry&)>& visit) override {
    patterns.push_back(pattern);
    // Split at the last backslash character (a trail byte 0x5C is no separator).
    std::string folder, name;
    ForEachBackslashPiece(pattern, [&](std::string_view piece, bool last) {
      if (last) {
        name = Lower(std::string(piece));
      } else {
        folder += std::string(piece) + "\\";
      }
    });
    folder = Lower(folder);
    if (folder.empty() || name.empty()) return;
    for (const auto& r : rows_) {
      if (Lower(r.folder) != folder) continue;
      if (Lower(r.longName) != name && Lower(r.shortName) != name) continue;
      if (visit(DirEntry{r.longName, r.attributes})) return;
    }
  }

  std::vector<std::string> patterns;

 private:
  std::vector<Row> rows_;
};

FakeFs MakeFs() {
  return FakeFs({
      {"C:\\", "Program Files", "PROGRA~1", kAttrDirectory},
      {"C:\\Program Files\\", "Mailora Mail", "MAILOR~1", kAttrDirectory},
      {"C:\\Program Files\\Mailora Mail\\", "Mailora.exe", "MAILORA.EXE", 0x20},
      {"C:\\Program Files\\Mailora Mail\\", "Plugins Folder", "PLUGIN~1", kAttrDirectory},
      {"C:\\", "Hidden Dir", "HIDDEN~1", kAttrDirectory | kAttrHidden},
      {"C:\\", "Sys Dir", "SYSDIR~1", kAttrDirectory | kAttrSystem},
      {"C:\\", "Twice", "TWICE", kAttrDirectory | kAttrHidden},
      {"C:\\", "Twice Visible", "TWICE", kAttrDirectory},
      {"C:\\", "\x95\x5C\x8E\xA6", "HYOJI", kAttrDirectory},  // 表示: trail byte 0x5C
  });
}

TEST(ExpandLongPath, Table) {
  struct Case {
    std::string in, expected;
  };
  const std::vector<Case> cases = {
      {"C:\\PROGRA~1\\MAILOR~1\\", "C:\\Program Files\\Mailora Mail\\"},
      {"C:\\progra~1\\mailor~1\\mailora.exe", "C:\\Program Files\\Mailora Mail\\Mailora.exe"},
      {"C:\\PROGRA~1\\MAILOR~1\\PLUGIN~1", "C:\\Program Files\\Mailora Mail\\Plugins Folder\\"},
      {"C:\\PROGRA~1\\MAILOR~1\\missing.txt", "C:\\Program Files\\Mailora Mail\\"},
      {"C:\\PROGRA~1\\NOPE\\x\\", "C:\\Program Files\\"},
      {"C:\\NOPE\\MAILOR~1\\", "C:\\"},
      {"C:\\", "C:\\"},
      {"no backslash", ""},
      {"", ""},
      {"C:\\HIDDEN~1\\", "C:\\"},          // hidden folders end the walk
      {"C:\\SYSDIR~1\\", "C:\\"},
      {"C:\\HIDDEN~1", "C:\\Hidden Dir\\"},  // the last component takes any attributes
      {"C:\\TWICE\\", "C:\\Twice Visible\\"},  // the first accepted entry wins
      {"C:\\HYOJI\\", "C:\\\x95\x5C\x8E\xA6\\"},
      {"C:\\\x95\x5C\x8E\xA6\\", "C:\\\x95\x5C\x8E\xA6\\"},
  };
  for (const auto& c : cases) {
    FakeFs fs = MakeFs();
    EXPECT_EQ(ExpandLongPath(c.in, fs), c.expected) << c.in;
  }
}

TEST(ExpandLongPath, SearchesEachComponentUnderTheLongFormSoFar) {
  FakeFs fs = MakeFs();
  ExpandLongPath("C:\\PROGRA~1\\MAILOR~1\\MAILORA.EXE", fs);
  EXPECT_EQ(fs.patterns, (std::vector<std::string>{
                             "C:\\PROGRA~1",
                             "C:\\Program Files\\MAILOR~1",
                             "C:\\Program Files\\Mailora Mail\\MAILORA.EXE",
                         }));
}

TEST(ForEachBackslashPiece, NeverSplitsAtATrailByte) {
  std::vector<std::string> pieces;
  ForEachBackslashPiece("a\\\x95\x5C\\b\\", [&](std::string_view p, bool) {
    pieces.emplace_back(p);
  });
  EXPECT_EQ(pieces, (std::vector<std::string>{"a", "\x95\x5C", "b", ""}));
}

}  // namespace
}  // namespace zv
