#include "hotspot/hosted_network.h"

#include "platform/process.h"
#include "platform/text.h"
#include "ui/controls.h"

namespace pavrelin {

namespace {

constexpr char kSetPrefix[] = "netsh wlan set hostednetwork mode=allow ssid=";
constexpr char kKeySeparator[] = " key=";
constexpr char kStartCommand[] = "netsh wlan start hostednetwork";
constexpr char kStopCommand[] = "netsh wlan stop hostednetwork";

constexpr char kNameMissing[] = "请输入Wifi账号！（禁止使用汉字！）";
constexpr char kKeyMissing[] = "请输入Wifi密码！（≥8个字符）（请使用英文和数字设置账号！）";
constexpr char kQuoteRefused[] = "WiFi账号和密码中不能含有英文双引号！";

// netsh normally answers within a second; a hung wireless service must not
// freeze the window for good.
constexpr unsigned kNetshTimeoutMs = 10000;
constexpr std::size_t kMaxReasonBytes = 2000;

struct Outcome {
  const char* success;
  const char* failure;
};
constexpr Outcome kSetOutcome{"开启网卡成功！", "开启网卡失败！"};
constexpr Outcome kStartOutcome{"开启无线网成功！", "开启无线网失败！"};
constexpr Outcome kStopOutcome{"关闭无线网成功！", "关闭无线网失败！"};

// netsh splits its arguments at blanks and tabs, so such a value is quoted.
std::string ArgumentFor(const std::string& value) {
  if (value.find_first_of(" \t") == std::string::npos) return value;
  return "\"" + value + "\"";
}

// Runs netsh hidden, waits for its end and tells the user what came of it.
void RunNetsh(const std::string& command_line, const Outcome& outcome) {
  const CapturedRun run = RunCommandCaptured(command_line, kShowHidden, kNetshTimeoutMs);
  if (run.end == CapturedRun::End::Exited && run.exit_code == 0) {
    ShowMessageBox(outcome.success, kBoxOk);
    return;
  }
  ShowMessageBox(std::string(outcome.failure) + "\r\n" + NetshFailureReason(run), kBoxError);
}

}  // namespace

std::optional<std::string> SetCommandLine(const std::string& name, const std::string& key) {
  // GBK trail bytes are never 0x22, so a byte search finds only real quotes.
  if (name.find('"') != std::string::npos || key.find('"') != std::string::npos)
    return std::nullopt;
  return kSetPrefix + ArgumentFor(name) + kKeySeparator + ArgumentFor(key);
}

std::string NetshFailureReason(const CapturedRun& run) {
  switch (run.end) {
    case CapturedRun::End::NotStarted:
      return "无法运行 netsh。";
    case CapturedRun::End::TimedOut:
      return "netsh 在 10 秒内没有结束。";
    case CapturedRun::End::Exited:
      break;
  }
  const std::string said = CutAtCharBoundary(TrimTrailingBlanks(run.output), kMaxReasonBytes);
  if (!said.empty()) return said;
  return "netsh 退出代码：" + std::to_string(run.exit_code);
}

void SetHostedNetwork() {
  if (GetText(Form::MainWindow, "编辑框1").empty()) {
    ShowMessageBox(kNameMissing, kBoxOk);
    return;
  }
  if (GetText(Form::MainWindow, "编辑框2").empty()) {
    ShowMessageBox(kKeyMissing, kBoxOk);
    return;
  }
  const auto command_line =
      SetCommandLine(GetText(Form::MainWindow, "编辑框1"), GetText(Form::MainWindow, "编辑框2"));
  if (!command_line) {
    ShowMessageBox(kQuoteRefused, kBoxOk);
    return;
  }
  RunNetsh(*command_line, kSetOutcome);
}

void StartHostedNetwork() { RunNetsh(kStartCommand, kStartOutcome); }

void StopHostedNetwork() { RunNetsh(kStopCommand, kStopOutcome); }

}  // namespace pavrelin
