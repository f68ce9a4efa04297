#include "app/main_window.h"

#include <gtest/gtest.h>

#include <cstring>

#include "fakes/fake_platform.h"

namespace pavrelin {
namespace {

TEST(InitMainWindow, SkinsProbesThenShowsTheNotice) {
  for (const bool online : {true, false}) {
    fake::World& world = fake::Reset();
    world.probe_result = online;
    InitMainWindow();
    EXPECT_EQ(world.skin_styles, std::vector<int>{1});
    EXPECT_EQ((world.texts[{Form::MainWindow, "标签3"}]), online ? "网络已连接" : "网络未连接");
    EXPECT_EQ(world.boxes, (std::vector<fake::Box>{{kStartupNotice, 0, "温馨提示："}}));
    EXPECT_EQ(world.calls, (std::vector<std::string>{"ApplyXpSkin 1", "ProbeInternetConnection",
                                                     "SetText 标签3", "ShowMessageBox"}));
  }
}

TEST(InitMainWindow, TheNoticeIsFiveLinesOf181Bytes) {
  const std::string notice = kStartupNotice;
  EXPECT_EQ(notice.size(), 181u);
  EXPECT_EQ(notice.substr(notice.rfind("\r\n") + 2),
            "5.本软件完全免费,如有问题请点击检查更新升级版本.");
  EXPECT_EQ(std::string("5.本软件完全免费,如有问题请点击检查更新升级版本.").size(), 48u);
  EXPECT_NE(notice.back(), '\n');
}

TEST(ProgramWiring, BindsEveryHandledEventOnce) {
  struct Row {
    Form form;
    const char* control;
    Event event;
  } const expected[] = {
      {Form::MainWindow, nullptr, Event::Created},
      {Form::MainWindow, "按钮1", Event::Clicked},
      {Form::MainWindow, "按钮2", Event::Clicked},
      {Form::MainWindow, "按钮3", Event::Clicked},
      {Form::MainWindow, "按钮5", Event::Clicked},
      {Form::MainWindow, "标签4", Event::LeftButtonPressed},
      {Form::MainWindow, "标签5", Event::LeftButtonPressed},
      {Form::HelpPromptWindow, "按钮1", Event::Clicked},
      {Form::HelpPromptWindow, "时钟1", Event::Periodic},
  };
  const auto wiring = ProgramWiring();
  ASSERT_EQ(wiring.size(), std::size(expected));
  for (std::size_t i = 0; i < wiring.size(); ++i) {
    EXPECT_EQ(wiring[i].form, expected[i].form) << i;
    EXPECT_EQ(wiring[i].event, expected[i].event) << i;
    EXPECT_TRUE(wiring[i].control == expected[i].control ||
                std::strcmp(wiring[i].control, expected[i].control) == 0)
        << i;
    EXPECT_NE(wiring[i].handler, nullptr);
  }
}

}  // namespace
}  // namespace pavrelin
