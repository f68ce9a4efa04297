// The main window's creation step and the wiring of both windows.
#pragma once

#include <span>

#include "ui/control_model.h"

namespace pavrelin {

// The start-up notice shown before the main window appears.
extern const char kStartupNotice[];

// Created handler of the main window: skin on, online state, start-up notice.
void InitMainWindow();

// Which handler each event of both windows runs.
std::span<const Wiring> ProgramWiring();

}  // namespace pavrelin
