#include "settings/system_formats_win32.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <oleauto.h>

#include "win/cp932_win32.h"

namespace zv::win {

namespace {

// The locale's text for `type`, or `fallback` when the system has none.
std::string LocaleText(LCTYPE type, const char* fallback) {
  wchar_t buf[16] = {};
  const int n = ::GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buf, 16);
  if (n <= 1) return fallback;
  return WideToCp932(std::wstring_view(buf, static_cast<size_t>(n - 1)));
}

}  // namespace

std::string Win32SystemFormats::DateSeparator() const {
  return LocaleText(LOCALE_SDATE, "/");
}
std::string Win32SystemFormats::TimeSeparator() const {
  return LocaleText(LOCALE_STIME, ":");
}
std::string Win32SystemFormats::DecimalSeparator() const {
  return LocaleText(LOCALE_SDECIMAL, ".");
}

std::optional<DateTime> Win32SystemFormats::ParseDateTime(std::string_view text) const {
  if (auto v = ParseDateTimeWith(text, DateSeparator(), TimeSeparator())) return v;
  if (text.empty()) return std::nullopt;
  std::wstring wide = Cp932ToWide(text);
  DATE date = 0;
  if (FAILED(::VarDateFromStr(wide.data(), LOCALE_USER_DEFAULT, 0, &date))) return std::nullopt;
  if (!ToCivil(DateTime{date})) return std::nullopt;
  return DateTime{date};
}

const SystemFormats& SystemFormatsOfUser() {
  static const Win32SystemFormats formats;
  return formats;
}

}  // namespace zv::win
