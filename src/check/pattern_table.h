// The user's named patterns: thirteen parallel lists of texts, one entry per pattern, kept as
// loaded or as the setup dialog stored them. Patterns are identified by position only.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "recipients/recipient_settings.h"

namespace zv {

enum class PatternField {
  kName,
  kAddress,
  kAddressOn,
  kAlways,
  kKana,
  kZenkakuText,
  kZenkakuSubject,
  kBlankSubject,
  kAttachCheck,
  kZorvekCheck,
  kZorvek,
  kHissuCheck,
  kHissu,
};
inline constexpr size_t kPatternFieldCount = 13;

struct PatternFieldInfo {
  std::string_view key;           // settings key, also the field's name
  std::string_view missingValue;  // value when the key is missing from the settings
};

// In their fixed order: the order of the settings keys and of every read and write.
inline constexpr std::array<PatternFieldInfo, kPatternFieldCount> kPatternFields = {{
    {"Name", "no name"},
    {"Address", ""},
    {"AddressOn", "True"},
    {"Always", "False"},
    {"Kana", "False"},
    {"ZenkakuText", "False"},
    {"ZenkakuSubject", "False"},
    {"BlankSubject", "False"},
    {"AttachCheck", "False"},
    {"ZorvekCheck", "True"},
    {"Zorvek", ""},
    {"HissuCheck", "True"},
    {"Hissu", ""},
}};

using PatternRow = std::array<std::string, kPatternFieldCount>;

class PatternTable {
 public:
  size_t size() const { return lists_[0].size(); }
  bool empty() const { return size() == 0; }

  const std::string& Get(size_t index, PatternField field) const {
    return lists_[static_cast<size_t>(field)][index];
  }
  void Set(size_t index, PatternField field, std::string value) {
    lists_[static_cast<size_t>(field)][index] = std::move(value);
  }
  bool IsOn(size_t index, PatternField field) const { return Get(index, field) == "True"; }

  void Append(PatternRow row) {
    for (size_t f = 0; f < kPatternFieldCount; ++f) lists_[f].push_back(std::move(row[f]));
  }
  void Remove(size_t index) {
    for (auto& list : lists_) list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
  }
  PatternRow Row(size_t index) const {
    PatternRow row;
    for (size_t f = 0; f < kPatternFieldCount; ++f) row[f] = lists_[f][index];
    return row;
  }
  void Clear() {
    for (auto& list : lists_) list.clear();
  }

  friend bool operator==(const PatternTable&, const PatternTable&) = default;

 private:
  std::array<std::vector<std::string>, kPatternFieldCount> lists_;
};

// The table with the global options, alive from start-up to clean-up.
struct PatternSettings {
  PatternTable table;
  bool associateOption = false;    // work together with the memo-pad program
  bool headerOption = true;        // add the X-Mailer-Plugin header
  bool ignoreQuotedLines = false;  // the body's quoted lines take no part in the check
  bool includeCcBcc = false;       // addresses are also looked for in the Cc and Bcc values
  bool notavoInstalled = false;    // the memo-pad program's executable exists; never stored
  RecipientSettings recipients;
};

}  // namespace zv
