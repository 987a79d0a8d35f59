// The input box (form InputForm, module uInput): its form description and the geometry that
// sizes it to its prompt. The window shell is input_form_win32.
#pragma once

#include <functional>
#include <string_view>

#include "ui/form_description.h"
#include "ui/geometry.h"

namespace zv::ui {

extern const FormDescription kInputFormDescription;

// Bounds of the four controls and the client size of the box.
struct InputGeometry {
  Rect memo;     // Memo1, the prompt
  Rect edit;     // Edit1
  Rect button1;  // OK
  Rect button2;  // Cancel
  Size client;
};

// The designed bounds, taken from the description; `client` is the designed window's client size.
InputGeometry DesignedInputGeometry(Size client);

// Pixel extent of one prompt line in the box's font.
using MeasureLine = std::function<Size(std::string_view line)>;

// Sizes the box to `prompt` (lines split at CR LF, lone CR or lone LF; at least one line). The
// resize rule runs whenever the client size changes, as it does for the real window. A prompt
// without any line leaves the designed geometry.
InputGeometry FitInputBox(InputGeometry g, std::string_view prompt, const MeasureLine& measure);

// FormResize: the edit box follows the client width, the buttons stay centred 5 pixels apart.
void ApplyInputResizeRule(InputGeometry& g);

// The title as the caption shows it: two blanks first.
std::string InputCaption(std::string_view title);

}  // namespace zv::ui
