// Loading and saving a settings file of 10,000 patterns, beside a plain split into lines and
// join of the same text, which is the floor any store pays.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "check/patterns.h"
#include "settings/ini_store.h"
#include "text/lines.h"

namespace {

std::string SettingsFile(size_t patterns) {
  zv::PatternSettings s;
  for (size_t i = 0; i < patterns; ++i) {
    zv::PatternRow row = zv::DefaultPattern();
    row[0] = "pattern " + std::to_string(i);
    row[1] = "user" + std::to_string(i) + "@example.com\r\nlist@example.org";
    s.table.Append(std::move(row));
  }
  zv::IniStore store;
  store.Write("SetupForm", "Left", zv::Variant::Int32(120));
  zv::SavePatterns(s, store, [] { return true; });
  return store.Serialize();
}

const std::string& File() {
  static const std::string file = SettingsFile(10000);
  return file;
}

void Report(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(File().size()));
}

// The floor: every line copied out and joined back.
void BM_PlainLinesReadWrite(benchmark::State& state) {
  for (auto _ : state) {
    std::vector<std::string> lines;
    zv::ForEachLine(File(), [&](std::string_view line) { lines.emplace_back(line); });
    std::string out = zv::JoinLines(lines);
    benchmark::DoNotOptimize(out.data());
  }
  Report(state);
}
BENCHMARK(BM_PlainLinesReadWrite)->Unit(benchmark::kMillisecond);

void BM_IniStoreLoadSave(benchmark::State& state) {
  for (auto _ : state) {
    zv::IniStore store;
    store.Parse(File());
    std::string out = store.Serialize();
    benchmark::DoNotOptimize(out.data());
  }
  Report(state);
}
BENCHMARK(BM_IniStoreLoadSave)->Unit(benchmark::kMillisecond);

// Start-up and clean-up as the plug-in runs them: parse, fill the table, write it back, save.
void BM_PatternsLoadSave(benchmark::State& state) {
  for (auto _ : state) {
    zv::IniStore store;
    store.Parse(File());
    zv::PatternSettings s;
    zv::LoadPatterns(s, store, [] { return false; });
    std::string out;
    zv::SavePatterns(s, store, [&] {
      out = store.Serialize();
      return true;
    });
    benchmark::DoNotOptimize(out.data());
  }
  Report(state);
}
BENCHMARK(BM_PatternsLoadSave)->Unit(benchmark::kMillisecond);

}  // namespace
