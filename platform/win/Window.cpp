#include "platform/win/Window.h"

#include <algorithm>

#include "platform/gdi/WinGdi.h"

namespace platform {

LRESULT callWindow(Window& w, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC proc = w.proc;
  if (!proc) return 0;
  return proc(w.handle, message, wParam, lParam);
}

int frameBorder(const Window& w) {
  if ((w.style & WS_DLGFRAME) || (w.exStyle & WS_EX_DLGMODALFRAME)) return GetSystemMetrics(SM_CXDLGFRAME);
  if (w.style & WS_BORDER) return GetSystemMetrics(SM_CXBORDER);
  return 0;
}

int frameCaption(const Window& w) { return (w.style & WS_CAPTION) == WS_CAPTION ? GetSystemMetrics(SM_CYCAPTION) : 0; }

bool hasVScroll(const Window& w) { return (w.style & WS_VSCROLL) != 0; }
bool hasHScroll(const Window& w) { return (w.style & WS_HSCROLL) != 0; }

RECT clientRectLocal(const Window& w) {
  const int width = w.rect.right - w.rect.left;
  const int height = w.rect.bottom - w.rect.top;
  const int b = frameBorder(w);
  RECT r{b, b + frameCaption(w), width - b, height - b};
  if (hasVScroll(w)) r.right -= GetSystemMetrics(SM_CXVSCROLL);
  if (hasHScroll(w)) r.bottom -= GetSystemMetrics(SM_CYHSCROLL);
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

HBRUSH classBackgroundBrush(const Window& w) {
  if (!w.cls) return nullptr;
  HBRUSH brush = w.cls->background;
  const auto v = reinterpret_cast<UINT_PTR>(brush);
  // Classes may name a system colour as COLOR_x + 1.
  if (v > 0 && v <= 64) return GetSysColorBrush(static_cast<int>(v - 1));
  return brush;
}

int copyWindowText(const std::u16string& text, LPWSTR buffer, int maxCount) {
  if (!buffer || maxCount <= 0) return 0;
  const int n = std::min<int>(static_cast<int>(text.size()), maxCount - 1);
  std::copy_n(text.data(), n, buffer);
  buffer[n] = 0;
  return n;
}

}  // namespace platform
