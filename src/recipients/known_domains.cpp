#include "recipients/known_domains.h"

#include "recipients/text_index.h"

namespace zv {

void AppendKnownDomains(std::string& list, const std::vector<std::string>& domains) {
  TextIndex listed;
  ForEachKnownDomain(list, [&](const std::string& entry) { listed.Add(entry, 0); });
  std::vector<std::string> fresh;
  for (const std::string& domain : domains) {
    std::string lower = LowerSjis(TrimControls(domain));
    if (lower.empty() || listed.Find(lower) != TextIndex::kNone) continue;
    listed.Add(lower, 0);
    fresh.push_back(std::move(lower));
  }
  if (fresh.empty()) return;
  // A zero byte ends a line list: what stands after it is never read, and would hide what is
  // appended.
  if (const size_t nul = list.find('\0'); nul != std::string::npos) list.resize(nul);
  for (const std::string& domain : fresh) {
    if (!list.empty() && list.back() != '\n' && list.back() != '\r') list.append(kCrLf);
    list.append(domain);
  }
}

}  // namespace zv
