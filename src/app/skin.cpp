#include "app/skin.h"

#include <cctype>
#include <iterator>

namespace pavrelin {

namespace {

bool SameClass(std::string_view name, std::string_view expected) {
  if (name.size() != expected.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(name[i])) !=
        std::tolower(static_cast<unsigned char>(expected[i])))
      return false;
  }
  return true;
}

// Button types (BS_PUSHBUTTON ... BS_AUTORADIOBUTTON) by their number.
enum ButtonType : std::uint32_t {
  kPush = 0,
  kDefPush = 1,
  kCheck = 2,
  kAutoCheck = 3,
  kRadio = 4,
  kThreeState = 5,
  kAutoThreeState = 6,
  kGroup = 7,
  kAutoRadio = 9,
};

SkinKind ButtonKind(std::uint32_t style, bool has_text) {
  if (style & (kButtonIcon | kButtonBitmap)) return SkinKind::None;
  // CreateWindowEx adds WS_VISIBLE only after WM_CREATE: leave it out so that a
  // button gets the same answer whether it is met at creation or later.
  const std::uint32_t settled = style & ~std::uint32_t{kStyleVisible};
  switch (style & kButtonTypeMask) {
    case kPush:
    case kDefPush:
      if (!has_text && settled == (kStyleChild | kStyleTabStop)) return SkinKind::None;
      return SkinKind::PushButton;
    case kCheck:
    case kAutoCheck:
    case kThreeState:
    case kAutoThreeState:
      return (style & kButtonPushLike) ? SkinKind::PushButton : SkinKind::CheckBox;
    case kRadio:
    case kAutoRadio:
      return (style & kButtonPushLike) ? SkinKind::PushButton : SkinKind::RadioButton;
    case kGroup:
      return SkinKind::GroupBox;
    default:  // user, owner-drawn, split and command-link buttons draw themselves
      return SkinKind::None;
  }
}

// Luna-like schemes; only the frame colours are fixed by the program's look.
constexpr SkinScheme kSchemes[] = {
    {.frame = Rgb(123, 158, 189),  // 1: blue
     .face_top = Rgb(255, 255, 255),
     .face_bottom = Rgb(220, 222, 230),
     .pressed_top = Rgb(209, 213, 224),
     .pressed_bottom = Rgb(243, 244, 247),
     .hot_outer = Rgb(229, 151, 0),
     .hot_inner = Rgb(253, 216, 137),
     .focus_outer = Rgb(105, 130, 238),
     .focus_inner = Rgb(206, 231, 255),
     .box_top = Rgb(220, 220, 215),
     .box_bottom = Rgb(255, 255, 255),
     .mark = Rgb(33, 161, 33),
     .glyph = Rgb(77, 97, 133),
     .caption = Rgb(0, 70, 213)},
    {.frame = Rgb(164, 185, 127),  // 2: olive green
     .face_top = Rgb(255, 255, 255),
     .face_bottom = Rgb(226, 229, 210),
     .pressed_top = Rgb(212, 218, 190),
     .pressed_bottom = Rgb(246, 247, 240),
     .hot_outer = Rgb(229, 151, 0),
     .hot_inner = Rgb(253, 216, 137),
     .focus_outer = Rgb(143, 164, 94),
     .focus_inner = Rgb(213, 226, 178),
     .box_top = Rgb(222, 224, 212),
     .box_bottom = Rgb(255, 255, 255),
     .mark = Rgb(102, 132, 54),
     .glyph = Rgb(86, 102, 45),
     .caption = Rgb(48, 90, 22)},
    {.frame = Rgb(198, 197, 215),  // 3: silver
     .face_top = Rgb(255, 255, 255),
     .face_bottom = Rgb(226, 226, 234),
     .pressed_top = Rgb(211, 211, 222),
     .pressed_bottom = Rgb(244, 244, 248),
     .hot_outer = Rgb(229, 151, 0),
     .hot_inner = Rgb(253, 216, 137),
     .focus_outer = Rgb(150, 149, 178),
     .focus_inner = Rgb(224, 223, 236),
     .box_top = Rgb(224, 224, 230),
     .box_bottom = Rgb(255, 255, 255),
     .mark = Rgb(33, 161, 33),
     .glyph = Rgb(72, 72, 104),
     .caption = Rgb(60, 60, 100)},
};

}  // namespace

SkinKind SkinKindFor(std::string_view class_name, std::uint32_t style,
                     std::string_view parent_class, bool has_text) {
  if (SameClass(class_name, "Button")) return ButtonKind(style, has_text);
  if (SameClass(class_name, "Edit"))
    return SameClass(parent_class, "SysIPAddress32") ? SkinKind::None : SkinKind::Edit;
  if (SameClass(class_name, "ComboBox"))
    return (style & kComboTypeMask) == kComboSimple ? SkinKind::None : SkinKind::ComboBox;
  if (SameClass(class_name, "ComboLBox")) return SkinKind::ComboList;
  if (SameClass(class_name, "msctls_updown32")) return SkinKind::UpDown;
  return SkinKind::None;
}

const SkinScheme* SkinSchemeFor(int style) {
  if (style < 1 || style > static_cast<int>(std::size(kSchemes))) return nullptr;
  return &kSchemes[style - 1];
}

}  // namespace pavrelin
