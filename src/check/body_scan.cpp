#include "check/body_scan.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "text/sjis.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zv {

namespace {

constexpr std::string_view kOpen = "「";
constexpr std::string_view kClose = "」";
constexpr std::string_view kMore = "…";
constexpr size_t kKanaLimit = 25;  // bytes of list before a sixth entry becomes "…"
constexpr size_t kZenkakuLimit = 30;

// Bytes of the window kept in front of the new flat text: the unscanned end of the last block
// and what the word search reads before a piece.
constexpr size_t kCarry = kBlockBytes;
static_assert(kCarry >= WordSearch::kHistory);
// Room after the window for a whole vector stored where fewer bytes belong.
constexpr size_t kSlack = 16;
// The body comes from main memory, read once: the copy asks for it this far ahead, so that its
// loads find it in the cache.
constexpr size_t kReadAhead = 4096;

bool IsBreak(char c) {
  return c == '\r' || c == '\n' || c == '\0';
}

// The body's lines with nothing between them, a window at a time: every CR and LF left out,
// and with `skipQuoted` every quoted line too; a zero byte ends the body.
class Flattener {
 public:
  Flattener(std::string_view body, bool skipQuoted)
      : s_(body.data()), n_(body.size()), skipQuoted_(skipQuoted) {}

  bool done() const { return done_; }

  // Writes up to `room` bytes of flat text to `out`, which has kSlack bytes more room; fewer
  // only at the end of the body. Gives the number written.
  size_t Fill(char* out, size_t room) {
    size_t w = 0;
    for (;;) {
      if (in_ >= n_ || s_[in_] == '\0') {
        done_ = true;
        return w;
      }
      const char c = s_[in_];
      if (c == '\r' || c == '\n') {
        in_ += (c == '\r' && in_ + 1 < n_ && s_[in_ + 1] == '\n') ? 2 : 1;
        atLineStart_ = true;
        continue;
      }
      if (atLineStart_) {
        atLineStart_ = false;
        if (skipQuoted_ && QuotedAt(in_)) {
          in_ = BreakFrom(in_);
          continue;
        }
      }
      if (w == room) return w;
      w += Copy(out + w, room - w);
    }
  }

 private:
  // Whether the line starting at `p` is quoted: its first byte that is not a blank or a tab is
  // ">", or "＞" starts there.
  bool QuotedAt(size_t p) const {
    while (p < n_ && (s_[p] == ' ' || s_[p] == '\t')) ++p;
    if (p >= n_) return false;
    return s_[p] == '>' || (s_[p] == '\x81' && p + 1 < n_ && s_[p + 1] == '\x84');
  }

  // The first line break or zero byte at or after `p`, or the end of the body.
  size_t BreakFrom(size_t p) const {
#if defined(__SSE2__)
    for (; p + 16 <= n_; p += 16) {
      const uint32_t mask = BreakMask(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s_ + p)));
      if (mask != 0) return p + static_cast<size_t>(__builtin_ctz(mask));
    }
#endif
    while (p < n_ && !IsBreak(s_[p])) ++p;
    return p;
  }

#if defined(__SSE2__)
  // Bit i for a CR, LF or zero byte at lane i.
  static uint32_t BreakMask(__m128i v) {
    return static_cast<uint32_t>(
        _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\r')),
                                                    _mm_cmpeq_epi8(v, _mm_set1_epi8('\n'))),
                                       _mm_cmpeq_epi8(v, _mm_setzero_si128()))));
  }
#endif

  // Copies from in_ up to `room` bytes, stopping at a zero byte or the end of the body and,
  // when quoted lines are left out, at a line break; otherwise line breaks are dropped on the
  // way. A chunk of sixteen bytes is stored whole and the output moves on only past the bytes
  // before a break; only a chunk with a byte below 14 is looked at closely.
  size_t Copy(char* out, size_t room) {
    const char* const s = s_;  // locals: the stores to `out` may alias any member
    const size_t n = n_;
    const bool stopAtBreak = skipQuoted_;
    size_t in = in_;
    size_t w = 0;
#if defined(__SSE2__)
    while (w + 32 <= room && in + 32 <= n) {
      const __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + in));
      const __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + in + 16));
      __builtin_prefetch(s + std::min(in + kReadAhead, n - 1));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + w), v0);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + w + 16), v1);
      const __m128i fourteen = _mm_set1_epi8(14);
      const __m128i noLow = _mm_and_si128(_mm_cmpeq_epi8(_mm_max_epu8(v0, fourteen), v0),
                                          _mm_cmpeq_epi8(_mm_max_epu8(v1, fourteen), v1));
      if (_mm_movemask_epi8(noLow) != 0xFFFF) {
        const uint32_t mask = BreakMask(v0) | BreakMask(v1) << 16;
        if (mask != 0) {
          const size_t k = static_cast<size_t>(__builtin_ctz(mask));
          in += k;
          w += k;
          if (stopAtBreak || s[in] == '\0') break;
          // Left out: CR LF at once, other breaks one by one.
          in += (s[in] == '\r' && in + 1 < n && s[in + 1] == '\n') ? 2 : 1;
          continue;
        }
      }
      in += 32;
      w += 32;
    }
