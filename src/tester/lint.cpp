#include "tester/lint.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <span>
#include <unordered_map>
#include <unordered_set>

#include "check/pattern_table.h"
#include "check/patterns.h"
#include "recipients/address_list.h"
#include "recipients/own_domains.h"
#include "settings/ini_store.h"
#include "text/lines.h"
#include "text/sjis.h"

namespace zv::tester {
namespace {

constexpr std::string_view kSectionPrefix = "ZORVEK\\PATTERN";
constexpr std::string_view kZorvekPrefix = "ZORVEK\\";
// How far a misspelt name may be from the one it stands for.
constexpr size_t kNearLetters = 2;
constexpr std::string_view kFullWidthSpace = "\x81\x40";

// False when `s` holds a byte that starts no character of code page 932 or a lead byte without
// a valid second byte.
bool IsValidCp932(std::string_view s) {
  for (size_t i = 0; i < s.size(); ++i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (IsSjisLeadByte(b)) {
      if (i + 1 >= s.size()) return false;
      const auto t = static_cast<unsigned char>(s[++i]);
      if (t < 0x40 || t == 0x7F || t > 0xFC) return false;
    } else if (b == 0x80 || b == 0xA0 || b >= 0xFD) {
      return false;
    }
  }
  return true;
}

// True when the word starts or ends with a blank, a TAB or a full-width space.
bool HasOuterBlanks(std::string_view w) {
  if (w.empty()) return false;
  if (w.front() == ' ' || w.front() == '\t' || w.back() == ' ' || w.back() == '\t') return true;
  if (w.starts_with(kFullWidthSpace)) return true;
  // A full-width space at the end, on a character boundary.
  if (w.size() >= 2 && w.ends_with(kFullWidthSpace)) {
    size_t i = 0;
    while (i + 2 < w.size()) i += SjisCharLength(w, i);
    return i == w.size() - 2;
  }
  return false;
}

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Letters inserted, deleted, changed or two neighbours swapped between `a` and `b`, ASCII case
// aside; any figure above `limit` is given as limit + 1. Keys are short, and a long name is
// told apart by its length alone, so the cost stays bounded however long the file's names are.
size_t EditDistance(std::string_view a, std::string_view b, size_t limit) {
  const size_t gap = a.size() > b.size() ? a.size() - b.size() : b.size() - a.size();
  if (gap > limit) return limit + 1;
  std::vector<size_t> before(b.size() + 1), prev(b.size() + 1), row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) prev[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const bool same = LowerAscii(a[i - 1]) == LowerAscii(b[j - 1]);
      row[j] = std::min({prev[j] + 1, row[j - 1] + 1, prev[j - 1] + (same ? 0 : 1)});
      if (i > 1 && j > 1 && LowerAscii(a[i - 1]) == LowerAscii(b[j - 2]) &&
          LowerAscii(a[i - 2]) == LowerAscii(b[j - 1])) {
        row[j] = std::min(row[j], before[j - 2] + 1);
      }
    }
    std::swap(before, prev);
    std::swap(prev, row);
  }
  return std::min(prev[b.size()], limit + 1);
}

// The known name that `written` most likely stands for: the nearest one at most kNearLetters
// away, else one that begins with it (a name cut short, such as Attach for AttachCheck); the
// first in `known`'s order among equals. Empty when none is near.
std::string_view Nearest(std::string_view written, std::span<const std::string_view> known) {
  std::string_view best;
  size_t bestDistance = kNearLetters + 1;
  for (const std::string_view k : known) {
    const size_t d = EditDistance(written, k, kNearLetters);
    if (d < bestDistance) {
      best = k;
      bestDistance = d;
    }
  }
  if (!best.empty() || written.size() < 4) return best;
  for (const std::string_view k : known) {
    if (k.size() > written.size() && EqualsIgnoringAsciiCase(k.substr(0, written.size()), written)) {
      return k;
    }
  }
  return {};
}

// A blank, a TAB or a full-width space anywhere in `s`, read by characters.
bool HasBlankInside(std::string_view s) {
  for (size_t i = 0; i < s.size(); i += SjisCharLength(s, i)) {
    if (s[i] == ' ' || s[i] == '\t' || s.substr(i).starts_with(kFullWidthSpace)) return true;
  }
  return false;
}

