// A form description: the data a form is built from. It names the form's controls (role, then
// kind: Edit1, OKButton, PatternListBox), their captions, bounds, docking, tab order, options and
// the names of their event handlers; the form reads it when it is created.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/dock_layout.h"
#include "ui/geometry.h"

namespace zv::ui {

enum class ControlKind {
  kPanel,
  kPageControl,  // tabbed page control; its children are tab sheets
  kTabSheet,
  kLabel,
  kButton,
  kEdit,
  kMemo,
  kListBox,
  kCheckBox,
  kRadioButton,
  kAlignableCheckBox,     // TAlignableCheckBox: a check box that takes part in docking
  kAlignableRadioButton,  // TAlignableRadioButton
  kSplitter,
  kImage,
  kBevel,
  kListView,  // report-style list with a check box on each row and captioned columns
};

enum class BorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

// Only the two sizeable styles let the user resize a form, and only they store a size.
constexpr bool IsSizeable(BorderStyle s) {
  return s == BorderStyle::bsSizeable || s == BorderStyle::bsSizeToolWin;
}

// Title-bar buttons.
inline constexpr uint32_t kBiSystemMenu = 1;
inline constexpr uint32_t kBiMinimize = 2;
inline constexpr uint32_t kBiMaximize = 4;

enum class FormPosition { poDesigned, poScreenCenter };

// Control options (bits of ControlDescription::options).
inline constexpr uint32_t kReadOnly = 1u << 0;
inline constexpr uint32_t kNoBorder = 1u << 1;
inline constexpr uint32_t kParentColor = 1u << 2;  // drawn in the parent's background colour
inline constexpr uint32_t kDefault = 1u << 3;      // default button: Enter
inline constexpr uint32_t kCancel = 1u << 4;       // cancel button: Esc
inline constexpr uint32_t kVScroll = 1u << 5;
inline constexpr uint32_t kHScroll = 1u << 6;
inline constexpr uint32_t kWordWrap = 1u << 7;
inline constexpr uint32_t kRightJustify = 1u << 8;
inline constexpr uint32_t kAutoSize = 1u << 9;        // labels and images take their content's size
inline constexpr uint32_t kBottomLine = 1u << 10;     // bevel drawn as a lowered bottom line only
inline constexpr uint32_t kMultiLineTabs = 1u << 11;  // tabs wrap into rows
inline constexpr uint32_t kChecked = 1u << 12;
inline constexpr uint32_t kDisabled = 1u << 13;
inline constexpr uint32_t kHidden = 1u << 14;
inline constexpr uint32_t kDigitsOnly = 1u << 15;  // edits: only the digits 0-9 can be typed

inline constexpr int kModalOk = 1;
inline constexpr int kModalCancel = 2;

// A colour as 0x00BBGGRR.
using Color = uint32_t;

struct FontDescription {
  std::string_view face;  // code page 932
  int height = 0;         // character height in pixels
  int charset = 0;
  friend bool operator==(const FontDescription&, const FontDescription&) = default;
};

// The one font of every form: "ＭＳ Ｐゴシック", 12 pixels, Shift-JIS character set.
inline constexpr FontDescription kFormFont = {"ＭＳ Ｐゴシック", 12, 128};

// A column of a list view.
struct ColumnDescription {
  std::string_view caption{};
  bool fill = false;  // takes the width the other columns leave; else the last column does
};

struct ControlDescription {
  std::string_view name{};
  ControlKind kind = ControlKind::kPanel;
  std::string_view parent{};  // empty: the form itself
  std::string_view caption{};
  Rect bounds{};
  // Docking. The alignable check box and radio button always carry it; the plain ones cannot.
  std::optional<TAlign> align{};
  int tabOrder = -1;  // place among the siblings' tab stops; -1: not a tab stop
  uint32_t options = 0;
  int modalResult = 0;  // buttons: the form's modal result when pressed
  int maxLength = 0;    // edits: the most characters the user may type; 0 for no limit
  std::span<const ColumnDescription> columns{};  // list views
  std::optional<Color> color{};
  std::optional<Color> fontColor{};
  std::string_view onClick{};   // handler name, such as "OKButtonClick" or "CheckClick"
  std::string_view onChange{};  // handler name, such as "MemoChange"
};

struct FormDescription {
  std::string_view name{};       // "InputForm"
  std::string_view className{};  // "TInputForm", also the window class
  std::string_view caption{};
  Size size{};                       // outer window size
  std::optional<Size> clientSize{};  // when given, replaces `size` by the inner size
  BorderStyle borderStyle = BorderStyle::bsSizeable;
  uint32_t borderIcons = kBiSystemMenu | kBiMinimize | kBiMaximize;
  FormPosition position = FormPosition::poDesigned;
  Point origin{};  // designed screen position under poDesigned
  FontDescription font{};
  std::optional<Color> color{};
  std::string_view onCreate{}, onShow{}, onClose{}, onDestroy{}, onResize{};
  std::span<const ControlDescription> controls{};
};

const ControlDescription* FindControl(const FormDescription& form, std::string_view name);
std::optional<size_t> ControlIndex(const FormDescription& form, std::string_view name);

// The window id a control gets: stable, derived from its place in the description.
constexpr int ControlId(size_t index) {
  return 1000 + static_cast<int>(index);
}

bool IsContainer(ControlKind kind);
// Kinds whose docking a description may set.
bool CanDock(ControlKind kind);
// Kinds that always carry their docking in a description (it has no default).
bool MustDock(ControlKind kind);

// Every rule a form relies on when it reads a description; empty when the description is sound.
std::vector<std::string> CheckFormDescription(const FormDescription& form);

}  // namespace zv::ui
