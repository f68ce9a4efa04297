#include "ui/live_window_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "ui/browser_box_win.h"
#include "ui/layout_rules.h"
#include "ui/picture_resources.h"
#include "ui/picture_view_win.h"
#include "ui/window_messages.h"

namespace pavrelin {

namespace {

constexpr char kFormClass[] = "PavrelinForm";
constexpr char kLabelClass[] = "PavrelinLabel";
constexpr char kPictureClass[] = "PavrelinPicture";
constexpr char kTimerClass[] = "PavrelinTimer";

constexpr Form kForms[] = {Form::MainWindow, Form::HelpPromptWindow};

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

COLORREF Resolve(Colour colour) {
  return colour == kSystemColour ? GetSysColor(COLOR_BTNFACE) : static_cast<COLORREF>(colour);
}

struct Styles {
  DWORD style = 0;
  DWORD ex_style = 0;
};

// The border setting of edit boxes, labels and picture boxes.
Styles BorderStyles(int border) {
  struct Row {
    int border;
    Styles styles;
  };
  static constexpr Row kBorders[] = {
      {1, {0, WS_EX_CLIENTEDGE}}, {2, {0, WS_EX_DLGMODALFRAME}},
      {3, {0, WS_EX_STATICEDGE}}, {4, {0, WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME}},
      {5, {WS_BORDER, 0}},
  };
  for (const Row& row : kBorders)
    if (row.border == border) return row.styles;
  return {};
}

// Indexed by Align / VAlign.
constexpr DWORD kEditAlign[] = {ES_LEFT, ES_CENTER, ES_RIGHT};
constexpr DWORD kButtonAlign[] = {BS_LEFT, BS_CENTER, BS_RIGHT};
constexpr DWORD kButtonVAlign[] = {BS_TOP, BS_VCENTER, BS_BOTTOM};
constexpr UINT kDrawAlign[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
constexpr UINT kDrawVAlign[] = {DT_TOP, DT_VCENTER, DT_BOTTOM};

template <typename T, std::size_t N, typename E>
T Pick(const T (&table)[N], E value) {
  const auto index = static_cast<std::size_t>(value);
  return index < N ? table[index] : table[0];
}

bool IsSizeable(int border) { return border == 1 || border == 3 || border == 5; }

Styles FrameStyles(const WindowSettings& settings) {
  Styles styles{WS_CLIPCHILDREN, 0};
  if (settings.always_on_top) styles.ex_style |= WS_EX_TOPMOST;
  // A tool window is the system's way to keep an unowned window out of the
  // taskbar; APPWINDOW keeps a narrow-titled one in it.
  styles.ex_style |= settings.in_taskbar ? WS_EX_APPWINDOW : WS_EX_TOOLWINDOW;
  const int border = settings.border;
  if (border < 1 || border > 6) {
    styles.style |= WS_POPUP;
    return styles;
  }
  const bool sizeable = IsSizeable(border);
  const bool title_bar = settings.caption[0] != '\0' || settings.control_box;
  if (sizeable) styles.style |= WS_THICKFRAME;
  if (title_bar) {
    styles.style |= WS_CAPTION;
    if (settings.control_box) styles.style |= WS_SYSMENU;
  } else {
    styles.style |= WS_POPUP | (sizeable ? 0 : WS_DLGFRAME);
  }
  if (settings.minimise_button) styles.style |= WS_MINIMIZEBOX;
  if (settings.maximise_button) styles.style |= WS_MAXIMIZEBOX;
  if (border == 3 || border == 4) styles.ex_style |= WS_EX_TOOLWINDOW;
  if (border == 5 || border == 6) styles.ex_style |= WS_EX_CLIENTEDGE;
  return styles;
}

UniqueFont MakeFont(const FontRecord* record) {
  if (!record) return UniqueFont();
  static_assert(sizeof(LOGFONTA) == sizeof(FontRecord), "FontRecord mirrors LOGFONTA");
  const FontRecord normalised = NormalisedForCreation(*record);
  LOGFONTA font;
  std::memcpy(&font, &normalised, sizeof font);
  return UniqueFont(CreateFontIndirectA(&font));
}

void SetColours(LiveControl& control, Colour text, Colour background) {
  control.text_colour = Resolve(text);
  control.background_colour = Resolve(background);
  control.background.reset(CreateSolidBrush(control.background_colour));
}

LiveControl* OwnControl(HWND hwnd) {
  return reinterpret_cast<LiveControl*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

// WM_NCCREATE of the program's own control classes: the LiveControl comes in
// lpCreateParams and is kept in the window's user data.
LiveControl* AttachOwnControl(HWND hwnd, UINT message, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* control =
        static_cast<LiveControl*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
    control->hwnd = hwnd;
    return control;
  }
  LiveControl* control = OwnControl(hwnd);
  if (control && message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    control->hwnd = nullptr;
  }
  return control;
}

LRESULT FillBackground(HWND hwnd, HDC dc, HBRUSH brush) {
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, brush);
  return 1;
}

// Raised with the control's form and name copied first: the handler may end
// the window, and with it the control, before it returns.
void Raise(const LiveControl& control, Event event) {
  const Form form = control.window.form();
  const char* name = control.entry.name;
  RaiseEvent(form, name, event);
}

// A container (the frame, a group box, a picture box) receives its children's
// notifications, colour requests and pointer questions. True when answered;
// the caller then returns result without touching the window again, since a
// clicked handler may have destroyed it.
bool ContainerMessage(LiveWindow& window, HBRUSH own_background, UINT message, WPARAM wparam,
                      LPARAM lparam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND: {
      if (HIWORD(wparam) != BN_CLICKED) return false;
      const LiveControl* button = window.FromHwnd(reinterpret_cast<HWND>(lparam));
      if (!button || button->entry.kind != Kind::Button) return false;
      result = 0;
      Raise(*button, Event::Clicked);
      return true;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {  // a read-only edit box and a group box's title ask this
      const LiveControl* control = window.FromHwnd(reinterpret_cast<HWND>(lparam));
      if (!control || !control->background) return false;
      const auto dc = reinterpret_cast<HDC>(wparam);
      SetTextColor(dc, control->text_colour);
      SetBkColor(dc, control->background_colour);
      result = reinterpret_cast<LRESULT>(control->background.get());
      return true;
    }
    case WM_CTLCOLORBTN:  // the corners around a push button show the container
      if (!own_background) return false;
      result = reinterpret_cast<LRESULT>(own_background);
      return true;
    case WM_SETCURSOR: {
      // A child's default handling asks its parent first, so the pointer of
      // every control is settled here, at the nearest container.
      const LiveControl* target = window.FromHwnd(reinterpret_cast<HWND>(wparam));
      if (!target || target->entry.pointer != Pointer::Hand || LOWORD(lparam) != HTCLIENT)
        return false;
      SetCursor(LoadCursor(nullptr, IDC_HAND));
      result = TRUE;
      return true;
    }
  }
  return false;
}

// --- label ---------------------------------------------------------------

void PaintLabel(LiveControl& label) {
  const auto& settings = std::get<LabelSettings>(label.entry.settings);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(label.hwnd, &paint);
  RECT client;
  GetClientRect(label.hwnd, &client);
  FillRect(dc, &client, label.background.get());
  const std::string caption = WindowTextOf(label.hwnd);
  const HGDIOBJ old_font = SelectObject(dc, label.Font());
  SetBkMode(dc, TRANSPARENT);
  UINT flags = DT_NOPREFIX | Pick(kDrawAlign, settings.align);
  flags |= settings.word_wrap ? DT_WORDBREAK : DT_SINGLELINE | Pick(kDrawVAlign, settings.valign);
  // Effects 1 to 3 put a lighter or darker copy one pixel off behind the text.
  struct Effect {
    int offset;
    int colour;
  };
  static constexpr Effect kEffects[] = {
      {0, 0}, {1, COLOR_BTNHIGHLIGHT}, {-1, COLOR_BTNHIGHLIGHT}, {1, COLOR_BTNSHADOW}};
  if (settings.effect >= 1 && settings.effect <= 3) {
    const Effect& effect = kEffects[settings.effect];
    RECT behind = client;
    OffsetRect(&behind, effect.offset, effect.offset);
    SetTextColor(dc, GetSysColor(effect.colour));
    DrawTextA(dc, caption.data(), static_cast<int>(caption.size()), &behind, flags);
  }
  SetTextColor(dc, label.text_colour);
  DrawTextA(dc, caption.data(), static_cast<int>(caption.size()), &client, flags);
  SelectObject(dc, old_font);
  EndPaint(label.hwnd, &paint);
}

LRESULT CALLBACK LabelProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  LiveControl* label = AttachOwnControl(hwnd, message, lparam);
  if (!label) return DefWindowProcA(hwnd, message, wparam, lparam);
  switch (message) {
    case WM_PAINT:
      PaintLabel(*label);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT
    case WM_SETTEXT: {
      // The caption is the window text, so that WM_GETTEXT from anywhere reads it.
      const LRESULT stored = DefWindowProcA(hwnd, message, wparam, lparam);
      InvalidateRect(hwnd, nullptr, FALSE);
      return stored;
    }
    case WM_LBUTTONDOWN:
      Raise(*label, Event::LeftButtonPressed);
      if (!IsWindow(hwnd)) return 0;
      break;
  }
  return DefWindowProcA(hwnd, message, wparam, lparam);
}

// --- picture box -----------------------------------------------------------

void NotifyShown(LiveControl& box) {
  if (box.picture_shown || !box.picture) return;
  box.picture_shown = true;
  box.picture->OnShown();
}

void PaintPicture(LiveControl& box) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(box.hwnd, &paint);
  RECT client;
  GetClientRect(box.hwnd, &client);
  if (box.picture)
    box.picture->Paint(dc, client);
  else
    FillRect(dc, &client, box.background.get());
  EndPaint(box.hwnd, &paint);
  // Being painted means being on screen: the animation starts with the first
  // picture the user can see.
  NotifyShown(box);
}

