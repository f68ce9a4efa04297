// The skinned look on Win32: the thread's buttons, edit boxes, combo boxes and
// up-down controls get a window procedure that draws them like Windows XP's
// Luna theme, in the colours of the chosen scheme, and hands every other
// message to the procedure they had before.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <unordered_map>

#include "app/skin.h"
#include "app/skin_win.h"
#include "app/window_services.h"
#include "platform/win_handles.h"

namespace pavrelin {

namespace {

// Colours that every scheme shares: disabled controls are drawn alike.
constexpr COLORREF kDisabledFrame = RGB(201, 199, 186);
constexpr COLORREF kDisabledFace = RGB(245, 244, 234);
constexpr COLORREF kDisabledText = RGB(161, 161, 146);
constexpr int kCheckSize = 13;  // check box and radio button, as Luna draws them
constexpr int kCheckGap = 4;    // between the box and its text

struct Skinned {
  WNDPROC previous;
  SkinKind kind;
  // The look is drawn; false once the skin is off but another procedure
  // wrapped ours, so that we cannot unhook and only pass messages on.
  bool drawn = true;
  bool hot = false;               // the mouse is over the control
  int pressed_part = 0;           // up-down: 1 first arrow, 2 second, 0 none
  bool border_in_client = false;  // edit: draws its own one-pixel border
};

struct SkinState {
  int style = 0;
  const SkinScheme* scheme = nullptr;
  UniqueHook hook;
  std::unordered_map<HWND, Skinned> windows;
};

SkinState& State() {
  static SkinState state;
  return state;
}

Skinned* Find(HWND window) {
  auto found = State().windows.find(window);
  return found == State().windows.end() ? nullptr : &found->second;
}

LRESULT CALLBACK SkinProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// ---------------------------------------------------------------------------
// Drawing helpers. Fills use the DC brush, so no brush is created per paint.

COLORREF Mix(COLORREF from, COLORREF to, int step, int steps) {
  if (steps <= 0) return from;
  auto channel = [&](int shift) {
    const int a = (from >> shift) & 0xFF;
    const int b = (to >> shift) & 0xFF;
    return static_cast<COLORREF>(a + (b - a) * step / steps) << shift;
  };
  return channel(0) | channel(8) | channel(16);
}

void Fill(HDC dc, const RECT& area, COLORREF colour) {
  SetDCBrushColor(dc, colour);
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void FillGradient(HDC dc, const RECT& area, COLORREF top, COLORREF bottom) {
  const int height = area.bottom - area.top;
  for (int y = 0; y < height; ++y)
    Fill(dc, {area.left, area.top + y, area.right, area.top + y + 1},
         Mix(top, bottom, y, height - 1));
}

void Outline(HDC dc, const RECT& area, COLORREF colour) {
  Fill(dc, {area.left, area.top, area.right, area.top + 1}, colour);
  Fill(dc, {area.left, area.bottom - 1, area.right, area.bottom}, colour);
  Fill(dc, {area.left, area.top, area.left + 1, area.bottom}, colour);
  Fill(dc, {area.right - 1, area.top, area.right, area.bottom}, colour);
}

// A one-pixel outline with cut corners: the shape of a Luna button.
void RoundedOutline(HDC dc, const RECT& area, COLORREF colour) {
  if (area.right - area.left < 5 || area.bottom - area.top < 5) return Outline(dc, area, colour);
  Fill(dc, {area.left + 2, area.top, area.right - 2, area.top + 1}, colour);
  Fill(dc, {area.left + 2, area.bottom - 1, area.right - 2, area.bottom}, colour);
  Fill(dc, {area.left, area.top + 2, area.left + 1, area.bottom - 2}, colour);
  Fill(dc, {area.right - 1, area.top + 2, area.right, area.bottom - 2}, colour);
  SetPixelV(dc, area.left + 1, area.top + 1, colour);
  SetPixelV(dc, area.right - 2, area.top + 1, colour);
  SetPixelV(dc, area.left + 1, area.bottom - 2, colour);
  SetPixelV(dc, area.right - 2, area.bottom - 2, colour);
}

RECT Inset(RECT area, int by) {
  InflateRect(&area, -by, -by);
  return area;
}

enum class Direction { Up, Down, Left, Right };

// A filled triangle centred in the area.
void Arrow(HDC dc, const RECT& area, Direction direction, COLORREF colour) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  const bool vertical = direction == Direction::Up || direction == Direction::Down;
  const int half = std::max(1, std::min((vertical ? width : height) / 4, 4));
  const int cx = area.left + width / 2;
  const int cy = area.top + height / 2;
  for (int i = 0; i < half; ++i) {
    const int span =
        (direction == Direction::Up || direction == Direction::Left) ? i : half - 1 - i;
    if (vertical) {
      const int y = cy - half / 2 + i;
      Fill(dc, {cx - span - 1, y, cx + span, y + 1}, colour);
    } else {
      const int x = cx - half / 2 + i;
      Fill(dc, {x, cy - span - 1, x + 1, cy + span}, colour);
    }
  }
}

// The background a control shows where it does not draw: what its parent
// answers to WM_CTLCOLOR*, aligned with the parent's client area.
HBRUSH ParentBrush(HWND window, HDC dc, UINT message) {
  HWND parent = GetParent(window);
  if (!parent) parent = window;
  POINT origin{0, 0};
  MapWindowPoints(window, parent, &origin, 1);
  SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
  auto brush = reinterpret_cast<HBRUSH>(SendMessageA(parent, message, reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(window)));
  if (!brush)  // a parent that forgot DefWindowProc
    brush = reinterpret_cast<HBRUSH>(DefWindowProcA(parent, message, reinterpret_cast<WPARAM>(dc),
                                                    reinterpret_cast<LPARAM>(window)));
  return brush ? brush : GetSysColorBrush(COLOR_BTNFACE);
}

// Fills a control's canvas with its parent's background. A parent that
// answers with a hollow brush (to make its labels transparent) would leave
// the canvas black, so the dialog colour goes first.
void FillBackground(HWND window, HDC dc, const RECT& area, UINT message) {
  Fill(dc, area, GetSysColor(COLOR_BTNFACE));
  FillRect(dc, &area, ParentBrush(window, dc, message));
}

std::string WindowTextOf(HWND window) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// A memory bitmap the size of the area, copied to the target at the end, so
// that a control is never seen half drawn. Without memory it draws directly.
class Canvas {
 public:
  Canvas(HDC target, const RECT& area)
      : target_(target),
        area_(area),
        dc_(CreateCompatibleDC(target)),
        bitmap_(CreateCompatibleBitmap(target, area.right - area.left, area.bottom - area.top)),
        selected_(dc_.get(), bitmap_ ? bitmap_.get() : nullptr) {
    if (dc_ && bitmap_) SetWindowOrgEx(dc_.get(), area.left, area.top, nullptr);
  }
  ~Canvas() {
    if (dc_ && bitmap_)
      BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top,
             dc_.get(), area_.left, area_.top, SRCCOPY);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  HDC dc() const { return dc_ && bitmap_ ? dc_.get() : target_; }

