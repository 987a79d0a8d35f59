// Throughput of the character walk over large Shift-JIS texts.
#include <benchmark/benchmark.h>

#include <string>

#include "text/sjis.h"

namespace {

std::string MixedText(size_t bytes) {
  const std::string unit = "abc \x82\xA0\x82\xA2\xB1\xB2 def\x95\x5C\r\n";
  std::string s;
  s.reserve(bytes + unit.size());
  while (s.size() < bytes) s += unit;
  return s;
}

void BM_SjisLength(benchmark::State& state) {
  const std::string text = MixedText(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(zv::SjisLength(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_SjisLength)->Arg(1 << 20)->Arg(10 << 20);

void BM_SjisPosMiss(benchmark::State& state) {
  const std::string text = MixedText(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(zv::SjisPos("\x88\xA0\x88\xA1", text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_SjisPosMiss)->Arg(1 << 20)->Arg(10 << 20);

}  // namespace
