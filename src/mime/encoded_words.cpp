#include "mime/encoded_words.h"

#include <cstdint>

#include "mime/mime_text.h"

namespace zv {
namespace {

using mime::HexValue;
using mime::IsBlank;
using mime::IsSpace;
using mime::Lower;
using mime::LowerAscii;
using mime::Trim;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

}  // namespace

Decoded DecodeBase64(std::string_view text) {
  std::string out;
  out.reserve(text.size() / 4 * 3 + 3);
  uint32_t bits = 0;
  int count = 0;  // characters in the current group of four
  bool padded = false;
  for (const char c : text) {
    if (IsSpace(c)) continue;
    int v;
    if (c >= 'A' && c <= 'Z') v = c - 'A';
    else if (c >= 'a' && c <= 'z') v = c - 'a' + 26;
    else if (c >= '0' && c <= '9') v = c - '0' + 52;
    else if (c == '+') v = 62;
    else if (c == '/') v = 63;
    else if (c == '=') {
      padded = true;
      continue;
    } else {
      return Decoded::Fail("bad base64");
    }
    if (padded) return Decoded::Fail("bad base64: data after the padding");
    bits = (bits << 6) | static_cast<uint32_t>(v);
    if (++count == 4) {
      out.push_back(static_cast<char>(bits >> 16));
      out.push_back(static_cast<char>(bits >> 8));
      out.push_back(static_cast<char>(bits));
      bits = 0;
      count = 0;
    }
  }
  if (count == 1) return Decoded::Fail("bad base64: a lone last character");
  if (count == 2) out.push_back(static_cast<char>(bits >> 4));
  if (count == 3) {
    out.push_back(static_cast<char>(bits >> 10));
    out.push_back(static_cast<char>(bits >> 2));
  }
  return Decoded::Ok(std::move(out));
}

std::string DecodeQuotedPrintable(std::string_view text, bool underscoreIsSpace) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '_' && underscoreIsSpace) {
      out.push_back(' ');
      continue;
    }
    if (c != '=') {
      out.push_back(c);
      continue;
    }
    if (i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      out.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
      i += 2;
      continue;
    }
    // A soft line break: "=", maybe blanks, then the end of the line.
    size_t j = i + 1;
    while (j < text.size() && IsBlank(text[j])) ++j;
    if (j == text.size()) return out;
    if (text[j] == '\r' || text[j] == '\n') {
      i = (text[j] == '\r' && j + 1 < text.size() && text[j + 1] == '\n') ? j + 1 : j;
      continue;
    }
    out.push_back('=');
  }
  return out;
}

Decoded Iso2022JpToCp932(std::string_view bytes) {
  enum class Mode { kAscii, kKanji, kKana } mode = Mode::kAscii;
  std::string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b == 0x1B) {
      const std::string_view seq = bytes.substr(i + 1, 2);
      if (seq == "(B" || seq == "(J") mode = Mode::kAscii;
      else if (seq == "$B" || seq == "$@") mode = Mode::kKanji;
      else if (seq == "(I") mode = Mode::kKana;
      else return Decoded::Fail("ISO-2022-JP: an unknown escape sequence");
      i += 2;
      continue;
    }
    if (b >= 0x80) return Decoded::Fail("ISO-2022-JP: a byte above 0x7F");
    if (b < 0x21 || b == 0x7F || mode == Mode::kAscii) {
      out.push_back(static_cast<char>(b));
      continue;
    }
    if (mode == Mode::kKana) {
      if (b > 0x5F) return Decoded::Fail("ISO-2022-JP: a byte outside the kana set");
      out.push_back(static_cast<char>(b + 0x80));
      continue;
    }
    if (i + 1 >= bytes.size()) return Decoded::Fail("ISO-2022-JP: half a character");
    const auto b2 = static_cast<unsigned char>(bytes[i + 1]);
    if (b2 < 0x21 || b2 > 0x7E) return Decoded::Fail("ISO-2022-JP: half a character");
    ++i;
    // JIS row pairs map onto one lead byte each; the odd row takes the lower trail range.
    unsigned lead = (b + 1) / 2 + 0x70;
    if (lead >= 0xA0) lead += 0x40;
    unsigned trail = (b & 1) ? b2 + 0x1F + (b2 >= 0x60 ? 1 : 0) : b2 + 0x7E;
    out.push_back(static_cast<char>(lead));
    out.push_back(static_cast<char>(trail));
  }
  return Decoded::Ok(std::move(out));
}

