#include "recipients/own_domains.h"

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
