// The settings linter. Input: a settings file. Besides crashes and hangs: both languages give
// the same findings on the same lines, in line order, each on a line of the file and one line
// long, and their number and size grow at most linearly with the file.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_input.h"
#include "tester/lint.h"
#include "text/lines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zv::tester;
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  const std::vector<LintFinding> english = LintSettings(file, Language::kEnglish);
  const std::vector<LintFinding> japanese = LintSettings(file, Language::kJapanese);
  const size_t lines = zv::SplitLines(file).size();
  ZV_FUZZ_CHECK(english.size() == japanese.size(), file);
  ZV_FUZZ_CHECK(english.size() <= 12 * lines + size, file);
  size_t bytes = 0;
  for (size_t i = 0; i < english.size(); ++i) {
    const LintFinding& f = english[i];
    ZV_FUZZ_CHECK(f.line == japanese[i].line, file);
    ZV_FUZZ_CHECK(f.line >= 1 && f.line <= lines, f.message);
    ZV_FUZZ_CHECK(i == 0 || english[i - 1].line <= f.line, f.message);
    for (const std::string* m : {&f.message, &japanese[i].message}) {
      ZV_FUZZ_CHECK(!m->empty(), file);
      for (const char c : *m) ZV_FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20, *m);
      bytes += m->size();
    }
  }
  ZV_FUZZ_CHECK(bytes <= 400 * english.size() + 8 * size, file);
  return 0;
}
