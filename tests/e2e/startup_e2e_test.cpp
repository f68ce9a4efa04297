// Start-up and stopping of the real program, as a user meets them.
#include <gtest/gtest.h>

#include "support/app_under_test.h"
#include "support/win_test_support.h"

namespace pavrelin {
namespace {

using test::AppUnderTest;

const std::string kNotice =
    "1.账号不允许使用汉字！\r\n"
    "2.密码请使用≥8位的英文和字母组成！\r\n"
    "3.请您认真按照使用说明使用此软件！\r\n"
    "4.请您右击以管理员身份运行此软件！\r\n"
    "5.本软件完全免费,如有问题请点击检查更新升级版本.";

TEST(StartupEndToEnd, TheNoticeComesAloneThenTheCentredMainWindow) {
  ASSERT_EQ(kNotice.size(), 181u);
  AppUnderTest app("e2e-startup");
  ASSERT_TRUE(app.Start());
  HWND notice = app.WaitForBox(test::kNoticeTitle, 20000);
  ASSERT_TRUE(notice);
  EXPECT_EQ(test::MessageBoxText(notice), kNotice);
  EXPECT_EQ(test::WindowText(notice), test::kNoticeTitle);
  EXPECT_FALSE(app.MainWindow()) << "the main window shows only after the notice";

  test::PressBoxButton(notice, IDOK);
  HWND main = test::WaitForWindow(nullptr, test::kMainTitle, 10000, app.pid());
  ASSERT_TRUE(main);
  RECT rect;
  GetWindowRect(main, &rect);
  EXPECT_EQ(rect.right - rect.left, 316);
  EXPECT_EQ(rect.bottom - rect.top, 219);
  EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 316) / 2);
  EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - 219) / 2);
}

TEST(StartupEndToEnd, WithoutAnAnsweringPortalTheWindowSaysOffline) {
  // Nothing listens on the test build's portal port: no response at all.
  AppUnderTest app("e2e-offline");
  HWND main = app.StartToMainWindow();
  ASSERT_TRUE(main);
  EXPECT_TRUE(test::FindChildByText(main, "网络未连接"));
  EXPECT_FALSE(test::FindChildByText(main, "网络已连接"));
}

TEST(StartupEndToEnd, EscAndTheCloseButtonEndTheProgramWithoutStoppingTheNetwork) {
  struct Case {
    const char* what;
    void (*close)(HWND main);
  } const cases[] = {
      {"Esc in the name box",
       [](HWND main) {
         HWND edit = test::FindControlAt(main, "Edit", 50, 73);
         PostMessageA(edit ? edit : main, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
       }},
      {"close button", [](HWND main) { PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"Alt+F4", [](HWND main) { PostMessageA(main, WM_CLOSE, 0, 0); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AppUnderTest app("e2e-close");
    HWND main = app.StartToMainWindow();
    ASSERT_TRUE(main);
    c.close(main);
    DWORD code = 1234;
    ASSERT_TRUE(app.WaitForExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(test::FileExists(app.netsh_log())) << "no netsh command ran";
  }
}

TEST(StartupEndToEnd, AFailedStartUpEndsWithMinusOne) {
  AppUnderTest app("e2e-no-layouts", "Pavrelin.exe", "PavrelinWithoutLayouts.exe");
  ASSERT_TRUE(app.Start());
  HWND box = test::WaitForWindow("#32770", nullptr, 20000, app.pid());
  ASSERT_TRUE(box) << "an error box tells the user";
  test::PressBoxButton(box, IDOK);
  DWORD code = 0;
  ASSERT_TRUE(app.WaitForExit(10000, &code));
  EXPECT_EQ(code, static_cast<DWORD>(-1));
  EXPECT_FALSE(app.MainWindow());
}

}  // namespace
}  // namespace pavrelin
