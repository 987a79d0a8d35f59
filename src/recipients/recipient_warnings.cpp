#include "recipients/recipient_warnings.h"

#include "recipients/address_list.h"
#include "recipients/known_domains.h"
#include "recipients/look_alike.h"
#include "recipients/own_domains.h"
#include "recipients/text_index.h"
#include "text/lines.h"

namespace zv {

namespace {

constexpr std::string_view kManyRecipientsOpen = "・宛先（To と Cc）が ";
constexpr std::string_view kManyRecipientsClose = " 件あります。\r\n";
constexpr std::string_view kManyDomainsOpen = "・社外のドメインが ";
constexpr std::string_view kManyDomainsClose = " 個あります。\r\n";
constexpr std::string_view kNewDomainsLine = "・はじめて送るドメインがあります。\r\n";
constexpr std::string_view kOpen = "「";
constexpr std::string_view kClose = "」";
constexpr std::string_view kLikeOpen = "（";
constexpr std::string_view kLikeClose = " に似ています）";
constexpr std::string_view kMore = "…";
constexpr size_t kListed = 10;

struct AddressSeen {
  bool inToCc = false;
  bool external = false;
};

struct DomainSeen {
  bool inToCcList = false;  // listed among the external domains of To and Cc
  bool known = false;       // the domains sent to list it
};

}  // namespace

RecipientFindings CheckRecipients(const RecipientSettings& settings,
                                  const std::vector<std::string_view>& headerLines,
                                  CharsetConverter& converter, bool list) {
  RecipientFindings findings;
  const int32_t manyRecipients = ThresholdInForce(settings.manyRecipients);
  const int32_t manyDomains = ThresholdInForce(settings.manyDomains);
  const bool newDomains = settings.newDomains;
  if (manyRecipients == 0 && manyDomains == 0 && !newDomains && !list) return findings;
  const bool classify = manyDomains > 0 || newDomains || list;

  const std::vector<Recipient> recipients = ParseRecipients(headerLines, converter);
  const OwnDomains own(classify ? std::string_view(settings.internalDomains) : std::string_view());
  TextIndex addressIndex, domainIndex;
  std::vector<AddressSeen> addresses;
  std::vector<DomainSeen> domains;
  std::vector<std::string_view> domainTexts;      // by domain number
  std::vector<uint32_t> toCcDomains, allDomains;  // external domains in first-seen order
  size_t toCcAddresses = 0;
  addressIndex.Reserve(recipients.size());
  addresses.reserve(recipients.size());
  std::string key;
  for (const Recipient& r : recipients) {
    key = LowerSjis(r.address);
    uint32_t a = addressIndex.Find(key);
    if (a == TextIndex::kNone) {
      a = addressIndex.Add(key, static_cast<uint32_t>(addresses.size()));
      addresses.push_back({false, classify && !own.IsInternal(key, r.domain)});
      if (list) findings.recipients.push_back({r, addresses.back().external});
    }
    const bool toCc = r.kind != RecipientKind::kBcc;
    if (toCc && !addresses[a].inToCc) {
      addresses[a].inToCc = true;
      ++toCcAddresses;
    }
    if (!addresses[a].external || r.domain.empty()) continue;
    uint32_t d = domainIndex.Find(r.domain);
    if (d == TextIndex::kNone) {
      d = domainIndex.Add(r.domain, static_cast<uint32_t>(domains.size()));
      domains.emplace_back();
      domainTexts.push_back(r.domain);
      allDomains.push_back(d);
    }
    if (toCc && !domains[d].inToCcList) {
      domains[d].inToCcList = true;
      toCcDomains.push_back(d);
    }
  }

  // A list of at most ten domains, each followed by what it looks like when `likes` says.
  auto domainList = [&](const std::vector<uint32_t>& numbers, const std::vector<std::string>* likes) {
    std::string text;
    for (size_t i = 0; i < numbers.size() && i < kListed; ++i) {
      text.append(kOpen).append(domainTexts[numbers[i]]).append(kClose);
      if (likes && !(*likes)[i].empty()) {
        text.append(kLikeOpen).append((*likes)[i]).append(kLikeClose);
      }
    }
    if (numbers.size() > kListed) text.append(kMore);
    return text;
  };

  std::vector<Finding>& lines = findings.findings;
  if (manyRecipients > 0 && toCcAddresses >= static_cast<size_t>(manyRecipients)) {
    lines.push_back({std::string(kManyRecipientsOpen)
                         .append(std::to_string(toCcAddresses))
                         .append(kManyRecipientsClose),
                     {}});
  }
  if (manyDomains > 0 && toCcDomains.size() >= static_cast<size_t>(manyDomains)) {
    lines.push_back({std::string(kManyDomainsOpen)
                         .append(std::to_string(toCcDomains.size()))
                         .append(kManyDomainsClose),
                     domainList(toCcDomains, nullptr)});
  }
  if (newDomains && !allDomains.empty()) {
    // Each entry of the list is looked up among the mail's domains.
    std::vector<std::string> known;
    ForEachKnownDomain(settings.knownDomains, [&](std::string entry) {
      const uint32_t d = domainIndex.Find(entry);
      if (d != TextIndex::kNone) domains[d].known = true;
      known.push_back(std::move(entry));
    });
    std::vector<uint32_t> fresh;
    for (const uint32_t d : allDomains) {
      if (!domains[d].known) fresh.push_back(d);
    }
    if (!fresh.empty()) {
      std::vector<std::string_view> listed, candidates;
      for (size_t i = 0; i < fresh.size() && i < kListed; ++i) {
        listed.push_back(domainTexts[fresh[i]]);
      }
      for (const std::string& d : own.plainDomains()) candidates.push_back(d);
      for (const std::string& d : known) candidates.push_back(d);
      const std::vector<size_t> like = FindLookAlikes(listed, candidates);
      std::vector<std::string> likes(listed.size());
      for (size_t i = 0; i < listed.size(); ++i) {
        if (like[i] < candidates.size()) likes[i] = candidates[like[i]];
      }
      lines.push_back({std::string(kNewDomainsLine), domainList(fresh, &likes)});
      for (const uint32_t d : fresh) findings.newDomains.emplace_back(domainTexts[d]);
    }
  }
  return findings;
}

void AppendFindings(std::string& text, const std::vector<Finding>& findings) {
  for (const Finding& f : findings) {
    text.append(f.line);
    if (!f.excerpt.empty()) text.append(f.excerpt).append(kCrLf);
  }
}

std::string RecipientBlock(const RecipientFindings& found) {
  std::string block;
  if (found.findings.empty()) return block;
  block.append(kRecipientsHeading);
  AppendFindings(block, found.findings);
  return block;
}

}  // namespace zv
