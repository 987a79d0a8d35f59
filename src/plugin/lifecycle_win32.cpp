#include "plugin/lifecycle_win32.h"

namespace zv {

PluginState& State() {
  static PluginState* const state = new PluginState();
  return *state;
}

void LoadIniStoreStep() {}
void CreateSetupDialogStep() {}
void LoadPatternsStep() {}
void EnableAssociateCheckStep() {}

void SavePatternsStep() {}
void DestroySetupDialogStep() {}
void FreeIniStoreStep() {}

bool RunSendCheck(HWND /*composition*/, const std::string& /*header*/,
                  const std::string& /*body*/) {
  return true;
}

int32_t ShowSetupDialogStep() {
  return 2;
}
void ShowAboutBoxStep(HWND /*owner*/) {}
void MemoFolderCreateStep() {}
void MemoViewCloseStep() {}
void MemoViewLoadMailStep(const std::string& /*header*/, const std::string& /*body*/) {}

}  // namespace zv
