#include "win/gdi_win32.h"

#include <commctrl.h>

namespace zv::win {

HMODULE ThisModule() {
  HMODULE module = nullptr;
  ::GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;  // borrowed: the module holds this code
}

ActivationScope::ActivationScope() {
  ACTCTXW actctx{};
  actctx.cbSize = sizeof actctx;
  actctx.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
  actctx.hModule = ThisModule();
  actctx.lpResourceName = MAKEINTRESOURCEW(2);
  context_.reset(::CreateActCtxW(&actctx));
  if (context_ && !::ActivateActCtx(context_.get(), &cookie_)) cookie_ = 0;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&icc);
}

ActivationScope::~ActivationScope() {
  if (cookie_) ::DeactivateActCtx(0, cookie_);
}

}  // namespace zv::win
