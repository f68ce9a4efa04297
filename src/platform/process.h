// Process, dialog and shell services: how the logic starts programs, shows
// message boxes, pauses and hands addresses to the browser.
#pragma once

#include <string>

namespace pavrelin {

// Window show mode of a started program: 1 hidden, 2 normal (the default),
// 3 minimised, 4 maximised, 5 normal without activation, 6 minimised.
constexpr int kShowHidden = 1;
constexpr int kShowNormal = 2;

// Out-of-range modes are clamped into 1..6; the result is the SW_* command.
int ShowCommandForMode(int show_mode);

// The result of ShowMessageBox: 0 OK (and anything unknown or a failure),
// 1 Cancel, 2 Abort, 3 Retry, 4 Ignore, 5 Yes, 6 No.
enum ButtonCode : int {
  kButtonOk = 0,
  kButtonCancel = 1,
  kButtonAbort = 2,
  kButtonRetry = 3,
  kButtonIgnore = 4,
  kButtonYes = 5,
  kButtonNo = 6,
};
int ButtonCodeForResult(int message_box_result);

// MessageBoxA style bits the callers use.
constexpr unsigned kBoxOk = 0x0;
constexpr unsigned kBoxYesNo = 0x4;
constexpr unsigned kBoxError = 0x10;
constexpr unsigned kBoxSystemModal = 0x1000;
constexpr unsigned kBoxTaskModal = 0x2000;

// Title used when the caller gives none.
inline constexpr char kDefaultBoxTitle[] = "信息：";

// Every box is task-modal unless the caller asked for a system-modal one.
unsigned BoxStyleForFlags(unsigned flags);

// Starts a program; true when the process was created. Without wait it returns
// once the program is idle for input (at most 1 s; at once for console programs).
bool RunCommandLine(const std::string& command_line, bool wait, int show_mode = kShowNormal);

// How a captured run ended.
struct CapturedRun {
  enum class End { NotStarted, TimedOut, Exited };
  End end = End::NotStarted;
  unsigned long exit_code = 0;
  std::string output;  // stdout and stderr together, converted to the ANSI code page
};

// Runs a console program with its standard output and error read through a
// pipe, waiting at most timeout_ms for it to end. A program still running then
// is left to run; only our handles are closed.
CapturedRun RunCommandCaptured(const std::string& command_line, int show_mode, unsigned timeout_ms);

// Shows a message box without owner; the result is a ButtonCode.
int ShowMessageBox(const std::string& text, unsigned flags, const char* title = nullptr);

// Holds the calling thread; no messages are processed. Negative counts as 0.
void PauseMilliseconds(int milliseconds);

// Hands an address, unchanged, to the shell's open verb.
void OpenUrl(const std::string& address);

}  // namespace pavrelin
