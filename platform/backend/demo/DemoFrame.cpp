#include "platform/backend/demo/DemoFrame.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/backend/demo/DemoForm.h"
#include "platform/controls/CommonControls.h"
#include "platform/controls/WinEdit.h"
#include "platform/gdi/MemoryDc.h"
#include "platform/gdi/WinGdi.h"
#include "platform/shell/Shell.h"

namespace platform::demo {

namespace {
constexpr const char16_t* kLabelClass = u"DemoLabel";
constexpr const char16_t* kListClass = u"DemoList";
constexpr const char16_t* kButtonClass = u"DemoButton";

int unit() {
  const int shortSide = std::min(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  return shortSide >= 480 ? 2 : 1;
}

void drawText(HDC dc, const std::u16string& text, RECT r, UINT format, COLORREF colour) {
  SetTextColor(dc, colour);
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format | DT_NOPREFIX);
}

// A label paints its window text.
LRESULT CALLBACK labelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
    WCHAR text[64];
    GetWindowTextW(hwnd, text, 64);
    drawText(dc, text, r, DT_SINGLELINE | DT_VCENTER | DT_CENTER, RGB(0, 0, 128));
    EndPaint(hwnd, &ps);
    return 0;
  }
  if (message == WM_SETTEXT) {
    const LRESULT r = DefWindowProcW(hwnd, message, wParam, lParam);
    InvalidateRect(hwnd, nullptr, TRUE);
    return r;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// The list paints eight two-line rows into a memory bitmap and copies it in one block, as the
// program's own lists do.
LRESULT CALLBACK listProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) return 1;
  if (message == WM_LBUTTONDOWN) {
    SetFocus(GetParent(hwnd));
    return 0;
  }
  if (message != WM_PAINT) return DefWindowProcW(hwnd, message, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client;
  GetClientRect(hwnd, &client);
  const gdi::MemoryDc buffer(dc, client.right, client.bottom);
  const HDC mem = buffer.dc();
  FillRect(mem, &client, GetSysColorBrush(COLOR_WINDOW));
  const int rowHeight = client.bottom / 8;
  for (int i = 0; i < 8; ++i) {
    RECT row{0, i * rowHeight, client.right, (i + 1) * rowHeight};
    if (i % 2) {
      HBRUSH shade = CreateSolidBrush(RGB(232, 240, 255));
      FillRect(mem, &row, shade);
      DeleteObject(shade);
    }
    RECT line1{row.left + 4, row.top + 1, row.right - 4, row.top + rowHeight / 2};
    RECT line2{row.left + 4, row.top + rowHeight / 2, row.right - 4, row.bottom - 1};
    drawText(mem, u"Friend " + std::u16string(1, static_cast<char16_t>(u'A' + i)), line1, DT_SINGLELINE | DT_VCENTER,
             RGB(0, 0, 0));
    drawText(mem, u"Row " + std::u16string(1, static_cast<char16_t>(u'1' + i)) + u" of eight", line2,
             DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS, RGB(96, 96, 96));
  }
  buffer.copyTo(dc, 0, 0);
  EndPaint(hwnd, &ps);
  return 0;
}

// The button sends WM_COMMAND to its parent when tapped or when Enter is pressed on it.
LRESULT CALLBACK buttonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT r;
      GetClientRect(hwnd, &r);
      FillRect(dc, &r, GetSysColorBrush(GetFocus() == hwnd ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
      FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
      WCHAR text[64];
      GetWindowTextW(hwnd, text, 64);
      drawText(dc, text, r, DT_SINGLELINE | DT_VCENTER | DT_CENTER,
               GetSysColor(GetFocus() == hwnd ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_LBUTTONUP:
    case WM_KEYUP:
      if (message == WM_KEYUP && wParam != VK_RETURN) break;
      SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(hwnd)), 0),
                   reinterpret_cast<LPARAM>(hwnd));
      return 0;
    case WM_GETDLGCODE:
      return DLGC_BUTTON;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

INT_PTR CALLBACK dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT r;
      GetClientRect(hwnd, &r);
      drawText(dc, u"Hello from a modal dialog.\r\nEnter: OK, Back: Cancel", r, DT_CENTER | DT_VCENTER | DT_WORDBREAK,
               RGB(0, 0, 0));
      EndPaint(hwnd, &ps);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(hwnd, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

// An in-memory template: header, no menu, default class, the caption, no controls.
std::vector<WORD> dialogTemplate() {
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  DLGTEMPLATE header{WS_POPUP | WS_CAPTION | WS_BORDER | DS_CENTER | WS_VISIBLE, 0, 0, 0, 0, 140, 60};
  std::memcpy(words.data(), &header, sizeof header);
  words.push_back(0);  // menu
  words.push_back(0);  // class
  for (char16_t c : std::u16string(u"Demo dialog")) words.push_back(c);
  words.push_back(0);
  return words;
}
}  // namespace

void registerDemoClasses() {
  controls::registerControlClasses();
  const std::pair<const char16_t*, WNDPROC> classes[] = {
      {kLabelClass, labelProc}, {kListClass, listProc}, {kButtonClass, buttonProc}};
  for (const auto& [name, proc] : classes) {
    WNDCLASSW existing;
    if (GetClassInfoW(nullptr, name, &existing)) continue;
    WNDCLASSW wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(COLOR_WINDOW + 1));
    wc.lpszClassName = name;
    RegisterClassW(&wc);
  }
}

const MessageMap<DemoFrame>& DemoFrame::messageMap() {
  using M = DemoFrame;
  static const auto map = MessageMap<M>()
                              .on<WM_CREATE>(&M::onCreate)
                              .on<WM_PAINT>(&M::onPaint)
                              .on<WM_ERASEBKGND>(&M::onEraseBackground)
                              .on<WM_TIMER>(&M::onTimer)
                              .on<WM_KEYDOWN>(&M::onKeyDown)
                              .on<WM_SIZE>(&M::onSize)
                              .on<WM_SETTINGCHANGE>(&M::onSettingChange)
                              .on<WM_DESTROY>(&M::onDestroy)
                              .command(kButtonId, &M::onButton)
                              .command(kFormButtonId, &M::onButton);
  return map;
}

WindowClassInfo DemoFrame::windowClass() const {
  WindowClassInfo info;
  info.name = u"PellucardDemo";
  info.style = CS_HREDRAW | CS_VREDRAW;
  info.background = GetSysColorBrush(COLOR_WINDOW);
  return info;
}

HWND DemoFrame::createFrame(int showCommand) {
  registerDemoClasses();
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const HWND h = create(nullptr, screen, u"Pellucard demo", WS_CLIPCHILDREN);
  if (h) {
    ShowWindow(h, showCommand);
    UpdateWindow(h);
  }
  return h;
}

bool DemoFrame::onCreate(const CREATESTRUCTW&) {
  const HWND self = hwnd();
  label_ = CreateWindowExW(0, kLabelClass, u"Ticks: 0", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, self,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kLabelId)), nullptr, nullptr);
  list_ = CreateWindowExW(0, kListClass, u"", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 0, 0, self,
                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kListId)), nullptr, nullptr);
  edit_ = CreateWindowExW(0, u"EDIT", u"", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, 0, 0,
                          self, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kEditId)), nullptr, nullptr);
  button_ = CreateWindowExW(0, kButtonClass, u"Open dialog", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 0, 0, self,
                            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kButtonId)), nullptr, nullptr);
  formButton_ = CreateWindowExW(0, kButtonClass, u"Every control (1)", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 0, 0,
                                self, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kFormButtonId)), nullptr, nullptr);
  SetTimer(self, kTimerId, 1000, nullptr);
  return true;
}

