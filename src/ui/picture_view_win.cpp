#include "ui/picture_view_win.h"

#include <objidl.h>  // before GDI+'s headers, which use IStream
#include <gdiplus.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/win_handles.h"
#include "ui/picture_geometry.h"
#include "ui/picture_resources.h"

namespace pavrelin {

namespace {

namespace gdiplus = Gdiplus::DllExports;

// A GIF frame whose delay is 0 stays this long.
constexpr DWORD kZeroDelayMs = 50;
// The most pixels that the frames of one picture may hold (128 MB).
constexpr std::uint64_t kMaxFramePixels = std::uint64_t{1} << 25;

// GDI+ is started by the first picture decoded and stays up until the process
// ends: shutting it down while another view might still decode is unsafe, and
// the system reclaims it at exit anyway. The token lives here and nowhere else.
bool StartGdiplus() {
  static ULONG_PTR token = 0;
  static const bool started = [] {
    const Gdiplus::GdiplusStartupInput input;
    return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
  }();
  return started;
}

void DisposeGdiplusImage(Gdiplus::GpBitmap* bitmap) { gdiplus::GdipDisposeImage(bitmap); }
using UniqueGdiplusBitmap = Unique<Gdiplus::GpBitmap*, DisposeGdiplusImage>;

// Frames are kept as 32-bit top-down DIB pixels (0x00RRGGBB), already laid
// over the box's background, so drawing one is a single opaque blit. Plain
// memory rather than HBITMAPs: a bitmap can be selected into only one DC at a
// time, and the worker and the UI thread may draw the same frame at once.
struct Frame {
  std::vector<std::uint32_t> pixels;
  DWORD delay_ms = kZeroDelayMs;
};

struct Image {
  int width = 0;
  int height = 0;
  std::vector<Frame> frames;  // empty: nothing to draw but the background
};

enum class Format { Unknown, Jpeg, Gif, Bmp, Icon };

Format FormatOf(const Bytes& bytes) {
  const auto starts_with = [&](std::initializer_list<unsigned char> magic) {
    return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
  };
  if (starts_with({0xFF, 0xD8})) return Format::Jpeg;
  if (starts_with({'G', 'I', 'F', '8'})) return Format::Gif;
  if (starts_with({'B', 'M'})) return Format::Bmp;
  if (starts_with({0x00, 0x00, 0x01, 0x00})) return Format::Icon;
  return Format::Unknown;
}

// An ARGB pixel laid over the background (both in the 0x..RRGGBB layout).
std::uint32_t Over(std::uint32_t argb, std::uint32_t background) {
  const std::uint32_t alpha = argb >> 24;
  if (alpha == 255) return argb & 0xFFFFFF;
  if (alpha == 0) return background;
  std::uint32_t result = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const std::uint32_t front = (argb >> shift) & 0xFF;
    const std::uint32_t back = (background >> shift) & 0xFF;
    result |= ((front * alpha + back * (255 - alpha) + 127) / 255) << shift;
  }
  return result;
}

// The frame that GDI+ has active. GDI+ hands out each GIF frame already
// composed over the frames before it (an optimised GIF's later frames cover
// only the part that changes), so the pixels are whole pictures.
bool CopyActiveFrame(Gdiplus::GpBitmap* bitmap, const Image& image, std::uint32_t background,
                     Frame& frame) {
  Gdiplus::GpRect rect(0, 0, image.width, image.height);
  Gdiplus::BitmapData data{};
  if (gdiplus::GdipBitmapLockBits(bitmap, &rect, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB,
                                  &data) != Gdiplus::Ok)
    return false;
  frame.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
  for (int y = 0; y < image.height; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const BYTE*>(data.Scan0) +
                                                             std::ptrdiff_t{y} * data.Stride);
    std::uint32_t* out = frame.pixels.data() + static_cast<std::size_t>(y) * image.width;
    for (int x = 0; x < image.width; ++x) out[x] = Over(row[x], background);
  }
  gdiplus::GdipBitmapUnlockBits(bitmap, &data);
  return true;
}

// Delays in 1/100 s, one per frame; missing or 0 counts as kZeroDelayMs.
std::vector<DWORD> FrameDelays(Gdiplus::GpBitmap* bitmap, UINT count) {
  std::vector<DWORD> delays(count, kZeroDelayMs);
  UINT size = 0;
  if (gdiplus::GdipGetPropertyItemSize(bitmap, PropertyTagFrameDelay, &size) != Gdiplus::Ok ||
      size < sizeof(Gdiplus::PropertyItem))
    return delays;
  std::vector<std::uint64_t> buffer((size + 7) / 8);  // aligned for the item's header
  auto* item = reinterpret_cast<Gdiplus::PropertyItem*>(buffer.data());
  if (gdiplus::GdipGetPropertyItem(bitmap, PropertyTagFrameDelay, size, item) != Gdiplus::Ok ||
      item->value == nullptr)
    return delays;
  const auto* values = static_cast<const LONG*>(item->value);
  const std::size_t listed = std::min<std::size_t>(count, item->length / sizeof(LONG));
  for (std::size_t i = 0; i < listed; ++i)
    if (values[i] > 0) delays[i] = static_cast<DWORD>(values[i]) * 10;
  return delays;
}

