// The figures of the benchmark command (scripts/bench.sh), BM_Quality_*: the send-time check of
// the 1 MB and 10 MB mails under 50 patterns of 1,000 words with every check on, and the
// settings file of 10,000 patterns loaded and saved through the store beside a plain read and
// write of its lines, both on disk.
//
// Beside them, BM_Hostile_*: the time of the hostile inputs whose results
// tests/**/hostile*_test.cpp checks: texts of 10 MB with no line break made of the bytes that
// stress the character walk (lone lead bytes, 0xFF, zero bytes), and a signature block of that
// size. Huge header lines and a million header lines are timed in host_bench.cpp.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "check/patterns.h"
#include "check/send_check.h"
#include "check/word_search.h"
#include "plugin/signature.h"
#include "quality_data.h"
#include "settings/ini_file.h"
#include "settings/ini_store.h"
#include "text/lines.h"
#include "text/sjis.h"

namespace {

using zv::bench::Data;

// The settings file steps on a POSIX file system, as the plug-in takes them on Windows: a
// temporary file beside the target, written, flushed, closed, then renamed over it.
class PosixFiles final : public zv::SettingsFiles {
 public:
  bool Exists(const std::string& path) override { return std::ifstream(path).good(); }
  std::optional<std::string> ReadAll(const std::string& path) override {
    return zv::bench::ReadFile(path);
  }
  bool EnsureFolder(const std::string&) override { return true; }
  std::unique_ptr<zv::TempFile> CreateTemp(const std::string& folder) override {
    std::string path = folder + "~quality.tmp";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return nullptr;
    return std::make_unique<Temp>(std::move(path), f);
  }
  bool Replace(const std::string& source, const std::string& target) override {
    return std::rename(source.c_str(), target.c_str()) == 0;
  }
  void Remove(const std::string& path) override { std::remove(path.c_str()); }

 private:
  class Temp final : public zv::TempFile {
   public:
    Temp(std::string path, std::FILE* f) : path_(std::move(path)), f_(f) {}
    ~Temp() override { Close(); }
    const std::string& path() const override { return path_; }
    bool Write(std::string_view bytes) override {
      return std::fwrite(bytes.data(), 1, bytes.size(), f_) == bytes.size();
    }
    bool Flush() override { return std::fflush(f_) == 0; }
    bool Close() override {
      if (!f_) return true;
      const bool ok = std::fclose(f_) == 0;
      f_ = nullptr;
      return ok;
    }

   private:
    std::string path_;
    std::FILE* f_;
  };
};

class YesHost final : public zv::SendCheckHost {
 public:
  zv::Attachment TestAttachment() override { return zv::Attachment::kAbsent; }
  bool AskUser(std::string_view, std::string_view) override { return true; }
};

// The patterns as start-up gets them: the settings file parsed and loaded.
zv::PatternSettings LoadedPatterns(const std::string& path) {
  zv::IniStore store;
  store.Parse(zv::bench::ReadFile(path));
  zv::PatternSettings settings;
  zv::LoadPatterns(settings, store, [] { return false; });
  return settings;
}

// The whole check of one mail, the warning included; range(0) is the mail's size in MB.
void BM_Quality_Check(benchmark::State& state) {
  const zv::PatternSettings settings = LoadedPatterns(Data().checkSettings);
  const std::string header = zv::bench::MailHeader();
  const std::string body = zv::bench::ReadFile(state.range(0) == 1 ? Data().mail1 : Data().mail10);
  YesHost host;
  for (auto _ : state) {
    benchmark::DoNotOptimize(zv::CheckOutgoingMail(settings.table, header, body, host));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * body.size()));
}
BENCHMARK(BM_Quality_Check)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// The floor beside it: one plain pass over the same 10 MB body.
void BM_Quality_MemoryPass(benchmark::State& state) {
  const std::string body = zv::bench::ReadFile(Data().mail10);
  for (auto _ : state) benchmark::DoNotOptimize(zv::bench::MemoryPass(body));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * body.size()));
}
BENCHMARK(BM_Quality_MemoryPass)->Unit(benchmark::kMillisecond);