// Once a form has started the shell, its title bar covers the top of the screen.
int DemoFrame::top() const {
  return shell::titleBarWindow() != nullptr && shell::taskBarVisible() ? shell::titleBarHeight() : 0;
}

void DemoFrame::layout() {
  RECT r;
  GetClientRect(hwnd(), &r);
  r.top = top();
  const int u = unit();
  const int header = 24 * u;
  const int buttonHeight = 24 * u;
  const int editHeight = 20 * u;
  MoveWindow(label_, r.right / 2, r.top, r.right - r.right / 2, header, TRUE);
  MoveWindow(list_, 4 * u, r.top + header, r.right - 8 * u,
             r.bottom - r.top - header - editHeight - 2 * buttonHeight - 16 * u, TRUE);
  MoveWindow(edit_, 4 * u, r.bottom - 2 * buttonHeight - editHeight - 12 * u, r.right - 8 * u, editHeight, TRUE);
  MoveWindow(formButton_, 4 * u, r.bottom - 2 * buttonHeight - 8 * u, r.right - 8 * u, buttonHeight, TRUE);
  MoveWindow(button_, 4 * u, r.bottom - buttonHeight - 4 * u, r.right - 8 * u, buttonHeight, TRUE);
}

void DemoFrame::onSize(UINT, SIZE) { layout(); }

void DemoFrame::onSettingChange(UINT, LPCWSTR) {
  MoveWindow(hwnd(), 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), TRUE);
}

bool DemoFrame::onEraseBackground(HDC dc) {
  RECT r;
  GetClientRect(hwnd(), &r);
  FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
  return true;
}

void DemoFrame::onPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  RECT r;
  GetClientRect(hwnd(), &r);
  RECT title{4 * unit(), top(), r.right / 2, top() + 24 * unit()};
  drawText(dc, u"Pellucard", title, DT_SINGLELINE | DT_VCENTER | DT_LEFT, RGB(0, 0, 0));
  EndPaint(hwnd(), &ps);
}

void DemoFrame::onTimer(UINT_PTR id) {
  if (id != kTimerId) {
    passOn();
    return;
  }
  ++ticks_;
  const std::string text = "Ticks: " + std::to_string(ticks_);
  SetWindowTextW(label_, std::u16string(text.begin(), text.end()).c_str());
}

void DemoFrame::onKeyDown(UINT vk, UINT) {
  if (vk == VK_TSOFT1 || vk == VK_RETURN) {
    openDialog();
  } else if (vk == '1') {
    openForm();
  } else if (vk == VK_TSOFT2) {
    DestroyWindow(hwnd());
  } else {
    passOn();
  }
}

void DemoFrame::onButton(WORD id, WORD, HWND) {
  if (id == kFormButtonId) {
    openForm();
  } else {
    openDialog();
  }
}

void DemoFrame::openForm() {
  const INT_PTR result = DemoForm::run(hwnd());
  layout();
  InvalidateRect(hwnd(), nullptr, TRUE);
  SetWindowTextW(label_, result == IDOK ? u"Form: Done" : u"Form: Cancel");
}

void DemoFrame::openDialog() {
  const std::vector<WORD> tpl = dialogTemplate();
  const INT_PTR result =
      DialogBoxIndirectParamW(nullptr, reinterpret_cast<const DLGTEMPLATE*>(tpl.data()), hwnd(), dialogProc, 0);
  SetWindowTextW(label_, result == IDOK ? u"Dialog: OK" : u"Dialog: Cancel");
}

void DemoFrame::onDestroy() {
  KillTimer(hwnd(), kTimerId);
  PostQuitMessage(0);
}

}  // namespace platform::demo
