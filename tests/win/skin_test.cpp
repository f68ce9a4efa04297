// The skinned look on the real platform: which controls are wrapped, the
// colours read back from the screen, message boxes, windows created later,
// and that switching off gives every control its own procedure back.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <thread>
#include <vector>

#include "app/skin.h"
#include "app/skin_win.h"
#include "app/window_services.h"
#include "platform/process.h"
#include "support/win_test_support.h"

namespace pavrelin {
namespace {

constexpr COLORREF kBlue = RGB(123, 158, 189);

enum ControlId { kPushId = 101, kEditId, kGroupId, kLabelId, kCheckId, kLaterId };

// The BN_CLICKED notifications the test window has received, by control id.
std::vector<int> g_clicked;

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_COMMAND && HIWORD(wparam) == BN_CLICKED) g_clicked.push_back(LOWORD(wparam));
  return DefWindowProcA(window, message, wparam, lparam);
}

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

using test::LeftMiddle;
using test::TopMiddle;

// Waits, while the thread's messages are dispatched, until the screen shows
// the colour at the point; returns the colour seen last.
COLORREF WaitForPixel(POINT at, COLORREF expected, bool pump = true) {
  COLORREF seen = CLR_INVALID;
  test::WaitUntil(
      [&] {
        if (pump) Pump();
        seen = test::ScreenPixel(at.x, at.y);
        return seen == expected;
      },
      3000);
  return seen;
}

// The colour at the point once the classic look has been drawn over the
// window's background.
COLORREF DrawnPixel(POINT at) {
  COLORREF seen = CLR_INVALID;
  test::WaitUntil(
      [&] {
        Pump();
        seen = test::ScreenPixel(at.x, at.y);
        return seen != CLR_INVALID && seen != GetSysColor(COLOR_BTNFACE);
      },
      3000);
  return seen;
}

LONG_PTR ProcOf(HWND window) { return GetWindowLongPtrA(window, GWLP_WNDPROC); }

class Skin : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = TestWindowProc;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    window_class.lpszClassName = "PavrelinSkinTest";
    RegisterClassA(&window_class);
    window_ = CreateWindowExA(WS_EX_TOPMOST, "PavrelinSkinTest", "skin test",
                              WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 420, 260, nullptr, nullptr,
                              nullptr, nullptr);
    ASSERT_TRUE(window_);
    push_ = Child("Button", "确定", BS_PUSHBUTTON | WS_TABSTOP, 20, 20, 100, 30, kPushId);
    edit_ = Child("Edit", "text", WS_BORDER | ES_AUTOHSCROLL, 20, 70, 150, 24, kEditId);
    group_ = Child("Button", "分组", BS_GROUPBOX, 200, 10, 190, 120, kGroupId);
    label_ = Child("Static", "标签", 0, 20, 110, 100, 20, kLabelId);
    check_ = Child("Button", "选项", BS_AUTOCHECKBOX | WS_TABSTOP, 20, 140, 120, 20, kCheckId);
    for (HWND control : {push_, edit_, group_, label_, check_})
      original_.push_back(ProcOf(control));
    g_clicked.clear();
    UpdateWindow(window_);
    Pump();
  }

  void TearDown() override {
    ApplyXpSkin(0);
    if (IsWindow(window_)) DestroyWindow(window_);
    Pump();
  }

  HWND Child(const char* class_name, const char* text, DWORD style, int x, int y, int width,
             int height, int id, HWND parent = nullptr) {
    HWND child =
        CreateWindowExA(0, class_name, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                        parent ? parent : window_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    EXPECT_TRUE(child) << class_name;
    return child;
  }

  HWND window_ = nullptr;
  HWND push_ = nullptr, edit_ = nullptr, group_ = nullptr, label_ = nullptr, check_ = nullptr;
  std::vector<LONG_PTR> original_;
};

