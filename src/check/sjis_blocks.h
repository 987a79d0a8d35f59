// Where the characters of a Shift-JIS text start, worked out a block at a time (as many bytes as
// a machine word has bits) instead of by a byte-by-byte walk. A byte is a trail byte exactly when
// the byte before it is a lead-range byte (0x81-0x9F, 0xE0-0xFC) that is not itself a trail byte;
// within a run of lead-range bytes that follows a character start, every other byte is a trail.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "text/sjis.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zv {

// A bit per byte of a block, in one machine word: 64-bit masks on a 32-bit build would take two
// registers each and spill.
using BlockMask = std::conditional_t<(sizeof(void*) >= 8), uint64_t, uint32_t>;
inline constexpr size_t kBlockBytes = 8 * sizeof(BlockMask);

// Byte classes for the block scans: bit 0 for a lead-range byte, bit 1 for a byte of 0x7F and
// above that cannot lead a character (half-width kana and the other single high bytes).
inline constexpr std::array<uint8_t, 256> kSjisByteClass = [] {
  std::array<uint8_t, 256> classes{};
  for (int b = 0; b < 256; ++b) {
    if (IsSjisLeadByte(static_cast<unsigned char>(b))) {
      classes[b] = 1;
    } else if (b >= 0x7F) {
      classes[b] = 2;
    }
  }
  return classes;
}();

// The lead-range bytes (bit 0 of kSjisByteClass) and the high single bytes (bit 1) of one block
// of `len` bytes at `s`, as bit masks: bit i for byte i.
struct BlockMasks {
  BlockMask leadRange = 0;
  BlockMask highSingle = 0;
};

namespace sjis_blocks_detail {

inline constexpr uint64_t kOnes = 0x0101010101010101ULL;
inline constexpr uint64_t kHighs = kOnes << 7;

// 0x80 in every byte of `v` below `n` (n at most 0x80), 0 in the others.
constexpr uint64_t BytesBelow(uint64_t v, uint64_t n) {
  return ~(((v | kHighs) - kOnes * n) | v) & kHighs;
}

// The high bits of the eight bytes of `m` (each 0x80 or 0) gathered into bits 0-7.
constexpr uint64_t Gather(uint64_t m) {
  return ((m >> 7) * 0x0102040810204080ULL) >> 56;
}

}  // namespace sjis_blocks_detail

namespace sjis_blocks_detail {

inline void ClassifyTail(const unsigned char* s, size_t i, size_t len, BlockMasks& masks) {
  for (; i < len; ++i) {
    const BlockMask c = kSjisByteClass[s[i]];
    masks.leadRange |= (c & 1) << i;
    masks.highSingle |= (c >> 1) << i;
  }
}

}  // namespace sjis_blocks_detail

// Eight bytes at a time in plain integers: a lead-range byte is 0x80 + 1..0x1F or 0xE0 + 0..0x1C.
inline BlockMasks ClassifyBlockPortable(const unsigned char* s, size_t len) {
  using namespace sjis_blocks_detail;
  BlockMasks masks;
  size_t i = 0;
  for (; i + 8 <= len; i += 8) {
    uint64_t v;
    std::memcpy(&v, s + i, 8);
    const uint64_t low = v ^ (kOnes * 0x80);
    const uint64_t top = v ^ (kOnes * 0xE0);
    const uint64_t lead = (BytesBelow(low, 0x20) & ~BytesBelow(low, 1)) | BytesBelow(top, 0x1D);
    const uint64_t at7F = BytesBelow(v ^ (kOnes * 0x7F), 1);
    const uint64_t high = ((v & kHighs) | at7F) & ~lead;
    masks.leadRange |= static_cast<BlockMask>(Gather(lead)) << i;
    masks.highSingle |= static_cast<BlockMask>(Gather(high)) << i;
  }
  ClassifyTail(s, i, len, masks);
  return masks;
}

