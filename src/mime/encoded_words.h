// Decoding of the pieces of a mail that are not plain code page 932: the transfer encodings,
// the Japanese charsets and encoded words in header values. One decoder for the plug-in's
// recipients and the rule tester's mail reader.
#pragma once

#include <string>
#include <string_view>

#include "mime/charset.h"

namespace zv {

// A decoded text, or the reason it could not be decoded.
struct Decoded {
  bool ok = false;
  std::string text;  // the result, or the reason when not ok
  static Decoded Ok(std::string t) { return {true, std::move(t)}; }
  static Decoded Fail(std::string reason) { return {false, std::move(reason)}; }
};

// Base64 with line breaks and blanks between the characters; fails on any other character, on
// a character after the padding and on a lone last character.
Decoded DecodeBase64(std::string_view text);

// Quoted-printable: "=" and two hex digits give a byte, "=" at a line's end joins the lines;
// any other "=" stands for itself. `underscoreIsSpace` for encoded words (the Q encoding).
std::string DecodeQuotedPrintable(std::string_view text, bool underscoreIsSpace);

// ISO-2022-JP (ASCII, JIS X 0201 Roman and kana, JIS X 0208) as code page 932. The mapping is
// arithmetic, so every character of JIS X 0208 keeps its code page 932 form.
Decoded Iso2022JpToCp932(std::string_view bytes);

// `bytes` in the charset named `charset` (ISO-2022-JP, Shift_JIS and its aliases, UTF-8,
// US-ASCII; letter case aside) as code page 932.
Decoded CharsetToCp932(std::string_view bytes, std::string_view charset,
                       CharsetConverter& converter);

// A header value with its encoded words ("=?charset?B?...?=", "=?charset?Q?...?=") decoded;
// blanks between two encoded words are dropped. Text that is no encoded word stays as it is.
Decoded DecodeEncodedWords(std::string_view value, CharsetConverter& converter);

}  // namespace zv
