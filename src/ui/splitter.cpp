#include "ui/splitter.h"

namespace zv::ui {

namespace {

bool Horizontal(TAlign a) {
  return a == alLeft || a == alRight;
}

}  // namespace

std::optional<size_t> SplitterTarget(std::span<const DockChild> siblings, size_t splitter) {
  const DockChild& s = siblings[splitter];
  for (size_t i = 0; i < siblings.size(); ++i) {
    const DockChild& c = siblings[i];
    if (i == splitter || !c.visible || c.align != s.align) continue;
    bool touches = false;
    switch (s.align) {
      case alLeft:
        touches = c.bounds.right() == s.bounds.left;
        break;
      case alRight:
        touches = c.bounds.left == s.bounds.right();
        break;
      case alTop:
        touches = c.bounds.bottom() == s.bounds.top;
        break;
      case alBottom:
        touches = c.bounds.top == s.bounds.bottom();
        break;
      default:
        break;
    }
    if (touches) return i;
  }
  return std::nullopt;
}

SplitRange SplitterRange(std::span<const DockChild> siblings, size_t splitter, size_t target,
                         int containerExtent) {
  const bool horizontal = Horizontal(siblings[splitter].align);
  int max = containerExtent - kMinSplitSize;
  for (const DockChild& c : siblings) {
    if (!c.visible) continue;
    if (horizontal && (c.align == alLeft || c.align == alRight)) max -= c.bounds.width;
    if (!horizontal && (c.align == alTop || c.align == alBottom)) max -= c.bounds.height;
  }
  max += horizontal ? siblings[target].bounds.width : siblings[target].bounds.height;
  return SplitRange{kMinSplitSize, max};
}

int SplitterNewSize(const DockChild& target, TAlign align, int delta, SplitRange range) {
  int size = 0;
  switch (align) {
    case alLeft:
      size = target.bounds.width + delta;
      break;
    case alRight:
      size = target.bounds.width - delta;
      break;
    case alTop:
      size = target.bounds.height + delta;
      break;
    case alBottom:
      size = target.bounds.height - delta;
      break;
    default:
      return target.bounds.width;
  }
  if (size < range.min) return range.min;
  if (size > range.max) return range.max;
  return size;
}

Rect SplitterBar(const DockChild& target, const DockChild& splitter, int size) {
  Rect bar = splitter.bounds;
  switch (splitter.align) {
    case alLeft:
      bar.left = target.bounds.left + size;
      break;
    case alRight:
      bar.left = target.bounds.right() - size - bar.width;
      break;
    case alTop:
      bar.top = target.bounds.top + size;
      break;
    case alBottom:
      bar.top = target.bounds.bottom() - size - bar.height;
      break;
    default:
      break;
  }
  return bar;
}

}  // namespace zv::ui
