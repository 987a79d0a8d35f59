// What the nine exported entry points do, callable without going through the export table: each
// hands over to the process's sequences (plugin/lifecycle.h) with the host's types.
#pragma once

#include <windows.h>

#include <cstdint>

namespace zv::win {

// -1 and 0 as the host expects booleans.
inline constexpr int32_t kHostTrue = -1;
inline constexpr int32_t kHostFalse = 0;

bool StartUp(const char* version) noexcept;
void CleanUp() noexcept;
// -1 to send the mail, 0 to hold it back.
int32_t SendPost(HWND composition) noexcept;
int32_t Setup() noexcept;
void VersionInfo(HWND owner) noexcept;
void FolderCreate() noexcept;
void ViewClose() noexcept;
void ViewLoadMail(const char* header, const char* body) noexcept;

}  // namespace zv::win
