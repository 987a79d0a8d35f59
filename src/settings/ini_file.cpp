#include "settings/ini_file.h"

#include "text/sjis.h"

namespace zv {

namespace {

struct ProcessStore {
  std::unique_ptr<IniStore> store;
  std::string path;
  SettingsFiles* files = nullptr;  // borrowed from the loader
  bool saveAllowed = false;
};

ProcessStore& Process() {
  static ProcessStore state;
  return state;
}

}  // namespace

std::string IniFilePathIn(std::string_view folder) {
  std::string path;
  path.reserve(folder.size() + 8 + kIniFileName.size());
  path.append(folder).append("Plugins\\").append(kIniFileName);
  return path;
}

std::string FolderOf(std::string_view path) {
  path = UntilNul(path);
  size_t end = 0;
  for (size_t pos = 0; pos < path.size(); pos += SjisCharLength(path, pos)) {
    if (path[pos] == '\\' || path[pos] == ':') end = pos + 1;
  }
  return std::string(path.substr(0, end));
}

std::string SettingsFolder(Registry& registry, std::string_view exeFileName,
                           const SystemFormats& formats,
                           const std::function<std::string()>& hostFolder,
                           const std::function<std::string()>& mailboxFolder) {
  const Variant common =
      RegRead("Options", "Common", Variant::Boolean(true), registry, exeFileName, formats);
  return common.ToBoolean(true) ? hostFolder() : mailboxFolder();
}

bool ReplaceFileContents(SettingsFiles& files, const std::string& path, std::string_view bytes) {
  const std::string folder = FolderOf(path);
  if (!folder.empty() && !files.EnsureFolder(folder)) return false;
  std::unique_ptr<TempFile> temp = files.CreateTemp(folder);
  if (!temp) return false;
  bool ok = temp->Write(bytes) && temp->Flush();
  ok = temp->Close() && ok;  // closed on every path, so that it can be removed
  if (ok) ok = files.Replace(temp->path(), path);
  if (!ok) files.Remove(temp->path());
  return ok;
}

IniLoadResult LoadIniStore(std::string path, SettingsFiles& files, const SystemFormats& formats) {
  ProcessStore& s = Process();
  s.store = std::make_unique<IniStore>(formats);
  s.path = std::move(path);
  s.files = &files;
  s.saveAllowed = false;
  if (!files.Exists(s.path)) {
    s.saveAllowed = true;
    return IniLoadResult::kNoFile;
  }
  std::optional<std::string> text = files.ReadAll(s.path);
  if (!text) return IniLoadResult::kUnreadable;
  s.store->Parse(*text);
  s.saveAllowed = true;
  return IniLoadResult::kLoaded;
}

const std::string& IniFilePath() {
  return Process().path;
}

Variant IniRead(std::string_view section, std::string_view key, const Variant& fallback) {
  IniStore* store = Process().store.get();
  return store ? store->Read(section, key, fallback) : fallback;
}

void IniWrite(std::string_view section, std::string_view key, const Variant& value) {
  if (IniStore* store = Process().store.get()) store->Write(section, key, value);
}

bool SaveIniStore() {
  ProcessStore& s = Process();
  if (!s.store || !s.saveAllowed) return false;
  return ReplaceFileContents(*s.files, s.path, s.store->Serialize());
}

void FreeIniStore() {
  Process() = ProcessStore{};
}

IniStore* ActiveIniStore() {
  return Process().store.get();
}

}  // namespace zv
