#include "check/patterns.h"

#include <algorithm>
#include <cstdint>

#include "recipients/recipient_settings.h"
#include "text/lines.h"

namespace zv {

namespace {

// Patterns loaded beyond the file's entries, all of them missing sections.
constexpr int64_t kSpareMissingPatterns = 1000;

std::string AsFieldText(Variant v) {
  if (std::string* t = v.AsText()) return std::move(*t);
  return v.ToText();
}

}  // namespace

std::string PatternSection(size_t index) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  char digits[2 * sizeof(size_t)];
  size_t n = 0;
  do {
    digits[n++] = kHex[index & 0xF];
    index >>= 4;
  } while (index != 0);
  std::string section = "Zorvek\\Pattern";
  section.append(n < 4 ? 4 - n : 0, '0');
  while (n > 0) section.push_back(digits[--n]);
  return section;
}

PatternRow DefaultPattern() {
  return PatternRow{
      "作者へ",
      "author@example.com\r\nsupport@example.org",
      "True",
      "False",
      "True",
      "False",
      "False",
      "True",
      "False",
      "True",
      "馬鹿\r\nばか\r\n間抜\r\nまぬけ\r\n阿呆\r\nあほう",
      "True",
      "",
  };
}

bool NotavoPresent(Registry& registry, std::string_view exeFileName, const SystemFormats& formats,
                   const std::function<bool(const std::string&)>& fileExists) {
  const std::string path =
      RegRead(kNotavoRegPath, "Path", Variant::Text(""), registry, exeFileName, formats).ToText();
  const std::string exe =
      RegRead(kNotavoRegPath, "ExeName", Variant::Text(""), registry, exeFileName, formats)
          .ToText();
  if (path.empty() || exe.empty()) return false;
  return fileExists(path + exe + ".exe");
}

void LoadPatterns(PatternSettings& settings, const IniStore& store,
                  const std::function<bool()>& probeNotavo) {
  PatternTable& table = settings.table;
  table.Clear();
  const int32_t count = store.Read(kCountSection, kCountKey, Variant::Int32(0)).ToInt32(0);
  if (count == 0) table.Append(DefaultPattern());
  // A pattern whose section is missing loads with every key's default, which never applies
  // (AddressOn on, no address). Past one such pattern per entry of the file plus a margin they
  // are dropped, so a count such as 2147483647 cannot make start-up load and clean-up write
  // billions of them.
  const int64_t bound = static_cast<int64_t>(store.size()) + kSpareMissingPatterns;
  const int64_t loaded = std::min<int64_t>(count, bound);
  for (int64_t i = 0; i < loaded; ++i) {
    const std::string section = PatternSection(static_cast<size_t>(i));
    PatternRow row;
    for (size_t f = 0; f < kPatternFieldCount; ++f) {
      const PatternFieldInfo& field = kPatternFields[f];
      row[f] = AsFieldText(
          store.Read(section, field.key, Variant::Text(std::string(field.missingValue))));
    }
    table.Append(std::move(row));
  }
  settings.notavoInstalled = probeNotavo();
  settings.associateOption =
      settings.notavoInstalled &&
      store.Read(kAssociateSection, kAssociateKey, Variant::Boolean(true)).ToBoolean(true);
  settings.headerOption =
      store.Read(kHeaderSection, kHeaderKey, Variant::Boolean(true)).ToBoolean(true);
  // Both off unless stored, so a file from before these options checks as it always did.
  settings.ignoreQuotedLines =
      store.Read(kCheckSection, kIgnoreQuotedLinesKey, Variant::Boolean(false)).ToBoolean(false);
  settings.includeCcBcc =
      store.Read(kCheckSection, kIncludeCcBccKey, Variant::Boolean(false)).ToBoolean(false);
  LoadRecipientSettings(settings.recipients, store);
}

bool SavePatterns(PatternSettings& settings, IniStore& store,
                  const std::function<bool()>& saveFile) {
  PatternTable& table = settings.table;
  store.Write(kCountSection, kCountKey, Variant::Int32(static_cast<int32_t>(table.size())));
  for (size_t i = 0; i < table.size(); ++i) {
    const std::string section = PatternSection(i);
    for (size_t f = 0; f < kPatternFieldCount; ++f) {
      store.WriteText(section, kPatternFields[f].key, table.Get(i, static_cast<PatternField>(f)));
    }
  }
  store.Write(kAssociateSection, kAssociateKey, Variant::Boolean(settings.associateOption));
  store.Write(kHeaderSection, kHeaderKey, Variant::Boolean(settings.headerOption));
  // Options beyond the designed file are written only once set or already stored.
  store.WriteOption(kCheckSection, kIgnoreQuotedLinesKey,
                    Variant::Boolean(settings.ignoreQuotedLines), Variant::Boolean(false));
  store.WriteOption(kCheckSection, kIncludeCcBccKey, Variant::Boolean(settings.includeCcBcc),
                    Variant::Boolean(false));
  SaveRecipientSettings(settings.recipients, store);
  const bool saved = saveFile();
  table.Clear();
  return saved;
}

}  // namespace zv
