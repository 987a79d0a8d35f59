// Finding many words in one pass over a Shift-JIS text: an Aho-Corasick automaton over bytes
// whose matches count only where a character starts, exactly like SjisPos.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zv {

class WordSearch {
 public:
  static constexpr size_t kAbsent = static_cast<size_t>(-1);

  // The words may repeat; equal words share one state. Each word is taken up to its first zero
  // byte. The views need not outlive the object.
  explicit WordSearch(const std::vector<std::string_view>& words);

  size_t wordCount() const { return wordNode_.size(); }

  // For every word, in the order given, the byte offset just past its first occurrence in
  // `text` (read up to its first zero byte), or kAbsent. An occurrence starts only where a
  // character starts and may run over any bytes after that, so a word occurs exactly when
  // SjisPos finds it, and the first end belongs to SjisPos's match. An empty word "ends" at 0
  // in any non-empty text. One pass over the text; it stops early once every word was found.
  std::vector<size_t> FirstEnds(std::string_view text) const;

 private:
  static constexpr uint32_t kNone = static_cast<uint32_t>(-1);

  std::vector<size_t> FirstEndsOneByOne(std::string_view text) const;

  // Dense automaton. A transition holds the target's row offset times two, plus one when a word
  // ends at the target or at one of its suffixes, so the scan needs one load per byte.
  uint32_t classes_ = 1;                 // byte classes; class 0 holds every byte no word has
  std::array<uint16_t, 256> classOf_{};  // byte -> class
  std::vector<uint32_t> next_;           // row offset of state * classes_ + class -> transition
  std::vector<uint32_t> depth_;          // bytes from the root: the length of a word ending there
  std::vector<uint8_t> terminal_;        // a word ends at this state
  std::vector<uint32_t> dict_;           // nearest proper suffix state where a word ends, or kNone
  std::vector<uint32_t> wordNode_;       // word index -> its state (0 for an empty word)
  uint32_t distinctWords_ = 0;           // states where a word ends
  size_t ringMask_ = 0;                  // ring of recent "a character starts here" flags

  // Used instead of the automaton when its table would be too large.
  bool oneByOne_ = false;
  std::vector<std::string> words_;
};

}  // namespace zv
