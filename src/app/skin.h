// The skinned look of the UI thread: which windows carry it and the colours of
// its three schemes. The Win32 side (skin_win.cpp) wraps the windows and draws.
#pragma once

#include <cstdint>
#include <string_view>

#include "ui/control_model.h"

namespace pavrelin {

// How a wrapped window is drawn; None keeps the window's own look.
enum class SkinKind {
  None,
  PushButton,  // push buttons and push-like check boxes and radio buttons
  CheckBox,
  RadioButton,
  GroupBox,
  Edit,
  ComboBox,
  ComboList,  // the drop-down list of a combo box
  UpDown,
};

// The window style bits the rule reads, with the values of the Windows headers
// (this file builds on hosts without them).
enum SkinStyleBit : std::uint32_t {
  kStyleChild = 0x40000000,
  kStyleVisible = 0x10000000,
  kStyleTabStop = 0x00010000,
  kButtonTypeMask = 0x0000000F,
  kButtonIcon = 0x00000040,
  kButtonBitmap = 0x00000080,
  kButtonPushLike = 0x00001000,
  kComboTypeMask = 0x00000003,
  kComboSimple = 0x00000001,
};

// Which look a window gets, from its class name (any case), its style, its
// parent's class name and whether it has a text.
SkinKind SkinKindFor(std::string_view class_name, std::uint32_t style,
                     std::string_view parent_class, bool has_text);

// The colours of one scheme; frame is what edit boxes, buttons and the other
// skinned controls are outlined with.
struct SkinScheme {
  Colour frame;
  Colour face_top, face_bottom;        // push button and arrow faces, top to bottom
  Colour pressed_top, pressed_bottom;  // the same while pressed
  Colour hot_outer, hot_inner;         // ring inside the frame under the mouse
  Colour focus_outer, focus_inner;     // ring of the focused or default button
  Colour box_top, box_bottom;          // inside of check boxes and radio buttons
  Colour mark;                         // check mark and radio dot
  Colour glyph;                        // arrows of combo boxes and up-down controls
  Colour caption;                      // group box title
};

// The scheme of styles 1, 2 and 3; nullptr for every other style (skin off).
const SkinScheme* SkinSchemeFor(int style);

}  // namespace pavrelin
