#include "recipients/glob.h"

#include "text/sjis.h"

namespace zv {

namespace {

size_t CharAt(std::string_view s, size_t pos) {
  return IsSjisLeadByte(s[pos]) && pos + 1 < s.size() ? 2 : 1;
}

bool IsWildcard(char c) { return c == '*' || c == '?'; }

}  // namespace

// The usual greedy match: on a mismatch, the last star takes one more character and the rest
// of the pattern is tried again from there.
bool GlobMatches(std::string_view pattern, std::string_view text) {
  size_t p = 0, t = 0;
  size_t starP = std::string_view::npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = ++p;
      starT = t;
      continue;
    }
    if (p < pattern.size()) {
      const size_t pn = CharAt(pattern, p), tn = CharAt(text, t);
      if (pattern[p] == '?') {
        ++p;
        t += tn;
        continue;
      }
      if (pn == tn && pattern.substr(p, pn) == text.substr(t, tn)) {
        p += pn;
        t += tn;
        continue;
      }
    }
    if (starP == std::string_view::npos) return false;
    p = starP;
    starT += CharAt(text, starT);
    t = starT;
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool HasWildcard(std::string_view pattern) {
  for (size_t i = 0; i < pattern.size(); i += CharAt(pattern, i)) {
    if (IsWildcard(pattern[i])) return true;
  }
  return false;
}

std::string_view GlobHead(std::string_view pattern) {
  for (size_t i = 0; i < pattern.size(); i += CharAt(pattern, i)) {
    if (IsWildcard(pattern[i])) return pattern.substr(0, i);
  }
  return pattern;
}

std::string_view GlobTail(std::string_view pattern) {
  size_t after = 0;
  for (size_t i = 0; i < pattern.size(); i += CharAt(pattern, i)) {
    if (IsWildcard(pattern[i])) after = i + 1;
  }
  return pattern.substr(after);
}

}  // namespace zv
