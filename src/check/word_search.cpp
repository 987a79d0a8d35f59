#include "check/word_search.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "check/sjis_blocks.h"
#include "text/sjis.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zv {

static_assert(std::endian::native == std::endian::little, "grams hold the first byte lowest");

namespace {

constexpr uint32_t kGramMask[5] = {0, 0xFF, 0xFFFF, 0xFFFFFF, 0xFFFFFFFF};
constexpr unsigned kMaxGram = 3;
constexpr unsigned kMaxStride = 8;
// Table sizes grow with the grams filed: 256 filter slots per gram (from 256 grams on, a slot
// for every two bytes, 128 KB) and about 128 confirming slots (bits) per word, 32 KB at most,
// so that a search for a few words is cheap to set up.
constexpr unsigned kMinSlotBits = 10;
constexpr unsigned kMaxFilterBits = 16;
constexpr unsigned kMaxConfirmBits = 18;

// The first `gram` bytes at p; all four bytes must exist.
uint32_t Gram4(const unsigned char* p, unsigned gram) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v & kGramMask[gram];
}

// The first `gram` bytes at p, of which `gram` exist.
uint32_t GramExact(const unsigned char* p, unsigned gram) {
  uint32_t v = 0;
  for (unsigned k = 0; k < gram; ++k) v |= static_cast<uint32_t>(p[k]) << (8 * k);
  return v;
}

// The filter's entry for a slot holds the third bytes of the grams filed there, one in each of
// its two bytes (0 where none), or kSeveral once there are more than two. Without a third byte
// (grams of one or two bytes) every filed slot is kSeveral.
constexpr uint16_t kSeveral = 0xFFFF;

// The filter's slot of a gram: its first two bytes as they stand (the first alone for grams of
// one byte), less the top bits of the second in a table of fewer slots, so that a sample's slot
// is read straight from the text, and the slots that Japanese text visits lie close together.
uint32_t SlotOf(uint32_t gram, uint32_t slotMask) {
  return gram & slotMask;
}

void FileGram(uint16_t& entry, uint32_t gram, unsigned gramBytes) {
  const auto third = static_cast<uint16_t>((gram >> 16) & 0xFF);
  if (gramBytes < 3 || entry == kSeveral) {
    entry = kSeveral;
  } else if ((entry & 0xFF) == third || (entry >> 8) == third) {
    // filed already
  } else if ((entry & 0xFF) == 0) {
    entry = third;
  } else if ((entry >> 8) == 0) {
    entry = static_cast<uint16_t>(entry | third << 8);
  } else {
    entry = kSeveral;
  }
}

unsigned SlotBits(size_t grams, size_t slotsPerGram, unsigned most) {
  unsigned bits = kMinSlotBits;
  while (bits < most && (size_t{1} << bits) < grams * slotsPerGram) ++bits;
  return bits;
}

// The confirming table's slot of a word's first (up to four) bytes.
uint32_t ConfirmSlotOf(uint32_t gram, unsigned bits) {
  return ((gram ^ (gram >> 15)) * 0x85EBCA77u) >> (32 - bits);
}

uint64_t EdgeHash(uint64_t key) {
  return key * 0x9E3779B97F4A7C15ull;
}

bool IsLeadRange(unsigned char b) {
  return (kSjisByteClass[b] & 1) != 0;
}

}  // namespace

uint32_t WordSearch::Child(uint32_t node, unsigned char byte) const {
  const uint64_t key = (static_cast<uint64_t>(node) << 8 | byte) + 1;
  const size_t mask = edgeKey_.size() - 1;
  for (size_t at = EdgeHash(key) >> edgeShift_;; at = (at + 1) & mask) {
    if (edgeKey_[at] == key) return edgeChild_[at];
    if (edgeKey_[at] == 0) return kNone;
  }
}

