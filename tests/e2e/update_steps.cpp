#include "e2e/update_steps.h"

#include <gtest/gtest.h>

#include "support/win_test_support.h"

namespace pavrelin::test {

HWND FlagBox(HWND main) { return FindControlAt(main, "Edit", 48, 16); }
HWND AddressBox(HWND main) { return FindControlAt(main, "Edit", 176, 16); }

void PressCheckForUpdates(HWND main) {
  HWND label = FindChildByText(main, "检查更新");
  ASSERT_TRUE(label);
  PostMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageA(label, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

void ExpectDownloadRefused(const AppUnderTest& app, HWND main) {
  HWND failure = app.WaitForBoxOtherThan("信息：", kQuestion, 20000);
  ASSERT_TRUE(failure);
  EXPECT_EQ(MessageBoxText(failure), kDownloadFailed);
  PressBoxButton(failure, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, 5000));
  EXPECT_TRUE(app.running());
  EXPECT_TRUE(FileExists(app.run_directory() + "\\Pavrelin.exe"));
  EXPECT_FALSE(FileExists(app.run_directory() + "\\PavrelinBate5.exe"));
  EXPECT_FALSE(FileExists(kScript));
}

}  // namespace pavrelin::test
