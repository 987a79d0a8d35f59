// What the nine exported entry points do, callable without going through the export table.
// Only StartUp and CleanUp change the process-wide state. Before a successful start-up, after a
// refused one and after clean-up, every entry point but the name and the About box does
// nothing: SendPost lets the mail through and Setup answers 2.
#pragma once

#include <windows.h>

#include <cstdint>

namespace zv::win {

// -1 and 0 as the host expects booleans.
inline constexpr int32_t kHostTrue = -1;
inline constexpr int32_t kHostFalse = 0;

// Checks the host's interface version, binds the host and runs the start-up steps. While
// already started, an accepted version answers true and changes nothing.
bool StartUp(const char* version) noexcept;

// Runs the clean-up steps, each even when an earlier one failed.
void CleanUp() noexcept;

// Captures the mail, checks it, brings the X-Mailer-Plugin entry up to date when HeaderOption
// is on (handing a changed header back to the host whatever the answer), and answers -1 to
// send or 0 to hold the mail back. An internal failure before the check's answer lets the mail
// through; after it, the answer stands. A failure never touches the header.
int32_t SendPost(HWND composition) noexcept;

int32_t Setup() noexcept;
void VersionInfo(HWND owner) noexcept;
void FolderCreate() noexcept;
void ViewClose() noexcept;
void ViewLoadMail(const char* header, const char* body) noexcept;

}  // namespace zv::win
