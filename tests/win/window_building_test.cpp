// Both layouts built for real through LoadWindow, the accessors on the live
// windows, the keyboard rules, modality and the close routes.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/window_services.h"
#include "support/win_test_support.h"
#include "ui/controls.h"
#include "ui/layouts.h"
#include "ui/live_window_win.h"

namespace pavrelin {
namespace {

// What the test handlers saw. Handlers are plain routines, so they report here.
struct Seen {
  int clicks = 0;
  int presses = 0;
  std::vector<DWORD> periodic_ticks;
  std::function<void()> on_periodic;
  std::function<void()> on_click;
  std::function<void()> on_created;
};
Seen seen;

void Clicked() {
  ++seen.clicks;
  if (seen.on_click) seen.on_click();
}
void Pressed() { ++seen.presses; }
void Periodic() {
  seen.periodic_ticks.push_back(GetTickCount());
  if (seen.on_periodic) seen.on_periodic();
}
void Created() {
  if (seen.on_created) seen.on_created();
}

constexpr Wiring kTestWiring[] = {
    {Form::MainWindow, "按钮1", Event::Clicked, Clicked},
    {Form::MainWindow, "标签4", Event::LeftButtonPressed, Pressed},
    {Form::HelpPromptWindow, nullptr, Event::Created, Created},
    {Form::HelpPromptWindow, "时钟1", Event::Periodic, Periodic},
    {Form::HelpPromptWindow, "计时器", Event::Periodic, Periodic},
};

// Dispatches this thread's messages, with the windows' keyboard rules, until
// the condition holds or the bound has passed.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return condition();
      }
      if (TranslateWindowKeys(msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (condition()) return true;
    if (GetTickCount() - start >= timeout_ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

// Lets the queue run for a while: for checking that something does NOT happen.
void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

HWND Frame(Form form) {
  LiveWindow* window = FindLiveWindow(form);
  return window ? window->hwnd() : nullptr;
}

HWND Control(Form form, const char* name) {
  LiveWindow* window = FindLiveWindow(form);
  LiveControl* control = window ? window->Find(name) : nullptr;
  return control ? control->hwnd : nullptr;
}

// The control that is or holds this window (the browser box holds the
// browser's own windows).
std::string NameOf(Form form, HWND hwnd) {
  LiveWindow* window = FindLiveWindow(form);
  if (!window) return "(no window)";
  if (hwnd == window->hwnd()) return "(window)";
  for (HWND at = hwnd; at && at != window->hwnd(); at = GetParent(at))
    if (LiveControl* control = window->FromHwnd(at)) return control->entry.name;
  return "(other)";
}

bool SendKey(HWND target, WPARAM key) {
  MSG msg{};
  msg.hwnd = target;
  msg.message = WM_KEYDOWN;
  msg.wParam = key;
  return TranslateWindowKeys(msg);
}

void SetShift(bool down) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    seen = Seen{};
    SetWiring(kTestWiring);
    // As in the program: the browser box needs OLE on the UI thread.
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
  }
  void TearDown() override {
    SetShift(false);
    for (Form form : {Form::HelpPromptWindow, Form::MainWindow})
      if (HWND frame = Frame(form)) SendMessageA(frame, WM_CLOSE, 0, 0);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    OleUninitialize();
  }
};

TEST_F(WindowTest, BothWindowsOpenCentredWithTheirSizeAndFixedFrame) {
  struct Case {
    Form form;
    const char* caption;
    int width;
    int height;
    bool minimise_box;
  } const cases[] = {
      {Form::MainWindow, "Pavrelin--Beta 4", 316, 219, true},
      {Form::HelpPromptWindow, "使用说明：", 212, 114, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    ASSERT_TRUE(LoadWindow(c.form, std::nullopt, false));
    EXPECT_FALSE(LoadWindow(c.form, std::nullopt, false)) << "one live window per layout";
    const HWND frame = Frame(c.form);
    ASSERT_TRUE(frame);
    EXPECT_TRUE(IsWindowVisible(frame));
    EXPECT_EQ(GetParent(frame), nullptr);
    EXPECT_EQ(GetWindow(frame, GW_OWNER), nullptr);
    char title[64] = {};
    GetWindowTextA(frame, title, sizeof title);
    EXPECT_STREQ(title, c.caption);
    RECT rect;
    GetWindowRect(frame, &rect);
    EXPECT_EQ(rect.right - rect.left, c.width);
    EXPECT_EQ(rect.bottom - rect.top, c.height);
    EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - c.width) / 2);
    EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - c.height) / 2);
    const LONG_PTR style = GetWindowLongPtrA(frame, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_THICKFRAME) << "cannot be resized";
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_EQ((style & WS_MINIMIZEBOX) != 0, c.minimise_box);
    HMENU system_menu = GetSystemMenu(frame, FALSE);
    EXPECT_NE(GetMenuState(system_menu, SC_MOVE, MF_BYCOMMAND), static_cast<UINT>(-1)) << "movable";
  }
}