TEST_F(Skin, WrapsTheQualifyingControlsAndDrawsTheirFrames) {
  const POINT button_top = TopMiddle(push_);
  const POINT edit_left = LeftMiddle(edit_);
  ASSERT_NE(DrawnPixel(button_top), kBlue) << "the classic look differs";
  ASSERT_NE(DrawnPixel(edit_left), kBlue);

  EXPECT_TRUE(ApplyXpSkin(1));
  const LONG_PTR skin_proc = ProcOf(push_);
  EXPECT_NE(skin_proc, original_[0]);
  EXPECT_EQ(ProcOf(edit_), skin_proc);
  EXPECT_EQ(ProcOf(group_), skin_proc);
  EXPECT_EQ(ProcOf(check_), skin_proc);
  EXPECT_EQ(ProcOf(label_), original_[3]) << "a label keeps its look";
  EXPECT_EQ(SkinnedWindowCount(), 4u);

  EXPECT_EQ(WaitForPixel(button_top, kBlue), kBlue);
  EXPECT_EQ(WaitForPixel(LeftMiddle(push_), kBlue), kBlue);
  EXPECT_EQ(WaitForPixel(edit_left, kBlue), kBlue);
  EXPECT_EQ(WaitForPixel(TopMiddle(edit_), kBlue), kBlue);
  EXPECT_EQ(WaitForPixel(LeftMiddle(group_), kBlue), kBlue);
  EXPECT_EQ(WaitForPixel(LeftMiddle(check_), kBlue), kBlue) << "the check box's box";
  EXPECT_EQ(test::WindowText(edit_), "text") << "the edit box still holds its text";
}

TEST_F(Skin, EachSchemeDrawsItsOwnFrameColour) {
  const std::pair<int, COLORREF> schemes[] = {
      {2, RGB(164, 185, 127)}, {3, RGB(198, 197, 215)}, {1, kBlue}};
  for (const auto& [style, frame] : schemes) {
    SCOPED_TRACE(style);
    EXPECT_TRUE(ApplyXpSkin(style));
    EXPECT_EQ(WaitForPixel(TopMiddle(push_), frame), frame);
    EXPECT_EQ(WaitForPixel(LeftMiddle(edit_), frame), frame);
  }
}

TEST_F(Skin, SwitchingOffRestoresEveryProcedureAndTheLook) {
  const POINT button_top = TopMiddle(push_);
  const POINT edit_left = LeftMiddle(edit_);
  const COLORREF classic_button = DrawnPixel(button_top);
  const COLORREF classic_edit = DrawnPixel(edit_left);
  ASSERT_NE(classic_button, kBlue);
  ASSERT_NE(classic_edit, kBlue);

  for (int off : {0, 4, -1}) {
    SCOPED_TRACE(off);
    ASSERT_TRUE(ApplyXpSkin(1));
    ASSERT_EQ(WaitForPixel(button_top, kBlue), kBlue);
    EXPECT_TRUE(ApplyXpSkin(off)) << "the hook was removed";
    const HWND controls[] = {push_, edit_, group_, label_, check_};
    for (std::size_t i = 0; i < std::size(controls); ++i)
      EXPECT_EQ(ProcOf(controls[i]), original_[i]) << "control " << i;
    EXPECT_EQ(SkinnedWindowCount(), 0u);
    EXPECT_EQ(WaitForPixel(button_top, classic_button), classic_button);
    EXPECT_EQ(WaitForPixel(edit_left, classic_edit), classic_edit);
    EXPECT_FALSE(ApplyXpSkin(off)) << "no hook left to remove";
  }
}

// Counts the messages that reach the procedure the test put under the skin.
WNDPROC g_button_proc = nullptr;
int g_counted = 0;
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_GETTEXTLENGTH) ++g_counted;
  return CallWindowProcA(g_button_proc, window, message, wparam, lparam);
}

