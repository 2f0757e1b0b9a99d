// Window classes, creation and destruction, window data, relations and text.
#include <algorithm>
#include <cstring>

#include "platform/base/RemoteWindowProvider.h"
#include "platform/base/WinError.h"
#include "platform/gdi/GdiBridge.h"
#include "platform/win/WindowManager.h"
#include "platform/win/WindowObserver.h"

using platform::inputState;
using platform::Window;
using platform::windowManager;
using platform::windowTree;

namespace {

std::shared_ptr<platform::WindowClass> classByNameOrAtom(LPCWSTR name) {
  if (!name) return nullptr;
  if (IS_INTRESOURCE(name)) return windowTree().findClass(static_cast<ATOM>(reinterpret_cast<UINT_PTR>(name)));
  return windowTree().findClass(name);
}

void sendDestroy(HWND hwnd) {
  Window* w = windowTree().find(hwnd);
  if (!w) return;
  SendMessageW(hwnd, WM_DESTROY, 0, 0);
  w = windowTree().find(hwnd);
  if (!w) return;
  const std::vector<HWND> children = w->children;
  for (HWND c : children) sendDestroy(c);
}

// Children first, so that a parent's WM_NCDESTROY sees no children left.
void freeWindow(HWND hwnd) {
  Window* w = windowTree().find(hwnd);
  if (!w) return;
  const std::vector<HWND> children = w->children;
  for (HWND c : children) freeWindow(c);
  w = windowTree().find(hwnd);
  if (!w) return;
  SendMessageW(hwnd, WM_NCDESTROY, 0, 0);
  w = windowTree().find(hwnd);
  if (!w) return;
  windowManager().forgetWindow(hwnd);
  if (w->cls) w->cls->windowCount--;
  windowTree().remove(hwnd);
}

LONG_PTR* extraSlot(Window& w, int index, size_t size) {
  if (index < 0 || static_cast<size_t>(index) + size > w.extra.size()) return nullptr;
  return reinterpret_cast<LONG_PTR*>(w.extra.data() + index);
}

}  // namespace