TEST_F(WindowTest, ControlsSitInTheirParentsAndOnlyTheVisibleOnesShow) {
  ASSERT_TRUE(LoadWindow(Form::MainWindow, std::nullopt, false));
  ASSERT_TRUE(LoadWindow(Form::HelpPromptWindow, std::nullopt, false));
  struct Case {
    Form form;
    std::vector<std::string> hidden;
  } const cases[] = {
      {Form::MainWindow, {"编辑框4", "编辑框3"}},
      {Form::HelpPromptWindow, {"时钟1", "标签1", "图片框1"}},
  };
  for (const Case& c : cases) {
    const Layout& layout = *LayoutFor(c.form);
    for (std::size_t i = 0; i < layout.count; ++i) {
      const ControlEntry& entry = layout.controls[i];
      SCOPED_TRACE(entry.name);
      const HWND hwnd = Control(c.form, entry.name);
      ASSERT_TRUE(hwnd);
      const HWND parent = entry.parent ? Control(c.form, entry.parent) : Frame(c.form);
      EXPECT_EQ(GetParent(hwnd), parent);
      RECT rect;
      GetWindowRect(hwnd, &rect);
      MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
      EXPECT_EQ(rect.left, entry.place.left);
      EXPECT_EQ(rect.top, entry.place.top);
      EXPECT_EQ(rect.right - rect.left, entry.place.width);
      EXPECT_EQ(rect.bottom - rect.top, entry.place.height);
      const bool hidden = std::find(c.hidden.begin(), c.hidden.end(), entry.name) != c.hidden.end();
      EXPECT_EQ(IsWindowVisible(hwnd) != FALSE, !hidden);
      const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
      EXPECT_TRUE(style & WS_CLIPSIBLINGS);
      if (IsContainer(entry.kind)) {
        EXPECT_TRUE(style & WS_CLIPCHILDREN);
      }
    }
  }
  // The banner box fills the top of the main window.
  RECT banner;
  GetWindowRect(Control(Form::MainWindow, "图片框1"), &banner);
  MapWindowPoints(nullptr, Frame(Form::MainWindow), reinterpret_cast<POINT*>(&banner), 2);
  EXPECT_EQ(banner.left, 0);
  EXPECT_EQ(banner.top, 0);
  EXPECT_EQ(banner.right, 312);
  EXPECT_EQ(banner.bottom, 64);
}