#if defined(__SSE2__)
namespace sjis_blocks_detail {

// Sixteen bytes: the lead-range bytes, and every byte of 0x7F and above (the lead-range ones
// are taken out of the whole block's mask at once). With bit 5 flipped, the lead range
// 0x81-0x9F, 0xE0-0xFC becomes the one range 0xA1-0xDC, which less 0x21 lies at the bottom of
// the signed bytes (-128 to -69); a byte of 0x7F and above has its top bit set once one is
// added without wrapping.
inline void Classify16(const unsigned char* p, uint32_t& lead, uint32_t& high) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i l = _mm_cmplt_epi8(
      _mm_sub_epi8(_mm_xor_si128(v, _mm_set1_epi8(0x20)), _mm_set1_epi8(0x21)), _mm_set1_epi8(-68));
  lead = static_cast<uint32_t>(_mm_movemask_epi8(l));
  high = static_cast<uint32_t>(_mm_movemask_epi8(_mm_adds_epu8(v, _mm_set1_epi8(1))));
}

}  // namespace sjis_blocks_detail

// A whole block, the common case, without any loop.
__attribute__((always_inline)) inline BlockMasks ClassifyWholeBlock(const unsigned char* s) {
  using sjis_blocks_detail::Classify16;
  uint32_t l0, h0, l1, h1;
  Classify16(s, l0, h0);
  Classify16(s + 16, l1, h1);
  BlockMasks masks{.leadRange = l0 | l1 << 16, .highSingle = h0 | h1 << 16};
  if constexpr (kBlockBytes == 64) {
    uint32_t l2, h2, l3, h3;
    Classify16(s + 32, l2, h2);
    Classify16(s + 48, l3, h3);
    masks.leadRange |= static_cast<BlockMask>(l2 | l3 << 16) << (kBlockBytes / 2);
    masks.highSingle |= static_cast<BlockMask>(h2 | h3 << 16) << (kBlockBytes / 2);
  }
  masks.highSingle &= ~masks.leadRange;
  return masks;
}

inline BlockMasks ClassifyBlock(const unsigned char* s, size_t len) {
  using sjis_blocks_detail::Classify16;
  BlockMasks masks;
  uint32_t l0, h0, l1, h1;
  size_t i = 0;
  for (; i + 32 <= len; i += 32) {
    Classify16(s + i, l0, h0);
    Classify16(s + i + 16, l1, h1);
    masks.leadRange |= static_cast<BlockMask>(l0 | l1 << 16) << i;
    masks.highSingle |= static_cast<BlockMask>(h0 | h1 << 16) << i;
  }
  if (i + 16 <= len) {
    Classify16(s + i, l0, h0);
    masks.leadRange |= static_cast<BlockMask>(l0) << i;
    masks.highSingle |= static_cast<BlockMask>(h0) << i;
    i += 16;
  }
  masks.highSingle &= ~masks.leadRange;
  sjis_blocks_detail::ClassifyTail(s, i, len, masks);
  return masks;
}
#else
inline BlockMasks ClassifyBlock(const unsigned char* s, size_t len) {
  return ClassifyBlockPortable(s, len);
}
inline BlockMasks ClassifyWholeBlock(const unsigned char* s) {
  return ClassifyBlockPortable(s, kBlockBytes);
}
#endif

// Feeds the lead-range masks of consecutive blocks (bit i for byte i) and gives each block's
// trail-byte mask, carrying a lead byte at the end of one block over to the next.
class TrailMasks {
 public:
  BlockMask Next(BlockMask leadRange) {
    constexpr auto kEven = static_cast<BlockMask>(0x5555555555555555ULL);
    leadRange &= ~carry_;  // a trail byte never leads
    const BlockMask followsLeadRange = leadRange << 1 | carry_;
    // Runs that start on an odd bit are cleared by carrying through them; those on even bits
    // stay. Inside a run, the bytes at odd distances from its start are the trails.
    const BlockMask oddRunStarts = leadRange & ~kEven & ~followsLeadRange;
    BlockMask evenRuns;
    carry_ = __builtin_add_overflow(oddRunStarts, leadRange, &evenRuns) ? 1 : 0;
    return (kEven ^ (evenRuns << 1)) & followsLeadRange;
  }

 private:
  BlockMask carry_ = 0;  // the next block's first byte is a trail
};

// Lowest set bit's index; the mask is not zero.
inline unsigned LowestBit(uint64_t mask) {
  return static_cast<unsigned>(__builtin_ctzll(mask));
}
inline unsigned LowestBit(uint32_t mask) {
  return static_cast<unsigned>(__builtin_ctz(mask));
}

}  // namespace zv
