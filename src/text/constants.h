// Names and texts shared by the entry points, the header entry and the About box.
#pragma once

#include <string_view>

namespace zv {

inline constexpr char kPlugName[] = "Zorvek32";
inline constexpr std::string_view kVersionText = "Ver.1.04 Rev.2";
inline constexpr std::string_view kYearRange = "1997-2000";
inline constexpr std::string_view kHeaderEntry = "Zorvek32 Ver.1.04 Rev.2";
// What the composition window's signature selector shows when no signature is chosen.
inline constexpr std::string_view kNoSignature = "(無し)";

}  // namespace zv
