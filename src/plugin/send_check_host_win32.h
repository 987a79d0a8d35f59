// The send-time check against the host: its composition window, its body editor and the
// warning box.
#pragma once

#include <windows.h>

#include <string_view>

#include "check/send_check.h"
#include "plugin/host_binding_win32.h"

namespace zv::win {

// The platform side of one check of the mail in `composition` (borrowed).
class Win32SendCheckHost : public SendCheckHost {
 public:
  Win32SendCheckHost(const HostCalls& host, HWND composition)
      : host_(host), composition_(composition) {}

  Attachment TestAttachment() override;
  bool AskUser(std::string_view text, std::string_view title) override;
  // The confirmation window, owned by the composition window.
  bool Confirm(const CheckResult& result) override;

 private:
  const HostCalls& host_;
  HWND composition_;  // borrowed: the host's window
};

// CheckOutgoingMail for the mail the host is sending from `composition` (borrowed).
bool CheckOutgoingMail(const PatternTable& table, const HostCalls& host, HWND composition,
                       std::string_view header, std::string_view body, CheckOptions options = {});

// The same with every option of `settings`, encoded words in names decoded by the system.
SendVerdict CheckOutgoingMail(const PatternSettings& settings, const HostCalls& host,
                              HWND composition, std::string_view header, std::string_view body);

}  // namespace zv::win
