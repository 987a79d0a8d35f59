#include "recipients/recipient_settings.h"

#include <string_view>

#include "settings/ini_store.h"

namespace zv {

namespace {

constexpr std::string_view kSection = kRecipientsSection;

std::string ReadText(const IniStore& store, std::string_view key) {
  Variant v = store.Read(kSection, key, Variant::Text(""));
  if (std::string* t = v.AsText()) return std::move(*t);
  return v.ToText();
}

int32_t ReadInteger(const IniStore& store, std::string_view key) {
  return store.Read(kSection, key, Variant::Int32(0)).ToInt32(0);
}

bool ReadBoolean(const IniStore& store, std::string_view key) {
  return store.Read(kSection, key, Variant::Boolean(false)).ToBoolean(false);
}

}  // namespace

void LoadRecipientSettings(RecipientSettings& s, const IniStore& store) {
  s.internalDomains = ReadText(store, kInternalDomainsKey);
  s.knownDomains = ReadText(store, kKnownDomainsKey);
  s.manyRecipients = ReadInteger(store, kManyRecipientsKey);
  s.manyDomains = ReadInteger(store, kManyDomainsKey);
  s.newDomains = ReadBoolean(store, kNewDomainsKey);
  s.confirm = ReadBoolean(store, kConfirmKey);
  s.confirmInternal = ReadBoolean(store, kConfirmInternalKey);
}

void SaveRecipientSettings(const RecipientSettings& s, IniStore& store) {
  const Variant noText = Variant::Text("");
  const Variant zero = Variant::Int32(0);
  const Variant off = Variant::Boolean(false);
  store.WriteOption(kSection, kInternalDomainsKey, Variant::Text(s.internalDomains), noText);
  store.WriteOption(kSection, kKnownDomainsKey, Variant::Text(s.knownDomains), noText);
  store.WriteOption(kSection, kManyRecipientsKey, Variant::Int32(s.manyRecipients), zero);
  store.WriteOption(kSection, kManyDomainsKey, Variant::Int32(s.manyDomains), zero);
  store.WriteOption(kSection, kNewDomainsKey, Variant::Boolean(s.newDomains), off);
  store.WriteOption(kSection, kConfirmKey, Variant::Boolean(s.confirm), off);
  store.WriteOption(kSection, kConfirmInternalKey, Variant::Boolean(s.confirmInternal), off);
}

}  // namespace zv
