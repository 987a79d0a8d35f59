// Reading a whole file through the Unicode API.
#pragma once

#include <optional>
#include <string>

namespace zv::win {

// The bytes of the file at `path` (code page 932), or nothing when it is missing or unreadable.
// A file that shrinks while it is read gives what was there.
std::optional<std::string> ReadWholeFile(const std::string& path);

}  // namespace zv::win
