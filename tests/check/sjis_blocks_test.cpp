#include "check/sjis_blocks.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace zv {
namespace {

// Trail bytes by the block masks, as a string of 't' (trail) and '.' (character start).
std::string TrailsByBlocks(const std::string& text) {
  std::string marks;
  TrailMasks trails;
  for (size_t base = 0; base < text.size(); base += kBlockBytes) {
    const size_t len = std::min(kBlockBytes, text.size() - base);
    const auto* s = reinterpret_cast<const unsigned char*>(text.data()) + base;
    const BlockMask mask = trails.Next(ClassifyBlock(s, len).leadRange);
    for (size_t i = 0; i < len; ++i) marks += ((mask >> i) & 1) ? 't' : '.';
  }
  return marks;
}

// The same by the character walk.
std::string TrailsByWalk(const std::string& text) {
  std::string marks(text.size(), 't');
  for (size_t pos = 0; pos < text.size(); pos += SjisCharLength(text, pos)) marks[pos] = '.';
  return marks;
}

// Every byte value in every lane of the wide paths and of the byte-by-byte tail, through both
// the portable code and the one the build uses (whole blocks too).
TEST(ClassifyBlock, EveryByteAgreesWithTheTable) {
  BlockMasks (*wholeOrNot)(const unsigned char*, size_t) = [](const unsigned char* s, size_t len) {
    return len == kBlockBytes ? ClassifyWholeBlock(s) : ClassifyBlock(s, len);
  };
  for (auto classify : {&ClassifyBlockPortable, &ClassifyBlock, wholeOrNot}) {
    for (size_t lane = 0; lane < kBlockBytes; ++lane) {
      for (int b = 0; b < 256; ++b) {
        std::string block(lane < 20 ? 20 : kBlockBytes, 'a');
        block[lane] = static_cast<char>(b);
        const BlockMasks masks =
            classify(reinterpret_cast<const unsigned char*>(block.data()), block.size());
        const BlockMask bit = BlockMask{1} << lane;
        ASSERT_EQ(masks.leadRange, (kSjisByteClass[b] & 1) ? bit : 0) << lane << " " << b;
        ASSERT_EQ(masks.highSingle, (kSjisByteClass[b] & 2) ? bit : 0) << lane << " " << b;
      }
    }
  }
}

TEST(TrailMasks, Table) {
  const std::vector<std::string> cases = {
      "",
      "a\x83\x41"
      "b",
      "\x81\x81\x81",
      "\x81\x81\x81\x81\x81",
      "a\x81",
      std::string(63, 'a') +
          "\x81\x40"
          "b",  // a character across two blocks
      std::string(64, '\x81') +
          "\x81"
          "a",  // an even run filling the first block
      std::string(63, '\x81') +
          "\x81\x81"
          "a",  // an odd run reaching its end
      "a" + std::string(200, '\x9F') + "\xB1",
  };
  for (const auto& text : cases) EXPECT_EQ(TrailsByBlocks(text), TrailsByWalk(text)) << text;
}

TEST(TrailMasks, AgreesWithTheWalkOnRandomTexts) {
  const std::string alphabet = "a\x41\x5C\x80\x81\x9F\xA0\xDF\xE0\xFC\xFD";
  std::mt19937 rng(99);
  for (int round = 0; round < 3000; ++round) {
    std::string text(rng() % 400, ' ');
    // Long runs of lead-range bytes are the hard part, so some texts use little else.
    const size_t span = round % 2 ? alphabet.size() : 3;
    for (char& c : text) c = alphabet[(round % 2 ? 0 : 3) + rng() % span];
    ASSERT_EQ(TrailsByBlocks(text), TrailsByWalk(text)) << round;
  }
}

}  // namespace
}  // namespace zv
