#include "memo/memo_link_win32.h"

#include <shellapi.h>

#include "check/patterns.h"
#include "win/handles_win32.h"
#include "settings/registry_win32.h"
#include "win/cp932_win32.h"

namespace zv::win {

std::string Win32NotavoPlatform::ReadRegistryText(std::string_view valueName,
                                                std::string_view fallback) {
  const Variant value = RegRead(kNotavoRegPath, valueName, Variant::Text(std::string(fallback)));
  const std::string* text = value.AsText();
  return text ? *text : std::string(fallback);
}

bool Win32NotavoPlatform::FileExists(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(Cp932ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void Win32NotavoPlatform::ShellOpen(const std::string& path) {
  // No owner, no parameters, no working folder; the started program is not waited for.
  ::ShellExecuteW(nullptr, L"OPEN", Cp932ToWide(path).c_str(), L"", L"", SW_SHOW);
}

ForeignWindow Win32NotavoPlatform::FindNotavoWindow() {
  const HWND window = ::FindWindowA(std::string(kNotavoWindowClass).c_str(),
                                    std::string(kNotavoWindowTitle).c_str());
  return reinterpret_cast<ForeignWindow>(window);
}

void Win32NotavoPlatform::HandOver(ForeignWindow notavo, std::string_view text) {
  // The hand-over window and its text go through the ANSI API on purpose: the text is the
  // host's code page 932 bytes and must reach Notavo unchanged, not as this plug-in's own
  // windows' Unicode text. Style 0 and no parent: a top-level window that is never shown.
  const UniqueWindow temp(::CreateWindowExA(0, "EDIT", "Temp", 0, CW_USEDEFAULT, CW_USEDEFAULT,
                                            CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr,
                                            nullptr));
  if (!temp) return;
  ::SetWindowTextA(temp.get(), std::string(text).c_str());
  // Notavo's answer means nothing; a hung or slow Notavo loses this text.
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutA(reinterpret_cast<HWND>(notavo), kNotavoShowMessage, kNotavoShowParam,
                        reinterpret_cast<LPARAM>(temp.get()), SMTO_ABORTIFHUNG, kNotavoTimeoutMs,
                        &ignored);
}

}  // namespace zv::win