TEST_F(WindowTest, TheFirstStoredChildIsOnTop) {
  ASSERT_TRUE(LoadWindow(Form::MainWindow, std::nullopt, false));
  struct Case {
    const char* parent;  // null: the window
    std::vector<std::string> top_to_bottom;
  } const cases[] = {
      {nullptr, {"分组框2", "图片框1", "分组框1"}},
      {"分组框1",
       {"覆盖微博框", "按钮5", "标签2", "标签1", "按钮3", "按钮2", "编辑框2", "编辑框1", "按钮1"}},
      {"分组框2", {"标签5", "标签4", "图片框2", "标签3"}},
      {"图片框1", {"编辑框4", "编辑框3"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.parent ? c.parent : "window");
    const HWND parent = c.parent ? Control(Form::MainWindow, c.parent) : Frame(Form::MainWindow);
    std::vector<std::string> stacked;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      stacked.push_back(NameOf(Form::MainWindow, child));
    EXPECT_EQ(stacked, c.top_to_bottom);
  }
}

TEST_F(WindowTest, TabVisitsTheTabStopsInCreationOrderBothWays) {
  ASSERT_TRUE(LoadWindow(Form::MainWindow, std::nullopt, false));
  const HWND frame = Frame(Form::MainWindow);
  SetFocus(frame);
  const std::vector<std::string> forward = {"按钮1", "编辑框1", "编辑框2",       "按钮2",
                                            "按钮3", "按钮5",   "超文本浏览框1", "按钮1"};
  std::vector<std::string> visited;
  for (std::size_t i = 0; i < forward.size(); ++i) {
    EXPECT_TRUE(SendKey(GetFocus() ? GetFocus() : frame, VK_TAB));
    visited.push_back(NameOf(Form::MainWindow, GetFocus()));
  }
  EXPECT_EQ(visited, forward);

  SetShift(true);
  visited.clear();
  for (int i = 0; i < 3; ++i) {
    SendKey(GetFocus(), VK_TAB);
    visited.push_back(NameOf(Form::MainWindow, GetFocus()));
  }
  EXPECT_EQ(visited, (std::vector<std::string>{"超文本浏览框1", "按钮5", "按钮3"}));
  SetShift(false);

  // A control hidden at run time drops out; Enter moves nothing.
  SetVisible(Form::MainWindow, "编辑框2", false);
  SetFocus(Control(Form::MainWindow, "编辑框1"));
  SendKey(GetFocus(), VK_TAB);
  EXPECT_EQ(NameOf(Form::MainWindow, GetFocus()), "按钮2");
  EXPECT_TRUE(SendKey(GetFocus(), VK_RETURN));
  EXPECT_EQ(NameOf(Form::MainWindow, GetFocus()), "按钮2");

  ASSERT_TRUE(LoadWindow(Form::HelpPromptWindow, std::nullopt, false));
  SetFocus(Frame(Form::HelpPromptWindow));
  for (int i = 0; i < 2; ++i) {
    SendKey(GetFocus(), VK_TAB);
    EXPECT_EQ(NameOf(Form::HelpPromptWindow, GetFocus()), "按钮1");
  }
}

TEST_F(WindowTest, EscClosesTheWindowAlsoFromAnEditBox) {
  for (Form form : {Form::MainWindow, Form::HelpPromptWindow}) {
    ASSERT_TRUE(LoadWindow(form, std::nullopt, false));
    const HWND frame = Frame(form);
    const HWND focus = form == Form::MainWindow ? Control(form, "编辑框1") : frame;
    SetFocus(focus);
    EXPECT_TRUE(SendKey(focus, VK_ESCAPE));
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_EQ(FindLiveWindow(form), nullptr);
    EXPECT_TRUE(LoadWindow(form, std::nullopt, false)) << "loadable again";
  }
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE))
      << "no quit request before the loop has started";
}

// Counts the content-changed notifications that reach an edit box's parent.
LRESULT CALLBACK CountChanges(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                              DWORD_PTR data) {
  if (message == WM_COMMAND && HIWORD(wparam) == EN_CHANGE) ++*reinterpret_cast<int*>(data);
  return DefSubclassProc(hwnd, message, wparam, lparam);
}

