// The substitute Mailora32: scripted answers of the host functions the plug-in calls, a record
// of those calls, and a loader for the plug-in DLL.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace mailora {

struct SetHeaderCall {
  HWND window;
  std::string header;
};

struct HostScript {
  std::string mailbox = "C:\\Mailora\\Mailbox\\";  // _APAGetMailbox@0
  std::string account;                             // _APAGetAccount@4, for every window
  std::map<HWND, std::string> headers;             // _APASendGetHeader@4
  std::map<HWND, HWND> editors;                    // _APASendGetEditor@4
  std::vector<SetHeaderCall> setHeaderCalls;       // every _APASendSetHeader@8
  std::vector<std::string> calls;                  // names of the host functions called
};

// The one script of this process; Reset() restores the defaults.
HostScript& Script();
void ResetScript();

// Signatures of the nine entry points.
using GetPlugNameFn = const char*(__stdcall*)();
using VersionInfoFn = void(__stdcall*)(HWND);
using StartUpFn = int32_t(__stdcall*)(const char*);
using CleanUpFn = void(__stdcall*)();
using SetupFn = int32_t(__stdcall*)(int32_t);
using FolderCreateFn = void(__stdcall*)(int32_t);
using ViewCloseFn = void(__stdcall*)(int32_t);
using ViewLoadMailFn = void(__stdcall*)(int32_t, const char*, const char*);
using SendPostFn = int32_t(__stdcall*)(HWND, int32_t);

inline constexpr const char* kEntryPoints[9] = {
    "APCGetPlugName",  "APCVersionInfo", "APCStartUp",      "APCCleanUp", "APCSetup",
    "APCFolderCreate", "APCViewClose",   "APCViewLoadMail", "APCSendPost"};

// A procedure address as the function type it really has.
template <typename Fn>
Fn As(FARPROC p) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(p));
}

// Zorvek32.dll, loaded from this executable's folder and unloaded with the object.
class Plugin {
 public:
  Plugin();
  ~Plugin();
  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;

  bool loaded() const { return module_ != nullptr; }
  HMODULE module() const { return module_; }
  FARPROC ByName(const char* name) const;
  FARPROC ByOrdinal(unsigned ordinal) const;

  GetPlugNameFn GetPlugName() const { return As<GetPlugNameFn>(ByName(kEntryPoints[0])); }
  VersionInfoFn VersionInfo() const { return As<VersionInfoFn>(ByName(kEntryPoints[1])); }
  StartUpFn StartUp() const { return As<StartUpFn>(ByName(kEntryPoints[2])); }
  CleanUpFn CleanUp() const { return As<CleanUpFn>(ByName(kEntryPoints[3])); }
  SetupFn Setup() const { return As<SetupFn>(ByName(kEntryPoints[4])); }
  FolderCreateFn FolderCreate() const { return As<FolderCreateFn>(ByName(kEntryPoints[5])); }
  ViewCloseFn ViewClose() const { return As<ViewCloseFn>(ByName(kEntryPoints[6])); }
  ViewLoadMailFn ViewLoadMail() const { return As<ViewLoadMailFn>(ByName(kEntryPoints[7])); }
  SendPostFn SendPost() const { return As<SendPostFn>(ByName(kEntryPoints[8])); }

 private:
  HMODULE module_ = nullptr;
};

// The folder of this executable, ending with a backslash.
std::string ExeFolder();

}  // namespace mailora