TEST_F(Skin, ASecondCallWrapsNothingTwice) {
  g_button_proc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(push_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));
  ASSERT_TRUE(ApplyXpSkin(1));
  HWND later = Child("Button", "later", BS_PUSHBUTTON, 20, 180, 100, 30, kLaterId);
  const LONG_PTR skin_proc = ProcOf(push_);
  const std::size_t count = SkinnedWindowCount();
  EXPECT_EQ(count, 5u);

  ASSERT_TRUE(ApplyXpSkin(1));
  EXPECT_EQ(SkinnedWindowCount(), count);
  EXPECT_EQ(ProcOf(push_), skin_proc);
  EXPECT_EQ(ProcOf(later), skin_proc);
  g_counted = 0;
  SendMessageA(push_, WM_GETTEXTLENGTH, 0, 0);
  EXPECT_EQ(g_counted, 1) << "the procedure under the skin runs once per message";

  ApplyXpSkin(0);
  EXPECT_EQ(ProcOf(push_), reinterpret_cast<LONG_PTR>(&CountingProc))
      << "the procedure kept for the button was the one under the skin";
  EXPECT_EQ(ProcOf(later), original_[0]);
  SetWindowLongPtrA(push_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_button_proc));
}

TEST_F(Skin, WindowsCreatedLaterGetTheLook) {
  ASSERT_TRUE(ApplyXpSkin(1));
  const LONG_PTR skin_proc = ProcOf(push_);
  HWND button = Child("Button", "later", BS_DEFPUSHBUTTON, 20, 180, 100, 30, kLaterId);
  HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", "", WS_CHILD | WS_VISIBLE, 200, 150, 150,
                              24, window_, nullptr, nullptr, nullptr);
  HWND other =
      CreateWindowExA(WS_EX_TOPMOST, "PavrelinSkinTest", "second", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                      460, 20, 200, 120, nullptr, nullptr, nullptr, nullptr);
  HWND inner = Child("Button", "inner", BS_PUSHBUTTON, 10, 10, 80, 26, kLaterId, other);
  HWND picture = Child("Button", "", BS_PUSHBUTTON | BS_BITMAP, 100, 10, 30, 26, kLaterId, other);
  HWND blank = Child("Button", "", WS_TABSTOP, 140, 10, 30, 26, kLaterId, other);

  EXPECT_EQ(ProcOf(button), skin_proc);
  EXPECT_EQ(ProcOf(edit), skin_proc);
  EXPECT_EQ(ProcOf(inner), skin_proc);
  EXPECT_EQ(ProcOf(other), reinterpret_cast<LONG_PTR>(&TestWindowProc));
  EXPECT_EQ(ProcOf(picture), original_[0]) << "a picture button keeps its look";
  EXPECT_EQ(ProcOf(blank), original_[0]) << "a text-less child plus tab stop button too";
  EXPECT_EQ(WaitForPixel(TopMiddle(button), kBlue), kBlue);
  EXPECT_EQ(WaitForPixel(LeftMiddle(edit), kBlue), kBlue);
  EXPECT_EQ(WaitForPixel(TopMiddle(inner), kBlue), kBlue);
  DestroyWindow(other);
}

