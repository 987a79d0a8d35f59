#include "ui/version_form_win32.h"

#include <stdexcept>

#include "text/constants.h"
#include "ui/common_form_win32.h"

namespace zv::win {

TVersionForm::TVersionForm() : TForm(ui::kVersionFormDescription) {
  Load({});
  image1_ = Find<TImage>("Image1");
  okButton_ = Find<TButton>("OKButton");
  if (!image1_ || !okButton_) throw std::runtime_error("version form");
}

void TVersionForm::SetVersionTexts(std::string_view purpose, std::string_view name,
                                   std::string_view version, std::string_view years) {
  const ui::VersionTexts t = ui::SetVersionTexts(purpose, name, version, years);
  SetCaption(t.caption);
  Find<TLabel>("TextLabel")->SetCaption(t.text);
  Find<TLabel>("VersionLabel")->SetCaption(t.version);
  Find<TLabel>("CopyrightLabel1")->SetCaption(t.copyright1);
  Find<TLabel>("CopyrightLabel2")->SetCaption(t.copyright2);
}

void ShowAboutBox(HWND window) noexcept {
  try {
    TVersionForm form;
    {
      TCommonForm common;
      form.Image1().SetIcon(common.PluginIcon());
    }
    form.CenterOnWindow(window);
    form.SetVersionTexts(ui::kVersionPurpose, kPlugName, kVersionText, kYearRange);
    form.ShowModal();
  } catch (...) {
    // The host gets no error from the About box.
  }
}

}  // namespace zv::win
