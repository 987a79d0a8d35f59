#include "plugin/entry_points_win32.h"

#include "plugin/lifecycle_win32.h"

namespace zv::win {

bool StartUp(const char* version) noexcept {
  return State().lifecycle.StartUp(version);
}

void CleanUp() noexcept {
  State().lifecycle.CleanUp();
}

int32_t SendPost(HWND composition) noexcept {
  return State().lifecycle.SendPost(ToHostWindow(composition)) ? kHostTrue : kHostFalse;
}

int32_t Setup() noexcept {
  return State().lifecycle.Setup();
}

void VersionInfo(HWND owner) noexcept {
  State().lifecycle.VersionInfo(ToHostWindow(owner));
}

void FolderCreate() noexcept {
  State().lifecycle.FolderCreate();
}

void ViewClose() noexcept {
  State().lifecycle.ViewClose();
}

void ViewLoadMail(const char* header, const char* body) noexcept {
  State().lifecycle.ViewLoadMail(header, body);
}

}  // namespace zv::win
