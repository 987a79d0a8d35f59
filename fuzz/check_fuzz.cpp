// The send-time check against a plain restatement of its rules: which patterns apply, every
// finding, the excerpts, the recipient block (own domains tried entry by entry, look-alikes
// against every known domain) and the whole warning text, byte for byte; and the shared word
// search against a character-by-character search, whole and fed in pieces; the one pass over
// the body through windows of every size against the same pass through the usual window.
// Input: a control byte for the patterns and the options, the host's answers, with control bit
// 0x10 a byte of recipient settings and the own list and the domains sent to, then the
// patterns' texts, the header and the body.
//
// The Japanese texts of the warning are written here as their code page 932 bytes.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "check/body_scan.h"
#include "check/pattern_table.h"
#include "check/send_check.h"
#include "check/word_search.h"
#include "fuzz_input.h"
#include "mime/charset.h"
#include "recipients/address_list.h"
#include "reference.h"

namespace zv::fuzz {
namespace {

// 「 」 … 添付
const std::string kOpen = "\x81\x75", kClose = "\x81\x76", kMore = "\x81\x63";
const std::string kAttachWord = "\x93\x59\x95\x74";
const std::string kHeadingOpen = "\x81\xA1\x8B\xD6\x8B\xE5\x83\x70\x83\x5E\x81\x5B\x83\x93\x81\x79";
const std::string kHeadingClose = "\x81\x7A\r\n";
const std::string kQuestion = "\r\n\x91\x97\x90\x4D\x82\xB5\x82\xDC\x82\xB7\x82\xA9\x81\x48";
const std::string kAlwaysLine =
    "\x81\x45\x8F\xED\x82\xC9\x8C\x78\x8D\x90\x82\xB7\x82\xE9\x82\xE6\x82\xA4\x82\xC9\x90\xDD"
    "\x92\xE8\x82\xB3\x82\xEA\x82\xC4\x82\xA2\x82\xDC\x82\xB7\x81\x42\r\n";
const std::string kKanaLine =
    "\x81\x45\x88\xC8\x89\xBA\x82\xCC\x94\xBC\x8A\x70\x83\x4A\x83\x69\x95\xB6\x8E\x9A\x82\xAA"
    "\x93\xFC\x82\xC1\x82\xC4\x82\xA2\x82\xDC\x82\xB7\x81\x42\r\n";
const std::string kZenkakuTextLine =
    "\x81\x45\x96\x7B\x95\xB6\x82\xA9\x8F\x90\x96\xBC\x82\xC9\x88\xC8\x89\xBA\x82\xCC\x91\x53"
    "\x8A\x70\x95\xB6\x8E\x9A\x82\xAA\x93\xFC\x82\xC1\x82\xC4\x82\xA2\x82\xDC\x82\xB7\x81\x42"
    "\r\n";
const std::string kZenkakuSubjectLine =
    "\x81\x45\x91\xE8\x96\xBC\x82\xC9\x88\xC8\x89\xBA\x82\xCC\x91\x53\x8A\x70\x95\xB6\x8E\x9A"
    "\x82\xAA\x93\xFC\x82\xC1\x82\xC4\x82\xA2\x82\xDC\x82\xB7\x81\x42\r\n";
const std::string kBlankSubjectLine =
    "\x81\x45\x91\xE8\x96\xBC\x82\xAA\x8B\xF3\x94\x92\x82\xC5\x82\xB7\x81\x42\r\n";
const std::string kAttachLine =
    "\x81\x45\x81\x75\x93\x59\x95\x74\x81\x76\x82\xC6\x8F\x91\x82\xA9\x82\xEA\x82\xC4\x82\xA2"
    "\x82\xDC\x82\xB7\x82\xAA\x81\x41\x93\x59\x95\x74\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xAA"
    "\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42\r\n";
const std::string kZorvekLine =
    "\x81\x45\x88\xC8\x89\xBA\x82\xCC\x8B\xD6\x8B\xE5\x82\xAA\x93\xFC\x82\xC1\x82\xC4\x82\xA2"
    "\x82\xDC\x82\xB7\x81\x42\r\n";
const std::string kHissuLine =
    "\x81\x45\x88\xC8\x89\xBA\x82\xCC\x95\x4B\x90\x7B\x8B\xE5\x82\xAA\x93\xFC\x82\xC1\x82\xC4"
    "\x82\xA2\x82\xDC\x82\xB9\x82\xF1\x81\x42\r\n";

std::string RefKana(std::string_view text) {
  text = RefCut(text);
  std::string list;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (RefLead(text[i])) {
      ++i;  // with the byte after it
    } else if (b > 0x7E) {
      if (list.size() >= 25) return list + kMore;
      list += kOpen + std::string(1, text[i]) + kClose;
    }
  }
  return list;
}

std::string RefZenkaku(std::string_view text) {
  text = RefCut(text);
  std::string list;
  for (size_t i = 0; i < text.size(); ++i) {
    if (!RefLead(text[i])) continue;
    if (list.size() >= 30) return list + kMore;
    list += kOpen + std::string(text.substr(i, 2)) + kClose;  // a final lead byte alone
    ++i;
  }
  return list;
}

std::string RefField(std::string_view upperName, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    if (line.size() >= upperName.size() && RefUpper(line.substr(0, upperName.size())) == upperName)
      return RefTrim(std::string_view(line).substr(upperName.size()));
  }
  return {};
}

