// The platform's steps of the plug-in's sequences (plugin/lifecycle.h) over the host, the
// settings file, the setup dialog and the memo-pad link, and the one plug-in of the process.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "plugin/host_binding_win32.h"
#include "plugin/lifecycle.h"

namespace zv::win {

inline HostWindow ToHostWindow(HWND window) {
  return reinterpret_cast<HostWindow>(window);
}
inline HWND ToHwnd(HostWindow window) {
  return reinterpret_cast<HWND>(window);
}

class Win32PluginSteps final : public PluginSteps {
 public:
  explicit Win32PluginSteps(HostBinding& host) : host_(host) {}

  bool BindHost() override;
  void UnbindHost() override;
  IniLoadResult LoadIniStore() override;
  void CreateSetupDialog(PatternSettings& settings) override;
  void LoadPatterns(PatternSettings& settings) override;
  void EnableAssociateCheck(bool notavoInstalled) override;
  void SavePatterns(PatternSettings& settings) override;
  void DestroySetupDialog() override;
  void FreeIniStore() override;
  OutgoingMail CaptureMail(HostWindow composition) override;
  SendVerdict CheckMail(const PatternSettings& settings, HostWindow composition,
                        const OutgoingMail& mail) override;
  void SetHeader(HostWindow composition, const std::string& header) override;
  int32_t ShowSetupDialog() override;
  void ShowAboutBox(HostWindow owner) override;
  void MemoFolderCreate() override;
  void MemoViewClose() override;
  void MemoViewLoadMail(std::string_view header, std::string_view body) override;

 private:
  HostBinding& host_;
};

// The host binding, the steps over it and the sequences, alive from start-up to clean-up.
struct PluginState {
  HostBinding host;
  Win32PluginSteps steps{host};
  PluginLifecycle lifecycle{steps};
};

// The one state of this process, made on first use. Only the host's thread calls the plug-in.
PluginState& State();

// At unload: frees the state when it is not started (clean-up has run, or start-up never
// succeeded), so that it holds nothing but memory. A started state stays with the process, so
// that nothing clean-up should have released is torn down under the loader lock.
void FreeIdleStateAtUnload() noexcept;

}  // namespace zv::win
