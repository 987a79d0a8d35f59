// The recipient warnings of the send-time check: many recipients, many external domains and
// domains never sent to, as one block of the warning.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "mime/charset.h"
#include "recipients/recipient_settings.h"

namespace zv {

struct RecipientFindings {
  // "■宛先" and CR LF, then each warning that fires; empty when none fires.
  std::string block;
  // With NewDomains on: every domain of the mail's external addresses (To, Cc and Bcc) that
  // the domains sent to do not list, in first-seen order.
  std::vector<std::string> newDomains;
};

// The warnings `settings` switch on for a mail with the (unfolded) header lines. Addresses
// compare ignoring A-Z case. Counts are of distinct addresses and domains: all addresses of
// To and Cc for many recipients; the domains of external To and Cc addresses for many
// domains; those of external To, Cc and Bcc addresses for new domains. Addresses without
// domain count as recipients only. At most ten domains are listed, then "…"; a new domain one
// edit apart from a plain domain of the own list or a domain sent to names the first such.
// Linear in the header and the lists; nothing is parsed when all three are off.
RecipientFindings CheckRecipients(const RecipientSettings& settings,
                                  const std::vector<std::string_view>& headerLines,
                                  CharsetConverter& converter);

}  // namespace zv