// One message in the chosen language.
class Messages {
 public:
  explicit Messages(Language language) : ja_(language == Language::kJapanese) {}

  // Control bytes are shown escaped as in the file, so that a message stays one line.
  std::string Quote(std::string_view s) const {
    const std::string shown = EscapeIniValue(s);
    return ja_ ? "「" + shown + "」" : "\"" + shown + "\"";
  }
  std::string Duplicate(size_t firstLine) const {
    const std::string n = std::to_string(firstLine);
    return ja_ ? n + " 行目と同じ名前です。この行は読まれません。"
               : "same name as line " + n + ": this line is never read";
  }
  std::string NotCp932() const {
    return ja_ ? "コードページ 932 の文字でないバイトがあります。"
               : "bytes that are not code page 932 characters";
  }
  std::string NoConversion(std::string_view value, std::string_view type) const {
    return ja_ ? Quote(value) + "は " + EscapeIniValue(type) + " に変換できません。既定値が使われます。"
               : "value " + Quote(value) + " does not convert to " + EscapeIniValue(type) +
                     ": the default is used";
  }
  std::string BadFlag(std::string_view key, std::string_view value) const {
    return ja_ ? EscapeIniValue(key) + " の値" + Quote(value) +
                     "は True でも False でもありません。オフとして扱われます。"
               : EscapeIniValue(key) + " is " + Quote(value) +
                     ", not True or False: it counts as off";
  }
  std::string NeverLoaded(std::string_view section, int32_t count) const {
    const std::string n = std::to_string(count);
    if (ja_) {
      return EscapeIniValue(section) + " は読み込まれません (PatternCount は " + n +
             (count == 0 ? "。既定のパターンが使われます)。" : ")。");
    }
    return EscapeIniValue(section) + " is never loaded: PatternCount is " + n +
           (count == 0 ? " (the default pattern is loaded instead)" : "");
  }
  std::string OddSection(std::string_view section, std::string_view nearest = {}) const {
    if (!nearest.empty()) {
      return ja_ ? EscapeIniValue(section) + " はパターンの節の名前ではありません。" +
                       EscapeIniValue(nearest) + " の誤りではありませんか？"
                 : EscapeIniValue(section) + " is not a pattern section name: did you mean " +
                       EscapeIniValue(nearest) + "?";
    }
    return ja_ ? EscapeIniValue(section) + " はパターンの節の名前ではないため読み込まれません。"
               : EscapeIniValue(section) + " is not a pattern section name: it is never loaded";
  }
  // `section` is empty for a pattern's section.
  std::string UnknownKey(std::string_view key, std::string_view section,
                         std::string_view nearest) const {
    const std::string k = EscapeIniValue(key);
    const std::string of = section.empty()
                               ? (ja_ ? std::string("パターンの設定") : std::string("a pattern"))
                               : EscapeIniValue(section) + (ja_ ? " の設定" : "");
    if (ja_) {
      return k + " は" + of +
             (nearest.empty() ? "ではないため読まれません。"
                              : "ではありません。" + std::string(nearest) + " の誤りではありませんか？");
    }
    return k + " is not a setting of " + of +
           (nearest.empty() ? ": it is never read" : ": did you mean " + std::string(nearest) + "?");
  }
  std::string Missing(int32_t count, std::string_view first, std::string_view last) const {
    const std::string n = std::to_string(count);
    const std::string range =
        first == last ? std::string(first) : std::string(first) + " - " + std::string(last);
    return ja_ ? "PatternCount は " + n + " ですが " + range +
                     " がありません。既定値のパターンとして読み込まれます。"
               : "PatternCount is " + n + " but " + range +
                     " is missing: it loads as a pattern of default values";
  }
  std::string NeverApplies(std::string_view name) const {
    return ja_ ? "パターン" + Quote(name) + "は AddressOn が True でアドレスがないため、どのメールにも適用されません。"
               : "pattern " + Quote(name) + " has AddressOn True and no address: it never applies";
  }
  std::string EmptyList(std::string_view check, std::string_view list) const {
    return ja_ ? std::string(check) + " がオンですが " + std::string(list) + " が空です。"
               : std::string(check) + " is on with an empty " + std::string(list) +
                     " list: it finds nothing";
  }
  std::string Blanks(std::string_view list, std::string_view item, bool ignored) const {
    if (ja_) {
      return std::string(list) + " の" + Quote(item) + "の前後に空白があります" +
             (ignored ? "(無視されます)。" : "(空白も含めて探されます)。");
    }
    return std::string(list) + " entry " + Quote(item) + " has blanks at an end" +
           (ignored ? " (they are ignored)" : ": they are part of it");
  }
  // `why`: 0 nothing after "@", 1 a blank inside, 2 two "@".
  std::string NeverMatches(std::string_view item, int why) const {
    static constexpr std::string_view kJa[] = {"@ の後に何もありません", "途中に空白があります",
                                               "@ が二つあります"};
    static constexpr std::string_view kEn[] = {"nothing after @", "a blank inside", "two @"};
    return ja_ ? "InternalDomains の" + Quote(item) + "はどのアドレスにも当てはまりません（" +
                     std::string(kJa[why]) + "）。"
               : "InternalDomains entry " + Quote(item) + " can never match: " +
                     std::string(kEn[why]);
  }
  std::string OwnAndKnown(std::string_view domain) const {
    return ja_ ? Quote(domain) + "は社内のドメイン (InternalDomains) ですが KnownDomains にもあります。"
               : Quote(domain) + " is one of the own domains (InternalDomains) and is also listed"
                                 " in KnownDomains";
  }
  std::string Threshold(std::string_view key, int32_t value) const {
    const std::string v = std::to_string(value);
    return ja_ ? std::string(key) + " の値 " + v +
                     " は 0 から 9999 の範囲外のため、0（調べない）として扱われます。"
               : std::string(key) + " is " + v + ", outside 0 to 9999: it counts as 0 (off)";
  }
  std::string Twice(std::string_view list, std::string_view item) const {
    return ja_ ? std::string(list) + " に" + Quote(item) + "が二度あります。"
               : std::string(list) + " lists " + Quote(item) + " twice";
  }

