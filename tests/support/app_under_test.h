// The real program, copied into a run directory of its own with the recorder
// beside it as netsh.exe, started and watched from outside as a user would.
#pragma once

#include <windows.h>

#include <string>

namespace pavrelin::test {

inline constexpr char kMainTitle[] = "Pavrelin--Beta 4";
inline constexpr char kNoticeTitle[] = "温馨提示：";

class AppUnderTest {
 public:
  // program: an .exe beside the test (Pavrelin.exe); exe_name: its name in the
  // run directory. The run directory is made afresh for each instance.
  explicit AppUnderTest(const std::string& name, const std::string& exe_name = "Pavrelin.exe",
                        const std::string& program = "Pavrelin.exe");
  // Ends a program still running, so that no test leaves one behind.
  ~AppUnderTest();
  AppUnderTest(const AppUnderTest&) = delete;
  AppUnderTest& operator=(const AppUnderTest&) = delete;

  bool Start();
  // Waits for the start-up notice, presses OK and waits for the main window.
  HWND StartToMainWindow();

  DWORD pid() const { return pid_; }
  const std::string& run_directory() const { return run_directory_; }
  std::string netsh_log() const { return run_directory_ + "\\netsh.log"; }
  bool running() const;
  // True and the exit code once the program has ended within timeout_ms.
  bool WaitForExit(DWORD timeout_ms, DWORD* exit_code);

  HWND WaitForBox(const char* title, DWORD timeout_ms = 10000) const;
  // A visible box with this title whose text is not `other`: a box that is
  // closing may still be found for a moment after its button was pressed.
  HWND WaitForBoxOtherThan(const char* title, const std::string& other, DWORD timeout_ms) const;
  HWND MainWindow() const;

 private:
  std::string run_directory_;
  std::string exe_path_;
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
};

// A descendant window of parent whose text is exactly text (buttons, labels).
HWND FindChildByText(HWND parent, const std::string& text);
// A descendant window of parent with this control id.
HWND FindChildById(HWND parent, int id);
// The descendant window of top of this class whose top-left corner lies at
// (x, y) of top's client area: how a test finds an edit box, which has no text.
HWND FindControlAt(HWND top, const char* class_name, int x, int y);

}  // namespace pavrelin::test
