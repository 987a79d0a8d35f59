#include "host.h"

namespace mailora {

HostScript& Script() {
  static HostScript script;
  return script;
}

void ResetScript() {
  Script() = HostScript{};
}

std::string ExeFolder() {
  char path[MAX_PATH * 2] = {};
  const DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof path - 1);
  std::string s(path, n);
  return s.substr(0, s.find_last_of("\\/") + 1);
}

Plugin::Plugin() {
  const std::string path = ExeFolder() + "Zorvek32.dll";
  module_ = ::LoadLibraryA(path.c_str());
}

Plugin::~Plugin() {
  if (module_) ::FreeLibrary(module_);
}

FARPROC Plugin::ByName(const char* name) const {
  return module_ ? ::GetProcAddress(module_, name) : nullptr;
}

FARPROC Plugin::ByOrdinal(unsigned ordinal) const {
  return module_ ? ::GetProcAddress(module_, MAKEINTRESOURCEA(ordinal)) : nullptr;
}

}  // namespace mailora

// The host functions, exported under the host's decorated names by the module definition.
namespace {

using mailora::Script;

const char* Lookup(const std::map<HWND, std::string>& m, HWND w) {
  auto it = m.find(w);
  return it == m.end() ? "" : it->second.c_str();
}

}  // namespace

extern "C" {

const char* __stdcall Host_GetMailbox() {
  Script().calls.push_back("_APAGetMailbox@0");
  return Script().mailbox.c_str();
}

const char* __stdcall Host_GetAccount(HWND) {
  Script().calls.push_back("_APAGetAccount@4");
  return Script().account.c_str();
}

const char* __stdcall Host_SendGetHeader(HWND w) {
  Script().calls.push_back("_APASendGetHeader@4");
  return Lookup(Script().headers, w);
}

void __stdcall Host_SendSetHeader(HWND w, const char* header) {
  Script().calls.push_back("_APASendSetHeader@8");
  Script().setHeaderCalls.push_back({w, header ? header : ""});
  if (header) Script().headers[w] = header;
}

HWND __stdcall Host_SendGetEditor(HWND w) {
  Script().calls.push_back("_APASendGetEditor@4");
  auto it = Script().editors.find(w);
  return it == Script().editors.end() ? nullptr : it->second;
}

// The plug-in never calls the rest; they only have to exist.
intptr_t __stdcall Host_ExecMailora(intptr_t) {
  return 0;
}
intptr_t __stdcall Host_RegistCallback(intptr_t, intptr_t) {
  return 0;
}
intptr_t __stdcall Host_GetFolderName(intptr_t) {
  return 0;
}
intptr_t __stdcall Host_ImportFile(intptr_t, intptr_t, intptr_t) {
  return 0;
}
intptr_t __stdcall Host_MoveMail(intptr_t, intptr_t) {
  return 0;
}
intptr_t __stdcall Host_MarkMail(intptr_t, intptr_t, intptr_t) {
  return 0;
}
intptr_t __stdcall Host_DeleteMail(intptr_t) {
  return 0;
}
intptr_t __stdcall Host_FolderGetCurrentFolder(intptr_t) {
  return 0;
}
intptr_t __stdcall Host_FolderGetCurrentEntry(intptr_t) {
  return 0;
}
intptr_t __stdcall Host_FolderGetSelectEntry(intptr_t, intptr_t) {
  return 0;
}
intptr_t __stdcall Host_FolderReply(intptr_t, intptr_t) {
  return 0;
}
intptr_t __stdcall Host_FolderOpenMail(intptr_t, intptr_t, intptr_t) {
  return 0;
}
intptr_t __stdcall Host_SendGetText(intptr_t, intptr_t) {
  return 0;
}
intptr_t __stdcall Host_SendSetText(intptr_t, intptr_t) {
  return 0;
}
intptr_t __stdcall Host_ViewGetText(intptr_t) {
  return 0;
}
intptr_t __stdcall Host_ViewGetHeader(intptr_t) {
  return 0;
}
intptr_t __stdcall Host_ViewSetText(intptr_t, intptr_t) {
  return 0;
}
intptr_t __stdcall Host_ViewGetPath(intptr_t) {
  return 0;
}
intptr_t __stdcall Host_ViewGetEditor(intptr_t) {
  return 0;
}
intptr_t __stdcall Host_ViewChangeMail(intptr_t, intptr_t) {
  return 0;
}
intptr_t __stdcall Host_JisToSjis(intptr_t, intptr_t, intptr_t) {
  return 0;
}

}  // extern "C"