#endif
    while (w < room && in < n && s[in] != '\0') {
      if (s[in] == '\r' || s[in] == '\n') {
        if (stopAtBreak) break;
        ++in;
        continue;
      }
      out[w++] = s[in++];
    }
    in_ = in;
    return w;
  }

  const char* s_;
  size_t n_;
  size_t in_ = 0;
  bool skipQuoted_;
  bool atLineStart_ = true;
  bool done_ = false;
};

// Appends a 「x」 entry to `list` for each byte marked in `found`, with the `width` bytes there
// (fewer where only `available` bytes follow the block's start), until the list holds `limit`
// bytes or more; then "…", and the list is complete (true).
bool AppendEntries(std::string& list, size_t limit, BlockMask found, const char* block,
                   size_t available, size_t width) {
  for (; found != 0; found &= found - 1) {
    if (list.size() >= limit) {
      list.append(kMore);
      return true;
    }
    const size_t at = LowestBit(found);
    list.append(kOpen).append(block + at, std::min(width, available - at)).append(kClose);
  }
  return false;
}

}  // namespace

void ExcerptScan::Advance(const char* data, size_t pos, size_t end, bool final) {
  const auto* text = reinterpret_cast<const unsigned char*>(data);
  auto at = [&](size_t q) { return text + static_cast<ptrdiff_t>(q - pos); };
  // Short of the end, a block is scanned once the byte after it exists: its last lead byte
  // may need it.
  while (!done() && (end - scanned_ > kBlockBytes || (final && scanned_ < end))) {
    // Whole blocks with nothing to list, the common case, in a loop of their own.
    const BlockMask wantHigh = kanaDone_ ? 0 : ~BlockMask{0};
    const BlockMask wantLead = zenkakuDone_ ? 0 : ~BlockMask{0};
    size_t base = scanned_;
    TrailMasks trails = trails_;
    BlockMasks masks;
    BlockMask trail = 0;
    for (;;) {
      if (end - base <= kBlockBytes) break;
      masks = ClassifyWholeBlock(at(base));
      const TrailMasks before = trails;
      trail = trails.Next(masks.leadRange);
      if (((masks.highSingle & wantHigh) | (masks.leadRange & wantLead)) & ~trail) {
        trails = before;  // this block is taken again below
        break;
      }
      base += kBlockBytes;
    }
    scanned_ = base;
    trails_ = trails;
    if (!(end - base > kBlockBytes || (final && base < end))) break;

    const size_t len = std::min(kBlockBytes, end - base);
    const unsigned char* s = at(base);
    masks = ClassifyBlock(s, len);
    trail = trails_.Next(masks.leadRange);
    // A lead byte that ends the text is listed alone.
    const auto* chars = reinterpret_cast<const char*>(s);
    if (!kanaDone_) {
      kanaDone_ = AppendEntries(*kana_, kKanaLimit, masks.highSingle & ~trail, chars, len, 1);
    }
    if (!zenkakuDone_) {
      zenkakuDone_ =
          AppendEntries(*zenkaku_, kZenkakuLimit, masks.leadRange & ~trail, chars, end - base, 2);
    }
    scanned_ = base + len;
  }
}

BodyScan ScanBody(std::string_view body, std::string_view subject, bool skipQuoted,
                  std::string* kana, std::string* zenkaku, const WordSearch* search,
                  size_t window) {
  ExcerptScan excerpts(kana, zenkaku);
  std::optional<WordSearch::Stream> words;
  if (search) words.emplace(*search);
  auto wordsDone = [&] { return !words || words->done(); };

  // The window: kCarry bytes kept from before, then the new text (a byte at least, or nothing
  // would move).
  window = std::max<size_t>(window, 1);
  std::vector<char> buffer(kCarry + window + kSlack);
  char* const fresh = buffer.data() + kCarry;
  size_t fed = 0;
  auto keepTail = [&](size_t n) { std::memmove(buffer.data(), buffer.data() + n, kCarry); };

  Flattener flat(body, skipQuoted);
  while (!flat.done() && !(excerpts.done() && wordsDone())) {
    const size_t n = flat.Fill(fresh, window);
    excerpts.Advance(fresh, fed, fed + n, flat.done());
    if (words) words->Feed(std::string_view(fresh, n));
    fed += n;
    keepTail(n);
  }
  BodyScan result;
  result.bodyEnd = fed;
  if (!words) return result;
  subject = UntilNul(subject);
  for (size_t at = 0; at < subject.size() && !words->done();) {
    const size_t n = std::min(window, subject.size() - at);
    std::memcpy(fresh, subject.data() + at, n);
    words->Feed(std::string_view(fresh, n));
    at += n;
    keepTail(n);
  }
  // The kept tail now stands in front of `fresh`, where the search last saw it.
  words->Feed(std::string_view(fresh, 0));
  words->Finish();
  result.ends = words->Ends();
  return result;
}

}  // namespace zv
