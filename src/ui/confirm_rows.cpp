#include "ui/confirm_rows.h"

#include <string_view>
#include <unordered_map>

#include "text/lines.h"

namespace zv::ui {

namespace {

constexpr std::string_view kFindingKind = "警告";
constexpr std::string_view kBullet = "・";
constexpr std::string_view kNameOpen = "【";
constexpr std::string_view kNameClose = "】";

std::string_view KindName(RecipientKind kind) {
  switch (kind) {
    case RecipientKind::kTo:
      return "To";
    case RecipientKind::kCc:
      return "Cc";
    case RecipientKind::kBcc:
      return "Bcc";
  }
  return {};
}

std::string FindingContent(const FindingBlock& block, const Finding& finding) {
  std::string_view line = finding.line;
  if (line.starts_with(kBullet)) line.remove_prefix(kBullet.size());
  if (line.ends_with(kCrLf)) line.remove_suffix(kCrLf.size());
  std::string content;
  content.append(kNameOpen).append(block.name).append(kNameClose).append(line);
  if (!finding.excerpt.empty()) content.append(" ").append(finding.excerpt);
  return content;
}

// The recipients on one side (external or internal), grouped by domain in first-seen order.
void AppendRecipients(const std::vector<ListedRecipient>& recipients, bool external,
                      std::vector<ConfirmRow>& rows) {
  std::unordered_map<std::string_view, size_t> groupOf;
  std::vector<std::vector<const Recipient*>> groups;
  for (const ListedRecipient& listed : recipients) {
    if (listed.external != external) continue;
    const Recipient& r = listed.recipient;
    const auto [it, fresh] = groupOf.emplace(r.domain, groups.size());
    if (fresh) groups.emplace_back();
    groups[it->second].push_back(&r);
  }
  for (const auto& group : groups) {
    for (const Recipient* r : group) {
      std::string content = r->name.empty() ? r->address : r->name + " <" + r->address + ">";
      rows.push_back({std::string(KindName(r->kind)), std::move(content), r->domain,
                      !external, external});
    }
  }
}

}  // namespace

std::vector<ConfirmRow> ConfirmRows(const CheckResult& result) {
  std::vector<ConfirmRow> rows;
  for (const FindingBlock& block : result.blocks) {
    for (const Finding& finding : block.findings) {
      rows.push_back({std::string(kFindingKind), FindingContent(block, finding), {}, false, true});
    }
  }
  AppendRecipients(result.recipients, true, rows);
  AppendRecipients(result.recipients, false, rows);
  return rows;
}

}  // namespace zv::ui
