// Rules that follow from a layout alone, shared by the window building and
// the tests: finding controls and parents, what is shown at load, the order
// Tab visits, and what part of a control its ancestors leave visible.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "ui/control_model.h"

namespace pavrelin {

// The index of the control with this name, if any.
std::optional<std::size_t> FindControl(const Layout& layout, const char* name);

// The kind settings are those of the entry's kind.
bool SettingsMatchKind(const ControlEntry& entry);

// The index of the control's parent; nullopt for the window itself (or for a
// parent name that the layout does not hold).
std::optional<std::size_t> ParentOf(const Layout& layout, std::size_t index);

// Shown once the window is built: visible itself, inside shown containers, and
// never a timer.
bool ShownAtLoad(const Layout& layout, std::size_t index);

// The controls Tab visits, in visiting order: those with the tab stop flag for
// which can_focus holds, by ascending tab index and then creation order (the
// last stored first). After the last the first follows again.
std::vector<std::size_t> TabOrder(const Layout& layout,
                                  const std::function<bool(std::size_t)>& can_focus);

// The control that Tab (or Shift+Tab) moves to from current, which need not be
// in the order; nullopt when the order is empty.
std::optional<std::size_t> NextInTabOrder(const std::vector<std::size_t>& order,
                                          std::optional<std::size_t> current, bool backwards);

// The part of a control left visible by the client areas of its containers,
// in the control's own coordinates (empty width or height when none is). The
// window's own client area is not counted: its size depends on the frame; a
// container's client area is taken as its outer size, as for a borderless one.
Rect VisibleArea(const Layout& layout, std::size_t index);

}  // namespace pavrelin