 private:
  HDC target_;
  RECT area_;
  UniqueMemoryDc dc_;
  UniqueBitmap bitmap_;
  SelectedObject selected_;
};

// ---------------------------------------------------------------------------
// Buttons

struct ButtonLook {
  DWORD style;
  DWORD ex_style;
  bool pushed;
  bool checked;
  bool indeterminate;
  bool focused;
  bool hot;
  bool enabled;
  bool show_focus;
  bool show_prefix;
  HFONT font;
  std::string text;
};

ButtonLook LookOf(HWND window, WNDPROC previous, bool hot) {
  const auto state = static_cast<DWORD>(CallWindowProcA(previous, window, BM_GETSTATE, 0, 0));
  const auto ui_state = static_cast<DWORD>(SendMessageA(window, WM_QUERYUISTATE, 0, 0));
  return {static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)),
          static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)),
          (state & BST_PUSHED) != 0,
          (state & BST_CHECKED) != 0,
          (state & BST_INDETERMINATE) != 0,
          (state & BST_FOCUS) != 0,
          hot,
          IsWindowEnabled(window) != FALSE,
          (ui_state & UISF_HIDEFOCUS) == 0,
          (ui_state & UISF_HIDEACCEL) == 0,
          reinterpret_cast<HFONT>(CallWindowProcA(previous, window, WM_GETFONT, 0, 0)),
          WindowTextOf(window)};
}

// DrawText flags for the button's horizontal alignment; centre is the push
// button's default, left that of the others.
UINT HorizontalFlags(const ButtonLook& look, bool centred_by_default) {
  if (look.ex_style & WS_EX_RIGHT) return DT_RIGHT;
  switch (look.style & BS_CENTER) {
    case BS_LEFT:
      return DT_LEFT;
    case BS_RIGHT:
      return DT_RIGHT;
    case BS_CENTER:
      return DT_CENTER;
    default:
      return centred_by_default ? DT_CENTER : DT_LEFT;
  }
}

