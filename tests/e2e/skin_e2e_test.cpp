// The skinned look as the user sees it on the screen: the blue scheme's frame
// on the main window's edit boxes, on message box buttons and on the help
// prompt's button, which are all created after the skin was switched on.
#include <gtest/gtest.h>

#include "support/app_under_test.h"
#include "support/win_test_support.h"

namespace pavrelin {
namespace {

using test::AppUnderTest;

constexpr COLORREF kFrame = RGB(123, 158, 189);

using test::LeftMiddle;
using test::TopMiddle;

// The colour at the point once the window has painted it, or the last seen.
COLORREF PixelBecomes(POINT at, COLORREF expected) {
  COLORREF seen = CLR_INVALID;
  test::WaitUntil(
      [&] {
        seen = test::ScreenPixel(at.x, at.y);
        return seen == expected;
      },
      5000);
  return seen;
}

TEST(SkinEndToEnd, EditFramesBoxButtonsAndThePromptButtonCarryTheBlueFrame) {
  AppUnderTest app("e2e-skin");
  HWND main = app.StartToMainWindow();
  ASSERT_TRUE(main);
  SetForegroundWindow(main);
  HWND name = test::FindControlAt(main, "Edit", 50, 73);
  ASSERT_TRUE(name);
  EXPECT_EQ(PixelBecomes(LeftMiddle(name), kFrame), kFrame) << "edit box frame";
  EXPECT_EQ(PixelBecomes(TopMiddle(test::FindChildByText(main, "开启网卡①")), kFrame), kFrame)
      << "push button frame";

  // A message box made long after the skin was switched on.
  PostMessageA(test::FindChildByText(main, "开启网卡①"), BM_CLICK, 0, 0);
  HWND box = app.WaitForBox("信息：");
  ASSERT_TRUE(box);
  HWND ok = GetDlgItem(box, IDOK);
  ASSERT_TRUE(ok);
  EXPECT_EQ(PixelBecomes(TopMiddle(ok), kFrame), kFrame) << "message box button";
  test::PressBoxButton(box, IDOK);
  ASSERT_TRUE(test::WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, 5000));

  PostMessageA(test::FindChildByText(main, "使用说明"), BM_CLICK, 0, 0);
  HWND prompt = test::WaitForWindow(nullptr, "使用说明：", 10000, app.pid());
  ASSERT_TRUE(prompt);
  HWND confirm = test::FindChildByText(prompt, "确定");
  ASSERT_TRUE(confirm);
  EXPECT_EQ(PixelBecomes(TopMiddle(confirm), kFrame), kFrame) << "the help prompt's button";
  PostMessageA(prompt, WM_CLOSE, 0, 0);
}

}  // namespace
}  // namespace pavrelin
