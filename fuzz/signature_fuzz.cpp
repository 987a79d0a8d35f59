// Signature blocks against a plain restatement of the block rules. Input: a block name, then
// the text of a signature file.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_input.h"
#include "plugin/signature.h"
#include "reference.h"

namespace zv::fuzz {
namespace {

bool RefEqualsFolded(std::string_view a, std::string_view b) {
  return a.size() == b.size() && RefUpper(a) == RefUpper(b) && RefStarts(a) == RefStarts(b);
}

std::string RefBlock(std::string_view file, std::string_view name) {
  const std::string wanted = "{Begin " + std::string(name) + "}";
  const std::vector<std::string> lines = RefSplit(file);
  size_t i = 0;
  while (i < lines.size() && !RefEqualsFolded(lines[i], wanted)) ++i;
  std::string block;
  for (++i; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line == "{End}") break;
    if (line.size() >= 6 && line.ends_with("{End}")) {
      block += line.substr(0, line.size() - 5);
      break;
    }
    block += line + "\r\n";
  }
  return block;
}

}  // namespace
}  // namespace zv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zv;
  using namespace zv::fuzz;
  Input in(data, size);
  const std::string_view name = in.Text();
  const std::string_view file = in.Rest();
  const std::string block = SignatureBlockFromText(file, name);
  ZV_FUZZ_CHECK(block == RefBlock(file, name), block);

  const std::string_view other = file.substr(0, file.find('\n'));
  ZV_FUZZ_CHECK(EqualsIgnoringAsciiCase(name, other) == RefEqualsFolded(name, other), other);
  ZV_FUZZ_CHECK(EqualsIgnoringAsciiCase(other, name) == EqualsIgnoringAsciiCase(name, other),
                other);
  ZV_FUZZ_CHECK(EqualsIgnoringAsciiCase(name, name), name);
  return 0;
}
