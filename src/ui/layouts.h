// The two windows of the program as data: every control with its place, start
// state and kind settings, in stored order.
#pragma once

#include "ui/control_model.h"

namespace pavrelin {

// The layout a form is built from; null for a form without one.
const Layout* LayoutFor(Form form);

}  // namespace pavrelin