// JPEG, GIF and BMP through GDI+. All frames of a GIF only when it is to be
// played; otherwise its first.
Image DecodeWithGdiplus(const Bytes& bytes, std::uint32_t background, bool all_frames) {
  Image image;
  if (!StartGdiplus()) return image;
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!memory) return image;
  void* target = ::GlobalLock(memory);
  if (!target) {
    ::GlobalFree(memory);
    return image;
  }
  std::memcpy(target, bytes.data(), bytes.size());
  ::GlobalUnlock(memory);
  IStream* raw_stream = nullptr;
  if (FAILED(::CreateStreamOnHGlobal(memory, TRUE, &raw_stream))) {
    ::GlobalFree(memory);
    return image;
  }
  const UniqueCom<IStream> stream(raw_stream);  // frees the memory with it

  Gdiplus::GpBitmap* raw_bitmap = nullptr;
  if (gdiplus::GdipCreateBitmapFromStream(stream.get(), &raw_bitmap) != Gdiplus::Ok) return image;
  const UniqueGdiplusBitmap bitmap(raw_bitmap);
  UINT width = 0;
  UINT height = 0;
  if (gdiplus::GdipGetImageWidth(bitmap.get(), &width) != Gdiplus::Ok ||
      gdiplus::GdipGetImageHeight(bitmap.get(), &height) != Gdiplus::Ok || width == 0 ||
      height == 0 || std::uint64_t{width} * height > kMaxFramePixels)
    return image;
  image.width = static_cast<int>(width);
  image.height = static_cast<int>(height);

  GUID time = Gdiplus::FrameDimensionTime;
  UINT count = 0;
  if (!all_frames || gdiplus::GdipImageGetFrameCount(bitmap.get(), &time, &count) != Gdiplus::Ok)
    count = 1;
  count = std::max(count, 1u);
  // Every frame is kept whole in memory: a huge animation plays as a still.
  if (std::uint64_t{width} * height * count > kMaxFramePixels) count = 1;
  const std::vector<DWORD> delays = FrameDelays(bitmap.get(), count);

  std::vector<Frame> frames(count);
  for (UINT i = 0; i < count; ++i) {
    if (count > 1 && gdiplus::GdipImageSelectActiveFrame(bitmap.get(), &time, i) != Gdiplus::Ok)
      return {};
    if (!CopyActiveFrame(bitmap.get(), image, background, frames[i])) return {};
    frames[i].delay_ms = delays[i];
  }
  image.frames = std::move(frames);
  return image;
}

// An icon file holds several images; the one nearest the system's icon size
// is shown (the smallest larger one, else the largest), with the most colours.
Image DecodeIcon(const Bytes& bytes, COLORREF background) {
  Image image;
  const auto word = [&](std::size_t at) { return bytes[at] | bytes[at + 1] << 8; };
  const auto dword = [&](std::size_t at) {
    return static_cast<std::uint32_t>(word(at)) | static_cast<std::uint32_t>(word(at + 2)) << 16;
  };
  constexpr std::size_t kHeader = 6;
  constexpr std::size_t kEntry = 16;
  if (bytes.size() < kHeader) return image;
  const std::size_t count = word(4);
  if (count == 0 || bytes.size() < kHeader + count * kEntry) return image;

  const int wanted = ::GetSystemMetrics(SM_CXICON);
  std::size_t best = count;
  int best_size = 0;
  int best_bits = 0;
  const auto better = [&](int size, int bits) {
    if (best == count) return true;
    const bool fits = size >= wanted;
    const bool best_fits = best_size >= wanted;
    if (fits != best_fits) return fits;
    if (size != best_size) return fits ? size < best_size : size > best_size;
    return bits > best_bits;
  };
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t entry = kHeader + i * kEntry;
    const int size = bytes[entry] == 0 ? 256 : bytes[entry];  // 0 stands for 256
    const int bits = word(entry + 6);
    const std::uint32_t length = dword(entry + 8);
    const std::uint32_t offset = dword(entry + 12);
    if (length == 0 || offset > bytes.size() || length > bytes.size() - offset) continue;
    if (better(size, bits)) {
      best = i;
      best_size = size;
      best_bits = bits;
    }
  }
  if (best == count) return image;
  const std::size_t entry = kHeader + best * kEntry;
  const int width = best_size;
  const int height = bytes[entry + 1] == 0 ? 256 : bytes[entry + 1];
  const UniqueIcon icon(::CreateIconFromResourceEx(
      const_cast<BYTE*>(bytes.data() + dword(entry + 12)), dword(entry + 8), TRUE, 0x00030000,
      width, height, LR_DEFAULTCOLOR));
  if (!icon) return image;

  // Drawn over the background into a DIB of its own size.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
  if (!dc) return image;
  const UniqueBitmap canvas(::CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!canvas || !bits) return image;
  {
    const SelectedObject selected(dc.get(), canvas.get());
    if (!selected) return image;
    const RECT all{0, 0, width, height};
    ::SetDCBrushColor(dc.get(), background);
    ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    if (!::DrawIconEx(dc.get(), 0, 0, icon.get(), width, height, 0, nullptr, DI_NORMAL))
      return image;
    ::GdiFlush();
  }
  Frame frame;
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  frame.pixels.assign(pixels, pixels + static_cast<std::size_t>(width) * height);
  for (std::uint32_t& pixel : frame.pixels) pixel &= 0xFFFFFF;
  image.width = width;
  image.height = height;
  image.frames.push_back(std::move(frame));
  return image;
}