// ■宛先, the three recipient lines, （ and " に似ています）"
const std::string kRecipientHeading = "\x81\xA1\x88\xB6\x90\xE6\r\n";
const std::string kManyRecipientsOpen =
    "\x81" "E\x88\xB6\x90\xE6\x81iTo \x82\xC6 Cc\x81j\x82\xAA ";
const std::string kManyRecipientsClose = " \x8C\x8F\x82\xA0\x82\xE8\x82\xDC\x82\xB7\x81" "B\r\n";
const std::string kManyDomainsOpen =
    "\x81" "E\x8E\xD0\x8AO\x82\xCC\x83h\x83\x81\x83" "C\x83\x93\x82\xAA ";
const std::string kManyDomainsClose = " \x8C\xC2\x82\xA0\x82\xE8\x82\xDC\x82\xB7\x81" "B\r\n";
const std::string kNewDomainsLine =
    "\x81" "E\x82\xCD\x82\xB6\x82\xDF\x82\xC4\x91\x97\x82\xE9\x83h\x83\x81\x83" "C\x83\x93\x82\xAA"
    "\x82\xA0\x82\xE8\x82\xDC\x82\xB7\x81" "B\r\n";
const std::string kLikeOpen = "\x81i";
const std::string kLikeClose = " \x82\xC9\x8E\x97\x82\xC4\x82\xA2\x82\xDC\x82\xB7\x81j";

CharsetConverter& Converter() {
  static const auto converter = PlatformConverter();
  return *converter;
}

bool Contains(const std::vector<std::string>& list, const std::string& s) {
  for (const std::string& x : list) {
    if (x == s) return true;
  }
  return false;
}

// Ten domains at most, then "…", each with what it looks like when given, then CR LF.
std::string RefDomainList(const std::vector<std::string>& domains,
                          const std::vector<std::string>& likes) {
  std::string out;
  for (size_t i = 0; i < domains.size() && i < 10; ++i) {
    out += kOpen + domains[i] + kClose;
    if (i < likes.size() && !likes[i].empty()) out += kLikeOpen + likes[i] + kLikeClose;
  }
  if (domains.size() > 10) out += kMore;
  return out + "\r\n";
}