 private:
  bool ja_;
};

struct RawLine {
  std::string_view text, name, type, value;
};

// The split that the store makes: the name up to the first "=", then type and value at the
// first ":"; a missing separator gives the whole text on its side to both parts.
RawLine SplitRaw(std::string_view line) {
  RawLine r{line, line, line, line};
  const size_t eq = line.find('=');
  std::string_view rest = line;
  if (eq != std::string_view::npos) {
    r.name = line.substr(0, eq);
    rest = line.substr(eq + 1);
  }
  const size_t colon = rest.find(':');
  r.type = rest.substr(0, colon);
  r.value = colon == std::string_view::npos ? rest : rest.substr(colon + 1);
  return r;
}

constexpr PatternField kFlagFields[] = {
    PatternField::kAddressOn,    PatternField::kAlways,         PatternField::kKana,
    PatternField::kZenkakuText,  PatternField::kZenkakuSubject, PatternField::kBlankSubject,
    PatternField::kAttachCheck,  PatternField::kZorvekCheck,    PatternField::kHissuCheck,
};

class Linter {
 public:
  Linter(std::string_view file, Language language) : msg_(language) {
    for (const PatternFieldInfo& f : kPatternFields) patternKeys_.push_back(f.key);
    for (const SettingsKey& k : kOptionKeys) optionKeys_[UpperSjis(k.section)].push_back(k.key);
    ForEachLine(file, [&](std::string_view line) { lines_.push_back(SplitRaw(line)); });
    store_.Parse(file);
  }

  std::vector<LintFinding> Run() {
    for (size_t i = 0; i < lines_.size(); ++i) LineRules(i);
    PatternRules();
    RecipientRules();
    // Findings by line, each line's in the order they were made.
    std::vector<std::vector<std::string>> byLine(lines_.size() + 1);
    for (auto& f : found_) byLine[f.line].push_back(std::move(f.message));
    std::vector<LintFinding> out;
    for (size_t l = 0; l < byLine.size(); ++l) {
      for (auto& m : byLine[l]) out.push_back({l, std::move(m)});
    }
    return out;
  }

 private:
  void Add(size_t line, std::string message) { found_.push_back({line, std::move(message)}); }

