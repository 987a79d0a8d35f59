// The domains the user has sent to: a line list kept in the settings, grown by the plug-in
// after each mail that goes out.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "text/lines.h"

namespace zv {

// Calls `visit` with each entry of the list, blanks at the ends trimmed and A-Z as a-z; empty
// lines are skipped.
template <typename Visit>
void ForEachKnownDomain(std::string_view list, Visit&& visit) {
  ForEachLine(list, [&](std::string_view line) {
    const std::string_view entry = TrimControls(line);
    if (!entry.empty()) visit(LowerSjis(entry));
  });
}

// Appends to `list` each of `domains` that it does not list yet, in their order, with CR LF
// between lines: a list that does not end with a line break gets one before the first new
// domain, and none after the last. Nothing changes when nothing is new.
void AppendKnownDomains(std::string& list, const std::vector<std::string>& domains);

}  // namespace zv
