// The help launcher on Win32: registry, file system, message boxes and the shell.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "text/long_path_win32.h"
#include "ui/help.h"

namespace zv::win {

// Reads the host's InstallPath; empty when missing, not a plain string, or unreadable.
using InstallPathReader = std::function<std::string()>;

// The host's InstallPath from the registry: text only, else empty.
std::string RegistryInstallPath();

class Win32HelpEnvironment : public ui::HelpEnvironment {
 public:
  Win32HelpEnvironment(HWND owner, InstallPathReader readInstallPath)
      : owner_(owner), read_(std::move(readInstallPath)) {}
  std::string InstallPath() override { return read_ ? read_() : std::string(); }
  DirectorySearch& Directories() override { return directories_; }
  bool FileExists(const std::string& path) override;
  void ShowError(const std::string& message) override;
  void Open(const std::string& path) override;

 private:
  HWND owner_;  // borrowed
  InstallPathReader read_;
  Win32DirectorySearch directories_;
};

// Opens the help file for the dialog `owner` (borrowed), or says what is missing. The host's
// InstallPath comes from `readInstallPath`, or from the registry when none is given.
void ShowHelp(HWND owner, const InstallPathReader& readInstallPath) noexcept;
void ShowHelp(HWND owner) noexcept;

}  // namespace zv::win
