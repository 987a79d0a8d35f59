#include "win/cp932_win32.h"

#include <windows.h>

namespace zv::win {

std::wstring Cp932ToWide(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int n = ::MultiByteToWideChar(kShiftJis, 0, bytes.data(), static_cast<int>(bytes.size()),
                                      nullptr, 0);
  std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) {
    ::MultiByteToWideChar(kShiftJis, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
  }
  return out;
}

std::string WideToCp932(std::wstring_view text) {
  if (text.empty()) return {};
  const int n = ::WideCharToMultiByte(kShiftJis, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) {
    ::WideCharToMultiByte(kShiftJis, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                          nullptr, nullptr);
  }
  return out;
}

}  // namespace zv::win