// Draws the text in the area with the button's alignment and returns the
// rectangle it takes, for the focus rectangle.
RECT DrawLabel(HDC dc, const ButtonLook& look, const RECT& area, UINT horizontal, COLORREF colour) {
  if (look.text.empty()) return {};
  SelectedObject font(dc, look.font);
  const bool multi_line = (look.style & BS_MULTILINE) != 0;
  const UINT flags = horizontal | (multi_line ? DT_WORDBREAK : DT_SINGLELINE) |
                     (look.show_prefix ? 0 : DT_HIDEPREFIX);
  RECT measured = area;
  DrawTextA(dc, look.text.c_str(), static_cast<int>(look.text.size()), &measured,
            flags | DT_CALCRECT);
  const int width = std::min(measured.right - measured.left, area.right - area.left);
  const int height = std::min(measured.bottom - measured.top, area.bottom - area.top);
  int top = area.top + (area.bottom - area.top - height) / 2;
  if ((look.style & BS_VCENTER) == BS_TOP) top = area.top;
  if ((look.style & BS_VCENTER) == BS_BOTTOM) top = area.bottom - height;
  RECT placed{area.left, top, area.right, top + height};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  DrawTextA(dc, look.text.c_str(), static_cast<int>(look.text.size()), &placed, flags);
  int left = area.left;
  if (horizontal == DT_CENTER) left += (area.right - area.left - width) / 2;
  if (horizontal == DT_RIGHT) left = area.right - width;
  return {left, top, left + width, top + height};
}