uint32_t WordSearch::AddChild(uint32_t node, unsigned char byte) {
  const uint64_t key = (static_cast<uint64_t>(node) << 8 | byte) + 1;
  const size_t mask = edgeKey_.size() - 1;
  size_t at = EdgeHash(key) >> edgeShift_;
  for (; edgeKey_[at] != 0; at = (at + 1) & mask) {
    if (edgeKey_[at] == key) return edgeChild_[at];
  }
  const auto child = static_cast<uint32_t>(fail_.size());
  edgeKey_[at] = key;
  edgeChild_[at] = child;
  fail_.push_back(0);
  word_.push_back(kNone);
  nextWord_.push_back(kNone);
  return child;
}

WordSearch::WordSearch(const std::vector<std::string_view>& words) {
  std::vector<std::string_view> cut(words.size());
  size_t totalBytes = 0;
  for (size_t k = 0; k < words.size(); ++k) {
    cut[k] = UntilNul(words[k]);
    totalBytes += cut[k].size();
  }
  wordUnique_.assign(words.size(), kNone);
  if (totalBytes == 0) return;

  // The trie. At most one node per byte of the words, and twice as many edge places.
  unsigned placeBits = 4;
  while ((size_t{1} << placeBits) < 2 * totalBytes + 2) ++placeBits;
  edgeKey_.assign(size_t{1} << placeBits, 0);
  edgeChild_.assign(size_t{1} << placeBits, 0);
  edgeShift_ = 64 - placeBits;
  fail_.reserve(totalBytes + 1);
  fail_ = {0};
  word_ = {kNone};
  nextWord_ = {kNone};
  size_t longest = 0;
  size_t shortest = SIZE_MAX;
  // Every node but the root came in as the child of one node by one byte.
  std::vector<uint32_t> parentOf(1, kNone);
  std::vector<unsigned char> byteOf(1, 0);
  parentOf.reserve(totalBytes + 1);
  byteOf.reserve(totalBytes + 1);
  // A word's last node tells the distinct words apart: a repeated word ends where it ended.
  std::vector<std::string_view> unique;
  for (size_t k = 0; k < cut.size(); ++k) {
    if (cut[k].empty()) continue;
    uint32_t node = 0;
    for (const char c : cut[k]) {
      const size_t before = fail_.size();
      const uint32_t next = AddChild(node, static_cast<unsigned char>(c));
      if (fail_.size() != before) {
        parentOf.push_back(node);
        byteOf.push_back(static_cast<unsigned char>(c));
      }
      node = next;
    }
    if (word_[node] == kNone) {
      word_[node] = static_cast<uint32_t>(unique.size());
      unique.push_back(cut[k]);
      length_.push_back(static_cast<uint32_t>(cut[k].size()));
      longest = std::max(longest, cut[k].size());
      shortest = std::min(shortest, cut[k].size());
    }
    wordUnique_[k] = word_[node];
  }
  // The children of each node, in one array ordered by parent.
  const size_t nodes = parentOf.size();
  std::vector<uint32_t> firstChild(nodes + 1, 0);
  for (size_t c = 1; c < nodes; ++c) ++firstChild[parentOf[c] + 1];
  for (size_t n = 0; n < nodes; ++n) firstChild[n + 1] += firstChild[n];
  std::vector<uint32_t> children(nodes > 0 ? nodes - 1 : 0);
  {
    std::vector<uint32_t> fill(firstChild.begin(), firstChild.end() - 1);
    for (size_t c = 1; c < nodes; ++c) children[fill[parentOf[c]]++] = static_cast<uint32_t>(c);
  }

  // Failure links, breadth first.
  rootNext_.assign(256, 0);
  std::vector<uint32_t> queue;
  queue.reserve(nodes);
  for (uint32_t k = firstChild[0]; k < firstChild[1]; ++k) {
    rootNext_[byteOf[children[k]]] = children[k];
    queue.push_back(children[k]);
  }
  for (size_t head = 0; head < queue.size(); ++head) {
    const uint32_t node = queue[head];
    for (uint32_t k = firstChild[node]; k < firstChild[node + 1]; ++k) {
      const uint32_t child = children[k];
      const unsigned char byte = byteOf[child];
      uint32_t f = fail_[node];
      uint32_t target = kNone;
      while ((target = f == 0 ? rootNext_[byte] : Child(f, byte)) == kNone) f = fail_[f];
      fail_[child] = target;
      nextWord_[child] = word_[target] != kNone ? target : nextWord_[target];
      queue.push_back(child);
    }
  }
  size_t ring = 1;
  while (ring <= longest) ring <<= 1;
  ringMask_ = ring - 1;

  // The filter: every occurrence of a word starting at p holds the gram at the sample s * k in
  // p..p+stride-1, which is the word's gram at offset s * k - p.
  gram_ = static_cast<unsigned>(std::min<size_t>(shortest, kMaxGram));
  stride_ = static_cast<unsigned>(std::min<size_t>(shortest - gram_ + 1, kMaxStride));
  const size_t grams = unique.size() * stride_;
  prefix_ = static_cast<unsigned>(std::min<size_t>(shortest, 4));
  confirmBits_ = SlotBits(unique.size(), 128, kMaxConfirmBits);
  slotMask_ = gram_ == 1 ? 0xFF : (uint32_t{1} << SlotBits(grams, 256, kMaxFilterBits)) - 1;
  filter_.assign(size_t{slotMask_} + 1, 0);
  confirm_.assign((size_t{1} << confirmBits_) / 32, 0);
  // The used slots in a compact list, with the number of grams filed at each.
  std::vector<uint32_t> compactOf(filter_.size(), kNone);
  wordCompact_.reserve(grams);
  for (std::string_view w : unique) {
    const auto* first = reinterpret_cast<const unsigned char*>(w.data());
    const uint32_t confirmSlot = ConfirmSlotOf(GramExact(first, prefix_), confirmBits_);
    confirm_[confirmSlot >> 5] |= uint32_t{1} << (confirmSlot & 31);
    for (unsigned o = 0; o < stride_; ++o) {
      const uint32_t g = GramExact(first + o, gram_);
      const uint32_t slot = SlotOf(g, slotMask_);
      uint32_t& compact = compactOf[slot];
      if (compact == kNone) {
        compact = static_cast<uint32_t>(slotOfCompact_.size());
        slotOfCompact_.push_back(slot);
        slotUse_.push_back(0);
      }
      ++slotUse_[compact];
      wordCompact_.push_back(compact);
      FileGram(filter_[slot], g, gram_);
    }
  }
}

