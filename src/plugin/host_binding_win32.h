// Binding the host executable's functions at start-up, the registry record written with it, and
// typed calls to the few host functions the plug-in uses.
#pragma once

#include <windows.h>

#include <string>

#include "win/handles_win32.h"
#include "plugin/host_table.h"

namespace zv::win {

// The file name of the host executable whose module is bound.
inline constexpr char kHostModuleName[] = "Mailora.exe";
// The plug-in's record under HKEY_CURRENT_USER.
inline constexpr char kPluginRecordKey[] = "Software\\Tessaly Lab\\Zorvek32";

// One reference to the host's module and its resolved functions.
struct HostBinding {
  UniqueModule module;
  HostTable table;
};

// Writes Version, CopyrightYear and Filename under kPluginRecordKey, in that order. False when
// the key could not be opened or created (nothing is written then).
bool WritePluginRecord();

// Writes the registry record, then takes the host module, but only when a module named
// Mailora.exe is already loaded in this process (never searching the disk for one), and resolves
// all 26 host functions. False when the module is not loaded or any name is missing; the
// binding then holds nothing.
bool BindHost(HostBinding& binding);

// Releases the module reference and forgets the table.
void UnbindHost(HostBinding& binding);

// Typed calls through a table. Strings the host returns are copied at once; a null answer or a
// function missing from the table gives an empty string or a null handle.
class HostCalls {
 public:
  explicit HostCalls(const HostTable& table) : table_(&table) {}

  std::string GetMailbox() const;
  std::string GetAccount(HWND composition) const;
  std::string SendGetHeader(HWND composition) const;
  // `header` must stay unchanged during the call; the host copies it.
  void SendSetHeader(HWND composition, const std::string& header) const;
  HWND SendGetEditor(HWND composition) const;  // borrowed: the host's window

 private:
  const HostTable* table_;
};

}  // namespace zv::win
