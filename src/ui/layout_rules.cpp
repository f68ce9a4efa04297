#include "ui/layout_rules.h"

#include <algorithm>
#include <cstring>

namespace pavrelin {

std::optional<std::size_t> FindControl(const Layout& layout, const char* name) {
  if (!name) return std::nullopt;
  for (std::size_t i = 0; i < layout.count; ++i)
    if (std::strcmp(layout.controls[i].name, name) == 0) return i;
  return std::nullopt;
}

bool SettingsMatchKind(const ControlEntry& entry) {
  switch (entry.kind) {
    case Kind::EditBox:
      return std::holds_alternative<EditSettings>(entry.settings);
    case Kind::PictureBox:
      return std::holds_alternative<PictureSettings>(entry.settings);
    case Kind::GroupBox:
      return std::holds_alternative<GroupSettings>(entry.settings);
    case Kind::Label:
      return std::holds_alternative<LabelSettings>(entry.settings);
    case Kind::Button:
      return std::holds_alternative<ButtonSettings>(entry.settings);
    case Kind::Timer:
      return std::holds_alternative<TimerSettings>(entry.settings);
    case Kind::BrowserBox:
      return std::holds_alternative<BrowserSettings>(entry.settings);
    case Kind::Window:
      return false;  // the window is the layout's own entry, never a control
  }
  return false;
}

std::optional<std::size_t> ParentOf(const Layout& layout, std::size_t index) {
  return FindControl(layout, layout.controls[index].parent);
}

bool ShownAtLoad(const Layout& layout, std::size_t index) {
  // A layout is a tree, so the walk up ends; the bound guards a faulty one.
  for (std::size_t steps = 0; steps <= layout.count; ++steps) {
    const ControlEntry& entry = layout.controls[index];
    if (!entry.visible || entry.kind == Kind::Timer) return false;
    const std::optional<std::size_t> parent = ParentOf(layout, index);
    if (!parent) return true;
    index = *parent;
  }
  return false;
}

std::vector<std::size_t> TabOrder(const Layout& layout,
                                  const std::function<bool(std::size_t)>& can_focus) {
  std::vector<std::size_t> order;
  // Creation order: the last stored control is created first.
  for (std::size_t i = layout.count; i-- > 0;)
    if (layout.controls[i].tab_stop && can_focus(i)) order.push_back(i);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return layout.controls[a].tab_index < layout.controls[b].tab_index;
  });
  return order;
}

std::optional<std::size_t> NextInTabOrder(const std::vector<std::size_t>& order,
                                          std::optional<std::size_t> current, bool backwards) {
  if (order.empty()) return std::nullopt;
  const auto at = current ? std::find(order.begin(), order.end(), *current) : order.end();
  if (at == order.end()) return backwards ? order.back() : order.front();
  const std::size_t position = static_cast<std::size_t>(at - order.begin());
  if (backwards) return order[position == 0 ? order.size() - 1 : position - 1];
  return order[(position + 1) % order.size()];
}

Rect VisibleArea(const Layout& layout, std::size_t index) {
  // Work in the control's own coordinates: (ox, oy) is where the current
  // ancestor's client area starts, seen from the control.
  int left = 0;
  int top = 0;
  int right = layout.controls[index].place.width;
  int bottom = layout.controls[index].place.height;
  int ox = 0;
  int oy = 0;
  std::size_t current = index;
  for (std::size_t steps = 0; steps < layout.count; ++steps) {
    const std::optional<std::size_t> parent = ParentOf(layout, current);
    if (!parent) break;
    ox -= layout.controls[current].place.left;
    oy -= layout.controls[current].place.top;
    const Rect& client = layout.controls[*parent].place;
    left = std::max(left, ox);
    top = std::max(top, oy);
    right = std::min(right, ox + client.width);
    bottom = std::min(bottom, oy + client.height);
    current = *parent;
  }
  return Rect{left, top, std::max(0, right - left), std::max(0, bottom - top)};
}

}  // namespace pavrelin
