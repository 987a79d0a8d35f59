#include "check/patterns_win32.h"

#include "check/patterns.h"
#include "settings/ini_file.h"
#include "settings/ini_file_win32.h"
#include "settings/registry_win32.h"
#include "settings/system_formats_win32.h"

namespace zv::win {

bool NotavoInstalled() {
  Win32Registry registry;
  return NotavoPresent(registry, FileNameOf(ExecutablePath()), SystemFormatsOfUser(),
                       [](const std::string& path) { return SystemSettingsFiles().Exists(path); });
}

void LoadPatterns(PatternSettings& settings) {
  const IniStore empty;
  const IniStore* store = ActiveIniStore();
  zv::LoadPatterns(settings, store ? *store : empty, NotavoInstalled);
}

bool SavePatterns(PatternSettings& settings) {
  IniStore scratch;
  IniStore* store = ActiveIniStore();
  return zv::SavePatterns(settings, store ? *store : scratch,
                          [&] { return store != nullptr && SaveIniStore(); });
}

}  // namespace zv::win
