#include "plugin/host_binding_win32.h"

#include "text/constants.h"

namespace zv::win {

namespace {

using GetMailboxFn = const char*(WINAPI*)();
using GetAccountFn = const char*(WINAPI*)(HWND);
using SendGetHeaderFn = const char*(WINAPI*)(HWND);
using SendSetHeaderFn = void(WINAPI*)(HWND, const char*);
using SendGetEditorFn = HWND(WINAPI*)(HWND);

template <typename Fn>
Fn Entry(const HostTable& table, HostFn fn) {
  return reinterpret_cast<Fn>(table[fn]);
}

std::string Copy(const char* s) {
  return s ? std::string(s) : std::string();
}

bool SetString(HKEY key, const char* name, std::string_view value) {
  const std::string data(value);
  return ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
}

}  // namespace

bool WritePluginRecord() {
  HKEY raw = nullptr;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, kPluginRecordKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &raw, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const UniqueKey key(raw);
  SetString(key.get(), "Version", kVersionText);
  SetString(key.get(), "CopyrightYear", kYearRange);
  SetString(key.get(), "Filename", kPlugName);
  return true;
}

bool BindHost(HostBinding& binding) {
  UnbindHost(binding);
  WritePluginRecord();
  // Only a module already in the process: loading by file name would search the disk and could
  // load a planted executable. Without GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT the call
  // takes a reference, which is held until clean-up.
  HMODULE raw = nullptr;
  if (!::GetModuleHandleExA(0, kHostModuleName, &raw) || !raw) return false;
  binding.module.reset(raw);
  const bool all = ResolveHostTable(binding.table, [&](const char* name) {
    return reinterpret_cast<void*>(::GetProcAddress(raw, name));
  });
  if (!all) UnbindHost(binding);
  return all;
}

void UnbindHost(HostBinding& binding) {
  binding.table = HostTable{};
  binding.module.reset();
}

std::string HostCalls::GetMailbox() const {
  const auto fn = Entry<GetMailboxFn>(*table_, HostFn::kGetMailbox);
  return fn ? Copy(fn()) : std::string();
}

std::string HostCalls::GetAccount(HWND composition) const {
  const auto fn = Entry<GetAccountFn>(*table_, HostFn::kGetAccount);
  return fn ? Copy(fn(composition)) : std::string();
}

std::string HostCalls::SendGetHeader(HWND composition) const {
  const auto fn = Entry<SendGetHeaderFn>(*table_, HostFn::kSendGetHeader);
  return fn ? Copy(fn(composition)) : std::string();
}

void HostCalls::SendSetHeader(HWND composition, const std::string& header) const {
  const auto fn = Entry<SendSetHeaderFn>(*table_, HostFn::kSendSetHeader);
  if (fn) fn(composition, header.c_str());
}

HWND HostCalls::SendGetEditor(HWND composition) const {
  const auto fn = Entry<SendGetEditorFn>(*table_, HostFn::kSendGetEditor);
  return fn ? fn(composition) : nullptr;
}

}  // namespace zv::win
