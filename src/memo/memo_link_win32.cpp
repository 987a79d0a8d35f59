#include "memo/memo_link_win32.h"

#include <shellapi.h>

#include <utility>

#include "plugin/handles_win32.h"
#include "text/cp932_win32.h"

namespace zv {

namespace {

// The key of kNotavoRegistryPath below its root, HKEY_CURRENT_USER.
constexpr char kNotavoKey[] = "Software\\Tessaly Lab\\Notavo";

// Puts the text of a REG_SZ value, up to its first zero, into `text`; false for a missing value
// and any other type.
bool QueryText(HKEY key, const std::string& name, std::string& text) {
  DWORD type = 0;
  DWORD size = 0;
  if (::RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return false;
  }
  std::string data(size, '\0');
  if (size != 0 &&
      ::RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                         &size) != ERROR_SUCCESS) {
    return false;
  }
  if (type != REG_SZ) return false;
  data.resize(size);
  // Stored data may or may not carry its terminator; the text ends at the first zero.
  const size_t end = data.find('\0');
  if (end != std::string::npos) data.resize(end);
  text = std::move(data);
  return true;
}

}  // namespace

std::string ReadNotavoRegistryText(std::string_view valueName, std::string_view fallback) {
  HKEY raw = nullptr;
  // Full access first, reading only when that is refused.
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, kNotavoKey, 0, KEY_ALL_ACCESS, &raw) != ERROR_SUCCESS &&
      ::RegOpenKeyExA(HKEY_CURRENT_USER, kNotavoKey, 0, KEY_READ, &raw) != ERROR_SUCCESS) {
    return std::string(fallback);
  }
  const win::UniqueKey key(raw);
  std::string text;
  if (!QueryText(key.get(), std::string(valueName), text)) return std::string(fallback);
  return text;
}

WinNotavoPlatform::WinNotavoPlatform(NotavoRegistryReader reader) : reader_(std::move(reader)) {}

std::string WinNotavoPlatform::ReadRegistryText(std::string_view valueName,
                                                std::string_view fallback) {
  return reader_(valueName, fallback);
}

bool WinNotavoPlatform::FileExists(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(win::Cp932ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void WinNotavoPlatform::ShellOpen(const std::string& path) {
  // No owner, no parameters, no working folder; the started program is not waited for.
  ::ShellExecuteW(nullptr, L"OPEN", win::Cp932ToWide(path).c_str(), L"", L"", SW_SHOW);
}

ForeignWindow WinNotavoPlatform::FindNotavoWindow() {
  const HWND window = ::FindWindowA(std::string(kNotavoWindowClass).c_str(),
                                    std::string(kNotavoWindowTitle).c_str());
  return reinterpret_cast<ForeignWindow>(window);
}

void WinNotavoPlatform::HandOver(ForeignWindow notavo, std::string_view text) {
  // The hand-over window and its text go through the ANSI API on purpose: the text is the
  // host's code page 932 bytes and must reach Notavo unchanged, not as this plug-in's own
  // windows' Unicode text. Style 0 and no parent: a top-level window that is never shown.
  const win::UniqueWindow temp(::CreateWindowExA(0, "EDIT", "Temp", 0, CW_USEDEFAULT, CW_USEDEFAULT,
                                                 CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                                 nullptr, nullptr));
  if (!temp) return;
  ::SetWindowTextA(temp.get(), std::string(text).c_str());
  // Notavo's answer means nothing; a hung or slow Notavo loses this text.
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutA(reinterpret_cast<HWND>(notavo), kNotavoShowMessage, kNotavoShowParam,
                        reinterpret_cast<LPARAM>(temp.get()), SMTO_ABORTIFHUNG, kNotavoTimeoutMs,
                        &ignored);
}

}  // namespace zv
