// The charset converter of the Windows build: the system's code page functions.
#pragma once

#include "mime/charset.h"

namespace zv::win {

class Win32CharsetConverter final : public CharsetConverter {
 public:
  bool Utf8ToCp932(std::string_view utf8, std::string& out) override;
  std::string Cp932ToUtf8(std::string_view cp932) override;
};

}  // namespace zv::win
