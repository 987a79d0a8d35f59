#include "ui/input_form.h"

#include <algorithm>
#include <string>

#include "text/lines.h"

namespace zv::ui {

namespace {

constexpr ControlDescription kInputControls[] = {
    {.name = "Memo1",
     .kind = ControlKind::kMemo,
     .bounds = {4, 4, 61, 25},
     .options = kReadOnly | kNoBorder | kParentColor},
    {.name = "Edit1", .kind = ControlKind::kEdit, .bounds = {3, 35, 158, 20}, .tabOrder = 0},
    {.name = "Button1",
     .kind = ControlKind::kButton,
     .caption = "OK",
     .bounds = {3, 58, 78, 27},
     .tabOrder = 1,
     .options = kDefault,
     .modalResult = kModalOk},
    {.name = "Button2",
     .kind = ControlKind::kButton,
     .caption = "キャンセル",
     .bounds = {83, 58, 78, 27},
     .tabOrder = 2,
     .options = kCancel,
     .modalResult = kModalCancel},
};

}  // namespace

const FormDescription kInputFormDescription = {
    .name = "InputForm",
    .className = "TInputForm",
    .size = {213, 138},
    .borderStyle = BorderStyle::bsSizeable,
    .borderIcons = kBiSystemMenu,
    .position = FormPosition::poScreenCenter,
    .font = kFormFont,
    .onResize = "FormResize",
    .controls = kInputControls,
};

InputGeometry DesignedInputGeometry(Size client) {
  const FormDescription& d = kInputFormDescription;
  return InputGeometry{FindControl(d, "Memo1")->bounds, FindControl(d, "Edit1")->bounds,
                       FindControl(d, "Button1")->bounds, FindControl(d, "Button2")->bounds,
                       client};
}

void ApplyInputResizeRule(InputGeometry& g) {
  g.edit.width = g.client.width - 2 * g.edit.left;
  g.button1.left = (g.client.width - 2 * g.button1.width - 5) / 2;
  g.button2.left = g.button1.left + g.button1.width + 5;
}

namespace {

void SetClientWidth(InputGeometry& g, int width) {
  if (g.client.width == width) return;
  g.client.width = width;
  ApplyInputResizeRule(g);
}

void SetClientHeight(InputGeometry& g, int height) {
  if (g.client.height == height) return;
  g.client.height = height;
  ApplyInputResizeRule(g);
}

}  // namespace

InputGeometry FitInputBox(InputGeometry g, std::string_view prompt, const MeasureLine& measure) {
  int n = 0;
  int w = 0;
  int h = 0;
  ForEachLine(prompt, [&](std::string_view line) {
    const Size extent = measure(line);
    if (n == 0) h = extent.height;
    w = std::max(w, extent.width);
    ++n;
  });
  if (n == 0) return g;

  g.memo.width = w + 4;
  SetClientWidth(g,
                 std::max(2 * g.memo.left + g.memo.width, g.button1.width + g.button2.width + 4));
  g.edit.width = g.client.width - 2 * g.edit.left;
  g.button1.left = g.client.width / 2 - 2 - g.button1.width;
  g.button2.left = g.client.width / 2 + 2;
  g.memo.left = (g.client.width - g.memo.width) / 2;
  g.memo.height = h * (n + 1);
  g.edit.top = g.memo.top + g.memo.height - h + 6;
  g.button1.top = g.edit.top + g.edit.height + 6;
  g.button2.top = g.button1.top;
  SetClientHeight(g, g.button1.top + g.button1.height + 6);
  return g;
}

std::string InputCaption(std::string_view title) {
  std::string caption("  ");
  caption.append(title);
  return caption;
}

}  // namespace zv::ui
