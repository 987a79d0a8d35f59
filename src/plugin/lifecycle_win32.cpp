#include "plugin/lifecycle_win32.h"

#include <stdexcept>

#include "check/patterns_win32.h"
#include "plugin/send_check_host_win32.h"
#include "memo/memo_link_win32.h"
#include "settings/ini_file.h"
#include "settings/ini_file_win32.h"
#include "ui/setup_form_win32.h"
#include "ui/version_form_win32.h"

namespace zv::win {

PluginState& State() {
  static PluginState* const state = new PluginState();
  return *state;
}

void LoadIniStoreStep() {
  const HostCalls host(State().host.table);
  // A settings file that is there but cannot be read refuses start-up: running on defaults
  // would show the user settings that are not theirs, and none of the edits could be saved.
  if (win::LoadIniStore([&] { return host.GetMailbox(); }) == IniLoadResult::kUnreadable) {
    throw std::runtime_error("the settings file cannot be read");
  }
}
void CreateSetupDialogStep() {
  CreateSetupDialog(State().patterns);
}
void LoadPatternsStep() {
  win::LoadPatterns(State().patterns);
}
void EnableAssociateCheckStep() {
  EnableAssociateNotavoCheck(State().patterns.notavoInstalled);
}

// A settings file that cannot be written leaves the old one in place; the host is not told.
void SavePatternsStep() {
  win::SavePatterns(State().patterns);
}
void DestroySetupDialogStep() {
  DestroySetupDialog();
}
void FreeIniStoreStep() {
  FreeIniStore();
}

bool RunSendCheck(HWND composition, const std::string& header, const std::string& body) {
  const PluginState& state = State();
  return CheckOutgoingMail(state.patterns.table, HostCalls(state.host.table), composition, header,
                           body, CheckOptionsOf(state.patterns));
}

int32_t ShowSetupDialogStep() {
  return ShowSetupDialog();
}
void ShowAboutBoxStep(HWND owner) {
  ShowAboutBox(owner);
}
void MemoFolderCreateStep() {
  Win32NotavoPlatform platform;
  MemoFolderCreate(State().patterns.associateOption, platform);
}
void MemoViewCloseStep() {
  Win32NotavoPlatform platform;
  MemoViewClose(State().patterns.associateOption, platform);
}
void MemoViewLoadMailStep(const std::string& header, const std::string& body) {
  Win32NotavoPlatform platform;
  MemoViewLoadMail(State().patterns.associateOption, platform, header, body);
}

}  // namespace zv::win
