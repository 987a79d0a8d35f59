// The send-time check against the host: the warning as a message box and the attachment test
// on the host's composition window.
#pragma once

#include <windows.h>

#include <string_view>

#include "check/send_check.h"
#include "plugin/host_binding_win32.h"

namespace zv {

// Shows `text` under `title` (both code page 932) in a modal message box with no owner, Yes and
// No and the warning icon, through the Unicode API. True when the answer is Yes.
bool AskWarningBox(std::string_view text, std::string_view title);

// The attachment test for a composition window and its body editor (both borrowed). No editor,
// or a window whose rectangle cannot be read, gives kUnknown.
Attachment AttachmentBelowEditor(HWND composition, HWND editor);

// The platform side of one check of the mail in `composition` (borrowed).
class WindowsSendCheckHost : public SendCheckHost {
 public:
  WindowsSendCheckHost(const HostCalls& host, HWND composition)
      : host_(host), composition_(composition) {}

  Attachment TestAttachment() override;
  bool AskUser(std::string_view text, std::string_view title) override;

 private:
  const HostCalls& host_;
  HWND composition_;  // borrowed: the host's window
};

// CheckOutgoingMail for the mail the host is sending from `composition` (borrowed).
bool CheckOutgoingMail(const PatternTable& table, const HostCalls& host, HWND composition,
                       std::string_view header, std::string_view body, CheckOptions options = {});

}  // namespace zv
