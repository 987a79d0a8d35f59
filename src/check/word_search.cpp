#include "check/word_search.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <unordered_map>

#include "check/sjis_blocks.h"
#include "text/sjis.h"

namespace zv {

static_assert(std::endian::native == std::endian::little, "grams hold the first byte lowest");

namespace {

constexpr uint32_t kGramMask[4] = {0, 0xFF, 0xFFFF, 0xFFFFFF};
constexpr unsigned kMaxGram = 3;
constexpr unsigned kMaxStride = 8;
constexpr unsigned kMinSlotBits = 10;
constexpr unsigned kMaxSlotBits = 18;  // a bit table of 32 KB at most: it stays in the cache

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

uint32_t SlotOf(uint32_t gram, unsigned bits) {
  return (gram * 0x9E3779B1u) >> (32 - bits);
}

// An independent second hash, for the confirming table.
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
  std::unordered_map<std::string_view, uint32_t> ids;
  std::vector<std::string_view> unique;
  wordUnique_.reserve(words.size());
  size_t totalBytes = 0;
  for (std::string_view w : words) {
    w = UntilNul(w);
    if (w.empty()) {
      wordUnique_.push_back(kNone);
      continue;
    }
    const auto [it, inserted] = ids.try_emplace(w, static_cast<uint32_t>(unique.size()));
    if (inserted) {
      unique.push_back(w);
      length_.push_back(static_cast<uint32_t>(w.size()));
      totalBytes += w.size();
    }
    wordUnique_.push_back(it->second);
  }
  if (unique.empty()) return;

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
  std::vector<std::vector<std::pair<unsigned char, uint32_t>>> children(1);
  for (uint32_t u = 0; u < unique.size(); ++u) {
    uint32_t node = 0;
    for (const char c : unique[u]) {
      const size_t before = fail_.size();
      const uint32_t next = AddChild(node, static_cast<unsigned char>(c));
      if (fail_.size() != before) {
        children[node].emplace_back(static_cast<unsigned char>(c), next);
        children.emplace_back();
      }
      node = next;
    }
    word_[node] = u;
    longest = std::max(longest, unique[u].size());
    shortest = std::min(shortest, unique[u].size());
  }

