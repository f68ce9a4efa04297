#include "support/app_under_test.h"

#include "support/win_test_support.h"

namespace pavrelin::test {

AppUnderTest::AppUnderTest(const std::string& name, const std::string& exe_name,
                           const std::string& program)
    : run_directory_(FreshDirectory(name)), exe_path_(run_directory_ + "\\" + exe_name) {
  CopyFileA((ExeDirectory() + "\\" + program).c_str(), exe_path_.c_str(), FALSE);
  CopyFileA((ExeDirectory() + "\\recorder.exe").c_str(), (run_directory_ + "\\netsh.exe").c_str(),
            FALSE);
}

AppUnderTest::~AppUnderTest() {
  if (!process_) return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

bool AppUnderTest::Start() {
  ScopedEnv log("REC_LOG", netsh_log());
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::string command_line = "\"" + exe_path_ + "\"";
  // Started from somewhere else: the program must find its own directory itself.
  if (!CreateProcessA(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      ExeDirectory().c_str(), &startup, &info))
    return false;
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  pid_ = info.dwProcessId;
  return true;
}

HWND AppUnderTest::StartToMainWindow() {
  if (!process_ && !Start()) return nullptr;
  HWND notice = WaitForBox(kNoticeTitle, 20000);
  if (!notice) return nullptr;
  PressBoxButton(notice, IDOK);
  return WaitForWindow(nullptr, kMainTitle, 10000, pid_);
}

bool AppUnderTest::running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool AppUnderTest::WaitForExit(DWORD timeout_ms, DWORD* exit_code) {
  if (!process_ || WaitForSingleObject(process_, timeout_ms) != WAIT_OBJECT_0) return false;
  GetExitCodeProcess(process_, exit_code);
  return true;
}

HWND AppUnderTest::WaitForBox(const char* title, DWORD timeout_ms) const {
  return WaitForMessageBox(title, timeout_ms, pid_);
}

HWND AppUnderTest::WaitForBoxOtherThan(const char* title, const std::string& other,
                                       DWORD timeout_ms) const {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        HWND box = WaitForBox(title, 0);
        if (box && IsWindowVisible(box) && MessageBoxText(box) != other) found = box;
        return found != nullptr;
      },
      timeout_ms);
  return found;
}

HWND AppUnderTest::MainWindow() const { return FindVisibleWindow(nullptr, kMainTitle, pid_); }

namespace {
struct ChildSearch {
  const std::string* text;
  int id;
  HWND found;
};

BOOL CALLBACK MatchChild(HWND child, LPARAM param) {
  auto* search = reinterpret_cast<ChildSearch*>(param);
  if (search->text ? WindowText(child) == *search->text : GetDlgCtrlID(child) == search->id) {
    search->found = child;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND FindChildByText(HWND parent, const std::string& text) {
  ChildSearch search{&text, 0, nullptr};
  EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindChildById(HWND parent, int id) {
  ChildSearch search{nullptr, id, nullptr};
  EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

namespace {
struct PlaceSearch {
  HWND top;
  const char* class_name;
  POINT place;
  HWND found;
};

BOOL CALLBACK MatchPlace(HWND child, LPARAM param) {
  auto* search = reinterpret_cast<PlaceSearch*>(param);
  char class_name[64];
  GetClassNameA(child, class_name, sizeof class_name);
  if (lstrcmpiA(class_name, search->class_name) != 0) return TRUE;
  RECT rect;
  GetWindowRect(child, &rect);
  POINT corner{rect.left, rect.top};
  ScreenToClient(search->top, &corner);
  if (corner.x != search->place.x || corner.y != search->place.y) return TRUE;
  search->found = child;
  return FALSE;
}
}  // namespace

HWND FindControlAt(HWND top, const char* class_name, int x, int y) {
  PlaceSearch search{top, class_name, {x, y}, nullptr};
  EnumChildWindows(top, MatchPlace, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace pavrelin::test
