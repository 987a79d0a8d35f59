// The help launcher: finds the host's folder through its registry entry and opens the help file
// in the host's Plugins folder, or says in a message box what is missing. Current Windows has no
// viewer for the .hlp file, so when it is missing the HTML page beside it is opened instead.
#pragma once

#include <string>
#include <string_view>

#include "text/long_path.h"

namespace zv::ui {

// Where the host records its installation path.
inline constexpr std::string_view kInstallPathKey =
    "\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Brevik\\Mailora";
inline constexpr std::string_view kInstallPathValue = "InstallPath";
inline constexpr std::string_view kHelpErrorCaption = "エラー";
inline constexpr std::string_view kMissingInstallPathMessage =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Brevik\\Mailora\\InstallPath がありません";
inline constexpr std::string_view kMissingSuffix = " がありません";

// What the launcher needs from the system.
class HelpEnvironment {
 public:
  virtual ~HelpEnvironment() = default;
  virtual std::string InstallPath() = 0;  // empty when missing or unreadable
  virtual DirectorySearch& Directories() = 0;
  virtual bool FileExists(const std::string& path) = 0;
  virtual void ShowError(const std::string& message) = 0;  // caption kHelpErrorCaption
  virtual void Open(const std::string& path) = 0;
};

// Everything up to and including the last backslash or colon (never a trail byte).
std::string_view FolderPart(std::string_view path);

// The folder in long form, component by component: a component that cannot be found keeps the
// name as written and the walk goes on; the probe path keeps the names as written.
std::string LongFolder(std::string_view folder, DirectorySearch& fs);

// The help file's path for the host's InstallPath.
std::string HelpFilePath(std::string_view installPath, DirectorySearch& fs);

// The help page in the same folder as the help file `helpFile` (a path HelpFilePath made).
std::string HelpPagePath(std::string_view helpFile);

void ShowHelp(HelpEnvironment& env);

}  // namespace zv::ui
