#include "check/send_check.h"

#include <optional>
#include <vector>

#include "check/word_search.h"
#include "plugin/header_field.h"
#include "text/lines.h"
#include "text/sjis.h"

namespace zv {

namespace {

constexpr std::string_view kOpen = "「";
constexpr std::string_view kClose = "」";
constexpr std::string_view kMore = "…";
constexpr size_t kKanaLimit = 25;  // bytes of list before a sixth entry becomes "…"
constexpr size_t kZenkakuLimit = 30;

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

// KanaExcerpt over a text given as consecutive parts, read as one: a lead byte at the end of
// one part takes the first byte of the next. A zero byte ends the text.
std::string KanaExcerptOfParts(const std::vector<std::string_view>& parts) {
  std::string out;
  bool trailNext = false;
  for (std::string_view part : parts) {
    for (char c : part) {
      const unsigned char b = static_cast<unsigned char>(c);
      if (b == 0) return out;
      if (trailNext) {
        trailNext = false;
      } else if (IsSjisLeadByte(b)) {
        trailNext = true;
      } else if (b > 0x7E) {
        if (out.size() >= kKanaLimit) return out.append(kMore);
        out.append(kOpen).push_back(c);
        out.append(kClose);
      }
    }
  }
  return out;
}

// The header split into lines, each folded field joined into one line: a line that begins with
// a blank or a tab loses that byte and is appended to the line before it (never to nothing).
std::vector<std::string> UnfoldHeader(std::string_view header) {
  std::vector<std::string> lines;
  ForEachLine(header, [&](std::string_view line) {
    if (!lines.empty() && !line.empty() && (line[0] == ' ' || line[0] == '\t')) {
      lines.back().append(line.substr(1));
    } else {
      lines.emplace_back(line);
    }
  });
  return lines;
}

// Whether pattern `i` applies to a mail with the upper-cased To value `to`.
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
  return KanaExcerptOfParts({text});
}

std::string ZenkakuExcerpt(std::string_view text) {
  text = UntilNul(text);
  std::string out;
  for (size_t pos = 0; pos < text.size(); ++pos) {
    if (!IsSjisLeadByte(text[pos])) continue;
    if (out.size() >= kZenkakuLimit) return out.append(kMore);
    out.append(kOpen).append(text.substr(pos, 2)).append(kClose);
    ++pos;
  }
  return out;
}

std::string ComposeWarning(const PatternTable& table, std::string_view header,
                           std::string_view body, SendCheckHost& host) {
  // Preparation.
  const std::vector<std::string> headerLines = UnfoldHeader(header);
  const std::vector<std::string_view> headerViews(headerLines.begin(), headerLines.end());
  const std::string to = UpperSjis(HeaderField("TO:", headerViews));
  const std::string_view subject = HeaderField("SUBJECT:", headerViews);

  // The flat body (its lines with nothing between them) directly followed by the subject: the
  // text in which "添付" is looked for. Words count in the body only when they end within it.
  std::string joint;
  joint.reserve(body.size() + subject.size());
  ForEachLine(body, [&](std::string_view line) { joint.append(line); });
  const size_t bodySize = joint.size();
  joint.append(subject);
  const std::string_view flat(joint.data(), bodySize);

  // Applicability, and every word of the applicable patterns for one shared search.
  std::vector<PatternPlan> plans;
  std::vector<std::string_view> words;
  bool needAttachWord = false;
  for (size_t i = 0; i < table.size(); ++i) {
    if (!Applies(table, i, to)) continue;
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
    }
    plans.push_back(plan);
  }
  const size_t attachWord = words.size();
  if (needAttachWord) words.push_back(kAttachWord);

  std::vector<size_t> endsInJoint;
  std::vector<size_t> endsInSubject;
  if (!words.empty()) {
    const WordSearch search(words);
    endsInJoint = search.FirstEnds(joint);
    endsInSubject = search.FirstEnds(subject);
  }
  auto occurs = [&](size_t word) {
    return endsInJoint[word] <= bodySize || endsInSubject[word] != WordSearch::kAbsent;
  };

  // Results shared by the patterns, each worked out when first needed.
  std::optional<std::string> kana, zenkakuText, zenkakuSubject;
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
  auto appendExcerpt = [](std::string& findings, std::string_view line,
                          const std::string& excerpt) {
    if (!excerpt.empty()) findings.append(line).append(excerpt).append(kCrLf);
  };

  std::string message;
  for (const PatternPlan& plan : plans) {
    const size_t i = plan.index;
    std::string findings;
    if (table.IsOn(i, PatternField::kAlways)) {
      findings = kAlwaysLine;
    } else {
      if (table.IsOn(i, PatternField::kKana)) {
        if (!kana) {
          std::vector<std::string_view> parts;
          parts.reserve(headerLines.size() * 2 + 1);
          for (const std::string& line : headerLines) {
            parts.push_back(line);
            parts.push_back(kCrLf);
          }
          parts.push_back(flat);
          kana = KanaExcerptOfParts(parts);
        }
        appendExcerpt(findings, kKanaLine, *kana);
      }
      if (table.IsOn(i, PatternField::kZenkakuText)) {
        if (!zenkakuText) zenkakuText = ZenkakuExcerpt(flat);
        appendExcerpt(findings, kZenkakuTextLine, *zenkakuText);
      }
      if (table.IsOn(i, PatternField::kZenkakuSubject)) {
        if (!zenkakuSubject) zenkakuSubject = ZenkakuExcerpt(subject);
        appendExcerpt(findings, kZenkakuSubjectLine, *zenkakuSubject);
      }
      if (table.IsOn(i, PatternField::kBlankSubject) && TrimControls(subject).empty()) {
        findings.append(kBlankSubjectLine);
      }
      if (table.IsOn(i, PatternField::kAttachCheck) &&
          endsInJoint[attachWord] != WordSearch::kAbsent && noAttachment()) {
        findings.append(kAttachLine);
      }
      if (plan.zorvek.count > 0) appendExcerpt(findings, kZorvekLine, listWords(plan.zorvek, true));
      if (plan.hissu.count > 0) appendExcerpt(findings, kHissuLine, listWords(plan.hissu, false));
    }
    if (!findings.empty()) {
      message.append(kHeadingOpen)
          .append(UntilNul(table.Get(i, PatternField::kName)))
          .append(kHeadingClose)
          .append(findings);
    }
  }
  if (!message.empty()) message.append(kQuestion);
  return message;
}

bool CheckOutgoingMail(const PatternTable& table, std::string_view header, std::string_view body,
                       SendCheckHost& host) {
  const std::string message = ComposeWarning(table, header, body, host);
  if (message.empty()) return true;
  return host.AskUser(message, kWarningTitle);
}

}  // namespace zv