TEST_F(WindowTest, AccessorsReadAndWriteTheLiveControls) {
  ASSERT_TRUE(LoadWindow(Form::MainWindow, std::nullopt, false));
  ASSERT_TRUE(LoadWindow(Form::HelpPromptWindow, std::nullopt, false));

  // A hidden edit box stores the text and says that its content changed; a
  // typed text is read back.
  int changes = 0;
  SetWindowSubclass(Control(Form::MainWindow, "图片框1"), CountChanges, 1,
                    reinterpret_cast<DWORD_PTR>(&changes));
  SetText(Form::MainWindow, "编辑框3", "1");
  EXPECT_EQ(changes, 1);
  SetText(Form::MainWindow, "编辑框4", "http://127.0.0.1/新版本.exe");
  EXPECT_EQ(GetText(Form::MainWindow, "编辑框3"), "1");
  EXPECT_EQ(GetText(Form::MainWindow, "编辑框4"), "http://127.0.0.1/新版本.exe");
  EXPECT_FALSE(IsWindowVisible(Control(Form::MainWindow, "编辑框3")));
  const std::string long_text(40000, 'k');  // past the default limit of a single line
  SetText(Form::MainWindow, "编辑框2", long_text);
  EXPECT_EQ(GetText(Form::MainWindow, "编辑框2"), long_text);
  const HWND name_box = Control(Form::MainWindow, "编辑框1");
  for (char ch : std::string("my ssid")) SendMessageA(name_box, WM_CHAR, ch, 0);
  EXPECT_EQ(GetText(Form::MainWindow, "编辑框1"), "my ssid");

  // A label's caption is its window text, readable from anywhere.
  SetText(Form::MainWindow, "标签3", "网络已连接");
  char caption[64] = {};
  SendMessageA(Control(Form::MainWindow, "标签3"), WM_GETTEXT, sizeof caption,
               reinterpret_cast<LPARAM>(caption));
  EXPECT_STREQ(caption, "网络已连接");
  EXPECT_EQ(GetText(Form::MainWindow, "标签3"), "网络已连接");
  EXPECT_EQ(GetText(Form::HelpPromptWindow, "标签2"), "是否在线查看帮助？");

  // SetVisible hides and shows at once, keeping the place.
  const HWND button = Control(Form::HelpPromptWindow, "按钮1");
  const HWND loading = Control(Form::HelpPromptWindow, "标签1");
  SetVisible(Form::HelpPromptWindow, "按钮1", false);
  SetVisible(Form::HelpPromptWindow, "标签1", true);
  SetVisible(Form::HelpPromptWindow, "标签1", true);
  EXPECT_FALSE(IsWindowVisible(button));
  EXPECT_TRUE(IsWindowVisible(loading));
  SetVisible(Form::HelpPromptWindow, "按钮1", false);
  EXPECT_FALSE(IsWindowVisible(button));
  RECT rect;
  GetWindowRect(loading, &rect);
  MapWindowPoints(nullptr, Frame(Form::HelpPromptWindow), reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect.left, 56);
  EXPECT_EQ(rect.top, 48);
  SetVisible(Form::HelpPromptWindow, "时钟1", true);
  EXPECT_FALSE(IsWindowVisible(Control(Form::HelpPromptWindow, "时钟1"))) << "never shown";

  // Unknown names and windows that are not live change and read nothing.
  EXPECT_EQ(GetText(Form::MainWindow, "编辑框9"), "");
  EXPECT_EQ(GetText(Form::MainWindow, nullptr), "");
  SetText(Form::MainWindow, "编辑框9", "x");
  SendMessageA(Frame(Form::HelpPromptWindow), WM_CLOSE, 0, 0);
  EXPECT_EQ(GetText(Form::HelpPromptWindow, "标签2"), "");
  SetVisible(Form::HelpPromptWindow, "按钮1", true);
  SetTimerPeriod(Form::HelpPromptWindow, "时钟1", 10);

  // A new build starts again from the stored values.
  ASSERT_TRUE(LoadWindow(Form::HelpPromptWindow, std::nullopt, false));
  EXPECT_TRUE(IsWindowVisible(Control(Form::HelpPromptWindow, "按钮1")));
  EXPECT_FALSE(IsWindowVisible(Control(Form::HelpPromptWindow, "标签1")));
}

