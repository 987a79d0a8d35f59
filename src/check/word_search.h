// Finding many words in one pass over a Shift-JIS text, with SjisPos's rule: a match starts
// only where a character starts and may run over any bytes after that.
//
// The scan skips: with m the length of the shortest word, every occurrence holds a gram of its
// first bytes at one of the sample positions taken every few bytes, so only the samples are
// looked up, eight at a time, in a table indexed by a gram's first two bytes as they stand that
// holds the grams' third bytes. Where a sample hits and a word's first bytes stand at one of
// the starts it covers, a multi-word automaton (a trie of the words with failure links) runs
// from the first of those starts until it is back at its root; it reads each byte once whatever
// the number of words, and a match counts where the lead-range bytes just before its start pair
// up. A word that was found leaves the table, and the scan ends once every word was found.
// Linear in the text.
//
// The text may arrive in pieces (Stream), so that a caller can search a text it builds in a
// small window without ever holding all of it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zv {

class WordSearch {
 public:
  static constexpr size_t kAbsent = static_cast<size_t>(-1);
  // How many bytes of the earlier pieces a Stream reads in front of a new piece.
  static constexpr size_t kHistory = 16;

  // The words may repeat. Each is taken up to its first zero byte. The views need not outlive
  // the object.
  explicit WordSearch(const std::vector<std::string_view>& words);

  size_t wordCount() const { return wordUnique_.size(); }

  // For every word, in the order given, the byte offset just past its first occurrence in
  // `text` (read up to its first zero byte), or kAbsent: a word occurs exactly when SjisPos finds
  // it, and this is the end of SjisPos's match. An empty word "ends" at 0 in any non-empty text.
  std::vector<size_t> FirstEnds(std::string_view text) const;

  // One search over a text given piece by piece; the search must outlive it.
  class Stream {
   public:
    explicit Stream(const WordSearch& search);
    ~Stream();
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    // Appends `piece`, which holds no zero byte, to the text. The last kHistory bytes given
    // before it (fewer at the start) must stand in memory directly in front of piece.data(),
    // as they do when the pieces are parts of one buffer or of a window that keeps its tail.
    void Feed(std::string_view piece);
    // Ends the text; Feed may not follow.
    void Finish();
    // Every word was found: nothing later in the text can change the answer.
    bool done() const;
    // FirstEnds of the text given so far; after Finish, of the whole text.
    std::vector<size_t> Ends() const;

   private:
    struct State;
    std::unique_ptr<State> state_;
  };

 private:
  static constexpr uint32_t kNone = static_cast<uint32_t>(-1);

  uint32_t Child(uint32_t node, unsigned char byte) const;
  uint32_t AddChild(uint32_t node, unsigned char byte);

  std::vector<uint32_t> wordUnique_;  // word index -> distinct word, or kNone if empty
  std::vector<uint32_t> length_;      // per distinct word

  // The automaton: node 0 is the root; edges in an open-addressed table keyed by node and byte.
  std::vector<uint64_t> edgeKey_;  // node << 8 | byte, plus 1; 0 marks a free place
  std::vector<uint32_t> edgeChild_;
  uint32_t edgeShift_ = 0;          // hash to place: the top bits
  std::vector<uint32_t> rootNext_;  // the root's move for every byte (0 when none)
  std::vector<uint32_t> fail_;      // the longest proper suffix that is a node
  std::vector<uint32_t> word_;      // the distinct word ending at a node, or kNone
  std::vector<uint32_t> nextWord_;  // the nearest proper suffix node where a word ends
  size_t ringMask_ = 0;  // character-start flags kept for the last (longest word) positions

  // The skip filter over grams of `gram_` bytes at every `stride_`-th position, and the
  // confirming table of the words' first `prefix_` bytes.
  unsigned gram_ = 0;
  unsigned stride_ = 1;
  unsigned confirmBits_ = 0;
  uint32_t slotMask_ = 0;                // a gram's slot: its first bytes under this mask
  std::vector<uint16_t> filter_;         // per slot: the grams' third bytes, or several
  unsigned prefix_ = 0;                  // the bytes of each word the confirming table holds
  std::vector<uint32_t> confirm_;        // bit per slot: some word starts with such bytes
  std::vector<uint32_t> slotUse_;        // per used slot (compact), the grams filed there
  std::vector<uint32_t> slotOfCompact_;  // compact index -> slot
  std::vector<uint32_t> wordCompact_;    // per distinct word, stride_ compact indices
};

}  // namespace zv
