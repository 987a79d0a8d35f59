// The settings file on the Win32 file system, its location beside the host or in the
// mailbox, and loading the process-wide store from it.
#pragma once

#include <functional>
#include <string>

#include "settings/ini_file.h"

namespace zv::win {

class Win32SettingsFiles final : public SettingsFiles {
 public:
  bool Exists(const std::string& path) override;
  std::optional<std::string> ReadAll(const std::string& path) override;
  bool EnsureFolder(const std::string& folder) override;
  std::unique_ptr<TempFile> CreateTemp(const std::string& folder) override;
  // MoveFileEx with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH, keeping an existing
  // target's attributes and creation time; a sharing violation is tried again for about a
  // second; a read-only target is never replaced.
  bool Replace(const std::string& source, const std::string& target) override;
  void Remove(const std::string& path) override;
};

// One instance for the process.
SettingsFiles& SystemSettingsFiles();

// The host executable's folder in long form, ending with a backslash.
std::string HostFolder();

// Works out the settings file's path (the registry value Common chooses between HostFolder and
// `mailboxFolder`) and loads the process-wide store from it.
IniLoadResult LoadIniStore(const std::function<std::string()>& mailboxFolder);

}  // namespace zv::win
