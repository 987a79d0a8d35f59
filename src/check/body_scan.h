// The one pass over a mail's body that the send-time check makes: the body's lines joined with
// nothing between them (the flat body), built a small window at a time and never whole, read
// while still in the cache for the half-width kana and double-byte excerpts and for the words;
// the subject follows the flat body for the words.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "check/sjis_blocks.h"
#include "check/word_search.h"

namespace zv {

// The excerpts of a text that starts at a character start and holds no zero byte, worked out
// a block at a time as the text arrives: the half-width kana appended to `kana`, the
// double-byte characters to `zenkaku`, each as 「x」 entries until the list's limit, then "…".
// A list not wanted (null) counts as complete from the start.
class ExcerptScan {
 public:
  ExcerptScan(std::string* kana, std::string* zenkaku)
      : kana_(kana), zenkaku_(zenkaku), kanaDone_(!kana), zenkakuDone_(!zenkaku) {}

  bool done() const { return kanaDone_ && zenkakuDone_; }

  // Scans the blocks of the text before `end` not scanned yet, except a last one that still
  // lacks the byte after it, and with `final` the rest too. Byte q of the text is at
  // data[q - pos] for every q from the first byte not scanned yet (at most 64 bytes before pos)
  // to end.
  void Advance(const char* data, size_t pos, size_t end, bool final);
  // The same over a text that only grows between calls.
  void Advance(std::string_view text, bool final) { Advance(text.data(), 0, text.size(), final); }

 private:
  std::string* kana_;
  std::string* zenkaku_;
  bool kanaDone_;
  bool zenkakuDone_;
  size_t scanned_ = 0;
  TrailMasks trails_;
};

struct BodyScan {
  // Per word of the search, in its order: the end of its first occurrence in the flat body
  // directly followed by the subject, or WordSearch::kAbsent.
  std::vector<size_t> ends;
  // A word occurs in the flat body exactly when its end is at most this.
  size_t bodyEnd = 0;
};

inline constexpr size_t kBodyWindow = 16 * 1024;

// Reads `body` (up to its first zero byte) once. With `skipQuoted`, body lines whose first byte
// after blanks and tabs is ">", or whose first character there is "＞", are left out. The flat
// body's excerpts go to `kana` and `zenkaku` as ExcerptScan lists them (either may be null);
// the words of `search` (may be null) are looked for in the flat body followed by `subject`.
// `window` is the size of the window the flat body passes through.
BodyScan ScanBody(std::string_view body, std::string_view subject, bool skipQuoted,
                  std::string* kana, std::string* zenkaku, const WordSearch* search,
                  size_t window = kBodyWindow);

}  // namespace zv
