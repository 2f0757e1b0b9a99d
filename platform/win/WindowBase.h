// The base of the program's window classes: binds a C++ object to a window, routes the
// window's messages through the object's message map (MessageMap.h), creates windows of its
// own class or of an existing class (subclassed), and reflects notifications back to the child
// control that sent them, as OCM_ messages, so that a control can handle its own drawing and
// notifications.
#pragma once

#include <string>

#include "platform/win/MessageMap.h"
#include "platform/win/WinUser.h"

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
  // False when processWindowMessage would surely leave the message unhandled.
  virtual bool mightProcess(UINT, WPARAM, LPARAM) const { return true; }
  // What the window does without this object: the superclass or the subclassed procedure.
  LRESULT defWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The last message the window received, after the window is gone.
  virtual void onFinalMessage(HWND) {}
  // Sends a reflectable message back to the child that caused it as OCM_x; true when one
  // was sent (result holds its answer).
  bool reflectNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // The message being handled now.
  const MSG* currentMessage() const { return current_; }
  // Called by a message handler: the message goes on after it, to the chained maps, to
  // reflection and finally to defWindowProc, as if the handler had not been there. A handler
  // that adds to what the window does by default (a subclassed control's keys, WM_SIZE,
  // WM_DESTROY) calls this.
  static void passOn() { detail::passOn(); }

 private:
  template <class>
  friend class MessageMap;

  static LRESULT startProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // What a message the map left unhandled gets: reflected ones the parent's default answer, the
  // rest defWindowProc.
  LRESULT answerUnhandled(UINT message, WPARAM wParam, LPARAM lParam);
  void attach(HWND hwnd, WNDPROC super);
  void detach();

  HWND hwnd_ = nullptr;
  WNDPROC super_ = nullptr;
  const MSG* current_ = nullptr;
};

// Window classes derive from WindowImpl<Self> and provide `static const MessageMap<Self>&
// messageMap()`. A class that derives from another window class derives from
// WindowImpl<Self, Base> and chains Base::messageMap() in its own map; Base's constructors
// serve Self.
template <class T, class Base = WindowBase>
class WindowImpl : public Base {
 public:
  using Base::Base;

 protected:
  bool processWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    return T::messageMap().dispatch(static_cast<T&>(*this), message, wParam, lParam, result);
  }
  bool mightProcess(UINT message, WPARAM wParam, LPARAM lParam) const override {
    return T::messageMap().mightHandle(message, wParam, lParam);
  }
};

}  // namespace platform
