#include "ui/browser_box_win.h"

#include <exdisp.h>
#include <ole2.h>

#include <algorithm>
#include <memory>
#include <string>

#include "ui/window_messages.h"

namespace pavrelin {

namespace {

constexpr char kClassName[] = "PavrelinBrowserBox";
constexpr int kLargestTextSize = 4;

template <typename T>
void ReleaseCom(T* pointer) {
  if (pointer) pointer->Release();
}

// The container side of the in-place activation: one object is the client
// site, the in-place site and the frame, as the WebBrowser control needs no
// more of a host. It lives as long as the box window and the control's
// references to it.
class BrowserSite final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
 public:
  explicit BrowserSite(HWND box) : box_(box) {}

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
      *object = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
      *object = static_cast<IOleInPlaceSite*>(this);
    else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
      *object = static_cast<IOleInPlaceFrame*>(this);
    else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // IOleClientSite
  STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP GetContainer(IOleContainer** container) override {
    *container = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow (shared by the in-place site and the frame)
  STDMETHODIMP GetWindow(HWND* window) override {
    *window = box_;
    return S_OK;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                RECT* position, RECT* clip,
                                OLEINPLACEFRAMEINFO* frame_info) override {
    *frame = this;
    AddRef();
    *document = nullptr;
    GetClientRect(box_, position);
    GetClientRect(box_, clip);
    frame_info->fMDIApp = FALSE;
    frame_info->hwndFrame = GetAncestor(box_, GA_ROOT);
    frame_info->haccel = nullptr;
    frame_info->cAccelEntries = 0;
    return S_OK;
  }
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
  STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
  STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
  STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

  // IOleInPlaceUIWindow / IOleInPlaceFrame: the box has no menus or tools.
  STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
  STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  STDMETHODIMP RemoveMenus(HMENU) override { return S_OK; }
  STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
  STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

 private:
  ~BrowserSite() = default;
  HWND box_;
  ULONG references_ = 1;
};

// What a live box holds: the site and the control's interfaces, released
// when the box is destroyed.
struct BrowserBox {
  BrowserSettings settings;
  std::string url;  // settings.url points here
  BrowserSite* site = nullptr;
  IOleObject* object = nullptr;
  IWebBrowser2* browser = nullptr;

  ~BrowserBox() {
    if (object) {
      object->Close(OLECLOSE_NOSAVE);
      object->SetClientSite(nullptr);
    }
    ReleaseCom(browser);
    ReleaseCom(object);
    ReleaseCom(site);
  }
};

BrowserBox* BoxOf(HWND window) {
  return reinterpret_cast<BrowserBox*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void FitBrowser(HWND window, BrowserBox& box) {
  if (!box.object) return;
  RECT client;
  GetClientRect(window, &client);
  IOleInPlaceObject* in_place = nullptr;
  if (SUCCEEDED(
          box.object->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&in_place)))) {
    in_place->SetObjectRects(&client, &client);
    in_place->Release();
  }
}

void FocusBrowser(BrowserBox& box) {
  if (!box.object) return;
  IOleInPlaceObject* in_place = nullptr;
  if (FAILED(
          box.object->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&in_place))))
    return;
  HWND control = nullptr;
  if (SUCCEEDED(in_place->GetWindow(&control)) && control) SetFocus(control);
  in_place->Release();
}

bool StartBrowser(HWND window, BrowserBox& box);

LRESULT CALLBACK BrowserBoxProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_TIMER:
      if (wparam != kStartBrowserTimerId) break;
      KillTimer(window, kStartBrowserTimerId);
      // A machine without the control gets no box; the window stays as built.
      if (BrowserBox* box = BoxOf(window); box && !box->object && !StartBrowser(window, *box))
        DestroyWindow(window);
      return 0;
    case WM_SIZE:
      if (BrowserBox* box = BoxOf(window)) FitBrowser(window, *box);
      return 0;
    case WM_SETFOCUS:
      if (BrowserBox* box = BoxOf(window)) FocusBrowser(*box);
      return 0;
    case WM_DESTROY:
      // Closed while the control's own window still exists.
      delete BoxOf(window);
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      break;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

bool RegisterBoxClass() {
  static const bool registered = [] {
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = BrowserBoxProc;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    window_class.lpszClassName = kClassName;
    return RegisterClassA(&window_class) != 0;
  }();
  return registered;
}

std::wstring Wide(const char* text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::wstring wide(length > 0 ? length : 1, L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
  wide.resize(wide.size() - 1);
  return wide;
}

// Offline, silent, the text size and the one navigation, in that order.
void ApplySettings(IWebBrowser2& browser, const BrowserSettings& settings) {
  browser.put_Offline(settings.offline ? VARIANT_TRUE : VARIANT_FALSE);
  browser.put_Silent(settings.silent ? VARIANT_TRUE : VARIANT_FALSE);
  VARIANT size;
  VariantInit(&size);
  size.vt = VT_I4;
  size.lVal = std::clamp(settings.font_size, 0, kLargestTextSize);
  browser.ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, &size, nullptr);
  if (!settings.url || !*settings.url) return;
  BSTR address = SysAllocString(Wide(settings.url).c_str());
  VARIANT flags, empty;
  VariantInit(&flags);
  VariantInit(&empty);
  flags.vt = VT_I4;
  flags.lVal = 0;
  browser.Navigate(address, &flags, &empty, &empty, &empty);
  SysFreeString(address);
}

bool StartBrowser(HWND window, BrowserBox& box) {
  if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                              reinterpret_cast<void**>(&box.object))))
    return false;
  box.site = new BrowserSite(window);
  RECT client;
  GetClientRect(window, &client);
  if (FAILED(box.object->SetClientSite(box.site)) ||
      FAILED(box.object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, box.site, 0, window, &client)) ||
      FAILED(box.object->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&box.browser))))
    return false;
  OleSetContainedObject(box.object, TRUE);
  ApplySettings(*box.browser, box.settings);
  return true;
}

}  // namespace

HWND CreateBrowserBox(HWND parent, int id, const Rect& place, DWORD style,
                      const BrowserSettings& settings) {
  if (!RegisterBoxClass()) return nullptr;
  HWND window = CreateWindowExA(0, kClassName, nullptr, WS_CHILD | WS_CLIPSIBLINGS | style,
                                place.left, place.top, place.width, place.height, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleA(nullptr), nullptr);
  if (!window) return nullptr;
  auto box = std::make_unique<BrowserBox>();
  box->settings = settings;
  box->url = settings.url ? settings.url : "";
  box->settings.url = box->url.c_str();
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(box.release()));
  // Loading the WebBrowser control takes about a tenth of a second. Made from
  // the queue, it loads while the start-up notice is already on the screen
  // (whose box runs the loop) instead of holding the notice back.
  SetTimer(window, kStartBrowserTimerId, USER_TIMER_MINIMUM, nullptr);
  return window;
}

}  // namespace pavrelin
