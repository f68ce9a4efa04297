// Window services: loading a layout as a live window, closing one on request,
// and the skinned look of the UI thread.
#pragma once

#include <optional>
#include <span>

#include "ui/control_model.h"

namespace pavrelin {

// Builds the window from its layout hidden, raises its created event, shows it.
// Modal: no owner, the program's other windows disabled, and the call returns
// only after the window has gone. False when the window cannot be built.
bool LoadWindow(Form window, std::optional<Form> parent, bool modal);

// LoadWindow with the layout given: the form names the live window's slot (at
// most one live window each) and the wiring its events use.
bool LoadWindowFrom(Form window, const Layout& layout, std::optional<Form> parent, bool modal);

// Asks a live window to close and returns at once; the window, its controls
// and timers live until the request is dispatched by the running loop.
void DestroyFormWindow(Form window);

// 1, 2, 3 switch the skin on with one of three schemes; anything else off.
bool ApplyXpSkin(int style);

// Which handler each control event runs; set once at start-up. The table is
// copied.
void SetWiring(std::span<const Wiring> wiring);

// From now on the last window's end posts the quit request (code 0).
void SetLoopStarted();

// The main message loop, with the windows' keyboard rules; returns the quit
// request's code.
int RunMainLoop();

}  // namespace pavrelin
