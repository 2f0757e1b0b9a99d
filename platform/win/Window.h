// The record of one window and of its class, as the window manager keeps them, with the sizes of
// the frame the platform draws around a window.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/win/WinUser.h"

namespace platform {

struct WindowClass {
  std::u16string name;
  ATOM atom = 0;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int clsExtra = 0;
  int wndExtra = 0;
  HINSTANCE instance = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  int windowCount = 0;
};

struct ScrollBarState {
  int min = 0;
  int max = 100;  // the range a window scroll bar starts with
  int page = 0;
  int pos = 0;
  int trackPos = 0;
  bool enabled = true;
};

struct DialogState {
  DLGPROC proc = nullptr;
  LRESULT msgResult = 0;
  LONG_PTR user = 0;
  bool modal = false;
  bool ended = false;
  INT_PTR result = 0;
  HWND savedFocus = nullptr;
  HWND disabledOwner = nullptr;  // the owner a modal dialog disabled, enabled again at its end
  int scrolled = 0;              // how far the Smartphone dialog manager moved the controls up
};

struct Window {
  HWND handle = nullptr;
  std::shared_ptr<WindowClass> cls;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  UINT_PTR id = 0;
  HWND parent = nullptr;       // child windows only
  HWND owner = nullptr;        // top-level windows only
  std::vector<HWND> children;  // z-order, topmost first; kept by the window tree
  RECT rect{};                 // window rectangle in the parent's client coordinates (screen for top-level)
  std::u16string text;
  HINSTANCE instance = nullptr;
  LONG_PTR userData = 0;
  std::vector<BYTE> extra;
  ScrollBarState vscroll;
  ScrollBarState hscroll;
  std::unique_ptr<DialogState> dialog;
  bool destroying = false;
};

// Sends a message to a window procedure: the common path of SendMessage and DispatchMessage.
LRESULT callWindow(Window& w, UINT message, WPARAM wParam, LPARAM lParam);

// Frame sizes of a window's non-client area.
int frameBorder(const Window& w);
int frameCaption(const Window& w);
bool hasVScroll(const Window& w);
bool hasHScroll(const Window& w);
// The client area relative to the window rectangle.
RECT clientRectLocal(const Window& w);

HBRUSH classBackgroundBrush(const Window& w);
int copyWindowText(const std::u16string& text, LPWSTR buffer, int maxCount);

}  // namespace platform
