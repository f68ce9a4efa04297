// The model that both windows are written in: a layout is one window entry and
// an ordered list of control entries. Stored order sets creation (last first),
// stacking (first on top) and tab order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <variant>

namespace pavrelin {

// The two layouts. Handlers address a control by its form and its name.
enum class Form { MainWindow, HelpPromptWindow };

enum class Kind { Window, EditBox, PictureBox, GroupBox, Label, Button, Timer, BrowserBox };

// The kind names, from which the default control names are formed.
const char* KindName(Kind kind);
bool IsContainer(Kind kind);

// Property numbers common to every kind; numbers from 8 on belong to the kind.
enum CommonProperty : int {
  kPropLeft = 0,
  kPropTop = 1,
  kPropWidth = 2,
  kPropHeight = 3,
  kPropTag = 4,
  kPropVisible = 5,
  kPropDisable = 6,
  kPropMousePointer = 7,
  kPropText = 8,  // edit text, label and window caption, timer period
};

// The events the layouts bind, with their number within the kind.
enum class Event { Created, Clicked, LeftButtonPressed, Periodic };
constexpr int EventNumber(Event event) { return event == Event::LeftButtonPressed ? -1 : 0; }

// Key state passed with left-button-pressed: added together.
enum KeyState : int { kKeyCtrl = 1, kKeyShift = 2, kKeyAlt = 4 };

// Colours are 0x00BBGGRR; kSystemColour stands for the dialog/button face colour.
using Colour = std::uint32_t;
constexpr Colour kSystemColour = 0xFF000000u;
constexpr Colour Rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }

// A LOGFONTA record, byte for byte (60 bytes), so that a stored font can be
// handed to the platform unchanged.
struct FontRecord {
  std::int32_t height = 0;
  std::int32_t width = 0;
  std::int32_t escapement = 0;
  std::int32_t orientation = 0;
  std::int32_t weight = 0;
  std::uint8_t italic = 0;
  std::uint8_t underline = 0;
  std::uint8_t strike_out = 0;
  std::uint8_t char_set = 0;
  std::uint8_t out_precision = 0;
  std::uint8_t clip_precision = 0;
  std::uint8_t quality = 0;
  std::uint8_t pitch_and_family = 0;
  char face_name[32] = {};
};
static_assert(sizeof(FontRecord) == 60, "FontRecord must match LOGFONTA");

// What a font is created from: character set, precisions, quality and pitch are
// replaced by the defaults (proof quality); everything else is used as stored.
FontRecord NormalisedForCreation(const FontRecord& stored);

enum class Pointer { None, Arrow, Hand };

// Pictures are carried as resources of the executable.
enum class Picture { None, Banner, SignalBars, Progress };

enum class Align { Left = 0, Centre = 1, Right = 2 };
enum class VAlign { Top = 0, Centre = 1, Bottom = 2 };

struct WindowSettings {
  const char* caption = "";
  int border = 2;  // 0 none; 1/3/5 sizeable; 2/4/6 fixed; 3/4 tool title; 5/6 client edge
  Colour background = kSystemColour;
  bool control_box = true;
  bool maximise_button = false;
  bool minimise_button = false;
  int start_position = 1;  // 0 stored; 1 centred; 2 minimised; 3 maximised
  bool movable = true;
  bool enter_moves_focus = false;
  bool esc_closes = true;
  bool in_taskbar = true;
  bool always_on_top = false;
};

struct EditSettings {
  const char* text = "";
  int border = 1;  // 0 none; 1 sunken; 2 raised; 3 thin sunken; 4 both; 5 single line
  Colour text_colour = Rgb(0, 0, 0);
  Colour background = Rgb(255, 255, 255);
  const FontRecord* font = nullptr;
  bool hide_selection = true;
  int max_length = 0;
  bool multi_line = false;
  int scroll_bars = 0;  // 0 none; 1 horizontal; 2 vertical; 3 both
  Align align = Align::Left;
  int input_mode = 0;  // 0 normal; 1 read-only; 2 password
  char mask = '*';
};

struct LabelSettings {
  const char* caption = "标签";
  int effect = 0;
  int border = 0;
  const FontRecord* font = nullptr;
  Colour text_colour = Rgb(0, 0, 0);
  Colour background = kSystemColour;
  Align align = Align::Left;
  bool word_wrap = false;
  VAlign valign = VAlign::Centre;
};

struct ButtonSettings {
  Picture picture = Picture::None;
  int type = 0;  // 0 normal; 1 default push button
  const char* caption = "按钮";
  Align align = Align::Centre;
  VAlign valign = VAlign::Centre;
  const FontRecord* font = nullptr;
};

struct GroupSettings {
  const char* caption = "";
  Align caption_align = Align::Left;
  Colour text_colour = Rgb(0, 0, 0);
  Colour background = kSystemColour;
  const FontRecord* font = nullptr;
};

struct PictureSettings {
  int border = 0;
  Colour background = kSystemColour;
  Picture picture = Picture::None;
  int display_mode = 0;  // 0 natural size top-left; 1 stretched; 2 centred, shrunk to fit
  bool animate = true;
};

struct TimerSettings {
  int period = 0;  // milliseconds; 0 or less is stopped
};

struct BrowserSettings {
  int font_size = 2;  // 0..4, clamped
  bool offline = false;
  bool silent = false;
  const char* url = "";
};

using KindSettings = std::variant<EditSettings, LabelSettings, ButtonSettings, GroupSettings,
                                  PictureSettings, TimerSettings, BrowserSettings>;

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct ControlEntry {
  const char* name;
  Kind kind;
  const char* parent;  // nullptr: the window itself
  Rect place;          // in the parent's client area; may be negative
  bool visible = true;
  bool disabled = false;
  bool tab_stop = false;
  int tab_index = 0;
  Pointer pointer = Pointer::None;
  KindSettings settings = EditSettings{};
};

struct WindowEntry {
  const char* name;
  Rect place;  // screen position and outer size
  bool visible = true;
  WindowSettings settings;
};

struct Layout {
  WindowEntry window;
  const ControlEntry* controls;
  std::size_t count;
};

// Handlers are plain routines; the arguments of left-button-pressed are not read
// by any handler of this program.
using Handler = void (*)();

// One row of a window's wiring: control nullptr means the window itself.
struct Wiring {
  Form form;
  const char* control;
  Event event;
  Handler handler;
};

}  // namespace pavrelin
