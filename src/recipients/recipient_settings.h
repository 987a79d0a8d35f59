// The settings of the recipient warnings, section "Recipients" of the settings file. Every
// one is off or empty by default, and a file that never set one does not gain its key.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zv {

class IniStore;

inline constexpr std::string_view kRecipientsSection = "Recipients";
inline constexpr std::string_view kInternalDomainsKey = "InternalDomains";
inline constexpr std::string_view kKnownDomainsKey = "KnownDomains";
inline constexpr std::string_view kManyRecipientsKey = "ManyRecipients";
inline constexpr std::string_view kManyDomainsKey = "ManyDomains";
inline constexpr std::string_view kNewDomainsKey = "NewDomains";
inline constexpr std::string_view kConfirmKey = "Confirm";
inline constexpr std::string_view kConfirmInternalKey = "ConfirmInternal";
// The thresholds a user can set; other stored values count as 0.
inline constexpr int32_t kMaxRecipientThreshold = 9999;

struct RecipientSettings {
  std::string internalDomains;   // InternalDomains: the user's own domains (OwnDomains)
  std::string knownDomains;      // KnownDomains: the domains sent to, one per line
  int32_t manyRecipients = 0;    // ManyRecipients: warn at this many To and Cc addresses
  int32_t manyDomains = 0;       // ManyDomains: warn at this many external domains
  bool newDomains = false;       // NewDomains: warn about domains never sent to
  bool confirm = false;          // Confirm
  bool confirmInternal = false;  // ConfirmInternal
  friend bool operator==(const RecipientSettings&, const RecipientSettings&) = default;
};

// A stored threshold as the check uses it: 1 to 9999 warn from that count on; 0 is off, and
// so is any value outside 0 to 9999 (which the settings keep as stored and write back).
inline int32_t ThresholdInForce(int32_t stored) {
  return stored >= 1 && stored <= kMaxRecipientThreshold ? stored : 0;
}

// Whether any of the three warnings is on.
inline bool RecipientWarningsOn(const RecipientSettings& s) {
  return ThresholdInForce(s.manyRecipients) > 0 || ThresholdInForce(s.manyDomains) > 0 ||
         s.newDomains;
}

// Reads the keys; a key that is missing or does not convert to its type gives off or empty.
void LoadRecipientSettings(RecipientSettings& settings, const IniStore& store);

// Writes each key whose value is not off or empty, or that the store already holds.
void SaveRecipientSettings(const RecipientSettings& settings, IniStore& store);

}  // namespace zv
