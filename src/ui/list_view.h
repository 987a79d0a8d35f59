// How a list view's columns share its width. The shell list_view_win32 measures and applies it.
#pragma once

#include <span>
#include <vector>

#include "ui/form_description.h"

namespace zv::ui {

// Alert rows are drawn in clRed.
inline constexpr Color kAlertColor = 0x0000FF;
// The filling column keeps at least this many pixels while the others shrink.
inline constexpr int kMinFillWidth = 80;

// The column that takes what the others leave: the first marked `fill`, else the last.
size_t FillColumn(std::span<const ColumnDescription> columns);

// Column widths that add up to `width` exactly. Every column but the filling one gets its
// content's width (`content`, one per column); the filling one gets the rest, but at least
// `minFill`; when that does not fit, the others shrink in proportion to their content. A width
// below `minFill` goes to the filling column alone.
std::vector<int> FitColumns(std::span<const ColumnDescription> columns,
                            std::span<const int> content, int width, int minFill);

}  // namespace zv::ui