LRESULT CALLBACK PictureProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  LiveControl* box = AttachOwnControl(hwnd, message, lparam);
  if (!box) return DefWindowProcA(hwnd, message, wparam, lparam);
  LRESULT result = 0;
  if (ContainerMessage(box->window, box->background.get(), message, wparam, lparam, result))
    return result;
  switch (message) {
    case WM_CREATE: {
      const auto& settings = std::get<PictureSettings>(box->entry.settings);
      box->picture =
          std::make_unique<PictureView>(hwnd, settings, LoadPictureBytes(settings.picture));
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // the view fills the background as it paints
    case WM_PAINT:
      PaintPicture(*box);
      return 0;
    case WM_SHOWWINDOW:
      // Shown while the frame is already on screen (SetVisible): start now.
      // At load the frame is still hidden; the first paint starts it then.
      if (wparam && IsWindowVisible(GetParent(hwnd))) NotifyShown(*box);
      break;
    case WM_DESTROY:
      box->picture.reset();  // joins the animation worker while the box still exists
      break;
  }
  return DefWindowProcA(hwnd, message, wparam, lparam);
}

// --- timer -----------------------------------------------------------------

LRESULT CALLBACK TimerProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  LiveControl* timer = AttachOwnControl(hwnd, message, lparam);
  if (!timer) return DefWindowProcA(hwnd, message, wparam, lparam);
  switch (message) {
    case WM_TIMER:
      // WM_TIMER is generated when the queue is read and never queued twice,
      // so at most one periodic event is pending.
      if (wparam != kPeriodicTimerId) break;
      Raise(*timer, Event::Periodic);
      return 0;
    case WM_DESTROY:
      KillTimer(hwnd, kPeriodicTimerId);
      break;
  }
  return DefWindowProcA(hwnd, message, wparam, lparam);
}

