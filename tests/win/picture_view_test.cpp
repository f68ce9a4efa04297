// The picture box's view on the real platform: pictures from the
// executable's resources, drawn into a box of a real window and read back
// from the screen; the animation worker's pace and its end.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/win_handles.h"
#include "support/win_test_support.h"
#include "win/picture_box_window.h"
#include "ui/picture_resources.h"
#include "ui/picture_view_win.h"

namespace pavrelin {
namespace {

using test::BoxWindow;
using test::PumpUntil;

// A background no picture here contains, in both the COLORREF and the DIB
// pixel layouts.
constexpr Colour kMagenta = Rgb(255, 0, 255);
constexpr std::uint32_t kMagentaPixel = 0xFF00FF;

Bytes ReadPictureFile(const char* name) {
  const std::string bytes = test::ReadFileBytes(std::string(PAVRELIN_PICTURES_DIR) + "/" + name);
  return Bytes(bytes.begin(), bytes.end());
}

// The box's client area as it is on the screen, pixels 0x00RRGGBB.
struct Shot {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  bool operator==(const Shot&) const = default;
};

Shot CaptureClient(HWND box) {
  Shot shot;
  RECT client;
  POINT origin{0, 0};
  if (!::GetClientRect(box, &client) || !::ClientToScreen(box, &origin)) return shot;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = client.right;
  info.bmiHeader.biHeight = -client.bottom;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  const WindowDc screen(nullptr, DCX_CACHE);
  const UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
  void* bits = nullptr;
  const UniqueBitmap bitmap(
      ::CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return shot;
  {
    const SelectedObject selected(memory.get(), bitmap.get());
    ::BitBlt(memory.get(), 0, 0, client.right, client.bottom, screen.get(), origin.x, origin.y,
             SRCCOPY);
    ::GdiFlush();
  }
  shot.width = client.right;
  shot.height = client.bottom;
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  shot.pixels.assign(pixels, pixels + static_cast<std::size_t>(shot.width) * shot.height);
  for (std::uint32_t& pixel : shot.pixels) pixel &= 0xFFFFFF;
  return shot;
}

// A picture's place in a box, as left, top, width, height.
struct Place {
  int left, top, width, height;
};

// How far the shot is from showing the picture exactly over place and the
// background everywhere else. One pixel at the picture's edge may go either
// way (rounding of a scaled size).
struct Placement {
  int background_inside = 0;
  int picture_outside = 0;
  bool captured = false;
  std::string first;  // the first wrong pixel, for the failure message

  bool Exact() const { return captured && background_inside == 0 && picture_outside == 0; }
  std::string Describe() const {
    return std::to_string(background_inside) + " background pixels inside, " +
           std::to_string(picture_outside) + " picture pixels outside; " + first;
  }
};

Placement Check(const Shot& shot, Place place, std::uint32_t background) {
  Placement result;
  result.captured = shot.width > 0;
  for (int y = 0; y < shot.height; ++y) {
    for (int x = 0; x < shot.width; ++x) {
      const bool inside = x > place.left && x < place.left + place.width - 1 && y > place.top &&
                          y < place.top + place.height - 1;
      const bool outside = x < place.left - 1 || x > place.left + place.width ||
                           y < place.top - 1 || y > place.top + place.height;
      const bool is_background = shot.At(x, y) == background;
      int* count = inside && is_background     ? &result.background_inside
                   : outside && !is_background ? &result.picture_outside
                                               : nullptr;
      if (count && (*count)++ == 0 && result.first.empty())
        result.first = (inside ? "background at (" : "picture at (") + std::to_string(x) + "," +
                       std::to_string(y) + ")";
    }
  }
  return result;
}

// Waits, serving the windows, until the box shows the picture exactly over
// place; gives the last check, and the last shot through shot.
Placement WaitForPlacement(HWND box, Place place, std::uint32_t background, Shot* shot = nullptr) {
  Shot last;
  Placement placement;
  PumpUntil(
      [&] { return (placement = Check(last = CaptureClient(box), place, background)).Exact(); },
      5000);
  if (shot) *shot = last;
  return placement;
}

bool Near(std::uint32_t pixel, std::uint32_t expected, int tolerance) {
  for (int shift = 0; shift <= 16; shift += 8) {
    const int difference =
        static_cast<int>((pixel >> shift) & 0xFF) - static_cast<int>((expected >> shift) & 0xFF);
    if (std::abs(difference) > tolerance) return false;
  }
  return true;
}

std::string HexPixel(std::uint32_t pixel) {
  char text[16];
  std::snprintf(text, sizeof(text), "%06X", static_cast<unsigned>(pixel));
  return text;
}

int ProcessThreadCount() {
  const UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  THREADENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  int count = 0;
  for (BOOL more = ::Thread32First(snapshot.get(), &entry); more;
       more = ::Thread32Next(snapshot.get(), &entry))
    if (entry.th32OwnerProcessID == ::GetCurrentProcessId()) ++count;
  return count;
}

// The progress bar with every frame's delay set to the given hundredths.
Bytes ProgressWithDelay(unsigned hundredths) {
  Bytes gif = LoadPictureBytes(Picture::Progress);
  int patched = 0;
  // Graphic control extension: 21 F9 04, packed fields, delay (LE), index, 00.
  for (std::size_t i = 0; i + 8 <= gif.size(); ++i) {
    if (gif[i] == 0x21 && gif[i + 1] == 0xF9 && gif[i + 2] == 0x04 && gif[i + 7] == 0x00) {
      gif[i + 4] = hundredths & 0xFF;
      gif[i + 5] = (hundredths >> 8) & 0xFF;
      ++patched;
    }
  }
  EXPECT_EQ(patched, 4) << "the progress bar has four frames";
  return gif;
}

PictureSettings Settings(int display_mode, bool animate = true, Colour background = kMagenta) {
  PictureSettings settings;
  settings.background = background;
  settings.display_mode = display_mode;
  settings.animate = animate;
  return settings;
}

TEST(LoadPictureBytes, GivesEachPictureFileFromTheResources) {
  struct Case {
    Picture picture;
    const char* file;
  } const cases[] = {{Picture::Banner, "banner.jpg"},
                     {Picture::SignalBars, "signal_bars.jpg"},
                     {Picture::Progress, "progress.gif"}};
  for (const Case& c : cases) {
    const Bytes bytes = LoadPictureBytes(c.picture);
    EXPECT_FALSE(bytes.empty()) << c.file;
    EXPECT_TRUE(bytes == ReadPictureFile(c.file)) << c.file << " differs from its source";
  }
  EXPECT_TRUE(LoadPictureBytes(Picture::None).empty());
}

TEST(ApplicationIcon, IsIconOneWithItsFiveSizes) {
  const HMODULE module = ::GetModuleHandleA(nullptr);
  const HRSRC group = ::FindResourceA(module, MAKEINTRESOURCEA(IDI_PAVRELIN_APP), RT_GROUP_ICON);
  ASSERT_NE(group, nullptr);
  // A group directory: 6 bytes of header, 14 per image.
  EXPECT_EQ(::SizeofResource(module, group), 6u + 5 * 14);
  for (int size : {16, 32, 48}) {
    const HANDLE icon =
        ::LoadImageA(module, MAKEINTRESOURCEA(IDI_PAVRELIN_APP), IMAGE_ICON, size, size, 0);
    EXPECT_NE(icon, nullptr) << size;
    if (icon) ::DestroyIcon(static_cast<HICON>(icon));
  }
}

TEST(PictureView, PaintsEachPictureAtItsNaturalSizeTopLeft) {
  struct Sample {
    int x, y;
    std::uint32_t colour;  // 0xRRGGBB, as the file holds it
  };
  struct Case {
    Picture picture;
    int width, height;  // of the picture; the box is 2 pixels larger each way
    std::vector<Sample> samples;
  } const cases[] = {
      {Picture::Banner, 310, 65, {{10, 5, 0x1D53B7}, {150, 32, 0x2C8E41}, {300, 60, 0xFFFFFF}}},
      {Picture::SignalBars,
       512,
       512,
       {{100, 360, 0xE7541E}, {255, 360, 0x28A03F}, {410, 360, 0xC4153C}, {256, 450, 0xFFFFFF}}},
      {Picture::Progress, 190, 14, {{0, 7, 0x989CA2}, {95, 0, 0xFFFFFF}, {2, 7, 0x286ED7}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    // Not animated, so that the first frame stays.
    const BoxWindow window(Settings(0, false), LoadPictureBytes(c.picture), c.width + 2,
                           c.height + 2);
    Shot shot;
    const Placement placement =
        WaitForPlacement(window.box(), {0, 0, c.width, c.height}, kMagentaPixel, &shot);
    ASSERT_TRUE(placement.Exact()) << placement.Describe();
    // The strips right of and below the picture are the background, exactly.
    for (int y = 0; y < c.height + 2; ++y)
      for (int x = c.width; x < c.width + 2; ++x) ASSERT_EQ(shot.At(x, y), kMagentaPixel);
    for (int x = 0; x < c.width + 2; ++x)
      for (int y = c.height; y < c.height + 2; ++y) ASSERT_EQ(shot.At(x, y), kMagentaPixel);
    for (const Sample& s : c.samples)
      EXPECT_TRUE(Near(shot.At(s.x, s.y), s.colour, 40))
          << "(" << s.x << "," << s.y << ") is " << HexPixel(shot.At(s.x, s.y)) << ", not near "
          << HexPixel(s.colour);
  }
}

TEST(PictureView, PlacesThePictureByDisplayMode) {
  struct Case {
    const char* what;
    Picture picture;
    int mode;
    int box_width, box_height;
    Place place;
  } const cases[] = {
      {"stretched wider and flatter", Picture::Banner, 1, 400, 30, {0, 0, 400, 30}},
      {"stretched and squashed", Picture::SignalBars, 1, 32, 23, {0, 0, 32, 23}},
      {"natural size, cut by the box", Picture::Banner, 0, 100, 40, {0, 0, 100, 40}},
      {"centred, smaller than the box", Picture::Progress, 2, 200, 30, {5, 8, 190, 14}},
      {"exactly fits", Picture::Banner, 2, 310, 65, {0, 0, 310, 65}},
      {"shrunk to the box's height", Picture::SignalBars, 2, 64, 32, {16, 0, 32, 32}},
      {"shrunk to the box's width", Picture::Banner, 2, 155, 100, {0, 33, 155, 33}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const BoxWindow window(Settings(c.mode, false), LoadPictureBytes(c.picture), c.box_width,
                           c.box_height);
    const Placement placement = WaitForPlacement(window.box(), c.place, kMagentaPixel);
    EXPECT_TRUE(placement.Exact()) << placement.Describe();
  }
}

TEST(PictureView, ShowsOnlyTheBackgroundForWhatItCannotDecode) {
  const Bytes banner = LoadPictureBytes(Picture::Banner);
  const auto bytes = [](const std::string& text) { return Bytes(text.begin(), text.end()); };
  struct Case {
    const char* what;
    Bytes picture;
    Colour background;
  } const cases[] = {
      {"no picture", {}, kMagenta},
      {"no picture, system colour", {}, kSystemColour},
      {"no picture, orange", {}, Rgb(255, 128, 0)},
      {"text", bytes("this is not a picture at all"), kMagenta},
      {"JPEG cut after its headers", Bytes(banner.begin(), banner.begin() + 200), kMagenta},
      {"GIF header alone", bytes("GIF89a"), kMagenta},
      {"BMP header alone", bytes("BM\x36\x00\x00\x00"), kMagenta},
      {"icon directory pointing past the end",
       Bytes{0, 0, 1, 0, 1, 0, 32, 32, 0, 0, 1, 0, 32, 0, 0xFF, 0xFF, 0, 0, 22, 0, 0, 0}, kMagenta},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const COLORREF colour =
        c.background == kSystemColour ? ::GetSysColor(COLOR_BTNFACE) : c.background;
    const std::uint32_t pixel =
        GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
    const BoxWindow window(Settings(0, true, c.background), c.picture, 120, 40);
    const Placement placement = WaitForPlacement(window.box(), {0, 0, 0, 0}, pixel);
    EXPECT_TRUE(placement.Exact()) << placement.Describe();
    EXPECT_EQ(window.view()->frames_shown(), 0);
  }
}

TEST(PictureView, DrawsAnIconAtTheSystemIconSize) {
  const Bytes icon = ReadPictureFile("app.ico");
  const int size = ::GetSystemMetrics(SM_CXICON);
  const BoxWindow window(Settings(0), icon, size + 10, size + 10);
  // Nothing but the background beyond the icon's square; inside it, the
  // background shows only where the icon is transparent (its rounded corners).
  Shot shot;
  Placement placement;
  EXPECT_TRUE(PumpUntil(
      [&] {
        placement = Check(shot = CaptureClient(window.box()), {0, 0, size, size}, kMagentaPixel);
        return placement.captured && placement.picture_outside == 0 &&
               placement.background_inside < size * size / 4 && shot.At(0, 0) == kMagentaPixel;
      },
      5000))
      << placement.Describe();
  // Orange face, white broadcast symbol.
  int orange = 0;
  for (std::uint32_t pixel : shot.pixels) orange += Near(pixel, 0xF08020, 60);
  EXPECT_GT(orange, size * size / 3);
}

TEST(PictureView, PlaysTheGifAtItsFrameDelays) {
  struct Case {
    unsigned delay;   // hundredths of a second, 0 counting as 5
    int least, most;  // frames moved on in one second
  } const cases[] = {{0, 12, 28}, {20, 2, 8}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.delay);
    const BoxWindow window(Settings(0), ProgressWithDelay(c.delay), 192, 16);
    const Placement placement = WaitForPlacement(window.box(), {0, 0, 190, 14}, kMagentaPixel);
    ASSERT_TRUE(placement.Exact()) << placement.Describe();
    const int before = window.view()->frames_shown();
    const ULONGLONG start = ::GetTickCount64();
    PumpUntil([&] { return ::GetTickCount64() - start >= 1000; }, 2000);
    const int moved = window.view()->frames_shown() - before;
    EXPECT_GE(moved, c.least);
    EXPECT_LE(moved, c.most);
  }
}

TEST(PictureView, AnimatesOnScreenWithoutTheMessageLoop) {
  struct Case {
    const char* what;
    bool animate;
    int mode;
    int box_width, box_height;
    Place place;
  } const cases[] = {
      {"natural size", true, 0, 192, 16, {0, 0, 190, 14}},
      {"centred", true, 2, 200, 30, {5, 8, 190, 14}},
      {"stretched", true, 1, 380, 20, {0, 0, 380, 20}},
      {"not animated", false, 0, 192, 16, {0, 0, 190, 14}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const BoxWindow window(Settings(c.mode, c.animate), LoadPictureBytes(Picture::Progress),
                           c.box_width, c.box_height);
    Shot shot;
    const Placement placement = WaitForPlacement(window.box(), c.place, kMagentaPixel, &shot);
    ASSERT_TRUE(placement.Exact()) << placement.Describe();
    // From here on no message is taken, as while a handler runs: whatever
    // changes on the screen is the worker's drawing. Each frame on the screen
    // is the whole bar (later frames of the file cover only its inside) in
    // its place in the box.
    std::vector<Shot> seen{shot};
    int changes = 0;
    const ULONGLONG start = ::GetTickCount64();
    while (::GetTickCount64() - start < 1000) {
      Shot next = CaptureClient(window.box());
      const Placement frame = Check(next, c.place, kMagentaPixel);
      ASSERT_TRUE(frame.Exact()) << frame.Describe();
      if (next == shot) continue;
      ++changes;
      if (std::find(seen.begin(), seen.end(), next) == seen.end()) seen.push_back(next);
      shot = std::move(next);
    }
    if (c.animate) {
      EXPECT_EQ(seen.size(), 4u) << "the four frames in turn";
      // Every frame reaches the screen in its time (20 a second), not only
      // now and then.
      EXPECT_GE(changes, 12);
    } else {
      EXPECT_EQ(changes, 0);
      EXPECT_EQ(window.view()->frames_shown(), 0);
    }
  }
}

TEST(PictureView, DestroyingAPlayingBoxEndsItsWorkerAtOnce) {
  // GDI+ may start threads of its own when first used; that happens here.
  { const PictureView warm_up(nullptr, Settings(0), LoadPictureBytes(Picture::Banner)); }
  const int threads_before = ProcessThreadCount();

  // Frames of 10 s: a worker that slept through its delay would hold up the
  // destruction for that long.
  const Bytes slow = ProgressWithDelay(1000);
  auto first = std::make_unique<BoxWindow>(Settings(0), slow, 192, 16);
  auto second = std::make_unique<BoxWindow>(Settings(0), slow, 192, 16, 240);
  const BoxWindow still(Settings(1), LoadPictureBytes(Picture::Banner), 312, 64, 440);
  EXPECT_TRUE(PumpUntil([&] { return ProcessThreadCount() == threads_before + 2; }, 5000))
      << "one worker for each animated box, none for a still one: "
      << ProcessThreadCount() - threads_before;

  for (auto* window : {&first, &second}) {
    const ULONGLONG start = ::GetTickCount64();
    (*window)->Destroy();
    EXPECT_LT(::GetTickCount64() - start, 1000u);
    window->reset();
  }
  EXPECT_EQ(ProcessThreadCount(), threads_before);
}

}  // namespace
}  // namespace pavrelin
