#include <gtest/gtest.h>

#include "app/skin.h"

namespace pavrelin {
namespace {

// Window and button style values of the Windows headers.
constexpr std::uint32_t kChild = 0x40000000;
constexpr std::uint32_t kVisible = 0x10000000;
constexpr std::uint32_t kTabStop = 0x00010000;
constexpr std::uint32_t kBorder = 0x00800000;

TEST(SkinKindFor, FollowsTheClassStyleParentAndText) {
  struct Case {
    const char* class_name;
    std::uint32_t style;
    const char* parent;
    bool has_text;
    SkinKind kind;
  } const cases[] = {
      // Buttons of every type, class name in any case.
      {"Button", kChild | 0x0, "#32770", true, SkinKind::PushButton},
      {"BUTTON", kChild | kVisible | 0x1, "Main", true, SkinKind::PushButton},
      {"button", kChild | 0x2, "Main", true, SkinKind::CheckBox},
      {"Button", kChild | 0x3, "Main", true, SkinKind::CheckBox},
      {"Button", kChild | 0x4, "Main", true, SkinKind::RadioButton},
      {"Button", kChild | 0x5, "Main", true, SkinKind::CheckBox},
      {"Button", kChild | 0x6, "Main", false, SkinKind::CheckBox},
      {"Button", kChild | 0x7, "Main", true, SkinKind::GroupBox},
      {"Button", kChild | 0x8, "Main", true, SkinKind::None},  // user button
      {"Button", kChild | 0x9, "Main", true, SkinKind::RadioButton},
      {"Button", kChild | 0xA, "Main", true, SkinKind::None},  // push box
      {"Button", kChild | 0xB, "Main", true, SkinKind::None},  // owner-drawn
      {"Button", kChild | 0xC, "Main", true, SkinKind::None},  // split button
      {"Button", kChild | 0xE, "Main", true, SkinKind::None},  // command link
      // Push-like check boxes and radio buttons look like push buttons.
      {"Button", kChild | 0x1000 | 0x3, "Main", true, SkinKind::PushButton},
      {"Button", kChild | 0x1000 | 0x9, "Main", true, SkinKind::PushButton},
      // Picture buttons keep their look, whatever their type.
      {"Button", kChild | 0x40, "Main", true, SkinKind::None},
      {"Button", kChild | 0x80, "Main", true, SkinKind::None},
      {"Button", kChild | 0x80 | 0x3, "Main", true, SkinKind::None},
      // A push button without text whose style is just child plus tab stop
      // (visible or not yet) is left alone; with a text, or with any other
      // style bit, it is skinned.
      {"Button", kChild | kTabStop, "Main", false, SkinKind::None},
      {"Button", kChild | kTabStop | kVisible, "Main", false, SkinKind::None},
      {"Button", kChild | kTabStop, "#32770", true, SkinKind::PushButton},
      {"Button", kChild | kTabStop | 0x1, "Main", false, SkinKind::PushButton},
      {"Button", kChild, "Main", false, SkinKind::PushButton},
      // Edit boxes, except the fields of an IP address control.
      {"Edit", kChild | kBorder, "Main", false, SkinKind::Edit},
      {"EDIT", kChild, "ComboBox", true, SkinKind::Edit},
      {"Edit", kChild, "SysIPAddress32", false, SkinKind::None},
      {"edit", kChild, "sysipaddress32", false, SkinKind::None},
      // Combo boxes except the simple kind, their lists, up-down controls.
      {"ComboBox", kChild | 0x2, "Main", false, SkinKind::ComboBox},
      {"combobox", kChild | 0x3, "Main", false, SkinKind::ComboBox},
      {"ComboBox", kChild | 0x1, "Main", false, SkinKind::None},
      {"ComboLBox", 0x44808041, "", false, SkinKind::ComboList},
      {"COMBOLBOX", 0x44808041, "", false, SkinKind::ComboList},
      {"msctls_updown32", kChild, "Main", false, SkinKind::UpDown},
      {"MSCTLS_UPDOWN32", kChild, "Main", false, SkinKind::UpDown},
      // Everything else keeps its look.
      {"Static", kChild, "Main", true, SkinKind::None},
      {"ListBox", kChild | kBorder, "Main", false, SkinKind::None},
      {"#32770", 0x80c801c4, "", true, SkinKind::None},
      {"Shell Embedding", kChild, "Main", false, SkinKind::None},
      {"Buttons", kChild, "Main", true, SkinKind::None},
      {"", kChild, "Main", true, SkinKind::None},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SkinKindFor(c.class_name, c.style, c.parent, c.has_text), c.kind)
        << c.class_name << " style " << std::hex << c.style << " under " << c.parent
        << (c.has_text ? " with text" : " without text");
  }
}

TEST(SkinSchemeFor, GivesEachStyleItsFrameColourAndNoSchemeOtherwise) {
  EXPECT_EQ(SkinSchemeFor(1)->frame, Rgb(123, 158, 189));
  EXPECT_EQ(SkinSchemeFor(2)->frame, Rgb(164, 185, 127));
  EXPECT_EQ(SkinSchemeFor(3)->frame, Rgb(198, 197, 215));
  for (int off : {0, 4, -1, 100}) EXPECT_EQ(SkinSchemeFor(off), nullptr) << off;
}

}  // namespace
}  // namespace pavrelin
