#include "recipients/look_alike.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "recipients/text_index.h"
#include "text/sjis.h"

namespace zv {

namespace {

size_t CharAt(std::string_view s, size_t pos) {
  return IsSjisLeadByte(s[pos]) && pos + 1 < s.size() ? 2 : 1;
}

// Where each character of `s` starts, and its end as the last entry.
void CharStarts(std::string_view s, std::vector<size_t>& starts) {
  starts.clear();
  for (size_t i = 0; i < s.size(); i += CharAt(s, i)) starts.push_back(i);
  starts.push_back(s.size());
}

// The hashes of a text's prefixes and suffixes and the powers of the base up to its length, so
// that the hash of the text with one character cut out or two swapped takes a few operations.
class Variants {
 public:
  void Load(std::string_view s) {
    s_ = s;
    const size_t n = s.size();
    prefix_.assign(n + 1, 0);
    suffix_.assign(n + 1, 0);
    power_.assign(n + 1, 1);
    for (size_t i = 0; i < n; ++i) {
      prefix_[i + 1] = prefix_[i] + static_cast<unsigned char>(s[i]) * power_[i];
      power_[i + 1] = power_[i] * kHashBase;
    }
    for (size_t i = n; i-- > 0;) {
      suffix_[i] = static_cast<unsigned char>(s[i]) + kHashBase * suffix_[i + 1];
    }
  }
  uint64_t Whole() const { return suffix_[0]; }
  // The text without the bytes [a, b).
  uint64_t Without(size_t a, size_t b) const { return prefix_[a] + power_[a] * suffix_[b]; }
  // The text with the characters [a, m) and [m, b) swapped.
  uint64_t Swapped(size_t a, size_t m, size_t b) const {
    const size_t moved = a + (b - m);
    return prefix_[a] + power_[a] * HashOf(s_.substr(m, b - m)) +
           power_[moved] * HashOf(s_.substr(a, m - a)) + power_[b] * suffix_[b];
  }

 private:
  std::string_view s_;
  std::vector<uint64_t> prefix_, suffix_, power_;
};

// What a key stands for: a whole domain, a domain with one character dropped (by the length
// left), or one with the character at a given byte dropped (by that byte and the length left).
enum class Kind : uint64_t { kWhole = 1, kDropped = 2, kDroppedAt = 3 };

uint64_t Key(Kind kind, uint64_t hash, size_t length, size_t at = 0) {
  uint64_t k = hash ^ (static_cast<uint64_t>(kind) * 0x9E3779B97F4A7C15ull);
  k ^= (static_cast<uint64_t>(length) + 1) * 0xC2B2AE3D27D4EB4Full;
  k ^= (static_cast<uint64_t>(at) + 1) * 0x165667B19E3779F9ull;
  return k;
}

// Keys with the domains they stand for, several per key; open addressing, at most a quarter
// full, since most lookups find nothing.
class KeyTable {
 public:
  void Add(uint64_t key, uint32_t domain) {
    if ((count_ + 1) * 4 > slots_.size()) Grow();
    Put(key, domain);
    ++count_;
  }
  template <typename Visit>
  void ForEach(uint64_t key, Visit&& visit) const {
    if (slots_.empty()) return;
    for (size_t s = SlotOf(key);; s = (s + 1) & (slots_.size() - 1)) {
      if (slots_[s].domain == 0) return;
      if (slots_[s].key == key) visit(slots_[s].domain - 1);
    }
  }

 private:
  struct Slot {
    uint64_t key = 0;
    uint32_t domain = 0;  // domain number + 1; 0 is free
  };
  size_t SlotOf(uint64_t key) const {
    return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> shift_);
  }
  void Put(uint64_t key, uint32_t domain) {
    size_t s = SlotOf(key);
    while (slots_[s].domain != 0) s = (s + 1) & (slots_.size() - 1);
    slots_[s] = {key, domain + 1};
  }
  void Grow() {
    std::vector<Slot> old;
    old.swap(slots_);
    const size_t capacity = old.empty() ? 64 : old.size() * 2;
    unsigned bits = 0;
    while ((size_t{1} << bits) < capacity) ++bits;
    shift_ = 64 - bits;
    slots_.assign(capacity, Slot{});
    for (const Slot& slot : old) {
      if (slot.domain != 0) Put(slot.key, slot.domain - 1);
    }
  }

