// X-Mailer-Plugin editing and header field look-up. Input: a header text.
// The edit must agree with the rules restated step by step; beyond that, a changed header must
// be well formed (every line ended by CR LF), keep every other line, and a second run must find
// it up to date.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_input.h"
#include "text/constants.h"
#include "text/header_field.h"
#include "plugin/mailer_header.h"
#include "reference.h"
#include "text/lines.h"

namespace zv::fuzz {
namespace {

const std::string kFieldLine = std::string(kMailerFieldPrefix) + std::string(kHeaderEntry);
const std::string kContinuation = "\t" + std::string(kHeaderEntry);

// `after` is `before` with one of our lines inserted, and at most one other line changed: either
// ours replacing an old entry, or a comma appended to the line before the inserted one.
// Linear: the lines are compared from both ends.
bool KeepsOtherLines(const std::vector<std::string>& before,
                     const std::vector<std::string>& after) {
  const auto ours = [](const std::string& line, bool comma) {
    return line == kFieldLine || line == kContinuation ||
           (comma && (line == kFieldLine + "," || line == kContinuation + ","));
  };
  size_t p = 0;
  while (p < before.size() && p < after.size() && before[p] == after[p]) ++p;
  size_t q = 0;
  while (q < before.size() - p && q < after.size() - p &&
         before[before.size() - 1 - q] == after[after.size() - 1 - q]) {
    ++q;
  }
  const size_t changedBefore = before.size() - p - q;  // lines of `before` not kept
  const size_t changedAfter = after.size() - p - q;    // lines of `after` that are new
  if (after.size() == before.size()) {
    return changedBefore == 1 && ours(after[p], true) &&
           before[p].find("Zorvek32") != std::string::npos;
  }
  if (after.size() != before.size() + 1) return false;
  if (changedBefore == 0) return ours(after[p], false);
  // The comma case: the differing stretch is the changed line and the inserted one. Equal
  // neighbours may shift the stretch by the prefix, so look at its last two lines.
  if (changedBefore != 1 || changedAfter != 2) return false;
  return after[p] == before[p] + "," && ours(after[p + 1], false);
}

bool RefContinuation(const std::string& line) {
  return !line.empty() && (line[0] == ' ' || line[0] == '\t');
}

// The editing rules step by step over a list of lines; false when nothing changes.
bool RefAddMailerHeader(std::string& header) {
  std::vector<std::string> lines = RefSplit(header);
  const auto contains = [](const std::string& line) {
    return line.find("Zorvek32") != std::string::npos;
  };
  size_t f = 0;
  for (; f < lines.size(); ++f) {
    const size_t colon = lines[f].find(':');
    if (colon != std::string::npos &&
        RefUpper(RefTrim(lines[f].substr(0, colon))) == "X-MAILER-PLUGIN")
      break;
  }
  const std::string entry(kHeaderEntry);
  if (f == lines.size()) {
    size_t k = lines.empty() ? 0 : lines.size() - 1;
    while (k > 0 && RefContinuation(lines[k])) --k;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(k), kFieldLine);
  } else if (contains(lines[f])) {
    if (lines[f] == kFieldLine || lines[f] == kFieldLine + ",") return false;
    lines[f] = lines[f].ends_with(",") ? kFieldLine + "," : kFieldLine;
  } else {
    size_t j = f + 1;
    for (; j < lines.size() && RefContinuation(lines[j]); ++j) {
      if (!contains(lines[j])) continue;
      const std::string rest = lines[j].substr(1);
      if (rest == entry || rest == entry + ",") return false;
      lines[j] = rest.ends_with(",") ? kContinuation + "," : kContinuation;
      break;
    }
    if (j == lines.size() || !RefContinuation(lines[j])) {
      lines[j - 1] += ",";
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(j), kContinuation);
    }
  }
  header.clear();
  for (const std::string& line : lines) header += line + "\r\n";
  return true;
}

std::string RefHeaderField(std::string_view upperName, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    if (line.size() >= upperName.size() && RefUpper(line.substr(0, upperName.size())) == upperName)
      return RefTrim(std::string_view(line).substr(upperName.size()));
  }
  return {};
}

void CheckHeaderFields(std::string_view header, std::initializer_list<std::string_view> names) {
  const std::vector<std::string_view> lines = SplitLines(header);
  const std::vector<std::string> ref = RefSplit(header);
  for (std::string_view upperName : names) {
    ZV_FUZZ_CHECK(HeaderField(upperName, lines) == RefHeaderField(upperName, ref), header);
  }
}

}  // namespace
}  // namespace zv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zv;
  using namespace zv::fuzz;
  const std::string original(reinterpret_cast<const char*>(data), size);
  std::string header = original;
  const bool changed = AddMailerHeader(header);
  std::string expected = original;
  ZV_FUZZ_CHECK(RefAddMailerHeader(expected) == changed, original);
  ZV_FUZZ_CHECK(header == expected, header);
  if (!changed) {
    ZV_FUZZ_CHECK(header == original, header);
  } else {
    ZV_FUZZ_CHECK(header.ends_with("\r\n"), header);
    ZV_FUZZ_CHECK(JoinLines(SplitLines(header)) == header, header);
    ZV_FUZZ_CHECK(KeepsOtherLines(RefSplit(original), RefSplit(header)), header);
  }
  std::string second = header;
  ZV_FUZZ_CHECK(!AddMailerHeader(second), second);
  ZV_FUZZ_CHECK(second == header, second);

  CheckHeaderFields(original, {"TO:", "SUBJECT:"});
  CheckHeaderFields(header, {"X-MAILER-PLUGIN:"});
  return 0;
}
