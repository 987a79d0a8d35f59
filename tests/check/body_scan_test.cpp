#include "check/body_scan.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "check/send_check.h"
#include "text/lines.h"
#include "text/sjis.h"

namespace zv {
namespace {

// The flat body the plain way: the lines split and joined, quoted ones left out on request.
std::string FlatBody(std::string_view body, bool skipQuoted) {
  std::string flat;
  ForEachLine(body, [&](std::string_view line) {
    const size_t at = line.find_first_not_of(" \t");
    const bool quoted =
        at != std::string_view::npos && (line[at] == '>' || line.substr(at, 2) == "\x81\x84");
    if (!(skipQuoted && quoted)) flat.append(line);
  });
  return flat;
}

// Random bodies over line breaks, quote marks, blanks, lead and trail bytes and half-width
// kana, through windows from one byte up, against the whole flat body scanned at once.
TEST(ScanBody, AnyWindowGivesWhatTheWholeFlatBodyGives) {
  const std::string alphabet = "ab >\t\r\n\x81\x84\x82\xA0\xB1\x83\x41\xE0";
  std::mt19937 rng(11);
  auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n)(rng); };
  auto randomText = [&](size_t maxLength) {
    std::string s(pick(maxLength), ' ');
    for (char& c : s) c = alphabet[pick(alphabet.size() - 1)];
    return s;
  };
  for (int round = 0; round < 3000; ++round) {
    std::string body = randomText(round % 10 == 0 ? 700 : 120);
    if (round % 7 == 0) body += std::string(1, '\0') + "ab";  // a zero byte ends the body
    const std::string subject = randomText(6);
    const bool skipQuoted = round % 2 == 1;
    std::vector<std::string> words;
    for (size_t k = 0, n = 1 + pick(5); k < n; ++k) words.push_back(randomText(4));
    const std::vector<std::string_view> views(words.begin(), words.end());
    const WordSearch search(views);

    const std::string flat = FlatBody(body, skipQuoted);
    const std::vector<size_t> want = search.FirstEnds(flat + subject);
    for (size_t window : {size_t{0}, size_t{5}, size_t{40}, kBodyWindow}) {  // 0 works as 1
      std::string kana, zenkaku;
      const BodyScan scan = ScanBody(body, subject, skipQuoted, &kana, &zenkaku, &search, window);
      ASSERT_EQ(kana, KanaExcerpt(flat)) << window << " " << body;
      ASSERT_EQ(zenkaku, ZenkakuExcerpt(flat)) << window << " " << body;
      ASSERT_EQ(scan.ends, want) << window << " " << body;
      // The scan may stop early, once everything is found; a word counts in the body alike.
      for (size_t w = 0; w < want.size(); ++w) {
        ASSERT_EQ(scan.ends[w] <= scan.bodyEnd, want[w] <= flat.size()) << window << " " << body;
      }
    }
  }
}

}  // namespace
}  // namespace zv
