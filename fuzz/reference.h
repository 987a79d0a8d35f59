// Plain, slow restatements of the text rules that the fuzz targets compare the core against:
// every function walks the text one character at a time, exactly as the rules are worded.
#pragma once

#include <cstdint>
#include <string>
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

}  // namespace zv::fuzz
