// Wildcard patterns of the user's own-domain list: "*" stands for any run of characters, "?"
// for one character (of code page 932: a two-byte character is one).
#pragma once

#include <string_view>

namespace zv {

// True when `pattern` matches the whole of `text`. Bytes compare exactly. Time at most
// proportional to the product of the lengths, whatever the stars.
bool GlobMatches(std::string_view pattern, std::string_view text);

// Whether `pattern` holds a "*" or a "?" that is a character of its own.
bool HasWildcard(std::string_view pattern);

// The literal characters before the first wildcard and after the last one.
std::string_view GlobHead(std::string_view pattern);
std::string_view GlobTail(std::string_view pattern);

}  // namespace zv
