#include "check/send_check.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "check/sjis_blocks.h"
#include "check/word_search.h"
#include "text/header_field.h"
#include "text/lines.h"
#include "text/sjis.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The excerpts of a text that starts at a character start and holds no zero byte, worked out
// 64 bytes at a time as the text grows: the half-width kana appended to `kana`, the
// double-byte characters to `zenkaku`. Each list stops once it ends with "…"; a list not
// wanted counts as complete from the start.
class ExcerptScan {
 public:
  ExcerptScan(std::string* kana, std::string* zenkaku)
      : kana_(kana), zenkaku_(zenkaku), kanaDone_(!kana), zenkakuDone_(!zenkaku) {}

  bool done() const { return kanaDone_ && zenkakuDone_; }

  // Scans the whole blocks of `text` not scanned yet, and with `final` the rest too. `text`
  // only grows between calls.
  void Advance(std::string_view text, bool final) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    // Short of the end, a block is scanned once the byte after it exists: its last lead byte
    // may need it.
    while (!done() && (text.size() - scanned_ > kBlockBytes || (final && scanned_ < text.size()))) {
      const size_t base = scanned_;
      const size_t len = std::min(kBlockBytes, text.size() - base);
      const BlockMasks masks = ClassifyBlock(s + base, len);
      const uint64_t trail = trails_.Next(masks.leadRange);
      if (!kanaDone_) {
        for (uint64_t high = masks.highSingle & ~trail; high != 0; high &= high - 1) {
          if (kana_->size() >= kKanaLimit) {
            kana_->append(kMore);
            kanaDone_ = true;
            break;
          }
          kana_->append(kOpen).push_back(static_cast<char>(s[base + LowestBit(high)]));
          kana_->append(kClose);
        }
      }
      if (!zenkakuDone_) {
        for (uint64_t lead = masks.leadRange & ~trail; lead != 0; lead &= lead - 1) {
          if (zenkaku_->size() >= kZenkakuLimit) {
            zenkaku_->append(kMore);
            zenkakuDone_ = true;
            break;
          }
          // A lead byte that ends the text is listed alone.
          zenkaku_->append(kOpen).append(text.substr(base + LowestBit(lead), 2)).append(kClose);
        }
      }
      scanned_ += len;
    }
  }

 private:
  std::string* kana_;
  std::string* zenkaku_;
  bool kanaDone_;
  bool zenkakuDone_;
  size_t scanned_ = 0;
  TrailMasks trails_;
};

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

// Copies the lines of `text` with nothing between them, which is the text without its CR and
// LF bytes, to `out`, stopping at a zero byte; gives the number of bytes written, and in
// `read` the bytes read (the whole text unless it stopped).
size_t CopyFlat(char* out, std::string_view text, size_t& read) {
  char* w = out;
  const char* s = text.data();
  size_t i = 0;
#if defined(__SSE2__)
  // Sixteen bytes at a time; only a chunk holding a line break or zero is copied byte by byte.
  for (; i + 16 <= text.size(); i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    const __m128i breaks = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\r')),
                                                     _mm_cmpeq_epi8(v, _mm_set1_epi8('\n'))),
                                        _mm_cmpeq_epi8(v, _mm_setzero_si128()));
    if (_mm_movemask_epi8(breaks) == 0) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(w), v);
      w += 16;
      continue;
    }
    for (size_t j = i; j < i + 16; ++j) {
      if (s[j] == '\0') {
        read = j;
        return static_cast<size_t>(w - out);
      }
      *w = s[j];
      w += s[j] != '\r' && s[j] != '\n';
    }
  }
#endif
  for (; i < text.size(); ++i) {
    if (s[i] == '\0') break;
    *w = s[i];
    w += s[i] != '\r' && s[i] != '\n';
  }
  read = i;
  return static_cast<size_t>(w - out);
}

// Whether a body line is quoted: its first byte that is not a blank or a tab is ">", or the
// full-width "＞" starts there.
bool IsQuotedLine(std::string_view line) {
  constexpr std::string_view kFullWidthGreater = "＞";
  const size_t at = line.find_first_not_of(" \t");
  if (at == std::string_view::npos) return false;
  return line[at] == '>' || line.substr(at, kFullWidthGreater.size()) == kFullWidthGreater;
}