// The recipient block by the rules, over the recipients the parser gives (its own target
// checks it): distinct addresses by a plain list, every address tried against every own-list
// entry, every new domain against every known one.
std::string RefRecipientBlock(const RecipientSettings& s, const std::vector<std::string>& lines,
                              std::vector<std::string>& fresh) {
  const auto inForce = [](int32_t v) { return v >= 1 && v <= 9999 ? v : 0; };
  const int32_t many = inForce(s.manyRecipients), manyDomains = inForce(s.manyDomains);
  if (many == 0 && manyDomains == 0 && !s.newDomains) return {};
  const std::vector<std::string_view> views(lines.begin(), lines.end());
  const std::vector<Recipient> recipients = ParseRecipients(views, Converter());
  const std::vector<RefOwnEntry> own = RefOwnEntries(s.internalDomains);
  std::vector<std::string> toCc, toCcDomains, allDomains;
  for (const Recipient& r : recipients) {
    const bool counted = r.kind != RecipientKind::kBcc;
    if (counted && !Contains(toCc, RefLower(r.address))) toCc.push_back(RefLower(r.address));
    if (r.domain.empty() || RefInternal(own, r.address)) continue;
    if (counted && !Contains(toCcDomains, r.domain)) toCcDomains.push_back(r.domain);
    if (!Contains(allDomains, r.domain)) allDomains.push_back(r.domain);
  }
  std::string found;
  if (many > 0 && toCc.size() >= static_cast<size_t>(many)) {
    found += kManyRecipientsOpen + std::to_string(toCc.size()) + kManyRecipientsClose;
  }
  if (manyDomains > 0 && toCcDomains.size() >= static_cast<size_t>(manyDomains)) {
    found += kManyDomainsOpen + std::to_string(toCcDomains.size()) + kManyDomainsClose +
              RefDomainList(toCcDomains, {});
  }
  if (s.newDomains) {
    const std::vector<std::string> known = RefKnownDomains(s.knownDomains);
    for (const std::string& d : allDomains) {
      if (!Contains(known, d)) fresh.push_back(d);
    }
    if (!fresh.empty()) {
      std::vector<std::string> candidates = RefPlainDomains(own);
      candidates.insert(candidates.end(), known.begin(), known.end());
      std::vector<std::string> likes;
      for (size_t i = 0; i < fresh.size() && i < 10; ++i) {
        std::string like;
        for (const std::string& c : candidates) {
          if (RefOneEdit(fresh[i], c)) {
            like = c;
            break;
          }
        }
        likes.push_back(like);
      }
      found += kNewDomainsLine + RefDomainList(fresh, likes);
    }
  }
  return found.empty() ? std::string() : kRecipientHeading + found;
}

// A quoted body line: its first byte that is not a blank or a tab is ">", or the first two
// bytes there are those of the full-width "\x81\x84".
bool RefQuoted(const std::string& line) {
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == ' ' || line[i] == '\t') continue;
    return line[i] == '>' || (line[i] == '\x81' && i + 1 < line.size() && line[i + 1] == '\x84');
  }
  return false;
}

class ScriptedHost final : public SendCheckHost {
 public:
  ScriptedHost(Attachment attachment, bool yes) : attachment_(attachment), yes_(yes) {}
  Attachment TestAttachment() override {
    ++attachmentTests;
    return attachment_;
  }
  bool AskUser(std::string_view text, std::string_view title) override {
    ++questions;
    asked = std::string(text);
    askedTitle = std::string(title);
    return yes_;
  }
  int attachmentTests = 0, questions = 0;
  std::string asked, askedTitle;

 private:
  Attachment attachment_;
  bool yes_;
};

