// The memo-pad link on Windows: the registry, the shell, and Notavo's main window.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "memo/memo_link.h"

namespace zv {

// Reads a text value of Notavo's registry key, with the registry helper's contract: the stored
// text for a REG_SZ value, `fallback` for a missing key or value and for any other type.
using NotavoRegistryReader =
    std::function<std::string(std::string_view valueName, std::string_view fallback)>;

// The reader over HKEY_CURRENT_USER\Software\Tessaly Lab\Notavo.
std::string ReadNotavoRegistryText(std::string_view valueName, std::string_view fallback);

class WinNotavoPlatform final : public NotavoPlatform {
 public:
  explicit WinNotavoPlatform(NotavoRegistryReader reader = ReadNotavoRegistryText);

  std::string ReadRegistryText(std::string_view valueName, std::string_view fallback) override;
  bool FileExists(const std::string& path) override;
  void ShellOpen(const std::string& path) override;
  ForeignWindow FindNotavoWindow() override;
  // Puts `text` into a hidden "EDIT" window of this thread, sends Notavo the window, and
  // destroys it as soon as the send returns: Notavo must read the text while it handles the
  // message. Answers within kNotavoTimeoutMs even when Notavo hangs.
  void HandOver(ForeignWindow notavo, std::string_view text) override;

 private:
  NotavoRegistryReader reader_;
};

}  // namespace zv
