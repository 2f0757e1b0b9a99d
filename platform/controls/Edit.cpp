#include "platform/controls/Edit.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_map>

#include "platform/base/DeviceConfig.h"
#include "platform/base/TextCase.h"
#include "platform/controls/ControlLook.h"
#include "platform/controls/ControlTable.h"
#include "platform/controls/EditDrawing.h"
#include "platform/gdi/MemoryDc.h"
#include "platform/sys/WinBase.h"
#include "platform/win/WinClipboard.h"

namespace platform::controls {
namespace {

constexpr UINT_PTR kCaretTimer = 0xE0E1;
constexpr UINT_PTR kMultiTapTimer = 0xE0E2;
constexpr UINT kCaretBlinkMs = 500;

bool isHigh(WCHAR c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLow(WCHAR c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool isBreak(char16_t c) { return c == u'\r' || c == u'\n'; }
bool keyDown(int vk) { return GetKeyState(vk) < 0; }

// Cuts a text to n units without splitting a surrogate pair or a "\r\n".
std::u16string_view cutTo(std::u16string_view text, std::size_t n) {
  if (n >= text.size()) return text;
  if (n > 0 && ((isHigh(text[n - 1]) && isLow(text[n])) || (text[n - 1] == u'\r' && text[n] == u'\n'))) --n;
  return text.substr(0, n);
}

}  // namespace

Edit::Edit(HWND hwnd) : hwnd_(hwnd) {}

void Edit::registerClass() {
  WNDCLASSW wc{};
  if (GetClassInfoW(nullptr, WC_EDITW, &wc)) return;
  wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
  wc.lpfnWndProc = &Edit::windowProc;
  wc.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
  wc.lpszClassName = WC_EDITW;
  RegisterClassW(&wc);
}

LRESULT CALLBACK Edit::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ControlTable<Edit>::dispatch(hwnd, message, wParam, lParam);
}

DWORD Edit::style() const { return static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)); }

bool Edit::smartphone() const { return DeviceConfig::current().edition == Edition::Smartphone; }