// --- standard controls -------------------------------------------------------

// Edit boxes, buttons and group boxes keep their system window procedure; this
// subclass adds left-button-pressed and, for a group box, what a container does.
LRESULT CALLBACK StandardControlProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                                     UINT_PTR, DWORD_PTR data) {
  LiveControl& control = *reinterpret_cast<LiveControl*>(data);
  switch (message) {
    case WM_LBUTTONDOWN:
      Raise(control, Event::LeftButtonPressed);
      if (!IsWindow(hwnd)) return 0;
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, StandardControlProc, kControlSubclassId);
      control.hwnd = nullptr;
      break;
  }
  if (control.entry.kind == Kind::GroupBox) {
    if (message == WM_ERASEBKGND)
      return FillBackground(hwnd, reinterpret_cast<HDC>(wparam), control.background.get());
    LRESULT result = 0;
    if (ContainerMessage(control.window, control.background.get(), message, wparam, lparam, result))
      return result;
  }
  return DefSubclassProc(hwnd, message, wparam, lparam);
}

bool RegisterClasses(WNDPROC frame_proc) {
  static const bool registered = [frame_proc] {
    struct Row {
      const char* name;
      WNDPROC proc;
      UINT style;
    };
    const Row rows[] = {
        {kFormClass, frame_proc, 0},
        {kLabelClass, LabelProc, CS_HREDRAW | CS_VREDRAW},
        {kPictureClass, PictureProc, CS_HREDRAW | CS_VREDRAW},
        {kTimerClass, TimerProc, 0},
    };
    for (const Row& row : rows) {
      WNDCLASSEXA window_class{};
      window_class.cbSize = sizeof window_class;
      window_class.style = row.style;
      window_class.lpfnWndProc = row.proc;
      window_class.hInstance = Instance();
      window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
      window_class.lpszClassName = row.name;
      if (!RegisterClassExA(&window_class)) return false;
    }
    return true;
  }();
  return registered;
}

}  // namespace