TEST_F(Skin, SkinnedButtonsStillClickAndTakeTheFocus) {
  ASSERT_TRUE(ApplyXpSkin(1));
  SendMessageA(push_, BM_CLICK, 0, 0);
  SendMessageA(check_, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageA(check_, BM_GETCHECK, 0, 0), BST_CHECKED);
  SetFocus(push_);
  EXPECT_EQ(GetFocus(), push_);
  EXPECT_TRUE(SendMessageA(push_, BM_GETSTATE, 0, 0) & BST_FOCUS);
  SendMessageA(push_, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_TRUE(SendMessageA(push_, BM_GETSTATE, 0, 0) & BST_PUSHED) << "held down by the space bar";
  SendMessageA(push_, WM_KEYUP, VK_SPACE, 0);
  EXPECT_FALSE(SendMessageA(push_, BM_GETSTATE, 0, 0) & BST_PUSHED);
  SetFocus(check_);
  SendMessageA(check_, WM_KEYDOWN, VK_SPACE, 0);
  SendMessageA(check_, WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(SendMessageA(check_, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  Pump();
  EXPECT_EQ(g_clicked, (std::vector<int>{kPushId, kCheckId, kPushId, kCheckId}));
  EXPECT_EQ(WaitForPixel(TopMiddle(push_), kBlue), kBlue) << "still skinned after the clicks";
}

TEST_F(Skin, MessageBoxButtonsAreSkinnedAndStillAnswer) {
  ASSERT_TRUE(ApplyXpSkin(1));
  const LONG_PTR skin_proc = ProcOf(push_);
  const std::size_t count = SkinnedWindowCount();
  struct Case {
    unsigned flags;
    int press;
    int code;
  } const cases[] = {
      {kBoxOk, IDOK, kButtonOk}, {kBoxYesNo, IDYES, kButtonYes}, {kBoxYesNo, IDNO, kButtonNo}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.press);
    LONG_PTR button_proc = 0;
    COLORREF frame = CLR_INVALID;
    std::thread answer([&] {
      HWND box = test::WaitForMessageBox("信息：", 10000, GetCurrentProcessId());
      HWND button = box ? GetDlgItem(box, c.press) : nullptr;
      if (!button) return;
      button_proc = ProcOf(button);
      // The box runs its own loop on the test's thread: only look.
      frame = WaitForPixel(TopMiddle(button), kBlue, false);
      test::PressBoxButton(box, c.press);
    });
    EXPECT_EQ(ShowMessageBox("皮肤", c.flags), c.code);
    answer.join();
    EXPECT_EQ(button_proc, skin_proc);
    EXPECT_EQ(frame, kBlue);
    EXPECT_EQ(SkinnedWindowCount(), count) << "the box's buttons left the set with the box";
  }
}

TEST_F(Skin, ADestroyedWindowLeavesTheSet) {
  ASSERT_TRUE(ApplyXpSkin(1));
  const std::size_t count = SkinnedWindowCount();
  DestroyWindow(push_);
  EXPECT_EQ(SkinnedWindowCount(), count - 1);
  EXPECT_TRUE(ApplyXpSkin(0));
  EXPECT_EQ(ProcOf(edit_), original_[1]);
  EXPECT_EQ(ProcOf(group_), original_[2]);
  EXPECT_EQ(ProcOf(check_), original_[4]);
}

TEST_F(Skin, WrapsComboBoxesTheirListsAndUpDownsButNotAddressFields) {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_UPDOWN_CLASS | ICC_INTERNET_CLASSES};
  ASSERT_TRUE(InitCommonControlsEx(&classes));
  HWND drop_down = Child("ComboBox", "", CBS_DROPDOWN, 200, 140, 150, 200, kLaterId);
  HWND simple = Child("ComboBox", "", CBS_SIMPLE, 200, 170, 150, 60, kLaterId);
  HWND up_down = Child(UPDOWN_CLASSA, "", 0, 370, 140, 20, 30, kLaterId);
  HWND address = Child(WC_IPADDRESSA, "", 0, 20, 180, 150, 24, kLaterId);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(drop_down, &info));
  HWND field = FindWindowExA(address, nullptr, "Edit", nullptr);
  ASSERT_TRUE(field);
  const LONG_PTR simple_proc = ProcOf(simple);
  const LONG_PTR field_proc = ProcOf(field);
  const LONG_PTR list_proc = ProcOf(info.hwndList);

  ASSERT_TRUE(ApplyXpSkin(1));
  const LONG_PTR skin_proc = ProcOf(push_);
  EXPECT_EQ(ProcOf(drop_down), skin_proc);
  EXPECT_EQ(ProcOf(info.hwndItem), skin_proc) << "the combo box's edit field";
  EXPECT_EQ(ProcOf(info.hwndList), skin_proc) << "the list, a child of the desktop";
  EXPECT_EQ(ProcOf(up_down), skin_proc);
  EXPECT_EQ(ProcOf(simple), simple_proc);
  EXPECT_EQ(ProcOf(field), field_proc);
  EXPECT_EQ(WaitForPixel(LeftMiddle(drop_down), kBlue), kBlue);
  EXPECT_EQ(WaitForPixel(TopMiddle(up_down), kBlue), kBlue);
  EXPECT_TRUE(ApplyXpSkin(0));
  EXPECT_EQ(ProcOf(info.hwndList), list_proc);
}

}  // namespace
}  // namespace pavrelin
