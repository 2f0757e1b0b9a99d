// The tab header of the main and friend details screens: the current page's name between two
// arrows. Left and Right (keys or arrow taps, which repeat while held) step through the pages;
// the pages never keep the focus, the header passes keys and characters on to the current
// page. While the current page runs a search, the Back key edits it: a short press deletes
// the last typed key, a press held for a second clears the search.
//
// The owner adds the pages, sends WM_SETFONT with the label font (used on Pocket PC), forwards
// WM_HOTKEY to the header (a nonzero answer means the header took the key) and receives
// UM_TABCHANGED whenever a page is selected.
#pragma once

#include <string>
#include <vector>

#include "device/PrivateMessages.h"
#include "platform/win/WindowBase.h"

namespace pellucard {

class SpinnerViewCtrl : public platform::WindowImpl<SpinnerViewCtrl> {
 public:
  static constexpr const char16_t* kClassName = u"SpinnerViewCtrl";
  static constexpr const char16_t* kMarkerSuffix = u" (F)";
  static constexpr UINT_PTR kBackHoldTimer = 101;
  static constexpr UINT kBackHoldMs = 1000;
  static constexpr UINT_PTR kRepeatTimer = 102;
  static constexpr UINT kRepeatMs = 200;
  // Asked of the current page before Back is taken: TRUE while the page runs a search.
  static constexpr UINT kIsSearchingMessage = WM_USER + 110;
  // Sent to the current page when Back is held: clear the search.
  static constexpr WCHAR kClearSearchChar = 3;

  SpinnerViewCtrl();
  ~SpinnerViewCtrl() override;

  static const platform::MessageMap<SpinnerViewCtrl>& messageMap();

  // The window starts without pages, also when the object had a window before.
  HWND create(HWND parent, const RECT& rect, UINT id = 0, DWORD style = WS_CHILD | WS_VISIBLE,
              LPCWSTR windowName = u"");

  // Appends a page; false for a key already used (the first page keeps it).
  bool addPage(UINT key, const std::u16string& label, HWND page);
  // Marks a page as filtered: its label then ends with " (F)". False for an unknown key.
  bool setMarker(UINT key, bool marked);
  bool marker(UINT key) const;
  // Makes the page of the key current and shows its window, hides every other page's window
  // and posts UM_TABCHANGED. An unknown key changes nothing and returns false.
  bool selectPage(UINT key);

  int pageCount() const { return static_cast<int>(pages_.size()); }
  // 0-based; stays 0 while there are no pages.
  int currentIndex() const { return current_; }
  // The key of the current page, 0 without pages.
  UINT currentKey() const;
  HWND currentPage() const;
  HWND pageWindow(UINT key) const;
  // The label as shown: with " (F)" when the page is marked. Empty for an index out of range.
  std::u16string displayLabel(int index) const;

  bool leftPressed() const { return leftPressed_; }
  bool rightPressed() const { return rightPressed_; }
  // Whether the current page reports a search in progress.
  bool pageIsSearching() const;

 protected:
  platform::WindowClassInfo windowClass() const override;

 private:
  struct Page {
    UINT key = 0;
    bool marked = false;
    std::u16string label;
    HWND window = nullptr;
  };

  bool onCreate(const CREATESTRUCTW& create);
  void onDestroy();
  // The paint draws the whole header.
  bool onEraseBackground(HDC) { return true; }
  void onPaint();
  void onSetFont(HFONT font, bool redraw);
  HFONT onGetFont() { return font_; }
  void onKeyDown(UINT vk, UINT flags);
  void onKeyUp(UINT vk, UINT flags);
  void onChar(WCHAR ch, UINT flags);
  void onKillFocus(HWND next);
  void onStylusDown(POINT point, UINT flags);
  void onStylusMove(POINT point, UINT flags);
  void onStylusUp(POINT point, UINT flags);
  void onCaptureChanged(HWND capture);
  void onTimer(UINT_PTR id);
  LRESULT onHotKey(int id, UINT modifiers, UINT vk);

  int indexOf(UINT key) const;
  void stepLeft();
  void stepRight();
  // Ends a stylus press: the arrows come up, the repeat stops and the current page is
  // selected, once per press.
  void releaseStylus();
  void stopBackTimer();
  int arrowWidth() const;
  bool insideHeldArrow(int x, int y) const;
  void repaint();

  std::vector<Page> pages_;
  int current_ = 0;
  bool leftPressed_ = false;
  bool rightPressed_ = false;
  bool backHeld_ = false;
  // This header started the Back timer; the process-wide flag is cleared if it goes away.
  bool backTimerRunning_ = false;
  bool tracking_ = false;
  bool pocketPc_ = false;
  HFONT font_ = nullptr;
};

}  // namespace pellucard
