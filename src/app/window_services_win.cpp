// Loading layouts as live windows, modality, closing on request, the main
// loop and the quit request. Everything runs on the UI thread.
#include <windows.h>

#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "app/window_services.h"
#include "ui/layouts.h"
#include "ui/live_window_win.h"

namespace pavrelin {

namespace {

struct Slot {
  std::unique_ptr<LiveWindow> window;
  unsigned serial = 0;  // tells a later window of the same layout from this one
};

struct Services {
  std::array<Slot, 2> slots;
  unsigned next_serial = 1;
  std::vector<Wiring> wiring;
  bool loop_started = false;
};

Services& State() {
  static Services services;
  return services;
}

Slot& SlotOf(Form form) { return State().slots[static_cast<std::size_t>(form)]; }

bool StillLive(Form form, unsigned serial) {
  const Slot& slot = SlotOf(form);
  return slot.window && slot.serial == serial;
}

bool SameName(const char* a, const char* b) {
  if (!a || !b) return a == b;
  return std::strcmp(a, b) == 0;
}

// The loop of a modal window: everything is dispatched, so timers and the
// other windows' painting go on, until the window is gone. A quit request met
// here is put back for the main loop.
void RunModalLoop(Form form, unsigned serial) {
  MSG msg;
  while (StillLive(form, serial)) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == -1) return;
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (TranslateWindowKeys(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace

LiveWindow* FindLiveWindow(Form form) { return SlotOf(form).window.get(); }

void RaiseEvent(Form form, const char* control, Event event) {
  for (const Wiring& row : State().wiring) {
    if (row.form != form || row.event != event || !SameName(row.control, control)) continue;
    if (row.handler) row.handler();
    return;
  }
}

void AfterWindowDestroyed(Form form) {
  Services& services = State();
  // Its timers went with their windows; the slot frees the layout for a new
  // load, and a modal loop waiting on this window sees it gone.
  SlotOf(form).window.reset();
  if (!services.loop_started) return;
  for (const Slot& slot : services.slots)
    if (slot.window) return;
  PostQuitMessage(0);
}

bool LoadWindow(Form window, std::optional<Form> parent, bool modal) {
  const Layout* layout = LayoutFor(window);
  return layout && LoadWindowFrom(window, *layout, parent, modal);
}

bool LoadWindowFrom(Form form, const Layout& layout, std::optional<Form> parent, bool modal) {
  Services& services = State();
  Slot& slot = SlotOf(form);
  if (slot.window) return false;
  HWND owner = nullptr;
  if (!modal && parent && SlotOf(*parent).window) owner = SlotOf(*parent).window->hwnd();
  std::unique_ptr<LiveWindow> built = LiveWindow::Build(form, layout, owner);
  if (!built) return false;
  LiveWindow* window = built.get();
  const unsigned serial = services.next_serial++;
  slot.window = std::move(built);
  slot.serial = serial;

  RaiseEvent(form, nullptr, Event::Created);
  if (!StillLive(form, serial)) return true;
  if (layout.window.visible) window->ShowInStartState();
  if (!modal) return true;

  for (const Slot& other : services.slots)
    if (other.window && other.window.get() != window)
      window->DisableWhileModal(other.window->hwnd());
  // Each modal load runs its own loop on the stack, so the modal window of
  // the loop below comes back by itself when this one returns.
  RunModalLoop(form, serial);
  return true;
}

void DestroyFormWindow(Form window) {
  if (LiveWindow* live = FindLiveWindow(window)) live->RequestClose();
}

void SetWiring(std::span<const Wiring> wiring) {
  State().wiring.assign(wiring.begin(), wiring.end());
}

void SetLoopStarted() { State().loop_started = true; }

int RunMainLoop() {
  MSG msg;
  for (;;) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got == -1) return -1;
    if (TranslateWindowKeys(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace pavrelin