  // Duplicates, bytes and conversions; the first line of each name is the one that counts.
  void LineRules(size_t i) {
    const RawLine& raw = lines_[i];
    const size_t lineNo = i + 1;
    std::string upper = UpperSjis(raw.name);
    const auto [it, fresh] = firstLine_.emplace(upper, lineNo);
    if (!fresh) {
      Add(lineNo, msg_.Duplicate(it->second));
      return;
    }
    const size_t cut = upper.rfind('\\');
    if (upper.starts_with(kSectionPrefix) && cut != std::string::npos &&
        cut > kSectionPrefix.size()) {
      sectionLine_.emplace(upper.substr(0, cut), lineNo);
    }
    if (cut != std::string::npos && UnknownName(raw.name, upper, cut, lineNo)) return;
    if (!IsValidCp932(raw.text)) {
      Add(lineNo, msg_.NotCp932());
      return;
    }
    if (cut == std::string::npos) return;  // a name no read can reach
    const Variant v = store_.Read(raw.name.substr(0, cut), raw.name.substr(cut + 1),
                                  Variant::Null());
    if (v.kind() == VariantKind::kNull) {
      Add(lineNo, msg_.NoConversion(raw.value, raw.type));
    } else if (const std::string* t = v.AsText(); t && !IsValidCp932(*t)) {
      Add(lineNo, msg_.NotCp932());
    } else if (raw.type == "Boolean" && raw.value != kTrue && raw.value != kFalse) {
      Add(lineNo, msg_.BadFlag(raw.name, raw.value));
    }
  }

  // A name in one of the plug-in's own sections that the plug-in never reads: a key it does not
  // know, or a section under Zorvek\ that is no pattern's. Reported with the name it most
  // likely stands for; true when reported (the value then does not matter). Other sections are
  // left alone, as the store keeps them.
  bool UnknownName(std::string_view name, std::string_view upper, size_t cut, size_t lineNo) {
    const std::string_view section = name.substr(0, cut);
    const std::string_view upperSection = upper.substr(0, cut);
    const std::string_view key = name.substr(cut + 1);
    if (upperSection.starts_with(kSectionPrefix)) {
      if (IsKnown(key, patternKeys_)) return false;
      Add(lineNo, msg_.UnknownKey(key, {}, Nearest(key, patternKeys_)));
      return true;
    }
    if (upperSection.starts_with(kZorvekPrefix)) {
      if (oddSections_.emplace(upperSection).second) {
        Add(lineNo, msg_.OddSection(section, NearestPatternSection(section)));
      }
      return true;
    }
    const auto known = optionKeys_.find(std::string(upperSection));
    if (known == optionKeys_.end() || IsKnown(key, known->second)) return false;
    Add(lineNo, msg_.UnknownKey(key, section, Nearest(key, known->second)));
    return true;
  }

  static bool IsKnown(std::string_view key, std::span<const std::string_view> known) {
    return std::any_of(known.begin(), known.end(),
                       [&](std::string_view k) { return EqualsIgnoringAsciiCase(k, key); });
  }

  // For Zorvek\Patern0001 and the like: the pattern section its hexadecimal digits name, when
  // what stands before them is near "Pattern".
  static std::string NearestPatternSection(std::string_view section) {
    std::string_view part = section.substr(kZorvekPrefix.size());
    size_t digits = 0;
    while (digits < part.size() && std::isxdigit(static_cast<unsigned char>(
                                       part[part.size() - 1 - digits]))) {
      ++digits;
    }
    const std::string_view stem = part.substr(0, part.size() - digits);
    if (digits < 4 || digits > 8 || EditDistance(stem, "Pattern", kNearLetters) > kNearLetters) {
      return {};
    }
    return PatternSection(std::stoul(std::string(part.substr(stem.size())), nullptr, 16));
  }

  size_t LineOf(const std::string& upperName) const {
    const auto it = firstLine_.find(upperName);
    return it == firstLine_.end() ? 0 : it->second;
  }

