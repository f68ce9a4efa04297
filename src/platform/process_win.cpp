#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "platform/process.h"
#include "platform/text.h"
#include "platform/win_handles.h"

namespace pavrelin {

namespace {

// Enough to show the first lines of any netsh complaint; the rest is read
// and dropped so the program never blocks on a full pipe.
constexpr std::size_t kMaxCapturedBytes = 64 * 1024;
constexpr DWORD kPollMs = 10;

STARTUPINFOA StartupInfoFor(int show_mode) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(ShowCommandForMode(show_mode));
  return startup;
}

// Reads whatever the pipe holds now, without blocking.
void DrainPipe(HANDLE pipe, std::string& output) {
  for (;;) {
    DWORD available = 0;
    if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) || available == 0) return;
    char buffer[4096];
    DWORD got = 0;
    if (!ReadFile(pipe, buffer, std::min<DWORD>(available, sizeof buffer), &got, nullptr) ||
        got == 0)
      return;
    const std::size_t room = kMaxCapturedBytes - std::min(kMaxCapturedBytes, output.size());
    output.append(buffer, std::min<std::size_t>(got, room));
  }
}

// CreateProcessA takes a command line of at most 32,767 characters, its
// terminating zero included; Windows also refuses an ANSI text of more than
// 65,534 bytes, which it cannot convert. Wine instead keeps the low 16 bits of
// the byte count and runs what is left of the line, so the program checks first.
bool FitsProcessCreation(const std::string& command_line) {
  constexpr std::size_t kMaxAnsiBytes = 65534;
  constexpr int kMaxCharacters = 32766;
  if (command_line.empty() || command_line.size() > kMaxAnsiBytes) return false;
  const int characters = MultiByteToWideChar(CP_ACP, 0, command_line.data(),
                                             static_cast<int>(command_line.size()), nullptr, 0);
  return characters > 0 && characters <= kMaxCharacters;
}

}  // namespace

bool RunCommandLine(const std::string& command_line, bool wait, int show_mode) {
  if (!FitsProcessCreation(command_line)) return false;
  STARTUPINFOA startup = StartupInfoFor(show_mode);
  PROCESS_INFORMATION info{};
  std::string writable = command_line;  // CreateProcessA may write into it
  if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info))
    return false;
  UniqueHandle process(info.hProcess);
  UniqueHandle thread(info.hThread);
  if (wait)
    WaitForSingleObject(process.get(), INFINITE);
  else
    WaitForInputIdle(process.get(), 1000);
  return true;
}

CapturedRun RunCommandCaptured(const std::string& command_line, int show_mode,
                               unsigned timeout_ms) {
  CapturedRun run;
  if (!FitsProcessCreation(command_line)) return run;

  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  HANDLE read_raw = nullptr;
  HANDLE write_raw = nullptr;
  if (!CreatePipe(&read_raw, &write_raw, &inheritable, 0)) return run;
  UniqueHandle read_end(read_raw);
  UniqueHandle write_end(write_raw);
  // Only the child's end may be inherited, or the pipe never reports its end.
  SetHandleInformation(read_end.get(), HANDLE_FLAG_INHERIT, 0);
  UniqueHandle no_input = OwnFileHandle(
      CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ, &inheritable, OPEN_EXISTING, 0, nullptr));

  STARTUPINFOA startup = StartupInfoFor(show_mode);
  startup.dwFlags |= STARTF_USESTDHANDLES;
  startup.hStdInput = no_input.get();
  startup.hStdOutput = write_end.get();
  startup.hStdError = write_end.get();
  PROCESS_INFORMATION info{};
  std::string writable = command_line;
  if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &info))
    return run;
  UniqueHandle process(info.hProcess);
  UniqueHandle thread(info.hThread);
  write_end.reset();
  no_input.reset();

  std::string oem_output;
  const DWORD started = GetTickCount();
  for (;;) {
    DrainPipe(read_end.get(), oem_output);
    const DWORD elapsed = GetTickCount() - started;
    const DWORD slice = elapsed >= timeout_ms ? 0 : std::min<DWORD>(kPollMs, timeout_ms - elapsed);
    if (WaitForSingleObject(process.get(), slice) == WAIT_OBJECT_0) {
      DrainPipe(read_end.get(), oem_output);
      DWORD code = 0;
      GetExitCodeProcess(process.get(), &code);
      run.end = CapturedRun::End::Exited;
      run.exit_code = code;
      break;
    }
    if (slice == 0) {
      run.end = CapturedRun::End::TimedOut;
      break;
    }
  }
  run.output = OemToAnsi(oem_output);
  return run;
}

int ShowMessageBox(const std::string& text, unsigned flags, const char* title) {
  int result =
      MessageBoxA(nullptr, text.c_str(), title ? title : kDefaultBoxTitle, BoxStyleForFlags(flags));
  // Windows ends an OK-only box closed by its close button or Esc with IDOK;
  // Wine answers IDCANCEL, a button that box does not have.
  if ((flags & MB_TYPEMASK) == MB_OK && result == IDCANCEL) result = IDOK;
  return ButtonCodeForResult(result);
}

void PauseMilliseconds(int milliseconds) { Sleep(milliseconds > 0 ? milliseconds : 0); }

void OpenUrl(const std::string& address) {
  HWND owner = FindWindowExA(nullptr, nullptr, nullptr, "Microsoft Internet Explorer");
  ShellExecuteA(owner, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace pavrelin