  std::vector<Slot> slots_;
  size_t count_ = 0;
  unsigned shift_ = 64;
};

}  // namespace

bool OneEditApart(std::string_view a, std::string_view b) {
  std::vector<size_t> ca, cb;
  CharStarts(a, ca);
  CharStarts(b, cb);
  if (ca.size() > cb.size()) {
    std::swap(a, b);
    std::swap(ca, cb);
  }
  const size_t na = ca.size() - 1, nb = cb.size() - 1;
  auto charOf = [](std::string_view s, const std::vector<size_t>& c, size_t i) {
    return s.substr(c[i], c[i + 1] - c[i]);
  };
  // Characters equal from the front, then from the back.
  size_t front = 0;
  while (front < na && front < nb && charOf(a, ca, front) == charOf(b, cb, front)) ++front;
  size_t back = 0;
  while (back < na - front && back < nb - front &&
         charOf(a, ca, na - 1 - back) == charOf(b, cb, nb - 1 - back)) {
    ++back;
  }
  if (na == nb) {
    if (front + back + 1 == na) return true;  // one changed
    return front + back + 2 == na && charOf(a, ca, front) == charOf(b, cb, front + 1) &&
           charOf(a, ca, front + 1) == charOf(b, cb, front);  // two swapped
  }
  if (nb == na + 1) return front + back >= na;  // one inserted
  return false;
}

std::vector<size_t> FindLookAlikes(const std::vector<std::string_view>& domains,
                                   const std::vector<std::string_view>& known) {
  std::vector<size_t> found(domains.size(), known.size());
  if (domains.empty()) return found;
  // Each domain whole, with each character dropped, and with the character at each byte
  // dropped.
  KeyTable table;
  Variants v;
  std::vector<size_t> c;
  size_t shortest = SIZE_MAX, longest = 0;
  for (uint32_t d = 0; d < domains.size(); ++d) {
    const std::string_view n = domains[d];
    shortest = std::min(shortest, n.size());
    longest = std::max(longest, n.size());
    v.Load(n);
    CharStarts(n, c);
    table.Add(Key(Kind::kWhole, v.Whole(), n.size()), d);
    for (size_t i = 0; i + 1 < c.size(); ++i) {
      const uint64_t h = v.Without(c[i], c[i + 1]);
      const size_t left = n.size() - (c[i + 1] - c[i]);
      table.Add(Key(Kind::kDropped, h, left), d);
      table.Add(Key(Kind::kDroppedAt, h, left, c[i]), d);
    }
  }
  // Each entry in list order; a domain takes the first entry that proves one edit apart. The
  // entry whose last proof was tried against a domain, so that no pair is tried twice.
  std::vector<size_t> tried(domains.size(), known.size());
  size_t open = domains.size();
  auto consider = [&](uint32_t d, size_t k) {
    if (found[d] != known.size() || tried[d] == k) return;
    tried[d] = k;
    if (OneEditApart(domains[d], known[k])) {
      found[d] = k;
      --open;
    }
  };
  for (size_t k = 0; k < known.size() && open > 0; ++k) {
    const std::string_view e = known[k];
    // One edit changes the length by at most one character, two bytes.
    if (e.size() + 2 < shortest || e.size() > longest + 2) continue;
    v.Load(e);
    CharStarts(e, c);
    // The entry is a domain with one character dropped.
    table.ForEach(Key(Kind::kDropped, v.Whole(), e.size()), [&](uint32_t d) { consider(d, k); });
    for (size_t i = 0; i + 1 < c.size(); ++i) {
      const uint64_t h = v.Without(c[i], c[i + 1]);
      const size_t left = e.size() - (c[i + 1] - c[i]);
      // A domain is the entry with one character dropped, or both with the same one changed.
      table.ForEach(Key(Kind::kWhole, h, left), [&](uint32_t d) { consider(d, k); });
      table.ForEach(Key(Kind::kDroppedAt, h, left, c[i]), [&](uint32_t d) { consider(d, k); });
      // A domain is the entry with two neighbours swapped.
      if (i + 2 < c.size()) {
        table.ForEach(Key(Kind::kWhole, v.Swapped(c[i], c[i + 1], c[i + 2]), e.size()),
                      [&](uint32_t d) { consider(d, k); });
      }
    }
  }
  return found;
}

}  // namespace zv
