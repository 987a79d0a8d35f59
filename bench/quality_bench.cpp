// Time of the hostile inputs whose results tests/**/hostile*_test.cpp checks: texts of 10 MB
// with no line break made of the bytes that stress the character walk (lone lead bytes, 0xFF,
// zero bytes), and a signature block of that size. Huge header lines and a million header
// lines are timed in host_bench.cpp.
#include <benchmark/benchmark.h>

#include <string>

#include "plugin/signature.h"
#include "text/lines.h"
#include "text/sjis.h"

namespace {

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

}  // namespace
