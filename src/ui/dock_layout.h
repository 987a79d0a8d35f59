// Docking: each child of a container is docked to one side of the space the container still
// has free, or fills what remains. Free of windows, so the shell and the tests share it.
#pragma once

#include <cstddef>
#include <optional>
#include <span>

#include "ui/geometry.h"

namespace zv::ui {

// Where a control is docked. Under alNone it keeps the bounds it is given.
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

struct DockChild {
  Rect bounds;
  TAlign align = alNone;
  bool visible = true;
};

// Lays out `children` (in container order) inside the free rectangle `client`, changing the
// bounds of the docked, visible ones. Passes run top, bottom, left, right, client. Within a pass
// the children are ordered by their current edge (top: smallest top first; bottom: largest
// bottom first; left: smallest left first; right: largest right first); on equal edges the
// child at `cause` (the one whose change asked for this layout) goes first, then container
// order. A side whose remaining extent has become negative leaves the child its own extent; a
// client child keeps its bounds when the free rectangle is empty.
void DockLayout(const Rect& client, std::span<DockChild> children,
                std::optional<size_t> cause = std::nullopt);

}  // namespace zv::ui
