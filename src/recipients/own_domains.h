// The user's own domains and addresses: which recipients are internal. Built once from the
// list, then each address is looked up in indexes, so that the cost of a lookup does not grow
// with the number of entries.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "recipients/glob.h"
#include "recipients/text_index.h"

namespace zv {

class OwnDomains {
 public:
  // `list`: one entry per line (CR LF, lone CR or LF), blanks at the ends trimmed, A-Z as a-z;
  // empty lines and lines starting with "#" are ignored. "example.co.jp" and "@example.co.jp":
  // that domain; "*.example.co.jp": its subdomains at any depth, not the domain itself;
  // "name@example.co.jp": that address; "*" and "?" anywhere else make a pattern, matched
  // against the whole address when it holds "@" and against the domain otherwise. A leading
  // "-" makes the entry an exclusion.
  explicit OwnDomains(std::string_view list);

  // Whether the address is internal: some entry matches it and no exclusion does. An address
  // without domain is external. `lowerAddress` is the address through LowerSjis, `domain` its
  // DomainOf.
  bool IsInternal(std::string_view lowerAddress, std::string_view domain) const;

  // The plain domain entries ("example.co.jp", "@example.co.jp") that are not exclusions,
  // lower-cased, in list order.
  const std::vector<std::string>& plainDomains() const { return plainDomains_; }

 private:
  // Every kind of entry, once for the entries and once for the exclusions.
  struct Rules {
    TextIndex domains, addresses, parents;  // parents: "x" of "*.x"
    GlobSet domainGlobs, addressGlobs;
    bool empty = true;
    void Add(std::string_view entry, std::vector<std::string>* plainDomains);
    bool Matches(std::string_view lowerAddress, std::string_view domain) const;
  };

  Rules entries_, exclusions_;
  std::vector<std::string> plainDomains_;
};

}  // namespace zv