// The warning by the rules, step by step. Sets `needsAttachmentTest` when some pattern asks,
// and gives the new domains in `fresh`.
std::string RefWarning(const PatternTable& table, const RecipientSettings& recipientSettings,
                       std::string_view header, std::string_view body, CheckOptions options,
                       Attachment attachment, bool& needsAttachmentTest,
                       std::vector<std::string>& fresh) {
  // Unfolding: from the last line back to the second, a line that begins with a space or a tab
  // loses that character, goes onto the end of the line before it and is deleted.
  std::vector<std::string> lines = RefSplit(header);
  for (size_t i = lines.size(); i-- > 1;) {
    if (!lines[i].empty() && (lines[i][0] == ' ' || lines[i][0] == '\t')) {
      lines[i - 1] += lines[i].substr(1);
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
    }
  }
  std::string flat;
  for (const std::string& line : RefSplit(body)) {
    if (!options.ignoreQuotedLines || !RefQuoted(line)) flat += line;
  }
  // The values an address is looked for in, each on its own.
  std::vector<std::string> recipients = {RefUpper(RefField("TO:", lines))};
  if (options.includeCcBcc) {
    recipients.push_back(RefUpper(RefField("CC:", lines)));
    recipients.push_back(RefUpper(RefField("BCC:", lines)));
  }
  const std::string subject = RefField("SUBJECT:", lines);
  std::string headerText;
  for (const std::string& line : lines) headerText += line + "\r\n";

  std::string message = RefRecipientBlock(recipientSettings, lines, fresh);
  for (size_t i = 0; i < table.size(); ++i) {
    const auto field = [&](PatternField f) { return table.Get(i, f); };
    const auto on = [&](PatternField f) { return field(f) == "True"; };
    bool match = false;
    for (const std::string& line : RefSplit(field(PatternField::kAddress))) {
      const std::string address = RefUpper(RefTrim(line));
      for (const std::string& value : recipients) {
        if (!address.empty() && value.find(address) != std::string::npos) match = true;
      }
      if (match) break;
    }
    if (match != on(PatternField::kAddressOn)) continue;

    std::string findings;
    if (on(PatternField::kAlways)) {
      findings = kAlwaysLine;
    } else {
      if (on(PatternField::kKana)) {
        const std::string ex = RefKana(headerText + flat);
        if (!ex.empty()) findings += kKanaLine + ex + "\r\n";
      }
      if (on(PatternField::kZenkakuText)) {
        const std::string ex = RefZenkaku(flat);
        if (!ex.empty()) findings += kZenkakuTextLine + ex + "\r\n";
      }
      if (on(PatternField::kZenkakuSubject)) {
        const std::string ex = RefZenkaku(subject);
        if (!ex.empty()) findings += kZenkakuSubjectLine + ex + "\r\n";
      }
      if (on(PatternField::kBlankSubject) && RefTrim(subject).empty()) {
        findings += kBlankSubjectLine;
      }
      if (on(PatternField::kAttachCheck) && RefPos(kAttachWord, flat + subject) > 0) {
        needsAttachmentTest = true;
        if (attachment != Attachment::kPresent) findings += kAttachLine;
      }
      const auto occurs = [&](const std::string& w) {
        return RefPos(w, flat) > 0 || RefPos(w, subject) > 0;
      };
      if (on(PatternField::kZorvekCheck)) {
        std::string list;
        for (const std::string& w : RefSplit(field(PatternField::kZorvek))) {
          if (!w.empty() && occurs(w)) list += kOpen + w + kClose;
        }
        if (!list.empty()) findings += kZorvekLine + list + "\r\n";
      }
      if (on(PatternField::kHissuCheck)) {
        std::string list;
        for (const std::string& w : RefSplit(field(PatternField::kHissu))) {
          if (!w.empty() && !occurs(w)) list += kOpen + w + kClose;
        }
        if (!list.empty()) findings += kHissuLine + list + "\r\n";
      }
    }
    // A name is shown up to a zero byte, which would end the message box's text.
    if (!findings.empty()) {
      message +=
          kHeadingOpen + std::string(RefCut(field(PatternField::kName))) + kHeadingClose + findings;
    }
  }
  if (!message.empty()) message += kQuestion;
  return message;
}

// A flag's text from two bits: mostly "True" or "False", sometimes near misses.
std::string Flag(unsigned bits) {
  static const char* const kTexts[] = {"False", "True", "True", "true"};
  return kTexts[bits & 3];
}

