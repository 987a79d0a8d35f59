#include "ui/common_form_win32.h"

#include "ui/common_form.h"
#include "ui/resource_ids.h"

namespace zv::win {

TCommonForm::TCommonForm() : TForm(ui::kCommonFormDescription) {
  Load({});
  icon_.reset(static_cast<HICON>(
      ::LoadImageW(ThisModule(), MAKEINTRESOURCEW(ZV_IDI_PLUGIN), IMAGE_ICON, 32, 32, 0)));
  if (icon_) SetIcon(icon_.get());
}

}  // namespace zv::win
