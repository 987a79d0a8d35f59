#include "check/word_search.h"

#include <gtest/gtest.h>

#include <list>
#include <random>
#include <string>
#include <vector>

#include "text/sjis.h"

namespace zv {
namespace {

constexpr size_t kAbsent = WordSearch::kAbsent;

// What the search must give for one word: the end of SjisPos's match.
size_t ExpectedEnd(std::string_view word, std::string_view text) {
  const int pos = SjisPos(word, text);
  if (pos == 0) return kAbsent;
  return SjisByteOffset(UntilNul(text), pos) + UntilNul(word).size();
}

void ExpectSameAsSjisPos(const std::vector<std::string>& words, const std::string& text) {
  const std::vector<std::string_view> views(words.begin(), words.end());
  const std::vector<size_t> ends = WordSearch(views).FirstEnds(text);
  ASSERT_EQ(ends.size(), words.size());
  for (size_t w = 0; w < words.size(); ++w) {
    ASSERT_EQ(ends[w], ExpectedEnd(words[w], text))
        << "word #" << w << " '" << words[w] << "' in '" << text << "'";
  }
}

// The search fed `text` in pieces of up to `maxPiece` bytes, each in a buffer of its own that
// holds just the bytes the stream may read in front of it.
std::vector<size_t> StreamedEnds(const std::vector<std::string>& words, std::string_view text,
                                 std::mt19937& rng, size_t maxPiece) {
  const std::vector<std::string_view> views(words.begin(), words.end());
  const WordSearch search(views);
  WordSearch::Stream stream(search);
  text = UntilNul(text);
  std::list<std::string> buffers;
  for (size_t at = 0; at < text.size();) {
    const size_t n = std::min(text.size() - at, size_t{rng() % (maxPiece + 1)});
    const size_t kept = std::min(at, WordSearch::kHistory);
    buffers.emplace_back(text.substr(at - kept, kept + n));
    stream.Feed(std::string_view(buffers.back()).substr(kept));
    if (buffers.size() > 1) buffers.pop_front();
    at += n;
  }
  stream.Finish();
  return stream.Ends();
}

std::vector<size_t> FirstEnds(const std::vector<std::string>& words, std::string_view text) {
  const std::vector<std::string_view> views(words.begin(), words.end());
  return WordSearch(views).FirstEnds(text);
}

TEST(WordSearch, Table) {
  struct Case {
    std::vector<std::string> words;
    std::string text;
    std::vector<size_t> ends;
  };
  const std::vector<Case> cases = {
      {{"A"}, "\x83\x41", {kAbsent}},  // A is the trail byte of ア
      {{"A"},
       "\x83\x41"
       "A",
       {3}},  // the real A after it
      {{"\x41"
        "b"},
       "\x83\x41"
       "b"
       "\x41"
       "b",
       {5}},                        // first candidate starts at a trail byte
      {{"\x81"}, "a\x81", {2}},     // lone lead byte at the end
      {{"\\"}, "\x95\x5C\\", {3}},  // 表 ends in 0x5C
      {{"he", "she", "his", "hers"}, "ushers", {4, 4, kAbsent, 6}},
      {{"ab", "ab", "b"}, "xab", {3, 3, 3}},  // repeated words share their answer
      {{""}, "x", {0}},
      {{""}, "", {kAbsent}},
      {{"x"}, std::string("ab\0x", 4), {kAbsent}},  // a zero byte ends the text
      {{std::string("b\0z", 3)}, "abc", {2}},       // and a word
      {{"aa", "aaa"}, "aaaa", {2, 3}},
      {{"\x82\xA0\x82\xA2"}, "\x82\x82\xA0\x82\xA2", {kAbsent}},  // 0x82 0x82 is one character
      {{"\x82\xA0\x82\xA2"}, "a\x82\xA0\x82\xA2", {5}},
      {{"abcdef", "cdefgh"}, "xxabcdefgh", {8, 10}},  // samples every fourth byte, up to the end
      // Whether a start is a character start depends on the whole run of lead bytes before it.
      {{"\x81\x81"
        "ab"},
       std::string(103, '\x81') + "ab",
       {kAbsent}},
      {{"\x81\x81"
        "ab"},
       std::string(102, '\x81') + "ab",
       {104}},
  };
  std::mt19937 rng(3);
  for (const auto& c : cases) {
    EXPECT_EQ(FirstEnds(c.words, c.text), c.ends) << c.text;
    EXPECT_EQ(StreamedEnds(c.words, c.text, rng, 10), c.ends) << c.text;
    ExpectSameAsSjisPos(c.words, c.text);
  }
}

// Bytes that make character boundaries hard: lead bytes, trail bytes that are also ASCII,
// half-width kana.
const std::string kHardBytes = "Ab\\\x81\x82\x83\x41\x5C\xA0\xB1\xE0\xFC\xFD";

// Random texts of kHardBytes, words drawn partly from the texts themselves. The longer
// texts cross several 64-byte blocks.
TEST(WordSearch, AgreesWithSjisPosOnRandomTexts) {
  std::mt19937 rng(20240611);
  auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n)(rng); };
  auto randomText = [&](size_t maxLength) {
    std::string s(pick(maxLength), ' ');
    for (char& c : s) c = kHardBytes[pick(kHardBytes.size() - 1)];
    return s;
  };
  struct Shape {
    size_t textLength, wordLength, words;
  };
  for (const Shape shape : {Shape{40, 4, 7}, Shape{300, 9, 30}}) {
    for (int round = 0; round < 2000; ++round) {
      const std::string text = randomText(shape.textLength);
      std::vector<std::string> words;
      const size_t count = 1 + pick(shape.words);
      for (size_t k = 0; k < count; ++k) {
        if (!text.empty() && pick(1) == 0) {
          const size_t from = pick(text.size() - 1);
          words.push_back(text.substr(from, 1 + pick(shape.wordLength)));
        } else {
          words.push_back(randomText(shape.wordLength));
        }
      }
      ExpectSameAsSjisPos(words, text);
      if (HasFatalFailure()) return;
      // The same text fed in pieces of random sizes, down to single bytes.
      ASSERT_EQ(StreamedEnds(words, text, rng, round % 2 ? 3 : 70), FirstEnds(words, text)) << text;
    }
  }
}