TEST_F(WindowTest, PointerAndLeftButtonEvents) {
  ASSERT_TRUE(LoadWindow(Form::MainWindow, std::nullopt, false));
  ASSERT_TRUE(LoadWindow(Form::HelpPromptWindow, std::nullopt, false));
  const HCURSOR hand = LoadCursor(nullptr, IDC_HAND);
  struct Case {
    Form form;
    const char* name;
    bool hand;
  } const cases[] = {
      {Form::MainWindow, "按钮1", true},        {Form::MainWindow, "按钮5", true},
      {Form::MainWindow, "标签4", true},        {Form::MainWindow, "标签5", true},
      {Form::MainWindow, "标签3", false},       {Form::MainWindow, "编辑框1", false},
      {Form::HelpPromptWindow, "按钮1", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const HWND hwnd = Control(c.form, c.name);
    SetCursor(nullptr);
    SendMessageA(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor() == hand, c.hand);
  }
  const HWND update = Control(Form::MainWindow, "标签4");
  SendMessageA(update, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(seen.presses, 1) << "on the press, before any release";
  SendMessageA(update, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  SendMessageA(Control(Form::MainWindow, "标签5"), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_EQ(seen.presses, 1) << "neither the right button nor an unwired label";
}

TEST_F(WindowTest, DestroyFormWindowInsideAHandlerLetsItFinishFirst) {
  ASSERT_TRUE(LoadWindow(Form::MainWindow, std::nullopt, false));
  const HWND frame = Frame(Form::MainWindow);
  bool alive_after_request = false;
  std::string text_after_request;
  seen.on_click = [&] {
    SetText(Form::MainWindow, "编辑框3", "still here");
    DestroyFormWindow(Form::MainWindow);
    alive_after_request = IsWindow(frame) != FALSE;
    text_after_request = GetText(Form::MainWindow, "编辑框3");
  };
  SendMessageA(Control(Form::MainWindow, "按钮1"), BM_CLICK, 0, 0);
  EXPECT_EQ(seen.clicks, 1);
  EXPECT_TRUE(alive_after_request);
  EXPECT_EQ(text_after_request, "still here");
  EXPECT_TRUE(IsWindow(frame)) << "gone only when the request is dispatched";
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(frame); }, 5000));
  EXPECT_EQ(FindLiveWindow(Form::MainWindow), nullptr);
}

TEST_F(WindowTest, TimerPeriodChangesFollowTheRules) {
  ASSERT_TRUE(LoadWindow(Form::HelpPromptWindow, std::nullopt, false));
  PumpFor(300);
  EXPECT_TRUE(seen.periodic_ticks.empty()) << "stored period 0: stopped at load";

  // The first event comes one full period after the call.
  DWORD start = GetTickCount();
  SetTimerPeriod(Form::HelpPromptWindow, "时钟1", 300);
  ASSERT_TRUE(PumpUntil([] { return seen.periodic_ticks.size() >= 2; }, 5000));
  EXPECT_GE(seen.periodic_ticks[0] - start, 250u);

  // The same period again does not restart the count.
  SetTimerPeriod(Form::HelpPromptWindow, "时钟1", 0);
  seen.periodic_ticks.clear();
  start = GetTickCount();
  SetTimerPeriod(Form::HelpPromptWindow, "时钟1", 1000);
  PumpFor(500);
  SetTimerPeriod(Form::HelpPromptWindow, "时钟1", 1000);
  ASSERT_TRUE(PumpUntil([] { return !seen.periodic_ticks.empty(); }, 5000));
  EXPECT_LT(seen.periodic_ticks[0] - start, 1350u) << "a restart would make it about 1500";

  // 0 and a negative period both stop it.
  for (int stop : {0, -5}) {
    SCOPED_TRACE(stop);
    SetTimerPeriod(Form::HelpPromptWindow, "时钟1", 40);
    const std::size_t before = seen.periodic_ticks.size();
    ASSERT_TRUE(PumpUntil([&] { return seen.periodic_ticks.size() >= before + 2; }, 5000));
    SetTimerPeriod(Form::HelpPromptWindow, "时钟1", stop);
    const std::size_t stopped = seen.periodic_ticks.size();
    PumpFor(300);
    EXPECT_EQ(seen.periodic_ticks.size(), stopped);
  }

  // Destroying the window stops the timer for good.
  SetTimerPeriod(Form::HelpPromptWindow, "时钟1", 40);
  SendMessageA(Frame(Form::HelpPromptWindow), WM_CLOSE, 0, 0);
  const std::size_t at_close = seen.periodic_ticks.size();
  PumpFor(300);
  EXPECT_EQ(seen.periodic_ticks.size(), at_close);
}

// A layout of the test's own that uses the settings both program layouts leave
// at their defaults.
constexpr ControlEntry kStyledControls[] = {
    {.name = "边框0",
     .kind = Kind::EditBox,
     .parent = "面板",
     .place = {4, 20, 40, 20},
     .settings = EditSettings{.border = 0}},
    {.name = "边框1",
     .kind = Kind::EditBox,
     .parent = "面板",
     .place = {48, 20, 40, 20},
     .settings = EditSettings{.border = 1}},
    {.name = "边框2",
     .kind = Kind::EditBox,
     .parent = "面板",
     .place = {92, 20, 40, 20},
     .settings = EditSettings{.border = 2}},
    {.name = "边框3",
     .kind = Kind::EditBox,
     .parent = "面板",
     .place = {4, 44, 40, 20},
     .settings = EditSettings{.border = 3}},
    {.name = "边框4",
     .kind = Kind::EditBox,
     .parent = "面板",
     .place = {48, 44, 40, 20},
     .settings = EditSettings{.border = 4}},
    {.name = "边框5",
     .kind = Kind::EditBox,
     .parent = "面板",
     .place = {92, 44, 40, 20},
     .settings = EditSettings{.border = 5}},
    {.name = "密码框",
     .kind = Kind::EditBox,
     .parent = "面板",
     .place = {4, 68, 80, 20},
     .settings = EditSettings{.text = "abc", .align = Align::Right, .input_mode = 2, .mask = '#'}},
    {.name = "红框",
     .kind = Kind::EditBox,
     .parent = "面板",
     .place = {4, 92, 80, 30},
     .settings =
         EditSettings{.border = 0, .text_colour = Rgb(255, 255, 0), .background = Rgb(255, 0, 0)}},
    {.name = "只读框",
     .kind = Kind::EditBox,
     .parent = nullptr,
     .place = {210, 10, 80, 60},
     .settings = EditSettings{.hide_selection = false,
                              .max_length = 5,
                              .multi_line = true,
                              .scroll_bars = 3,
                              .input_mode = 1}},
    {.name = "默认钮",
     .kind = Kind::Button,
     .parent = "面板",
     .place = {100, 92, 80, 30},
     .settings =
         ButtonSettings{.type = 1, .caption = "左上", .align = Align::Left, .valign = VAlign::Top}},
    {.name = "标题",
     .kind = Kind::Label,
     .parent = nullptr,
     .place = {210, 80, 120, 30},
     .settings =
         LabelSettings{
             .caption = "标题标题", .text_colour = Rgb(0, 0, 255), .background = Rgb(0, 255, 0)}},
    {.name = "计时器",
     .kind = Kind::Timer,
     .parent = nullptr,
     .place = {0, 0, 10, 10},
     .settings = TimerSettings{.period = 50}},
    {.name = "面板",
     .kind = Kind::GroupBox,
     .parent = nullptr,
     .place = {0, 0, 200, 150},
     .settings = GroupSettings{.caption = "分组", .background = Rgb(255, 255, 255)}},
};
constexpr Layout kStyled{
    .window = {.name = "Styled",
               .place = {30, 40, 400, 300},
               .settings = {.caption = "样式",
                            .border = 1,
                            .maximise_button = true,
                            .start_position = 0,
                            .movable = false,
                            .esc_closes = false,
                            .always_on_top = true}},
    .controls = kStyledControls,
    .count = std::size(kStyledControls),
};

TEST_F(WindowTest, EveryKindTakesItsSettings) {
  ASSERT_TRUE(LoadWindowFrom(Form::HelpPromptWindow, kStyled, std::nullopt, false));
  const Form form = Form::HelpPromptWindow;
  const HWND frame = Frame(form);
  RECT rect;
  GetWindowRect(frame, &rect);
  EXPECT_EQ(rect.left, 30) << "start position 0 keeps the stored place";
  EXPECT_EQ(rect.top, 40);
  const LONG_PTR frame_style = GetWindowLongPtrA(frame, GWL_STYLE);
  EXPECT_TRUE(frame_style & WS_THICKFRAME);
  EXPECT_TRUE(frame_style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(GetWindowLongPtrA(frame, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetMenuState(GetSystemMenu(frame, FALSE), SC_MOVE, MF_BYCOMMAND), static_cast<UINT>(-1))
      << "not movable";

  // The edit control takes WS_BORDER out of its style and draws the frame
  // itself, so the thin frame is looked for on screen below.
  struct BorderCase {
    const char* name;
    LONG_PTR ex_style;
    bool thin_frame;
  } const borders[] = {
      {"边框0", 0, false},
      {"边框1", WS_EX_CLIENTEDGE, false},
      {"边框2", WS_EX_DLGMODALFRAME, false},
      {"边框3", WS_EX_STATICEDGE, false},
      {"边框4", WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME, false},
      {"边框5", 0, true},
  };
  for (const BorderCase& c : borders) {
    SCOPED_TRACE(c.name);
    const HWND edit = Control(form, c.name);
    constexpr LONG_PTR kEdges = WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE;
    EXPECT_EQ(GetWindowLongPtrA(edit, GWL_EXSTYLE) & kEdges, c.ex_style);
    EXPECT_GT(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 30000) << "only the system's limit";
  }

  const HWND password = Control(form, "密码框");
  EXPECT_TRUE(GetWindowLongPtrA(password, GWL_STYLE) & ES_PASSWORD);
  EXPECT_EQ(GetWindowLongPtrA(password, GWL_STYLE) & (ES_CENTER | ES_RIGHT), ES_RIGHT);
  EXPECT_EQ(SendMessageA(password, EM_GETPASSWORDCHAR, 0, 0), '#');
  EXPECT_EQ(GetText(form, "密码框"), "abc");

  const HWND read_only = Control(form, "只读框");
  const LONG_PTR read_only_style = GetWindowLongPtrA(read_only, GWL_STYLE);
  for (LONG_PTR bit : {ES_READONLY, ES_MULTILINE, ES_NOHIDESEL, WS_HSCROLL, WS_VSCROLL})
    EXPECT_TRUE(read_only_style & bit) << std::hex << bit;
  EXPECT_EQ(SendMessageA(read_only, EM_GETLIMITTEXT, 0, 0), 5);

  const LONG_PTR button_style = GetWindowLongPtrA(Control(form, "默认钮"), GWL_STYLE);
  EXPECT_EQ(button_style & 0x0F, BS_DEFPUSHBUTTON);
  EXPECT_TRUE(button_style & BS_MULTILINE);
  EXPECT_EQ(button_style & BS_CENTER, BS_LEFT);
  EXPECT_EQ(button_style & BS_VCENTER, BS_TOP);
  EXPECT_EQ(GetWindowLongPtrA(Control(form, "面板"), GWL_STYLE) & 0x0F, BS_GROUPBOX);
  EXPECT_EQ(test::WindowText(Control(form, "面板")), "分组");

  // A timer with a stored period counts from creation on.
  EXPECT_TRUE(PumpUntil([] { return seen.periodic_ticks.size() >= 2; }, 5000));

  // Colours reach the screen: the edit box's through its group box parent,
  // the group box's own fill, the label's background and caption.
  UpdateWindow(frame);
  RedrawWindow(frame, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  const auto pixel = [&](const char* name, int x, int y) {
    const HWND hwnd = Control(form, name);
    HDC dc = GetDC(hwnd);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return colour;
  };
  EXPECT_EQ(pixel("红框", 60, 20), RGB(255, 0, 0));
  for (const BorderCase& c : borders) {
    if (c.ex_style) continue;
    EXPECT_EQ(pixel(c.name, 0, 0) != RGB(255, 255, 255), c.thin_frame) << c.name;
  }
  EXPECT_EQ(pixel("面板", 190, 140), RGB(255, 255, 255));
  EXPECT_EQ(pixel("标题", 118, 1), RGB(0, 255, 0));
  int text_colour = 0;
  int drawn = 0;  // smoothed glyph edges blend the two colours
  for (int x = 0; x < 120; ++x) {
    for (int y = 0; y < 30; ++y) {
      const COLORREF colour = pixel("标题", x, y);
      if (colour == RGB(0, 0, 255)) ++text_colour;
      if (colour != RGB(0, 255, 0)) ++drawn;
    }
  }
  EXPECT_GT(text_colour, 0) << "the caption drawn in its text colour";
  EXPECT_GT(drawn, 40);

  // Esc closes only where the window says so.
  SetFocus(Control(form, "边框1"));
  EXPECT_FALSE(SendKey(GetFocus(), VK_ESCAPE));
  EXPECT_TRUE(IsWindow(frame));
}

TEST_F(WindowTest, ALayoutThatCannotBeBuiltLeavesNothingBehind) {
  constexpr ControlEntry kBroken[] = {
      {.name = "按钮",
       .kind = Kind::Button,
       .parent = "标签",
       .place = {0, 0, 50, 20},
       .settings = ButtonSettings{}},
      {.name = "标签",
       .kind = Kind::Label,
       .parent = nullptr,
       .place = {0, 0, 80, 30},
       .settings = LabelSettings{}},
  };
  const Layout broken{
      .window = {.name = "Broken", .place = {0, 0, 200, 100}, .settings = {.caption = "坏"}},
      .controls = kBroken,
      .count = std::size(kBroken),
  };
  EXPECT_FALSE(LoadWindowFrom(Form::HelpPromptWindow, broken, std::nullopt, false));
  EXPECT_EQ(FindLiveWindow(Form::HelpPromptWindow), nullptr);
  EXPECT_EQ(FindWindowA(nullptr, "坏"), nullptr);
  EXPECT_TRUE(LoadWindow(Form::HelpPromptWindow, std::nullopt, false)) << "the slot is free";
}

// Records whether the main window was enabled when the modal window went.
LRESULT CALLBACK WatchDestroy(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                              DWORD_PTR data) {
  if (message == WM_DESTROY)
    *reinterpret_cast<int*>(data) = IsWindowEnabled(Frame(Form::MainWindow));
  return DefSubclassProc(hwnd, message, wparam, lparam);
}

TEST_F(WindowTest, AModalWindowDisablesTheOthersUntilItGoes) {
  ASSERT_TRUE(LoadWindow(Form::MainWindow, std::nullopt, false));
  const HWND main = Frame(Form::MainWindow);
  struct Case {
    bool main_enabled_before;
    bool close_by_request;  // DestroyFormWindow, or else the close button's WM_CLOSE
  } const cases[] = {{true, true}, {true, false}, {false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.close_by_request ? "DestroyFormWindow" : "WM_CLOSE");
    EnableWindow(main, c.main_enabled_before);
    int enabled_at_destroy = -1;
    bool main_disabled_meanwhile = false;
    bool alive_after_request = false;
    seen.on_created = [&] {
      SetWindowSubclass(Frame(Form::HelpPromptWindow), WatchDestroy, 1,
                        reinterpret_cast<DWORD_PTR>(&enabled_at_destroy));
      SetTimerPeriod(Form::HelpPromptWindow, "时钟1", 30);
    };
    seen.on_periodic = [&] {
      SetTimerPeriod(Form::HelpPromptWindow, "时钟1", 0);
      main_disabled_meanwhile = !IsWindowEnabled(main);
      const HWND help = Frame(Form::HelpPromptWindow);
      EXPECT_EQ(GetWindow(help, GW_OWNER), nullptr);
      if (c.close_by_request) {
        DestroyFormWindow(Form::HelpPromptWindow);
        alive_after_request = IsWindow(help) != FALSE;
      } else {
        PostMessageA(help, WM_CLOSE, 0, 0);
        alive_after_request = true;
      }
    };
    EXPECT_TRUE(LoadWindow(Form::HelpPromptWindow, std::nullopt, true));
    // Back here only after the modal window has gone.
    EXPECT_EQ(FindLiveWindow(Form::HelpPromptWindow), nullptr);
    EXPECT_TRUE(main_disabled_meanwhile);
    EXPECT_TRUE(alive_after_request);
    EXPECT_EQ(enabled_at_destroy, c.main_enabled_before ? TRUE : FALSE)
        << "re-enabled before the modal window is destroyed";
    EXPECT_EQ(IsWindowEnabled(main) != FALSE, c.main_enabled_before);
  }
  EnableWindow(main, TRUE);
}

TEST_F(WindowTest, AQuitRequestEndsTheModalLoopAndStaysQueued) {
  ASSERT_TRUE(LoadWindow(Form::MainWindow, std::nullopt, false));
  seen.on_created = [] { SetTimerPeriod(Form::HelpPromptWindow, "时钟1", 30); };
  seen.on_periodic = [] {
    SetTimerPeriod(Form::HelpPromptWindow, "时钟1", 0);
    PostQuitMessage(7);
  };
  EXPECT_TRUE(LoadWindow(Form::HelpPromptWindow, std::nullopt, true));
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(WindowTest, TheLastWindowGoingEndsTheMainLoop) {
  SetLoopStarted();
  ASSERT_TRUE(LoadWindow(Form::MainWindow, std::nullopt, false));
  ASSERT_TRUE(LoadWindow(Form::HelpPromptWindow, std::nullopt, false));
  SendMessageA(Frame(Form::HelpPromptWindow), WM_CLOSE, 0, 0);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE))
      << "the main window is still there";
  DestroyFormWindow(Form::MainWindow);
  EXPECT_EQ(RunMainLoop(), 0);
  EXPECT_EQ(FindLiveWindow(Form::MainWindow), nullptr);
}

}  // namespace
}  // namespace pavrelin
