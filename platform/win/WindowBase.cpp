#include "platform/win/WindowBase.h"

#include <typeinfo>

#include "platform/base/HandleMap.h"
#include "platform/base/WinError.h"

namespace platform {

namespace {
HandleMap<HWND, WindowBase*>& objects() {
  static HandleMap<HWND, WindowBase*> map;
  return map;
}

// The object whose window is being created: it binds on the window's first message.
WindowBase* g_creating = nullptr;

HWND reflectTarget(HWND parent, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY:
      return lParam ? reinterpret_cast<NMHDR*>(lParam)->hwndFrom : nullptr;
    case WM_DRAWITEM:
      return wParam && lParam ? reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_MEASUREITEM:
      return wParam && lParam
                 ? GetDlgItem(parent, static_cast<int>(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->CtlID))
                 : nullptr;
    case WM_DELETEITEM:
      return wParam && lParam ? reinterpret_cast<DELETEITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_COMPAREITEM:
      return wParam && lParam ? reinterpret_cast<COMPAREITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
      return reinterpret_cast<HWND>(lParam);
    case WM_PARENTNOTIFY:
      return (LOWORD(wParam) == WM_CREATE || LOWORD(wParam) == WM_DESTROY) ? reinterpret_cast<HWND>(lParam) : nullptr;
    default:
      return nullptr;
  }
}
}  // namespace

WindowBase::~WindowBase() {
  if (!hwnd_) return;
  const HWND h = hwnd_;
  const bool ownClass = super_ == DefWindowProcW;
  detach();
  if (ownClass && IsWindow(h)) DestroyWindow(h);
}

WindowBase* WindowBase::fromHandle(HWND hwnd) {
  WindowBase* const* object = objects().find(hwnd);
  return object ? *object : nullptr;
}

WindowClassInfo WindowBase::windowClass() const {
  const std::string name = std::string("Pellucard.") + typeid(*this).name();
  WindowClassInfo info;
  info.name.assign(name.begin(), name.end());
  return info;
}

HWND WindowBase::create(HWND parent, const RECT& rect, LPCWSTR windowName, DWORD style, DWORD exStyle, UINT id,
                        LPVOID param) {
  if (hwnd_) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const WindowClassInfo info = windowClass();
  WNDCLASSW existing;
  if (!GetClassInfoW(nullptr, info.name.c_str(), &existing)) {
    WNDCLASSW wc{};
    wc.style = info.style;
    wc.lpfnWndProc = startProc;
    wc.hCursor = info.cursor;
    wc.hbrBackground = info.background;
    wc.lpszClassName = info.name.c_str();
    if (!RegisterClassW(&wc)) return nullptr;
  }
  WindowBase* outer = g_creating;
  g_creating = this;
  const HWND h = CreateWindowExW(exStyle, info.name.c_str(), windowName, style, rect.left, rect.top,
                                 rect.right - rect.left, rect.bottom - rect.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, param);
  g_creating = outer;
  return h;
}

HWND WindowBase::createOfClass(LPCWSTR className, HWND parent, const RECT& rect, LPCWSTR windowName, DWORD style,
                               DWORD exStyle, UINT id) {
  if (hwnd_) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const HWND h = CreateWindowExW(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                                 rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                 nullptr, nullptr);
  if (!h) return nullptr;
  if (!subclassWindow(h)) {
    DestroyWindow(h);
    return nullptr;
  }
  return h;
}

BOOL WindowBase::subclassWindow(HWND hwnd) {
  if (hwnd_ || !IsWindow(hwnd) || fromHandle(hwnd)) {
    SetLastError(hwnd_ || fromHandle(hwnd) ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  const auto old = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
  attach(hwnd, old);
  SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowBase::windowProc));
  return TRUE;
}

HWND WindowBase::unsubclassWindow() {
  if (!hwnd_) return nullptr;
  const HWND h = hwnd_;
  detach();
  return h;
}

BOOL WindowBase::destroyWindow() { return hwnd_ ? DestroyWindow(hwnd_) : FALSE; }

void WindowBase::attach(HWND hwnd, WNDPROC super) {
  hwnd_ = hwnd;
  super_ = super;
  objects()[hwnd] = this;
}

// The window keeps working with the procedure it had before the object took it over.
void WindowBase::detach() {
  if (!hwnd_) return;
  if (IsWindow(hwnd_) && reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd_, GWLP_WNDPROC)) == &WindowBase::windowProc) {
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(super_));
  }
  objects().erase(hwnd_);
  hwnd_ = nullptr;
}

LRESULT WindowBase::defWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(super_ ? super_ : DefWindowProcW, hwnd_, message, wParam, lParam);
}

LRESULT WindowBase::answerUnhandled(UINT message, WPARAM wParam, LPARAM lParam) {
  // Reflected messages nobody handled get the answer the parent's default would give.
  if (message >= OCM__BASE + WM_COMMAND && message <= OCM__BASE + WM_PARENTNOTIFY)
    return DefWindowProcW(hwnd_, message - OCM__BASE, wParam, lParam);
  return defWindowProc(message, wParam, lParam);
}

bool WindowBase::reflectNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const HWND child = reflectTarget(hwnd_, message, wParam, lParam);
  if (!child || !IsWindow(child)) return false;
  // A child of ours whose map has no entry for the reflected message answers it as it answers
  // any unhandled message, without the trip through its map. A list view notifies its parent
  // of every row inserted, and a refill inserts thousands.
  WindowBase* object = fromHandle(child);
  if (object && reinterpret_cast<WNDPROC>(GetWindowLongPtrW(child, GWLP_WNDPROC)) == &WindowBase::windowProc &&
      !object->mightProcess(OCM__BASE + message, wParam, lParam)) {
    result = object->answerUnhandled(OCM__BASE + message, wParam, lParam);
    return true;
  }
  result = SendMessageW(child, OCM__BASE + message, wParam, lParam);
  return true;
}

LRESULT WindowBase::startProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowBase* self = g_creating;
  if (!self || self->hwnd_) return DefWindowProcW(hwnd, message, wParam, lParam);
  g_creating = nullptr;
  self->attach(hwnd, DefWindowProcW);
  SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowBase::windowProc));
  return windowProc(hwnd, message, wParam, lParam);
}

LRESULT WindowBase::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowBase* self = fromHandle(hwnd);
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  const MSG msg{hwnd, message, wParam, lParam, 0, POINT{0, 0}};
  const MSG* outer = self->current_;
  self->current_ = &msg;
  LRESULT result = 0;
  bool handled = self->processWindowMessage(message, wParam, lParam, result);
  // The object may have let go of the window (or been destroyed) while handling.
  if (fromHandle(hwnd) != self) return result;
  self->current_ = outer;
  if (!handled) result = self->answerUnhandled(message, wParam, lParam);
  if (message == WM_NCDESTROY && fromHandle(hwnd) == self) {
    self->detach();
    self->onFinalMessage(hwnd);
  }
  return result;
}

}  // namespace platform
