// Plain, slow restatements of the text rules that the fuzz targets compare the core against:
// every function walks the text one character at a time, exactly as the rules are worded.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <string_view>
#include <vector>

namespace zv::fuzz {

inline bool RefLead(char c) {
  const auto b = static_cast<unsigned char>(c);
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

inline std::string_view RefCut(std::string_view s) {
  const size_t nul = s.find('\0');
  return nul == std::string_view::npos ? s : s.substr(0, nul);
}

// Byte position of every character of `s` (not cut at a zero byte).
inline std::vector<size_t> RefStarts(std::string_view s) {
  std::vector<size_t> starts;
  for (size_t p = 0; p < s.size();) {
    starts.push_back(p);
    p += (RefLead(s[p]) && p + 1 < s.size()) ? 2 : 1;
  }
  return starts;
}

inline int RefPos(std::string_view sub, std::string_view s) {
  sub = RefCut(sub);
  s = RefCut(s);
  const std::vector<size_t> starts = RefStarts(s);
  for (size_t k = 0; k < starts.size(); ++k) {
    if (s.substr(starts[k], sub.size()) == sub) return static_cast<int>(k + 1);
  }
  return 0;
}

inline std::string RefCopy(std::string_view s, int64_t index, int64_t count) {
  s = RefCut(s);
  if (count == 2147483647) {
    const std::string head = RefCopy(s, 1, index - 1);
    return std::string(s.substr(head.size()));
  }
  const std::vector<size_t> starts = RefStarts(s);
  size_t start = std::string_view::npos, end = std::string_view::npos;
  for (size_t i = 0; i < starts.size(); ++i) {
    const int64_t k = static_cast<int64_t>(i) + 1;
    if (k == index) start = starts[i];
    if (k == index + count) {
      end = starts[i];
      break;
    }
  }
  if (start == std::string_view::npos) return {};
  if (end == std::string_view::npos) return std::string(s.substr(start));
  return std::string(s.substr(start, end - start));
}

inline int RefLength(std::string_view s) {
  return static_cast<int>(RefStarts(RefCut(s)).size());
}

// Lines end at CR LF, a lone CR or a lone LF; a final break adds no line; a zero byte ends the
// text.
inline std::vector<std::string> RefSplit(std::string_view text) {
  text = RefCut(text);
  std::vector<std::string> lines;
  std::string line;
  bool open = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      open = false;
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line.push_back(c);
      open = true;
    }
  }
  if (open) lines.push_back(line);
  return lines;
}

inline std::string RefTrim(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= 0x20) s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= 0x20) s.remove_suffix(1);
  return std::string(s);
}

// a-z to A-Z where they are single-byte characters (not cut at a zero byte).
inline std::string RefUpper(std::string_view s) {
  std::string out(s);
  for (size_t p : RefStarts(s)) {
    const bool single = !(RefLead(s[p]) && p + 1 < s.size());
    if (single && out[p] >= 'a' && out[p] <= 'z') out[p] = static_cast<char>(out[p] - 32);
  }
  return out;
}

// ---- Recipients ----

// The characters of `s`: a lead byte with the byte after it, any other byte alone.
inline std::vector<std::string_view> RefChars(std::string_view s) {
  std::vector<std::string_view> chars;
  for (size_t p = 0; p < s.size();) {
    const size_t n = (RefLead(s[p]) && p + 1 < s.size()) ? 2 : 1;
    chars.push_back(s.substr(p, n));
    p += n;
  }
  return chars;
}

// A-Z to a-z where they are single-byte characters.
inline std::string RefLower(std::string_view s) {
  std::string out;
  for (const std::string_view c : RefChars(s)) {
    if (c.size() == 1 && c[0] >= 'A' && c[0] <= 'Z') {
      out += static_cast<char>(c[0] + 32);
    } else {
      out += c;
    }
  }
  return out;
}

inline bool RefHasChar(std::string_view s, char wanted) {
  for (const std::string_view c : RefChars(s)) {
    if (c.size() == 1 && c[0] == wanted) return true;
  }
  return false;
}

// The domain: after the last "@" character, one final "." character dropped, bytes up to 0x20
// trimmed, lower-cased; empty without "@".
inline std::string RefDomain(std::string_view address) {
  const std::vector<std::string_view> chars = RefChars(address);
  size_t at = chars.size();
  for (size_t i = 0; i < chars.size(); ++i) {
    if (chars[i] == "@") at = i;
  }
  if (at == chars.size()) return {};
  size_t end = chars.size();
  if (end > at + 1 && chars[end - 1] == ".") --end;
  std::string domain;
  for (size_t i = at + 1; i < end; ++i) domain += chars[i];
  return RefLower(RefTrim(domain));
}

