#include "text/long_path.h"

#include "text/sjis.h"

namespace zv {

std::optional<DirEntry> FindFirstAccepted(DirectorySearch& fs, const std::string& pattern,
                                          const std::function<bool(const DirEntry&)>& accept) {
  std::optional<DirEntry> found;
  fs.ForEach(pattern, [&](const DirEntry& e) {
    if (!accept(e)) return false;
    found = e;
    return true;
  });
  return found;
}

void ForEachBackslashPiece(std::string_view s,
                           const std::function<void(std::string_view piece, bool last)>& visit) {
  size_t start = 0;
  for (size_t pos = 0; pos < s.size(); pos += SjisCharLength(s, pos)) {
    if (s[pos] == '\\') {
      visit(s.substr(start, pos - start), false);
      start = pos + 1;
    }
  }
  visit(s.substr(start), true);
}

std::string ExpandLongPath(std::string_view path, DirectorySearch& fs) {
  path = UntilNul(path);
  std::string result;
  bool first = true;
  bool stopped = false;
  ForEachBackslashPiece(path, [&](std::string_view piece, bool last) {
    if (stopped) return;
    if (first) {
      first = false;
      if (last) {  // no backslash at all
        stopped = true;
        return;
      }
      result.assign(piece);
      result.push_back('\\');
      return;
    }
    if (!last) {
      const auto entry = FindFirstAccepted(fs, result + std::string(piece), [](const DirEntry& e) {
        return (e.attributes & (kAttrHidden | kAttrSystem | kAttrVolumeLabel)) == 0;
      });
      if (!entry) {
        stopped = true;
        return;
      }
      result += entry->name;
      result.push_back('\\');
      return;
    }
    if (piece.empty()) return;  // the path ended with a backslash
    const auto entry =
        FindFirstAccepted(fs, result + std::string(piece), [](const DirEntry&) { return true; });
    if (entry) {
      result += entry->name;
      if (entry->attributes & kAttrDirectory) result.push_back('\\');
    }
  });
  return result;
}

}  // namespace zv
