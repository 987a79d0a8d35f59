#include "check/send_check.h"

#include <optional>
#include <vector>

#include "check/body_scan.h"
#include "check/word_search.h"
#include "recipients/recipient_warnings.h"
#include "text/header_field.h"
#include "text/lines.h"
#include "text/sjis.h"

namespace zv {

namespace {

constexpr std::string_view kOpen = "「";
constexpr std::string_view kClose = "」";

constexpr std::string_view kAttachWord = "添付";
constexpr std::string_view kHeadingOpen = "■禁句パターン【";
constexpr std::string_view kHeadingClose = "】\r\n";
constexpr std::string_view kQuestion = "\r\n送信しますか？";
constexpr std::string_view kAlwaysLine = "・常に警告するように設定されています。\r\n";
constexpr std::string_view kKanaLine = "・以下の半角カナ文字が入っています。\r\n";
constexpr std::string_view kZenkakuTextLine = "・本文か署名に以下の全角文字が入っています。\r\n";
constexpr std::string_view kZenkakuSubjectLine = "・題名に以下の全角文字が入っています。\r\n";
constexpr std::string_view kBlankSubjectLine = "・題名が空白です。\r\n";
constexpr std::string_view kAttachLine =
    "・「添付」と書かれていますが、添付ファイルがありません。\r\n";
constexpr std::string_view kZorvekLine = "・以下の禁句が入っています。\r\n";
constexpr std::string_view kHissuLine = "・以下の必須句が入っていません。\r\n";

// Appends the half-width kana of `text` (no zero byte in it) to `list`. False once the list is
// complete, ending with "…".
bool AppendKana(std::string& list, std::string_view text) {
  ExcerptScan scan(&list, nullptr);
  scan.Advance(text, true);
  return !scan.done();
}

// ZenkakuExcerpt of a text that holds no zero byte.
std::string ZenkakuOf(std::string_view text) {
  std::string list;
  ExcerptScan(nullptr, &list).Advance(text, true);
  return list;
}

// The upper-cased To value in which addresses are looked for; with Cc and Bcc included, the Cc
// and the Bcc value follow, each behind a zero byte. No address line holds a zero byte, so no
// match spans two values.
std::string RecipientText(const std::vector<std::string_view>& headerLines, bool includeCcBcc) {
  std::string text = UpperSjis(HeaderField("TO:", headerLines));
  if (includeCcBcc) {
    for (std::string_view name : {"CC:", "BCC:"}) {
      text.push_back('\0');
      text.append(UpperSjis(HeaderField(name, headerLines)));
    }
  }
  return text;
}

// Whether pattern `i` applies to a mail whose upper-cased recipient values are `to`.
bool Applies(const PatternTable& table, size_t i, std::string_view to) {
  bool match = false;
  ForEachLine(table.Get(i, PatternField::kAddress), [&](std::string_view line) {
    if (match) return;
    const std::string_view address = TrimControls(line);
    if (!address.empty() && to.find(UpperSjis(address)) != std::string_view::npos) match = true;
  });
  return match == table.IsOn(i, PatternField::kAddressOn);
}

// The non-empty lines of a word list, as they stand.
void AppendWords(std::string_view field, std::vector<std::string_view>& words) {
  ForEachLine(field, [&](std::string_view line) {
    if (!line.empty()) words.push_back(line);
  });
}

struct WordRange {
  size_t first = 0;
  size_t count = 0;
};

// The words one applicable pattern looks for, as ranges of the shared word list.
struct PatternPlan {
  size_t index = 0;
  WordRange zorvek;
  WordRange hissu;
};

}  // namespace

std::string KanaExcerpt(std::string_view text) {
  std::string list;
  AppendKana(list, UntilNul(text));
  return list;
}

std::string ZenkakuExcerpt(std::string_view text) {
  return ZenkakuOf(UntilNul(text));
}

CheckResult RunCheck(const PatternTable& table, std::string_view header, std::string_view body,
                     SendCheckHost& host, const CheckOptions& options) {
  CheckResult result;
  // Preparation.
  const std::vector<std::string> headerLines = UnfoldHeader(header);
  const std::vector<std::string_view> headerViews(headerLines.begin(), headerLines.end());

  // The recipients' block comes first.
  if (options.recipients && options.converter &&
      (options.listRecipients || RecipientWarningsOn(*options.recipients))) {
    RecipientFindings found = CheckRecipients(*options.recipients, headerViews,
                                              *options.converter, options.listRecipients);
    if (!found.findings.empty()) {
      result.blocks.push_back(
          {std::string(kRecipientsBlockName), true, std::move(found.findings)});
    }
    result.newDomains = std::move(found.newDomains);
    result.recipients = std::move(found.recipients);
  }
  const std::string recipients = RecipientText(headerViews, options.includeCcBcc);
  const std::string_view subject = HeaderField("SUBJECT:", headerViews);

  // Applicability, and every word of the applicable patterns for one shared search.
  std::vector<PatternPlan> plans;
  std::vector<std::string_view> words;
  bool needAttachWord = false;
  bool needKana = false;
  bool needZenkakuText = false;
  for (size_t i = 0; i < table.size(); ++i) {
    if (!Applies(table, i, recipients)) continue;
    PatternPlan plan;
    plan.index = i;
    if (!table.IsOn(i, PatternField::kAlways)) {
      if (table.IsOn(i, PatternField::kZorvekCheck)) {
        plan.zorvek.first = words.size();
        AppendWords(table.Get(i, PatternField::kZorvek), words);
        plan.zorvek.count = words.size() - plan.zorvek.first;
      }
      if (table.IsOn(i, PatternField::kHissuCheck)) {
        plan.hissu.first = words.size();
        AppendWords(table.Get(i, PatternField::kHissu), words);
        plan.hissu.count = words.size() - plan.hissu.first;
      }
      needAttachWord = needAttachWord || table.IsOn(i, PatternField::kAttachCheck);
      needKana = needKana || table.IsOn(i, PatternField::kKana);
      needZenkakuText = needZenkakuText || table.IsOn(i, PatternField::kZenkakuText);
    }
    plans.push_back(plan);
  }

  // The kana excerpt of the header lines, each followed by CR LF, then the flat body. Every
  // line starts at a character start and CR LF holds no kana, so each part is scanned on its
  // own.
  std::string kana, zenkakuText;
  bool bodyKana = needKana;
  for (size_t k = 0; bodyKana && k < headerLines.size(); ++k) {
    bodyKana = AppendKana(kana, headerLines[k]);
  }

  // The flat body (its lines with nothing between them) directly followed by the subject: the
  // text in which "添付" is looked for. Words count in the body only when they end within it.
  // The body is read once; its excerpts and words are taken as it is flattened.
  const size_t attachWord = words.size();
  if (needAttachWord) words.push_back(kAttachWord);
  std::optional<WordSearch> search;
  if (!words.empty()) search.emplace(words);
  const BodyScan scan =
      ScanBody(body, subject, options.ignoreQuotedLines, bodyKana ? &kana : nullptr,
               needZenkakuText ? &zenkakuText : nullptr, search ? &*search : nullptr);
  std::vector<size_t> endsInSubject;
  if (search) endsInSubject = search->FirstEnds(subject);
  auto occurs = [&](size_t word) {
    return scan.ends[word] <= scan.bodyEnd || endsInSubject[word] != WordSearch::kAbsent;
  };

  // Results shared by the patterns, each worked out when first needed.
  std::optional<std::string> zenkakuSubject;
  std::optional<bool> attachmentMissing;
  auto noAttachment = [&] {
    if (!attachmentMissing) attachmentMissing = host.TestAttachment() != Attachment::kPresent;
    return *attachmentMissing;
  };
  auto listWords = [&](WordRange range, bool wantPresent) {
    std::string list;
    for (size_t k = range.first; k < range.first + range.count; ++k) {
      if (occurs(k) == wantPresent) list.append(kOpen).append(words[k]).append(kClose);
    }
    return list;
  };
  auto appendExcerpt = [](std::vector<Finding>& findings, std::string_view line,
                          std::string excerpt) {
    if (!excerpt.empty()) findings.push_back({std::string(line), std::move(excerpt)});
  };

  for (const PatternPlan& plan : plans) {
    const size_t i = plan.index;
    std::vector<Finding> findings;
    if (table.IsOn(i, PatternField::kAlways)) {
      findings.push_back({std::string(kAlwaysLine), {}});
    } else {
      if (table.IsOn(i, PatternField::kKana)) appendExcerpt(findings, kKanaLine, kana);
      if (table.IsOn(i, PatternField::kZenkakuText)) {
        appendExcerpt(findings, kZenkakuTextLine, zenkakuText);
      }
      if (table.IsOn(i, PatternField::kZenkakuSubject)) {
        if (!zenkakuSubject) zenkakuSubject = ZenkakuOf(subject);
        appendExcerpt(findings, kZenkakuSubjectLine, *zenkakuSubject);
      }
      if (table.IsOn(i, PatternField::kBlankSubject) && TrimControls(subject).empty()) {
        findings.push_back({std::string(kBlankSubjectLine), {}});
      }
      if (table.IsOn(i, PatternField::kAttachCheck) &&
          scan.ends[attachWord] != WordSearch::kAbsent && noAttachment()) {
        findings.push_back({std::string(kAttachLine), {}});
      }
      if (plan.zorvek.count > 0) appendExcerpt(findings, kZorvekLine, listWords(plan.zorvek, true));
      if (plan.hissu.count > 0) appendExcerpt(findings, kHissuLine, listWords(plan.hissu, false));
    }
    if (!findings.empty()) {
      result.blocks.push_back(
          {std::string(UntilNul(table.Get(i, PatternField::kName))), false, std::move(findings)});
    }
  }
  return result;
}

std::string WarningText(const std::vector<FindingBlock>& blocks) {
  std::string message;
  if (blocks.empty()) return message;
  for (const FindingBlock& block : blocks) {
    if (block.recipients) {
      message.append(kRecipientsHeading);
    } else {
      message.append(kHeadingOpen).append(block.name).append(kHeadingClose);
    }
    AppendFindings(message, block.findings);
  }
  return message.append(kQuestion);
}

std::string ComposeWarning(const PatternTable& table, std::string_view header,
                           std::string_view body, SendCheckHost& host, CheckOptions options,
                           std::vector<std::string>* newDomains) {
  CheckResult result = RunCheck(table, header, body, host, options);
  if (newDomains) *newDomains = std::move(result.newDomains);
  return WarningText(result.blocks);
}

bool NeedsConfirmation(const CheckResult& result, bool confirmInternal) {
  if (!result.blocks.empty()) return true;
  for (const ListedRecipient& r : result.recipients) {
    if (r.external || confirmInternal) return true;
  }
  return false;
}

bool SendCheckHost::Confirm(const CheckResult& result) {
  return result.blocks.empty() || AskUser(WarningText(result.blocks), kWarningTitle);
}

bool CheckOutgoingMail(const PatternTable& table, std::string_view header, std::string_view body,
                       SendCheckHost& host, CheckOptions options) {
  const std::string message = ComposeWarning(table, header, body, host, options);
  if (message.empty()) return true;
  return host.AskUser(message, kWarningTitle);
}

SendVerdict CheckOutgoingMail(const PatternSettings& settings, std::string_view header,
                              std::string_view body, SendCheckHost& host,
                              CharsetConverter& converter) {
  const bool confirm = settings.recipients.confirm;
  CheckOptions options = CheckOptionsOf(settings, converter);
  options.listRecipients = confirm;
  CheckResult result = RunCheck(settings.table, header, body, host, options);
  SendVerdict verdict;
  verdict.newDomains = std::move(result.newDomains);
  if (confirm) {
    if (NeedsConfirmation(result, settings.recipients.confirmInternal)) {
      verdict.send = host.Confirm(result);
    }
  } else if (!result.blocks.empty()) {
    verdict.send = host.AskUser(WarningText(result.blocks), kWarningTitle);
  }
  return verdict;
}

}  // namespace zv