// "*" any run of characters, "?" one character, anything else itself: by dynamic programming
// over the characters.
inline bool RefGlob(std::string_view pattern, std::string_view text) {
  const std::vector<std::string_view> p = RefChars(pattern), t = RefChars(text);
  std::vector<char> row(t.size() + 1, 0), next(t.size() + 1, 0);  // p[0, i) matches t[0, j)
  row[0] = 1;
  for (size_t i = 0; i < p.size(); ++i) {
    for (size_t j = 0; j <= t.size(); ++j) {
      if (p[i] == "*") {
        next[j] = row[j] || (j > 0 && next[j - 1]);
      } else {
        next[j] = j > 0 && row[j - 1] && (p[i] == "?" || p[i] == t[j - 1]);
      }
    }
    row.swap(next);
  }
  return row[t.size()] != 0;
}

// One entry of the own list: trimmed, lower-cased, its "-" taken off.
struct RefOwnEntry {
  std::string text;
  bool exclusion = false, wildcard = false, at = false;
};

inline std::vector<RefOwnEntry> RefOwnEntries(std::string_view list) {
  std::vector<RefOwnEntry> entries;
  for (const std::string& line : RefSplit(list)) {
    std::string entry = RefTrim(line);
    if (entry.empty() || entry[0] == '#') continue;
    const bool exclusion = entry[0] == '-';
    if (exclusion) entry = RefTrim(entry.substr(1));
    if (entry.empty()) continue;
    entry = RefLower(entry);
    const bool wildcard = RefHasChar(entry, '*') || RefHasChar(entry, '?');
    const bool at = RefHasChar(entry, '@');
    entries.push_back({std::move(entry), exclusion, wildcard, at});
  }
  return entries;
}

inline bool RefEntryMatches(const RefOwnEntry& e, const std::string& lowerAddress,
                            const std::string& domain) {
  if (e.wildcard) return e.at ? RefGlob(e.text, lowerAddress) : RefGlob(e.text, domain);
  if (e.text.starts_with("@")) return e.text.substr(1) == domain;
  if (e.at) return e.text == lowerAddress;
  return e.text == domain;
}

// Internal: some entry matches, no exclusion does, and there is a domain. Every entry tried.
inline bool RefInternal(const std::vector<RefOwnEntry>& entries, std::string_view address) {
  const std::string lower = RefLower(address), domain = RefDomain(address);
  if (domain.empty()) return false;
  bool match = false;
  for (const RefOwnEntry& e : entries) {
    if (!RefEntryMatches(e, lower, domain)) continue;
    if (e.exclusion) return false;
    match = true;
  }
  return match;
}

// The plain domain entries that are not exclusions, in order.
inline std::vector<std::string> RefPlainDomains(const std::vector<RefOwnEntry>& entries) {
  std::vector<std::string> domains;
  for (const RefOwnEntry& e : entries) {
    if (e.exclusion || e.wildcard) continue;
    if (e.text.starts_with("@")) {
      if (e.text.size() > 1) domains.push_back(e.text.substr(1));
    } else if (!e.at) {
      domains.push_back(e.text);
    }
  }
  return domains;
}

// The domains sent to: lines trimmed and lower-cased, empty ones skipped.
inline std::vector<std::string> RefKnownDomains(std::string_view list) {
  std::vector<std::string> domains;
  for (const std::string& line : RefSplit(list)) {
    const std::string d = RefTrim(line);
    if (!d.empty()) domains.push_back(RefLower(d));
  }
  return domains;
}

// One character inserted, deleted or changed, or two neighbours swapped: every such edit of
// `a` tried against `b`, character by character.
inline bool RefOneEdit(std::string_view a, std::string_view b) {
  const std::vector<std::string_view> x = RefChars(a), y = RefChars(b);
  if (x == y) return false;
  if (x.size() == y.size()) {
    std::vector<size_t> diff;
    for (size_t i = 0; i < x.size(); ++i) {
      if (x[i] != y[i]) diff.push_back(i);
    }
    if (diff.size() == 1) return true;
    return diff.size() == 2 && diff[1] == diff[0] + 1 && x[diff[0]] == y[diff[1]] &&
           x[diff[1]] == y[diff[0]];
  }
  const std::vector<std::string_view>& longer = x.size() > y.size() ? x : y;
  const std::vector<std::string_view>& shorter = x.size() > y.size() ? y : x;
  if (longer.size() != shorter.size() + 1) return false;
  for (size_t i = 0; i < longer.size(); ++i) {
    std::vector<std::string_view> cut = longer;
    cut.erase(cut.begin() + static_cast<std::ptrdiff_t>(i));
    if (cut == shorter) return true;
  }
  return false;
}

}  // namespace zv::fuzz