void PaintPushButton(HWND window, HDC dc, const RECT& client, const ButtonLook& look,
                     const SkinScheme& scheme) {
  FillBackground(window, dc, client, WM_CTLCOLORBTN);
  const bool pushed = look.pushed || look.checked;  // a push-like check box shows its check so
  const RECT face = Inset(client, 1);
  if (!look.enabled)
    Fill(dc, face, kDisabledFace);
  else if (pushed)
    FillGradient(dc, face, scheme.pressed_top, scheme.pressed_bottom);
  else
    FillGradient(dc, face, scheme.face_top, scheme.face_bottom);
  RoundedOutline(dc, client, look.enabled ? scheme.frame : kDisabledFrame);

  const bool is_default = (look.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  if (look.enabled && !pushed && (look.hot || look.focused || is_default)) {
    const COLORREF outer = look.hot ? scheme.hot_outer : scheme.focus_outer;
    const COLORREF inner = look.hot ? scheme.hot_inner : scheme.focus_inner;
    const RECT ring = Inset(client, 1);
    Fill(dc, {ring.left + 1, ring.top, ring.right - 1, ring.top + 1}, inner);
    Fill(dc, {ring.left + 1, ring.bottom - 1, ring.right - 1, ring.bottom}, outer);
    Fill(dc, {ring.left, ring.top + 1, ring.left + 1, ring.bottom - 1}, Mix(inner, outer, 1, 2));
    Fill(dc, {ring.right - 1, ring.top + 1, ring.right, ring.bottom - 1}, Mix(inner, outer, 1, 2));
  }

  RECT label = Inset(client, 4);
  if (pushed) OffsetRect(&label, 1, 1);
  const COLORREF text = look.enabled ? GetSysColor(COLOR_BTNTEXT) : kDisabledText;
  DrawLabel(dc, look, label, HorizontalFlags(look, true), text);
  if (look.focused && look.show_focus) {
    const RECT focus = Inset(client, 3);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    DrawFocusRect(dc, &focus);
  }
}

void PaintCheckMark(HDC dc, const RECT& box, COLORREF colour) {
  // A three-pixel stroke falling over three columns and rising over four.
  constexpr int kTops[] = {5, 6, 7, 6, 5, 4, 3};
  for (int i = 0; i < 7; ++i) {
    const int x = box.left + 3 + i;
    Fill(dc, {x, box.top + kTops[i], x + 1, box.top + kTops[i] + 3}, colour);
  }
}

void PaintCheckOrRadio(HWND window, HDC dc, const RECT& client, const ButtonLook& look,
                       const SkinScheme& scheme, bool radio) {
  FillBackground(window, dc, client, WM_CTLCOLORSTATIC);
  const COLORREF text_colour = look.enabled ? GetTextColor(dc) : kDisabledText;
  const bool box_on_right = (look.style & BS_LEFTTEXT) || (look.ex_style & WS_EX_RIGHT);

  int box_top = client.top + (client.bottom - client.top - kCheckSize) / 2;
  if ((look.style & BS_VCENTER) == BS_TOP) box_top = client.top;
  if ((look.style & BS_VCENTER) == BS_BOTTOM) box_top = client.bottom - kCheckSize;
  const int box_left = box_on_right ? client.right - kCheckSize : client.left;
  const RECT box{box_left, box_top, box_left + kCheckSize, box_top + kCheckSize};
  const COLORREF frame = look.enabled ? scheme.frame : kDisabledFrame;
  const COLORREF mark = look.enabled ? scheme.mark : kDisabledText;

  if (radio) {
    COLORREF fill = Mix(scheme.box_top, scheme.box_bottom, 1, 2);
    if (!look.enabled) fill = kDisabledFace;
    if (look.enabled && look.pushed) fill = scheme.pressed_top;
    SelectedObject pen(dc, GetStockObject(DC_PEN));
    SelectedObject brush(dc, GetStockObject(DC_BRUSH));
    SetDCPenColor(dc, frame);
    SetDCBrushColor(dc, fill);
    Ellipse(dc, box.left, box.top, box.right, box.bottom);
    if (look.enabled && look.hot && !look.pushed) {
      SetDCPenColor(dc, scheme.hot_inner);
      SelectedObject hollow(dc, GetStockObject(NULL_BRUSH));
      Ellipse(dc, box.left + 1, box.top + 1, box.right - 1, box.bottom - 1);
    }
    if (look.checked) {
      SetDCPenColor(dc, mark);
      SetDCBrushColor(dc, mark);
      Ellipse(dc, box.left + 4, box.top + 4, box.right - 4, box.bottom - 4);
    }
  } else {
    const RECT inside = Inset(box, 1);
    if (!look.enabled)
      Fill(dc, inside, kDisabledFace);
    else if (look.pushed)
      FillGradient(dc, inside, scheme.pressed_top, scheme.pressed_bottom);
    else
      FillGradient(dc, inside, scheme.box_top, scheme.box_bottom);
    Outline(dc, box, frame);
    if (look.enabled && look.hot && !look.pushed) {
      Outline(dc, inside, scheme.hot_outer);
      Outline(dc, Inset(inside, 1), scheme.hot_inner);
    }
    if (look.checked) PaintCheckMark(dc, box, mark);
    if (look.indeterminate) Fill(dc, Inset(box, 3), Mix(mark, RGB(255, 255, 255), 1, 3));
  }

  RECT label = client;
  if (box_on_right)
    label.right = box.left - kCheckGap;
  else
    label.left = box.right + kCheckGap;
  const RECT drawn = DrawLabel(dc, look, label, HorizontalFlags(look, false), text_colour);
  if (look.focused && look.show_focus && drawn.right > drawn.left) {
    RECT focus = drawn;
    InflateRect(&focus, 1, 1);
    IntersectRect(&focus, &focus, &client);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    DrawFocusRect(dc, &focus);
  }
}

// The frame of a group box is drawn straight onto the window: the inside is
// left to the controls that the box groups.
void PaintGroupBox(HWND window, HDC dc, const RECT& client, const ButtonLook& look,
                   const SkinScheme& scheme) {
  SelectedObject font(dc, look.font);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  const int line = metrics.tmHeight;
  // The title line, so that a shorter new title leaves nothing of the old one.
  HBRUSH background = ParentBrush(window, dc, WM_CTLCOLORSTATIC);
  const RECT band{client.left, client.top, client.right,
                  std::min(client.bottom, client.top + line)};
  FillRect(dc, &band, background);
  RoundedOutline(dc, {client.left, client.top + line / 2, client.right, client.bottom},
                 look.enabled ? scheme.frame : kDisabledFrame);
  if (look.text.empty()) return;

  RECT measured{0, 0, 0, 0};
  DrawTextA(dc, look.text.c_str(), static_cast<int>(look.text.size()), &measured,
            DT_SINGLELINE | DT_CALCRECT);
  const int width = std::min<int>(measured.right, client.right - client.left - 18);
  int left = client.left + 8;
  const UINT horizontal = HorizontalFlags(look, false);
  if (horizontal == DT_CENTER) left = client.left + (client.right - client.left - width) / 2;
  if (horizontal == DT_RIGHT) left = client.right - 8 - width;
  const RECT title{left - 2, client.top, left + width + 2, client.top + line};
  FillRect(dc, &title, background);
  DrawLabel(dc, look, {left, client.top, left + width, client.top + line}, DT_LEFT,
            look.enabled ? scheme.caption : kDisabledText);
}

void PaintButton(HWND window, HDC target, const Skinned& skinned, const SkinScheme& scheme) {
  RECT client;
  GetClientRect(window, &client);
  const ButtonLook look = LookOf(window, skinned.previous, skinned.hot);
  if (skinned.kind == SkinKind::GroupBox)
    return PaintGroupBox(window, target, client, look, scheme);
  Canvas canvas(target, client);
  if (skinned.kind == SkinKind::PushButton)
    PaintPushButton(window, canvas.dc(), client, look, scheme);
  else
    PaintCheckOrRadio(window, canvas.dc(), client, look, scheme,
                      skinned.kind == SkinKind::RadioButton);
}

// ---------------------------------------------------------------------------
// Up-down controls: two arrow buttons, drawn whole.

RECT UpDownPart(const RECT& client, bool horizontal, int part) {
  RECT area = client;
  if (horizontal) {
    const int middle = (client.left + client.right) / 2;
    (part == 1 ? area.right : area.left) = middle;
  } else {
    const int middle = (client.top + client.bottom) / 2;
    (part == 1 ? area.bottom : area.top) = middle;
  }
  return area;
}

int UpDownPartAt(HWND window, LPARAM point) {
  RECT client;
  GetClientRect(window, &client);
  const bool horizontal = (GetWindowLongPtrA(window, GWL_STYLE) & UDS_HORZ) != 0;
  const POINT at{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
  for (int part = 1; part <= 2; ++part) {
    const RECT area = UpDownPart(client, horizontal, part);
    if (PtInRect(&area, at)) return part;
  }
  return 0;
}

void PaintUpDown(HWND window, HDC target, const Skinned& skinned, const SkinScheme& scheme) {
  RECT client;
  GetClientRect(window, &client);
  Canvas canvas(target, client);
  HDC dc = canvas.dc();
  FillBackground(window, dc, client, WM_CTLCOLORSTATIC);
  const bool horizontal = (GetWindowLongPtrA(window, GWL_STYLE) & UDS_HORZ) != 0;
  const bool enabled = IsWindowEnabled(window) != FALSE;
  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(window, &cursor);
  for (int part = 1; part <= 2; ++part) {
    const RECT area = UpDownPart(client, horizontal, part);
    const bool pressed = enabled && skinned.pressed_part == part;
    const bool hot = enabled && skinned.hot && PtInRect(&area, cursor);
    if (!enabled)
      Fill(dc, Inset(area, 1), kDisabledFace);
    else if (pressed)
      FillGradient(dc, Inset(area, 1), scheme.pressed_top, scheme.pressed_bottom);
    else
      FillGradient(dc, Inset(area, 1), scheme.face_top, scheme.face_bottom);
    RoundedOutline(dc, area, !enabled ? kDisabledFrame : hot ? scheme.hot_outer : scheme.frame);
    const Direction direction = horizontal ? (part == 1 ? Direction::Left : Direction::Right)
                                           : (part == 1 ? Direction::Up : Direction::Down);
    Arrow(dc, area, direction, enabled ? scheme.glyph : kDisabledText);
  }
}

// ---------------------------------------------------------------------------
// Edit boxes, combo boxes and drop-down lists keep drawing themselves; the
// frame colour goes over the border they drew.

// Where the window's border meets its client area, in window coordinates.
RECT ClientInWindow(HWND window, RECT* whole) {
  RECT screen;
  GetWindowRect(window, &screen);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  const int border_x = origin.x - screen.left;
  const int border_y = origin.y - screen.top;
  *whole = {0, 0, screen.right - screen.left, screen.bottom - screen.top};
  return {border_x, border_y, whole->right - border_x, whole->bottom - border_y};
}

HBRUSH EditBackground(HWND edit, HDC dc) {
  const bool read_only = (GetWindowLongPtrA(edit, GWL_STYLE) & ES_READONLY) != 0;
  const UINT message = (read_only || !IsWindowEnabled(edit)) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
  return ParentBrush(edit, dc, message);
}

// The non-client border: the outer pixel in the frame colour, the rest of an
// edge (a client edge is two pixels deep) in the box's own background.
void PaintNonClientFrame(HWND window, COLORREF frame, bool edit) {
  RECT whole;
  const RECT inner = ClientInWindow(window, &whole);
  if (inner.left <= 0 && inner.top <= 0) return;  // no border
  WindowDc dc(window, WindowDc::kWhole);
  if (!dc.get()) return;
  if (inner.left > 1 && inner.top > 1) {
    HBRUSH background = edit ? EditBackground(window, dc.get()) : GetSysColorBrush(COLOR_WINDOW);
    const RECT ring = Inset(whole, 1);
    const int depth = std::min(inner.left, inner.top) - 1;
    const RECT sides[] = {{ring.left, ring.top, ring.right, ring.top + depth},
                          {ring.left, ring.bottom - depth, ring.right, ring.bottom},
                          {ring.left, ring.top, ring.left + depth, ring.bottom},
                          {ring.right - depth, ring.top, ring.right, ring.bottom}};
    for (const RECT& side : sides) FillRect(dc.get(), &side, background);
  }
  Outline(dc.get(), whole, frame);
}

void PaintClientFrame(HWND window, COLORREF frame) {
  RECT client;
  GetClientRect(window, &client);
  WindowDc dc(window, WindowDc::kClient);
  if (dc.get()) Outline(dc.get(), client, frame);
}

void PaintComboFrame(HWND combo, const Skinned& skinned, const SkinScheme& scheme) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (!GetComboBoxInfo(combo, &info)) return;
  RECT client;
  GetClientRect(combo, &client);
  WindowDc window_dc(combo, WindowDc::kClient);
  HDC dc = window_dc.get();
  if (!dc) return;
  const bool enabled = IsWindowEnabled(combo) != FALSE;
  // The combo box draws a two-pixel sunken edge: frame colour, then background.
  Outline(dc, Inset(client, 1), enabled ? GetSysColor(COLOR_WINDOW) : GetSysColor(COLOR_BTNFACE));
  Outline(dc, client, enabled ? scheme.frame : kDisabledFrame);

  const RECT button = info.rcButton;
  if (IsRectEmpty(&button)) return;
  const bool pressed = (info.stateButton & STATE_SYSTEM_PRESSED) != 0;
  const RECT face = Inset(button, 1);
  if (!enabled)
    Fill(dc, face, kDisabledFace);
  else if (pressed)
    FillGradient(dc, face, scheme.pressed_top, scheme.pressed_bottom);
  else
    FillGradient(dc, face, scheme.face_top, scheme.face_bottom);
  const bool hot = enabled && skinned.hot && !pressed;
  RoundedOutline(dc, button, !enabled ? kDisabledFrame : hot ? scheme.hot_outer : scheme.frame);
  Arrow(dc, button, Direction::Down, enabled ? scheme.glyph : kDisabledText);
}

// Whether an edit box without a non-client area draws a border of its own in
// its client area. Edit controls turn WS_BORDER into such a border at
// creation and drop the style bit, so the style no longer tells; the text then
// starts further in than the left margin alone would put it.
bool DrawsBorderInClient(HWND edit, const CREATESTRUCTA* created) {
  RECT whole;
  const RECT inner = ClientInWindow(edit, &whole);
  if (inner.left > 0 || inner.top > 0) return false;
  if (created) return (created->style & WS_BORDER) != 0;
  RECT format{};
  SendMessageA(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  const int left_margin = LOWORD(SendMessageA(edit, EM_GETMARGINS, 0, 0));
  return format.left - left_margin >= 2;
}

// ---------------------------------------------------------------------------
// The window procedure

void RequestMouseLeave(HWND window) {
  TRACKMOUSEEVENT query{};
  query.cbSize = sizeof query;
  query.dwFlags = TME_QUERY;
  if (TrackMouseEvent(&query) && query.hwndTrack == window && (query.dwFlags & TME_LEAVE)) return;
  TRACKMOUSEEVENT track{};
  track.cbSize = sizeof track;
  track.dwFlags = TME_LEAVE;
  track.hwndTrack = window;
  TrackMouseEvent(&track);
}

// Keeps the hot flag of a skinned window in step with the mouse.
void TrackHot(HWND window, UINT message) {
  Skinned* skinned = Find(window);
  if (!skinned) return;
  if (message == WM_MOUSEMOVE && !skinned->hot) {
    skinned->hot = true;
    RequestMouseLeave(window);
    InvalidateRect(window, nullptr, FALSE);
  } else if (message == WM_MOUSELEAVE) {
    skinned->hot = false;
    InvalidateRect(window, nullptr, FALSE);
  } else if (message == WM_MOUSEMOVE && skinned->kind == SkinKind::UpDown) {
    InvalidateRect(window, nullptr, FALSE);  // the arrow under the mouse may have changed
  }
}

// The button procedures paint at once, through GetDC, whenever a state
// changes, but only while the window is visible. Hiding the window from them
// for the call (WM_SETREDRAW of DefWindowProc clears WS_VISIBLE and sends
// nothing) keeps the classic look off the screen; the skinned one follows.
LRESULT CallUndrawn(WNDPROC previous, HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  const bool visible = (GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0;
  if (visible) DefWindowProcA(window, WM_SETREDRAW, FALSE, 0);
  const LRESULT result = CallWindowProcA(previous, window, message, wparam, lparam);
  if (visible && IsWindow(window)) {
    DefWindowProcA(window, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }
  return result;
}

LRESULT ButtonProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam, WNDPROC previous) {
  switch (message) {
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      const Skinned skinned = *Find(window);
      if (wparam) {
        PaintButton(window, reinterpret_cast<HDC>(wparam), skinned, *State().scheme);
      } else {
        PaintDc paint(window);
        PaintButton(window, paint.get(), skinned, *State().scheme);
      }
      return 0;
    }
    case WM_ERASEBKGND:
      // A push button, check box or radio is painted whole; a group box's
      // inside is left to its own background, which its owner may fill.
      if (Find(window)->kind == SkinKind::GroupBox)
        return CallWindowProcA(previous, window, message, wparam, lparam);
      return 1;
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE:
    case BM_SETCHECK:
    case BM_SETSTATE:
    case BM_SETSTYLE:
      return CallUndrawn(previous, window, message, wparam, lparam);
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE: {
      const LRESULT result = CallWindowProcA(previous, window, message, wparam, lparam);
      TrackHot(window, message);
      return result;
    }
    default:
      return CallWindowProcA(previous, window, message, wparam, lparam);
  }
}

LRESULT UpDownProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam, WNDPROC previous) {
  switch (message) {
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      const Skinned skinned = *Find(window);
      if (wparam) {
        PaintUpDown(window, reinterpret_cast<HDC>(wparam), skinned, *State().scheme);
      } else {
        PaintDc paint(window);
        PaintUpDown(window, paint.get(), skinned, *State().scheme);
      }
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      Find(window)->pressed_part = IsWindowEnabled(window) ? UpDownPartAt(window, lparam) : 0;
      InvalidateRect(window, nullptr, FALSE);
      break;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED: {
      const LRESULT result = CallWindowProcA(previous, window, message, wparam, lparam);
      if (Skinned* skinned = Find(window)) skinned->pressed_part = 0;
      InvalidateRect(window, nullptr, FALSE);
      return result;
    }
    case WM_ENABLE: {
      const LRESULT result = CallWindowProcA(previous, window, message, wparam, lparam);
      InvalidateRect(window, nullptr, FALSE);
      return result;
    }
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE: {
      const LRESULT result = CallWindowProcA(previous, window, message, wparam, lparam);
      TrackHot(window, message);
      return result;
    }
  }
  return CallWindowProcA(previous, window, message, wparam, lparam);
}

// Edit boxes, combo boxes and their lists draw themselves; the frame goes over
// what they drew, after the messages that draw it.
LRESULT FramedProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam, WNDPROC previous) {
  const LRESULT result = CallWindowProcA(previous, window, message, wparam, lparam);
  const Skinned* skinned = Find(window);
  const SkinScheme* scheme = State().scheme;
  if (!skinned || !skinned->drawn || !scheme) return result;  // switched off meanwhile
  const COLORREF frame = IsWindowEnabled(window) ? scheme->frame : kDisabledFrame;
  switch (message) {
    case WM_NCPAINT:
      if (skinned->kind != SkinKind::ComboBox)
        PaintNonClientFrame(window, frame, skinned->kind == SkinKind::Edit);
      break;
    case WM_PAINT:
      if (skinned->kind == SkinKind::ComboBox) PaintComboFrame(window, *skinned, *scheme);
      if (skinned->kind == SkinKind::Edit && skinned->border_in_client)
        PaintClientFrame(window, frame);
      break;
    case WM_ENABLE:
    case EM_SETREADONLY:
      RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
      break;
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
      if (skinned->kind == SkinKind::ComboBox) TrackHot(window, message);
      break;
  }
  return result;
}

