// The recipients' parser, the own-domain lookups, look-alike domains and the growing list of
// domains sent to. Input: a control byte, the own list, the domains sent to, then a header.
// Besides crashes and hangs: every domain by the domain rule; a header written back from the
// parsed recipients parses into the same recipients; each address, and addresses made from
// the list's own entries, internal exactly when a plain trial of every entry says so; the
// look-alikes of every domain of the mail against a trial of every known domain; the list of
// domains sent to grown as the rules say.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_input.h"
#include "mime/charset.h"
#include "recipients/address_list.h"
#include "recipients/known_domains.h"
#include "recipients/look_alike.h"
#include "recipients/own_domains.h"
#include "reference.h"
#include "text/header_field.h"

namespace zv::fuzz {
namespace {

// Whether `s` can stand in a written list unchanged: for an address, no byte that means
// something to the parser and no lone lead byte at the end; for a name (quoted, with "\" before
// '"' and '\'), no encoded word and no lone lead byte at the end.
bool EndsWhole(std::string_view s) {
  const std::vector<std::string_view> chars = RefChars(s);
  return chars.empty() || !(chars.back().size() == 1 && RefLead(chars.back()[0]));
}
bool WritableAddress(std::string_view a) {
  for (const std::string_view c : RefChars(a)) {
    if (c.size() == 1 && (static_cast<unsigned char>(c[0]) <= 0x20 ||
                          std::string_view("\"\\<>(),;:").find(c[0]) != std::string_view::npos)) {
      return false;
    }
  }
  return !a.empty() && EndsWhole(a);
}
bool WritableName(std::string_view n) {
  return n.find("=?") == std::string_view::npos && EndsWhole(n);
}

std::string Written(const Recipient& r) {
  if (r.name.empty()) return "<" + r.address + ">";
  std::string out = "\"";
  for (const std::string_view c : RefChars(r.name)) {
    if (c == "\"" || c == "\\") out += '\\';
    out += c;
  }
  return out + "\" <" + r.address + ">";
}

std::vector<Recipient> Parse(std::string_view header) {
  static const auto converter = PlatformConverter();
  const std::vector<std::string> lines = UnfoldHeader(header);
  return ParseRecipients(std::vector<std::string_view>(lines.begin(), lines.end()), *converter);
}

// AppendKnownDomains by the rules: the domains not yet listed, lower-cased and trimmed, each
// after CR LF unless the text is empty or ends in a line break; the text cut at a zero byte
// first, and only when something is added.
std::string RefAppend(std::string list, const std::vector<std::string>& domains) {
  std::vector<std::string> listed = RefKnownDomains(list);
  std::vector<std::string> fresh;
  for (const std::string& d : domains) {
    const std::string lower = RefLower(RefTrim(d));
    bool seen = lower.empty();
    for (const std::string& l : listed) seen = seen || l == lower;
    if (seen) continue;
    listed.push_back(lower);
    fresh.push_back(lower);
  }
  if (fresh.empty()) return list;
  list = std::string(RefCut(list));
  for (const std::string& d : fresh) {
    if (!list.empty() && list.back() != '\n' && list.back() != '\r') list += "\r\n";
    list += d;
  }
  return list;
}

}  // namespace
}  // namespace zv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zv;
  using namespace zv::fuzz;
  Input in(data, size);
  const uint8_t control = in.Byte();
  const std::string own = std::string(in.Text());
  std::string known = std::string(in.Text());
  const std::string_view header = in.Rest();

  const std::vector<Recipient> recipients = Parse(header);
  for (const Recipient& r : recipients) {
    ZV_FUZZ_CHECK(!r.address.empty(), header);
    ZV_FUZZ_CHECK(r.domain == RefDomain(r.address), r.address);
    ZV_FUZZ_CHECK(r.address.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos,
                  r.address);
    ZV_FUZZ_CHECK(r.name.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos, r.name);
  }

  // Written back, one field per kind, the writable recipients parse into themselves.
  std::vector<Recipient> writable;
  std::string written;
  for (const RecipientKind kind : {RecipientKind::kTo, RecipientKind::kCc, RecipientKind::kBcc}) {
    std::string line;
    for (const Recipient& r : recipients) {
      if (r.kind != kind || !WritableAddress(r.address) || !WritableName(r.name)) continue;
      writable.push_back(r);
      line += (line.empty() ? "" : ", ") + Written(r);
    }
    if (line.empty()) continue;
    static const char* const kNames[] = {"To: ", "cc: ", "BCC: "};
    written += kNames[static_cast<int>(kind)] + line + ((control & 1) ? "\r\n" : ",\r\n ;\r\n");
  }
  ZV_FUZZ_CHECK(Parse(written) == writable, written);

  // The own list: the first recipients, and addresses made from the first entries (the plain
  // trial costs addresses times entries).
  const OwnDomains domains(own);
  const std::vector<RefOwnEntry> entries = RefOwnEntries(own);
  ZV_FUZZ_CHECK(domains.plainDomains() == RefPlainDomains(entries), own);
  std::vector<std::string> addresses;
  for (size_t i = 0; i < recipients.size() && i < 16; ++i)
    addresses.push_back(recipients[i].address);
  size_t made = 0;
  for (const std::string& line : RefSplit(own)) {
    if (++made > 16) break;
    std::string entry = RefTrim(line);
    if (!entry.empty() && entry[0] == '-') entry = RefTrim(entry.substr(1));
    std::string plain;  // the entry with its wildcards as letters
    for (const char c : entry) plain += (c == '*' || c == '?') ? 'q' : c;
    addresses.push_back(plain);
    addresses.push_back("u@" + plain);
    addresses.push_back("U@Sub." + plain);
  }
  for (const std::string& a : addresses) {
    ZV_FUZZ_CHECK(domains.IsInternal(RefLower(a), RefDomain(a)) == RefInternal(entries, a), a);
  }

  // Look-alikes of the mail's first domains among the plain own domains and the domains sent to.
  std::vector<std::string> candidates = RefPlainDomains(entries);
  for (const std::string& k : RefKnownDomains(known)) candidates.push_back(k);
  std::vector<std::string_view> candidateViews(candidates.begin(), candidates.end());
  std::vector<std::string> mailDomains;  // at most 16: a warning lists ten
  for (const Recipient& r : recipients) {
    if (!r.domain.empty() && mailDomains.size() < 16) mailDomains.push_back(r.domain);
  }
  const std::vector<std::string_view> domainViews(mailDomains.begin(), mailDomains.end());
  const std::vector<size_t> like = FindLookAlikes(domainViews, candidateViews);
  ZV_FUZZ_CHECK(like.size() == mailDomains.size(), header);
  for (size_t i = 0; i < mailDomains.size(); ++i) {
    size_t want = candidates.size();
    for (size_t k = 0; k < candidates.size() && want == candidates.size(); ++k) {
      if (RefOneEdit(mailDomains[i], candidates[k])) want = k;
    }
    ZV_FUZZ_CHECK(like[i] == want, mailDomains[i]);
    ZV_FUZZ_CHECK(want == candidates.size() || OneEditApart(mailDomains[i], candidates[want]),
                  mailDomains[i]);
  }

  // The domains sent to, grown by the mail's domains.
  const std::string grown = RefAppend(known, mailDomains);
  AppendKnownDomains(known, mailDomains);
  ZV_FUZZ_CHECK(known == grown, known);
  return 0;
}
