#include "check/word_search.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <unordered_map>
#include <utility>

#include "check/sjis_blocks.h"
#include "text/sjis.h"

namespace zv {

static_assert(std::endian::native == std::endian::little, "keys hold the first byte lowest");

namespace {

constexpr uint32_t kKeyMask[5] = {0, 0xFF, 0xFFFF, 0xFFFFFF, 0xFFFFFFFF};
constexpr unsigned kMaxSlotBits = 16;  // a table of 64 KB at most

uint32_t Load4(const unsigned char* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

// Up to four bytes from p, zeros past the `avail` bytes that exist.
uint32_t LoadUpTo4(const unsigned char* p, size_t avail) {
  uint32_t v = 0;
  for (size_t k = 0; k < 4 && k < avail; ++k) v |= static_cast<uint32_t>(p[k]) << (8 * k);
  return v;
}

// The slot of a word filed by its first `k` bytes, the low bytes of `v`.
uint32_t Slot(uint32_t v, unsigned k, uint32_t mask) {
  return (((v & kKeyMask[k]) * 0x9E3779B1u + k * 0x85EBCA77u) >> (32 - kMaxSlotBits)) & mask;
}

}  // namespace

WordSearch::WordSearch(const std::vector<std::string_view>& words) {
  std::unordered_map<std::string_view, uint32_t> ids;
  wordUnique_.reserve(words.size());
  for (std::string_view w : words) {
    w = UntilNul(w);
    if (w.empty()) {
      wordUnique_.push_back(kNoBucket);
      continue;
    }
    const auto [it, inserted] = ids.try_emplace(w, static_cast<uint32_t>(unique_.size()));
    if (inserted) unique_.emplace_back(w);
    wordUnique_.push_back(it->second);
  }

  // About 64 slots per word keeps false hits rare while the table stays in the fastest cache.
  unsigned bits = 8;
  while (bits < kMaxSlotBits && (size_t{1} << bits) < unique_.size() * 64) ++bits;
  slotMask_ = (uint32_t{1} << bits) - 1;
  filter_.assign(size_t{1} << bits, 0);
  slotBucket_.assign(size_t{1} << bits, kNoBucket);
  for (uint32_t u = 0; u < unique_.size(); ++u) {
    const std::string& w = unique_[u];
    const unsigned k = static_cast<unsigned>(std::min<size_t>(w.size(), 4));
    keyLengths_ |= 1u << (k - 1);
    const uint32_t slot =
        Slot(LoadUpTo4(reinterpret_cast<const unsigned char*>(w.data()), w.size()), k, slotMask_);
    if (slotBucket_[slot] == kNoBucket) {
      slotBucket_[slot] = static_cast<uint32_t>(buckets_.size());
      buckets_.emplace_back();
      filter_[slot] = 1;
    }
    buckets_[slotBucket_[slot]].push_back(u);
  }
}

// The working state of one FirstEnds call.
struct WordSearch::Scan {
  const WordSearch& search;
  const unsigned char* text;
  size_t size;
  std::vector<uint8_t> filter;  // found words leave it
  std::vector<uint32_t> alive;  // per bucket, the words not found yet
  std::vector<size_t> endOf;    // per distinct word
  size_t remaining;

  Scan(const WordSearch& s, std::string_view t)
      : search(s),
        text(reinterpret_cast<const unsigned char*>(t.data())),
        size(t.size()),
        filter(s.filter_),
        endOf(s.unique_.size(), kAbsent),
        remaining(s.unique_.size()) {
    alive.reserve(s.buckets_.size());
    for (const auto& bucket : s.buckets_) alive.push_back(static_cast<uint32_t>(bucket.size()));
  }

