// Prints what playing animated picture boxes costs: frames per second per
// box and the process's CPU time, while the UI thread idles in its message
// loop as the program's does. Figures only; nothing is asserted.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "win/picture_box_window.h"

namespace pavrelin {
namespace {

std::uint64_t ProcessCpuMs() {
  FILETIME created, exited, kernel, user;
  ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto ms = [](FILETIME time) {
    return (std::uint64_t{time.dwHighDateTime} << 32 | time.dwLowDateTime) / 10000;
  };
  return ms(kernel) + ms(user);
}

// A message loop that sleeps until a message comes, for duration_ms.
void RunMessageLoop(DWORD duration_ms) {
  const ULONGLONG end = ::GetTickCount64() + duration_ms;
  for (ULONGLONG now = ::GetTickCount64(); now < end; now = ::GetTickCount64()) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    test::Pump();
  }
}

void Measure(const char* what, int count, int mode, int width, int height) {
  PictureSettings settings;
  settings.background = Rgb(255, 255, 255);
  settings.display_mode = mode;
  std::vector<std::unique_ptr<test::BoxWindow>> windows;
  for (int i = 0; i < count; ++i)
    windows.push_back(
        std::make_unique<test::BoxWindow>(settings, LoadPictureBytes(Picture::Progress), width,
                                          height, 20 + i % 2 * 500, 20 + i / 2 * (height + 8)));
  RunMessageLoop(500);  // shown and painted

  int frames_before = 0;
  for (const auto& window : windows) frames_before += window->view()->frames_shown();
  const std::uint64_t cpu_before = ProcessCpuMs();
  constexpr DWORD kMeasureMs = 4000;
  RunMessageLoop(kMeasureMs);
  const std::uint64_t cpu = ProcessCpuMs() - cpu_before;
  int frames = -frames_before;
  for (const auto& window : windows) frames += window->view()->frames_shown();

  std::printf("%-34s %2d box(es): %5.1f frames/s per box, CPU %5.1f%% of one core\n", what, count,
              frames * 1000.0 / kMeasureMs / count, cpu * 100.0 / kMeasureMs);
}

}  // namespace
}  // namespace pavrelin

int main() {
  using pavrelin::Measure;
  Measure("progress bar 192x16, natural size", 1, 0, 192, 16);
  Measure("progress bar 192x16, natural size", 10, 0, 192, 16);
  Measure("progress bar stretched to 480x40", 1, 1, 480, 40);
  return 0;
}
