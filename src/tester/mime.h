// Reading a mail as people keep it: a text file (header, an empty line, the body) in code page
// 932 or UTF-8, or a saved mail (.eml) with encoded words, transfer encodings, charsets and
// parts. The result is the header and body in code page 932, as the plug-in gets them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "tester/charset.h"

namespace zv::tester {

enum class FileEncoding { kCp932, kUtf8 };

struct MailText {
  std::string header;  // one line per field, each ended by CR LF
  std::string body;
  bool attachment = false;  // some part has a file name
};

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

// A text file: the lines before the first empty line are the header, the rest is the body. A
// UTF-8 file (by its byte order mark, or `encoding`) is converted to code page 932 first.
Decoded ReadTextMail(std::string_view file, FileEncoding encoding, CharsetConverter& converter,
                     MailText& mail);

// A saved mail: header fields unfolded, one per line, with encoded words decoded; the body
// from a single text part or the first text/plain part of a multipart mail, in code page 932.
// Raw bytes outside encoded words and parts without a charset are taken in `encoding`.
Decoded ReadEml(std::string_view file, FileEncoding encoding, CharsetConverter& converter,
                MailText& mail);

// True when `name` ends in ".eml", letter case aside.
bool IsEmlName(std::string_view name);

}  // namespace zv::tester
