#include "plugin/lifecycle_win32.h"

#include "check/patterns_win32.h"
#include "memo/memo_link_win32.h"
#include "plugin/capture_win32.h"
#include "plugin/send_check_host_win32.h"
#include "settings/ini_file.h"
#include "settings/ini_file_win32.h"
#include "ui/setup_form_win32.h"
#include "ui/version_form_win32.h"

namespace zv::win {

namespace {

// A pointer, so that an unload can free it.
PluginState* state = nullptr;

}  // namespace

PluginState& State() {
  if (!state) state = new PluginState();
  return *state;
}

void FreeIdleStateAtUnload() noexcept {
  if (state && !state->lifecycle.started) {
    delete state;
    state = nullptr;
  }
}

bool Win32PluginSteps::BindHost() {
  return win::BindHost(host_);
}
void Win32PluginSteps::UnbindHost() {
  win::UnbindHost(host_);
}

IniLoadResult Win32PluginSteps::LoadIniStore() {
  const HostCalls host(host_.table);
  return win::LoadIniStore([&] { return host.GetMailbox(); });
}
void Win32PluginSteps::CreateSetupDialog(PatternSettings& settings) {
  win::CreateSetupDialog(settings);
}
void Win32PluginSteps::LoadPatterns(PatternSettings& settings) {
  win::LoadPatterns(settings);
}
void Win32PluginSteps::EnableAssociateCheck(bool notavoInstalled) {
  EnableAssociateNotavoCheck(notavoInstalled);
}
void Win32PluginSteps::SavePatterns(PatternSettings& settings) {
  win::SavePatterns(settings);
}
void Win32PluginSteps::DestroySetupDialog() {
  win::DestroySetupDialog();
}
void Win32PluginSteps::FreeIniStore() {
  zv::FreeIniStore();
}

OutgoingMail Win32PluginSteps::CaptureMail(HostWindow composition) {
  return CaptureOutgoingMail(HostCalls(host_.table), ToHwnd(composition));
}
SendVerdict Win32PluginSteps::CheckMail(const PatternSettings& settings, HostWindow composition,
                                        const OutgoingMail& mail) {
  return CheckOutgoingMail(settings, HostCalls(host_.table), ToHwnd(composition), mail.header,
                           mail.body);
}
void Win32PluginSteps::SetHeader(HostWindow composition, const std::string& header) {
  HostCalls(host_.table).SendSetHeader(ToHwnd(composition), header);
}

int32_t Win32PluginSteps::ShowSetupDialog() {
  return win::ShowSetupDialog();
}
void Win32PluginSteps::ShowAboutBox(HostWindow owner) {
  win::ShowAboutBox(ToHwnd(owner));
}

// The sequence runs the memo-pad steps only with AssociateOption on.
void Win32PluginSteps::MemoFolderCreate() {
  Win32NotavoPlatform platform;
  zv::MemoFolderCreate(true, platform);
}
void Win32PluginSteps::MemoViewClose() {
  Win32NotavoPlatform platform;
  zv::MemoViewClose(true, platform);
}
void Win32PluginSteps::MemoViewLoadMail(std::string_view header, std::string_view body) {
  Win32NotavoPlatform platform;
  zv::MemoViewLoadMail(true, platform, header, body);
}

}  // namespace zv::win