LRESULT Edit::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  // A letter still being chosen on the keypad is kept before anything else looks at the text.
  switch (message) {
    case WM_KEYDOWN:
    case WM_TIMER:
    case WM_CHAR:
    case WM_GETDLGCODE:
      break;
    case WM_SETTEXT:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_KILLFOCUS:
    case WM_CUT:
    case WM_COPY:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_SETSEL:
    case EM_REPLACESEL:
    case EM_UNDO:
      commitMultiTap();
      break;
    default:
      break;
  }
  switch (message) {
    case WM_NCCREATE:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_CREATE:
      create(reinterpret_cast<const CREATESTRUCTW*>(lParam));
      return 0;
    case WM_DESTROY:
      KillTimer(hwnd_, kCaretTimer);
      KillTimer(hwnd_, kMultiTapTimer);
      if (GetCapture() == hwnd_) ReleaseCapture();
      KeypadIndicator::report(hwnd_, KeypadMode::None);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      paint();
      return 0;
    case WM_STYLECHANGED:
      keypad_.setNumbersOnly((style() & ES_NUMBER) != 0);
      relayout();
      invalidateAll();
      return 0;
    case WM_SIZE:
      relayout();
      invalidateAll();
      return 0;
    case WM_ENABLE:
      invalidateAll();
      return 0;
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      widths_.setFont(font_);
      relayout();
      if (LOWORD(static_cast<DWORD_PTR>(lParam)) != 0) invalidateAll();
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_SETTEXT: {
      auto* text = reinterpret_cast<LPCWSTR>(lParam);
      setText(text != nullptr ? std::u16string(text) : std::u16string());
      // A single-line edit tells its parent; a multi-line one does not, as on the desktop.
      if (!multiLine()) {
        notifyParent(EN_UPDATE);
        if (!dead_) notifyParent(EN_CHANGE);
      }
      return TRUE;
    }
    case WM_GETTEXT: {
      auto* buffer = reinterpret_cast<LPWSTR>(lParam);
      const int size = static_cast<int>(wParam);
      if (buffer == nullptr || size <= 0) return 0;
      const int n = std::min(text_.length(), size - 1);
      if (n > 0) std::memcpy(buffer, text_.text().data(), static_cast<std::size_t>(n) * sizeof(WCHAR));
      buffer[n] = 0;
      return n;
    }
    case WM_GETTEXTLENGTH:
      return text_.length();
    case WM_GETDLGCODE:
      return dialogCode(reinterpret_cast<const MSG*>(lParam));
    case WM_SETFOCUS:
      onSetFocus();
      return 0;
    case WM_KILLFOCUS:
      onKillFocus();
      return 0;
    case WM_KEYDOWN:
      onKeyDown(static_cast<UINT>(wParam), lParam);
      return 0;
    case WM_CHAR:
      onChar(static_cast<WCHAR>(wParam));
      return 0;
    case WM_KEYUP:
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      onButtonDown(lParam, message == WM_LBUTTONDBLCLK);
      return 0;
    case WM_MOUSEMOVE:
      if (dragging_ && GetCapture() == hwnd_) {
        const int at = positionAt(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        selectRange(text_.anchor(), at);
      }
      return 0;
    case WM_LBUTTONUP:
      if (dragging_) {
        dragging_ = false;
        if (GetCapture() == hwnd_) ReleaseCapture();
      }
      return 0;
    case WM_CAPTURECHANGED:
      dragging_ = false;
      return 0;
    case WM_TIMER:
      if (wParam == kCaretTimer) {
        caretOn_ = !caretOn_ && focused_;
        invalidateCaret();
        return 0;
      }
      if (wParam == kMultiTapTimer) {
        commitMultiTap();
        return 0;
      }
      return DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_VSCROLL:
      onScroll(SB_VERT, wParam);
      return 0;
    case WM_HSCROLL:
      onScroll(SB_HORZ, wParam);
      return 0;

    case WM_CUT:
      cut();
      return 0;
    case WM_COPY:
      copy();
      return 0;
    case WM_PASTE:
      paste();
      return 0;
    case WM_CLEAR:
      clear();
      return 0;
    case WM_UNDO:
    case EM_UNDO:
      return undo() ? TRUE : FALSE;

    case EM_GETSEL: {
      const auto start = static_cast<DWORD>(text_.selectionStart());
      const auto end = static_cast<DWORD>(text_.selectionEnd());
      if (wParam != 0) *reinterpret_cast<DWORD*>(wParam) = start;
      if (lParam != 0) *reinterpret_cast<DWORD*>(lParam) = end;
      return (start > 0xFFFF || end > 0xFFFF) ? -1 : static_cast<LRESULT>(MAKELONG(start, end));
    }
    case EM_SETSEL: {
      const int start = static_cast<int>(wParam);
      const int end = static_cast<int>(lParam);
      if (start == -1) {
        selectRange(text_.caret(), text_.caret());
      } else {
        selectRange(start < 0 ? text_.length() : start, end < 0 ? text_.length() : end);
      }
      scrollCaretIntoView();
      return 0;
    }
    case EM_REPLACESEL: {
      auto* text = reinterpret_cast<LPCWSTR>(lParam);
      insert(text != nullptr ? std::u16string_view(text) : std::u16string_view(), false, false);
      if (wParam == 0 && !dead_) text_.forgetUndo();
      return 0;
    }
    case EM_LIMITTEXT:
      limit_ = wParam != 0 ? static_cast<std::size_t>(wParam) : (multiLine() ? 0xFFFFFFFFu : 0x7FFFFFFEu);
      return 0;
    case EM_GETLIMITTEXT:
      return static_cast<LRESULT>(limit_);
    case EM_SETREADONLY: {
      const DWORD s = style();
      SetWindowLongW(hwnd_, GWL_STYLE, static_cast<LONG>(wParam != 0 ? (s | ES_READONLY) : (s & ~ES_READONLY)));
      invalidateAll();
      reportKeypadMode();
      return TRUE;
    }
    case EM_GETLINECOUNT:
      return multiLine() ? layout_.lineCount() : 1;
    case EM_LINEINDEX:
      return lineIndex(static_cast<int>(wParam));
    case EM_LINELENGTH:
      return lineLength(static_cast<int>(wParam));
    case EM_LINEFROMCHAR: {
      if (!multiLine()) return 0;
      const int index = static_cast<int>(wParam);
      return layout_.lineOf(index < 0 ? text_.selectionStart() : std::min(index, text_.length()));
    }
    case EM_GETLINE:
      return getLine(static_cast<int>(wParam), reinterpret_cast<LPWSTR>(lParam));
    case EM_LINESCROLL:
      if (!multiLine()) return FALSE;
      setTopLine(topLine_ + static_cast<int>(lParam));
      if (!wraps()) setScrollX(scrollX_ + static_cast<int>(wParam) * widths_.averageWidth());
      return TRUE;
    case EM_SCROLL: {
      if (!multiLine()) return FALSE;
      const int before = topLine_;
      onScroll(SB_VERT, wParam);
      return MAKELRESULT(static_cast<WORD>(topLine_ - before), TRUE);
    }
    case EM_SCROLLCARET:
      scrollCaretIntoView();
      return TRUE;
    case EM_GETFIRSTVISIBLELINE:
      if (multiLine()) return topLine_;
      return layout_.positionAt(shown(), 0, scrollX_);
    case EM_SETPASSWORDCHAR: {
      if (multiLine()) return 0;
      passwordChar_ = static_cast<WCHAR>(wParam);
      const DWORD s = style();
      SetWindowLongW(hwnd_, GWL_STYLE, static_cast<LONG>(passwordChar_ != 0 ? (s | ES_PASSWORD) : (s & ~ES_PASSWORD)));
      stars_.assign(static_cast<std::size_t>(text_.length()), passwordChar_);
      relayout();
      mirrorWindowText();
      invalidateAll();
      return 0;
    }
    case EM_GETPASSWORDCHAR:
      return passwordChar_;
    case EM_GETMODIFY:
      return modified_ ? TRUE : FALSE;
    case EM_SETMODIFY:
      modified_ = wParam != 0;
      return 0;
    case EM_CANUNDO:
      return text_.canUndo() ? TRUE : FALSE;
    case EM_EMPTYUNDOBUFFER:
      text_.forgetUndo();
      return 0;
    case EM_GETRECT:
      if (lParam != 0) *reinterpret_cast<RECT*>(lParam) = formatRect();
      return 0;
    case EM_SETMARGINS: {
      const int left = LOWORD(static_cast<DWORD_PTR>(lParam));
      const int right = HIWORD(static_cast<DWORD_PTR>(lParam));
      if (wParam & EC_LEFTMARGIN) leftMargin_ = left == EC_USEFONTINFO ? scaled(2) : left;
      if (wParam & EC_RIGHTMARGIN) rightMargin_ = right == EC_USEFONTINFO ? scaled(2) : right;
      relayout();
      invalidateAll();
      return 0;
    }
    case EM_GETMARGINS:
      return MAKELRESULT(static_cast<WORD>(leftMargin_), static_cast<WORD>(rightMargin_));
    case EM_POSFROMCHAR:
      return positionFromChar(static_cast<int>(wParam));
    case EM_CHARFROMPOS: {
      const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      const int at = positionAt(pt);
      return MAKELRESULT(static_cast<WORD>(at), static_cast<WORD>(multiLine() ? layout_.lineOf(at) : 0));
    }
    case EM_GETINPUTMODE:
      return keypad_.inputMode(lParam != 0, text_.text(), text_.selectionStart());
    case EM_SETINPUTMODE:
      commitMultiTap();
      keypad_.setInputMode(lParam);
      reportKeypadMode();
      return TRUE;
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

void Edit::create(const CREATESTRUCTW* cs) {
  const DWORD s = style();
  // Scroll bars imply scrolling that way, as on the desktop.
  autoHScroll_ = (s & ES_AUTOHSCROLL) || ((s & ES_MULTILINE) && (s & WS_HSCROLL));
  autoVScroll_ = (s & ES_MULTILINE) && ((s & ES_AUTOVSCROLL) || (s & WS_VSCROLL));
  hasVScrollBar_ = (s & ES_MULTILINE) && (s & WS_VSCROLL);
  if ((s & ES_PASSWORD) && !(s & ES_MULTILINE)) passwordChar_ = u'*';
  keypad_.setNumbersOnly((s & ES_NUMBER) != 0);
  leftMargin_ = rightMargin_ = scaled(2);
  widths_.setFont(nullptr);
  relayout();
  std::u16string initial;
  if (cs != nullptr && cs->lpszName != nullptr && !IS_INTRESOURCE(cs->lpszName)) initial = cs->lpszName;
  setText(std::move(initial));
}

std::u16string_view Edit::shown() const {
  return passwordChar_ != 0 ? std::u16string_view(stars_) : std::u16string_view(text_.text());
}

void Edit::setText(std::u16string text) {
  const TextChange change = text_.assign(std::move(text));
  modified_ = false;
  scrollX_ = 0;
  topLine_ = 0;
  changed(change, false);
}

void Edit::mirrorWindowText() {
  const std::u16string& shownText = passwordChar_ != 0 ? stars_ : text_.text();
  DefWindowProcW(hwnd_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(shownText.c_str()));
}

void Edit::notifyParent(WORD code) {
  HWND parent = GetParent(hwnd_);
  if (parent == nullptr) return;
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(hwnd_)), code),
               reinterpret_cast<LPARAM>(hwnd_));
}

