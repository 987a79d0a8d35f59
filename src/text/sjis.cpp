#include "text/sjis.h"

#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zv {

// Sixteen bytes at a time where the platform's own search may go byte by byte: a body of
// megabytes passes through here at every send.
std::string_view UntilNul(std::string_view s) {
#if defined(__SSE2__)
  size_t i = 0;
  for (; i + 16 <= s.size(); i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s.data() + i));
    const int zeros = _mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_setzero_si128()));
    if (zeros != 0) return s.substr(0, i + static_cast<size_t>(__builtin_ctz(zeros)));
  }
  for (; i < s.size(); ++i) {
    if (s[i] == '\0') return s.substr(0, i);
  }
  return s;
#else
  const size_t nul = s.find('\0');
  return nul == std::string_view::npos ? s : s.substr(0, nul);
#endif
}

int SjisPos(std::string_view sub, std::string_view s) {
  sub = UntilNul(sub);
  s = UntilNul(s);
  if (sub.empty()) return s.empty() ? 0 : 1;
  if (sub.size() > s.size()) return 0;

  // Knuth-Morris-Pratt over the bytes; a candidate counts only where a character starts. The
  // character walk advances monotonically alongside the scan, so the whole search is linear.
  const size_t n = sub.size();
  std::vector<size_t> fail(n, 0);
  for (size_t i = 1, k = 0; i < n; ++i) {
    while (k > 0 && sub[i] != sub[k]) k = fail[k - 1];
    if (sub[i] == sub[k]) ++k;
    fail[i] = k;
  }
  size_t boundary = 0;  // byte position of the current character
  int number = 1;       // its 1-based number
  for (size_t i = 0, k = 0; i < s.size(); ++i) {
    while (k > 0 && s[i] != sub[k]) k = fail[k - 1];
    if (s[i] == sub[k]) ++k;
    if (k == n) {
      const size_t start = i + 1 - n;
      while (boundary < start) {
        boundary += SjisCharLength(s, boundary);
        ++number;
      }
      if (boundary == start) return number;
      k = fail[k - 1];
    }
  }
  return 0;
}

std::string SjisCopy(std::string_view s, int index, int count) {
  s = UntilNul(s);
  if (count == kToEnd) {
    if (index < 1) return {};  // the head would be all of s
    const std::string head = SjisCopy(s, 1, index - 1);
    return std::string(s.substr(head.size()));
  }
  const int64_t endNumber = static_cast<int64_t>(index) + count;
  size_t start = std::string_view::npos;
  size_t end = std::string_view::npos;
  int64_t k = 1;
  for (size_t pos = 0; pos < s.size(); pos += SjisCharLength(s, pos), ++k) {
    if (k == index) start = pos;
    if (k == endNumber) {
      end = pos;
      break;
    }
  }
  if (start == std::string_view::npos) return {};
  if (end == std::string_view::npos) return std::string(s.substr(start));
  if (end < start) return {};
  return std::string(s.substr(start, end - start));
}

int SjisLength(std::string_view s) {
  s = UntilNul(s);
  int n = 0;
  for (size_t pos = 0; pos < s.size(); pos += SjisCharLength(s, pos)) ++n;
  return n;
}

size_t SjisByteOffset(std::string_view s, int index) {
  if (index < 1) return std::string_view::npos;
  int k = 1;
  for (size_t pos = 0; pos < s.size(); pos += SjisCharLength(s, pos), ++k) {
    if (k == index) return pos;
  }
  return std::string_view::npos;
}

}  // namespace zv
