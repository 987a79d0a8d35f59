#include "ui/help.h"

#include "text/sjis.h"

namespace zv::ui {

std::string_view FolderPart(std::string_view path) {
  size_t end = 0;
  for (size_t pos = 0; pos < path.size(); pos += SjisCharLength(path, pos)) {
    if (path[pos] == '\\' || path[pos] == ':') end = pos + 1;
  }
  return path.substr(0, end);
}

std::string LongFolder(std::string_view folder, DirectorySearch& fs) {
  std::string result;  // F: long names
  std::string probe;   // Q: names as written
  bool first = true;
  bool any = false;
  ForEachBackslashPiece(folder, [&](std::string_view piece, bool last) {
    if (first) {
      first = false;
      if (last) {  // no backslash: the folder stays as it is
        result.assign(piece);
        return;
      }
      any = true;
      result.assign(piece);
      probe.assign(piece);
      return;
    }
    if (last) return;  // the rest after the final backslash is not a folder
    probe.push_back('\\');
    probe.append(piece);
    const auto entry = FindFirstAccepted(fs, probe, [](const DirEntry& e) {
      return (e.attributes & (kAttrHidden | kAttrSystem | kAttrVolumeLabel)) == 0;
    });
    result.push_back('\\');
    if (entry) {
      result += entry->name;
    } else {
      result.append(piece);
    }
  });
  if (any) result.push_back('\\');
  return result;
}

std::string HelpFilePath(std::string_view installPath, DirectorySearch& fs) {
  std::string path = LongFolder(FolderPart(UntilNul(installPath)), fs);
  path += "Plugins\\";
  path += "Zorvek32";
  path += ".hlp";
  return path;
}

std::string HelpPagePath(std::string_view helpFile) {
  std::string path(helpFile.substr(0, helpFile.size() - std::string_view(".hlp").size()));
  return path + ".html";
}

void ShowHelp(HelpEnvironment& env) {
  const std::string installPath = env.InstallPath();
  if (installPath.empty()) {
    env.ShowError(std::string(kMissingInstallPathMessage));
    return;
  }
  const std::string path = HelpFilePath(installPath, env.Directories());
  if (env.FileExists(path)) {
    env.Open(path);
  } else if (const std::string page = HelpPagePath(path); env.FileExists(page)) {
    env.Open(page);
  } else {
    env.ShowError(path + std::string(kMissingSuffix));
  }
}

}  // namespace zv::ui
