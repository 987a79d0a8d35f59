#include "text/header_field.h"

#include <algorithm>

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

// The joined line is tested again. The pieces waiting for a line are kept as views, so each
// line is built once however many continuation lines it has.
std::vector<std::string> UnfoldHeader(std::string_view header) {
  std::vector<std::string_view> input;
  ForEachLine(header, [&](std::string_view line) { input.push_back(line); });
  std::vector<std::string> lines;         // last line first
  std::vector<std::string_view> pending;  // non-empty pieces for the line above, last first
  size_t pendingSize = 0;
  for (size_t i = input.size(); i-- > 0;) {
    std::string_view& head = input[i].empty() && !pending.empty() ? pending.back() : input[i];
    if (i > 0 && !head.empty() && (head[0] == ' ' || head[0] == '\t')) {
      head.remove_prefix(1);
      if (&head == &input[i]) {
        pending.push_back(head);
        pendingSize += head.size();
      } else {
        --pendingSize;
      }
      if (pending.back().empty()) pending.pop_back();
      continue;
    }
    std::string& line = lines.emplace_back();
    line.reserve(input[i].size() + pendingSize);
    line.append(input[i]);
    for (auto piece = pending.rbegin(); piece != pending.rend(); ++piece) line.append(*piece);
    pending.clear();
    pendingSize = 0;
  }
  std::reverse(lines.begin(), lines.end());
  return lines;
}

}  // namespace zv