// The working state of one stream. Byte q of the text stands at data[q - pos] while the piece
// that starts at `pos` is in hand, for q from pos - kHistory (or 0) up to `end`.
struct WordSearch::Stream::State {
  const WordSearch& search;
  std::vector<uint16_t> filter;    // found words leave it
  std::vector<uint32_t> slotUse;   // the grams of words not found yet, per used slot
  std::vector<size_t> endOf;       // per distinct word
  std::vector<uint8_t> startRing;  // whether the recent positions start a character
  size_t remaining;

  const unsigned char* data = nullptr;
  size_t pos = 0;
  size_t end = 0;
  bool final = false;

  size_t knownStart = 0;  // a character start at or before every later question
  size_t from = 0;        // every start before it has been tried
  size_t sample = 0;      // the next sample; it stands for the starts sample - stride + 1 ..

  // The automaton, while it runs: it stops once back at its root past `through`.
  bool running = false;
  uint32_t node = 0;
  size_t at = 0;         // the next byte it reads
  bool atStarts = true;  // whether `at` starts a character
  size_t through = 0;

  explicit State(const WordSearch& s)
      : search(s),
        filter(s.filter_),
        slotUse(s.slotUse_),
        endOf(s.length_.size(), kAbsent),
        startRing(s.ringMask_ + 1, 0),
        remaining(s.length_.size()) {}

  const unsigned char* At(size_t q) const {
    return data + static_cast<ptrdiff_t>(q - pos);  // q may lie in the kept bytes before pos
  }

  // Whether `p` starts a character: the lead-range bytes just before it, back to a byte that is
  // not one or to a start known already, pair up. Asked with growing p, so linear in all.
  bool StartsCharacter(size_t p) {
    size_t q = p;
    while (q > knownStart && IsLeadRange(*At(q - 1))) --q;
    const bool starts = ((p - q) & 1) == 0;
    knownStart = starts ? p : p - 1;
    return starts;
  }

