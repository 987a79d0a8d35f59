#include "check/send_check_win32.h"

#include <string>

#include "win/cp932_win32.h"

namespace zv::win {

bool AskWarningBox(std::string_view text, std::string_view title) {
  const std::wstring wideText = win::Cp932ToWide(text);
  const std::wstring wideTitle = win::Cp932ToWide(title);
  return ::MessageBoxW(nullptr, wideText.c_str(), wideTitle.c_str(), MB_YESNO | MB_ICONWARNING) ==
         IDYES;
}

Attachment AttachmentBelowEditor(HWND composition, HWND editor) {
  RECT window{};
  RECT edit{};
  if (!editor || !::GetWindowRect(composition, &window) || !::GetWindowRect(editor, &edit)) {
    return Attachment::kUnknown;
  }
  return AttachmentFromBottoms(window.bottom, edit.bottom);
}

}  // namespace zv::win
