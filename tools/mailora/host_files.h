// Files and the host's own options, as the end-to-end tests set them up and read them back.
#pragma once

#include <string>

namespace mailora {

// The host program's key, HKCU\Software\Tessaly Lab\Mailora.exe, which holds Options\Common.
inline constexpr char kHostKey[] = "Software\\Tessaly Lab\\Mailora.exe";

// Sets Options\Common (REG_DWORD): off puts the settings file in the mailbox folder.
bool SetCommonOption(bool on);
// Removes the host's key with everything under it.
void DeleteHostOptions();

// The whole file, or "<missing>" when it cannot be read.
std::string ReadFileBytes(const std::string& path);
// Creates or replaces the file with exactly these bytes.
bool WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace mailora
