#include "support/win_test_support.h"

#include <cstdio>

namespace pavrelin::test {

std::string ExeDirectory() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string directory(path, length);
  return directory.substr(0, directory.find_last_of('\\'));
}

namespace {
void RemoveTree(const std::string& directory) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = directory + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(path);
      else
        DeleteFileA(path.c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(directory.c_str());
}
}  // namespace

std::string FreshDirectory(const std::string& name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string directory = std::string(temp) + "pavrelin-" + name;
  RemoveTree(directory);
  CreateDirectoryA(directory.c_str(), nullptr);
  return directory;
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadFileBytes(const std::string& path) {
  std::string bytes;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

std::vector<Record> ReadRecords(const std::string& log_path) {
  const std::string log = ReadFileBytes(log_path);
  std::vector<Record> records;
  std::size_t at = 0;
  while (at < log.size()) {
    Record record;
    unsigned long length = 0;
    int used = 0;
    if (std::sscanf(log.c_str() + at, "%d %u %lu:%n", &record.show, &record.flags, &length,
                    &used) != 3)
      break;
    at += used;
    record.command_line = log.substr(at, length);
    at += length + 1;  // the record's closing line break
    records.push_back(record);
  }
  return records;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeout_ms, DWORD step_ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start >= timeout_ms) return condition();
    Sleep(step_ms);
  }
}

namespace {
struct Search {
  const char* class_name;
  const char* title;
  DWORD process_id;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  if (!IsWindowVisible(window)) return TRUE;
  if (search->process_id) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->process_id) return TRUE;
  }
  char buffer[512];
  if (search->class_name) {
    GetClassNameA(window, buffer, sizeof buffer);
    if (lstrcmpA(buffer, search->class_name) != 0) return TRUE;
  }
  GetWindowTextA(window, buffer, sizeof buffer);
  if (search->title && lstrcmpA(buffer, search->title) != 0) return TRUE;
  search->found = window;
  return FALSE;
}
}  // namespace

HWND FindVisibleWindow(const char* class_name, const char* title, DWORD process_id) {
  Search search{class_name, title, process_id, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindow(const char* class_name, const char* title, DWORD timeout_ms, DWORD process_id) {
  HWND window = nullptr;
  WaitUntil([&] { return (window = FindVisibleWindow(class_name, title, process_id)) != nullptr; },
            timeout_ms);
  return window;
}

HWND WaitForMessageBox(const char* title, DWORD timeout_ms, DWORD process_id) {
  return WaitForWindow("#32770", title, timeout_ms, process_id);
}

std::string WindowText(HWND window) {
  const LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT got =
      SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(got));
  return text;
}

std::string MessageBoxText(HWND box) {
  HWND text = GetDlgItem(box, 0xFFFF);
  return text ? WindowText(text) : std::string();
}

void PressBoxButton(HWND box, int id) {
  HWND button = GetDlgItem(box, id);
  if (button)
    SendMessageA(button, BM_CLICK, 0, 0);
  else
    PostMessageA(box, WM_COMMAND, id, 0);
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
  char old[32768];
  const DWORD length = GetEnvironmentVariableA(name, old, sizeof old);
  had_old_ = length > 0 && length < sizeof old;
  if (had_old_) old_.assign(old, length);
  SetEnvironmentVariableA(name, value.c_str());
}

ScopedEnv::~ScopedEnv() {
  SetEnvironmentVariableA(name_.c_str(), had_old_ ? old_.c_str() : nullptr);
}

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char byte : bytes) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 15];
  }
  return hex;
}

bool RegisterRecordingBrowser() {
  const std::string command = "\"" + ExeDirectory() + "\\recorder.exe\" \"%1\"";
  HKEY key;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, "http\\shell\\open\\command", 0, nullptr, 0, KEY_SET_VALUE,
                      nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  const LONG result =
      RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                     static_cast<DWORD>(command.size() + 1));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

std::vector<std::string> BrowserAddresses(const std::string& log_path) {
  std::vector<std::string> addresses;
  for (const Record& record : ReadRecords(log_path)) {
    const std::string& line = record.command_line;
    if (line.find("recorder.exe\"") == std::string::npos) continue;
    // The open command quotes its argument: the address is the last quoted word.
    const std::size_t close = line.find_last_of('"');
    const std::size_t open = close == std::string::npos ? close : line.find_last_of('"', close - 1);
    if (open != std::string::npos) addresses.push_back(line.substr(open + 1, close - open - 1));
  }
  return addresses;
}

COLORREF ScreenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return colour;
}

POINT TopMiddle(HWND window) {
  RECT area;
  GetWindowRect(window, &area);
  return {(area.left + area.right) / 2, area.top};
}

POINT LeftMiddle(HWND window) {
  RECT area;
  GetWindowRect(window, &area);
  return {area.left, (area.top + area.bottom) / 2};
}

namespace {
void SendMouse(int x, int y, DWORD flags) {
  SetCursorPos(x, y);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  SendInput(1, &input, sizeof input);
}
}  // namespace

void MouseDown(int x, int y, bool right) {
  SendMouse(x, y, right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
}

void MouseUp(int x, int y, bool right) {
  SendMouse(x, y, right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
}

void Click(int x, int y, bool right) {
  MouseDown(x, y, right);
  MouseUp(x, y, right);
}

}  // namespace pavrelin::test
