// Finding many words in one pass over a Shift-JIS text, with SjisPos's rule: a match starts
// only where a character starts and may run over any bytes after that.
//
// Every word is filed under a hash of its first bytes (up to four). The scan hashes the bytes at
// each position, looks the slot up in a small table of flags, and compares whole words only at
// the few positions that pass and where a character starts (known 64 bytes at a time). A word
// that was found leaves the table, and the scan ends once every word was found. The cost is
// linear in the text for a given list of words.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zv {

class WordSearch {
 public:
  static constexpr size_t kAbsent = static_cast<size_t>(-1);

  // The words may repeat. Each is taken up to its first zero byte. The views need not outlive
  // the object.
  explicit WordSearch(const std::vector<std::string_view>& words);

  size_t wordCount() const { return wordUnique_.size(); }

  // For every word, in the order given, the byte offset just past its first occurrence in
  // `text` (read up to its first zero byte), or kAbsent: a word occurs exactly when SjisPos finds
  // it, and this is the end of SjisPos's match. An empty word "ends" at 0 in any non-empty text.
  std::vector<size_t> FirstEnds(std::string_view text) const;

 private:
  static constexpr uint32_t kNoBucket = static_cast<uint32_t>(-1);

  struct Scan;

  std::vector<std::string> unique_;   // the distinct non-empty words
  std::vector<uint32_t> wordUnique_;  // word index -> index in unique_, or kNoBucket if empty
  std::vector<uint8_t> filter_;       // 1 for each slot that holds a word
  std::vector<uint32_t> slotBucket_;  // slot -> index in buckets_, or kNoBucket
  std::vector<std::vector<uint32_t>> buckets_;  // the distinct words filed under each used slot
  unsigned keyLengths_ = 0;                     // bit k-1: some word is filed by its first k bytes
  uint32_t slotMask_ = 0;                       // slot numbers run from 0 to this
};

}  // namespace zv