void Forget(HWND window) {
  auto& windows = State().windows;
  auto found = windows.find(window);
  if (found == windows.end()) return;
  if (GetWindowLongPtrA(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&SkinProc))
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(found->second.previous));
  windows.erase(found);
}

LRESULT CALLBACK SkinProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  const Skinned* skinned = Find(window);
  if (!skinned) return DefWindowProcA(window, message, wparam, lparam);  // never wrapped
  const WNDPROC previous = skinned->previous;
  if (message == WM_NCDESTROY) {
    // The last message: give the window its procedure back and drop it, so
    // that a later window with the same handle starts afresh.
    Forget(window);
    return CallWindowProcA(previous, window, message, wparam, lparam);
  }
  if (!skinned->drawn || !State().scheme)
    return CallWindowProcA(previous, window, message, wparam, lparam);
  switch (skinned->kind) {
    case SkinKind::PushButton:
    case SkinKind::CheckBox:
    case SkinKind::RadioButton:
    case SkinKind::GroupBox:
      return ButtonProc(window, message, wparam, lparam, previous);
    case SkinKind::UpDown:
      return UpDownProc(window, message, wparam, lparam, previous);
    default:
      return FramedProc(window, message, wparam, lparam, previous);
  }
}

// ---------------------------------------------------------------------------
// Wrapping and unwrapping