void Edit::relayout() {
  const RECT f = formatRect();
  layout_.setAdvance([this](char32_t cp) { return widths_.advance(cp); }, 8 * widths_.averageWidth());
  layout_.setWrap(wraps() ? std::max<int>(f.right - f.left, 1) : 0, !multiLine());
  layout_.rebuild(shown());
  topLine_ = std::clamp(topLine_, 0, maxTopLine());
  scrollX_ = std::clamp(scrollX_, 0, maxScrollX());
  updateScrollBars();
}

void Edit::changed(const TextChange& change, bool notify) {
  const int linesBefore = layout_.lineCount();
  if (passwordChar_ != 0) {
    stars_.replace(static_cast<std::size_t>(change.at), static_cast<std::size_t>(change.removed),
                   static_cast<std::size_t>(change.inserted), passwordChar_);
  }
  const EditLayout::Damage damage = layout_.update(shown(), change);
  mirrorWindowText();
  desiredX_ = -1;
  const int top = topLine_;
  const int x = scrollX_;
  topLine_ = std::clamp(topLine_, 0, maxTopLine());
  scrollX_ = std::clamp(scrollX_, 0, maxScrollX());
  scrollCaretIntoView();
  if (topLine_ != top || scrollX_ != x || !multiLine() || (style() & (ES_CENTER | ES_RIGHT))) {
    invalidateAll();
  } else if (layout_.lineCount() != linesBefore) {
    invalidateFrom(damage.first);
  } else {
    invalidateLines(damage.first, damage.last);
    invalidateCaret();
  }
  restartCaretBlink();
  updateScrollBars();
  reportKeypadMode();
  if (!notify || !change.any()) return;
  modified_ = true;
  notifyParent(EN_UPDATE);
  if (!dead_) notifyParent(EN_CHANGE);
}

bool Edit::fitsWithout(std::u16string_view inserted) const {
  const RECT f = formatRect();
  if (!multiLine()) {
    if (autoHScroll_) return true;
    const std::u16string_view s = shown();
    const int start = text_.selectionStart();
    const int end = text_.selectionEnd();
    const int kept = layout_.measure(s.substr(0, static_cast<std::size_t>(start))) +
                     layout_.measure(s.substr(static_cast<std::size_t>(end)));
    const std::u16string starsOrText =
        passwordChar_ != 0 ? std::u16string(inserted.size(), passwordChar_) : std::u16string(inserted);
    return kept + layout_.measure(starsOrText) <= f.right - f.left;
  }
  if (autoVScroll_) return true;
  // Without vertical scrolling a multi-line edit holds only the lines it can show.
  std::u16string candidate = text_.text();
  candidate.replace(static_cast<std::size_t>(text_.selectionStart()),
                    static_cast<std::size_t>(text_.selectionEnd() - text_.selectionStart()), inserted);
  EditLayout trial = layout_;
  trial.rebuild(candidate);
  return trial.lineCount() <= visibleLines();
}

