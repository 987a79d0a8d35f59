// Hashing and looking up texts so that a scan can find every suffix, prefix or one-letter
// variant of a text in the lists without building those strings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zv {

// H(s) = s[0] + s[1]·B + s[2]·B² + … modulo 2^64 (bytes as unsigned). A scan extends it by a
// byte at either end: from the back h = c + B·h, from the front h += c·B^k. Different texts
// may share a hash; every lookup compares the texts themselves.
inline constexpr uint64_t kHashBase = 0x100000001B3ull;

inline uint64_t HashOf(std::string_view s) {
  uint64_t h = 0;
  for (size_t i = s.size(); i-- > 0;) h = static_cast<unsigned char>(s[i]) + kHashBase * h;
  return h;
}

// A set of texts, each kept with the number it was first added under. Open addressing, at most
// half full, so that a text that is not there costs about one probe.
class TextIndex {
 public:
  static constexpr uint32_t kNone = 0xFFFFFFFFu;

  // Room for `count` texts without growing.
  void Reserve(size_t count);
  // Adds `text` under `id` unless it is there already; gives the id it is kept under.
  uint32_t Add(std::string_view text, uint32_t id);
  // The id of `text`, whose HashOf is `hash`; kNone when it is not there.
  uint32_t Find(std::string_view text, uint64_t hash) const;
  uint32_t Find(std::string_view text) const { return Find(text, HashOf(text)); }
  size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }

 private:
  struct Entry {
    size_t offset = 0, length = 0;
    uint32_t id = 0;
  };
  struct Slot {
    uint64_t hash = 0;
    uint32_t entry = 0;  // entry number + 1; 0 is a free slot
  };
  // The first slot to probe: the hash's well-mixed top bits.
  size_t SlotOf(uint64_t hash) const {
    return static_cast<size_t>((hash * 0x9E3779B97F4A7C15ull) >> shift_);
  }
  bool Holds(const Slot& slot, std::string_view text, uint64_t hash) const;
  void Rehash(size_t capacity);

  std::string text_;  // every text, one after the other
  std::vector<Entry> entries_;
  std::vector<Slot> slots_;
  unsigned shift_ = 64;
};

}  // namespace zv
