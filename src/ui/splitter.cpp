#include "ui/splitter.h"

namespace zv::ui {

namespace {

bool Horizontal(TAlign a) {
  return a == alLeft || a == alRight;
}

bool Docked(TAlign a) {
  return a == alLeft || a == alRight || a == alTop || a == alBottom;
}

// A rectangle along the axis a docking runs on: its near edge and its extent there. The leading
// dockings (left, top) grow away from the near edge, the trailing ones towards it.
struct Span {
  int nearEdge;
  int extent;
  int farEdge() const { return nearEdge + extent; }
};

Span Along(const Rect& r, TAlign a) {
  return Horizontal(a) ? Span{r.left, r.width} : Span{r.top, r.height};
}

bool Leading(TAlign a) {
  return a == alLeft || a == alTop;
}

}  // namespace

std::optional<size_t> SplitterTarget(std::span<const DockChild> siblings, size_t splitter) {
  const DockChild& s = siblings[splitter];
  if (!Docked(s.align)) return std::nullopt;
  const Span sSpan = Along(s.bounds, s.align);
  for (size_t i = 0; i < siblings.size(); ++i) {
    const DockChild& c = siblings[i];
    if (i == splitter || !c.visible || c.align != s.align) continue;
    const Span cSpan = Along(c.bounds, c.align);
    // The target lies on the splitter's near side for a leading docking, else on its far side.
    if (Leading(s.align) ? cSpan.farEdge() == sSpan.nearEdge : cSpan.nearEdge == sSpan.farEdge()) {
      return i;
    }
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
  if (!Docked(align)) return target.bounds.width;
  const int size = Along(target.bounds, align).extent + (Leading(align) ? delta : -delta);
  if (size < range.min) return range.min;
  if (size > range.max) return range.max;
  return size;
}

Rect SplitterBar(const DockChild& target, const DockChild& splitter, int size) {
  Rect bar = splitter.bounds;
  if (!Docked(splitter.align)) return bar;
  const Span t = Along(target.bounds, splitter.align);
  const int barNear = Leading(splitter.align)
                          ? t.nearEdge + size
                          : t.farEdge() - size - Along(bar, splitter.align).extent;
  (Horizontal(splitter.align) ? bar.left : bar.top) = barNear;
  return bar;
}

}  // namespace zv::ui
