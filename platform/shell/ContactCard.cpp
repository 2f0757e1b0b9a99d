#include "platform/shell/ContactCard.h"

#include <algorithm>
#include <unordered_map>

#include "platform/controls/ControlLook.h"
#include "platform/controls/WinStatic.h"
#include "platform/gdi/MemoryDc.h"
#include "platform/shell/MenuBar.h"
#include "platform/shell/PictureDecoder.h"
#include "platform/shell/Shell.h"
#include "platform/shell/ShellWindow.h"

namespace platform::shell {
namespace {

std::unordered_map<HWND, ContactCard*>& cards() {
  static std::unordered_map<HWND, ContactCard*> table;
  return table;
}

int margin() { return controls::scaled(4); }
int pictureSide() { return controls::scaled(48); }
int lineHeight() { return controls::fontHeight(controls::systemFont()); }

int measureHeight(const std::u16string& text, HFONT font, int width) {
  if (text.empty() || width <= 0) return lineHeight();
  const gdi::MemoryDc dc(nullptr);
  const gdi::SelectedObject selected(dc.dc(), font != nullptr ? font : controls::systemFont());
  RECT r{0, 0, width, 0};
  DrawTextW(dc.dc(), text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  return std::max(static_cast<int>(r.bottom), lineHeight());
}

int measureWidth(const std::u16string& text) {
  const gdi::MemoryDc dc(nullptr);
  const gdi::SelectedObject selected(dc.dc(), controls::systemFont());
  SIZE size{};
  GetTextExtentPoint32W(dc.dc(), text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

void place(HWND hwnd, int x, int y, int w, int h) {
  SetWindowPos(hwnd, nullptr, x, y, std::max(w, 1), std::max(h, 1), SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND topLevelOf(HWND hwnd) {
  while (hwnd != nullptr && (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) hwnd = GetParent(hwnd);
  return hwnd;
}

}  // namespace

HRESULT ContactCard::show(const pim::Contact& contact) {
  ContactCard card(contact.record());
  if (!card.open()) return E_FAIL;
  card.run();
  return S_OK;
}

void ContactCard::registerDisplayHandler() {
  pim::Contact::setDisplayHandler([](const pim::Contact& contact) { return show(contact); });
}

ContactCard::ContactCard(const pim::ContactRecord& contact) : content_(contact), pictureBytes_(contact.picture) {}

ContactCard::~ContactCard() {
  if (IsWindow(menuBar_)) DestroyWindow(menuBar_);
  if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
  if (pictureBitmap_ != nullptr) DeleteObject(pictureBitmap_);
  if (boldFont_ != nullptr) DeleteObject(boldFont_);
}

LRESULT CALLBACK ContactCard::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    if (auto* card = static_cast<ContactCard*>(cs->lpCreateParams)) {
      card->hwnd_ = hwnd;
      cards()[hwnd] = card;
    }
  }
  auto it = cards().find(hwnd);
  if (it == cards().end()) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    cards().erase(it);
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return it->second->handle(message, wParam, lParam);
}

HWND ContactCard::addStatic(const std::u16string& text, HFONT font) {
  HWND hwnd = CreateWindowExW(0, WC_STATICW, text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 1, 1,
                              hwnd_, nullptr, nullptr, nullptr);
  if (hwnd != nullptr && font != nullptr) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return hwnd;
}

bool ContactCard::open() {
  startShell();
  registerShellClass(kClass, &ContactCard::windowProc);
  const HWND owner = topLevelOf(GetActiveWindow());
  CreateWindowExW(0, kClass, u"Contacts", WS_POPUP, 0, 0, 0, 0, owner, nullptr, nullptr, this);
  if (hwnd_ == nullptr) return false;

  LOGFONTW lf{};
  if (GetObjectW(controls::systemFont(), sizeof(lf), &lf) != 0) {
    lf.lfWeight = FW_BOLD;
    boldFont_ = CreateFontIndirectW(&lf);
  }
  if (!pictureBytes_.empty()) {
    PictureSource source;
    source.bytes = pictureBytes_;
    if (const std::optional<PicturePixels> pixels =
            PictureDecoder::decodeNow(std::move(source), SIZE{pictureSide(), pictureSide()})) {
      pictureBitmap_ = PictureDecoder::toBitmap(*pixels);
    }
    if (pictureBitmap_ != nullptr) {
      picture_ = CreateWindowExW(0, WC_STATICW, u"", WS_CHILD | WS_VISIBLE | SS_BITMAP | SS_CENTERIMAGE, 0, 0, 1, 1,
                                 hwnd_, nullptr, nullptr, nullptr);
      SendMessageW(picture_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(pictureBitmap_));
    }
  }
  header_.push_back(Line{nullptr, addStatic(content_.name(), boldFont_)});
  if (!content_.jobTitle().empty()) header_.push_back(Line{nullptr, addStatic(content_.jobTitle(), nullptr)});
  if (!content_.company().empty()) header_.push_back(Line{nullptr, addStatic(content_.company(), nullptr)});
  for (const CardField& field : content_.fields()) {
    lines_.push_back(Line{addStatic(field.label, nullptr), addStatic(field.value, nullptr)});
  }

  SoftKeyButton done;
  done.command = IDOK;
  done.text = u"Done";
  menuBar_ = MenuBar::create(hwnd_, {done});
  if (MenuBar* bar = MenuBar::fromWindow(menuBar_)) bar->setSipButton(false);
  if (pocketPc()) setDoneButton(hwnd_, true);

  layout();
  modal_.show(owner, hwnd_, hwnd_);
  return true;
}

void ContactCard::layout() {
  const int top = taskBarVisible() ? titleBarHeight() : 0;
  const int bottom = GetSystemMetrics(SM_CYSCREEN) - menuBarHeight();
  SetWindowPos(hwnd_, nullptr, 0, top, GetSystemMetrics(SM_CXSCREEN), std::max(bottom - top, 1),
               SWP_NOZORDER | SWP_NOACTIVATE);
  // Twice at most: showing or hiding the scroll bar changes the width the texts wrap in.
  for (int pass = 0; pass < 2; ++pass) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int width = static_cast<int>(client.right);
    const int m = margin();
    int y = m - scroll_;
    int textLeft = m;
    if (picture_ != nullptr) {
      place(picture_, m, y, pictureSide(), pictureSide());
      textLeft += pictureSide() + m;
    }
    for (const Line& line : header_) {
      const int h = measureHeight(windowText(line.value), line.value == header_.front().value ? boldFont_ : nullptr,
                                  width - textLeft - m);
      place(line.value, textLeft, y, width - textLeft - m, h);
      y += h;
    }
    if (picture_ != nullptr) y = std::max(y, m - scroll_ + pictureSide());
    y += 2 * m;  // the rule under the header lies in this gap
    int labelWidth = 0;
    for (const Line& line : lines_) labelWidth = std::max(labelWidth, measureWidth(windowText(line.label)) + m);
    labelWidth = std::min(labelWidth, width * 2 / 5);
    const int valueLeft = m + labelWidth;
    for (const Line& line : lines_) {
      const int labelHeight = measureHeight(windowText(line.label), nullptr, labelWidth - m);
      const int valueHeight = measureHeight(windowText(line.value), nullptr, width - valueLeft - m);
      place(line.label, m, y, labelWidth - m, labelHeight);
      place(line.value, valueLeft, y, width - valueLeft - m, valueHeight);
      y += std::max(labelHeight, valueHeight) + controls::scaled(3);
    }
    contentHeight_ = y + scroll_ + m;
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = contentHeight_ - 1;
    si.nPage = static_cast<UINT>(std::max(static_cast<int>(client.bottom), 1));
    si.nPos = scroll_;
    SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
    RECT after{};
    GetClientRect(hwnd_, &after);
    if (after.right == client.right) break;
  }
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void ContactCard::scrollTo(int position) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  position = std::clamp(position, 0, std::max(contentHeight_ - static_cast<int>(client.bottom), 0));
  if (position == scroll_) return;
  scroll_ = position;
  layout();
}

LRESULT ContactCard::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      HDC hdc = BeginPaint(hwnd_, &ps);
      if (hdc != nullptr) {
        RECT rc{};
        GetClientRect(hwnd_, &rc);
        controls::fillSysColor(hdc, rc, COLOR_WINDOW);
        // A rule between the header and the fields.
        if (!header_.empty()) {
          RECT last{};
          GetWindowRect(header_.back().value, &last);
          POINT pt{0, last.bottom};
          ScreenToClient(hwnd_, &pt);
          int y = pt.y;
          if (picture_ != nullptr) y = std::max(y, margin() - scroll_ + pictureSide());
          y += margin();
          controls::drawLine(hdc, margin(), y, rc.right - margin(), y, GetSysColor(COLOR_BTNSHADOW));
        }
        EndPaint(hwnd_, &ps);
      }
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      auto hdc = reinterpret_cast<HDC>(wParam);
      const auto control = reinterpret_cast<HWND>(lParam);
      const bool label =
          std::any_of(lines_.begin(), lines_.end(), [&](const Line& line) { return line.label == control; });
      SetTextColor(hdc, GetSysColor(label ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
      SetBkColor(hdc, GetSysColor(COLOR_WINDOW));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) finished_ = true;
      return 0;
    case WM_CLOSE:
      finished_ = true;
      return 0;
    case WM_VSCROLL: {
      SCROLLINFO si{};
      si.cbSize = sizeof(si);
      si.fMask = SIF_ALL;
      GetScrollInfo(hwnd_, SB_VERT, &si);
      const int page = static_cast<int>(si.nPage);
      switch (LOWORD(wParam)) {
        case SB_LINEUP:
          scrollTo(scroll_ - lineHeight());
          break;
        case SB_LINEDOWN:
          scrollTo(scroll_ + lineHeight());
          break;
        case SB_PAGEUP:
          scrollTo(scroll_ - page);
          break;
        case SB_PAGEDOWN:
          scrollTo(scroll_ + page);
          break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
          scrollTo(si.nTrackPos);
          break;
        default:
          break;
      }
      return 0;
    }
    case WM_SETTINGCHANGE:
      layout();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

bool ContactCard::filterInput(const MSG& msg) {
  switch (msg.message) {
    case WM_KEYDOWN: {
      RECT client{};
      GetClientRect(hwnd_, &client);
      switch (msg.wParam) {
        case VK_ESCAPE:
          return true;  // Back closes on its release
        case VK_UP:
          scrollTo(scroll_ - lineHeight());
          return true;
        case VK_DOWN:
          scrollTo(scroll_ + lineHeight());
          return true;
        case VK_PRIOR:
          scrollTo(scroll_ - static_cast<int>(client.bottom));
          return true;
        case VK_NEXT:
          scrollTo(scroll_ + static_cast<int>(client.bottom));
          return true;
        case VK_HOME:
          scrollTo(0);
          return true;
        case VK_END:
          scrollTo(contentHeight_);
          return true;
        default:
          return false;
      }
    }
    case WM_KEYUP:
      if (msg.wParam == VK_ESCAPE) {
        finished_ = true;
        return true;
      }
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
      return !(msg.hwnd == hwnd_ || IsChild(hwnd_, msg.hwnd) || msg.hwnd == menuBar_ || msg.hwnd == titleBarWindow() ||
               GetCapture() == msg.hwnd);
    default:
      return false;
  }
}

void ContactCard::run() {
  const std::optional<int> quit = modal_.run(
      hwnd_, [this] { return !finished_; }, [this](const MSG& msg) { return filterInput(msg); });
  modal_.close(hwnd_, menuBar_);
  if (quit) PostQuitMessage(*quit);
}

}  // namespace platform::shell