  void Found(uint32_t u, size_t foundEnd) {
    endOf[u] = foundEnd;
    --remaining;
    const uint32_t* compact = search.wordCompact_.data() + size_t{u} * search.stride_;
    for (unsigned o = 0; o < search.stride_; ++o) {
      if (--slotUse[compact[o]] == 0) {
        filter[search.slotOfCompact_[compact[o]]] = 0;
      }
    }
  }

  // Runs the automaton on from where it stands. False when the piece ended first and more text
  // is to come; otherwise it stopped, and every start before `from` has been tried.
  bool RunAutomaton() {
    const WordSearch& s = search;
    uint32_t nd = node;
    bool starts = atStarts;
    size_t j = at;
    bool back = false;
    while (j < end) {
      const unsigned char b = *At(j);
      startRing[j & s.ringMask_] = starts;
      starts = !(starts && IsLeadRange(b));
      for (;;) {
        const uint32_t next = nd == 0 ? s.rootNext_[b] : s.Child(nd, b);
        if (next != kNone) {
          nd = next;
          break;
        }
        nd = s.fail_[nd];
      }
      ++j;
      for (uint32_t v = s.word_[nd] != kNone ? nd : s.nextWord_[nd]; v != kNone;
           v = s.nextWord_[v]) {
        const uint32_t u = s.word_[v];
        if (endOf[u] != kAbsent || !startRing[(j - s.length_[u]) & s.ringMask_]) continue;
        Found(u, j);
      }
      if (remaining == 0 || (nd == 0 && j > through)) {
        back = true;
        break;
      }
    }
    if (!back && !final) {
      node = nd;
      atStarts = starts;
      at = j;
      return false;
    }
    running = false;
    from = j;
    knownStart = starts ? j : j - 1;
    return true;
  }

  // The first start not tried yet that the sample at `s` stands for (s - stride + 1 .. s).
  size_t FirstStartOf(size_t s) const {
    const size_t stride = search.stride_;
    return std::max(from, s + 1 > stride ? s + 1 - stride : 0);
  }

  // Runs the automaton from the first start that the sample at `s`, hit and confirmed, stands
  // for. False when the sampling stops: the piece ended with the automaton running, or every
  // word was found.
  bool RunFromSample(size_t s) {
    running = true;
    node = 0;
    at = FirstStartOf(s);
    atStarts = StartsCharacter(at);
    through = s;
    return RunAutomaton() && remaining != 0;
  }

  size_t NextSampleFrom(size_t p) const {
    const size_t stride = search.stride_;
    return (p + stride - 1) / stride * stride;
  }

  bool Hit(uint32_t gram) const {
    const uint16_t f = filter[SlotOf(gram, search.slotMask_)];
    const auto third = static_cast<uint16_t>((gram >> 16) & 0xFF);
    return f == kSeveral || (f != 0 && ((f & 0xFF) == third || (f >> 8) == third));
  }

