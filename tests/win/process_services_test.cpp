// The process, dialog and shell services on the real platform, against the
// recorder fixture and real message boxes.
#include <gtest/gtest.h>

#include <thread>

#include "platform/process.h"
#include "support/win_test_support.h"

namespace pavrelin {
namespace {

using test::Record;

class ProcessServices : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ =
        test::FreshDirectory(::testing::UnitTest::GetInstance()->current_test_info()->name());
    log_ = directory_ + "\\run.log";
  }
  std::vector<Record> Records() const { return test::ReadRecords(log_); }
  bool WaitForRecords(std::size_t count) const {
    return test::WaitUntil([&] { return Records().size() >= count; }, 10000);
  }

  std::string directory_;
  std::string log_;
};

TEST_F(ProcessServices, RunCommandLinePassesTheSettledShowCommand) {
  test::ScopedEnv log("REC_LOG", log_);
  struct Case {
    int mode;
    int show_command;
  } const cases[] = {{-4, SW_HIDE},          {0, SW_HIDE},          {1, SW_HIDE},
                     {2, SW_SHOWNORMAL},     {3, SW_SHOWMINIMIZED}, {4, SW_SHOWMAXIMIZED},
                     {5, SW_SHOWNOACTIVATE}, {6, SW_MINIMIZE},      {7, SW_MINIMIZE},
                     {99, SW_MINIMIZE}};
  for (const Case& c : cases) ASSERT_TRUE(RunCommandLine("recorder.exe mode", true, c.mode));
  ASSERT_TRUE(RunCommandLine("recorder.exe absent", true));  // no mode given: normal

  const std::vector<Record> records = Records();
  ASSERT_EQ(records.size(), std::size(cases) + 1);
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(records[i].show, cases[i].show_command) << "mode " << cases[i].mode;
    EXPECT_TRUE(records[i].flags & STARTF_USESHOWWINDOW);
    EXPECT_FALSE(records[i].flags & STARTF_USESTDHANDLES);
  }
  EXPECT_EQ(records.back().show, SW_SHOWNORMAL);
  EXPECT_EQ(records.back().command_line, "recorder.exe absent");
}

TEST_F(ProcessServices, RunCommandLineWaitsOnlyWhenAsked) {
  test::ScopedEnv log("REC_LOG", log_);
  test::ScopedEnv sleep("REC_SLEEP_MS", "1500");  // the recorder logs as it ends
  ASSERT_TRUE(RunCommandLine("recorder.exe waited", true, 1));
  EXPECT_EQ(Records().size(), 1u);
  ASSERT_TRUE(RunCommandLine("recorder.exe not-waited", false, 1));
  EXPECT_EQ(Records().size(), 1u) << "returned only after the program had ended";
  EXPECT_TRUE(WaitForRecords(2));
}

TEST_F(ProcessServices, RunCommandLineFailsWithoutAProgram) {
  EXPECT_FALSE(RunCommandLine("", false, 1));
  EXPECT_FALSE(RunCommandLine("no-such-program-here.exe", false, 1));
  EXPECT_FALSE(RunCommandLine("", true));
}

TEST_F(ProcessServices, RunCommandCapturedReadsOutputAndExitCode) {
  test::ScopedEnv log("REC_LOG", log_);
  const std::string said = "无法启动承载网络。组或资源的状态不是执行请求操作的正确状态。\r\n";
  test::ScopedEnv out("REC_OUTPUT_HEX", test::Hex(said));
  test::ScopedEnv err("REC_ERROR_HEX", test::Hex("stderr too\r\n"));
  test::ScopedEnv code("REC_EXIT", "1");
  const CapturedRun run = RunCommandCaptured("recorder.exe wlan start hostednetwork", 1, 10000);
  EXPECT_EQ(run.end, CapturedRun::End::Exited);
  EXPECT_EQ(run.exit_code, 1u);
  EXPECT_EQ(run.output, said + "stderr too\r\n");
  const std::vector<Record> records = Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].show, SW_HIDE);
  EXPECT_EQ(records[0].command_line, "recorder.exe wlan start hostednetwork");
}

TEST_F(ProcessServices, RunCommandCapturedKeepsALargeOutputWithoutBlocking) {
  test::ScopedEnv log("REC_LOG", log_);
  test::ScopedEnv out("REC_OUTPUT_HEX", test::Hex(std::string(200000, 'x')));
  test::ScopedEnv code("REC_EXIT", "0");
  const CapturedRun run = RunCommandCaptured("recorder.exe big", 1, 10000);
  EXPECT_EQ(run.end, CapturedRun::End::Exited);
  EXPECT_EQ(run.exit_code, 0u);
  EXPECT_GE(run.output.size(), 2000u);
  EXPECT_LE(run.output.size(), 200000u);
}

TEST_F(ProcessServices, RunCommandCapturedStopsWaitingAtTheBound) {
  test::ScopedEnv log("REC_LOG", log_);
  test::ScopedEnv sleep("REC_SLEEP_MS", "4000");
  const CapturedRun run = RunCommandCaptured("recorder.exe slow", 1, 500);
  EXPECT_EQ(run.end, CapturedRun::End::TimedOut);
  EXPECT_TRUE(Records().empty()) << "the program was still running, left alone";
  EXPECT_TRUE(WaitForRecords(1)) << "the program ran on to its end";
}

