// The recipients of a mail: the addresses of its To, Cc and Bcc fields, each with the name it
// is shown under and its domain.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "mime/charset.h"

namespace zv {

enum class RecipientKind { kTo, kCc, kBcc };

struct Recipient {
  RecipientKind kind = RecipientKind::kTo;
  std::string name;     // the display name in code page 932; empty when there is none
  std::string address;  // as written, without comments and without blanks outside quotes
  std::string domain;   // DomainOf(address); empty for an address without domain
  friend bool operator==(const Recipient&, const Recipient&) = default;
};

// What follows the last "@" of `address`, A-Z lower-cased, one final "." dropped; empty when
// there is no "@". Characters, not bytes: an "@" or "." that is the second byte of a two-byte
// character is neither. Bytes of 0x20 and below at its ends (only an unclosed quoted string
// can leave them there) are trimmed, so that every domain reads back from a line list as it is.
std::string DomainOf(std::string_view address);

// Appends the addresses of one field's value (the text after "To:"), split at "," and ";"
// outside quoted strings, angle brackets and comments; empty elements are skipped.
// `phrase <address>` names the address by the phrase (quotes removed, backslash escapes
// resolved, comments dropped, runs of blanks outside quotes as one blank, encoded words
// decoded, also inside quotes); a bare address has no name unless a comment follows it, which
// then serves as its name. A group `name: a, b;` gives its members. A lead byte takes the next
// byte with it wherever it stands, so no second byte starts an escape, a quote or a separator.
void ParseAddressList(std::string_view value, RecipientKind kind, CharsetConverter& converter,
                      std::vector<Recipient>& out);

// Every recipient of the header lines (unfolded as the check unfolds them, UnfoldHeader), in
// header order: each line named To, Cc or Bcc in any letter case, directly followed by ":".
std::vector<Recipient> ParseRecipients(const std::vector<std::string_view>& headerLines,
                                       CharsetConverter& converter);

}  // namespace zv