// CopyFlat of the lines of `text` that are not quoted.
size_t CopyFlatUnquoted(char* out, std::string_view text) {
  size_t n = 0;
  ForEachLine(text, [&](std::string_view line) {
    if (IsQuotedLine(line)) return;
    std::copy(line.begin(), line.end(), out + n);
    n += line.size();
  });
  return n;
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

// Flattens `body` into `out` (room for the whole body) up to its first zero byte, scanning the
// flat text for its excerpts while it is still in the cache. Gives the flat text's size.
size_t FlattenScanning(char* out, std::string_view body, ExcerptScan& excerpts) {
  constexpr size_t kChunk = 16 * 1024;
  size_t written = 0;
  for (size_t at = 0; at < body.size();) {
    size_t read = 0;
    const std::string_view chunk = body.substr(at, kChunk);
    written += CopyFlat(out + written, chunk, read);
    excerpts.Advance(std::string_view(out, written), false);
    if (read < chunk.size()) break;  // a zero byte ends the body
    at += chunk.size();
  }
  excerpts.Advance(std::string_view(out, written), true);
  return written;
}

// The header split into lines and unfolded from the last line back to the second: a line that
// begins with a blank or a tab loses that byte and is appended to the line before it, and the
// joined line is tested again. The pieces waiting for a line are kept as views, so each line is
// built once however many continuation lines it has.
std::vector<std::string> UnfoldHeader(std::string_view header) {
  std::vector<std::string_view> input;
  ForEachLine(header, [&](std::string_view line) { input.push_back(line); });
  std::vector<std::string> lines;           // last line first
  std::vector<std::string_view> pending;    // non-empty pieces for the line above, last first
  size_t pendingSize = 0;
  for (size_t i = input.size(); i-- > 0;) {
    std::string_view& head = input[i].empty() && !pending.empty() ? pending.back() : input[i];
    if (i > 0 && !head.empty() && (head[0] == ' ' || head[0] == '\t')) {
      head.remove_prefix(1);
      if (&head == &input[i]) {
        pending.push_back(head);
        pendingSize += head.size();
      } else {
        --pendingSize;
      }
      if (pending.back().empty()) pending.pop_back();
      continue;
    }
    std::string& line = lines.emplace_back();
    line.reserve(input[i].size() + pendingSize);
    line.append(input[i]);
    for (auto piece = pending.rbegin(); piece != pending.rend(); ++piece) line.append(*piece);
    pending.clear();
    pendingSize = 0;
  }
  std::reverse(lines.begin(), lines.end());
  return lines;
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

std::string ComposeWarning(const PatternTable& table, std::string_view header,
                           std::string_view body, SendCheckHost& host, CheckOptions options) {
  // Preparation.
  const std::vector<std::string> headerLines = UnfoldHeader(header);
  const std::vector<std::string_view> headerViews(headerLines.begin(), headerLines.end());
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
  // The body is read once, its excerpts taken from the flat copy as it is written.
  const std::unique_ptr<char[]> jointBuffer(new char[body.size() + subject.size() + 1]);
  ExcerptScan excerpts(bodyKana ? &kana : nullptr, needZenkakuText ? &zenkakuText : nullptr);
  size_t bodySize = 0;
  if (options.ignoreQuotedLines) {
    bodySize = CopyFlatUnquoted(jointBuffer.get(), body);
    excerpts.Advance(std::string_view(jointBuffer.get(), bodySize), true);
  } else {
    bodySize = FlattenScanning(jointBuffer.get(), body, excerpts);
  }
  std::copy(subject.begin(), subject.end(), jointBuffer.get() + bodySize);
  const std::string_view joint(jointBuffer.get(), bodySize + subject.size());
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
      if (table.IsOn(i, PatternField::kKana)) appendExcerpt(findings, kKanaLine, kana);
      if (table.IsOn(i, PatternField::kZenkakuText)) {
        appendExcerpt(findings, kZenkakuTextLine, zenkakuText);
      }
      if (table.IsOn(i, PatternField::kZenkakuSubject)) {
        if (!zenkakuSubject) zenkakuSubject = ZenkakuOf(subject);
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
                       SendCheckHost& host, CheckOptions options) {
  const std::string message = ComposeWarning(table, header, body, host, options);
  if (message.empty()) return true;
  return host.AskUser(message, kWarningTitle);
}

}  // namespace zv
