#include "plugin/mailer_header.h"

#include <vector>

#include "text/constants.h"
#include "text/lines.h"

namespace zv {

namespace {

constexpr std::string_view kFieldName = "X-MAILER-PLUGIN";
// A line holding this belongs to the plug-in, whatever version it names.
constexpr std::string_view kOwnName = kPlugName;

bool IsContinuation(std::string_view line) {
  return !line.empty() && (line[0] == ' ' || line[0] == '\t');
}

bool Contains(std::string_view line, std::string_view what) {
  return line.find(what) != std::string_view::npos;
}

bool EndsWithComma(std::string_view s) {
  return !s.empty() && s.back() == ',';
}

// `s` is `entry`, alone or followed by a comma.
bool IsCurrentEntry(std::string_view s, std::string_view entry) {
  return s == entry || (s.size() == entry.size() + 1 && s.starts_with(entry) && s.back() == ',');
}

// A line naming the field: its bytes before the first colon, trimmed and upper-cased, are the
// field name. Continuation lines qualify too.
bool IsMailerField(std::string_view line) {
  const size_t colon = line.find(':');
  if (colon == std::string_view::npos) return false;
  const std::string_view name = TrimControls(line.substr(0, colon));
  return name.size() == kFieldName.size() && UpperSjis(name) == kFieldName;
}

}  // namespace

bool AddMailerHeader(std::string& header) {
  std::vector<std::string_view> lines = SplitLines(header);
  const std::string fieldLine = std::string(kMailerFieldPrefix) + std::string(kHeaderEntry);
  const std::string continuation = "\t" + std::string(kHeaderEntry);

  size_t field = 0;
  while (field < lines.size() && !IsMailerField(lines[field])) ++field;

  // Owned texts of replaced or inserted lines; `lines` views them until the join.
  std::string replaced;
  std::string commaLine;

  if (field == lines.size()) {
    // No field: it goes in just before the start of the header's last field.
    size_t k = lines.empty() ? 0 : lines.size() - 1;
    while (k > 0 && IsContinuation(lines[k])) --k;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(k), fieldLine);
  } else if (Contains(lines[field], kOwnName)) {
    const std::string_view line = lines[field];
    if (IsCurrentEntry(line, fieldLine)) return false;
    replaced = EndsWithComma(line) ? fieldLine + "," : fieldLine;
    lines[field] = replaced;
  } else {
    size_t j = field + 1;
    while (j < lines.size() && IsContinuation(lines[j]) && !Contains(lines[j], kOwnName)) ++j;
    if (j < lines.size() && IsContinuation(lines[j])) {
      const std::string_view rest = lines[j].substr(1);
      if (IsCurrentEntry(rest, kHeaderEntry)) return false;
      replaced = EndsWithComma(rest) ? continuation + "," : continuation;
      lines[j] = replaced;
    } else {
      // The entry joins the list as a new last continuation line.
      commaLine = std::string(lines[j - 1]) + ",";
      lines[j - 1] = commaLine;
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(j), continuation);
    }
  }
  header = JoinLines(lines);
  return true;
}

}  // namespace zv
