// Header editing and signature parsing over huge inputs: one very long header line, or very many
// lines. Ten times the input should take about ten times as long.
#include <benchmark/benchmark.h>

#include <string>

#include "plugin/mailer_header.h"
#include "plugin/signature.h"

namespace {

// A header of one field whose value is `bytes` long, with or without another plug-in's field.
std::string LongLineHeader(size_t bytes, bool otherPlugin) {
  std::string h = otherPlugin ? "X-Mailer-Plugin: " : "Subject: ";
  h.append(bytes, 'x');
  h += "\r\nTo: a@example.com\r\n";
  return h;
}

// `lines` short header lines; the last field is folded over all lines but the first hundred.
std::string ManyLinesHeader(size_t lines, bool otherPlugin) {
  std::string h;
  h.reserve(lines * 24);
  for (size_t i = 0; i < 100; ++i) h += "X-Field: value value\r\n";
  h += otherPlugin ? "X-Mailer-Plugin: Other\r\n" : "Received: from host\r\n";
  for (size_t i = 101; i < lines; ++i) h += "\tby relay.example.org\r\n";
  return h;
}

void RunAddMailerHeader(benchmark::State& state, const std::string& header) {
  for (auto _ : state) {
    state.PauseTiming();
    std::string h = header;
    state.ResumeTiming();
    benchmark::DoNotOptimize(zv::AddMailerHeader(h));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * header.size()));
}

void BM_AddMailerHeader_LongLine(benchmark::State& state) {
  RunAddMailerHeader(state, LongLineHeader(static_cast<size_t>(state.range(0)), state.range(1)));
}
BENCHMARK(BM_AddMailerHeader_LongLine)
    ->ArgsProduct({{10 << 20, 100 << 20}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

void BM_AddMailerHeader_ManyLines(benchmark::State& state) {
  RunAddMailerHeader(state, ManyLinesHeader(static_cast<size_t>(state.range(0)), state.range(1)));
}
BENCHMARK(BM_AddMailerHeader_ManyLines)
    ->ArgsProduct({{100000, 1000000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

void RunSignature(benchmark::State& state, const std::string& file) {
  for (auto _ : state) benchmark::DoNotOptimize(zv::SignatureBlockFromText(file, "Work"));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
}

void BM_SignatureBlock_LongLine(benchmark::State& state) {
  std::string file = "{Begin other}\r\nx\r\n{End}\r\n{Begin work}\r\n";
  file.append(static_cast<size_t>(state.range(0)), 's');
  file += "{End}\r\n";
  RunSignature(state, file);
}
BENCHMARK(BM_SignatureBlock_LongLine)->Arg(10 << 20)->Arg(100 << 20)->Unit(benchmark::kMillisecond);

void BM_SignatureBlock_ManyLines(benchmark::State& state) {
  // The wanted block comes last, after many lines of other blocks, and is itself long.
  const size_t lines = static_cast<size_t>(state.range(0));
  std::string file;
  file.reserve(lines * 24);
  for (size_t i = 0; i < lines / 2; ++i)
    file += (i % 50 == 0) ? "{Begin other}\r\n" : "text line\r\n";
  file += "{Begin WORK}\r\n";
  for (size_t i = 0; i < lines / 2; ++i) file += "Best regards\r\n";
  RunSignature(state, file);
}
BENCHMARK(BM_SignatureBlock_ManyLines)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
