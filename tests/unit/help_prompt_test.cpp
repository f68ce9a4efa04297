#include "ui/help_prompt.h"

#include <gtest/gtest.h>

#include "build_config.h"
#include "fakes/fake_platform.h"

namespace pavrelin {
namespace {

using Strings = std::vector<std::string>;

TEST(HelpPrompt, OpensModallyWithoutOwner) {
  fake::World& world = fake::Reset();
  OpenHelpPrompt();
  EXPECT_EQ(world.loads, (std::vector<fake::World::Load>{{Form::HelpPromptWindow, true}}));
}

TEST(HelpPrompt, ConfirmSwapsTheFacesThenStartsTheTimer) {
  fake::World& world = fake::Reset();
  ConfirmHelpPrompt();
  EXPECT_EQ(world.calls,
            (Strings{"SetVisible 按钮1 0", "SetVisible 标签2 0", "SetVisible 图片框1 1",
                     "SetVisible 标签1 1", "SetTimerPeriod 时钟1 3000"}));
  EXPECT_TRUE(world.urls.empty());
}

TEST(HelpPrompt, TheTimerOpensTheHelpPageOnceAndClosesThePrompt) {
  fake::World& world = fake::Reset();
  OpenHelpPage();
  EXPECT_EQ(world.calls, (Strings{"OpenUrl", "SetTimerPeriod 时钟1 0", "DestroyFormWindow"}));
  EXPECT_EQ(world.urls, Strings{config::kHelpUrl});
  EXPECT_EQ(world.destroy_requests, std::vector<Form>{Form::HelpPromptWindow});
}

TEST(HelpPrompt, HelpAddressIsAnHttpArticleWithoutQueryOrFragment) {
  const std::string url = config::kHelpUrl;
  const std::string path = "/morvane/item/d1e7c1feb2fe9e20753c4ce0";
  EXPECT_EQ(url.rfind("http://", 0), 0u);
  ASSERT_GE(url.size(), path.size());
  EXPECT_EQ(url.substr(url.size() - path.size()), path);
  EXPECT_EQ(url.find_first_of("?#"), std::string::npos);
}

TEST(SiteLink, OpensTheBareHostEveryTime) {
  fake::World& world = fake::Reset();
  OpenSiteLink();
  OpenSiteLink();
  EXPECT_EQ(world.urls, (Strings{config::kSiteAddress, config::kSiteAddress}));
  const std::string site = config::kSiteAddress;
  EXPECT_EQ(site.find_first_of(":/"), std::string::npos) << "no scheme, no path";
}

}  // namespace
}  // namespace pavrelin
