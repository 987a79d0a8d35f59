#include "plugin/send_check_host_win32.h"

#include "check/send_check_win32.h"
#include "mime/charset_win32.h"
#include "ui/confirm_form_win32.h"
#include "ui/confirm_rows.h"

namespace zv::win {

Attachment Win32SendCheckHost::TestAttachment() {
  return AttachmentBelowEditor(composition_, host_.SendGetEditor(composition_));
}

bool Win32SendCheckHost::AskUser(std::string_view text, std::string_view title) {
  return AskWarningBox(text, title);
}

bool Win32SendCheckHost::Confirm(const CheckResult& result) {
  const std::vector<ui::ConfirmRow> rows = ui::ConfirmRows(result);
  return ShowConfirmForm(composition_, rows);
}

bool CheckOutgoingMail(const PatternTable& table, const HostCalls& host, HWND composition,
                       std::string_view header, std::string_view body, CheckOptions options) {
  Win32SendCheckHost platform(host, composition);
  return CheckOutgoingMail(table, header, body, platform, options);
}

SendVerdict CheckOutgoingMail(const PatternSettings& settings, const HostCalls& host,
                              HWND composition, std::string_view header, std::string_view body) {
  Win32SendCheckHost platform(host, composition);
  Win32CharsetConverter converter;
  return CheckOutgoingMail(settings, header, body, platform, converter);
}

}  // namespace zv::win