bool Edit::insert(std::u16string_view given, bool typing, bool asUser) {
  if (asUser && readOnly()) return false;
  std::u16string text(given);
  if (!multiLine()) {
    // A single-line edit keeps what comes before the first line break.
    auto stop = std::find_if(text.begin(), text.end(), isBreak);
    text.erase(stop, text.end());
  }
  const DWORD s = style();
  if (s & ES_UPPERCASE) text = upperCase(text);
  if (s & ES_LOWERCASE) {
    for (char16_t& c : text) c = lowerCase(c);
  }
  const std::size_t kept = static_cast<std::size_t>(text_.length() - (text_.selectionEnd() - text_.selectionStart()));
  const std::size_t room = limit_ > kept ? limit_ - kept : 0;
  std::u16string_view fitting = cutTo(text, room);
  bool maxed = fitting.size() < text.size();
  if (!fitsWithout(fitting)) {
    // Trim to what still shows; the binary search keeps it cheap for long pastes.
    std::size_t low = 0;
    std::size_t high = fitting.size();
    while (low < high) {
      const std::size_t mid = (low + high + 1) / 2;
      if (fitsWithout(cutTo(fitting, mid))) {
        low = mid;
      } else {
        high = mid - 1;
      }
    }
    fitting = cutTo(fitting, low);
    maxed = true;
  }
  if (maxed) {
    notifyParent(EN_MAXTEXT);
    if (dead_) return false;
  }
  if (fitting.empty() && !text_.hasSelection()) return false;
  const TextChange change = text_.replaceSelection(fitting, true, typing);
  changed(change, true);
  return change.inserted > 0 || change.removed > 0;
}

bool Edit::removeSelection() {
  if (!text_.hasSelection()) return false;
  const TextChange change = text_.replaceSelection(u"", true, false);
  changed(change, true);
  return true;
}

// ---------------------------------------------------------------------------------------------
// Caret and selection

void Edit::selectRange(int anchor, int caret) {
  const int oldStart = text_.selectionStart();
  const int oldEnd = text_.selectionEnd();
  const int oldCaret = text_.caret();
  text_.select(anchor, caret);
  if (oldStart != text_.selectionStart() || oldEnd != text_.selectionEnd() || oldCaret != text_.caret()) {
    const int from = std::min(oldStart, text_.selectionStart());
    const int to = std::max({oldEnd, text_.selectionEnd(), oldCaret, text_.caret()});
    invalidateLines(layout_.lineOf(std::min(from, oldCaret)), layout_.lineOf(to));
  }
  scrollCaretIntoView();
  restartCaretBlink();
  reportKeypadMode();
}

void Edit::moveCaret(int to, bool extend) {
  selectRange(extend ? text_.anchor() : to, to);
  desiredX_ = -1;
}

int Edit::lineStartOf(int i) const { return layout_.line(layout_.lineOf(i)).start; }

int Edit::lineEndOf(int i) const {
  const int line = layout_.lineOf(i);
  return layout_.positionAt(shown(), line, 0x3FFFFFFF);
}

void Edit::moveVertically(int lines, bool extend) {
  const int line = layout_.lineOf(text_.caret());
  const int x = desiredX_ >= 0 ? desiredX_ : layout_.xOnLine(shown(), line, text_.caret());
  const int target = std::clamp(line + lines, 0, layout_.lineCount() - 1);
  int to = layout_.positionAt(shown(), target, x);
  if (target == line) to = lines < 0 ? 0 : text_.length();
  selectRange(extend ? text_.anchor() : to, to);
  desiredX_ = x;
}

// ---------------------------------------------------------------------------------------------
// Geometry and scrolling

RECT Edit::clientRect() const {
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  return rc;
}

RECT Edit::formatRect() const {
  RECT rc = clientRect();
  rc.left += leftMargin_;
  rc.right -= rightMargin_;
  if (multiLine()) rc.top += scaled(1);
  if (rc.right < rc.left) rc.right = rc.left;
  return rc;
}

int Edit::visibleLines() const {
  if (!multiLine()) return 1;
  const RECT f = formatRect();
  return std::max<int>((f.bottom - f.top) / std::max(widths_.lineHeight(), 1), 1);
}

int Edit::lineTop(int line) const {
  const RECT f = formatRect();
  // A single line sits in the middle of the field, however tall the field is.
  if (!multiLine()) return std::max<int>((clientRect().bottom - widths_.lineHeight()) / 2, 0);
  return f.top + (line - topLine_) * widths_.lineHeight();
}

int Edit::maxTopLine() const { return std::max(layout_.lineCount() - visibleLines(), 0); }

int Edit::maxScrollX() const {
  if (wraps()) return 0;
  const RECT f = formatRect();
  return std::max<int>(layout_.widest() + scaled(1) - (f.right - f.left), 0);
}

POINT Edit::caretPoint() const {
  const int line = layout_.lineOf(text_.caret());
  EditPicture p;
  p.text = shown();
  p.layout = &layout_;
  p.format = formatRect();
  p.scrollX = scrollX_;
  p.align = style() & (ES_CENTER | ES_RIGHT);
  return POINT{editLineLeft(p, line) + layout_.xOnLine(shown(), line, text_.caret()), lineTop(line)};
}

int Edit::positionAt(POINT pt) const {
  int line = 0;
  if (multiLine()) {
    const RECT f = formatRect();
    const int lh = std::max(widths_.lineHeight(), 1);
    const int offset = pt.y >= f.top ? (pt.y - f.top) / lh : -((f.top - pt.y + lh - 1) / lh);
    line = std::clamp(topLine_ + offset, 0, layout_.lineCount() - 1);
  }
  EditPicture p;
  p.layout = &layout_;
  p.format = formatRect();
  p.scrollX = scrollX_;
  p.align = style() & (ES_CENTER | ES_RIGHT);
  return layout_.positionAt(shown(), line, pt.x - editLineLeft(p, line));
}

