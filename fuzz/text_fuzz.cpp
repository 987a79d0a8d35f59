// The Shift-JIS text functions, line helpers and long-form paths against plain restatements
// of their rules. Input: two numbers, a file-system seed, then a sought text and a text.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "reference.h"
#include "text/lines.h"
#include "text/long_path.h"
#include "text/sjis.h"

namespace zv::fuzz {
namespace {

// A made-up file system: the entries a search reports follow from the pattern and the seed, so
// the same search always gives the same answer. Names take the last component and vary it
// (another letter case, a long form, a trailing lone lead byte, nothing at all).
class FakeFs : public DirectorySearch {
 public:
  explicit FakeFs(uint8_t seed) : seed_(seed) {}

  void ForEach(const std::string& pattern,
               const std::function<bool(const DirEntry&)>& visit) override {
    searches.push_back(pattern);
    uint32_t h = 2166136261u ^ seed_;
    for (unsigned char c : pattern) h = (h ^ c) * 16777619u;
    const size_t slash = pattern.rfind('\\');
    const std::string last = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
    const unsigned count = h % 4;
    for (unsigned i = 0; i < count; ++i) {
      const unsigned bits = h >> (4 + 7 * i);
      DirEntry e;
      switch ((bits >> 5) % 4) {
        case 0:
          e.name = RefUpper(last);
          break;
        case 1:
          e.name = last + " long name";
          break;
        case 2:
          e.name = last + "\x82";
          break;
        default:
          break;
      }
      e.attributes = bits & 0x1F;
      if (visit(e)) return;
    }
  }

  std::vector<std::string> searches;

 private:
  uint8_t seed_;
};

std::string RefExpandLongPath(std::string_view path, DirectorySearch& fs) {
  const auto first = [&](const std::string& pattern, bool foldersOnly) {
    std::optional<DirEntry> found;
    fs.ForEach(pattern, [&](const DirEntry& e) {
      if (foldersOnly && (e.attributes & (kAttrHidden | kAttrSystem | kAttrVolumeLabel)))
        return false;
      found = e;
      return true;
    });
    return found;
  };
  const int p = RefPos("\\", path);
  if (p == 0) return {};
  std::string result = RefCopy(path, 1, p);
  std::string rest = RefCopy(path, p + 1, kToEnd);
  for (int q; (q = RefPos("\\", rest)) > 0;) {
    const std::optional<DirEntry> e = first(result + RefCopy(rest, 1, q - 1), true);
    if (!e) return result;
    result += e->name + "\\";
    rest = RefCopy(rest, q + 1, kToEnd);
  }
  if (!rest.empty()) {
    if (const std::optional<DirEntry> e = first(result + rest, false)) {
      result += e->name;
      if (e->attributes & kAttrDirectory) result += "\\";
    }
  }
  return result;
}

void CheckCharacters(std::string_view sub, std::string_view s, int index, int count) {
  ZV_FUZZ_CHECK(SjisLength(s) == RefLength(s), s);
  ZV_FUZZ_CHECK(SjisPos(sub, s) == RefPos(sub, s), s);
  ZV_FUZZ_CHECK(SjisPos(s, sub) == RefPos(s, sub), sub);
  ZV_FUZZ_CHECK(SjisCopy(s, index, count) == RefCopy(s, index, count), s);
  ZV_FUZZ_CHECK(SjisCopy(s, index, kToEnd) == RefCopy(s, index, kToEnd), s);
  ZV_FUZZ_CHECK(SjisCopy(s, count, index) == RefCopy(s, count, index), s);

  // A found text really stands at that character.
  const int at = SjisPos(sub, s);
  if (at > 0) {
    const std::string from = SjisCopy(s, at, kToEnd);
    ZV_FUZZ_CHECK(from.starts_with(UntilNul(sub)), from);
  }

  const std::string_view cut = UntilNul(s);
  const std::vector<size_t> starts = RefStarts(cut);
  const size_t offset = SjisByteOffset(cut, index);
  const bool inRange = index >= 1 && static_cast<size_t>(index) <= starts.size();
  ZV_FUZZ_CHECK(offset == (inRange ? starts[index - 1] : std::string_view::npos), cut);
}

void CheckLines(std::string_view text) {
  const std::vector<std::string_view> lines = SplitLines(text);
  const std::vector<std::string> expected = RefSplit(text);
  ZV_FUZZ_CHECK(lines.size() == expected.size(), text);
  for (size_t i = 0; i < lines.size(); ++i) ZV_FUZZ_CHECK(lines[i] == expected[i], lines[i]);

  // Joined lines split back into the same lines.
  const std::string joined = JoinLines(lines);
  const std::vector<std::string_view> again = SplitLines(joined);
  ZV_FUZZ_CHECK(again == lines, joined);

  ZV_FUZZ_CHECK(TrimControls(text) == RefTrim(text), text);
  const std::string upper = UpperSjis(text);
  ZV_FUZZ_CHECK(upper == RefUpper(text), text);
  ZV_FUZZ_CHECK(UpperSjis(upper) == upper, upper);
}

void CheckLongPath(std::string_view path, uint8_t seed) {
  FakeFs core(seed), ref(seed);
  const std::string got = ExpandLongPath(path, core);
  const std::string want = RefExpandLongPath(path, ref);
  ZV_FUZZ_CHECK(got == want, got);
  ZV_FUZZ_CHECK(core.searches == ref.searches, path);
}

}  // namespace
}  // namespace zv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zv::fuzz;
  Input in(data, size);
  const uint8_t a = in.Byte(), b = in.Byte(), seed = in.Byte();
  const std::string_view sub = in.Text();
  const std::string_view s = in.Rest();
  const int length = RefLength(s);
  CheckCharacters(sub, s, Input::CharNumber(a, length), Input::CharNumber(b, length));
  CheckLines(s);
  CheckLines(sub);
  CheckLongPath(s, seed);
  CheckLongPath(sub, seed);
  return 0;
}
