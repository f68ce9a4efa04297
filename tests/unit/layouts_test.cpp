#include "ui/layouts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "ui/layout_rules.h"

namespace pavrelin {
namespace {

std::vector<std::string> Names(const Layout& layout, const std::vector<std::size_t>& indices) {
  std::vector<std::string> names;
  for (std::size_t i : indices) names.push_back(layout.controls[i].name);
  return names;
}

std::vector<std::string> TabOrderAtLoad(const Layout& layout) {
  return Names(layout, TabOrder(layout, [&](std::size_t i) {
                 return ShownAtLoad(layout, i) && !layout.controls[i].disabled;
               }));
}

constexpr Form kForms[] = {Form::MainWindow, Form::HelpPromptWindow};

TEST(Layouts, EveryParentIsAContainerEveryNameUniqueEverySettingOfItsKind) {
  for (Form form : kForms) {
    const Layout* layout = LayoutFor(form);
    ASSERT_NE(layout, nullptr);
    SCOPED_TRACE(layout->window.name);
    std::set<std::string> names;
    for (std::size_t i = 0; i < layout->count; ++i) {
      const ControlEntry& entry = layout->controls[i];
      EXPECT_TRUE(names.insert(entry.name).second) << "twice: " << entry.name;
      EXPECT_TRUE(SettingsMatchKind(entry)) << entry.name;
      if (!entry.parent) continue;
      const std::optional<std::size_t> parent = ParentOf(*layout, i);
      ASSERT_TRUE(parent) << entry.name << " has no parent " << entry.parent;
      EXPECT_TRUE(IsContainer(layout->controls[*parent].kind)) << entry.parent;
      EXPECT_NE(*parent, i);
    }
  }
}

TEST(Layouts, TabVisitsTheShownTabStopsInCreationOrder) {
  const std::vector<std::string> main = {"按钮1", "编辑框1", "编辑框2",      "按钮2",
                                         "按钮3", "按钮5",   "超文本浏览框1"};
  EXPECT_EQ(TabOrderAtLoad(*LayoutFor(Form::MainWindow)), main);
  EXPECT_EQ(TabOrderAtLoad(*LayoutFor(Form::HelpPromptWindow)), std::vector<std::string>{"按钮1"});
}

TEST(Layouts, WhatIsShownAtLoad) {
  struct Case {
    Form form;
    const char* name;
    bool shown;
  } const cases[] = {
      {Form::MainWindow, "编辑框3", false},       {Form::MainWindow, "编辑框4", false},
      {Form::MainWindow, "超文本浏览框1", true},  {Form::MainWindow, "标签3", true},
      {Form::HelpPromptWindow, "时钟1", false},   {Form::HelpPromptWindow, "标签1", false},
      {Form::HelpPromptWindow, "图片框1", false}, {Form::HelpPromptWindow, "标签2", true},
      {Form::HelpPromptWindow, "按钮1", true},
  };
  for (const Case& c : cases) {
    const Layout& layout = *LayoutFor(c.form);
    const std::optional<std::size_t> index = FindControl(layout, c.name);
    ASSERT_TRUE(index) << c.name;
    EXPECT_EQ(ShownAtLoad(layout, *index), c.shown) << c.name;
  }
}

TEST(Layouts, ClippingLeavesTheFollowButtonAndCutsTheSignalBars) {
  const Layout& main = *LayoutFor(Form::MainWindow);
  struct Case {
    const char* name;
    Rect visible;  // in the control's own coordinates
  } const cases[] = {
      {"超文本浏览框1", {2, 2, 80, 23}},  // (2,2)-(81,24) inclusive
      {"图片框2", {3, 0, 29, 23}},        // the left-most 3 columns cut off
      {"按钮1", {0, 0, 96, 24}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Rect area = VisibleArea(main, *FindControl(main, c.name));
    EXPECT_EQ(area.left, c.visible.left);
    EXPECT_EQ(area.top, c.visible.top);
    EXPECT_EQ(area.width, c.visible.width);
    EXPECT_EQ(area.height, c.visible.height);
  }
}

TEST(TabOrderRules, SortsByTabIndexAndWrapsBothWays) {
  const ControlEntry controls[] = {
      {.name = "a",
       .kind = Kind::Button,
       .parent = nullptr,
       .place = {},
       .tab_stop = true,
       .tab_index = 1},
      {.name = "b",
       .kind = Kind::Button,
       .parent = nullptr,
       .place = {},
       .tab_stop = true,
       .tab_index = 0},
      {.name = "c", .kind = Kind::Label, .parent = nullptr, .place = {}, .tab_stop = false},
      {.name = "d",
       .kind = Kind::EditBox,
       .parent = nullptr,
       .place = {},
       .tab_stop = true,
       .tab_index = 1},
      {.name = "e",
       .kind = Kind::EditBox,
       .parent = nullptr,
       .place = {},
       .tab_stop = true,
       .tab_index = 0},
  };
  const Layout layout{
      .window = {.name = "w", .place = {}, .settings = {}}, .controls = controls, .count = 5};
  const std::vector<std::size_t> order = TabOrder(layout, [](std::size_t) { return true; });
  EXPECT_EQ(Names(layout, order), (std::vector<std::string>{"e", "b", "d", "a"}));
  const std::vector<std::size_t> without_d = TabOrder(layout, [](std::size_t i) { return i != 3; });
  EXPECT_EQ(Names(layout, without_d), (std::vector<std::string>{"e", "b", "a"}));

  EXPECT_EQ(NextInTabOrder(order, 0, false), 4u) << "after the last the first again";
  EXPECT_EQ(NextInTabOrder(order, 4, true), 0u) << "before the first the last";
  EXPECT_EQ(NextInTabOrder(order, 4, false), 1u);
  EXPECT_EQ(NextInTabOrder(order, 2, false), 4u) << "from outside the order: the first";
  EXPECT_EQ(NextInTabOrder(order, std::nullopt, true), 0u);
  EXPECT_EQ(NextInTabOrder({}, 1, false), std::nullopt);
}

TEST(Layouts, TheFollowBoxLoadsTheBuildsFollowAddress) {
  const Layout& main = *LayoutFor(Form::MainWindow);
  const ControlEntry& box = main.controls[*FindControl(main, "超文本浏览框1")];
  const auto* browser = std::get_if<BrowserSettings>(&box.settings);
  ASSERT_NE(browser, nullptr);
  const std::string url = browser->url;
  EXPECT_EQ(url.substr(0, 7), "http://");
  EXPECT_NE(url.find("/index.php?c=follow&a=quick&name=q318640&style=3&f=1#"), std::string::npos);
  EXPECT_EQ(url.back(), '#');
  EXPECT_EQ(browser->font_size, 2);
  EXPECT_FALSE(browser->offline);
  EXPECT_FALSE(browser->silent);
}

}  // namespace
}  // namespace pavrelin
