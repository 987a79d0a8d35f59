// Signature blocks of an account's signature file and the mail as it is about to go out.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "text/lines.h"

namespace zv {

// The header and body of a mail being sent; the body includes the selected signature.
struct OutgoingMail {
  std::string header;
  std::string body;  // with the signature; whatever follows a zero byte is not part of it
};

// Decides whether a line of the file equals the wanted "{Begin name}" line, letter case aside.
using CaseFoldedEquals = std::function<bool(std::string_view line, std::string_view wanted)>;


// The block named `name` in the text of a signature file: the lines after the first line equal
// to "{Begin name}" (by `equals`), each followed by CR LF, up to a line "{End}" or a line of six
// bytes or more ending in "{End}", whose leading bytes end the block without a line break.
// Without an end line the block runs to the end of the text; without the begin line it is empty.
std::string SignatureBlockFromText(std::string_view fileText, std::string_view name,
                                   const CaseFoldedEquals& equals = EqualsIgnoringAsciiCase);

}  // namespace zv
