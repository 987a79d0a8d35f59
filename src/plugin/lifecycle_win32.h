// The plug-in's process-wide state, alive from start-up to clean-up, and the steps the
// start-up, clean-up and send sequences run. The sequences themselves are in
// entry_points_win32.h.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "check/pattern_table.h"
#include "plugin/host_binding_win32.h"

namespace zv::win {

struct PluginState {
  bool started = false;  // start-up succeeded and clean-up has not run
  HostBinding host;
  PatternSettings patterns;  // with HeaderOption on until the settings say otherwise
};

// The one state of this process. It is never destroyed at unload: whatever clean-up did not
// release stays with the process rather than being freed under the loader lock.
PluginState& State();

// Start-up steps, run in this order after the host is bound.
void LoadIniStoreStep();
void CreateSetupDialogStep();
void LoadPatternsStep();
void EnableAssociateCheckStep();

// Clean-up steps, run in this order; the host is unbound between the second and the third.
void SavePatternsStep();
void DestroySetupDialogStep();
void FreeIniStoreStep();

// The send-time check of a captured mail: true to send it, false to hold it back.
bool RunSendCheck(HWND composition, const std::string& header, const std::string& body);

// The remaining entry points' work once started. The setup dialog's modal result is 1 or 2.
int32_t ShowSetupDialogStep();
void ShowAboutBoxStep(HWND owner);  // borrowed; works with or without start-up
void MemoFolderCreateStep();
void MemoViewCloseStep();
void MemoViewLoadMailStep(const std::string& header, const std::string& body);

}  // namespace zv::win