  // Whether a word may start where the sample at `s` stands for a start: its first bytes are
  // in the confirming table at one of the starts from `from` to s that has them all in hand.
  bool Confirmed(size_t s) const {
    const WordSearch& w = search;
    const size_t first = FirstStartOf(s);
    for (size_t q = s + 1; q-- > first;) {
      if (q + w.prefix_ > end) return true;  // not known yet: let the automaton decide
      const uint32_t slot = ConfirmSlotOf(
          q + 4 <= end ? Gram4(At(q), w.prefix_) : GramExact(At(q), w.prefix_), w.confirmBits_);
      if ((w.confirm_[slot >> 5] >> (slot & 31)) & 1) return true;
    }
    return false;
  }

#if defined(__SSE2__)
  // The filter's verdicts on the samples at p, p + 2, .. p + 14, as bits 0, 2, .. 14; reads 18
  // bytes. Each slot is read from the text as it stands, so only the entries are gathered,
  // inserted from the table into two vectors of four lanes (two short chains); the third bytes
  // lie in the 16-bit lanes of the text two bytes on and are compared with both of an entry's
  // bytes at once.
  template <unsigned gram, bool whole>
  __attribute__((always_inline)) static uint32_t HitsOf8(const uint16_t* f, uint32_t slotMask,
                                                         const unsigned char* p) {
    auto entry = [&](int k) __attribute__((always_inline)) {
      if constexpr (gram == 1) {
        return static_cast<int>(f[p[2 * k]]);
      } else {
        uint16_t slot;
        std::memcpy(&slot, p + 2 * k, 2);
        return static_cast<int>(f[whole ? slot : SlotOf(slot, slotMask)]);
      }
    };
    __m128i low = _mm_cvtsi32_si128(entry(0));
    __m128i high = _mm_cvtsi32_si128(entry(4));
    low = _mm_insert_epi16(low, entry(1), 1);
    high = _mm_insert_epi16(high, entry(5), 1);
    low = _mm_insert_epi16(low, entry(2), 2);
    high = _mm_insert_epi16(high, entry(6), 2);
    low = _mm_insert_epi16(low, entry(3), 3);
    high = _mm_insert_epi16(high, entry(7), 3);
    const __m128i filed = _mm_unpacklo_epi64(low, high);
    uint32_t mask = static_cast<uint32_t>(
        _mm_movemask_epi8(_mm_cmpeq_epi16(filed, _mm_set1_epi16(static_cast<short>(kSeveral)))));
    if constexpr (gram == 3) {
      const __m128i third = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2)),
                                          _mm_set1_epi16(0xFF));
      const uint32_t tagged = static_cast<uint32_t>(
          _mm_movemask_epi8(_mm_cmpeq_epi8(filed, _mm_or_si128(third, _mm_slli_epi16(third, 8)))));
      mask |= tagged | tagged >> 1;
    }
    return mask & 0x5555;
  }
