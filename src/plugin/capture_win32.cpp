#include "plugin/capture_win32.h"

#include <algorithm>
#include <climits>

#include "text/constants.h"
#include "text/sjis.h"
#include "win/file_win32.h"

namespace zv::win {

namespace {

constexpr std::string_view kSignatureFileName = "Signature";
// The selector's place among the second child's children, counted from 1.
constexpr int kSelectorPlace = 11;
// Room kept after the body's text for the signature, so that appending it copies nothing.
constexpr size_t kSignatureRoom = 64 * 1024;

HWND FirstChild(HWND w) {
  return w ? ::GetTopWindow(w) : nullptr;
}
HWND NextSibling(HWND w) {
  return w ? ::GetWindow(w, GW_HWNDNEXT) : nullptr;
}

}  // namespace

std::string WindowTextAsCopied(HWND window, size_t room) {
  if (!window) return {};
  const LRESULT length = ::SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
  if (length < 0 || length >= INT_MAX - 2) return {};
  std::string buffer;
  buffer.reserve(static_cast<size_t>(length) + 2 + room);
  buffer.resize(static_cast<size_t>(length) + 2);
  const LRESULT copied = ::SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(length + 1),
                                        reinterpret_cast<LPARAM>(buffer.data()));
  // No more than the window says it copied, nor than the buffer holds.
  buffer.resize(copied > 0 ? std::min(static_cast<size_t>(copied), buffer.size()) : 0);
  return buffer;
}

std::string WindowText(HWND window, size_t room) {
  std::string text = WindowTextAsCopied(window, room);
  text.resize(UntilNul(text).size());
  return text;
}

CompositionParts FindCompositionParts(HWND composition) {
  CompositionParts parts;
  // GetTopWindow(null) would answer with a window of the desktop.
  if (!composition || !::IsWindow(composition)) return parts;
  const HWND first = FirstChild(composition);
  parts.body = FirstChild(first);
  HWND selector = FirstChild(NextSibling(first));
  for (int i = 1; i < kSelectorPlace && selector; ++i) selector = NextSibling(selector);
  parts.selector = selector;
  return parts;
}

std::string ReadWholeFileOrEmpty(const std::string& path) {
  return win::ReadWholeFile(path).value_or(std::string());
}

bool EqualsIgnoringCaseUserLocale(std::string_view a, std::string_view b) {
  if (a.size() > INT_MAX || b.size() > INT_MAX) return false;
  return ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(),
                          static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

std::string SignatureBlock(const HostCalls& host, HWND composition, std::string_view name) {
  const std::string account = host.GetAccount(composition);
  // Without an account the path would name a file in whatever the current folder is.
  if (account.empty()) return {};
  const std::string text = ReadWholeFileOrEmpty(account + std::string(kSignatureFileName));
  return SignatureBlockFromText(text, name, EqualsIgnoringCaseUserLocale);
}

OutgoingMail CaptureOutgoingMail(const HostCalls& host, HWND composition) {
  OutgoingMail mail;
  mail.header = host.SendGetHeader(composition);
  const CompositionParts parts = FindCompositionParts(composition);
  // The check stops at a zero byte itself, so the body, megabytes perhaps, is searched for one
  // only when the signature is to follow it.
  mail.body = WindowTextAsCopied(parts.body, kSignatureRoom);
  if (parts.selector) {
    const std::string selected = WindowText(parts.selector);
    if (selected != kNoSignature) {
      mail.body.resize(UntilNul(mail.body).size());
      mail.body += SignatureBlock(host, composition, selected);
    }
  }
  return mail;
}

}  // namespace zv::win
