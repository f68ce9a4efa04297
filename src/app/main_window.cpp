#include "app/main_window.h"

#include "app/window_services.h"
#include "hotspot/hosted_network.h"
#include "platform/internet.h"
#include "platform/process.h"
#include "ui/controls.h"
#include "ui/help_prompt.h"
#include "update/update.h"

namespace pavrelin {

const char kStartupNotice[] =
    "1.账号不允许使用汉字！\r\n"
    "2.密码请使用≥8位的英文和字母组成！\r\n"
    "3.请您认真按照使用说明使用此软件！\r\n"
    "4.请您右击以管理员身份运行此软件！\r\n"
    "5.本软件完全免费,如有问题请点击检查更新升级版本.";

namespace {

constexpr char kNoticeTitle[] = "温馨提示：";
constexpr int kBlueSkin = 1;

constexpr Wiring kWiring[] = {
    {Form::MainWindow, nullptr, Event::Created, InitMainWindow},
    {Form::MainWindow, "按钮1", Event::Clicked, SetHostedNetwork},
    {Form::MainWindow, "按钮2", Event::Clicked, StartHostedNetwork},
    {Form::MainWindow, "按钮3", Event::Clicked, StopHostedNetwork},
    {Form::MainWindow, "按钮5", Event::Clicked, OpenHelpPrompt},
    {Form::MainWindow, "标签4", Event::LeftButtonPressed, CheckForUpdates},
    {Form::MainWindow, "标签5", Event::LeftButtonPressed, OpenSiteLink},
    {Form::HelpPromptWindow, "按钮1", Event::Clicked, ConfirmHelpPrompt},
    {Form::HelpPromptWindow, "时钟1", Event::Periodic, OpenHelpPage},
};

}  // namespace

void InitMainWindow() {
  ApplyXpSkin(kBlueSkin);
  SetText(Form::MainWindow, "标签3", ProbeInternetConnection() ? "网络已连接" : "网络未连接");
  ShowMessageBox(kStartupNotice, kBoxOk, kNoticeTitle);
}

std::span<const Wiring> ProgramWiring() { return kWiring; }

}  // namespace pavrelin
