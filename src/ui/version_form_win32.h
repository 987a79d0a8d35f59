// TVersionForm and the About box.
#pragma once

#include <windows.h>

#include <string_view>

#include "ui/forms_win32.h"
#include "ui/version_form.h"

namespace zv::win {

class TVersionForm final : public TForm {
 public:
  TVersionForm();
  TImage& Image1() const { return *image1_; }
  TButton& OKButton() const { return *okButton_; }
  void SetVersionTexts(std::string_view purpose, std::string_view name, std::string_view version,
                       std::string_view years);

 private:
  TImage* image1_ = nullptr;
  TButton* okButton_ = nullptr;
};

// Shows the About box modally, centred on `window` (borrowed; may be null), and destroys it when
// it closes. Needs no start-up.
void ShowAboutBox(HWND window) noexcept;

}  // namespace zv::win
