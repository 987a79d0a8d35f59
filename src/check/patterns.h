// Loading the pattern table and the global options from the settings store at start-up, and
// writing them back at clean-up.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "check/pattern_table.h"
#include "recipients/recipient_settings.h"
#include "settings/ini_store.h"
#include "settings/registry.h"

namespace zv {

// Sections and keys of the pattern count and the global options.
inline constexpr std::string_view kCountSection = "Zorvek";
inline constexpr std::string_view kCountKey = "PatternCount";
inline constexpr std::string_view kAssociateSection = "Associate";
inline constexpr std::string_view kAssociateKey = "Notavo";
inline constexpr std::string_view kHeaderSection = "Header";
inline constexpr std::string_view kHeaderKey = "X-Mailer-Plugin";
inline constexpr std::string_view kCheckSection = "Check";
inline constexpr std::string_view kIgnoreQuotedLinesKey = "IgnoreQuotedLines";
inline constexpr std::string_view kIncludeCcBccKey = "IncludeCcBcc";

struct SettingsKey {
  std::string_view section;
  std::string_view key;
};
// Every key the plug-in reads outside the pattern sections and the windows' layout, by section:
// what a settings file can usefully hold there.
inline constexpr SettingsKey kOptionKeys[] = {
    {kCountSection, kCountKey},
    {kAssociateSection, kAssociateKey},
    {kHeaderSection, kHeaderKey},
    {kCheckSection, kIgnoreQuotedLinesKey},
    {kCheckSection, kIncludeCcBccKey},
    {kRecipientsSection, kInternalDomainsKey},
    {kRecipientsSection, kKnownDomainsKey},
    {kRecipientsSection, kManyRecipientsKey},
    {kRecipientsSection, kManyDomainsKey},
    {kRecipientsSection, kNewDomainsKey},
    {kRecipientsSection, kConfirmKey},
    {kRecipientsSection, kConfirmInternalKey},
};

inline constexpr std::string_view kNotavoRegPath =
    "\\HKEY_CURRENT_USER\\Software\\Tessaly Lab\\Notavo";

// "Zorvek\Pattern" followed by the index in upper-case hexadecimal, at least four digits.
std::string PatternSection(size_t index);

// The pattern a first start gets: mails to the author, checked for half-width kana, a blank
// subject and six rude words.
PatternRow DefaultPattern();

// True when the registry names the memo-pad program (Path and ExeName, both non-empty) and the
// file Path + ExeName + ".exe" exists.
bool NotavoPresent(Registry& registry, std::string_view exeFileName, const SystemFormats& formats,
                   const std::function<bool(const std::string&)>& fileExists);

// Fills the table and options from `store`: PatternCount patterns (the default pattern for 0,
// none when negative), then `probeNotavo` decides NotavoInstalled, then the options.
void LoadPatterns(PatternSettings& settings, const IniStore& store,
                  const std::function<bool()>& probeNotavo);

// Writes the table and options into `store`, has `saveFile` write the file, then empties the
// table. No key is removed, so sections of patterns deleted during the run stay in the file.
// Gives the result of `saveFile`.
bool SavePatterns(PatternSettings& settings, IniStore& store,
                  const std::function<bool()>& saveFile);

}  // namespace zv