// The settings' colour as GDI takes it; the system default is the face colour.
COLORREF BackgroundColour(Colour colour) {
  return colour == kSystemColour ? ::GetSysColor(COLOR_BTNFACE) : colour & 0xFFFFFF;
}

// COLORREF is 0x00BBGGRR, a 32-bit DIB pixel 0x00RRGGBB.
std::uint32_t DibPixel(COLORREF colour) {
  return GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
}

std::int64_t NowMs() {
  LARGE_INTEGER frequency;
  LARGE_INTEGER counter;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&counter);
  return counter.QuadPart / frequency.QuadPart * 1000 +
         counter.QuadPart % frequency.QuadPart * 1000 / frequency.QuadPart;
}

}  // namespace

struct PictureView::State {
  // Set up by the constructor and only read afterwards, by both threads.
  HWND box = nullptr;
  int display_mode = 0;
  COLORREF background = 0;
  bool animate = false;
  Image image;
  BITMAPINFO info{};  // describes every frame

  // The one value that the worker writes and the UI thread reads.
  std::atomic<std::size_t> current{0};
  std::atomic<int> frames_shown{0};

  // UI thread only.
  bool shown = false;
  UniqueHandle stop;
  UniqueHandle worker;

  void FillBackground(HDC dc, const RECT& area) const {
    ::SetDCBrushColor(dc, background);
    ::FillRect(dc, &area, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
  }

  // Draws a frame where the display mode puts it in the client area; the
  // rest of the box is left as it is.
  void DrawFrame(HDC dc, const RECT& client, std::size_t index) const {
    if (image.frames.empty()) return;
    const Rect place = PicturePlace(display_mode, client.right - client.left,
                                    client.bottom - client.top, image.width, image.height);
    if (place.width <= 0 || place.height <= 0) return;
    const void* pixels = image.frames[index].pixels.data();
    const int x = client.left + place.left;
    const int y = client.top + place.top;
    if (place.width == image.width && place.height == image.height) {
      ::SetDIBitsToDevice(dc, x, y, image.width, image.height, 0, 0, 0, image.height, pixels, &info,
                          DIB_RGB_COLORS);
      return;
    }
    // HALFTONE averages the pixels that a shrunk picture drops; it needs the
    // brush origin reset after it is chosen.
    ::SetStretchBltMode(dc, HALFTONE);
    ::SetBrushOrgEx(dc, 0, 0, nullptr);
    ::StretchDIBits(dc, x, y, place.width, place.height, 0, 0, image.width, image.height, pixels,
                    &info, DIB_RGB_COLORS, SRCCOPY);
  }

  // The animation worker: shows each frame for its delay, from the first
  // again after the last, until stop is set. Deadlines are kept on a steady
  // clock, so that the timer's coarse granularity evens out over the frames.
  static DWORD WINAPI Animate(void* parameter) {
    State& state = *static_cast<State*>(parameter);
    const std::size_t count = state.image.frames.size();
    std::size_t index = 0;
    std::int64_t due = NowMs() + state.image.frames[0].delay_ms;
    for (;;) {
      const std::int64_t wait = std::max<std::int64_t>(due - NowMs(), 0);
      // A message wait that wants no message is a plain wait on Windows.
      // Wine holds what a thread draws in the window's off-screen surface
      // until a thread of the process next waits for messages; without this,
      // frames drawn while the UI thread is busy or asleep in its message
      // loop would reach the screen late or never.
      const HANDLE stop = state.stop.get();
      if (::MsgWaitForMultipleObjects(1, &stop, FALSE, static_cast<DWORD>(wait), 0) != WAIT_TIMEOUT)
        return 0;
      index = (index + 1) % count;
      state.current.store(index, std::memory_order_relaxed);
      state.frames_shown.fetch_add(1, std::memory_order_relaxed);
      // A hidden box (or one in a hidden window) is not drawn; it paints the
      // current frame when it is shown again.
      if (::IsWindowVisible(state.box)) {
        // A DC of the cache, never the box's own one that the UI thread
        // might hold at the same moment; clipped like a paint DC.
        const WindowDc dc(state.box, DCX_CACHE | DCX_CLIPSIBLINGS | DCX_CLIPCHILDREN);
        RECT client;
        if (dc && ::GetClientRect(state.box, &client)) state.DrawFrame(dc.get(), client, index);
      }
      due += state.image.frames[index].delay_ms;
      // After a stall longer than a frame (a suspended machine, a starved
      // core) this frame gets its full time instead of a burst of catch-up.
      const std::int64_t now = NowMs();
      if (due < now) due = now + state.image.frames[index].delay_ms;
    }
  }
};

Bytes LoadPictureBytes(Picture picture) {
  int id = 0;
  switch (picture) {
    case Picture::None:
      return {};
    case Picture::Banner:
      id = IDR_PICTURE_BANNER;
      break;
    case Picture::SignalBars:
      id = IDR_PICTURE_SIGNAL_BARS;
      break;
    case Picture::Progress:
      id = IDR_PICTURE_PROGRESS;
      break;
  }
  const HMODULE module = ::GetModuleHandleA(nullptr);
  const HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(id), RT_RCDATA);
  if (!resource) return {};
  const DWORD size = ::SizeofResource(module, resource);
  const HGLOBAL loaded = ::LoadResource(module, resource);  // not to be freed
  const auto* data = static_cast<const unsigned char*>(loaded ? ::LockResource(loaded) : nullptr);
  if (!data || size == 0) return {};
  return Bytes(data, data + size);
}

