#include "plugin/signature.h"

#include "text/lines.h"
#include "text/sjis.h"

namespace zv {

namespace {

constexpr std::string_view kEndMark = "{End}";

}  // namespace

std::string SignatureBlockFromText(std::string_view fileText, std::string_view name,
                                   const CaseFoldedEquals& equals) {
  std::string wanted = "{Begin ";
  wanted.append(name);
  wanted.push_back('}');

  enum class Phase { kSeeking, kInBlock, kDone } phase = Phase::kSeeking;
  std::string block;
  ForEachLine(fileText, [&](std::string_view line) {
    switch (phase) {
      case Phase::kSeeking:
        if (equals(line, wanted)) {
          phase = Phase::kInBlock;
          // The block is at most the rest of the file, plus one byte per lone CR or LF.
          const size_t consumed = static_cast<size_t>(line.data() - fileText.data()) + line.size();
          block.reserve(fileText.size() - consumed);
        }
        return;
      case Phase::kInBlock:
        if (line == kEndMark) {
          phase = Phase::kDone;
        } else if (line.size() > kEndMark.size() && line.ends_with(kEndMark)) {
          block.append(line.substr(0, line.size() - kEndMark.size()));
          phase = Phase::kDone;
        } else {
          block.append(line);
          block.append(kCrLf);
        }
        return;
      case Phase::kDone:
        return;
    }
  });
  return block;
}

}  // namespace zv
