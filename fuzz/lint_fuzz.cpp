// The settings linter. Input: a settings file. Besides crashes and hangs: both languages give
// the same findings on the same lines, in line order, each on a line of the file and one line
// long, and their number and size grow at most linearly with the file: on each line a few
// findings plus at most one for each of its bytes (one per list item named twice), each a fixed
// text around quotes of parts of its own line, escaped (up to three bytes a byte).
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
  const std::vector<std::string_view> lines = zv::SplitLines(file);
  ZV_FUZZ_CHECK(english.size() == japanese.size(), file);
  size_t onThisLine = 0;
  size_t bytesOnThisLine = 0;
  for (size_t i = 0; i < english.size(); ++i) {
    const LintFinding& f = english[i];
    ZV_FUZZ_CHECK(f.line == japanese[i].line, file);
    ZV_FUZZ_CHECK(f.line >= 1 && f.line <= lines.size(), f.message);
    ZV_FUZZ_CHECK(i == 0 || english[i - 1].line <= f.line, f.message);
    if (i == 0 || english[i - 1].line != f.line) onThisLine = bytesOnThisLine = 0;
    const size_t lineSize = lines[f.line - 1].size();
    ZV_FUZZ_CHECK(++onThisLine <= 8 + lineSize, f.message);
    for (const std::string* m : {&f.message, &japanese[i].message}) {
      ZV_FUZZ_CHECK(!m->empty(), file);
      for (const char c : *m) ZV_FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20, *m);
      bytesOnThisLine += m->size();
    }
    ZV_FUZZ_CHECK(bytesOnThisLine <= 400 * onThisLine + 24 * lineSize, f.message);
  }
  return 0;
}
