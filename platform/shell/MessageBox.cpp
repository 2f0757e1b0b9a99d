// Message boxes: on Pocket PC a box in the middle of the screen with its buttons (BUTTON
// windows), on the Smartphone a full-screen page whose answers sit on the soft keys. The owner
// is disabled while the box runs its own modal loop. Keys: Enter (and Space) answer with the
// button that has the focus, the default one at first; Back (on its release) with No or Cancel,
// Y and N with Yes and No; the soft keys with their answers.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/base/WinError.h"
#include "platform/controls/ControlLook.h"
#include "platform/controls/WinButton.h"
#include "platform/gdi/MemoryDc.h"
#include "platform/gdi/WinGdi.h"
#include "platform/shell/Shell.h"
#include "platform/shell/ShellWindow.h"
#include "platform/shell/WinMessageBox.h"

namespace platform::shell {
namespace {

struct Answer {
  int id;
  std::u16string text;
};

struct BoxState {
  HWND hwnd = nullptr;
  std::u16string text;
  UINT type = 0;
  std::vector<Answer> answers;
  std::vector<HWND> buttons;  // Pocket PC: one BUTTON per answer
  int focus = 0;              // the button Enter answers with, the default one at first
  int pressed = -1;           // the soft key held by the stylus (Smartphone)
  int result = 0;
};

BoxState*& current() {
  static BoxState* box = nullptr;
  return box;
}

std::vector<Answer> answersFor(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return {{IDOK, u"OK"}, {IDCANCEL, u"Cancel"}};
    case MB_ABORTRETRYIGNORE:
      return {{IDABORT, u"Abort"}, {IDRETRY, u"Retry"}, {IDIGNORE, u"Ignore"}};
    case MB_YESNOCANCEL:
      return {{IDYES, u"Yes"}, {IDNO, u"No"}, {IDCANCEL, u"Cancel"}};
    case MB_YESNO:
      return {{IDYES, u"Yes"}, {IDNO, u"No"}};
    case MB_RETRYCANCEL:
      return {{IDRETRY, u"Retry"}, {IDCANCEL, u"Cancel"}};
    default:
      return {{IDOK, u"OK"}};
  }
}

// Back answers Cancel when there is one, else No, else the only button.
int backAnswer(const BoxState& box) {
  for (const Answer& a : box.answers) {
    if (a.id == IDCANCEL) return IDCANCEL;
  }
  for (const Answer& a : box.answers) {
    if (a.id == IDNO) return IDNO;
  }
  return box.answers.size() == 1 ? box.answers.front().id : 0;
}

int captionHeight() { return controls::fontHeight(controls::systemFont()) + controls::scaled(8); }
int iconSize() { return controls::scaled(32); }
int buttonHeight() { return controls::fontHeight(controls::systemFont()) + controls::scaled(10); }
int buttonWidth() { return controls::scaled(56); }

RECT clientOf(HWND hwnd) {
  RECT rc{};
  GetClientRect(hwnd, &rc);
  return rc;
}

// The area that holds icon and text, in client coordinates.
RECT bodyRect(const RECT& client) {
  const int m = controls::scaled(8);
  if (pocketPc()) return RECT{m, captionHeight() + m, client.right - m, client.bottom - buttonHeight() - 2 * m};
  return RECT{m, m, client.right - m, client.bottom - menuBarHeight() - m};
}

RECT buttonRect(const BoxState& box, const RECT& client, int i) {
  const int n = static_cast<int>(box.answers.size());
  if (!pocketPc()) {
    // Soft keys: the first answer on the left, the second on the right.
    const int top = client.bottom - menuBarHeight();
    if (i == 0) return RECT{0, top, client.right / 2, client.bottom};
    if (i == 1) return RECT{client.right / 2, top, client.right, client.bottom};
    return RECT{};
  }
  const int gap = controls::scaled(8);
  const int total = n * buttonWidth() + (n - 1) * gap;
  const int left = (client.right - total) / 2 + i * (buttonWidth() + gap);
  const int top = client.bottom - buttonHeight() - controls::scaled(8);
  return RECT{left, top, left + buttonWidth(), top + buttonHeight()};
}

RECT textRect(const BoxState& box, const RECT& client) {
  RECT body = bodyRect(client);
  if (box.type & MB_ICONMASK) body.left += iconSize() + controls::scaled(8);
  return body;
}

void fillTriangle(HDC hdc, int cx, int top, int size, COLORREF color) {
  for (int y = 0; y < size; ++y) {
    const int half = y * size / (2 * size - 2 > 0 ? 2 * size - 2 : 1);
    controls::drawLine(hdc, cx - half, top + y, cx + half + 1, top + y, color);
  }
}

void drawIcon(HDC hdc, UINT icon, const RECT& cell) {
  if (icon == 0) return;
  const int s = cell.right - cell.left;
  HFONT bold = nullptr;
  LOGFONTW lf{};
  if (GetObjectW(controls::systemFont(), sizeof(lf), &lf) != 0) {
    lf.lfHeight = -s * 2 / 3;
    lf.lfWeight = FW_BOLD;
    bold = CreateFontIndirectW(&lf);
  }
  HGDIOBJ oldFont = SelectObject(hdc, bold != nullptr ? bold : controls::systemFont());
  std::u16string glyph;
  COLORREF fill = RGB(16, 72, 148);
  COLORREF ink = RGB(255, 255, 255);
  if (icon == MB_ICONEXCLAMATION) {
    fillTriangle(hdc, (cell.left + cell.right) / 2, cell.top + s / 16, s - s / 8, RGB(248, 200, 24));
    glyph = u"!";
    ink = RGB(0, 0, 0);
  } else {
    if (icon == MB_ICONHAND) fill = RGB(200, 32, 32);
    HBRUSH brush = CreateSolidBrush(fill);
    HPEN pen = CreatePen(PS_SOLID, 1, fill);
    HGDIOBJ oldBrush = SelectObject(hdc, brush);
    HGDIOBJ oldPen = SelectObject(hdc, pen);
    Ellipse(hdc, cell.left, cell.top, cell.right, cell.bottom);
    SelectObject(hdc, oldPen);
    SelectObject(hdc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
    glyph = icon == MB_ICONQUESTION ? u"?" : icon == MB_ICONHAND ? u"X" : u"i";
  }
  RECT r = cell;
  if (icon == MB_ICONEXCLAMATION) r.top += s / 6;
  drawText(hdc, glyph, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, ink);
  SelectObject(hdc, oldFont);
  if (bold != nullptr) DeleteObject(bold);
}

void paintBox(HWND hwnd, const BoxState& box) {
  PAINTSTRUCT ps{};
  HDC hdc = BeginPaint(hwnd, &ps);
  if (hdc == nullptr) return;
  const RECT rc = clientOf(hwnd);
  controls::fillSysColor(hdc, rc, COLOR_WINDOW);
  HGDIOBJ oldFont = SelectObject(hdc, controls::systemFont());
  const int m = controls::scaled(8);
  if (pocketPc()) {
    const RECT caption{0, 0, rc.right, captionHeight()};
    controls::fillSysColor(hdc, caption, COLOR_ACTIVECAPTION);
    drawText(hdc, windowText(hwnd), RECT{m, 0, rc.right - m, caption.bottom},
             DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS, GetSysColor(COLOR_CAPTIONTEXT));
    controls::frameRect(hdc, rc, GetSysColor(COLOR_WINDOWFRAME));
  }
  const RECT body = bodyRect(rc);
  drawIcon(hdc, box.type & MB_ICONMASK, RECT{body.left, body.top, body.left + iconSize(), body.top + iconSize()});
  drawText(hdc, box.text, textRect(box, rc), DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX,
           GetSysColor(COLOR_WINDOWTEXT));
  if (!pocketPc()) {
    const RECT keys{0, rc.bottom - menuBarHeight(), rc.right, rc.bottom};
    controls::fillSysColor(hdc, keys, COLOR_ACTIVECAPTION);
    if (box.answers.size() > 1) {
      const int inset = (keys.bottom - keys.top) / 4;
      controls::drawLine(hdc, rc.right / 2, keys.top + inset, rc.right / 2, keys.bottom - inset,
                         GetSysColor(COLOR_INACTIVECAPTIONTEXT));
    }
  }
  // The Pocket PC's buttons are windows of their own; the Smartphone's answers are soft keys.
  if (!pocketPc()) {
    for (int i = 0; i < static_cast<int>(box.answers.size()); ++i) {
      const RECT b = buttonRect(box, rc, i);
      if (IsRectEmpty(&b)) continue;
      if (i == box.pressed) controls::fillSysColor(hdc, b, COLOR_HIGHLIGHT);
      drawText(hdc, box.answers[static_cast<std::size_t>(i)].text, b,
               DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, GetSysColor(COLOR_CAPTIONTEXT));
    }
  }
  SelectObject(hdc, oldFont);
  EndPaint(hwnd, &ps);
}

int buttonAt(const BoxState& box, HWND hwnd, POINT screenPt) {
  POINT pt = screenPt;
  ScreenToClient(hwnd, &pt);
  const RECT rc = clientOf(hwnd);
  for (int i = 0; i < static_cast<int>(box.answers.size()); ++i) {
    const RECT b = buttonRect(box, rc, i);
    if (PtInRect(&b, pt)) return i;
  }
  return -1;
}

LRESULT CALLBACK boxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  BoxState* box = current();
  if (box != nullptr && box->hwnd == hwnd) {
    switch (message) {
      case WM_PAINT:
        paintBox(hwnd, *box);
        return 0;
      case WM_ERASEBKGND:
        return 1;
      case WM_COMMAND:
        // The title bar's Done button, or a program that answers for the user.
        for (const Answer& a : box->answers) {
          if (a.id == LOWORD(wParam)) box->result = a.id;
        }
        return 0;
      case WM_CLOSE:
        box->result = backAnswer(*box) != 0 ? backAnswer(*box) : box->answers.front().id;
        return 0;
      default:
        break;
    }
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

int answerForKey(BoxState& box, UINT vk) {
  const auto has = [&](int id) {
    return std::any_of(box.answers.begin(), box.answers.end(), [&](const Answer& a) { return a.id == id; });
  };
  // A tap that was not finished on a button still gave that button the focus.
  auto focused = std::find(box.buttons.begin(), box.buttons.end(), GetFocus());
  if (focused != box.buttons.end()) box.focus = static_cast<int>(focused - box.buttons.begin());
  switch (vk) {
    case VK_RETURN:
      return box.answers[static_cast<std::size_t>(box.focus)].id;
    case VK_SPACE:
      return pocketPc() ? box.answers[static_cast<std::size_t>(box.focus)].id : 0;
    case 'Y':
      return has(IDYES) ? IDYES : 0;
    case 'N':
      return has(IDNO) ? IDNO : 0;
    case VK_F1:
      return box.answers.front().id;
    case VK_F2:
      return box.answers.size() > 1 ? box.answers[1].id : 0;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_TAB:
      if (pocketPc() && box.answers.size() > 1) {
        const int n = static_cast<int>(box.answers.size());
        const bool back = vk == VK_LEFT || (vk == VK_TAB && GetKeyState(VK_SHIFT) < 0);
        box.focus = (box.focus + (back ? n - 1 : 1)) % n;
        if (box.focus < static_cast<int>(box.buttons.size()))
          SetFocus(box.buttons[static_cast<std::size_t>(box.focus)]);
      }
      return 0;
    default:
      return 0;
  }
}

RECT boxRect(const BoxState& box) {
  const int screenW = GetSystemMetrics(SM_CXSCREEN);
  const int screenH = GetSystemMetrics(SM_CYSCREEN);
  const int top = taskBarVisible() ? titleBarHeight() : 0;
  if (!pocketPc()) return RECT{0, top, screenW, screenH};
  const int m = controls::scaled(8);
  const int width = screenW - 2 * m;
  // Height from the wrapped text.
  RECT measure{0, 0, width - 2 * m - ((box.type & MB_ICONMASK) ? iconSize() + m : 0), 0};
  if (!box.text.empty()) {
    const gdi::MemoryDc dc(nullptr);
    const gdi::SelectedObject font(dc.dc(), controls::systemFont());
    DrawTextW(dc.dc(), box.text.c_str(), static_cast<int>(box.text.size()), &measure,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_LEFT);
  }
  const int content = std::max(static_cast<int>(measure.bottom), (box.type & MB_ICONMASK) ? iconSize() : 0);
  const int height = std::min(captionHeight() + m + content + m + buttonHeight() + 2 * m, screenH - top);
  const int y = top + std::max((screenH - top - menuBarHeight() - height) / 2, 0);
  return RECT{m, y, m + width, y + height};
}

}  // namespace
}  // namespace platform::shell

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  using namespace platform::shell;
  if (owner != nullptr && !IsWindow(owner)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  startShell();
  registerShellClass(kMessageBoxClass, &boxProc);
  // The owner is the top-level window of whatever window was given.
  HWND top = owner;
  while (top != nullptr && (GetWindowLongW(top, GWL_STYLE) & WS_CHILD)) top = GetParent(top);

  BoxState box;
  box.text = text != nullptr ? std::u16string(text) : std::u16string();
  box.type = type;
  box.answers = answersFor(type);
  const int defaultIndex = static_cast<int>((type & MB_DEFMASK) >> 8);
  box.focus = defaultIndex < static_cast<int>(box.answers.size()) ? defaultIndex : 0;
  BoxState* outer = current();
  current() = &box;

  const RECT rect = boxRect(box);
  box.hwnd =
      CreateWindowExW(WS_EX_TOPMOST, kMessageBoxClass, caption != nullptr ? caption : u"Error", WS_POPUP, rect.left,
                      rect.top, rect.right - rect.left, rect.bottom - rect.top, top, nullptr, nullptr, nullptr);
  if (box.hwnd == nullptr) {
    current() = outer;
    return 0;
  }
  if (pocketPc()) {
    const RECT client = clientOf(box.hwnd);
    for (int i = 0; i < static_cast<int>(box.answers.size()); ++i) {
      const RECT b = buttonRect(box, client, i);
      const Answer& answer = box.answers[static_cast<std::size_t>(i)];
      const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == box.focus ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
      box.buttons.push_back(
          CreateWindowExW(0, WC_BUTTONW, answer.text.c_str(), style, b.left, b.top, b.right - b.left, b.bottom - b.top,
                          box.hwnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(answer.id)), nullptr, nullptr));
    }
  }
  const HWND focusBefore = GetFocus();
  const bool ownerWasEnabled = top != nullptr && IsWindowEnabled(top);
  if (ownerWasEnabled) EnableWindow(top, FALSE);
  SetWindowPos(box.hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SetActiveWindow(box.hwnd);
  if (box.focus < static_cast<int>(box.buttons.size())) SetFocus(box.buttons[static_cast<std::size_t>(box.focus)]);
  refreshTitleBar();

  MSG msg{};
  bool quit = false;
  while (box.result == 0) {
    if (!GetMessageW(&msg, nullptr, 0, 0)) {
      quit = true;
      break;
    }
    switch (msg.message) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        // Back answers on its release; its press only waits.
        if (msg.wParam != VK_ESCAPE) box.result = answerForKey(box, static_cast<UINT>(msg.wParam));
        break;
      case WM_KEYUP:
        if (msg.wParam == VK_ESCAPE) box.result = backAnswer(box);
        break;
      case WM_CHAR:
      case WM_SYSCHAR:
      case WM_SYSKEYUP:
        break;
      case WM_HOTKEY: {
        const UINT vk = HIWORD(static_cast<DWORD_PTR>(msg.lParam));
        const bool up = (LOWORD(static_cast<DWORD_PTR>(msg.lParam)) & MOD_KEYUP) != 0;
        if (vk == VK_ESCAPE) {
          if (up) box.result = backAnswer(box);
        } else if (!up) {
          box.result = answerForKey(box, vk);
        }
        break;
      }
      case WM_LBUTTONDOWN:
      case WM_LBUTTONUP:
      case WM_MOUSEMOVE:
      case WM_LBUTTONDBLCLK: {
        // Only the box takes the stylus; elsewhere (the owner is disabled anyway) it is ignored.
        if (msg.hwnd != box.hwnd && !IsChild(box.hwnd, msg.hwnd)) {
          if (msg.hwnd == titleBarWindow()) DispatchMessageW(&msg);
          break;
        }
        if (pocketPc()) {
          // The buttons press, and answer through WM_COMMAND when lifted over them.
          DispatchMessageW(&msg);
          break;
        }
        const int at = buttonAt(box, box.hwnd, msg.pt);
        if (msg.message == WM_LBUTTONDOWN || msg.message == WM_LBUTTONDBLCLK) {
          box.pressed = at;
          if (at >= 0) SetCapture(box.hwnd);
          InvalidateRect(box.hwnd, nullptr, FALSE);
        } else if (msg.message == WM_LBUTTONUP) {
          const int pressed = box.pressed;
          box.pressed = -1;
          if (GetCapture() == box.hwnd) ReleaseCapture();
          InvalidateRect(box.hwnd, nullptr, FALSE);
          if (pressed >= 0 && pressed == at) box.result = box.answers[static_cast<std::size_t>(at)].id;
        }
        break;
      }
      default:
        DispatchMessageW(&msg);
        break;
    }
    if (!IsWindow(box.hwnd)) break;
  }
  // The owner comes back before the box goes, so that it is the one activated.
  if (ownerWasEnabled && IsWindow(top)) EnableWindow(top, TRUE);
  if (IsWindow(box.hwnd)) DestroyWindow(box.hwnd);
  if (focusBefore != nullptr && IsWindow(focusBefore) && IsWindowVisible(focusBefore)) SetFocus(focusBefore);
  current() = outer;
  refreshTitleBar();
  if (quit) {
    PostQuitMessage(static_cast<int>(msg.wParam));
    return 0;
  }
  return box.result;
}
