#include "ui/input_form_win32.h"

#include <stdexcept>
#include <vector>

#include "text/lines.h"

namespace zv::win {

TInputForm::TInputForm() : TForm(ui::kInputFormDescription) {
  Load({{"FormResize", [this] { FormResize(); }}});
  memo1_ = Find<TMemo>("Memo1");
  edit1_ = Find<TEdit>("Edit1");
  button1_ = Find<TButton>("Button1");
  button2_ = Find<TButton>("Button2");
  if (!memo1_ || !edit1_ || !button1_ || !button2_) throw std::runtime_error("input form");
}

ui::InputGeometry TInputForm::Geometry() const {
  return ui::InputGeometry{memo1_->Bounds(), edit1_->Bounds(), button1_->Bounds(),
                           button2_->Bounds(), ClientSize()};
}

void TInputForm::Apply(const ui::InputGeometry& g) {
  memo1_->SetBounds(g.memo);
  edit1_->SetBounds(g.edit);
  button1_->SetBounds(g.button1);
  button2_->SetBounds(g.button2);
}

void TInputForm::FormResize() {
  if (!memo1_) return;  // still loading
  ui::InputGeometry g = Geometry();
  ui::ApplyInputResizeRule(g);
  Apply(g);
}

ui::Size TInputForm::MeasureLine(std::string_view line) const {
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
  return ui::Size{extent.cx, extent.cy};
}

void TInputForm::FitToPrompt(std::string_view prompt) {
  const ui::InputGeometry g = ui::FitInputBox(
      Geometry(), prompt, [this](std::string_view line) { return MeasureLine(line); });
  Apply(g);
  SetClientSize(g.client);
}

bool ShowInputBox(HICON icon, std::string_view prompt, std::string& text,
                  std::string_view title) noexcept {
  try {
    TInputForm form;
    form.SetIcon(icon);
    form.SetCaption(ui::InputCaption(title));
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
    if (form.ShowModal() != ui::kModalOk) return false;
    text = form.Edit1().Text();
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace zv::win