#endif

  // Takes the samples the piece allows. A sample reads four bytes where they exist; the last
  // few wait for the next piece, or at the end of the text read their gram exactly. `whole`:
  // the filter has a slot for every two bytes, so a slot needs no mask.
  template <unsigned gram, bool whole>
  void Sample() {
    const size_t stride = search.stride_;
    const size_t fourLimit = end >= 4 ? end - 3 : 0;  // below it four bytes can be read
    const size_t limit = !final ? fourLimit : end >= gram ? end - gram + 1 : 0;
    size_t i = sample;
    for (;;) {
      uint32_t hits = 0;  // bit k: the sample at i + k may hit
      size_t span = 0;    // the positions this round has looked at
#if defined(__SSE2__)
      if (stride <= 2) {
        // Sixteen bytes' samples at a time, their slots worked out in vectors. Found words
        // change the filter's bytes but never the piece or the filter's place.
        const unsigned char* const d = data;
        const size_t p0 = pos;
        const size_t e = end;
        const uint16_t* const f = filter.data();
        const uint32_t slotMask = search.slotMask_;
        auto at = [&](size_t q) __attribute__((always_inline)) {
          return d + static_cast<ptrdiff_t>(q - p0);
        };
        auto hitsIn16 = [&](size_t q) __attribute__((always_inline)) {
          return HitsOf8<gram, whole>(f, slotMask, at(q)) |
                 (stride == 1 ? HitsOf8<gram, whole>(f, slotMask, at(q + 1)) << 1 : 0);
        };
        // Rounds of a block (as many bytes as a machine word has bits) while there is room. A
        // round's hits are noted without a jump, and once kNoted rounds with hits are noted (or
        // the room ends) they are looked at together, so that a hit the confirming table turns
        // down costs no mispredicted jump out of the loop. Samples that an automaton run
        // covered are passed over.
        constexpr size_t kNoted = 32;
        size_t roundAt[kNoted];
        BlockMask roundHits[kNoted];
        size_t noted = kNoted;
        while (noted == kNoted) {
          noted = 0;
          // The last sixteen bytes' samples read up to 19 bytes.
          while (i + kBlockBytes + 3 <= e && noted < kNoted) {
            BlockMask h = hitsIn16(i) | hitsIn16(i + 16) << 16;
            if constexpr (kBlockBytes == 64) {
              h |= static_cast<BlockMask>(hitsIn16(i + 32) | hitsIn16(i + 48) << 16)
                   << (kBlockBytes / 2);
            }
            roundAt[noted] = i;
            roundHits[noted] = h;
            noted += h != 0 ? 1 : 0;
            i += kBlockBytes;
          }
          size_t resume = 0;  // the first sample not covered by a run
          for (size_t r = 0; r < noted; ++r) {
            for (BlockMask h = roundHits[r]; h != 0; h &= h - 1) {
              const size_t at = roundAt[r] + LowestBit(h);
              if (at < resume || !Confirmed(at)) continue;
              if (!RunFromSample(at)) return;
              resume = NextSampleFrom(from);
            }
          }
          i = std::max(i, resume);
        }
        // Then sixteen bytes at a time.
        span = 16;
        while (i + 19 <= e && (hits = hitsIn16(i)) == 0) i += 16;
      }
      if (hits == 0)
#endif
      {
        // Four samples at a time where four bytes can be read at each, then one.
        while (i + 3 * stride < fourLimit &&
               !(Hit(Gram4(At(i), gram)) | Hit(Gram4(At(i + stride), gram)) |
                 Hit(Gram4(At(i + 2 * stride), gram)) | Hit(Gram4(At(i + 3 * stride), gram)))) {
          i += 4 * stride;
        }
        if (i >= limit) break;
        span = stride;
        hits = Hit(i < fourLimit ? Gram4(At(i), gram) : GramExact(At(i), gram)) ? 1 : 0;
      }
      bool restarted = false;
      for (; hits != 0; hits &= hits - 1) {
        const size_t at = i + LowestBit(hits);
        if (!Confirmed(at)) continue;
        if (!RunFromSample(at)) return;
        i = NextSampleFrom(from);
        restarted = true;
        break;
      }
      if (!restarted) i += span;
    }
    sample = i;
  }

  void Advance() {
    if (remaining == 0) return;
    if (running) {
      if (!RunAutomaton() || remaining == 0) return;
      sample = NextSampleFrom(from);
    }
    const bool whole = search.slotMask_ == 0xFFFF;
    if (search.gram_ == 1) Sample<1, true>();  // its table has a slot for every byte
    if (search.gram_ == 2) whole ? Sample<2, true>() : Sample<2, false>();
    if (search.gram_ == 3) whole ? Sample<3, true>() : Sample<3, false>();
  }

  // Before the piece's bytes go: every later question about character starts lies at or after
  // the least start the next samples cover, so a start known there keeps the look-backs within
  // the kept bytes.
  void KeepKnownStartNear() {
    if (running || remaining == 0) return;
    const size_t least = FirstStartOf(sample);
    if (least > knownStart) StartsCharacter(least);
  }
};

WordSearch::Stream::Stream(const WordSearch& search) : state_(std::make_unique<State>(search)) {}

WordSearch::Stream::~Stream() = default;

void WordSearch::Stream::Feed(std::string_view piece) {
  State& s = *state_;
  s.data = reinterpret_cast<const unsigned char*>(piece.data());
  s.pos = s.end;
  s.end += piece.size();
  s.Advance();
  s.KeepKnownStartNear();
}

void WordSearch::Stream::Finish() {
  State& s = *state_;
  s.final = true;
  s.Advance();
}

bool WordSearch::Stream::done() const {
  return state_->remaining == 0;
}

std::vector<size_t> WordSearch::Stream::Ends() const {
  const State& s = *state_;
  std::vector<size_t> result;
  result.reserve(s.search.wordUnique_.size());
  for (uint32_t u : s.search.wordUnique_) {
    if (u == kNone) {
      result.push_back(s.end == 0 ? kAbsent : 0);
    } else {
      result.push_back(s.endOf[u]);
    }
  }
  return result;
}

std::vector<size_t> WordSearch::FirstEnds(std::string_view text) const {
  Stream stream(*this);
  stream.Feed(UntilNul(text));
  stream.Finish();
  return stream.Ends();
}

}  // namespace zv
