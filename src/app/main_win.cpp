// The process entry: set-up, the main window, the message loop, clean-up.
#include <windows.h>
#include <ole2.h>

#include <cstdlib>

#include "app/main_window.h"
#include "app/window_services.h"
#include "platform/files.h"
#include "platform/process.h"
#include "ui/layouts.h"
#include "ui/live_window_win.h"

namespace pavrelin {
namespace {

constexpr char kStartFailed[] = "Pavrelin 无法启动：窗口无法创建。";
constexpr char kStartFailedTitle[] = "Pavrelin";

// OLE for the UI thread, for the web browser control; released at the end.
class OleSession {
 public:
  OleSession() : initialised_(SUCCEEDED(OleInitialize(nullptr))) {}
  ~OleSession() {
    if (initialised_) OleUninitialize();
  }
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;

 private:
  bool initialised_;
};

bool ReadLayouts() {
#ifdef PAVRELIN_WITHOUT_LAYOUTS
  // A test build that proves a failed start-up ends with -1.
  return false;
#else
  return LayoutFor(Form::MainWindow) != nullptr && LayoutFor(Form::HelpPromptWindow) != nullptr;
#endif
}

int Run() {
  OleSession ole;
  SetUpRunDirectory();
  SetWiring(ProgramWiring());
  if (!ReadLayouts() || !LoadWindow(Form::MainWindow, std::nullopt, false)) {
    ShowMessageBox(kStartFailed, kBoxError, kStartFailedTitle);
    return -1;
  }
  SetLoopStarted();
  // A window closed before the loop started would leave no one to post the
  // quit request.
  if (FindLiveWindow(Form::MainWindow) || FindLiveWindow(Form::HelpPromptWindow)) RunMainLoop();
  return 0;
}

}  // namespace
}  // namespace pavrelin

// libstdc++'s default terminate handler demangles the exception's type for a
// console this GUI program does not have; replacing it keeps the demangler
// (a fifth of the release exe) out of the link.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return pavrelin::Run(); }
