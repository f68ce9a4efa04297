// The browser box on the real platform: where it sits, what of it shows, and
// that it loads its page once.
// The test server's Winsock headers must come before windows.h.
#include "support/http_test_server.h"
#include "ui/browser_box_win.h"

#include <gtest/gtest.h>
#include <ole2.h>

#include "support/win_test_support.h"

namespace pavrelin {
namespace {

class BrowserBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    top_ = CreateWindowExA(0, "STATIC", "browser-box", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300,
                           200, nullptr, nullptr, nullptr, nullptr);
    // Stands in for the picture box that clips the browser box.
    holder_ = CreateWindowExA(0, "STATIC", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 8, 78,
                              80, 23, top_, nullptr, nullptr, nullptr);
    ASSERT_TRUE(top_ && holder_);
    ASSERT_TRUE(server_.ok());
  }
  void TearDown() override {
    DestroyWindow(top_);
    OleUninitialize();
  }
  // Settings that load path_and_query from the test server, which answers
  // the follow page.
  BrowserSettings ServedPage(const std::string& path_and_query) {
    server_.Answer("/index.php", test::Page("<html><body>follow</body></html>"));
    url_ = server_.Url(path_and_query);
    BrowserSettings settings;
    settings.url = url_.c_str();
    return settings;
  }
  void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    MSG message;
    while (GetTickCount() - start < ms) {
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
      Sleep(10);
    }
  }

  test::HttpTestServer server_;
  std::string url_;
  HWND top_ = nullptr;
  HWND holder_ = nullptr;
};

TEST_F(BrowserBoxTest, ShowsAnEightyByTwentyThreeWindowOfItsPageAndLoadsItOnce) {
  const BrowserSettings settings =
      ServedPage("/index.php?c=follow&a=quick&name=q318640&style=3&f=1#");
  HWND box = CreateBrowserBox(holder_, 10, {-2, -2, 106, 32}, WS_VISIBLE, settings);
  ASSERT_TRUE(box);
  RECT outer, holder;
  GetWindowRect(box, &outer);
  GetWindowRect(holder_, &holder);
  EXPECT_EQ(outer.right - outer.left, 106);
  EXPECT_EQ(outer.bottom - outer.top, 32);
  EXPECT_EQ(outer.left - holder.left, -2);
  EXPECT_EQ(outer.top - holder.top, -2);
  RECT seen;
  IntersectRect(&seen, &outer, &holder);
  EXPECT_EQ(seen.left - outer.left, 2);
  EXPECT_EQ(seen.top - outer.top, 2);
  EXPECT_EQ(seen.right - seen.left, 80);
  EXPECT_EQ(seen.bottom - seen.top, 23);
  EXPECT_TRUE(GetWindowLongA(box, GWL_STYLE) & WS_CLIPSIBLINGS);
  EXPECT_FALSE(GetWindow(box, GW_CHILD)) << "the control is made from the queue, not at once";

  bool loaded = false;
  const DWORD start = GetTickCount();
  while (!loaded && GetTickCount() - start < 15000) {
    Pump(50);
    loaded = !server_.Requests().empty();
  }
  ASSERT_TRUE(loaded);
  EXPECT_TRUE(GetWindow(box, GW_CHILD)) << "the control's own window lives in the box";
  Pump(1000);
  ASSERT_EQ(server_.Requests().size(), 1u);
  EXPECT_EQ(test::RequestLine(server_.Requests()[0])
                .rfind("GET /index.php?c=follow&a=quick&name=q318640&style=3&f=1 HTTP/", 0),
            0u);
  DestroyWindow(box);
  EXPECT_FALSE(IsWindow(box));
}

// A message box that the user closes ends its loop on the message it has just
// taken from the queue without dispatching it (Wine's dialog loop does so
// when the click is a message sent from another thread). The control must
// still be made when the program's own loop runs again.
TEST_F(BrowserBoxTest, IsStillMadeWhenAnEndingModalLoopDropsWhatItTook) {
  HWND box =
      CreateBrowserBox(holder_, 10, {0, 0, 80, 23}, WS_VISIBLE, ServedPage("/index.php?c=follow"));
  ASSERT_TRUE(box);

  MSG message;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 100) {
    while (PeekMessageA(&message, box, 0, 0, PM_REMOVE)) {
    }
    Sleep(10);
  }
  ASSERT_FALSE(GetWindow(box, GW_CHILD));

  EXPECT_TRUE(test::WaitUntil(
      [&] {
        Pump(50);
        return GetWindow(box, GW_CHILD) != nullptr && !server_.Requests().empty();
      },
      15000));
  Pump(500);
  EXPECT_EQ(server_.Requests().size(), 1u);
}

}  // namespace
}  // namespace pavrelin
