// The send-time check over large mails: 50 patterns holding 1,000 words in all, mails of 1 to
// 10 MB. The time per byte should stay flat as the mail grows.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "check/send_check.h"
#include "check/word_search.h"

namespace {

// A random hiragana or kanji (JIS level 1) character, two bytes.
void AppendKana(std::mt19937& rng, std::string& s) {
  s.push_back('\x82');
  s.push_back(static_cast<char>(0x9F + rng() % 83));
}
void AppendKanji(std::mt19937& rng, std::string& s) {
  s.push_back(static_cast<char>(0x89 + rng() % 15));
  const unsigned trail = 0x40 + rng() % 188;
  s.push_back(static_cast<char>(trail >= 0x7F ? trail + 1 : trail));
}

// A body of mixed Japanese and ASCII text in lines of about 70 bytes.
std::string MailBody(size_t bytes) {
  std::mt19937 rng(1);
  std::string s;
  s.reserve(bytes + 128);
  size_t lineStart = 0;
  while (s.size() < bytes) {
    switch (rng() % 4) {
      case 0:
        s += "meeting ";
        break;
      case 1:
        AppendKanji(rng, s);
        break;
      default:
        AppendKana(rng, s);
        break;
    }
    if (s.size() - lineStart >= 70) {
      s += "\r\n";
      lineStart = s.size();
    }
  }
  return s;
}

// Kanji words of two to four characters; with 188 * 15 kanji to choose from they hardly ever
// occur by chance, so the search runs through the whole mail.
std::vector<std::string> Words(size_t count) {
  std::mt19937 rng(2);
  std::vector<std::string> words;
  for (size_t k = 0; k < count; ++k) {
    std::string w;
    const size_t chars = 2 + rng() % 3;
    for (size_t c = 0; c < chars; ++c) AppendKanji(rng, w);
    words.push_back(w);
  }
  return words;
}

std::string Join(const std::vector<std::string>& words, size_t from, size_t count) {
  std::string s;
  for (size_t k = from; k < from + count; ++k) s += words[k] + "\r\n";
  return s;
}

// 50 patterns of 10 forbidden and 10 required words each, every check but Always on.
zv::PatternTable Patterns() {
  const std::vector<std::string> words = Words(1000);
  zv::PatternTable table;
  for (size_t p = 0; p < 50; ++p) {
    table.Append({"pattern " + std::to_string(p), "", "False", "False", "True", "True", "True",
                  "True", "True", "True", Join(words, p * 20, 10), "True",
                  Join(words, p * 20 + 10, 10)});
  }
  return table;
}

class YesHost : public zv::SendCheckHost {
 public:
  zv::Attachment TestAttachment() override { return zv::Attachment::kAbsent; }
  bool AskUser(std::string_view, std::string_view) override { return true; }
};

void BM_CheckOutgoingMail(benchmark::State& state) {
  const zv::PatternTable table = Patterns();
  const std::string header = "To: someone@example.jp\r\nSubject: meeting\r\n";
  const std::string body = MailBody(static_cast<size_t>(state.range(0)));
  YesHost host;
  for (auto _ : state) benchmark::DoNotOptimize(zv::CheckOutgoingMail(table, header, body, host));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_CheckOutgoingMail)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);

// The word search alone over a flat 10 MB text.
void BM_WordSearch(benchmark::State& state) {
  const std::vector<std::string> words = Words(static_cast<size_t>(state.range(0)));
  const std::vector<std::string_view> views(words.begin(), words.end());
  std::string text = MailBody(10 << 20);
  std::erase(text, '\r');
  std::erase(text, '\n');
  for (auto _ : state) {
    const zv::WordSearch search(views);
    benchmark::DoNotOptimize(search.FirstEnds(text));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (10 << 20));
}
BENCHMARK(BM_WordSearch)->Arg(10)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
