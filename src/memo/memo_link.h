// The link to the memo-pad program Notavo: starting it with the host's folder window and handing
// it the mail being viewed. Notavo is another program; all that reaches it goes through
// NotavoPlatform, so this logic runs anywhere.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zv {

// The two values of Notavo's registry key that record its installation.
inline constexpr std::string_view kNotavoPathValue = "Path";        // folder, ends with "\"
inline constexpr std::string_view kNotavoExeNameValue = "ExeName";  // base name, no extension
inline constexpr std::string_view kNotavoDefaultExeName = "Notavo";

// Notavo's main window and the message that hands it a text.
inline constexpr std::string_view kNotavoWindowClass = "TNotavoMainWindow";
inline constexpr std::string_view kNotavoWindowTitle = "Notavo";
inline constexpr unsigned kNotavoShowMessage = 32749;
inline constexpr uintptr_t kNotavoShowParam = 1;  // wParam; lParam is the window holding the text
inline constexpr unsigned kNotavoTimeoutMs = 3000;

// A window of another program, borrowed: never closed by whoever holds it. 0 is none.
using ForeignWindow = uintptr_t;

// What the link needs from the system.
class NotavoPlatform {
 public:
  virtual ~NotavoPlatform() = default;
  // A text value of Notavo's registry key; `fallback` when the key or value is missing or the
  // value is not a text.
  virtual std::string ReadRegistryText(std::string_view valueName, std::string_view fallback) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  // Opens the file through the shell without waiting for the program it starts.
  virtual void ShellOpen(const std::string& path) = 0;
  // Notavo's main window (class and title both match); 0 when none exists.
  virtual ForeignWindow FindNotavoWindow() = 0;
  // Sends `text` to `notavo` and waits at most kNotavoTimeoutMs for it to be taken.
  virtual void HandOver(ForeignWindow notavo, std::string_view text) = 0;
};

// Path + ExeName + ".exe", joined with nothing inserted.
std::string NotavoExecutable(std::string_view path, std::string_view exeName);

// Starts Notavo's executable when the registry names one that exists. Reads the registry anew
// on every call.
void StartNotavo(NotavoPlatform& platform);

// Shows `text` in a running Notavo; does nothing when none runs.
void SendToNotavo(NotavoPlatform& platform, std::string_view text);

// The viewed mail as Notavo shows it: the header, one blank line, the body.
std::string ViewedMailText(std::string_view header, std::string_view body);

// The entry points' memo-pad work. Each does nothing at all (no registry, window or file
// access) unless `associateOption` is on.
void MemoFolderCreate(bool associateOption, NotavoPlatform& platform);
void MemoViewLoadMail(bool associateOption, NotavoPlatform& platform, std::string_view header,
                      std::string_view body);
void MemoViewClose(bool associateOption, NotavoPlatform& platform);

}  // namespace zv
