// The accessors through which handlers read and write single properties of a
// live window's controls. Texts are bytes in the ANSI code page.
#pragma once

#include <string>

#include "ui/control_model.h"

namespace pavrelin {

// Property 8 of an edit box (what it holds now, typed text included) or of a
// label (its caption). Empty when the window or control does not exist.
std::string GetText(Form form, const char* control);

// Property 8: an edit box's whole content (raising its content-changed
// notification) or a label's caption (redrawn).
void SetText(Form form, const char* control, const std::string& text);

// Property 5: hide or show at once; place, size and content are kept.
void SetVisible(Form form, const char* control, bool visible);

// Property 8 of a timer. Negative counts as 0; the current period changes
// nothing; otherwise the timer restarts and first fires one period later.
void SetTimerPeriod(Form form, const char* control, int milliseconds);

}  // namespace pavrelin
