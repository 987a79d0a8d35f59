// In-memory stand-ins for the registry and the settings file's folder, with failure injection.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "settings/ini_file.h"
#include "settings/registry.h"

namespace zv::testing {

class FakeRegistry final : public Registry {
 public:
  using Values = std::map<std::string, RegData>;

  void Set(RegRoot root, const std::string& key, const std::string& name, RegData data) {
    keys_[{root, key}][name] = std::move(data);
  }
  void AddKey(RegRoot root, const std::string& key) { keys_[{root, key}]; }

  std::unique_ptr<RegistryKey> Open(RegRoot root, const std::string& keyPath,
                                    RegAccess access) override {
    opens.push_back(access);
    if (access == RegAccess::kFull && denyFullAccess) return nullptr;
    auto it = keys_.find({root, keyPath});
    if (it == keys_.end()) return nullptr;
    return std::make_unique<Key>(it->second);
  }

  bool denyFullAccess = false;
  std::vector<RegAccess> opens;

 private:
  class Key final : public RegistryKey {
   public:
    explicit Key(const Values& values) : values_(values) {}
    RegData Query(std::string_view name) override {
      auto it = values_.find(std::string(name));
      return it == values_.end() ? RegData{} : it->second;
    }

   private:
    const Values& values_;
  };
  std::map<std::pair<RegRoot, std::string>, Values> keys_;
};

inline RegData Sz(std::string s) {
  return {RegDataKind::kText, std::move(s)};
}
inline RegData Dword(uint32_t v) {
  std::string b(4, '\0');
  for (int i = 0; i < 4; ++i) b[static_cast<size_t>(i)] = static_cast<char>(v >> (8 * i));
  return {RegDataKind::kInteger, b};
}
inline RegData Binary(std::string bytes) {
  return {RegDataKind::kBinary, std::move(bytes)};
}

// Files and folders in memory. `failAt` names the one step that fails.
class FakeFiles final : public SettingsFiles {
 public:
  enum class Step { kNone, kEnsureFolder, kCreateTemp, kWrite, kFlush, kClose, kReplace, kRead };

  std::map<std::string, std::string> files;
  std::set<std::string> folders;
  Step failAt = Step::kNone;
  int tempCounter = 0;

  bool Exists(const std::string& path) override { return files.count(path) != 0; }
  std::optional<std::string> ReadAll(const std::string& path) override {
    if (failAt == Step::kRead || !Exists(path)) return std::nullopt;
    return files[path];
  }
  bool EnsureFolder(const std::string& folder) override {
    if (failAt == Step::kEnsureFolder) return false;
    folders.insert(folder);
    return true;
  }
  std::unique_ptr<TempFile> CreateTemp(const std::string& folder) override {
    if (failAt == Step::kCreateTemp || !folders.count(folder)) return nullptr;
    const std::string path = folder + "zv" + std::to_string(++tempCounter) + ".tmp";
    files[path];
    return std::make_unique<Temp>(*this, path);
  }
  bool Replace(const std::string& source, const std::string& target) override {
    if (failAt == Step::kReplace || !files.count(source)) return false;
    files[target] = files[source];
    files.erase(source);
    return true;
  }
  void Remove(const std::string& path) override { files.erase(path); }

 private:
  class Temp final : public TempFile {
   public:
    Temp(FakeFiles& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
    const std::string& path() const override { return path_; }
    bool Write(std::string_view bytes) override {
      if (fs_.failAt == Step::kWrite) {
        fs_.files[path_] += std::string(bytes.substr(0, bytes.size() / 2));  // a partial write
        return false;
      }
      fs_.files[path_] += std::string(bytes);
      return true;
    }
    bool Flush() override { return fs_.failAt != Step::kFlush; }
    bool Close() override { return fs_.failAt != Step::kClose; }

   private:
    FakeFiles& fs_;
    std::string path_;
  };
};

}  // namespace zv::testing
