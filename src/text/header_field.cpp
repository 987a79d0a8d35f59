#include "text/header_field.h"

#include "text/lines.h"

namespace zv {

namespace {

// The name is ASCII, so a matching prefix holds no double-byte character and plain a-z folding
// compares exactly as the system's upper-casing would.
bool StartsWithFolded(std::string_view line, std::string_view upperName) {
  if (line.size() < upperName.size()) return false;
  for (size_t i = 0; i < upperName.size(); ++i) {
    if (UpperAscii(line[i]) != upperName[i]) return false;
  }
  return true;
}

}  // namespace

std::string_view HeaderField(std::string_view upperName,
                             const std::vector<std::string_view>& lines) {
  for (std::string_view line : lines) {
    if (StartsWithFolded(line, upperName)) return TrimControls(line.substr(upperName.size()));
  }
  return {};
}

}  // namespace zv
