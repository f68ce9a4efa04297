// The smallest Win32 program that shows what Pavrelin shows at start: the
// task-modal notice, then one centred 316 x 219 window with the same caption,
// open until it is closed. The benchmark measures Pavrelin against it.
#include <windows.h>

namespace {

constexpr char kNoticeTitle[] = "温馨提示：";
constexpr char kNotice[] =
    "1.账号不允许使用汉字！\r\n"
    "2.密码请使用≥8位的英文和字母组成！\r\n"
    "3.请您认真按照使用说明使用此软件！\r\n"
    "4.请您右击以管理员身份运行此软件！\r\n"
    "5.本软件完全免费,如有问题请点击检查更新升级版本.";
constexpr char kMainTitle[] = "Pavrelin--Beta 4";
constexpr char kClassName[] = "MinimalApp";
constexpr int kWidth = 316;
constexpr int kHeight = 219;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  MessageBoxA(nullptr, kNotice, kNoticeTitle, MB_OK | MB_TASKMODAL);

  WNDCLASSA window_class{};
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kClassName;
  if (!RegisterClassA(&window_class)) return 1;

  const int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
  HWND window = CreateWindowExA(0, kClassName, kMainTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                                x, y, kWidth, kHeight, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, show);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
