// Explicit code page 932 conversion at the edge to the Unicode (W) API, so that Japanese texts
// survive whatever the system's ANSI code page is.
#pragma once

#include <string>
#include <string_view>

namespace zv::win {

inline constexpr unsigned kShiftJis = 932;

std::wstring Cp932ToWide(std::string_view bytes);
std::string WideToCp932(std::wstring_view text);

}  // namespace zv::win