void Edit::scrollCaretIntoView() {
  const RECT f = formatRect();
  if (multiLine()) {
    const int line = layout_.lineOf(text_.caret());
    if (line < topLine_) setTopLine(line);
    if (line >= topLine_ + visibleLines()) setTopLine(line - visibleLines() + 1);
  }
  if (wraps()) return;
  const POINT caret = caretPoint();
  const int width = f.right - f.left;
  // Jump a quarter of the field, so that typing on does not scroll at every character.
  const int step = std::max(width / 4, 1);
  if (caret.x < f.left) setScrollX(scrollX_ - (f.left - caret.x) - step);
  if (caret.x + scaled(1) > f.right) setScrollX(scrollX_ + (caret.x + scaled(1) - f.right) + step);
}

void Edit::setTopLine(int line) {
  line = std::clamp(line, 0, maxTopLine());
  if (line == topLine_) return;
  topLine_ = line;
  invalidateAll();
  updateScrollBars();
}

void Edit::setScrollX(int x) {
  x = std::clamp(x, 0, maxScrollX());
  if (x == scrollX_) return;
  scrollX_ = x;
  invalidateAll();
}

void Edit::updateScrollBars() {
  if (!hasVScrollBar_) return;
  const int max = std::max(layout_.lineCount() - 1, 0);
  const int page = visibleLines();
  if (max == lastScrollMax_ && page == lastScrollPage_ && topLine_ == lastScrollPos_) return;
  lastScrollMax_ = max;
  lastScrollPage_ = page;
  lastScrollPos_ = topLine_;
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  // Always shown, so that the text does not wrap again each time the bar would come or go.
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  si.nMin = 0;
  si.nMax = max;
  si.nPage = static_cast<UINT>(page);
  si.nPos = topLine_;
  SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
}

void Edit::onScroll(int bar, WPARAM wParam) {
  const int code = LOWORD(static_cast<DWORD_PTR>(wParam));
  if (bar == SB_VERT) {
    if (!multiLine()) return;
    notifyParent(EN_VSCROLL);
    if (dead_) return;
    const int page = visibleLines();
    switch (code) {
      case SB_LINEUP:
        setTopLine(topLine_ - 1);
        break;
      case SB_LINEDOWN:
        setTopLine(topLine_ + 1);
        break;
      case SB_PAGEUP:
        setTopLine(topLine_ - page);
        break;
      case SB_PAGEDOWN:
        setTopLine(topLine_ + page);
        break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION:
        setTopLine(HIWORD(static_cast<DWORD_PTR>(wParam)));
        break;
      case SB_TOP:
        setTopLine(0);
        break;
      case SB_BOTTOM:
        setTopLine(maxTopLine());
        break;
      default:
        break;
    }
    return;
  }
  if (wraps()) return;
  notifyParent(EN_HSCROLL);
  if (dead_) return;
  const RECT f = formatRect();
  const int step = widths_.averageWidth();
  switch (code) {
    case SB_LINELEFT:
      setScrollX(scrollX_ - step);
      break;
    case SB_LINERIGHT:
      setScrollX(scrollX_ + step);
      break;
    case SB_PAGELEFT:
      setScrollX(scrollX_ - (f.right - f.left));
      break;
    case SB_PAGERIGHT:
      setScrollX(scrollX_ + (f.right - f.left));
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      setScrollX(HIWORD(static_cast<DWORD_PTR>(wParam)));
      break;
    default:
      break;
  }
}

// ---------------------------------------------------------------------------------------------
// Painting
//
// Everything is repainted in whole lines across the whole width: the dump records each text
// where it was drawn, and a line drawn in part would be recorded as a clipped copy of itself.

void Edit::invalidateLines(int first, int last) {
  if (!multiLine()) {
    invalidateAll();
    return;
  }
  const RECT client = clientRect();
  const int lh = widths_.lineHeight();
  RECT band{client.left, std::max<int>(lineTop(first), client.top), client.right,
            std::min<int>(lineTop(last) + lh, client.bottom)};
  if (first <= topLine_) band.top = client.top;
  if (band.bottom > band.top) InvalidateRect(hwnd_, &band, FALSE);
}

void Edit::invalidateFrom(int first) {
  const RECT client = clientRect();
  RECT band{client.left, multiLine() && first > topLine_ ? std::max<int>(lineTop(first), client.top) : client.top,
            client.right, client.bottom};
  if (band.bottom > band.top) InvalidateRect(hwnd_, &band, FALSE);
}

void Edit::invalidateAll() { InvalidateRect(hwnd_, nullptr, FALSE); }

void Edit::invalidateCaret() {
  const int line = layout_.lineOf(text_.caret());
  invalidateLines(line, line);
}

RECT Edit::bandOf(const RECT& area) const {
  const RECT client = clientRect();
  if (!multiLine()) return client;
  const RECT f = formatRect();
  const int lh = std::max(widths_.lineHeight(), 1);
  RECT band{client.left, client.top, client.right, client.bottom};
  if (area.top > f.top) band.top = f.top + (area.top - f.top) / lh * lh;
  const int rows = (area.bottom - f.top + lh - 1) / lh;
  const int bottom = f.top + rows * lh;
  if (bottom < client.bottom && area.bottom > f.top) band.bottom = bottom;
  return band;
}

