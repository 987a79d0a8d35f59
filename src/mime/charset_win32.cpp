#include "mime/charset_win32.h"

#include <windows.h>

#include <climits>

namespace zv::win {
namespace {

constexpr UINT kCp932 = 932;

// `text` in code page `from` as UTF-16; false when it holds an invalid sequence (with `strict`).
bool ToWide(UINT from, std::string_view text, bool strict, std::wstring& wide) {
  wide.clear();
  if (text.empty()) return true;
  if (text.size() > INT_MAX) return false;
  const DWORD flags = strict ? MB_ERR_INVALID_CHARS : 0;
  const int n = ::MultiByteToWideChar(from, flags, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0);
  if (n <= 0) return false;
  wide.resize(static_cast<size_t>(n));
  return ::MultiByteToWideChar(from, flags, text.data(), static_cast<int>(text.size()),
                               wide.data(), n) == n;
}

}  // namespace

bool Win32CharsetConverter::Utf8ToCp932(std::string_view utf8, std::string& out) {
  out.clear();
  std::wstring wide;
  if (!ToWide(CP_UTF8, utf8, true, wide)) return false;
  if (wide.empty()) return true;
  BOOL usedDefault = FALSE;
  const int size = static_cast<int>(wide.size());
  const int n = ::WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0,
                                      nullptr, &usedDefault);
  if (n <= 0 || usedDefault) return false;
  out.resize(static_cast<size_t>(n));
  return ::WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, wide.data(), size, out.data(), n,
                               nullptr, &usedDefault) == n &&
         !usedDefault;
}

std::string Win32CharsetConverter::Cp932ToUtf8(std::string_view cp932) {
  std::wstring wide;
  if (!ToWide(kCp932, cp932, false, wide)) return std::string(cp932);
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace zv::win

namespace zv {

std::unique_ptr<CharsetConverter> PlatformConverter() {
  return std::make_unique<win::Win32CharsetConverter>();
}

}  // namespace zv