std::string ClassOf(HWND window) {
  char name[64] = "";
  if (window) GetClassNameA(window, name, sizeof name);
  return name;
}

// Gives the window the look if its class qualifies. created: its creation
// record when met at WM_CREATE.
void Wrap(HWND window, const CREATESTRUCTA* created) {
  auto& windows = State().windows;
  if (auto found = windows.find(window); found != windows.end()) {
    found->second.drawn = true;  // already wrapped: never twice
    return;
  }
  const SkinKind kind =
      SkinKindFor(ClassOf(window), static_cast<std::uint32_t>(GetWindowLongPtrA(window, GWL_STYLE)),
                  ClassOf(GetParent(window)), GetWindowTextLengthA(window) > 0);
  if (kind == SkinKind::None) return;
  Skinned skinned{nullptr, kind};
  if (kind == SkinKind::Edit) skinned.border_in_client = DrawsBorderInClient(window, created);
  auto [entry, inserted] = windows.emplace(window, skinned);
  entry->second.previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SkinProc)));
  if (!entry->second.previous) windows.erase(entry);  // not ours to wrap
}

void Redraw(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

BOOL CALLBACK WrapChild(HWND window, LPARAM) {
  Wrap(window, nullptr);
  Redraw(window);
  return TRUE;
}

BOOL CALLBACK WrapTopLevel(HWND window, LPARAM) {
  Wrap(window, nullptr);
  Redraw(window);
  EnumChildWindows(window, WrapChild, 0);
  return TRUE;
}

LRESULT CALLBACK SkinHook(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION && State().scheme) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (call->message == WM_CREATE)
      Wrap(call->hwnd, reinterpret_cast<const CREATESTRUCTA*>(call->lParam));
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

// Removes the hook and gives every window its procedure back; true when a
// hook was removed.
bool SwitchOff(SkinState& state) {
  const bool removed = state.hook && UnhookWindowsHookEx(state.hook.release());
  state.scheme = nullptr;
  std::unordered_map<HWND, Skinned> windows;
  windows.swap(state.windows);
  for (auto& [window, skinned] : windows) {
    if (!IsWindow(window)) continue;
    if (GetWindowLongPtrA(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&SkinProc)) {
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(skinned.previous));
    } else {
      // Another procedure wrapped ours after us: taking ours out would cut it
      // off, so ours stays in the chain and only passes messages on.
      skinned.drawn = false;
      skinned.hot = false;
      state.windows.emplace(window, skinned);
    }
    InvalidateRect(window, nullptr, TRUE);
    Redraw(window);
  }
  return removed;
}

}  // namespace

std::size_t SkinnedWindowCount() {
  std::size_t count = 0;
  for (const auto& [window, skinned] : State().windows) count += skinned.drawn ? 1 : 0;
  return count;
}

bool ApplyXpSkin(int style) {
  SkinState& state = State();
  state.style = style;
  const bool removed = SwitchOff(state);
  const SkinScheme* scheme = SkinSchemeFor(style);
  if (!scheme) return removed;
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, SkinHook, nullptr, GetCurrentThreadId());
  if (!hook) return false;
  state.hook.reset(hook);
  state.scheme = scheme;
  EnumThreadWindows(GetCurrentThreadId(), WrapTopLevel, 0);
  return true;
}

}  // namespace pavrelin