ATOM RegisterClassW(const WNDCLASSW* wc) {
  if (!wc || !wc->lpszClassName || !wc->lpfnWndProc || wc->cbClsExtra < 0 || wc->cbWndExtra < 0 ||
      (!IS_INTRESOURCE(wc->lpszClassName) && !wc->lpszClassName[0])) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (IS_INTRESOURCE(wc->lpszClassName)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::u16string name(wc->lpszClassName);
  if (windowTree().findClass(name)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  auto cls = std::make_shared<platform::WindowClass>();
  cls->name = name;
  cls->style = wc->style;
  cls->proc = wc->lpfnWndProc;
  cls->clsExtra = wc->cbClsExtra;
  cls->wndExtra = wc->cbWndExtra;
  cls->instance = wc->hInstance;
  cls->cursor = wc->hCursor;
  cls->background = wc->hbrBackground;
  return windowTree().addClass(std::move(cls));
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE) {
  auto cls = classByNameOrAtom(className);
  if (!cls) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  if (cls->windowCount > 0) {
    SetLastError(ERROR_CLASS_HAS_WINDOWS);
    return FALSE;
  }
  windowTree().removeClass(*cls);
  return TRUE;
}

BOOL GetClassInfoW(HINSTANCE, LPCWSTR className, LPWNDCLASSW out) {
  auto cls = classByNameOrAtom(className);
  if (!cls || !out) {
    SetLastError(cls ? ERROR_INVALID_PARAMETER : ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  *out = WNDCLASSW{cls->style, cls->proc,   cls->clsExtra,   cls->wndExtra, cls->instance,
                   nullptr,    cls->cursor, cls->background, nullptr,       className};
  return TRUE;
}

int GetClassNameW(HWND hwnd, LPWSTR buffer, int maxCount) {
  Window* w = windowTree().get(hwnd);
  if (!w) return 0;
  if (!buffer || maxCount <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return platform::copyWindowText(w->cls->name, buffer, maxCount);
}

DWORD GetClassLongW(HWND hwnd, int index) {
  Window* w = windowTree().get(hwnd);
  if (!w) return 0;
  switch (index) {
    case -26:  // GCL_STYLE
      return w->cls->style;
    case -32:  // GCW_ATOM
      return w->cls->atom;
    default:
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
  }
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID param) {
  auto cls = classByNameOrAtom(className);
  if (!cls) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  Window* parentWindow = nullptr;
  if (parent && parent != HWND_DESKTOP) {
    parentWindow = windowTree().get(parent);
    if (!parentWindow) return nullptr;
  }
  const bool child = (style & WS_CHILD) != 0;
  if (child && !parentWindow) {
    SetLastError(ERROR_TLW_WITH_WSCHILD);
    return nullptr;
  }
  Window& w = windowTree().create();
  w.cls = cls;
  w.proc = cls->proc;
  w.style = style & ~WS_VISIBLE;
  w.exStyle = exStyle;
  w.instance = instance;
  w.text = windowName ? std::u16string(windowName) : std::u16string();
  w.extra.assign(static_cast<size_t>(cls->wndExtra), 0);
  if (child) {
    w.parent = parent;
    w.id = reinterpret_cast<UINT_PTR>(menuOrId);
  } else if (parentWindow) {
    w.owner = windowTree().topLevelOf(parent);
  }
  // A top-level window with default sizes fills the screen, as the handheld's windows do.
  if (x == CW_USEDEFAULT) x = y = 0;
  if (width == CW_USEDEFAULT) {
    width = child ? 0 : platform::gdi::screenWidth();
    height = child ? 0 : platform::gdi::screenHeight();
  }
  w.rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
  const HWND hwnd = w.handle;
  // A child goes below its siblings (so that creation order is tab order), a top-level window
  // above the others.
  if (child) {
    windowTree().linkAtBottom(w);
  } else {
    windowTree().linkAtTop(w);
    windowTree().raise(hwnd);
  }
  cls->windowCount++;

  CREATESTRUCTW cs{param,      instance,  menuOrId, parent, height, width, y, x, static_cast<LONG>(style),
                   windowName, className, exStyle};
  if (!SendMessageW(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    if (windowTree().find(hwnd)) DestroyWindow(hwnd);
    return nullptr;
  }
  if (!windowTree().find(hwnd)) return nullptr;
  if (SendMessageW(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    if (windowTree().find(hwnd)) DestroyWindow(hwnd);
    return nullptr;
  }
  Window* made = windowTree().find(hwnd);
  if (!made) return nullptr;
  const RECT client = platform::clientRectLocal(*made);
  SendMessageW(
      hwnd, WM_SIZE, SIZE_RESTORED,
      MAKELPARAM(static_cast<WORD>(client.right - client.left), static_cast<WORD>(client.bottom - client.top)));
  if (!windowTree().find(hwnd)) return nullptr;
  made = windowTree().find(hwnd);
  SendMessageW(
      hwnd, WM_MOVE, 0,
      MAKELPARAM(static_cast<WORD>(made->rect.left + client.left), static_cast<WORD>(made->rect.top + client.top)));
  if (!windowTree().find(hwnd)) return nullptr;
  if (style & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
  return windowTree().find(hwnd) ? hwnd : nullptr;
}

// Order: owned windows, hide, capture and focus released, WM_DESTROY parent before children,
// WM_NCDESTROY children before parent; then timers, hot keys and queued messages go.
BOOL DestroyWindow(HWND hwnd) {
  Window* w = windowTree().get(hwnd);
  if (!w) return FALSE;
  if (w->destroying) return TRUE;
  w->destroying = true;
  if (!w->parent) {
    std::vector<HWND> ownedWindows;
    for (HWND top : windowTree().topLevels()) {
      Window* tw = windowTree().find(top);
      if (tw && tw->owner == hwnd) ownedWindows.push_back(top);
    }
    for (HWND o : ownedWindows) DestroyWindow(o);
  }
  w = windowTree().find(hwnd);
  if (!w) return TRUE;
  if (w->style & WS_VISIBLE) {
    if (w->parent) {
      ShowWindow(hwnd, SW_HIDE);
    } else {
      SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    }
  }
  w = windowTree().find(hwnd);
  if (!w) return TRUE;
  if (inputState().capture() && windowTree().isDescendant(hwnd, inputState().capture())) ReleaseCapture();
  if (inputState().focus() && windowTree().isDescendant(hwnd, inputState().focus())) {
    if (w->parent) {
      windowManager().moveFocus(w->parent);
    } else {
      windowManager().moveFocus(nullptr);
    }
  }
  if (inputState().active() == hwnd) windowManager().activateNextTopLevel(hwnd);
  sendDestroy(hwnd);
  freeWindow(hwnd);
  return TRUE;
}

LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!proc) return 0;
  return proc(hwnd, message, wParam, lParam);
}

LONG_PTR GetWindowLongPtrW(HWND hwnd, int index) {
  Window* w = windowTree().get(hwnd);
  if (!w) return 0;
  switch (index) {
    case GWLP_WNDPROC:
      return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_HINSTANCE:
      return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_HWNDPARENT:
      return reinterpret_cast<LONG_PTR>(w->parent ? w->parent : w->owner);
    case GWLP_ID:
      return static_cast<LONG_PTR>(w->id);
    case GWL_STYLE:
      return static_cast<LONG_PTR>(static_cast<LONG>(w->style));
    case GWL_EXSTYLE:
      return static_cast<LONG_PTR>(static_cast<LONG>(w->exStyle));
    case GWLP_USERDATA:
      return w->userData;
    default:
      break;
  }
  if (w->dialog && index >= 0 && index < DLGWINDOWEXTRA && w->extra.empty()) {
    if (index == DWLP_MSGRESULT) return w->dialog->msgResult;
    if (index == DWLP_DLGPROC) return reinterpret_cast<LONG_PTR>(w->dialog->proc);
    if (index == DWLP_USER) return w->dialog->user;
  }
  if (LONG_PTR* slot = extraSlot(*w, index, sizeof(LONG_PTR))) {
    LONG_PTR v;
    std::memcpy(&v, slot, sizeof v);
    return v;
  }
  SetLastError(ERROR_INVALID_INDEX);
  return 0;
}

LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value) {
  Window* w = windowTree().get(hwnd);
  if (!w) return 0;
  LONG_PTR old = 0;
  switch (index) {
    case GWLP_WNDPROC:
      if (!value) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
      }
      old = reinterpret_cast<LONG_PTR>(w->proc);
      w->proc = reinterpret_cast<WNDPROC>(value);
      return old;
    case GWLP_ID:
      old = static_cast<LONG_PTR>(w->id);
      w->id = static_cast<UINT_PTR>(value);
      return old;
    case GWLP_USERDATA:
      old = w->userData;
      w->userData = value;
      return old;
    case GWLP_HINSTANCE:
      old = reinterpret_cast<LONG_PTR>(w->instance);
      w->instance = reinterpret_cast<HINSTANCE>(value);
      return old;
    case GWL_STYLE:
    case GWL_EXSTYLE: {
      DWORD& field = index == GWL_STYLE ? w->style : w->exStyle;
      old = static_cast<LONG_PTR>(static_cast<LONG>(field));
      DWORD nv = static_cast<DWORD>(value);
      // Visibility changes through ShowWindow only, as on the handheld.
      if (index == GWL_STYLE) nv = (nv & ~WS_VISIBLE) | (field & WS_VISIBLE);
      SendMessageW(hwnd, WM_STYLECHANGING, static_cast<WPARAM>(index), 0);
      if ((w = windowTree().find(hwnd)) == nullptr) return old;
      (index == GWL_STYLE ? w->style : w->exStyle) = nv;
      SendMessageW(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index), 0);
      return old;
    }
    default:
      break;
  }
  if (w->dialog && index >= 0 && index < DLGWINDOWEXTRA && w->extra.empty()) {
    if (index == DWLP_MSGRESULT) {
      old = w->dialog->msgResult;
      w->dialog->msgResult = value;
      return old;
    }
    if (index == DWLP_DLGPROC) {
      old = reinterpret_cast<LONG_PTR>(w->dialog->proc);
      w->dialog->proc = reinterpret_cast<DLGPROC>(value);
      return old;
    }
    if (index == DWLP_USER) {
      old = w->dialog->user;
      w->dialog->user = value;
      return old;
    }
  }
  if (LONG_PTR* slot = extraSlot(*w, index, sizeof(LONG_PTR))) {
    std::memcpy(&old, slot, sizeof old);
    std::memcpy(slot, &value, sizeof value);
    return old;
  }
  SetLastError(ERROR_INVALID_INDEX);
  return 0;
}

LONG GetWindowLongW(HWND hwnd, int index) { return static_cast<LONG>(GetWindowLongPtrW(hwnd, index)); }
LONG SetWindowLongW(HWND hwnd, int index, LONG value) {
  return static_cast<LONG>(SetWindowLongPtrW(hwnd, index, value));
}

HWND GetParent(HWND hwnd) {
  Window* w = windowTree().get(hwnd);
  if (!w) return nullptr;
  // As on the desktop system: a child's parent, or a popup's owner.
  if (w->parent) return w->parent;
  if (w->style & WS_POPUP) return w->owner;
  return nullptr;
}

HWND SetParent(HWND childHwnd, HWND newParent) {
  Window* w = windowTree().get(childHwnd);
  if (!w) return nullptr;
  Window* np = nullptr;
  if (newParent) {
    np = windowTree().get(newParent);
    if (!np) return nullptr;
    if (windowTree().isDescendant(childHwnd, newParent)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
  }
  const HWND old = w->parent;
  const bool wasVisible = (w->style & WS_VISIBLE) != 0;
  if (wasVisible) ShowWindow(childHwnd, SW_HIDE);
  if ((w = windowTree().find(childHwnd)) == nullptr) return nullptr;
  windowTree().unlink(*w);
  w->parent = newParent;
  windowTree().linkAtTop(*w);
  if (wasVisible) ShowWindow(childHwnd, SW_SHOWNA);
  return old;
}

HWND GetWindow(HWND hwnd, UINT command) {
  Window* w = windowTree().get(hwnd);
  if (!w) return nullptr;
  if (command == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
  if (command == GW_OWNER) return w->owner;
  if (command > GW_CHILD) {
    SetLastError(ERROR_INVALID_GW_COMMAND);
    return nullptr;
  }
  const std::vector<HWND>& list = windowTree().siblingsOf(*w);
  auto it = std::find(list.begin(), list.end(), hwnd);
  switch (command) {
    case GW_HWNDFIRST:
      return list.front();
    case GW_HWNDLAST:
      return list.back();
    case GW_HWNDNEXT:
      return (it == list.end() || it + 1 == list.end()) ? nullptr : *(it + 1);
    case GW_HWNDPREV:
      return (it == list.begin() || it == list.end()) ? nullptr : *(it - 1);
    default:
      return nullptr;
  }
}

HWND GetDesktopWindow() { return nullptr; }

BOOL IsChild(HWND parent, HWND hwnd) {
  Window* w = windowTree().find(hwnd);
  if (!w || !windowTree().find(parent)) return FALSE;
  while (w && w->parent) {
    if (w->parent == parent) return TRUE;
    w = windowTree().find(w->parent);
  }
  return FALSE;
}

HWND GetDlgItem(HWND dialog, int id) {
  Window* w = windowTree().get(dialog);
  if (!w) return nullptr;
  for (HWND c : w->children) {
    Window* cw = windowTree().find(c);
    if (cw && static_cast<int>(cw->id) == id) return c;
  }
  SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
  return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
  Window* w = windowTree().get(hwnd);
  if (!w) return 0;
  return w->parent ? static_cast<int>(w->id) : 0;
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
  if (!proc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::vector<HWND> list = windowTree().topLevels();
  for (HWND h : list) {
    if (windowTree().find(h) && !proc(h, lParam)) return FALSE;
  }
  return TRUE;
}

namespace {
bool enumChildren(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
  Window* w = windowTree().find(parent);
  if (!w) return true;
  const std::vector<HWND> list = w->children;
  for (HWND h : list) {
    if (!windowTree().find(h)) continue;
    if (!proc(h, lParam)) return false;
    if (!enumChildren(h, proc, lParam)) return false;
  }
  return true;
}
}  // namespace

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
  if (!proc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!parent) return EnumWindows(proc, lParam);
  if (!windowTree().get(parent)) return FALSE;
  return enumChildren(parent, proc, lParam) ? TRUE : FALSE;
}

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName) {
  auto cls = className ? classByNameOrAtom(className) : nullptr;
  const bool classGiven = className != nullptr;
  if (!classGiven || cls) {
    for (HWND h : windowTree().topLevels()) {
      Window* w = windowTree().find(h);
      if (!w) continue;
      if (classGiven && w->cls != cls) continue;
      if (windowName && w->text != windowName) continue;
      return h;
    }
  }
  if (auto* remote = platform::remoteWindowProvider()) {
    if (HWND h = remote->findWindow(className, windowName)) return h;
  }
  return nullptr;
}

BOOL IsWindow(HWND hwnd) {
  if (windowTree().find(hwnd)) return TRUE;
  if (auto* remote = platform::remoteWindowProvider()) {
    if (hwnd && remote->isRemote(hwnd)) return remote->isWindow(hwnd);
  }
  return FALSE;
}

BOOL IsWindowVisible(HWND hwnd) {
  Window* w = windowTree().find(hwnd);
  return w && windowTree().visible(*w) ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hwnd) {
  Window* w = windowTree().find(hwnd);
  return w && windowTree().enabled(*w) ? TRUE : FALSE;
}

// Returns whether the window was disabled before. Disabling the focus window (or its parent)
// takes the focus away.
BOOL EnableWindow(HWND hwnd, BOOL enable) {
  Window* w = windowTree().get(hwnd);
  if (!w) return FALSE;
  const BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
  if (enable && wasDisabled) {
    w->style &= ~WS_DISABLED;
    SendMessageW(hwnd, WM_ENABLE, TRUE, 0);
  } else if (!enable && !wasDisabled) {
    SendMessageW(hwnd, WM_CANCELMODE, 0, 0);
    if ((w = windowTree().find(hwnd)) == nullptr) return wasDisabled;
    w->style |= WS_DISABLED;
    if (inputState().focus() && windowTree().isDescendant(hwnd, inputState().focus()))
      windowManager().moveFocus(nullptr);
    SendMessageW(hwnd, WM_ENABLE, FALSE, 0);
  }
  return wasDisabled;
}

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text) {
  if (!windowTree().get(hwnd)) return FALSE;
  return static_cast<BOOL>(SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : u"")));
}

int GetWindowTextW(HWND hwnd, LPWSTR buffer, int maxCount) {
  if (!windowTree().get(hwnd)) return 0;
  if (!buffer || maxCount <= 0) return 0;
  buffer[0] = 0;
  return static_cast<int>(
      SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthW(HWND hwnd) {
  if (!windowTree().get(hwnd)) return 0;
  return static_cast<int>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
}
