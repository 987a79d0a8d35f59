// Looking up one field of a mail header.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zv {

// The value of the first line whose beginning, upper-cased, equals `upperName` (an upper-case
// field name with its colon, such as "TO:"), with bytes of value 0x20 or less trimmed from both
// ends; empty when no line matches. The view points into that line.
std::string_view HeaderField(std::string_view upperName, const std::vector<std::string_view>& lines);

// The header split into lines (text/lines.h) and unfolded from the last line back to the second:
// a line that begins with a blank or a tab loses that byte and is appended to the line before
// it. A folded field becomes one line, without the blank that began each continuation line.
std::vector<std::string> UnfoldHeader(std::string_view header);

}  // namespace zv
