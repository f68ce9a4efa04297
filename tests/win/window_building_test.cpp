// Both layouts built for real through LoadWindow, the accessors on the live
// windows, the keyboard rules, modality and the close routes.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/window_services.h"
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

std::string NameOf(Form form, HWND hwnd) {
  LiveWindow* window = FindLiveWindow(form);
  LiveControl* control = window ? window->FromHwnd(hwnd) : nullptr;
  return control ? control->entry.name : (hwnd == Frame(form) ? "(window)" : "(other)");
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
  }
  void TearDown() override {
    SetShift(false);
    for (Form form : {Form::HelpPromptWindow, Form::MainWindow})
      if (HWND frame = Frame(form)) SendMessageA(frame, WM_CLOSE, 0, 0);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
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
      if (entry.kind == Kind::BrowserBox) {
        EXPECT_EQ(hwnd, nullptr) << "the browser box comes with the follow widget";
        continue;
      }
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
  // 超文本浏览框1 takes its turn after 按钮5 once the follow widget gives it a window.
  const std::vector<std::string> forward = {"按钮1", "编辑框1", "编辑框2", "按钮2",
                                            "按钮3", "按钮5",   "按钮1"};
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
  EXPECT_EQ(visited, (std::vector<std::string>{"按钮5", "按钮3", "按钮2"}));
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

TEST_F(WindowTest, AccessorsReadAndWriteTheLiveControls) {
  ASSERT_TRUE(LoadWindow(Form::MainWindow, std::nullopt, false));
  ASSERT_TRUE(LoadWindow(Form::HelpPromptWindow, std::nullopt, false));

  // A hidden edit box stores the text; a typed text is read back.
  SetText(Form::MainWindow, "编辑框3", "1");
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
