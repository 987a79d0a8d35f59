#include "ui/dock_layout.h"

#include <algorithm>
#include <vector>

namespace zv::ui {
namespace {

// The free rectangle as edges; it may turn inside out when the docked children overflow it.
struct Free {
  int left, top, right, bottom;
};

// Sort key of a child within its pass: smaller keys dock first.
int OrderKey(const Rect& r, TAlign align) {
  switch (align) {
    case alTop:
      return r.top;
    case alBottom:
      return -r.bottom();
    case alLeft:
      return r.left;
    case alRight:
      return -r.right();
    default:
      return 0;
  }
}

void Place(Free& free, DockChild& child) {
  const TAlign align = child.align;
  int width = free.right - free.left;
  if (width < 0 || align == alLeft || align == alRight) width = child.bounds.width;
  int height = free.bottom - free.top;
  if (height < 0 || align == alTop || align == alBottom) height = child.bounds.height;
  int left = free.left;
  int top = free.top;
  switch (align) {
    case alTop:
      free.top += height;
      break;
    case alBottom:
      free.bottom -= height;
      top = free.bottom;
      break;
    case alLeft:
      free.left += width;
      break;
    case alRight:
      free.right -= width;
      left = free.right;
      break;
    default:
      break;
  }
  child.bounds = Rect{left, top, width, height};
}

}  // namespace

void DockLayout(const Rect& client, std::span<DockChild> children, std::optional<size_t> cause) {
  Free free{client.left, client.top, client.right(), client.bottom()};
  std::vector<size_t> order;
  order.reserve(children.size());
  for (TAlign pass : {alTop, alBottom, alLeft, alRight, alClient}) {
    order.clear();
    for (size_t i = 0; i < children.size(); ++i) {
      if (children[i].visible && children[i].align == pass) order.push_back(i);
    }
    if (order.empty()) continue;
    if (pass == alClient) {
      for (size_t i : order) {
        if (free.right <= free.left || free.bottom <= free.top) continue;  // empty: keep bounds
        Place(free, children[i]);
      }
      continue;
    }
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
      const int ka = OrderKey(children[a].bounds, pass);
      const int kb = OrderKey(children[b].bounds, pass);
      if (ka != kb) return ka < kb;
      return cause && a == *cause && b != *cause;
    });
    for (size_t i : order) Place(free, children[i]);
  }
}

}  // namespace zv::ui