std::string WindowTextOf(HWND hwnd) {
  const int length = GetWindowTextLengthA(hwnd);
  if (length <= 0) return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(hwnd, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

LiveControl::LiveControl(LiveWindow& owner, const ControlEntry& control_entry)
    : window(owner), entry(control_entry) {}

LiveControl::~LiveControl() = default;

HFONT LiveControl::Font() const {
  return own_font ? own_font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

LiveWindow::LiveWindow(Form form, const Layout& layout) : form_(form), layout_(layout) {
  controls_.reserve(layout.count);
  for (std::size_t i = 0; i < layout.count; ++i)
    controls_.push_back(std::make_unique<LiveControl>(*this, layout.controls[i]));
}

LiveWindow::~LiveWindow() {
  if (!hwnd_) return;
  building_ = true;  // going down with its owner: no after-destroy work
  DestroyWindow(hwnd_);
}

std::unique_ptr<LiveWindow> LiveWindow::Build(Form form, const Layout& layout, HWND owner) {
  if (!RegisterClasses(FrameProc)) return nullptr;
  std::unique_ptr<LiveWindow> window(new LiveWindow(form, layout));
  if (!window->CreateFrame(owner)) return nullptr;
  // Creation runs from the last stored control to the first; a container
  // stored earlier than its child is created when the child needs it.
  for (std::size_t i = layout.count; i-- > 0;)
    if (!window->CreateControl(i)) return nullptr;
  window->Stack();
  window->ShowControls();
  window->building_ = false;
  return window;
}

bool LiveWindow::CreateFrame(HWND owner) {
  const WindowSettings& settings = layout_.window.settings;
  const Rect& place = layout_.window.place;
  int left = place.left;
  int top = place.top;
  if (settings.start_position == 1) {
    // Centred on the whole screen by the outer size.
    left = (GetSystemMetrics(SM_CXSCREEN) - place.width) / 2;
    top = (GetSystemMetrics(SM_CYSCREEN) - place.height) / 2;
  }
  background_.reset(CreateSolidBrush(Resolve(settings.background)));
  const Styles styles = FrameStyles(settings);
  if (!CreateWindowExA(styles.ex_style, kFormClass, settings.caption, styles.style, left, top,
                       place.width, place.height, owner, nullptr, Instance(), this))
    return false;
  if (!settings.movable) DeleteMenu(GetSystemMenu(hwnd_, FALSE), SC_MOVE, MF_BYCOMMAND);
  // The application icon is a resource of the executable; a program without
  // it keeps the system's default.
  const auto load_icon = [](int metric_x, int metric_y) {
    return UniqueIcon(
        static_cast<HICON>(LoadImageA(Instance(), MAKEINTRESOURCEA(IDI_PAVRELIN_APP), IMAGE_ICON,
                                      GetSystemMetrics(metric_x), GetSystemMetrics(metric_y), 0)));
  };
  big_icon_ = load_icon(SM_CXICON, SM_CYICON);
  small_icon_ = load_icon(SM_CXSMICON, SM_CYSMICON);
  if (big_icon_) SendMessageA(hwnd_, WM_SETICON, ICON_BIG, (LPARAM)big_icon_.get());
  if (small_icon_) SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, (LPARAM)small_icon_.get());
  return true;
}

bool LiveWindow::CreateControl(std::size_t index) {
  LiveControl& control = *controls_[index];
  // Each control is tried once; a failure ends the whole build, so a control
  // seen again here was made already (or is a parent cycle, caught below).
  if (control.attempted) return true;
  control.attempted = true;
  const ControlEntry& entry = control.entry;
  HWND parent = hwnd_;
  if (entry.parent) {
    const std::optional<std::size_t> parent_index = ParentOf(layout_, index);
    if (!parent_index || !IsContainer(layout_.controls[*parent_index].kind)) return false;
    if (!CreateControl(*parent_index)) return false;
    parent = controls_[*parent_index]->hwnd;
    if (!parent) return false;
  }

  DWORD common = WS_CHILD | WS_CLIPSIBLINGS;
  if (entry.disabled) common |= WS_DISABLED;
  if (entry.tab_stop) common |= WS_TABSTOP;
  const auto create = [&](DWORD ex_style, const char* window_class, const char* text, DWORD style,
                          void* param) {
    const Rect& r = entry.place;
    HWND hwnd = CreateWindowExA(
        ex_style, window_class, text, common | style, r.left, r.top, r.width, r.height, parent,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(index + 1)), Instance(), param);
    if (hwnd) control.hwnd = hwnd;
    return hwnd != nullptr;
  };
  const auto standard = [&](DWORD ex_style, const char* window_class, const char* text,
                            DWORD style) {
    if (!create(ex_style, window_class, text, style, nullptr)) return false;
    SendMessageA(control.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(control.Font()), FALSE);
    return SetWindowSubclass(control.hwnd, StandardControlProc, kControlSubclassId,
                             reinterpret_cast<DWORD_PTR>(&control)) != FALSE;
  };

  switch (entry.kind) {
    case Kind::EditBox: {
      const auto& s = std::get<EditSettings>(entry.settings);
      SetColours(control, s.text_colour, s.background);
      control.own_font = MakeFont(s.font);
      const Styles border = BorderStyles(s.border);
      DWORD style = border.style | Pick(kEditAlign, s.align);
      if (s.multi_line) {
        style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
        if (s.scroll_bars & 1) style |= WS_HSCROLL | ES_AUTOHSCROLL;
        if (s.scroll_bars & 2) style |= WS_VSCROLL;
      } else {
        style |= ES_AUTOHSCROLL;  // one line that scrolls sideways
      }
      if (s.input_mode == 1) style |= ES_READONLY;
      if (s.input_mode == 2) style |= ES_PASSWORD;
      if (!s.hide_selection) style |= ES_NOHIDESEL;
      if (!standard(border.ex_style, "EDIT", s.text, style)) return false;
      // 0 lifts the limit to the system's largest.
      SendMessageA(control.hwnd, EM_LIMITTEXT, static_cast<WPARAM>(std::max(s.max_length, 0)), 0);
      if (s.input_mode == 2)
        SendMessageA(control.hwnd, EM_SETPASSWORDCHAR, static_cast<unsigned char>(s.mask), 0);
      return true;
    }
    case Kind::Label: {
      const auto& s = std::get<LabelSettings>(entry.settings);
      SetColours(control, s.text_colour, s.background);
      control.own_font = MakeFont(s.font);
      const Styles border = BorderStyles(s.border);
      return create(border.ex_style, kLabelClass, s.caption, border.style, &control);
    }
    case Kind::Button: {
      // A button picture is not drawn: no layout of the program has one.
      const auto& s = std::get<ButtonSettings>(entry.settings);
      control.own_font = MakeFont(s.font);
      const DWORD style = (s.type == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | BS_MULTILINE |
                          Pick(kButtonAlign, s.align) | Pick(kButtonVAlign, s.valign);
      return standard(0, "BUTTON", s.caption, style);
    }
    case Kind::GroupBox: {
      const auto& s = std::get<GroupSettings>(entry.settings);
      SetColours(control, s.text_colour, s.background);
      control.own_font = MakeFont(s.font);
      const DWORD style = BS_GROUPBOX | WS_CLIPCHILDREN | Pick(kButtonAlign, s.caption_align);
      return standard(0, "BUTTON", s.caption, style);
    }
    case Kind::PictureBox: {
      const auto& s = std::get<PictureSettings>(entry.settings);
      SetColours(control, Rgb(0, 0, 0), s.background);
      const Styles border = BorderStyles(s.border);
      return create(border.ex_style, kPictureClass, "", border.style | WS_CLIPCHILDREN, &control);
    }
    case Kind::Timer: {
      if (!create(0, kTimerClass, "", 0, &control)) return false;
      SetTimerPeriod(control, std::get<TimerSettings>(entry.settings).period);
      return true;
    }
    case Kind::BrowserBox: {
      // Without a WebBrowser control on the machine the window is built
      // without the box, and its place stays empty.
      HWND box = CreateBrowserBox(parent, static_cast<int>(index + 1), entry.place, common,
                                  std::get<BrowserSettings>(entry.settings));
      if (box) control.hwnd = box;
      return true;
    }
    case Kind::Window:
      return false;
  }
  return false;
}

void LiveWindow::Stack() {
  // Putting each control on top of its siblings from the last stored to the
  // first leaves the first stored child of every parent on top.
  for (std::size_t i = controls_.size(); i-- > 0;) {
    if (!controls_[i]->hwnd) continue;
    SetWindowPos(controls_[i]->hwnd, HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void LiveWindow::ShowControls() {
  for (const auto& control : controls_) {
    if (!control->hwnd || !control->entry.visible || control->entry.kind == Kind::Timer) continue;
    ShowWindow(control->hwnd, SW_SHOWNA);
  }
}

void LiveWindow::ShowInStartState() {
  const WindowSettings& settings = layout_.window.settings;
  int show = SW_SHOWNORMAL;
  if (settings.start_position == 2) show = SW_SHOWMINIMIZED;
  if (settings.start_position == 3 && IsSizeable(settings.border)) show = SW_SHOWMAXIMIZED;
  ShowWindow(hwnd_, show);
  UpdateWindow(hwnd_);
}

LiveControl* LiveWindow::Find(const char* name) {
  const std::optional<std::size_t> index = FindControl(layout_, name);
  return index ? controls_[*index].get() : nullptr;
}

LiveControl* LiveWindow::FromHwnd(HWND hwnd) {
  if (!hwnd) return nullptr;
  for (const auto& control : controls_)
    if (control->hwnd == hwnd) return control.get();
  return nullptr;
}

void LiveWindow::SetTimerPeriod(LiveControl& timer, int milliseconds) {
  const int period = std::max(milliseconds, 0);
  if (!timer.hwnd || period == timer.timer_period) return;
  KillTimer(timer.hwnd, kPeriodicTimerId);
  timer.timer_period = period;
  if (period > 0) SetTimer(timer.hwnd, kPeriodicTimerId, static_cast<UINT>(period), nullptr);
}

void LiveWindow::DisableWhileModal(HWND other) {
  disabled_.emplace_back(other, IsWindowEnabled(other) != FALSE);
  EnableWindow(other, FALSE);
}

void LiveWindow::ReEnableDisabled() {
  for (const auto& [window, was_enabled] : disabled_)
    if (IsWindow(window)) EnableWindow(window, was_enabled);
  disabled_.clear();
}

void LiveWindow::RequestClose() {
  destroy_pending_ = true;
  PostMessageA(hwnd_, kMsgCloseRequest, 0, 0);
}

void LiveWindow::CloseNow() {
  // The windows a modal window disabled come back before it goes, so that
  // activation returns to them. DestroyWindow ends this object.
  const HWND hwnd = hwnd_;
  ReEnableDisabled();
  DestroyWindow(hwnd);
}

bool LiveWindow::HandleKey(WPARAM key, HWND focus) {
  const WindowSettings& settings = layout_.window.settings;
  switch (key) {
    case VK_TAB:
      MoveFocus(focus, GetKeyState(VK_SHIFT) < 0);
      return true;
    case VK_ESCAPE:
      // No control claims Esc, so it closes the window whatever has the focus.
      if (!settings.esc_closes) return false;
      SendMessageA(hwnd_, WM_CLOSE, 0, 0);
      return true;
    case VK_RETURN: {
      // A multi-line edit box that can be written to takes Enter for a new line.
      const LiveControl* control = FromHwnd(focus);
      if (control && control->entry.kind == Kind::EditBox) {
        const auto& edit = std::get<EditSettings>(control->entry.settings);
        if (edit.multi_line && edit.input_mode != 1) return false;
      }
      if (settings.enter_moves_focus) MoveFocus(focus, false);
      return true;  // otherwise Enter has no effect at window level
    }
  }
  return false;
}

void LiveWindow::MoveFocus(HWND focus, bool backwards) {
  const std::vector<std::size_t> order = TabOrder(layout_, [&](std::size_t i) {
    const HWND hwnd = controls_[i]->hwnd;
    return hwnd && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd);
  });
  std::optional<std::size_t> current;
  for (std::size_t i : order) {
    const HWND hwnd = controls_[i]->hwnd;
    if (hwnd == focus || IsChild(hwnd, focus)) current = i;
  }
  const std::optional<std::size_t> next = NextInTabOrder(order, current, backwards);
  if (next) SetFocus(controls_[*next]->hwnd);
}

LRESULT CALLBACK LiveWindow::FrameProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<LiveWindow*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<LiveWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    const LRESULT result = DefWindowProcA(hwnd, message, wparam, lparam);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->OnNcDestroy();  // may delete self
    return result;
  }
  return self->OnFrameMessage(message, wparam, lparam);
}

LRESULT LiveWindow::OnFrameMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT result = 0;
  if (ContainerMessage(*this, background_.get(), message, wparam, lparam, result)) return result;
  switch (message) {
    case WM_ERASEBKGND:
      return FillBackground(hwnd_, reinterpret_cast<HDC>(wparam), background_.get());
    case WM_CLOSE:
      // The close button, the system menu, Alt+F4 and Esc all end here; the
      // may-be-closed event is not wired, so the close goes ahead.
      CloseNow();
      return 0;
    case kMsgCloseRequest:
      if (!destroy_pending_) return 0;
      destroy_pending_ = false;
      CloseNow();
      return 0;
    case WM_SYSCOMMAND:
      if (!layout_.window.settings.movable && (wparam & 0xFFF0) == SC_MOVE) return 0;
      break;
  }
  return DefWindowProcA(hwnd_, message, wparam, lparam);
}

void LiveWindow::OnNcDestroy() {
  hwnd_ = nullptr;
  if (building_) return;
  AfterWindowDestroyed(form_);
}

bool TranslateWindowKeys(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || !msg.hwnd) return false;
  const HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  for (Form form : kForms) {
    LiveWindow* window = FindLiveWindow(form);
    if (window && window->hwnd() == root) return window->HandleKey(msg.wParam, msg.hwnd);
  }
  return false;
}

}  // namespace pavrelin
