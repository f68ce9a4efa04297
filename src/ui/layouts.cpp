#include "ui/layouts.h"

#include <iterator>

#include "build_config.h"

namespace pavrelin {

namespace {

constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kBlue = Rgb(0, 0, 255);
constexpr Colour kNavy = Rgb(0, 0, 128);
constexpr Colour kOrange = Rgb(255, 128, 0);

// 标签4: a 12-pixel GB2312 face, underlined, the system's default face.
constexpr FontRecord kUpdateLinkFont{
    .height = -12, .weight = 400, .underline = 1, .char_set = 134, .face_name = ""};

constexpr EditSettings kInputEdit{.border = 5};
constexpr LabelSettings Caption(const char* caption, Colour colour,
                                const FontRecord* font = nullptr) {
  return LabelSettings{
      .caption = caption, .font = font, .text_colour = colour, .background = kWhite};
}
constexpr ButtonSettings Push(const char* caption) { return ButtonSettings{.caption = caption}; }
constexpr GroupSettings kWhitePanel{.background = kWhite};

constexpr ControlEntry kMainControls[] = {
    {.name = "编辑框4",
     .kind = Kind::EditBox,
     .parent = "图片框1",
     .place = {176, 16, 72, 24},
     .visible = false,
     .tab_stop = true,
     .settings = EditSettings{}},
    {.name = "编辑框3",
     .kind = Kind::EditBox,
     .parent = "图片框1",
     .place = {48, 16, 80, 24},
     .visible = false,
     .tab_stop = true,
     .settings = EditSettings{}},
    {.name = "标签5",
     .kind = Kind::Label,
     .parent = "分组框2",
     .place = {120, 13, 96, 16},
     .pointer = Pointer::Hand,
     .settings = Caption("Morvane官方网站", kBlue)},
    {.name = "标签4",
     .kind = Kind::Label,
     .parent = "分组框2",
     .place = {255, 14, 54, 16},
     .pointer = Pointer::Hand,
     .settings = Caption("检查更新", kNavy, &kUpdateLinkFont)},
    {.name = "图片框2",
     .kind = Kind::PictureBox,
     .parent = "分组框2",
     .place = {-3, 10, 32, 23},
     .settings = PictureSettings{.picture = Picture::SignalBars, .display_mode = 1}},
    {.name = "标签3",
     .kind = Kind::Label,
     .parent = "分组框2",
     .place = {33, 13, 71, 16},
     .settings = Caption("", kOrange)},
    {.name = "分组框2",
     .kind = Kind::GroupBox,
     .parent = nullptr,
     .place = {0, 161, 311, 40},
     .settings = kWhitePanel},
    {.name = "图片框1",
     .kind = Kind::PictureBox,
     .parent = nullptr,
     .place = {0, 0, 312, 64},
     .settings = PictureSettings{.picture = Picture::Banner, .display_mode = 1}},
    {.name = "覆盖微博框",
     .kind = Kind::PictureBox,
     .parent = "分组框1",
     .place = {8, 78, 80, 23},
     .settings = PictureSettings{}},
    {.name = "超文本浏览框1",
     .kind = Kind::BrowserBox,
     .parent = "覆盖微博框",
     .place = {-2, -2, 106, 32},
     .tab_stop = true,
     .settings = BrowserSettings{.url = config::kFollowUrl}},
    {.name = "按钮5",
     .kind = Kind::Button,
     .parent = "分组框1",
     .place = {97, 77, 95, 24},
     .tab_stop = true,
     .pointer = Pointer::Hand,
     .settings = Push("使用说明")},
    {.name = "标签2",
     .kind = Kind::Label,
     .parent = "分组框1",
     .place = {13, 51, 32, 16},
     .settings = Caption("密码：", kBlue)},
    {.name = "标签1",
     .kind = Kind::Label,
     .parent = "分组框1",
     .place = {13, 15, 30, 24},
     .settings = Caption("账号：", kBlue)},
    {.name = "按钮3",
     .kind = Kind::Button,
     .parent = "分组框1",
     .place = {208, 77, 96, 24},
     .tab_stop = true,
     .pointer = Pointer::Hand,
     .settings = Push("关闭无线网③")},
    {.name = "按钮2",
     .kind = Kind::Button,
     .parent = "分组框1",
     .place = {208, 45, 96, 24},
     .tab_stop = true,
     .pointer = Pointer::Hand,
     .settings = Push("开启无线网②")},
    {.name = "编辑框2",
     .kind = Kind::EditBox,
     .parent = "分组框1",
     .place = {50, 45, 152, 24},
     .tab_stop = true,
     .settings = kInputEdit},
    {.name = "编辑框1",
     .kind = Kind::EditBox,
     .parent = "分组框1",
     .place = {50, 13, 152, 24},
     .tab_stop = true,
     .settings = kInputEdit},
    {.name = "按钮1",
     .kind = Kind::Button,
     .parent = "分组框1",
     .place = {208, 13, 96, 24},
     .tab_stop = true,
     .pointer = Pointer::Hand,
     .settings = Push("开启网卡①")},
    {.name = "分组框1",
     .kind = Kind::GroupBox,
     .parent = nullptr,
     .place = {0, 60, 310, 107},
     .settings = kWhitePanel},
};

constexpr ControlEntry kHelpPromptControls[] = {
    {.name = "时钟1",
     .kind = Kind::Timer,
     .parent = nullptr,
     .place = {176, 48, 24, 32},
     .settings = TimerSettings{}},
    {.name = "按钮1",
     .kind = Kind::Button,
     .parent = nullptr,
     .place = {56, 48, 96, 24},
     .tab_stop = true,
     .settings = Push("确定")},
    {.name = "标签2",
     .kind = Kind::Label,
     .parent = nullptr,
     .place = {48, 8, 120, 32},
     .settings = Caption("是否在线查看帮助？", kBlue)},
    {.name = "标签1",
     .kind = Kind::Label,
     .parent = nullptr,
     .place = {56, 48, 96, 24},
     .visible = false,
     .settings = Caption("正在载入。。。", kNavy)},
    {.name = "图片框1",
     .kind = Kind::PictureBox,
     .parent = nullptr,
     .place = {8, 24, 192, 16},
     .visible = false,
     .settings = PictureSettings{.background = kWhite, .picture = Picture::Progress}},
};

constexpr Layout kMainWindow{
    .window = {.name = "MainWindow",
               .place = {50, 50, 316, 219},
               .settings = {.caption = "Pavrelin--Beta 4", .minimise_button = true}},
    .controls = kMainControls,
    .count = std::size(kMainControls),
};

constexpr Layout kHelpPromptWindow{
    .window = {.name = "HelpPromptWindow",
               .place = {50, 50, 212, 114},
               .settings = {.caption = "使用说明：", .background = kWhite}},
    .controls = kHelpPromptControls,
    .count = std::size(kHelpPromptControls),
};

}  // namespace

const Layout* LayoutFor(Form form) {
  switch (form) {
    case Form::MainWindow:
      return &kMainWindow;
    case Form::HelpPromptWindow:
      return &kHelpPromptWindow;
  }
  return nullptr;
}

}  // namespace pavrelin
