// Reading a mail as people keep it: a text file (header, an empty line, the body) in code page
// 932 or UTF-8, or a saved mail (.eml) with encoded words, transfer encodings, charsets and
// parts (decoded by mime/encoded_words.h). The result is the header and body in code page 932,
// as the plug-in gets them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "mime/charset.h"
#include "mime/encoded_words.h"

namespace zv::tester {

enum class FileEncoding { kCp932, kUtf8 };

struct MailText {
  std::string header;  // one line per field, each ended by CR LF
  std::string body;
  bool attachment = false;  // some part has a file name
};

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
