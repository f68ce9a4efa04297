// The help prompt, the site link and the follow widget of the real program.
// The test server's Winsock headers must come before windows.h.
#include "support/http_test_server.h"

#include <gtest/gtest.h>

#include "build_config.h"
#include "support/app_under_test.h"
#include "support/win_test_support.h"

namespace pavrelin {
namespace {

using test::AppUnderTest;

constexpr char kPromptTitle[] = "使用说明：";

POINT Centre(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

class HelpEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::RegisterRecordingBrowser());
    main_ = app_.StartToMainWindow();
    ASSERT_TRUE(main_);
  }

  HWND OpenPrompt() {
    PostMessageA(test::FindChildByText(main_, "使用说明"), BM_CLICK, 0, 0);
    return test::WaitForWindow(nullptr, kPromptTitle, 10000, app_.pid());
  }
  std::vector<std::string> Opened() const { return test::BrowserAddresses(app_.netsh_log()); }
  bool WaitForMainEnabled() const {
    return test::WaitUntil([&] { return IsWindowEnabled(main_) != FALSE; }, 10000);
  }

  AppUnderTest app_{"e2e-help"};
  HWND main_ = nullptr;
};

TEST_F(HelpEndToEnd, ConfirmShowsTheLoadingFaceThenOpensTheHelpOnceAndCloses) {
  HWND prompt = OpenPrompt();
  ASSERT_TRUE(prompt);
  // The prompt is shown first, then the other windows are disabled.
  EXPECT_TRUE(test::WaitUntil([&] { return !IsWindowEnabled(main_); }, 5000));
  RECT rect;
  GetWindowRect(prompt, &rect);
  EXPECT_EQ(rect.right - rect.left, 212);
  EXPECT_EQ(rect.bottom - rect.top, 114);
  HWND confirm = test::FindChildByText(prompt, "确定");
  HWND question = test::FindChildByText(prompt, "是否在线查看帮助？");
  HWND loading = test::FindChildByText(prompt, "正在载入。。。");
  ASSERT_TRUE(confirm && question && loading);
  EXPECT_TRUE(IsWindowVisible(confirm) && IsWindowVisible(question));
  EXPECT_FALSE(IsWindowVisible(loading));

  const DWORD clicked = GetTickCount();
  PostMessageA(confirm, BM_CLICK, 0, 0);
  ASSERT_TRUE(test::WaitUntil([&] { return IsWindowVisible(loading) != FALSE; }, 2000));
  EXPECT_FALSE(IsWindowVisible(confirm));
  EXPECT_FALSE(IsWindowVisible(question));
  EXPECT_TRUE(Opened().empty()) << "nothing opens before the three seconds";

  ASSERT_TRUE(test::WaitUntil([&] { return !Opened().empty(); }, 10000));
  const DWORD elapsed = GetTickCount() - clicked;
  EXPECT_GE(elapsed, 2900u);
  EXPECT_LE(elapsed, 6000u);
  EXPECT_EQ(Opened(), std::vector<std::string>{config::kHelpUrl});
  EXPECT_TRUE(test::WaitUntil([&] { return !IsWindow(prompt); }, 5000));
  EXPECT_TRUE(WaitForMainEnabled());
  EXPECT_FALSE(test::WaitUntil([&] { return Opened().size() > 1; }, 4000)) << "opened once only";
}

