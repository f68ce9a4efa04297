// What the Wine tests share: finding fixtures, reading the recorder's log,
// waiting for windows with a bound, answering message boxes.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace pavrelin::test {

// The folder of the running test program, where the fixtures are built too.
std::string ExeDirectory();

// An empty folder under the temporary directory, made afresh.
std::string FreshDirectory(const std::string& name);

bool FileExists(const std::string& path);
std::string ReadFileBytes(const std::string& path);

// One start of the recorder: the show command and flags from its STARTUPINFO
// and its whole command line.
struct Record {
  int show = -1;
  unsigned flags = 0;
  std::string command_line;
};
std::vector<Record> ReadRecords(const std::string& log_path);

// Polls the condition every step_ms until it holds or timeout_ms has passed.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeout_ms, DWORD step_ms = 20);

// A visible top-level window with this exact class (or any, if null) and
// title, of the given process (any, if 0).
HWND FindVisibleWindow(const char* class_name, const char* title, DWORD process_id = 0);
HWND WaitForWindow(const char* class_name, const char* title, DWORD timeout_ms,
                   DWORD process_id = 0);

// A message box is class "#32770"; its text is the static control 0xFFFF.
HWND WaitForMessageBox(const char* title, DWORD timeout_ms, DWORD process_id = 0);
std::string MessageBoxText(HWND box);
std::string WindowText(HWND window);
// Presses IDOK, IDYES, IDNO... of a box in another thread or process.
void PressBoxButton(HWND box, int id);

// Sets an environment variable for the test's lifetime (children inherit it).
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::string old_;
  bool had_old_;
};

std::string Hex(const std::string& bytes);

// Makes the recorder beside the test the http protocol's open command of this
// prefix, so that every address handed to the browser is logged (REC_LOG).
bool RegisterRecordingBrowser();
// The addresses the recording browser received, from a log that may hold
// other records (netsh's) too.
std::vector<std::string> BrowserAddresses(const std::string& log_path);

// A colour read from the screen, where the window really shows it.
COLORREF ScreenPixel(int x, int y);

// Screen points on a window's outline: the middle of its top and left edges.
POINT TopMiddle(HWND window);
POINT LeftMiddle(HWND window);

// Real mouse input at a screen point, as a user's click: it reaches whatever
// window is there and respects disabled windows.
void MouseDown(int x, int y, bool right = false);
void MouseUp(int x, int y, bool right = false);
void Click(int x, int y, bool right = false);

}  // namespace pavrelin::test
