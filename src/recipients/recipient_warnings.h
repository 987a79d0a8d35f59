// The recipient warnings of the send-time check: many recipients, many external domains and
// domains never sent to, as one block of the warning.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "mime/charset.h"
#include "recipients/address_list.h"
#include "recipients/recipient_settings.h"

namespace zv {

// One finding of a warning: its line ("・", the text, CR LF) and, when it lists what it found,
// the line that follows it, without its line break.
struct Finding {
  std::string line;
  std::string excerpt;
  friend bool operator==(const Finding&, const Finding&) = default;
};

// A recipient as the confirmation lists it: each address once (the first time it stands in
// the header), with whether the user's own domains leave it outside.
struct ListedRecipient {
  Recipient recipient;
  bool external = false;
};

// The name the recipient block goes under, where a pattern's block shows the pattern's name.
inline constexpr std::string_view kRecipientsBlockName = "宛先";
inline constexpr std::string_view kRecipientsHeading = "■宛先\r\n";

struct RecipientFindings {
  // The warnings that fire, in their order; none when none fires.
  std::vector<Finding> findings;
  // With NewDomains on: every domain of the mail's external addresses (To, Cc and Bcc) that
  // the domains sent to do not list, in first-seen order.
  std::vector<std::string> newDomains;
  // Only when asked for: every distinct address in header order.
  std::vector<ListedRecipient> recipients;
};

// The warnings `settings` switch on for a mail with the (unfolded) header lines, and with
// `list` the mail's recipients, classified by the own domains. Addresses compare ignoring A-Z
// case. Counts are of distinct addresses and domains: all addresses of To and Cc for many
// recipients; the domains of external To and Cc addresses for many domains; those of external
// To, Cc and Bcc addresses for new domains. Addresses without domain count as recipients only.
// At most ten domains are listed, then "…"; a new domain one edit apart from a plain domain of
// the own list or a domain sent to names the first such. Linear in the header and the lists;
// nothing is parsed when all three are off and no list is asked for.
RecipientFindings CheckRecipients(const RecipientSettings& settings,
                                  const std::vector<std::string_view>& headerLines,
                                  CharsetConverter& converter, bool list = false);

// The findings as the warning shows them: each line, then its excerpt and CR LF when it has
// one.
void AppendFindings(std::string& text, const std::vector<Finding>& findings);

// The block the warning opens with: "■宛先", CR LF and the findings; empty without findings.
std::string RecipientBlock(const RecipientFindings& found);

}  // namespace zv
