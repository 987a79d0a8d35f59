// The settings file Zorvek32.ini: where it lives, loading it, and replacing it in one piece so
// that a failed save never leaves a half-written file. Also the process-wide store that the
// plug-in's settings go through from start-up to clean-up.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "settings/ini_store.h"
#include "settings/registry.h"
#include "settings/system_formats.h"
#include "settings/variant.h"

namespace zv {

// A new file being written; closed by its owner's destructor if still open.
class TempFile {
 public:
  virtual ~TempFile() = default;
  virtual const std::string& path() const = 0;
  virtual bool Write(std::string_view bytes) = 0;
  virtual bool Flush() = 0;
  virtual bool Close() = 0;
};

// The file operations of the settings file. Every step of a save can fail on its own.
class SettingsFiles {
 public:
  virtual ~SettingsFiles() = default;
  virtual bool Exists(const std::string& path) = 0;
  // The whole file; nullopt when it cannot be opened or read.
  virtual std::optional<std::string> ReadAll(const std::string& path) = 0;
  // Creates the last folder of `folder` (a path ending with a backslash) if it is missing.
  virtual bool EnsureFolder(const std::string& folder) = 0;
  // A new, empty file with a unique name in `folder`; null on failure (leaving nothing behind).
  virtual std::unique_ptr<TempFile> CreateTemp(const std::string& folder) = 0;
  // Puts `source` in the place of `target` in one step, replacing an existing file.
  virtual bool Replace(const std::string& source, const std::string& target) = 0;
  virtual void Remove(const std::string& path) = 0;
};

inline constexpr std::string_view kIniFileName = "Zorvek32.ini";

// `folder` followed directly by "Plugins\Zorvek32.ini".
std::string IniFilePathIn(std::string_view folder);

// Everything up to and including the last backslash or colon; empty when there is none.
std::string FolderOf(std::string_view path);

// The folder the settings file lives in: the host's folder when the registry value Common
// (relative key "Options") is true, absent or unreadable; the mailbox folder as the host gives
// it when false. Each folder is asked for only when it is chosen.
std::string SettingsFolder(Registry& registry, std::string_view exeFileName,
                           const SystemFormats& formats,
                           const std::function<std::string()>& hostFolder,
                           const std::function<std::string()>& mailboxFolder);

// Writes `bytes` to a temporary file beside `path`, flushes and closes it, then puts it in
// place of `path`; creates a missing last folder first. On any failure the temporary file is
// removed, the old file is untouched, and the result is false.
bool ReplaceFileContents(SettingsFiles& files, const std::string& path, std::string_view bytes);

// --- The process-wide store ---

enum class IniLoadResult {
  kLoaded,      // the file was read
  kNoFile,      // no file yet: the store is empty and the first save creates it
  kUnreadable,  // the file exists but could not be read: the store is empty and never saves
};

// Loads the store from `path`. `files` and `formats` must stay alive until FreeIniStore.
IniLoadResult LoadIniStore(std::string path, SettingsFiles& files, const SystemFormats& formats);

// The loaded file's path; empty when no store is loaded.
const std::string& IniFilePath();

// Reads and writes change only memory. Without a loaded store, reads give `fallback` and
// writes do nothing.
Variant IniRead(std::string_view section, std::string_view key, const Variant& fallback);
void IniWrite(std::string_view section, std::string_view key, const Variant& value);

// Writes the store to its file; false (and the file unchanged) when that fails, when no store
// is loaded, or when the file could not be read at load time.
bool SaveIniStore();

void FreeIniStore();

// The loaded store, or null.
IniStore* ActiveIniStore();

}  // namespace zv