EditPicture Edit::picture(HDC colourDc) {
  EditPicture p;
  p.text = shown();
  p.layout = &layout_;
  p.format = formatRect();
  p.firstLine = multiLine() ? topLine_ : 0;
  p.lineHeight = widths_.lineHeight();
  p.top = lineTop(p.firstLine);
  p.scrollX = scrollX_;
  p.align = style() & (ES_CENTER | ES_RIGHT);
  if (focused_ || (style() & ES_NOHIDESEL)) {
    p.selectionStart = text_.selectionStart();
    p.selectionEnd = text_.selectionEnd();
  }
  if (focused_ && caretOn_) p.caret = text_.caret();
  p.caretWidth = std::max(scaled(1), 1);
  p.font = widths_.font();
  // The parent chooses the colours: WM_CTLCOLORSTATIC for a read-only or disabled edit, as on
  // the desktop, WM_CTLCOLOREDIT otherwise.
  const bool enabled = IsWindowEnabled(hwnd_) != FALSE;
  const UINT ask = (readOnly() || !enabled) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
  SetTextColor(colourDc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(colourDc, GetSysColor(COLOR_WINDOW));
  HWND parent = GetParent(hwnd_);
  HBRUSH brush = nullptr;
  if (parent != nullptr) {
    brush = reinterpret_cast<HBRUSH>(
        SendMessageW(parent, ask, reinterpret_cast<WPARAM>(colourDc), reinterpret_cast<LPARAM>(hwnd_)));
  }
  p.background = brush != nullptr ? brush : GetSysColorBrush(COLOR_WINDOW);
  p.textColor = enabled ? GetTextColor(colourDc) : GetSysColor(COLOR_GRAYTEXT);
  p.selectedTextColor = GetSysColor(COLOR_HIGHLIGHTTEXT);
  p.selectedBackColor = GetSysColor(COLOR_HIGHLIGHT);
  return p;
}

void Edit::paint() {
  // Grow the area to whole lines before painting starts, so that the clipping matches.
  RECT update{};
  if (GetUpdateRect(hwnd_, &update, FALSE)) {
    const RECT band = bandOf(update);
    InvalidateRect(hwnd_, &band, FALSE);
  }
  PAINTSTRUCT ps{};
  HDC hdc = BeginPaint(hwnd_, &ps);
  if (hdc == nullptr) return;
  const RECT band = bandOf(ps.rcPaint);
  if (band.right > band.left && band.bottom > band.top) {
    gdi::MemoryDc buffer(hdc, band.right - band.left, band.bottom - band.top);
    if (buffer) {
      const EditPicture p = picture(buffer.dc());
      if (!dead_) {
        drawEdit(buffer.dc(), POINT{band.left, band.top}, band, p);
        buffer.copyTo(hdc, band.left, band.top);
      }
    }
  }
  EndPaint(hwnd_, &ps);
}

// ---------------------------------------------------------------------------------------------
// Input

LRESULT Edit::dialogCode(const MSG* msg) {
  LRESULT code = DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS;
  if (multiLine()) code |= DLGC_WANTALLKEYS;
  if (msg == nullptr) return code;
  dialogMode_ = true;
  if (msg->message != WM_KEYDOWN) return code;
  if (msg->wParam == VK_RETURN && (style() & ES_WANTRETURN)) code |= DLGC_WANTMESSAGE;
  // On the Smartphone Up and Down move between the fields of a form; a single line has no use
  // for them.
  if (smartphone() && !multiLine() && (msg->wParam == VK_UP || msg->wParam == VK_DOWN)) code &= ~DLGC_WANTARROWS;
  return code;
}

void Edit::onKeyDown(UINT vk, LPARAM lParam) {
  swallowChar_ = 0;
  const bool held = (lParam & (1L << 30)) != 0;
  const bool ctrl = keyDown(VK_CONTROL);
  const bool shift = keyDown(VK_SHIFT);
  if (smartphone() && vk >= '0' && vk <= '9' && !ctrl && !keyDown(VK_MENU)) {
    if (keypadDigit(static_cast<int>(vk - '0'), held)) {
      swallowChar_ = static_cast<WCHAR>(vk);
      return;
    }
  }
  commitMultiTap();
  const bool multi = multiLine();
  switch (vk) {
    case VK_LEFT:
      if (text_.hasSelection() && !shift) {
        moveCaret(text_.selectionStart(), false);
      } else {
        moveCaret(ctrl ? text_.previousWordStart(text_.caret()) : text_.previous(text_.caret()), shift);
      }
      break;
    case VK_RIGHT:
      if (text_.hasSelection() && !shift) {
        moveCaret(text_.selectionEnd(), false);
      } else {
        moveCaret(ctrl ? text_.nextWordStart(text_.caret()) : text_.next(text_.caret()), shift);
      }
      break;
    case VK_UP:
      if (multi) {
        moveVertically(-1, shift);
      } else {
        moveCaret(text_.previous(text_.caret()), shift);
      }
      break;
    case VK_DOWN:
      if (multi) {
        moveVertically(1, shift);
      } else {
        moveCaret(text_.next(text_.caret()), shift);
      }
      break;
    case VK_PRIOR:
    case VK_NEXT:
      if (multi) {
        const int page = visibleLines();
        setTopLine(topLine_ + (vk == VK_PRIOR ? -page : page));
        moveVertically(vk == VK_PRIOR ? -page : page, shift);
      }
      break;
    case VK_HOME:
      moveCaret(ctrl || !multi ? 0 : lineStartOf(text_.caret()), shift);
      break;
    case VK_END:
      moveCaret(ctrl || !multi ? text_.length() : lineEndOf(text_.caret()), shift);
      break;
    case VK_DELETE:
      if (readOnly()) break;
      if (shift) {
        cut();
      } else if (text_.hasSelection()) {
        clear();
      } else if (text_.caret() < text_.length()) {
        selectRange(text_.caret(), text_.next(text_.caret()));
        removeSelection();
      }
      break;
    case VK_INSERT:
      if (ctrl) copy();
      if (shift) paste();
      break;
    case VK_RETURN:
      // In a dialog, a multi-line edit without ES_WANTRETURN hands the action to the default
      // button, as the dialog would for a single line.
      if (multi && dialogMode_ && !(style() & ES_WANTRETURN)) {
        HWND dialog = GetParent(hwnd_);
        const LRESULT def = dialog != nullptr ? SendMessageW(dialog, DM_GETDEFID, 0, 0) : 0;
        const WORD id = HIWORD(static_cast<DWORD>(def)) == DC_HASDEFID ? LOWORD(static_cast<DWORD>(def)) : IDOK;
        if (dialog != nullptr) {
          PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, 0), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
        }
      }
      break;
    case VK_TAB:
      if (multi && dialogMode_) {
        HWND dialog = GetParent(hwnd_);
        if (HWND next = dialog != nullptr ? GetNextDlgTabItem(dialog, hwnd_, shift) : nullptr) {
          if (next != hwnd_) SetFocus(next);
        }
      }
      break;
    case VK_ESCAPE:
      if (multi && dialogMode_) {
        if (HWND dialog = GetParent(hwnd_)) PostMessageW(dialog, WM_CLOSE, 0, 0);
      }
      break;
    case VK_TPOUND:
      if (smartphone() && !readOnly()) {
        keypad_.cycleMode();
        reportKeypadMode();
      }
      break;
    case VK_TSTAR:
      if (smartphone() && !readOnly()) {
        keypad_.toggleCapital();
        reportKeypadMode();
      }
      break;
    default:
      break;
  }
}