TEST_F(ProcessServices, RunCommandCapturedReportsAProgramThatCannotStart) {
  EXPECT_EQ(RunCommandCaptured("no-such-netsh.exe wlan", 1, 1000).end,
            CapturedRun::End::NotStarted);
  EXPECT_EQ(RunCommandCaptured("", 1, 1000).end, CapturedRun::End::NotStarted);
}

// Windows runs a command line of up to 32,766 characters and refuses a longer
// one; Wine, left to itself, would run a cut-off remainder of some of them.
TEST_F(ProcessServices, RunsACommandLineWholeOrNotAtAll) {
  test::ScopedEnv log("REC_LOG", log_);
  const std::string program = "recorder.exe ";
  std::string gbk_30000;  // 60,000 bytes, but only 30,000 characters
  for (int i = 0; i < 15000; ++i) gbk_30000 += "网络";
  struct Case {
    const char* what;
    std::string command_line;
    bool runs;
  } const cases[] = {
      {"32,766 characters", program + std::string(32766 - program.size(), 'a'), true},
      {"32,767 characters", program + std::string(32767 - program.size(), 'a'), false},
      {"70,000 bytes", program + std::string(70000, 'a'), false},
      {"30,000 double-byte characters", program + gbk_30000, true},
      {"50,000 double-byte characters", program + gbk_30000 + gbk_30000.substr(0, 40000), false},
  };
  std::size_t runs = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(RunCommandLine(c.command_line, true, 1), c.runs);
    const CapturedRun run = RunCommandCaptured(c.command_line, 1, 10000);
    EXPECT_EQ(run.end, c.runs ? CapturedRun::End::Exited : CapturedRun::End::NotStarted);
    if (c.runs) runs += 2;
    const std::vector<Record> records = Records();
    ASSERT_EQ(records.size(), runs);
    if (c.runs) {
      EXPECT_TRUE(records[runs - 2].command_line == c.command_line);
      EXPECT_TRUE(records[runs - 1].command_line == c.command_line);
    }
  }
}

// Answers the next box with the given title from a second thread, as a user would.
struct BoxAnswer {
  std::string title;
  std::string text;
  bool owner_disabled = false;
};

std::thread AnswerBox(const char* title, int button, BoxAnswer* seen, HWND watched = nullptr) {
  return std::thread([=] {
    HWND box = test::WaitForMessageBox(title, 10000, GetCurrentProcessId());
    if (!box) return;
    seen->title = test::WindowText(box);
    seen->text = test::MessageBoxText(box);
    if (watched) seen->owner_disabled = !IsWindowEnabled(watched);
    if (button == IDCLOSE)
      PostMessageA(box, WM_CLOSE, 0, 0);
    else
      test::PressBoxButton(box, button);
  });
}

TEST(ShowMessageBox, UsesTheDefaultTitleAndMapsTheButtons) {
  struct Case {
    const char* text;
    unsigned flags;
    const char* title;
    int press;
    int code;
  } const cases[] = {
      {"开启网卡成功！", 0, nullptr, IDOK, kButtonOk},
      {"已经有新版本是否更新？", 4, nullptr, IDYES, kButtonYes},
      {"已经有新版本是否更新？", 4, nullptr, IDNO, kButtonNo},
      {"恭喜您是最新版本！！！", 0, "检查更新：", IDOK, kButtonOk},
      {"closed", 0, nullptr, IDCLOSE, kButtonOk},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const char* expected_title = c.title ? c.title : "信息：";
    BoxAnswer seen;
    std::thread answer = AnswerBox(expected_title, c.press, &seen);
    EXPECT_EQ(ShowMessageBox(c.text, c.flags, c.title), c.code);
    answer.join();
    EXPECT_EQ(seen.title, expected_title);
    EXPECT_EQ(seen.text, c.text);
  }
}

TEST(ShowMessageBox, DisablesTheThreadsWindowsUnlessSystemModal) {
  HWND window = CreateWindowExA(0, "STATIC", "owner-check", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                200, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(window);
  BoxAnswer task_modal;
  std::thread answer = AnswerBox("信息：", IDOK, &task_modal, window);
  ShowMessageBox("task modal", 0);
  answer.join();
  EXPECT_TRUE(task_modal.owner_disabled);
  EXPECT_TRUE(IsWindowEnabled(window)) << "enabled again after the box";
  DestroyWindow(window);
}

TEST(PauseMilliseconds, ReturnsAtOnceForANegativeValue) {
  const DWORD start = GetTickCount();
  PauseMilliseconds(-5);
  EXPECT_LT(GetTickCount() - start, 200u);
}

TEST_F(ProcessServices, OpenUrlHandsTheAddressUnchangedToTheBrowser) {
  ASSERT_TRUE(test::RegisterRecordingBrowser());
  test::ScopedEnv log("REC_LOG", log_);

  OpenUrl("http://blog.example.com/morvane/item/d1e7c1feb2fe9e20753c4ce0");
  ASSERT_TRUE(WaitForRecords(1));
  OpenUrl("www.example.com");
  ASSERT_TRUE(WaitForRecords(2));
  EXPECT_EQ(
      test::BrowserAddresses(log_),
      (std::vector<std::string>{"http://blog.example.com/morvane/item/d1e7c1feb2fe9e20753c4ce0",
                                "http://www.example.com"}));
}

}  // namespace
}  // namespace pavrelin
