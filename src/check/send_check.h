// The send-time check: runs every pattern that applies to an outgoing mail, collects the
// findings into one warning and asks the user whether to send the mail anyway.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "check/pattern_table.h"
#include "mime/charset.h"
#include "recipients/recipient_warnings.h"

namespace zv {

// Title of the warning box.
inline constexpr std::string_view kWarningTitle = "Zorvek32 からの警告";

// What the composition window shows below its editor.
enum class Attachment {
  kPresent,
  kAbsent,
  kUnknown,  // no editor window or no rectangle; counts as no attachment
};

// One block of the warning: the recipients' or a pattern's.
struct FindingBlock {
  std::string name;  // the pattern's Name up to a zero byte, or kRecipientsBlockName
  bool recipients = false;
  std::vector<Finding> findings;
};

// What one check found: the blocks in the warning's order, the mail's new external domains,
// and, when asked for, its recipients.
struct CheckResult {
  std::vector<FindingBlock> blocks;
  std::vector<std::string> newDomains;
  std::vector<ListedRecipient> recipients;
};

// The platform side of one check: the attachment test and the question to the user.
class SendCheckHost {
 public:
  virtual ~SendCheckHost() = default;
  // Asked at most once per check, and only when a pattern needs it.
  virtual Attachment TestAttachment() = 0;
  // Shows `text` (CP932, no zero byte) under `title` with Yes and No; true for Yes.
  virtual bool AskUser(std::string_view text, std::string_view title) = 0;
  // With Confirm on, instead of the warning, for a mail that needs confirming: true to send.
  // Hosts without a confirmation window ask the warning's question, when there is a warning.
  virtual bool Confirm(const CheckResult& result);
};

// The attachment test from the bottom edges of the composition window and of its editor, in
// screen pixels: attachments are listed in a gap of 12 pixels or more below the editor.
inline Attachment AttachmentFromBottoms(long windowBottom, long editorBottom) {
  return windowBottom - editorBottom < 12 ? Attachment::kAbsent : Attachment::kPresent;
}

// The global options that change what the check looks at. All off is the plain check.
struct CheckOptions {
  // Body lines whose first byte after blanks and tabs is ">", or whose first character there is
  // "＞", are left out of every check of the body.
  bool ignoreQuotedLines = false;
  // Address lines are also looked for in the first Cc and the first Bcc value.
  bool includeCcBcc = false;
  // The recipient warnings (recipients/recipient_warnings.h), with the converter for encoded
  // words in the recipients' names; both or neither. Not looked at when null or all off.
  const RecipientSettings* recipients = nullptr;
  CharsetConverter* converter = nullptr;
  // Lists the mail's recipients (CheckResult::recipients), for the confirmation.
  bool listRecipients = false;
};

inline CheckOptions CheckOptionsOf(const PatternSettings& settings, CharsetConverter& converter) {
  return {.ignoreQuotedLines = settings.ignoreQuotedLines,
          .includeCcBcc = settings.includeCcBcc,
          .recipients = &settings.recipients,
          .converter = &converter};
}

// Everything the patterns and the recipient warnings find in a mail with header text `header`
// and body text `body` (the signature appended).
CheckResult RunCheck(const PatternTable& table, std::string_view header, std::string_view body,
                     SendCheckHost& host, const CheckOptions& options);

// The warning's text for `blocks`: each block under its heading, then the closing question;
// empty when there is no block.
std::string WarningText(const std::vector<FindingBlock>& blocks);

// Whether a mail is confirmed before it goes: something was found, an address is external,
// or, with `confirmInternal`, it has any recipient at all.
bool NeedsConfirmation(const CheckResult& result, bool confirmInternal);

// The warning for a mail with header text `header` and body text `body` (the signature
// appended): the recipient block, every pattern's block of findings and the closing question,
// or an empty text when nothing is found. `newDomains`, when given, receives the mail's new
// external domains (RecipientFindings::newDomains).
std::string ComposeWarning(const PatternTable& table, std::string_view header,
                           std::string_view body, SendCheckHost& host, CheckOptions options = {},
                           std::vector<std::string>* newDomains = nullptr);

// True when the mail may go out: nothing was found, or the user answered Yes to the warning.
bool CheckOutgoingMail(const PatternTable& table, std::string_view header, std::string_view body,
                       SendCheckHost& host, CheckOptions options = {});

// The outcome of one send's check: whether the mail may go out, and the new external domains
// it holds, which the domains sent to take on once it has gone.
struct SendVerdict {
  bool send = true;
  std::vector<std::string> newDomains;
};

// The check with the table and every option of `settings`: with Confirm on, the confirmation
// replaces the warning for a mail that needs one, and other mails go without a question.
SendVerdict CheckOutgoingMail(const PatternSettings& settings, std::string_view header,
                              std::string_view body, SendCheckHost& host,
                              CharsetConverter& converter);

// The half-width kana of `text` (bytes of 0x7F and above that do not lead a double-byte
// character) as 「x」 entries, at most five, then "…" when there are more.
std::string KanaExcerpt(std::string_view text);

// The double-byte characters of `text` as 「xx」 entries, at most five, then "…" when there are
// more. A lead byte that ends the text is listed alone.
std::string ZenkakuExcerpt(std::string_view text);

}  // namespace zv