void Edit::onChar(WCHAR ch) {
  if (swallowChar_ != 0) {
    const WCHAR swallowed = swallowChar_;
    swallowChar_ = 0;
    if (ch == swallowed) return;
  }
  commitMultiTap();
  switch (ch) {
    case 0x01:  // Ctrl+A
      selectRange(0, text_.length());
      return;
    case 0x03:  // Ctrl+C
      copy();
      return;
    case 0x16:  // Ctrl+V
      paste();
      return;
    case 0x18:  // Ctrl+X
      cut();
      return;
    case 0x1A:  // Ctrl+Z
      undo();
      return;
    case 0x08:  // Backspace: one character, or the selection; nothing at the start
      if (readOnly()) return;
      if (!text_.hasSelection()) {
        if (text_.caret() == 0) return;
        selectRange(text_.previous(text_.caret()), text_.caret());
      }
      removeSelection();
      return;
    case u'\r':
      if (multiLine() && (!dialogMode_ || (style() & ES_WANTRETURN))) insert(u"\r\n", true, true);
      return;
    case u'\t':
      if (multiLine() && !dialogMode_) insert(u"\t", true, true);
      return;
    default:
      break;
  }
  if (ch < 0x20 || ch == 0x7F) return;
  // ES_NUMBER takes digits only and lets anything else pass without a sound.
  if ((style() & ES_NUMBER) && !(ch >= u'0' && ch <= u'9')) return;
  if (isHigh(ch)) {
    pendingHigh_ = ch;
    return;
  }
  if (isLow(ch)) {
    if (pendingHigh_ == 0) return;
    const char16_t pair[2] = {pendingHigh_, ch};
    pendingHigh_ = 0;
    insert(std::u16string_view(pair, 2), true, true);
    return;
  }
  pendingHigh_ = 0;
  // Host keys type what they say; the keypad modes are for the keypad.
  insert(std::u16string_view(&ch, 1), true, true);
}

void Edit::onButtonDown(LPARAM lParam, bool doubleClick) {
  if (GetFocus() != hwnd_) {
    SetFocus(hwnd_);
    if (dead_) return;
  }
  const int at = positionAt(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
  if (doubleClick) {
    const auto [first, last] = text_.wordAround(at);
    selectRange(first, last);
  } else {
    moveCaret(at, keyDown(VK_SHIFT));
  }
  dragging_ = true;
  SetCapture(hwnd_);
}

void Edit::onSetFocus() {
  focused_ = true;
  caretOn_ = true;
  SetTimer(hwnd_, kCaretTimer, kCaretBlinkMs, nullptr);
  const int line = layout_.lineOf(text_.caret());
  if (text_.hasSelection()) {
    invalidateLines(layout_.lineOf(text_.selectionStart()), layout_.lineOf(text_.selectionEnd()));
  } else {
    invalidateLines(line, line);
  }
  reportKeypadMode();
  notifyParent(EN_SETFOCUS);
}

void Edit::onKillFocus() {
  focused_ = false;
  caretOn_ = false;
  dragging_ = false;
  KillTimer(hwnd_, kCaretTimer);
  if (text_.hasSelection()) {
    invalidateLines(layout_.lineOf(text_.selectionStart()), layout_.lineOf(text_.selectionEnd()));
  } else {
    invalidateCaret();
  }
  KeypadIndicator::report(hwnd_, KeypadMode::None);
  notifyParent(EN_KILLFOCUS);
}

void Edit::restartCaretBlink() {
  if (!focused_) return;
  if (!caretOn_) {
    caretOn_ = true;
    invalidateCaret();
  }
  SetTimer(hwnd_, kCaretTimer, kCaretBlinkMs, nullptr);
}

// ---------------------------------------------------------------------------------------------
// Clipboard and undo

bool Edit::copy() {
  // A password never leaves its field.
  if (passwordChar_ != 0 || !text_.hasSelection()) return false;
  if (!OpenClipboard(hwnd_)) return false;
  EmptyClipboard();
  const std::u16string_view selected = text_.selectedText();
  HLOCAL block = LocalAlloc(LMEM_MOVEABLE, static_cast<UINT>((selected.size() + 1) * sizeof(WCHAR)));
  bool done = false;
  if (block != nullptr) {
    auto* units = static_cast<WCHAR*>(LocalLock(block));
    std::memcpy(units, selected.data(), selected.size() * sizeof(WCHAR));
    units[selected.size()] = 0;
    LocalUnlock(block);
    done = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    if (!done) LocalFree(block);
  }
  CloseClipboard();
  return done;
}

bool Edit::cut() {
  if (readOnly() || passwordChar_ != 0) return false;
  return copy() && removeSelection();
}

bool Edit::paste() {
  if (readOnly() || !IsClipboardFormatAvailable(CF_UNICODETEXT)) return false;
  if (!OpenClipboard(hwnd_)) return false;
  std::u16string text;
  if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) {
    const auto* units = static_cast<const WCHAR*>(LocalLock(block));
    const std::size_t n = LocalSize(block) / sizeof(WCHAR);
    if (units != nullptr) {
      std::size_t length = 0;
      while (length < n && units[length] != 0) ++length;
      text.assign(units, length);
    }
    LocalUnlock(block);
  }
  CloseClipboard();
  if (style() & ES_NUMBER) {
    // What the keys could not type, a paste does not bring in either.
    if (!std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; })) return false;
  }
  return insert(text, false, true);
}

