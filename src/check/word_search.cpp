#include "check/word_search.h"

#include "text/sjis.h"

namespace zv {

namespace {

// Bytes taken by the character that starts with a given byte.
constexpr std::array<uint8_t, 256> MakeCharLengths() {
  std::array<uint8_t, 256> lengths{};
  for (int b = 0; b < 256; ++b) lengths[b] = IsSjisLeadByte(static_cast<unsigned char>(b)) ? 2 : 1;
  return lengths;
}
constexpr std::array<uint8_t, 256> kCharLength = MakeCharLengths();

// Above this many table entries (16 MB) the dense automaton costs too much memory; the search
// then runs one SjisPos per word, still linear in the text for a given list of words.
constexpr size_t kMaxTableEntries = size_t{1} << 22;

}  // namespace

WordSearch::WordSearch(const std::vector<std::string_view>& rawWords) {
  std::vector<std::string_view> words;
  words.reserve(rawWords.size());
  size_t totalBytes = 0;
  for (std::string_view w : rawWords) {
    words.push_back(UntilNul(w));
    totalBytes += words.back().size();
  }

  for (std::string_view w : words) {
    for (unsigned char b : w) {
      if (classOf_[b] == 0) classOf_[b] = static_cast<uint16_t>(classes_++);
    }
  }
  const size_t C = classes_;
  if ((totalBytes + 1) * C > kMaxTableEntries) {
    oneByOne_ = true;
    words_.assign(words.begin(), words.end());
    return;
  }

  // The trie, with kNone for a missing child; rows hold plain state numbers while building.
  next_.assign(C, kNone);
  depth_.assign(1, 0);
  terminal_.assign(1, 0);
  wordNode_.reserve(words.size());
  uint32_t maxDepth = 0;
  for (std::string_view w : words) {
    uint32_t s = 0;
    for (unsigned char b : w) {
      uint32_t& child = next_[s * C + classOf_[b]];
      if (child == kNone) {
        child = static_cast<uint32_t>(depth_.size());
        depth_.push_back(depth_[s] + 1);
        terminal_.push_back(0);
        next_.resize(next_.size() + C, kNone);
      }
      s = next_[s * C + classOf_[b]];  // `child` may dangle after the resize
    }
    if (s != 0 && !terminal_[s]) {
      terminal_[s] = 1;
      ++distinctWords_;
    }
    wordNode_.push_back(s);
    if (depth_[s] > maxDepth) maxDepth = depth_[s];
  }

  // Failure links in breadth-first order turn the trie into a full automaton; a state's dict
  // link is the nearest suffix state where a word ends.
  const size_t states = depth_.size();
  std::vector<uint32_t> fail(states, 0);
  dict_.assign(states, kNone);
  std::vector<uint32_t> queue;
  queue.reserve(states);
  for (size_t c = 0; c < C; ++c) {
    uint32_t& t = next_[c];
    if (t == kNone) {
      t = 0;
    } else {
      queue.push_back(t);
    }
  }
  for (size_t head = 0; head < queue.size(); ++head) {
    const uint32_t s = queue[head];
    for (size_t c = 0; c < C; ++c) {
      uint32_t& t = next_[s * C + c];
      const uint32_t viaFail = next_[fail[s] * C + c];
      if (t == kNone) {
        t = viaFail;
      } else {
        fail[t] = viaFail;
        dict_[t] = terminal_[viaFail] ? viaFail : dict_[viaFail];
        queue.push_back(t);
      }
    }
  }

  // Final encoding: row offsets, doubled, with the output bit.
  for (uint32_t& t : next_) {
    const bool output = terminal_[t] || dict_[t] != kNone;
    t = static_cast<uint32_t>(t * C * 2 + (output ? 1 : 0));
  }

  size_t ring = 1;
  while (ring <= maxDepth) ring <<= 1;
  ringMask_ = ring - 1;
}

std::vector<size_t> WordSearch::FirstEnds(std::string_view text) const {
  text = UntilNul(text);
  if (oneByOne_) return FirstEndsOneByOne(text);

  const size_t states = depth_.size();
  std::vector<size_t> endOf(states, kAbsent);
  // Dict links with found states skipped over (path compression), so a state's chain costs
  // only its words that are still missing.
  std::vector<uint32_t> jump(dict_);
  auto live = [&](uint32_t t) {
    uint32_t r = t;
    while (r != kNone && endOf[r] != kAbsent) r = jump[r];
    while (t != kNone && endOf[t] != kAbsent) {
      const uint32_t after = jump[t];
      jump[t] = r;
      t = after;
    }
    return r;
  };

  uint32_t remaining = distinctWords_;
  if (remaining > 0) {
    std::vector<uint8_t> starts(ringMask_ + 1, 0);
    const uint32_t* next = next_.data();
    const uint32_t C = classes_;
    uint32_t row = 0;
    size_t nextStart = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      const unsigned char b = static_cast<unsigned char>(text[i]);
      const size_t isStart = (i == nextStart);
      nextStart += isStart * kCharLength[b];
      starts[i & ringMask_] = static_cast<uint8_t>(isStart);
      const uint32_t t = next[row + classOf_[b]];
      row = t >> 1;
      if (!(t & 1)) continue;

      const uint32_t state = row / C;
      for (uint32_t w = live(terminal_[state] ? state : dict_[state]); w != kNone;
           w = live(jump[w])) {
        if (starts[(i + 1 - depth_[w]) & ringMask_]) {
          endOf[w] = i + 1;
          if (--remaining == 0) break;
        }
      }
      if (remaining == 0) break;
    }
  }

  std::vector<size_t> result;
  result.reserve(wordNode_.size());
  for (uint32_t node : wordNode_) {
    if (node == 0) {
      result.push_back(text.empty() ? kAbsent : 0);
    } else {
      result.push_back(endOf[node]);
    }
  }
  return result;
}

std::vector<size_t> WordSearch::FirstEndsOneByOne(std::string_view text) const {
  std::vector<size_t> result;
  result.reserve(words_.size());
  for (const std::string& w : words_) {
    const int pos = SjisPos(w, text);
    result.push_back(pos == 0 ? kAbsent : SjisByteOffset(text, pos) + w.size());
  }
  return result;
}

}  // namespace zv
