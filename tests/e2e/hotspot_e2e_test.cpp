// The three hotspot buttons, driven from outside against the recording netsh.
#include <gtest/gtest.h>

#include "support/app_under_test.h"
#include "support/win_test_support.h"

namespace pavrelin {
namespace {

using test::AppUnderTest;

constexpr char kBoxTitle[] = "信息：";

// The two visible edit boxes, by their place in the main window's client area
// (group box 1 lies at 0,60; the boxes at 50,13 and 50,45 inside it).
HWND NameBox(HWND main) { return test::FindControlAt(main, "Edit", 50, 73); }
HWND KeyBox(HWND main) { return test::FindControlAt(main, "Edit", 50, 105); }

void Type(HWND edit, const std::string& text) {
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Clicks a button and answers the box it brings; returns the box's text.
// The click is posted: the handler's box would hold a sent message.
std::string ClickAndAnswer(const AppUnderTest& app, HWND main, const char* caption,
                           bool* main_disabled = nullptr) {
  HWND button = test::FindChildByText(main, caption);
  if (!button) return "<no button " + std::string(caption) + ">";
  PostMessageA(button, BM_CLICK, 0, 0);
  HWND box = app.WaitForBox(kBoxTitle, 20000);
  if (!box) return "<no box>";
  const std::string text = test::MessageBoxText(box);
  if (main_disabled) *main_disabled = !IsWindowEnabled(main);
  test::PressBoxButton(box, IDOK);
  test::WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, 5000);
  return text;
}

std::vector<std::string> NetshCommands(const AppUnderTest& app) {
  std::vector<std::string> lines;
  for (const test::Record& record : test::ReadRecords(app.netsh_log())) {
    lines.push_back(record.command_line);
    EXPECT_EQ(record.show, SW_HIDE) << "netsh must run hidden";
  }
  return lines;
}

TEST(HotspotEndToEnd, EachButtonRunsItsCommandAndReportsSuccess) {
  AppUnderTest app("e2e-hotspot-success");
  HWND main = app.StartToMainWindow();
  ASSERT_TRUE(main);
  ASSERT_TRUE(NameBox(main) && KeyBox(main));
  Type(NameBox(main), "my home");
  Type(KeyBox(main), "12345678");

  struct Case {
    const char* caption;
    const char* command_line;
    const char* message;
  } const cases[] = {
      {"开启网卡①", "netsh wlan set hostednetwork mode=allow ssid=\"my home\" key=12345678",
       "开启网卡成功！"},
      {"开启无线网②", "netsh wlan start hostednetwork", "开启无线网成功！"},
      {"关闭无线网③", "netsh wlan stop hostednetwork", "关闭无线网成功！"},
  };
  std::vector<std::string> expected_commands;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    bool main_disabled = false;
    EXPECT_EQ(ClickAndAnswer(app, main, c.caption, &main_disabled), c.message);
    EXPECT_TRUE(main_disabled) << "the main window takes no input while the box is up";
    expected_commands.push_back(c.command_line);
    EXPECT_EQ(NetshCommands(app), expected_commands);
  }
}

TEST(HotspotEndToEnd, EmptyFieldsAndQuotesRunNothing) {
  AppUnderTest app("e2e-hotspot-refused");
  HWND main = app.StartToMainWindow();
  ASSERT_TRUE(main);
  EXPECT_EQ(ClickAndAnswer(app, main, "开启网卡①"), "请输入Wifi账号！（禁止使用汉字！）");
  Type(NameBox(main), "home");
  EXPECT_EQ(ClickAndAnswer(app, main, "开启网卡①"),
            "请输入Wifi密码！（≥8个字符）（请使用英文和数字设置账号！）");
  Type(KeyBox(main), "abc\"defgh");
  EXPECT_EQ(ClickAndAnswer(app, main, "开启网卡①"), "WiFi账号和密码中不能含有英文双引号！");
  EXPECT_TRUE(NetshCommands(app).empty());
}

TEST(HotspotEndToEnd, AFailingNetshIsReportedWithItsOwnWords) {
  const std::string said = "无法启动承载网络。组或资源的状态不是执行请求操作的正确状态。";
  test::ScopedEnv output("REC_OUTPUT_HEX", test::Hex("\r\n" + said + "\r\n\r\n"));
  test::ScopedEnv code("REC_EXIT", "1");
  AppUnderTest app("e2e-hotspot-failure");
  HWND main = app.StartToMainWindow();
  ASSERT_TRUE(main);
  EXPECT_EQ(ClickAndAnswer(app, main, "开启无线网②"), "开启无线网失败！\r\n\r\n" + said);
  EXPECT_EQ(NetshCommands(app), std::vector<std::string>{"netsh wlan start hostednetwork"});
}

TEST(HotspotEndToEnd, ASilentFailureShowsTheExitCode) {
  test::ScopedEnv code("REC_EXIT", "5");
  AppUnderTest app("e2e-hotspot-exit-code");
  HWND main = app.StartToMainWindow();
  ASSERT_TRUE(main);
  EXPECT_EQ(ClickAndAnswer(app, main, "关闭无线网③"), "关闭无线网失败！\r\nnetsh 退出代码：5");
}

}  // namespace
}  // namespace pavrelin
