// The base of the program's window classes: binds a C++ object to a window, routes the
// window's messages through the object's message map, creates windows of its own class or of
// an existing class (subclassed), and reflects notifications back to the child control that
// sent them, as OCM_ messages, so that a control can handle its own drawing and notifications.
#pragma once

#include <string>

#include "platform/win/MessageMap.h"
#include "platform/win/WinUser.h"

// Reflected messages: a parent sends OCM_x (= OCM__BASE + WM_x) to the child that caused WM_x.
#define OCM__BASE (WM_USER + 0x1C00)
#define OCM_COMMAND (OCM__BASE + WM_COMMAND)
#define OCM_CTLCOLORBTN (OCM__BASE + WM_CTLCOLORBTN)
#define OCM_CTLCOLOREDIT (OCM__BASE + WM_CTLCOLOREDIT)
#define OCM_CTLCOLORDLG (OCM__BASE + WM_CTLCOLORDLG)
#define OCM_CTLCOLORLISTBOX (OCM__BASE + WM_CTLCOLORLISTBOX)
#define OCM_CTLCOLORMSGBOX (OCM__BASE + WM_CTLCOLORMSGBOX)
#define OCM_CTLCOLORSCROLLBAR (OCM__BASE + WM_CTLCOLORSCROLLBAR)
#define OCM_CTLCOLORSTATIC (OCM__BASE + WM_CTLCOLORSTATIC)
#define OCM_DRAWITEM (OCM__BASE + WM_DRAWITEM)
#define OCM_MEASUREITEM (OCM__BASE + WM_MEASUREITEM)
#define OCM_DELETEITEM (OCM__BASE + WM_DELETEITEM)
#define OCM_VKEYTOITEM (OCM__BASE + WM_VKEYTOITEM)
#define OCM_CHARTOITEM (OCM__BASE + WM_CHARTOITEM)
#define OCM_COMPAREITEM (OCM__BASE + WM_COMPAREITEM)
#define OCM_HSCROLL (OCM__BASE + WM_HSCROLL)
#define OCM_VSCROLL (OCM__BASE + WM_VSCROLL)
#define OCM_PARENTNOTIFY (OCM__BASE + WM_PARENTNOTIFY)
#define OCM_NOTIFY (OCM__BASE + WM_NOTIFY)

namespace platform {

struct WindowClassInfo {
  std::u16string name;
  UINT style = CS_DBLCLKS;
  HBRUSH background = nullptr;
  HCURSOR cursor = nullptr;
};

class WindowBase {
 public:
  WindowBase() = default;
  // A window still attached is released from the object and destroyed.
  virtual ~WindowBase();
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;

  HWND hwnd() const { return hwnd_; }

  // A window of this object's own class (windowClass(), registered on first use).
  HWND create(HWND parent, const RECT& rect, LPCWSTR windowName, DWORD style, DWORD exStyle = 0, UINT id = 0,
              LPVOID param = nullptr);
  // A window of an existing class (a standard control), subclassed once created: the object
  // sees its messages from then on and passes what it does not handle to the class.
  HWND createOfClass(LPCWSTR className, HWND parent, const RECT& rect, LPCWSTR windowName, DWORD style,
                     DWORD exStyle = 0, UINT id = 0);
  BOOL subclassWindow(HWND hwnd);
  // Gives the window its previous procedure back; returns it, or nullptr.
  HWND unsubclassWindow();
  BOOL destroyWindow();

  // The window an object is attached to, or nullptr.
  static WindowBase* fromHandle(HWND hwnd);

 protected:
  virtual WindowClassInfo windowClass() const;
  // The message map; true when the message was handled and `result` set.
  virtual bool processWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
  // What the window does without this object: the superclass or the subclassed procedure.
  LRESULT defWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The last message the window received, after the window is gone.
  virtual void onFinalMessage(HWND) {}
  // Sends a reflectable message back to the child that caused it as OCM_x; true when one
  // was sent (result holds its answer).
  bool reflectNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // The message being handled now.
  const MSG* currentMessage() const { return current_; }

 private:
  static LRESULT startProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void attach(HWND hwnd, WNDPROC super);
  void detach();

  HWND hwnd_ = nullptr;
  WNDPROC super_ = nullptr;
  const MSG* current_ = nullptr;
};

// Window classes derive from WindowImpl<Self> and provide `static const MessageMap<Self>&
// messageMap()`. reflectNotifications() at the end of a parent's map reflects what its own
// entries left unhandled.
template <class T>
class WindowImpl : public WindowBase {
 protected:
  bool processWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    return T::messageMap().dispatch(static_cast<T&>(*this), message, wParam, lParam, result);
  }
  static std::function<bool(T&, UINT, WPARAM, LPARAM, LRESULT&)> reflectNotifications() {
    return [](T& self, UINT m, WPARAM w, LPARAM l, LRESULT& r) { return self.reflectNotification(m, w, l, r); };
  }
};

}  // namespace platform
