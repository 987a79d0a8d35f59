#include "ui/input_form_win32.h"

#include <stdexcept>
#include <vector>

#include "text/lines.h"

namespace zv::ui::win {

TInputForm::TInputForm() : TForm(kInputFormDescription) {
  Load({{"FormResize", [this] { FormResize(); }}});
  memo1_ = Find<TMemo>("Memo1");
  edit1_ = Find<TEdit>("Edit1");
  button1_ = Find<TButton>("Button1");
  button2_ = Find<TButton>("Button2");
  if (!memo1_ || !edit1_ || !button1_ || !button2_) throw std::runtime_error("input form");
}

InputGeometry TInputForm::Geometry() const {
  return InputGeometry{memo1_->Bounds(), edit1_->Bounds(), button1_->Bounds(), button2_->Bounds(),
                       ClientSize()};
}

void TInputForm::Apply(const InputGeometry& g) {
  memo1_->SetBounds(g.memo);
  edit1_->SetBounds(g.edit);
  button1_->SetBounds(g.button1);
  button2_->SetBounds(g.button2);
}

void TInputForm::FormResize() {
  if (!memo1_) return;  // still loading
  InputGeometry g = Geometry();
  ApplyInputResizeRule(g);
  Apply(g);
}

Size TInputForm::MeasureLine(std::string_view line) const {
  WindowDc screen(nullptr);
  SelectScope font(screen.get(), Font());
  const std::wstring text = Wide(line);
  SIZE extent{};
  ::GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &extent);
  if (extent.cy == 0) {  // an empty line still has a line's height
    TEXTMETRICW tm{};
    ::GetTextMetricsW(screen.get(), &tm);
    extent.cy = tm.tmHeight;
  }
  return Size{extent.cx, extent.cy};
}

void TInputForm::FitToPrompt(std::string_view prompt) {
  const InputGeometry g =
      FitInputBox(Geometry(), prompt, [this](std::string_view line) { return MeasureLine(line); });
  Apply(g);
  SetClientSize(g.client);
}

}  // namespace zv::ui::win

namespace zv::ui {

bool ShowInputBox(HICON icon, std::string_view prompt, std::string& text,
                  std::string_view title) noexcept {
  try {
    win::TInputForm form;
    form.SetIcon(icon);
    form.SetCaption(InputCaption(title));
    // The memo breaks lines only at CR LF, so every kind of break is shown as one.
    std::vector<std::string_view> lines = SplitLines(prompt);
    std::string shown;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (i) shown += kCrLf;
      shown += lines[i];
    }
    form.Memo1().SetText(shown);
    form.Edit1().SetText(text);
    form.FitToPrompt(prompt);
    if (form.ShowModal() != kModalOk) return false;
    text = form.Edit1().Text();
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace zv::ui
