// Shift-JIS (code page 932) aware search, cut and count. A text is a byte string; a byte in
// 0x81-0x9F or 0xE0-0xFC leads a two-byte character and takes the next byte with it.
// Every function measures its text up to the first zero byte.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zv {

// Count meaning "to the end of the text" for SjisCopy.
inline constexpr int kToEnd = 2147483647;

constexpr bool IsSjisLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
constexpr bool IsSjisLeadByte(char c) { return IsSjisLeadByte(static_cast<unsigned char>(c)); }

// The text up to, not including, its first zero byte.
std::string_view UntilNul(std::string_view s);

// Byte length of the character that starts at byte `pos` (1 or 2; 1 for a lone lead byte at
// the end).
inline size_t SjisCharLength(std::string_view s, size_t pos) {
  return (IsSjisLeadByte(s[pos]) && pos + 1 < s.size()) ? 2 : 1;
}

// 1-based number of the first character of `s` at which `sub` starts; 0 if none. A match may
// start only at a character boundary. Linear in the lengths of both texts.
int SjisPos(std::string_view sub, std::string_view s);

// Characters index .. index+count-1 of `s` (1-based), with the boundary rules of the character
// walk: out-of-range or zero counts give an empty text, a count reaching past the end gives the
// rest, and a negative count gives the rest when index+count <= 0. kToEnd means "to the end".
std::string SjisCopy(std::string_view s, int index, int count);

// Number of characters in `s`.
int SjisLength(std::string_view s);

// Byte offset of the character numbered `index` (1-based), or npos when there is none.
size_t SjisByteOffset(std::string_view s, int index);

}  // namespace zv
