#include "ui/help_win32.h"

#include <shellapi.h>

#include "settings/registry_win32.h"
#include "ui/forms_win32.h"

namespace zv::win {

std::string RegistryInstallPath() {
  const Variant v = RegRead(ui::kInstallPathKey, ui::kInstallPathValue, Variant::Text(""));
  const std::string* text = v.AsText();
  return text ? *text : std::string();
}

bool Win32HelpEnvironment::FileExists(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void Win32HelpEnvironment::ShowError(const std::string& message) {
  ::MessageBoxW(owner_, Wide(message).c_str(), Wide(ui::kHelpErrorCaption).c_str(),
                MB_OK | MB_ICONEXCLAMATION);
}

void Win32HelpEnvironment::Open(const std::string& path) {
  // The result is not examined: a missing viewer is the system's to report.
  ::ShellExecuteW(owner_, L"OPEN", Wide(path).c_str(), L"", L"", SW_SHOW);
}

void ShowHelp(HWND owner, const InstallPathReader& readInstallPath) noexcept {
  try {
    Win32HelpEnvironment env(owner, readInstallPath ? readInstallPath : RegistryInstallPath);
    ui::ShowHelp(env);
  } catch (...) {
    // The dialog stays usable whatever happened.
  }
}

void ShowHelp(HWND owner) noexcept {
  ShowHelp(owner, RegistryInstallPath);
}

}  // namespace zv::win
