#include "ui/common_form_win32.h"

#include "ui/common_form.h"
#include "ui/resource_ids.h"

namespace zv::win {

UniqueIcon LoadPluginIcon() {
  return UniqueIcon(static_cast<HICON>(
      ::LoadImageW(ThisModule(), MAKEINTRESOURCEW(ZV_IDI_PLUGIN), IMAGE_ICON, 32, 32, 0)));
}

TCommonForm::TCommonForm() : TForm(ui::kCommonFormDescription), icon_(LoadPluginIcon()) {
  Load({});
  if (icon_) SetIcon(icon_.get());
}

}  // namespace zv::win