TEST_F(HelpEndToEnd, ClosingThePromptOpensNothingAndItOpensAskingAgain) {
  struct Case {
    const char* what;
    bool confirm_first;
    bool esc;
  } const cases[] = {
      {"Esc while asking", false, true},
      {"close button while asking", false, false},
      {"Esc while loading", true, true},
      {"close button while loading", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HWND prompt = OpenPrompt();
    ASSERT_TRUE(prompt);
    HWND confirm = test::FindChildByText(prompt, "确定");
    ASSERT_TRUE(confirm);
    EXPECT_TRUE(IsWindowVisible(confirm)) << "every opening starts asking";
    if (c.confirm_first) {
      PostMessageA(confirm, BM_CLICK, 0, 0);
      ASSERT_TRUE(test::WaitUntil([&] { return !IsWindowVisible(confirm); }, 2000));
    }
    if (c.esc)
      PostMessageA(GetFocus() ? GetFocus() : prompt, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    else
      PostMessageA(prompt, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(test::WaitUntil([&] { return !IsWindow(prompt); }, 5000));
    EXPECT_TRUE(WaitForMainEnabled());
  }
  EXPECT_FALSE(test::WaitUntil([&] { return !Opened().empty(); }, 4000)) << "the timer died";
}

TEST_F(HelpEndToEnd, TheMainWindowIgnoresClicksWhileThePromptIsOpen) {
  HWND prompt = OpenPrompt();
  ASSERT_TRUE(prompt);
  HWND start = test::FindChildByText(main_, "开启无线网②");
  ASSERT_TRUE(start);
  RECT button, covered;
  GetWindowRect(start, &button);
  GetWindowRect(prompt, &covered);
  // A point of the button that the prompt does not cover.
  const int x = button.right - 4 > covered.right ? button.right - 4 : button.left + 4;
  const int y = (button.top + button.bottom) / 2;
  test::Click(x, y);
  EXPECT_FALSE(app_.WaitForBox("信息：", 1500));
  EXPECT_FALSE(test::FileExists(app_.netsh_log()));
  PostMessageA(prompt, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(WaitForMainEnabled());
}

TEST(SiteLinkEndToEnd, EachLeftPressOpensTheSiteAndTheRightButtonNothing) {
  ASSERT_TRUE(test::RegisterRecordingBrowser());
  AppUnderTest app("e2e-site");
  HWND main = app.StartToMainWindow();
  ASSERT_TRUE(main);
  HWND link = test::FindChildByText(main, "Morvane官方网站");
  ASSERT_TRUE(link);
  const POINT at = Centre(link);
  const std::string site = std::string("http://") + config::kSiteAddress;
  const auto opened = [&] { return test::BrowserAddresses(app.netsh_log()); };

  test::MouseDown(at.x, at.y);
  EXPECT_TRUE(test::WaitUntil([&] { return opened().size() == 1; }, 10000))
      << "opens on the press, before the release";
  test::MouseUp(at.x + 200, at.y + 200);  // released elsewhere: nothing is cancelled
  test::Click(at.x, at.y);
  EXPECT_TRUE(test::WaitUntil([&] { return opened().size() == 2; }, 10000));
  test::Click(at.x, at.y, /*right=*/true);
  EXPECT_FALSE(test::WaitUntil([&] { return opened().size() > 2; }, 2000));
  EXPECT_EQ(opened(), (std::vector<std::string>{site, site}));
}

TEST(FollowWidgetEndToEnd, ThePageIsRequestedOncePerStart) {
  test::HttpTestServer server(18470);
  ASSERT_TRUE(server.ok());
  server.Answer("/portal/", test::Page("portal"));
  server.Answer("/index.php", test::Page("<html><body>follow</body></html>"));
  const auto follow_requests = [&] {
    std::size_t count = 0;
    for (const std::string& request : server.Requests())
      if (test::RequestLine(request).rfind(
              "GET /index.php?c=follow&a=quick&name=q318640&style=3&f=1 HTTP/", 0) == 0)
        ++count;
    return count;
  };
  AppUnderTest app("e2e-follow");
  HWND main = app.StartToMainWindow();
  ASSERT_TRUE(main);
  ASSERT_TRUE(test::WaitUntil([&] { return follow_requests() == 1; }, 15000))
      << "requests seen: " << server.Requests().size();
  SendMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  SendMessageA(main, WM_SYSCOMMAND, SC_RESTORE, 0);
  RedrawWindow(main, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_FALSE(test::WaitUntil([&] { return follow_requests() > 1; }, 3000));
}

}  // namespace
}  // namespace pavrelin