Decoded CharsetToCp932(std::string_view bytes, std::string_view charset,
                       CharsetConverter& converter) {
  const std::string name = LowerAscii(Trim(charset));
  if (name == "iso-2022-jp" || name == "csiso2022jp") return Iso2022JpToCp932(bytes);
  if (name == "shift_jis" || name == "shift-jis" || name == "sjis" || name == "x-sjis" ||
      name == "cp932" || name == "windows-31j" || name == "ms_kanji" || name == "csshiftjis") {
    return Decoded::Ok(std::string(bytes));
  }
  if (name == "utf-8" || name == "utf8") {
    if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
    std::string out;
    if (!converter.Utf8ToCp932(bytes, out)) {
      return Decoded::Fail("not UTF-8, or a character with no code page 932 form");
    }
    return Decoded::Ok(std::move(out));
  }
  if (name == "us-ascii" || name == "ascii") {
    for (const char c : bytes) {
      if (static_cast<unsigned char>(c) >= 0x80) return Decoded::Fail("US-ASCII: a byte above 0x7F");
    }
    return Decoded::Ok(std::string(bytes));
  }
  return Decoded::Fail("unknown charset \"" + std::string(Trim(charset)) + "\"");
}

Decoded DecodeEncodedWords(std::string_view value, CharsetConverter& converter) {
  std::string out;
  std::string pending;  // blanks not yet written: dropped between two encoded words
  bool afterWord = false;
  size_t i = 0;
  while (i < value.size()) {
    const char c = value[i];
    if (IsSpace(c)) {
      pending.push_back(c);
      ++i;
      continue;
    }
    if (c == '=' && i + 1 < value.size() && value[i + 1] == '?') {
      // "=?" charset "?" B or Q "?" text "?=", none of the pieces holding a blank or a "?".
      const size_t charsetEnd = value.find_first_of("? \t\r\n", i + 2);
      const bool shape = charsetEnd != std::string_view::npos && value[charsetEnd] == '?' &&
                         charsetEnd + 2 < value.size() && value[charsetEnd + 2] == '?';
      const size_t textEnd = shape ? value.find_first_of("? \t\r\n", charsetEnd + 3)
                                   : std::string_view::npos;
      if (textEnd != std::string_view::npos && value[textEnd] == '?' &&
          textEnd + 1 < value.size() && value[textEnd + 1] == '=') {
        std::string_view charset = value.substr(i + 2, charsetEnd - i - 2);
        charset = charset.substr(0, charset.find('*'));  // RFC 2231 language
        const char kind = Lower(value[charsetEnd + 1]);
        const std::string_view text = value.substr(charsetEnd + 3, textEnd - charsetEnd - 3);
        if (kind == 'b' || kind == 'q') {
          Decoded bytes = kind == 'b' ? DecodeBase64(text)
                                      : Decoded::Ok(DecodeQuotedPrintable(text, true));
          if (!bytes.ok) return bytes;
          Decoded word = CharsetToCp932(bytes.text, charset, converter);
          if (!word.ok) return word;
          if (!afterWord) out += pending;
          pending.clear();
          out += word.text;
          afterWord = true;
          i = textEnd + 2;
          continue;
        }
      }
    }
    out += pending;
    pending.clear();
    out.push_back(c);
    afterWord = false;
    ++i;
  }
  out += pending;
  return Decoded::Ok(std::move(out));
}

}  // namespace zv
