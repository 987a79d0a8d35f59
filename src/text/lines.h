// Line splitting and joining shared by the header, signature, settings and check code, and the
// flag rule of the settings.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zv {

inline constexpr std::string_view kCrLf = "\r\n";
inline constexpr std::string_view kTrue = "True";
inline constexpr std::string_view kFalse = "False";

// Lines end at CR LF, a lone CR or a lone LF; a break at the very end adds no empty line, and a
// zero byte ends the text. The views point into `text`.
std::vector<std::string_view> SplitLines(std::string_view text);

// Calls `visit` for each line, in order, without building a list.
template <typename Visit>
void ForEachLine(std::string_view text, Visit&& visit) {
  const size_t end = text.find('\0');
  if (end != std::string_view::npos) text = text.substr(0, end);
  size_t pos = 0;
  while (pos < text.size()) {
    size_t brk = text.find_first_of("\r\n", pos);
    if (brk == std::string_view::npos) {
      visit(text.substr(pos));
      return;
    }
    visit(text.substr(pos, brk - pos));
    pos = brk + ((text[brk] == '\r' && brk + 1 < text.size() && text[brk + 1] == '\n') ? 2 : 1);
  }
}

// Every line followed by CR LF, the last included.
template <typename Lines>
std::string JoinLines(const Lines& lines) {
  size_t total = 0;
  for (const auto& line : lines) total += std::string_view(line).size() + 2;
  std::string out;
  out.reserve(total);
  for (const auto& line : lines) {
    out.append(std::string_view(line));
    out.append(kCrLf);
  }
  return out;
}

// A flag is on only when it is exactly "True".
inline bool IsFlagOn(std::string_view value) { return value == kTrue; }
inline std::string_view FlagText(bool on) { return on ? kTrue : kFalse; }

// Removes every byte of value 0x20 or less from both ends.
std::string_view TrimControls(std::string_view s);

// a-z upper-cased, every other byte as it is.
constexpr char UpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Upper-cases a-z only where they are single-byte characters, as the system's ANSI upper-casing
// does under code page 932.
std::string UpperSjis(std::string_view s);

// A-Z lower-cased where they are single-byte characters, every other byte as it is.
std::string LowerSjis(std::string_view s);

// Equality after UpperSjis, without building either upper-case form: a two-byte character is
// equal only byte for byte.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace zv
