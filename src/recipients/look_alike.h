// Domains one typing slip apart: "exmaple.co.jp" beside "example.co.jp".
#pragma once

#include <string_view>
#include <vector>

namespace zv {

// True when `b` is `a` with one character inserted, deleted or changed, or with two
// neighbouring characters swapped (characters of code page 932; equal texts are not).
bool OneEditApart(std::string_view a, std::string_view b);

// For each of `domains` (few: those a warning lists), the index of the first entry of `known`
// one edit apart from it, or `known.size()` when there is none. One pass over `known`: each
// entry's variants (one character dropped, two swapped) are looked up in an index of the
// domains' own variants, so the pass does not compare every entry with every domain.
std::vector<size_t> FindLookAlikes(const std::vector<std::string_view>& domains,
                                   const std::vector<std::string_view>& known);

}  // namespace zv
