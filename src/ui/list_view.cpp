#include "ui/list_view.h"

#include <algorithm>

namespace zv::ui {

size_t FillColumn(std::span<const ColumnDescription> columns) {
  for (size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].fill) return i;
  }
  return columns.empty() ? 0 : columns.size() - 1;
}

std::vector<int> FitColumns(std::span<const ColumnDescription> columns,
                            std::span<const int> content, int width, int minFill) {
  std::vector<int> widths(columns.size(), 0);
  if (columns.empty()) return widths;
  const size_t fill = FillColumn(columns);
  long long others = 0;
  for (size_t i = 0; i < columns.size(); ++i) {
    if (i != fill && i < content.size()) others += std::max(content[i], 0);
  }
  const int room = std::max(width - minFill, 0);
  int used = 0;
  for (size_t i = 0; i < columns.size(); ++i) {
    if (i == fill || i >= content.size()) continue;
    const int c = std::max(content[i], 0);
    // 64-bit products: a content width times the room can pass what an int holds.
    widths[i] = others <= room ? c : static_cast<int>(c * static_cast<long long>(room) / others);
    used += widths[i];
  }
  widths[fill] = width - used;
  return widths;
}

}  // namespace zv::ui
