#include "recipients/own_domains.h"

#include <algorithm>

#include "recipients/glob.h"
#include "text/lines.h"
#include "text/sjis.h"

namespace zv {

namespace {

size_t CharAt(std::string_view s, size_t pos) {
  return IsSjisLeadByte(s[pos]) && pos + 1 < s.size() ? 2 : 1;
}

bool HasAt(std::string_view s) {
  for (size_t i = 0; i < s.size(); i += CharAt(s, i)) {
    if (s[i] == '@') return true;
  }
  return false;
}

bool AllAscii(std::string_view s) {
  for (const char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

void OwnDomains::Globs::AddAnchored(Anchors& anchors, std::string_view anchor, uint32_t pattern) {
  const uint32_t group = anchors.index.Add(anchor, static_cast<uint32_t>(anchors.groups.size()));
  if (group == anchors.groups.size()) anchors.groups.emplace_back();
  anchors.groups[group].push_back(pattern);
  if (anchors.lengths.size() <= anchor.size()) anchors.lengths.resize(anchor.size() + 1);
  anchors.lengths[anchor.size()] = true;
}

void OwnDomains::Globs::Add(std::string_view pattern) {
  const uint32_t number = static_cast<uint32_t>(texts_.size());
  if (patterns_.Add(pattern, number) != number) return;
  texts_.emplace_back(pattern);
  if (const std::string_view tail = GlobTail(pattern); !tail.empty()) {
    AddAnchored(tails_, tail, number);
  } else if (const std::string_view head = GlobHead(pattern); !head.empty()) {
    AddAnchored(heads_, head, number);
  } else {
    uint32_t questions = 0;
    bool star = false;
    for (const char c : pattern) {
      if (c == '*') {
        star = true;
      } else {
        ++questions;
      }
    }
    if (star) {
      if (questions < leastWithStar_) leastWithStar_ = questions;
    } else {
      if (exactCounts_.size() <= questions) exactCounts_.resize(questions + 1);
      exactCounts_[questions] = true;
    }
  }
}

bool OwnDomains::Globs::TryGroup(const Anchors& anchors, std::string_view anchor, uint64_t hash,
                                 std::string_view text) const {
  const uint32_t group = anchors.index.Find(anchor, hash);
  if (group == TextIndex::kNone) return false;
  for (const uint32_t p : anchors.groups[group]) {
    if (GlobMatches(texts_[p], text)) return true;
  }
  return false;
}

bool OwnDomains::Globs::Matches(std::string_view text) const {
  if (empty()) return false;
  // Tails: the text's suffixes of the lengths some tail has, hashed from the back.
  const size_t tailMax = tails_.lengths.empty() ? 0 : std::min(text.size(), tails_.lengths.size() - 1);
  uint64_t h = 0;
  for (size_t n = 1; n <= tailMax; ++n) {
    h = static_cast<unsigned char>(text[text.size() - n]) + kHashBase * h;
    if (tails_.lengths[n] && TryGroup(tails_, text.substr(text.size() - n), h, text)) return true;
  }
  // Heads: its prefixes, hashed from the front.
  const size_t headMax = heads_.lengths.empty() ? 0 : std::min(text.size(), heads_.lengths.size() - 1);
  h = 0;
  uint64_t power = 1;
  for (size_t n = 1; n <= headMax; ++n) {
    h += static_cast<unsigned char>(text[n - 1]) * power;
    power *= kHashBase;
    if (heads_.lengths[n] && TryGroup(heads_, text.substr(0, n), h, text)) return true;
  }
  if (exactCounts_.empty() && leastWithStar_ == UINT32_MAX) return false;
  uint32_t chars = 0;
  for (size_t i = 0; i < text.size(); i += CharAt(text, i)) ++chars;
  return chars >= leastWithStar_ || (chars < exactCounts_.size() && exactCounts_[chars]);
}

void OwnDomains::Rules::Add(std::string_view entry, std::vector<std::string>* plainDomains) {
  empty = false;
  if (HasWildcard(entry)) {
    const std::string_view parent = entry.substr(entry.starts_with("*.") ? 2 : entry.size());
    if (!parent.empty() && !HasWildcard(parent) && !HasAt(parent)) {
      parents.Add(parent, 0);
    } else if (HasAt(entry)) {
      addressGlobs.Add(entry);
    } else {
      domainGlobs.Add(entry);
    }
    return;
  }
  if (entry.starts_with("@") || !HasAt(entry)) {
    const std::string_view domain = entry.starts_with("@") ? entry.substr(1) : entry;
    if (domain.empty()) return;
    domains.Add(domain, 0);
    if (plainDomains) plainDomains->emplace_back(domain);
    return;
  }
  addresses.Add(entry, 0);
}

bool OwnDomains::Rules::Matches(std::string_view lowerAddress, std::string_view domain) const {
  if (empty) return false;
  if (!addresses.empty() && addresses.Find(lowerAddress) != TextIndex::kNone) return true;
  if (!domains.empty() || !parents.empty()) {
    // The domain's suffixes, hashed from the back: the whole for the domains, the part after
    // each dot for "*.x". A dot counts only where a character starts.
    std::vector<bool> starts;
    if (!parents.empty() && !AllAscii(domain)) {
      starts.assign(domain.size(), false);
      for (size_t i = 0; i < domain.size(); i += CharAt(domain, i)) starts[i] = true;
    }
    uint64_t h = 0;
    for (size_t i = domain.size(); i-- > 0;) {
      if (domain[i] == '.' && !parents.empty() && (starts.empty() || starts[i]) &&
          parents.Find(domain.substr(i + 1), h) != TextIndex::kNone) {
        return true;
      }
      h = static_cast<unsigned char>(domain[i]) + kHashBase * h;
    }
    if (!domains.empty() && domains.Find(domain, h) != TextIndex::kNone) return true;
  }
  return domainGlobs.Matches(domain) || addressGlobs.Matches(lowerAddress);
}

OwnDomains::OwnDomains(std::string_view list) {
  ForEachLine(list, [&](std::string_view line) {
    std::string_view entry = TrimControls(line);
    if (entry.empty() || entry.starts_with("#")) return;
    const bool exclusion = entry.starts_with("-");
    if (exclusion) entry = TrimControls(entry.substr(1));
    if (entry.empty()) return;
    const std::string lower = LowerSjis(entry);
    if (exclusion) {
      exclusions_.Add(lower, nullptr);
    } else {
      entries_.Add(lower, &plainDomains_);
    }
  });
}

bool OwnDomains::IsInternal(std::string_view lowerAddress, std::string_view domain) const {
  if (domain.empty()) return false;
  return !exclusions_.Matches(lowerAddress, domain) && entries_.Matches(lowerAddress, domain);
}

}  // namespace zv