// A copy of the 10,000-pattern file that the benchmark may overwrite.
std::string WorkingCopy(const char* name) {
  const std::string path = Data().folder + name;
  zv::bench::WriteFile(path, zv::bench::ReadFile(Data().storeSettings));
  return path;
}

// Start-up and clean-up of the plug-in: the file read and parsed, the patterns loaded, saved
// back into the store, and the store written to the file.
void BM_Quality_StoreLoadSave(benchmark::State& state) {
  const std::string path = WorkingCopy("store-working.ini");
  PosixFiles files;
  size_t bytes = 0;
  for (auto _ : state) {
    zv::IniStore store;
    const std::string text = *files.ReadAll(path);
    store.Parse(text);
    zv::PatternSettings settings;
    zv::LoadPatterns(settings, store, [] { return false; });
    const bool saved = zv::SavePatterns(
        settings, store, [&] { return zv::ReplaceFileContents(files, path, store.Serialize()); });
    if (!saved) state.SkipWithError("save failed");
    bytes += text.size();
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_Quality_StoreLoadSave)->Unit(benchmark::kMillisecond);

// The floor: the same file read line by line and its lines written back.
void BM_Quality_PlainReadWrite(benchmark::State& state) {
  const std::string path = WorkingCopy("plain-working.ini");
  size_t bytes = 0;
  for (auto _ : state) {
    std::vector<std::string> lines;
    {
      std::ifstream in(path, std::ios::binary);
      for (std::string line; std::getline(in, line);) lines.push_back(std::move(line));
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines) {
      out.write(line.data(), static_cast<std::streamsize>(line.size()));
      out.put('\n');
      bytes += line.size() + 1;
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_Quality_PlainReadWrite)->Unit(benchmark::kMillisecond);

constexpr size_t kTenMegabytes = size_t{10} << 20;

enum Shape { kLeadBytes, kFFBytes, kHiragana };

// 10 MB of one shape, with no line break.
std::string Hostile(Shape shape) {
  switch (shape) {
    case kLeadBytes:
      return std::string(kTenMegabytes, '\x81');  // lead bytes pairing up with each other
    case kFFBytes:
      return std::string(kTenMegabytes, '\xFF');
    case kHiragana:
      break;
  }
  std::string s;
  s.reserve(kTenMegabytes);
  while (s.size() < kTenMegabytes) s += "\x82\xA0";
  return s;
}

// A sought text that matches at every trail byte but at no character start, so that every
// candidate has to be checked against the character walk.
std::string MissAtTrailBytes(Shape shape) {
  switch (shape) {
    case kLeadBytes:
      return "\x81\x81\x81z";
    case kFFBytes:
      return "\xFF\xFF\xFFz";
    case kHiragana:
      break;
  }
  return "\xA0\x82\xA0";
}

void BM_Hostile_SjisPos(benchmark::State& state) {
  const auto shape = static_cast<Shape>(state.range(0));
  const std::string text = Hostile(shape);
  const std::string sought = MissAtTrailBytes(shape);
  for (auto _ : state) benchmark::DoNotOptimize(zv::SjisPos(sought, text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_Hostile_SjisPos)->DenseRange(kLeadBytes, kHiragana)->Unit(benchmark::kMillisecond);

void BM_Hostile_SjisLengthAndCopy(benchmark::State& state) {
  const std::string text = Hostile(static_cast<Shape>(state.range(0)));
  for (auto _ : state) {
    const int n = zv::SjisLength(text);
    benchmark::DoNotOptimize(zv::SjisCopy(text, n / 2, zv::kToEnd));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_Hostile_SjisLengthAndCopy)
    ->DenseRange(kLeadBytes, kHiragana)
    ->Unit(benchmark::kMillisecond);

// A zero byte near the start: everything after it is no longer looked at.
void BM_Hostile_ZeroByteEarly(benchmark::State& state) {
  std::string text = Hostile(kHiragana);
  text[16] = '\0';
  for (auto _ : state) {
    benchmark::DoNotOptimize(zv::SjisLength(text));
    benchmark::DoNotOptimize(zv::SplitLines(text));
  }
}
BENCHMARK(BM_Hostile_ZeroByteEarly)->Unit(benchmark::kMicrosecond);

void BM_Hostile_SplitUpper(benchmark::State& state) {
  const std::string text = Hostile(static_cast<Shape>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(zv::SplitLines(text));
    benchmark::DoNotOptimize(zv::UpperSjis(text));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_Hostile_SplitUpper)->DenseRange(kLeadBytes, kHiragana)->Unit(benchmark::kMillisecond);

// A signature block that is one 10 MB line, ended by "{End}" on the same line.
void BM_Hostile_SignatureBlock(benchmark::State& state) {
  const std::string file =
      "{Begin big}\r\n" + Hostile(static_cast<Shape>(state.range(0))) + "{End}\r\n";
  for (auto _ : state) benchmark::DoNotOptimize(zv::SignatureBlockFromText(file, "BIG"));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_Hostile_SignatureBlock)
    ->DenseRange(kLeadBytes, kHiragana)
    ->Unit(benchmark::kMillisecond);

// The whole check over hostile mails, every check of one pattern on.
enum MailShape { kHugeSubject, kMillionHeaderLines, kBodyWithoutBreak, kFFBody, kLeadByteBody };

void BM_Hostile_Check(benchmark::State& state) {
  std::string header = "To: a@example.jp\r\nSubject: s\r\n";
  std::string body = "body\r\n";
  switch (static_cast<MailShape>(state.range(0))) {
    case kHugeSubject:
      header = "To: a@example.jp\r\nSubject: " + std::string(size_t{100} << 20, 'x') + "\r\n";
      break;
    case kMillionHeaderLines:
      header.clear();
      for (int i = 0; i < 1000000; ++i) header += "X-Filler: v\r\n";
      header += "To: a@example.jp\r\nSubject: s\r\n";
      break;
    case kBodyWithoutBreak:
      body = Hostile(kHiragana);
      break;
    case kFFBody:
      body = Hostile(kFFBytes);
      break;
    case kLeadByteBody:
      body = Hostile(kLeadBytes);
      break;
  }
  zv::PatternRow row = zv::DefaultPattern();
  row[1] = "a@example.jp";
  for (size_t f : {4, 5, 6, 7, 8, 9, 11}) row[f] = "True";
  row[12] = "\x95\x4B\x90\x7B";
  zv::PatternTable table;
  table.Append(row);
  YesHost host;
  for (auto _ : state) {
    benchmark::DoNotOptimize(zv::CheckOutgoingMail(table, header, body, host));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * (header.size() + body.size())));
}
BENCHMARK(BM_Hostile_Check)
    ->DenseRange(kHugeSubject, kLeadByteBody)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The word search's slow case: words whose first four bytes stand at every position of the text
// while the words themselves do not. Every position is compared with each such word, so the
// time grows with their number; range(0) words over 10 MB.
void BM_Hostile_WordSearchSharedPrefix(benchmark::State& state) {
  const std::string text(kTenMegabytes, 'x');
  std::vector<std::string> words;
  for (int k = 0; k < state.range(0); ++k) words.push_back("xxxx" + std::string(k + 1, 'x') + "y");
  const std::vector<std::string_view> views(words.begin(), words.end());
  for (auto _ : state) {
    const zv::WordSearch search(views);
    benchmark::DoNotOptimize(search.FirstEnds(text));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_Hostile_WordSearchSharedPrefix)
    ->Arg(1)
    ->Arg(4)
    ->Arg(16)
    ->Arg(100)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

}  // namespace