PictureView::PictureView(HWND box, const PictureSettings& settings, const Bytes& picture_bytes)
    : state_(std::make_unique<State>()) {
  State& state = *state_;
  state.box = box;
  state.display_mode = settings.display_mode;
  // Resolved once: transparent parts of a picture are laid over it at load.
  state.background = BackgroundColour(settings.background);
  state.animate = settings.animate;

  switch (FormatOf(picture_bytes)) {
    case Format::Jpeg:
    case Format::Bmp:
      state.image = DecodeWithGdiplus(picture_bytes, DibPixel(state.background), false);
      break;
    case Format::Gif:
      state.image = DecodeWithGdiplus(picture_bytes, DibPixel(state.background), settings.animate);
      break;
    case Format::Icon:
      state.image = DecodeIcon(picture_bytes, state.background);
      break;
    case Format::Unknown:
      break;
  }

  BITMAPINFOHEADER& header = state.info.bmiHeader;
  header.biSize = sizeof(header);
  header.biWidth = state.image.width;
  header.biHeight = -state.image.height;  // top-down rows
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
}

PictureView::~PictureView() {
  if (state_->worker) {
    ::SetEvent(state_->stop.get());
    ::WaitForSingleObject(state_->worker.get(), INFINITE);
  }
}

void PictureView::Paint(HDC dc, const RECT& client) {
  const State& state = *state_;
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (width <= 0 || height <= 0) return;
  const std::size_t index = state.current.load(std::memory_order_relaxed);

  // Composed off screen and put on screen in one blit, so that the
  // background never shows alone between two frames.
  const UniqueMemoryDc memory(::CreateCompatibleDC(dc));
  const UniqueBitmap buffer(memory ? ::CreateCompatibleBitmap(dc, width, height) : nullptr);
  if (buffer) {
    const SelectedObject selected(memory.get(), buffer.get());
    if (selected) {
      const RECT local{0, 0, width, height};
      state.FillBackground(memory.get(), local);
      state.DrawFrame(memory.get(), local, index);
      ::BitBlt(dc, client.left, client.top, width, height, memory.get(), 0, 0, SRCCOPY);
      return;
    }
  }
  // Out of GDI memory: the same picture, drawn straight.
  state.FillBackground(dc, client);
  state.DrawFrame(dc, client, index);
}

void PictureView::OnShown() {
  State& state = *state_;
  if (state.shown) return;
  state.shown = true;
  if (!state.animate || state.image.frames.size() < 2) return;
  state.stop.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!state.stop) return;
  // A small stack: the worker only waits and blits.
  state.worker.reset(::CreateThread(nullptr, 64 * 1024, &State::Animate, &state,
                                    STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
}

int PictureView::frames_shown() const {
  return state_->frames_shown.load(std::memory_order_relaxed);
}

}  // namespace pavrelin