// Hundreds of words of three bytes or more, half of them from the text: the filter then has a
// slot for every two bytes.
TEST(WordSearch, ManyLongerWordsAgreeWithSjisPos) {
  std::mt19937 rng(11);
  for (int round = 0; round < 100; ++round) {
    std::string text(300, ' ');
    for (char& c : text) c = kHardBytes[rng() % kHardBytes.size()];
    std::vector<std::string> words;
    for (int k = 0; k < 300; ++k) {
      std::string word = text.substr(rng() % 290, 3 + rng() % 6);
      if (k % 2 != 0) {
        for (char& c : word) c = kHardBytes[rng() % kHardBytes.size()];
      }
      words.push_back(word);
    }
    ExpectSameAsSjisPos(words, text);
    ASSERT_EQ(StreamedEnds(words, text, rng, 70), FirstEnds(words, text)) << round;
  }
}

// Suffix chains: every word is a suffix of the longer ones, so each position reports many.
TEST(WordSearch, NestedWordsOverLongText) {
  std::vector<std::string> words;
  for (int n = 1; n <= 300; ++n) words.push_back(std::string(n, '\x82'));
  words.push_back("\x82\x41");  // never at a character start in a run of 0x82
  std::string text(100000, '\x82');
  text += "\x41";
  ExpectSameAsSjisPos(words, text);
  std::mt19937 rng(5);
  EXPECT_EQ(StreamedEnds(words, text, rng, 100), FirstEnds(words, text));
}

// Many words, most of them absent, some sharing their first bytes.
TEST(WordSearch, ManyWords) {
  std::vector<std::string> words;
  std::mt19937 rng(7);
  for (int k = 0; k < 2000; ++k) {
    std::string w(12, ' ');
    for (char& c : w) c = static_cast<char>(1 + rng() % 255);
    words.push_back(w);
  }
  words.push_back("\x83\x41");
  words.push_back("A");
  for (int k = 0; k < 50; ++k) words.push_back("\x8A\x94\x8E\xAE" + std::to_string(k));  // 株式
  words.push_back(
      "\x8A\x94\x8E\xAE"
      "7x");
  std::string text = "xx\x83\x41yy" + words[17] + "zz" + words[1999].substr(3) +
                     "\x8A\x94\x8E\xAE"
                     "7x \x8A\x94\x8E\xAE"
                     "42";
  ExpectSameAsSjisPos(words, text);
}

}  // namespace
}  // namespace zv
