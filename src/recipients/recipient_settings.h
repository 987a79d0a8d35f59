// PLACEHOLDER until the recipients core lands: the fields the setup page edits.
#pragma once

#include <cstdint>
#include <string>

namespace zv {

struct RecipientSettings {
  std::string internalDomains;
  std::string knownDomains;
  int32_t manyRecipients = 0;
  int32_t manyDomains = 0;
  bool newDomains = false;
  bool confirm = false;
  bool confirmInternal = false;
};

}  // namespace zv
