// TInputForm and ShowInputBox: a small modal dialog that asks for one line of text.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "ui/forms_win32.h"
#include "ui/input_form.h"

namespace zv::win {

class TInputForm final : public TForm {
 public:
  TInputForm();
  TMemo& Memo1() const { return *memo1_; }
  TEdit& Edit1() const { return *edit1_; }
  TButton& Button1() const { return *button1_; }
  TButton& Button2() const { return *button2_; }

  // Sizes the box to the prompt (steps 4 to 14 of building it).
  void FitToPrompt(std::string_view prompt);
  ui::InputGeometry Geometry() const;

 private:
  void FormResize();
  void Apply(const ui::InputGeometry& g);
  ui::Size MeasureLine(std::string_view line) const;

  TMemo* memo1_ = nullptr;
  TEdit* edit1_ = nullptr;
  TButton* button1_ = nullptr;
  TButton* button2_ = nullptr;
};

// Asks for one line of text. `icon` (borrowed) becomes the box's icon; `text` is shown first
// and receives the entered text on OK. True exactly when the box was closed with OK.
bool ShowInputBox(HICON icon, std::string_view prompt, std::string& text,
                  std::string_view title) noexcept;

}  // namespace zv::win
