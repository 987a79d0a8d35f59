#include "plugin/entry_points_win32.h"

#include <string>

#include "plugin/capture_win32.h"
#include "plugin/lifecycle_win32.h"
#include "plugin/mailer_header.h"
#include "plugin/version_check.h"

namespace zv::win {

namespace {

// Runs one step; a failure in it does not stop the steps after it.
template <typename F>
void Step(F&& step) noexcept {
  try {
    step();
  } catch (...) {
  }
}

// Undoes a start-up that failed after the host was bound, without saving anything.
void AbandonStartUp(PluginState& state) noexcept {
  Step(DestroySetupDialogStep);
  UnbindHost(state.host);
  Step(FreeIniStoreStep);
  state.started = false;
}

}  // namespace

bool StartUp(const char* version) noexcept {
  PluginState& state = State();
  try {
    if (!IsAcceptedHostVersion(version ? std::string_view(version) : std::string_view())) {
      return false;
    }
    if (state.started) return true;
    if (!BindHost(state.host)) return false;
  } catch (...) {
    UnbindHost(state.host);
    return false;
  }
  try {
    LoadIniStoreStep();
    CreateSetupDialogStep();
    LoadPatternsStep();
    EnableAssociateCheckStep();
  } catch (...) {
    AbandonStartUp(state);
    return false;
  }
  state.started = true;
  return true;
}

void CleanUp() noexcept {
  PluginState& state = State();
  if (!state.started) return;
  state.started = false;
  Step(SavePatternsStep);
  Step(DestroySetupDialogStep);
  UnbindHost(state.host);
  Step(FreeIniStoreStep);
}

int32_t SendPost(HWND composition) noexcept {
  PluginState& state = State();
  if (!state.started) return kHostTrue;
  bool send = true;
  try {
    const HostCalls host(state.host.table);
    OutgoingMail mail = CaptureOutgoingMail(host, composition);
    // The check sees the header as the host gave it, before the plug-in's own entry.
    send = RunSendCheck(composition, mail.header, mail.body);
    if (state.patterns.headerOption && AddMailerHeader(mail.header)) {
      host.SendSetHeader(composition, mail.header);
    }
  } catch (...) {
  }
  return send ? kHostTrue : kHostFalse;
}

int32_t Setup() noexcept {
  try {
    if (State().started) return ShowSetupDialogStep();
  } catch (...) {
  }
  return 2;
}

void VersionInfo(HWND owner) noexcept {
  Step([&] { ShowAboutBoxStep(owner); });
}

void FolderCreate() noexcept {
  if (State().started && State().patterns.associateOption) Step(MemoFolderCreateStep);
}

void ViewClose() noexcept {
  if (State().started && State().patterns.associateOption) Step(MemoViewCloseStep);
}

void ViewLoadMail(const char* header, const char* body) noexcept {
  if (!State().started || !State().patterns.associateOption) return;
  Step([&] { MemoViewLoadMailStep(header ? header : "", body ? body : ""); });
}

}  // namespace zv::win
