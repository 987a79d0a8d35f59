// Conversions between code page 932 and UTF-8, done by the platform's own converter: the
// tables behind them are large and the platform's are the ones its users already trust.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace zv {

class CharsetConverter {
 public:
  virtual ~CharsetConverter() = default;
  // False (and `out` unspecified) when `utf8` is not valid UTF-8 or holds a character that has
  // no code page 932 form.
  virtual bool Utf8ToCp932(std::string_view utf8, std::string& out) = 0;
  // Never fails: a byte that starts no character of code page 932 becomes U+FFFD.
  virtual std::string Cp932ToUtf8(std::string_view cp932) = 0;
};

// iconv natively (charset_iconv.cpp, in the core), the Windows code page functions in the
// Windows build (charset_win32.cpp, in the shell library).
std::unique_ptr<CharsetConverter> PlatformConverter();

}  // namespace zv