  void PatternRules() {
    const int32_t count = store_.Read("Zorvek", "PatternCount", Variant::Int32(0)).ToInt32(0);
    const size_t countLine = LineOf("ZORVEK\\PATTERNCOUNT");

    // Sections in the file: canonical ones by number, the rest never read.
    std::vector<size_t> present;
    for (const auto& [section, line] : sectionLine_) {
      const std::string_view digits = std::string_view(section).substr(kSectionPrefix.size());
      size_t index = 0;
      bool canonical = !digits.empty() && digits.size() <= 8;
      for (const char c : digits) {
        const int d = (c >= '0' && c <= '9') ? c - '0' : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
        if (d < 0) canonical = false;
        index = index * 16 + static_cast<size_t>(d < 0 ? 0 : d);
      }
      canonical = canonical && UpperSjis(PatternSection(index)) == section;
      const std::string name(lines_[line - 1].name.substr(0, section.size()));
      if (!canonical) {
        Add(line, msg_.OddSection(name));
      } else if (count <= 0 || index >= static_cast<size_t>(count)) {
        Add(line, msg_.NeverLoaded(name, count));
      } else {
        present.push_back(index);
      }
    }
    std::sort(present.begin(), present.end());
    if (count > 0) {
      size_t next = 0;  // first number not yet accounted for
      auto missing = [&](size_t from, size_t to) {
        if (from < to) Add(countLine, msg_.Missing(count, PatternSection(from), PatternSection(to - 1)));
      };
      for (const size_t index : present) {
        missing(next, index);
        next = index + 1;
      }
      missing(next, static_cast<size_t>(count));
    }
    // Only the sections present are read, field by field as the pattern load reads them: a
    // PatternCount far beyond the file would otherwise load that many default patterns.
    for (const size_t index : present) {
      const std::string section = PatternSection(index);
      PatternRow row;
      for (size_t f = 0; f < kPatternFieldCount; ++f) {
        const PatternFieldInfo& field = kPatternFields[f];
        row[f] = store_.Read(section, field.key, Variant::Text(std::string(field.missingValue)))
                     .ToText();
      }
      PatternTable table;
      table.Append(std::move(row));
      PatternChecks(table, 0, index);
    }
  }

  // The recipient settings: own-list entries that can never match, entries listed twice, a
  // domain both the user's own and among the domains sent to, thresholds the edits cannot hold.
  void RecipientRules() {
    RecipientSettings r;
    LoadRecipientSettings(r, store_);
    auto lineOf = [&](std::string_view key) {
      return LineOf(UpperSjis(kRecipientsSection) + "\\" + UpperSjis(key));
    };
    const size_t internalLine = lineOf(kInternalDomainsKey);
    std::unordered_set<std::string> seen, reported;
    ForEachLine(r.internalDomains, [&](std::string_view raw) {
      const std::string_view entry = TrimControls(raw);
      if (entry.empty() || entry.front() == '#') return;
      std::string_view body = entry;
      if (body.front() == '-') body.remove_prefix(1);
      const size_t at = body.find('@');
      int why = -1;
      if (at != std::string_view::npos && at + 1 == body.size()) why = 0;
      if (HasBlankInside(body)) why = 1;
      if (at != std::string_view::npos && body.find('@', at + 1) != std::string_view::npos) why = 2;
      if (why >= 0) Add(internalLine, msg_.NeverMatches(entry, why));
      const std::string lower = LowerSjis(entry);
      if (!seen.insert(lower).second && reported.insert(lower).second) {
        Add(internalLine, msg_.Twice(kInternalDomainsKey, entry));
      }
    });
    const size_t knownLine = lineOf(kKnownDomainsKey);
    const OwnDomains own(r.internalDomains);
    std::unordered_set<std::string> known, knownReported;
    ForEachLine(r.knownDomains, [&](std::string_view raw) {
      const std::string_view entry = TrimControls(raw);
      if (entry.empty()) return;
      const std::string lower = LowerSjis(entry);
      if (!known.insert(lower).second) {
        if (knownReported.insert(lower).second) Add(knownLine, msg_.Twice(kKnownDomainsKey, entry));
        return;
      }
      // An address of no one at that domain: entries for single addresses do not make it own.
      if (own.IsInternal("@" + lower, DomainOf("@" + lower))) {
        Add(knownLine, msg_.OwnAndKnown(entry));
      }
    });
    for (const auto& [key, value] : {std::pair{kManyRecipientsKey, r.manyRecipients},
                                     std::pair{kManyDomainsKey, r.manyDomains}}) {
      if (value < 0 || value > kMaxRecipientThreshold) Add(lineOf(key), msg_.Threshold(key, value));
    }
  }