  // Compares the words filed under the bytes at `pos`, a character start. True once every word
  // has been found.
  bool Verify(size_t pos) {
    const size_t avail = size - pos;
    const uint32_t v = LoadUpTo4(text + pos, avail);
    for (unsigned k = 1; k <= 4 && k <= avail; ++k) {
      if (!(search.keyLengths_ & (1u << (k - 1)))) continue;
      const uint32_t slot = Slot(v, k, search.slotMask_);
      if (!filter[slot]) continue;
      const uint32_t b = search.slotBucket_[slot];
      for (uint32_t u : search.buckets_[b]) {
        const std::string& w = search.unique_[u];
        if (endOf[u] != kAbsent || w.size() > avail ||
            std::memcmp(text + pos, w.data(), w.size()) != 0) {
          continue;
        }
        endOf[u] = pos + w.size();
        if (--alive[b] == 0) filter[slot] = 0;
        if (--remaining == 0) return true;
      }
    }
    return false;
  }

  // 1 when some word may start at the bytes `v`, of which `avail` exist.
  template <unsigned kKeyLengths>
  uint8_t Probe(const uint8_t* flags, uint32_t mask, uint32_t v, size_t avail) const {
    uint8_t hit = 0;
    if constexpr ((kKeyLengths & 1) != 0) hit |= flags[Slot(v, 1, mask)];
    if constexpr ((kKeyLengths & 2) != 0) hit |= avail >= 2 ? flags[Slot(v, 2, mask)] : 0;
    if constexpr ((kKeyLengths & 4) != 0) hit |= avail >= 3 ? flags[Slot(v, 3, mask)] : 0;
    if constexpr ((kKeyLengths & 8) != 0) hit |= avail >= 4 ? flags[Slot(v, 4, mask)] : 0;
    return hit;
  }

  template <unsigned kKeyLengths>
  void Run() {
    TrailMasks trails;
    const uint32_t mask = search.slotMask_;
    // One flag byte per position of a block, gathered into a bit mask afterwards.
    alignas(8) std::array<uint8_t, kBlockBytes> hits;
    for (size_t base = 0; base < size; base += kBlockBytes) {
      const unsigned char* s = text + base;
      const size_t len = std::min(kBlockBytes, size - base);
      const uint8_t* flags = filter.data();
      if (base + kBlockBytes + 3 <= size) {
        for (size_t i = 0; i < kBlockBytes; ++i) {
          hits[i] = Probe<kKeyLengths>(flags, mask, Load4(s + i), 4);
        }
      } else {
        hits.fill(0);
        for (size_t i = 0; i < len; ++i) {
          const size_t avail = size - base - i;
          hits[i] = Probe<kKeyLengths>(flags, mask, LoadUpTo4(s + i, avail), avail);
        }
      }
      uint64_t candidates = 0;
      for (size_t i = 0; i < kBlockBytes; i += 8) {
        uint64_t eight;
        std::memcpy(&eight, hits.data() + i, 8);
        candidates |= sjis_blocks_detail::Gather(eight << 7) << i;
      }
      candidates &= ~trails.Next(ClassifyBlock(s, len).leadRange);
      for (; candidates != 0; candidates &= candidates - 1) {
        if (Verify(base + LowestBit(candidates))) return;
      }
    }
  }

  // Run, compiled for each set of key lengths.
  void RunFor(unsigned keyLengths) {
    static constexpr auto kRunners =
        []<unsigned... kKeys>(std::integer_sequence<unsigned, kKeys...>) {
      return std::array<void (Scan::*)(), sizeof...(kKeys)>{&Scan::Run<kKeys>...};
    }
    (std::make_integer_sequence<unsigned, 16>());
    (this->*kRunners[keyLengths])();
  }
};

std::vector<size_t> WordSearch::FirstEnds(std::string_view textIn) const {
  const std::string_view text = UntilNul(textIn);
  Scan scan(*this, text);
  if (scan.remaining > 0) scan.RunFor(keyLengths_);
  std::vector<size_t> result;
  result.reserve(wordUnique_.size());
  for (uint32_t u : wordUnique_) {
    if (u == kNoBucket) {
      result.push_back(text.empty() ? kAbsent : 0);
    } else {
      result.push_back(scan.endOf[u]);
    }
  }
  return result;
}

}  // namespace zv
