#include "hotspot/hosted_network.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace pavrelin {
namespace {

using fake::Box;

constexpr char kSetPrefix[] = "netsh wlan set hostednetwork mode=allow ssid=";

void TypeNameAndKey(const std::string& name, const std::string& key) {
  fake::SetControlText(Form::MainWindow, "编辑框1", name);
  fake::SetControlText(Form::MainWindow, "编辑框2", key);
}

struct CommandCase {
  const char* what;
  std::string name;
  std::string key;
  std::string expected;  // the tail after "ssid="
};

TEST(SetHostedNetwork, BuildsTheCommandLineByteForByte) {
  const CommandCase cases[] = {
      {"plain", "home", "12345678", "home key=12345678"},
      {"blank in name", "my home", "12345678", "\"my home\" key=12345678"},
      {"blank in key", "home", "abc 1234", "home key=\"abc 1234\""},
      {"tab", "a\tb", "k\tk", "\"a\tb\" key=\"k\tk\""},
      {"blanks only", "   ", "12345678", "\"   \" key=12345678"},
      {"GBK name", "我的网络", "12345678", "我的网络 key=12345678"},
      {"ampersand", "a&b", "x&y", "a&b key=x&y"},
      {"percent", "%PATH%", "50%off", "%PATH% key=50%off"},
      {"short key", "home", "1", "home key=1"},
      {"shell characters", "^|<>", "!;=", "^|<> key=!;="},
  };
  for (const CommandCase& c : cases) {
    SCOPED_TRACE(c.what);
    fake::World& world = fake::Reset();
    TypeNameAndKey(c.name, c.key);
    SetHostedNetwork();
    ASSERT_EQ(world.captured_commands.size(), 1u);
    EXPECT_EQ(world.captured_commands[0], kSetPrefix + c.expected);
    EXPECT_EQ(world.captured_timeouts[0], 10000u);
    EXPECT_EQ(world.boxes, (std::vector<Box>{{"开启网卡成功！", 0, ""}}));
  }
}

TEST(SetHostedNetwork, RefusesEmptyValuesAndQuotesWithoutRunning) {
  struct Case {
    const char* what;
    std::string name;
    std::string key;
    std::string message;
  } const cases[] = {
      {"both empty: name first", "", "", "请输入Wifi账号！（禁止使用汉字！）"},
      {"name empty", "", "12345678", "请输入Wifi账号！（禁止使用汉字！）"},
      {"key empty", "home", "", "请输入Wifi密码！（≥8个字符）（请使用英文和数字设置账号！）"},
      {"quote in name", "a\"b", "12345678", "WiFi账号和密码中不能含有英文双引号！"},
      {"quote in key", "home", "1234\"5678", "WiFi账号和密码中不能含有英文双引号！"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fake::World& world = fake::Reset();
    TypeNameAndKey(c.name, c.key);
    SetHostedNetwork();
    EXPECT_TRUE(world.captured_commands.empty());
    EXPECT_TRUE(world.run_commands.empty());
    EXPECT_TRUE(world.pauses.empty());
    EXPECT_EQ(world.boxes, (std::vector<Box>{{c.message, 0, ""}}));
  }
}

TEST(SetHostedNetwork, ReadsTheNameBeforeTheKey) {
  fake::World& world = fake::Reset();
  TypeNameAndKey("", "");
  SetHostedNetwork();
  EXPECT_EQ(world.calls, (std::vector<std::string>{"GetText 编辑框1", "ShowMessageBox"}));
}

using Command = void (*)();

struct OutcomeCase {
  const char* what;
  CapturedRun run;
  std::string reason;  // empty: the success box
};

const OutcomeCase kOutcomes[] = {
    {"exit 0", {CapturedRun::End::Exited, 0, "承载网络模式已设置为允许。\r\n"}, ""},
    {"exit 1 with output",
     {CapturedRun::End::Exited, 1,
      "无法启动承载网络。组或资源的状态不是执行请求操作的正确状态。\r\n\r\n"},
     "无法启动承载网络。组或资源的状态不是执行请求操作的正确状态。"},
    {"exit 5, silent", {CapturedRun::End::Exited, 5, ""}, "netsh 退出代码：5"},
    {"exit 1, only blanks", {CapturedRun::End::Exited, 1, " \r\n\t \n"}, "netsh 退出代码：1"},
    {"large exit code", {CapturedRun::End::Exited, 3221225477u, ""}, "netsh 退出代码：3221225477"},
    {"not started", {CapturedRun::End::NotStarted, 0, ""}, "无法运行 netsh。"},
    {"timed out", {CapturedRun::End::TimedOut, 0, "partial"}, "netsh 在 10 秒内没有结束。"},
};

TEST(HostedNetworkCommands, ShowSuccessOnlyWhenNetshExitsWithZero) {
  struct CommandRow {
    Command run;
    const char* command_line;
    const char* success;
    const char* failure;
  } const commands[] = {
      {SetHostedNetwork, "netsh wlan set hostednetwork mode=allow ssid=home key=12345678",
       "开启网卡成功！", "开启网卡失败！"},
      {StartHostedNetwork, "netsh wlan start hostednetwork", "开启无线网成功！",
       "开启无线网失败！"},
      {StopHostedNetwork, "netsh wlan stop hostednetwork", "关闭无线网成功！", "关闭无线网失败！"},
  };
  for (const CommandRow& command : commands) {
    for (const OutcomeCase& outcome : kOutcomes) {
      SCOPED_TRACE(std::string(command.command_line) + " / " + outcome.what);
      fake::World& world = fake::Reset();
      TypeNameAndKey("home", "12345678");
      world.captured_results.push_back(outcome.run);
      command.run();
      EXPECT_EQ(world.captured_commands, (std::vector<std::string>{command.command_line}));
      const Box expected =
          outcome.reason.empty()
              ? Box{command.success, 0, ""}
              : Box{std::string(command.failure) + "\r\n" + outcome.reason, 0x10, ""};
      EXPECT_EQ(world.boxes, (std::vector<Box>{expected}));
    }
  }
}

TEST(HostedNetworkCommands, StartAndStopReadNoControls) {
  fake::World& world = fake::Reset();
  StartHostedNetwork();
  StopHostedNetwork();
  StartHostedNetwork();
  EXPECT_EQ(world.calls,
            (std::vector<std::string>{"RunCommandCaptured", "ShowMessageBox", "RunCommandCaptured",
                                      "ShowMessageBox", "RunCommandCaptured", "ShowMessageBox"}));
}

TEST(NetshFailureReason, CutsLongOutputAtACharacterBoundary) {
  // 1999 ASCII bytes then a GBK character: taking it would make 2001 bytes.
  std::string output(1999, 'x');
  output += "网络";
  const std::string reason = NetshFailureReason({CapturedRun::End::Exited, 1, output});
  EXPECT_EQ(reason, std::string(1999, 'x'));

  std::string even(1998, 'y');
  even += "网络";
  EXPECT_EQ(NetshFailureReason({CapturedRun::End::Exited, 1, even}), std::string(1998, 'y') + "网");

  const std::string huge(100000, 'z');
  EXPECT_EQ(NetshFailureReason({CapturedRun::End::Exited, 1, huge}).size(), 2000u);
}

}  // namespace
}  // namespace pavrelin
