// Splitter rules: which control a splitter resizes and how far. A splitter resizes the visible
// sibling docked just before it, on its own side, and keeps at least kMinSplitSize pixels both
// for that control and for whatever fills the rest of the container.
#pragma once

#include <optional>
#include <span>

#include "ui/dock_layout.h"

namespace zv::ui {

inline constexpr int kMinSplitSize = 30;

// The sibling that `splitter` resizes: the visible one with the same docking whose edge touches
// the splitter's edge on the docked side.
std::optional<size_t> SplitterTarget(std::span<const DockChild> siblings, size_t splitter);

struct SplitRange {
  int min = kMinSplitSize;
  int max = 0;
};

// The sizes the target may take: from kMinSplitSize up to what still leaves kMinSplitSize of
// the container's extent (`containerExtent`, width for left and right docking) after every
// visible sibling docked on that axis, the splitter included.
SplitRange SplitterRange(std::span<const DockChild> siblings, size_t splitter, size_t target,
                         int containerExtent);

// The target's new size for a drag of `delta` pixels (along the axis, right or down positive),
// limited to `range`: below the minimum gives the minimum, else above the maximum the maximum.
int SplitterNewSize(const DockChild& target, TAlign align, int delta, SplitRange range);

// The splitter's bounds for the target at `size`: where the inverted bar is drawn.
Rect SplitterBar(const DockChild& target, const DockChild& splitter, int size);

}  // namespace zv::ui
