// Which plug-in interface versions of the host the plug-in accepts.
#pragma once

#include <string_view>

namespace zv {

// The oldest interface version the plug-in works with.
inline constexpr std::string_view kMinimumHostVersion = "1.10";

// True unless `version` orders before "1.10" as a byte string (unsigned bytes; a proper prefix
// orders first). So "1.2" and "10.0" are accepted, "1.09", "1.1" and "" are not.
bool IsAcceptedHostVersion(std::string_view version);

}  // namespace zv
