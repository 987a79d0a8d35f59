// The host functions the plug-in binds by name at start-up. All 26 must resolve, although only
// a few are ever called.
#pragma once

#include <array>
#include <cstddef>
#include <functional>

namespace zv {

// Index of each host function in the table, in the host's order.
enum class HostFn : size_t {
  kExecMailora,
  kRegistCallback,
  kGetMailbox,
  kGetAccount,
  kGetFolderName,
  kImportFile,
  kMoveMail,
  kMarkMail,
  kDeleteMail,
  kFolderGetCurrentFolder,
  kFolderGetCurrentEntry,
  kFolderGetSelectEntry,
  kFolderReply,
  kFolderOpenMail,
  kSendGetText,
  kSendGetHeader,
  kSendSetText,
  kSendSetHeader,
  kSendGetEditor,
  kViewGetText,
  kViewGetHeader,
  kViewSetText,
  kViewGetPath,
  kViewGetEditor,
  kViewChangeMail,
  kJisToSjis,
};
inline constexpr size_t kHostFunctionCount = 26;

// The exported names, decorated as the host exports them: "_" + name + "@" + argument bytes.
inline constexpr std::array<const char*, kHostFunctionCount> kHostFunctionNames = {
    "_APAExecMailora@4",
    "_APARegistCallback@8",
    "_APAGetMailbox@0",
    "_APAGetAccount@4",
    "_APAGetFolderName@4",
    "_APAImportFile@12",
    "_APAMoveMail@8",
    "_APAMarkMail@12",
    "_APADeleteMail@4",
    "_APAFolderGetCurrentFolder@4",
    "_APAFolderGetCurrentEntry@4",
    "_APAFolderGetSelectEntry@8",
    "_APAFolderReply@8",
    "_APAFolderOpenMail@12",
    "_APASendGetText@8",
    "_APASendGetHeader@4",
    "_APASendSetText@8",
    "_APASendSetHeader@8",
    "_APASendGetEditor@4",
    "_APAViewGetText@4",
    "_APAViewGetHeader@4",
    "_APAViewSetText@8",
    "_APAViewGetPath@4",
    "_APAViewGetEditor@4",
    "_APAViewChangeMail@8",
    "_APAJisToSjis@12",
};

// The resolved entry addresses; null until resolved.
struct HostTable {
  std::array<void*, kHostFunctionCount> entries{};

  void* operator[](HostFn fn) const { return entries[static_cast<size_t>(fn)]; }
  void*& operator[](HostFn fn) { return entries[static_cast<size_t>(fn)]; }
};

// Looks every name up with `resolve`, in the table's order, storing each answer even after an
// earlier miss. True only when every entry resolved.
bool ResolveHostTable(HostTable& table, const std::function<void*(const char* name)>& resolve);

}  // namespace zv