void CheckWordSearch(const WordSearch& search, const std::vector<std::string_view>& words,
                     std::string_view text, size_t piece) {
  const std::vector<size_t> ends = search.FirstEnds(text);
  ZV_FUZZ_CHECK(ends.size() == words.size(), text);
  // The same text in pieces of `piece` bytes, as parts of one buffer.
  WordSearch::Stream stream(search);
  const std::string_view cut = RefCut(text);
  for (size_t at = 0; at < cut.size(); at += piece) stream.Feed(cut.substr(at, piece));
  stream.Finish();
  ZV_FUZZ_CHECK(stream.Ends() == ends, text);
  const std::vector<size_t> starts = RefStarts(cut);
  for (size_t k = 0; k < words.size(); ++k) {
    const int at = RefPos(words[k], cut);
    const size_t want = at == 0 ? WordSearch::kAbsent
                                : starts[static_cast<size_t>(at) - 1] + RefCut(words[k]).size();
    ZV_FUZZ_CHECK(ends[k] == want, words[k]);
  }
}

}  // namespace
}  // namespace zv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zv;
  using namespace zv::fuzz;
  Input in(data, size);
  const uint8_t control = in.Byte();
  const uint8_t answers = in.Byte();
  const size_t patterns = control % 4;
  const CheckOptions options = {.ignoreQuotedLines = (control & 4) != 0,
                                .includeCcBcc = (control & 8) != 0};

  RecipientSettings recipients;
  if (control & 0x10) {
    const uint8_t r = in.Byte();
    recipients.manyRecipients = (r & 0x40) ? ((r & 0x80) ? 10000 : -1) : r % 4;
    recipients.manyDomains = (r >> 2) % 4;
    recipients.newDomains = (r & 0x10) != 0;
    recipients.internalDomains = in.Text();
    recipients.knownDomains = in.Text();
  }

  PatternTable table;
  std::vector<uint32_t> flags;
  for (size_t p = 0; p < patterns; ++p) {
    uint32_t f = 0;
    for (int b = 0; b < 3; ++b) f = (f << 8) | in.Byte();
    flags.push_back(f);
  }
  for (size_t p = 0; p < patterns; ++p) {
    const uint32_t f = flags[p];
    PatternRow row;
    row[0] = in.Text();                                // Name
    row[1] = in.Text();                                // Address
    row[2] = (f & 0x800000) ? "False" : "True";        // AddressOn
    row[3] = ((f >> 20) & 7) == 7 ? "True" : "False";  // Always, now and then
    for (size_t k = 4; k <= 9; ++k) row[k] = Flag(f >> (2 * (k - 4)));
    row[10] = in.Text();      // Zorvek
    row[11] = Flag(f >> 12);  // HissuCheck
    row[12] = in.Text();      // Hissu
    table.Append(std::move(row));
  }
  const std::string_view header = in.Text();
  const std::string_view body = in.Rest();
  static const Attachment kAttachments[] = {Attachment::kPresent, Attachment::kAbsent,
                                            Attachment::kUnknown, Attachment::kAbsent};
  const Attachment attachment = kAttachments[answers & 3];
  const bool yes = (answers & 4) != 0;

  ScriptedHost host(attachment, yes);
  PatternSettings settings;
  settings.table = table;
  settings.ignoreQuotedLines = options.ignoreQuotedLines;
  settings.includeCcBcc = options.includeCcBcc;
  settings.recipients = recipients;
  const SendVerdict verdict = CheckOutgoingMail(settings, header, body, host, Converter());
  const bool send = verdict.send;
  bool needsAttachmentTest = false;
  std::vector<std::string> fresh;
  const std::string want = RefWarning(table, recipients, header, body, options, attachment,
                                      needsAttachmentTest, fresh);
  ZV_FUZZ_CHECK(verdict.newDomains == fresh, want);
  ZV_FUZZ_CHECK(host.questions == (want.empty() ? 0 : 1), want);
  ZV_FUZZ_CHECK(host.asked == want, host.asked);
  ZV_FUZZ_CHECK(host.asked.find('\0') == std::string::npos, host.asked);
  ZV_FUZZ_CHECK(send == (want.empty() || yes), want);
  ZV_FUZZ_CHECK(host.attachmentTests <= 1, want);
  ZV_FUZZ_CHECK(host.attachmentTests == (needsAttachmentTest ? 1 : 0), want);
  if (!want.empty())
    ZV_FUZZ_CHECK(host.askedTitle == "Zorvek32 \x82\xA9\x82\xE7\x82\xCC\x8C\x78\x8D\x90",
                  host.askedTitle);

  ZV_FUZZ_CHECK(KanaExcerpt(body) == RefKana(body), body);
  ZV_FUZZ_CHECK(ZenkakuExcerpt(body) == RefZenkaku(body), body);

  // The word search alone, with the patterns' lines as words and the body as text.
  std::vector<std::string> owned;
  for (size_t p = 0; p < table.size(); ++p) {
    for (const std::string& w : RefSplit(table.Get(p, PatternField::kZorvek))) owned.push_back(w);
    owned.push_back(table.Get(p, PatternField::kName));
  }
  const std::vector<std::string_view> words(owned.begin(), owned.end());
  const size_t piece = 1 + (answers >> 3) % 23;
  const WordSearch search(words);
  CheckWordSearch(search, words, body, piece);
  CheckWordSearch(search, words, header, piece);

  // The body's one pass through a window of a few bytes, with the header as the subject.
  std::string kana[2], zenkaku[2];
  const BodyScan usual = ScanBody(body, header, options.ignoreQuotedLines, &kana[0], &zenkaku[0],
                                  &search);
  const BodyScan small = ScanBody(body, header, options.ignoreQuotedLines, &kana[1], &zenkaku[1],
                                  &search, piece);
  ZV_FUZZ_CHECK(usual.ends == small.ends && kana[0] == kana[1] && zenkaku[0] == zenkaku[1], body);
  return 0;
}