bool Edit::clear() {
  if (readOnly()) return false;
  return removeSelection();
}

bool Edit::undo() {
  if (readOnly() || !text_.canUndo()) return false;
  const TextChange change = text_.undo();
  changed(change, true);
  return true;
}

// ---------------------------------------------------------------------------------------------
// Keypad entry: KeypadEntry decides, the edit types. The letter being chosen shows selected.

bool Edit::keypadDigit(int digit, bool held) {
  if (!keypad_.spelling() || readOnly()) return false;
  if (held) {
    // Holding a key types its digit in place of the letter shown.
    if (keypad_.choosing()) {
      const char16_t d = static_cast<char16_t>(u'0' + digit);
      keypad_.keep();
      KillTimer(hwnd_, kMultiTapTimer);
      insert(std::u16string_view(&d, 1), false, true);
    }
    return true;
  }
  // Another key keeps the letter shown and starts a new one.
  if (keypad_.choosing() && !keypad_.choosingKey(digit)) commitMultiTap();
  const int at = text_.selectionStart();
  const MultiTap::Press press = keypad_.press(digit, text_.text(), at);
  if (!insert(std::u16string_view(&press.character, 1), false, true)) {
    keypad_.keep();
    return true;
  }
  if (dead_) return true;
  selectRange(at, at + 1);
  SetTimer(hwnd_, kMultiTapTimer, MultiTap::kPauseMs, nullptr);
  return true;
}

void Edit::commitMultiTap() {
  if (!keypad_.choosing()) return;
  keypad_.keep();
  KillTimer(hwnd_, kMultiTapTimer);
  selectRange(text_.caret(), text_.caret());
}

void Edit::reportKeypadMode() {
  if (!smartphone() || !focused_) return;
  KeypadIndicator::report(hwnd_, readOnly() ? KeypadMode::None : keypad_.mode(text_.text(), text_.selectionStart()));
}

// ---------------------------------------------------------------------------------------------
// Line queries

LRESULT Edit::lineIndex(int line) const {
  if (!multiLine()) return line <= 0 ? 0 : -1;
  if (line < 0) line = layout_.lineOf(text_.caret());
  if (line >= layout_.lineCount()) return -1;
  return layout_.line(line).start;
}

LRESULT Edit::lineLength(int index) const {
  if (!multiLine()) return text_.length();
  if (index < 0) {
    // The characters left unselected on the lines the selection touches.
    const EditLine& first = layout_.line(layout_.lineOf(text_.selectionStart()));
    const EditLine& last = layout_.line(layout_.lineOf(text_.selectionEnd()));
    return (text_.selectionStart() - first.start) + (last.end - text_.selectionEnd());
  }
  if (index > text_.length()) return 0;
  const EditLine& line = layout_.line(layout_.lineOf(index));
  return line.end - line.start;
}

LRESULT Edit::getLine(int line, LPWSTR buffer) const {
  if (buffer == nullptr) return 0;
  const int size = *reinterpret_cast<const WORD*>(buffer);
  if (multiLine() && (line < 0 || line >= layout_.lineCount())) return 0;
  const EditLine whole{0, text_.length(), text_.length(), 0};
  const EditLine& l = multiLine() ? layout_.line(line) : whole;
  const int n = std::min(l.end - l.start, size);
  if (n > 0) std::memcpy(buffer, text_.text().data() + l.start, static_cast<std::size_t>(n) * sizeof(WCHAR));
  return n;
}

LRESULT Edit::positionFromChar(int index) const {
  if (index < 0 || index >= text_.length()) return -1;
  const int line = layout_.lineOf(index);
  EditPicture p;
  p.layout = &layout_;
  p.format = formatRect();
  p.scrollX = scrollX_;
  p.align = style() & (ES_CENTER | ES_RIGHT);
  const int x = editLineLeft(p, line) + layout_.xOnLine(shown(), line, index);
  return MAKELRESULT(static_cast<WORD>(static_cast<SHORT>(x)), static_cast<WORD>(static_cast<SHORT>(lineTop(line))));
}

}  // namespace platform::controls
