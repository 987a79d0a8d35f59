// The memo-pad link on Windows: the registry, the shell, and Notavo's main window.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "memo/memo_link.h"

namespace zv::win {

class Win32NotavoPlatform final : public NotavoPlatform {
 public:
  std::string ReadRegistryText(std::string_view valueName, std::string_view fallback) override;
  bool FileExists(const std::string& path) override;
  void ShellOpen(const std::string& path) override;
  ForeignWindow FindNotavoWindow() override;
  // Puts `text` into a hidden "EDIT" window of this thread, sends Notavo the window, and
  // destroys it as soon as the send returns: Notavo must read the text while it handles the
  // message. Answers within kNotavoTimeoutMs even when Notavo hangs.
  void HandOver(ForeignWindow notavo, std::string_view text) override;
};

}  // namespace zv::win
