#include "recipients/text_index.h"

namespace zv {

bool TextIndex::Holds(const Slot& slot, std::string_view text, uint64_t hash) const {
  if (slot.hash != hash) return false;
  const Entry& e = entries_[slot.entry - 1];
  return std::string_view(text_).substr(e.offset, e.length) == text;
}

uint32_t TextIndex::Find(std::string_view text, uint64_t hash) const {
  if (slots_.empty()) return kNone;
  const size_t mask = slots_.size() - 1;
  for (size_t s = SlotOf(hash);; s = (s + 1) & mask) {
    const Slot& slot = slots_[s];
    if (slot.entry == 0) return kNone;
    if (Holds(slot, text, hash)) return entries_[slot.entry - 1].id;
  }
}

uint32_t TextIndex::Add(std::string_view text, uint32_t id) {
  if ((entries_.size() + 1) * 2 > slots_.size()) Rehash(slots_.empty() ? 16 : slots_.size() * 2);
  const uint64_t hash = HashOf(text);
  const size_t mask = slots_.size() - 1;
  size_t s = SlotOf(hash);
  for (; slots_[s].entry != 0; s = (s + 1) & mask) {
    if (Holds(slots_[s], text, hash)) return entries_[slots_[s].entry - 1].id;
  }
  entries_.push_back({text_.size(), text.size(), id});
  text_.append(text);
  slots_[s] = {hash, static_cast<uint32_t>(entries_.size())};
  return id;
}

void TextIndex::Reserve(size_t count) {
  size_t capacity = slots_.empty() ? 16 : slots_.size();
  while (capacity < count * 2) capacity *= 2;
  if (capacity > slots_.size()) Rehash(capacity);
  entries_.reserve(count);
}

void TextIndex::Rehash(size_t capacity) {
  unsigned bits = 0;
  while ((size_t{1} << bits) < capacity) ++bits;
  shift_ = 64 - bits;
  std::vector<Slot> old;
  old.swap(slots_);
  slots_.assign(capacity, Slot{});
  for (const Slot& slot : old) {
    if (slot.entry == 0) continue;
    size_t s = SlotOf(slot.hash);
    while (slots_[s].entry != 0) s = (s + 1) & (capacity - 1);
    slots_[s] = slot;
  }
}

}  // namespace zv
