// Reading the mail being sent out of the host's composition window: the header from the host,
// the body and the selected signature's name from the window's children, and the signature
// block from the account's signature file.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "plugin/host_binding_win32.h"
#include "plugin/signature.h"

namespace zv::win {

// The text of `window` (borrowed) as bytes in the system's ANSI code page, up to its first zero
// byte; empty when it has none. The string keeps room for `room` more bytes.
std::string WindowText(HWND window, size_t room = 0);
// The same without looking for a zero byte: as many bytes as the window says it copied.
std::string WindowTextAsCopied(HWND window, size_t room = 0);

// The composition window's children that hold the body and the signature selector, found by
// their place in the z-order; null when the window lacks them. Both are borrowed.
struct CompositionParts {
  HWND body = nullptr;      // first child of the first child
  HWND selector = nullptr;  // eleventh child of the second child
};
CompositionParts FindCompositionParts(HWND composition);

// The whole file at `path` (code page 932), or an empty text when it is missing or unreadable.
std::string ReadWholeFileOrEmpty(const std::string& path);

// Equality that ignores letter case by the user's locale.
bool EqualsIgnoringCaseUserLocale(std::string_view a, std::string_view b);

// The block `name` of the signature file of the composition window's account: the account
// path followed directly by "Signature". Empty when the host gives no account, the file cannot
// be read or holds no such block.
std::string SignatureBlock(const HostCalls& host, HWND composition, std::string_view name);

// Header, then body, then the selector's text, then the signature block; "(無し)" in the
// selector means no signature and no file access.
OutgoingMail CaptureOutgoingMail(const HostCalls& host, HWND composition);

}  // namespace zv::win
