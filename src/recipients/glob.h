// Wildcard patterns of the user's own-domain list: "*" stands for any run of characters, "?"
// for one character (of code page 932: a two-byte character is one).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "recipients/text_index.h"

namespace zv {

// True when `pattern` matches the whole of `text`. Bytes compare exactly. Time at most
// proportional to the product of the lengths, whatever the stars.
bool GlobMatches(std::string_view pattern, std::string_view text);

// Whether `pattern` holds a "*" or a "?" that is a character of its own.
bool HasWildcard(std::string_view pattern);

// Patterns found without trying each. A pattern's anchor is its longest run of literal
// characters that stands a fixed number of characters from the start of every text it matches
// (no "*" before it) or from the end (no "*" after it); a text looks up the runs standing at
// each such place, and only the patterns whose anchor it holds there are tried. Patterns with
// no anchor are tried one by one, except those of wildcards alone, which only count characters.
class GlobSet {
 public:
  void Add(std::string_view pattern);
  bool Matches(std::string_view text) const;
  bool empty() const { return patterns_.empty(); }

 private:
  // The anchors that stand at one place: `chars` characters from the start or the end, `bytes`
  // long, each with the patterns it anchors.
  struct Place {
    bool fromEnd = false;
    uint32_t chars = 0;
    size_t bytes = 0;
    TextIndex anchors;
    std::vector<std::vector<uint32_t>> groups;
  };
  bool TryPlace(const Place& place, std::string_view text, const std::vector<size_t>* starts,
                size_t count) const;

  TextIndex patterns_;  // each pattern once
  std::vector<std::string> texts_;
  std::vector<Place> places_;
  std::map<std::tuple<bool, uint32_t, size_t>, size_t> placeIndex_;
  std::vector<uint32_t> floating_;       // literal runs between stars only
  std::vector<bool> exactCounts_;        // "?" alone: texts of exactly n characters
  uint32_t leastWithStar_ = UINT32_MAX;  // "*" among them: at least n characters
};

}  // namespace zv
