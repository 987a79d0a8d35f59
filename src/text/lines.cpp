#include "text/lines.h"

#include <cstring>

#include "text/sjis.h"

namespace zv {

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  ForEachLine(text, [&](std::string_view line) { lines.push_back(line); });
  return lines;
}

std::string_view TrimControls(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 0x20) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 0x20) --e;
  return s.substr(b, e - b);
}

std::string UpperSjis(std::string_view s) {
  std::string out(s);
  for (size_t i = 0; i < out.size();) {
    if (IsSjisLeadByte(out[i]) && i + 1 < out.size()) {
      i += 2;
      continue;
    }
    out[i] = UpperAscii(out[i]);
    ++i;
  }
  return out;
}

std::string LowerSjis(std::string_view s) {
  std::string out(s);
  for (size_t i = 0; i < out.size();) {
    if (IsSjisLeadByte(out[i]) && i + 1 < out.size()) {
      i += 2;
      continue;
    }
    if (out[i] >= 'A' && out[i] <= 'Z') out[i] = static_cast<char>(out[i] - 'A' + 'a');
    ++i;
  }
  return out;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  if (a.empty() || std::memcmp(a.data(), b.data(), a.size()) == 0) return true;
  bool trailA = false, trailB = false;
  for (size_t i = 0; i < a.size(); ++i) {
    const char ua = trailA ? a[i] : UpperAscii(a[i]);
    const char ub = trailB ? b[i] : UpperAscii(b[i]);
    if (ua != ub) return false;
    trailA = !trailA && IsSjisLeadByte(a[i]);
    trailB = !trailB && IsSjisLeadByte(b[i]);
  }
  return true;
}

}  // namespace zv