  void PatternChecks(const PatternTable& table, size_t row, size_t index) {
    const std::string section = UpperSjis(PatternSection(index));
    const size_t sectionLine = sectionLine_.at(section);
    auto lineOf = [&](PatternField f) {
      const size_t l = LineOf(section + "\\" + UpperSjis(kPatternFields[static_cast<size_t>(f)].key));
      return l;
    };
    auto key = [](PatternField f) { return kPatternFields[static_cast<size_t>(f)].key; };
    auto get = [&](PatternField f) -> const std::string& { return table.Get(row, f); };

    for (const PatternField f : kFlagFields) {
      const size_t l = lineOf(f);
      if (l != 0 && get(f) != kTrue && get(f) != kFalse) Add(l, msg_.BadFlag(key(f), get(f)));
    }

    // Addresses: the check trims ASCII blanks and control bytes and ignores letter case.
    bool anyAddress = false;
    const size_t addressLine = lineOf(PatternField::kAddress);
    std::unordered_set<std::string> seen;
    std::unordered_set<std::string> reported;
    ForEachLine(get(PatternField::kAddress), [&](std::string_view a) {
      const std::string_view trimmed = TrimControls(a);
      if (trimmed.empty()) return;
      anyAddress = true;
      if (HasOuterBlanks(a)) {
        Add(addressLine, msg_.Blanks(key(PatternField::kAddress), a, !HasOuterBlanks(trimmed)));
      }
      std::string upper = UpperSjis(trimmed);
      if (!seen.insert(upper).second && reported.insert(upper).second) {
        Add(addressLine, msg_.Twice(key(PatternField::kAddress), trimmed));
      }
    });
    if (!anyAddress && IsFlagOn(get(PatternField::kAddressOn))) {
      const size_t l = lineOf(PatternField::kAddressOn);
      Add(l != 0 ? l : sectionLine, msg_.NeverApplies(get(PatternField::kName)));
    }

    WordList(PatternField::kZorvekCheck, PatternField::kZorvek, sectionLine, get, lineOf);
    WordList(PatternField::kHissuCheck, PatternField::kHissu, sectionLine, get, lineOf);
  }

  // Words are searched exactly as they stand, blanks included.
  template <typename Get, typename LineOfField>
  void WordList(PatternField check, PatternField list, size_t sectionLine, Get& get,
                LineOfField& lineOf) {
    const std::string_view listKey = kPatternFields[static_cast<size_t>(list)].key;
    const size_t listLine = lineOf(list);
    bool anyWord = false;
    std::unordered_set<std::string_view> seen;
    std::unordered_set<std::string_view> reported;
    const std::string& words = get(list);
    ForEachLine(words, [&](std::string_view w) {
      if (w.empty()) return;
      anyWord = true;
      if (HasOuterBlanks(w)) Add(listLine, msg_.Blanks(listKey, w, false));
      if (!seen.insert(w).second && reported.insert(w).second) {
        Add(listLine, msg_.Twice(listKey, w));
      }
    });
    if (!anyWord && IsFlagOn(get(check))) {
      size_t l = lineOf(check);
      if (l == 0) l = listLine;
      if (l == 0) l = sectionLine;
      Add(l, msg_.EmptyList(kPatternFields[static_cast<size_t>(check)].key, listKey));
    }
  }

  Messages msg_;
  std::vector<RawLine> lines_;
  IniStore store_;
  std::unordered_map<std::string, size_t> firstLine_;    // upper-case name -> first line
  std::unordered_map<std::string, size_t> sectionLine_;  // upper-case pattern section -> first line
  std::vector<LintFinding> found_;
  std::vector<std::string_view> patternKeys_;
  std::unordered_map<std::string, std::vector<std::string_view>> optionKeys_;  // by upper section
  std::unordered_set<std::string> oddSections_;  // upper-case sections under Zorvek\ reported
};

}  // namespace

std::vector<LintFinding> LintSettings(std::string_view fileText, Language language) {
  return Linter(fileText, language).Run();
}

}  // namespace zv::tester
