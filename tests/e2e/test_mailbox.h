// A mailbox folder of one test's own under %TEMP%, made the substitute host's mailbox with the
// common-settings option off, so that the plug-in's settings file lives in it. Remove() also
// puts the host's options, its record of the plug-in and its script back as they were.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

#include "mailora/host.h"
#include "mailora/host_files.h"
#include "mailora/host_registry.h"

namespace zv::test {

class TestMailbox {
 public:
  // zv-e2e-TAG-PID\, with its Plugins folder unless the test wants to see it made.
  bool Create(const std::string& tag, bool withPluginsFolder = true) {
    mailora::ResetScript();
    mailora::DeletePluginRecord();
    char temp[MAX_PATH] = {};
    ::GetTempPathA(sizeof temp, temp);
    folder_ = std::string(temp) + "zv-e2e-" + tag + "-" + std::to_string(::GetCurrentProcessId()) +
              "\\";
    ::CreateDirectoryA(folder_.c_str(), nullptr);
    if (withPluginsFolder) ::CreateDirectoryA((folder_ + "Plugins").c_str(), nullptr);
    mailora::Script().mailbox = folder_;
    return mailora::SetCommonOption(false);
  }

  // Deletes the settings file and `files` (relative to the folder), then the folders.
  void Remove(std::initializer_list<const char*> files = {}) const {
    ::DeleteFileA(settingsPath().c_str());
    for (const char* f : files) ::DeleteFileA((folder_ + f).c_str());
    ::RemoveDirectoryA((folder_ + "Plugins").c_str());
    ::RemoveDirectoryA(folder_.c_str());
    mailora::DeleteHostOptions();
    mailora::DeletePluginRecord();
    mailora::ResetScript();
  }

  const std::string& folder() const { return folder_; }
  std::string settingsPath() const { return folder_ + "Plugins\\Zorvek32.ini"; }

 private:
  std::string folder_;
};

}  // namespace zv::test