  // Failure links, breadth first.
  rootNext_.assign(256, 0);
  std::vector<uint32_t> queue;
  queue.reserve(fail_.size());
  for (const auto& [byte, child] : children[0]) {
    rootNext_[byte] = child;
    queue.push_back(child);
  }
  for (size_t head = 0; head < queue.size(); ++head) {
    const uint32_t node = queue[head];
    for (const auto& [byte, child] : children[node]) {
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
  // About 128 slots per gram keeps false hits rare.
  slotBits_ = kMinSlotBits;
  while (slotBits_ < kMaxSlotBits && (size_t{1} << slotBits_) < grams * 128) ++slotBits_;
  filter_.assign((size_t{1} << slotBits_) / 32, 0);
  confirm_.assign((size_t{1} << slotBits_) / 32, 0);
  std::unordered_map<uint32_t, uint32_t> compactOf;
  wordCompact_.reserve(grams);
  for (std::string_view w : unique) {
    for (unsigned o = 0; o < stride_; ++o) {
      const uint32_t g = GramExact(reinterpret_cast<const unsigned char*>(w.data()) + o, gram_);
      const uint32_t slot = SlotOf(g, slotBits_);
      const uint32_t confirmSlot = ConfirmSlotOf(g, slotBits_);
      confirm_[confirmSlot >> 5] |= uint32_t{1} << (confirmSlot & 31);
      const auto [it, inserted] = compactOf.try_emplace(slot, slotUse_.size());
      if (inserted) {
        slotUse_.push_back(0);
        slotOfCompact_.push_back(slot);
      }
      ++slotUse_[it->second];
      wordCompact_.push_back(it->second);
      filter_[slot >> 5] |= uint32_t{1} << (slot & 31);
    }
  }
}

// The working state of one FirstEnds call.
struct WordSearch::Scan {
  const WordSearch& search;
  const unsigned char* text;
  size_t size;
  std::vector<uint32_t> filter;    // found words leave it
  std::vector<uint32_t> slotUse;   // the grams of words not found yet, per used slot
  std::vector<size_t> endOf;       // per distinct word
  std::vector<uint8_t> startRing;  // whether the recent positions start a character
  size_t remaining;
  size_t knownStart = 0;  // a character start at or before every later question

  Scan(const WordSearch& s, std::string_view t)
      : search(s),
        text(reinterpret_cast<const unsigned char*>(t.data())),
        size(t.size()),
        filter(s.filter_),
        slotUse(s.slotUse_),
        endOf(s.length_.size(), kAbsent),
        startRing(s.ringMask_ + 1, 0),
        remaining(s.length_.size()) {}

  // Whether `p` starts a character: the lead-range bytes just before it, back to a byte that is
  // not one or to a start known already, pair up. Asked with growing p, so linear in all.
  bool StartsCharacter(size_t p) {
    size_t q = p;
    while (q > knownStart && IsLeadRange(text[q - 1])) --q;
    const bool starts = ((p - q) & 1) == 0;
    knownStart = starts ? p : p - 1;
    return starts;
  }

  void Found(uint32_t u, size_t end) {
    endOf[u] = end;
    --remaining;
    const uint32_t* compact = search.wordCompact_.data() + size_t{u} * search.stride_;
    for (unsigned o = 0; o < search.stride_; ++o) {
      if (--slotUse[compact[o]] == 0) {
        const uint32_t slot = search.slotOfCompact_[compact[o]];
        filter[slot >> 5] &= ~(uint32_t{1} << (slot & 31));
      }
    }
  }

  // Runs the automaton from the root at `from` until it is back at the root past `through`.
  // Gives the position where skipping resumes; every start before it has been tried.
  size_t Automaton(size_t from, size_t through) {
    const WordSearch& s = search;
    bool starts = StartsCharacter(from);
    uint32_t node = 0;
    size_t j = from;
    while (j < size) {
      const unsigned char b = text[j];
      startRing[j & s.ringMask_] = starts;
      starts = !(starts && IsLeadRange(b));
      for (;;) {
        const uint32_t next = node == 0 ? s.rootNext_[b] : s.Child(node, b);
        if (next != kNone) {
          node = next;
          break;
        }
        node = s.fail_[node];
      }
      ++j;
      for (uint32_t v = s.word_[node] != kNone ? node : s.nextWord_[node]; v != kNone;
           v = s.nextWord_[v]) {
        const uint32_t u = s.word_[v];
        if (endOf[u] != kAbsent || !startRing[(j - s.length_[u]) & s.ringMask_]) continue;
        Found(u, j);
        if (remaining == 0) return size;
      }
      if (node == 0 && j > through) break;
    }
    knownStart = starts ? j : j - 1;
    return j;
  }

  bool Hit(uint32_t gram) const {
    const uint32_t slot = SlotOf(gram, search.slotBits_);
    return (filter[slot >> 5] >> (slot & 31)) & 1;
  }

  template <unsigned gram>
  void Run() {
    const size_t stride = search.stride_;
    size_t from = 0;  // every start before it has been tried
    size_t i = 0;     // the next sample; it stands for the starts i - stride + 1 .. i
    while (i + gram <= size) {
      // Four samples at a time where four bytes can be read at each.
      while (i + 3 * stride + 4 <= size &&
             !(Hit(Gram4(text + i, gram)) | Hit(Gram4(text + i + stride, gram)) |
               Hit(Gram4(text + i + 2 * stride, gram)) | Hit(Gram4(text + i + 3 * stride, gram)))) {
        i += 4 * stride;
      }
      const size_t last = std::min(i + 4 * stride, size - gram + 1);
      for (; i < last; i += stride) {
        const uint32_t g = i + 4 <= size ? Gram4(text + i, gram) : GramExact(text + i, gram);
        if (!Hit(g)) continue;
        const uint32_t confirmSlot = ConfirmSlotOf(g, search.slotBits_);
        if (!((search.confirm_[confirmSlot >> 5] >> (confirmSlot & 31)) & 1)) continue;
        from = Automaton(std::max(from, i + 1 > stride ? i + 1 - stride : 0), i);
        if (remaining == 0) return;
        i = (from + stride - 1) / stride * stride;
        break;
      }
    }
  }
};

std::vector<size_t> WordSearch::FirstEnds(std::string_view textIn) const {
  const std::string_view text = UntilNul(textIn);
  std::vector<size_t> result;
  result.reserve(wordUnique_.size());
  std::vector<size_t> endOf;
  if (!length_.empty()) {
    Scan scan(*this, text);
    if (gram_ == 1) scan.Run<1>();
    if (gram_ == 2) scan.Run<2>();
    if (gram_ == 3) scan.Run<3>();
    endOf = std::move(scan.endOf);
  }
  for (uint32_t u : wordUnique_) {
    if (u == kNone) {
      result.push_back(text.empty() ? kAbsent : 0);
    } else {
      result.push_back(endOf[u]);
    }
  }
  return result;
}

}  // namespace zv
