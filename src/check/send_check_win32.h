// The send-time check's platform side: the warning as a message box and the attachment test on
// the host's composition window.
#pragma once

#include <windows.h>

#include <string_view>

#include "check/send_check.h"

namespace zv::win {

// Shows `text` under `title` (both code page 932) in a modal message box with no owner, Yes and
// No and the warning icon, through the Unicode API. True when the answer is Yes.
bool AskWarningBox(std::string_view text, std::string_view title);

// The attachment test for a composition window and its body editor (both borrowed). No editor,
// or a window whose rectangle cannot be read, gives kUnknown.
Attachment AttachmentBelowEditor(HWND composition, HWND editor);

}  // namespace zv::win
