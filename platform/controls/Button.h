// The button control ("BUTTON"): push buttons (the default one framed twice), check boxes and
// radio buttons (automatic or left to the parent), three-state boxes and group boxes. The
// stylus presses a button and clicks it when lifted inside; Space does the same from the
// keyboard, and outside a dialog the action key too. A click reaches the parent as BN_CLICKED.
#pragma once

#include <string>

#include "platform/controls/WinButton.h"
#include "platform/gdi/WinGdi.h"

namespace platform::controls {

template <class Control>
class ControlTable;

// Everything a button's picture depends on.
struct ButtonLook {
  DWORD style = 0;
  UINT state = 0;  // BST_ flags
  bool enabled = true;
  std::u16string text;
  HFONT font = nullptr;
  RECT client{};
  HBRUSH background = nullptr;  // the parent's, for boxes, radios and groups
  COLORREF textColor = 0;
};

void drawButton(HDC dc, const ButtonLook& look);

class Button {
  friend class ControlTable<Button>;

 public:
  explicit Button(HWND hwnd) : hwnd_(hwnd) {}

  static void registerClass();
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  DWORD style() const;
  UINT type() const;
  bool checkable() const;
  bool radio() const;

  void press(bool pressed);
  // The click: an automatic box or radio button changes first, then the parent hears of it.
  void click();
  void setCheck(UINT check);
  void uncheckOtherRadios();
  void notify(WORD code);
  void paint();

  HWND hwnd_;
  bool dead_ = false;
  int depth_ = 0;
  HFONT font_ = nullptr;
  UINT check_ = BST_UNCHECKED;
  bool pushed_ = false;  // drawn pressed (BM_SETSTATE)
  bool focused_ = false;
  bool tracking_ = false;   // the stylus pressed it and is still down
  bool spaceDown_ = false;  // Space (or the action key) pressed it
  UINT keyDown_ = 0;
  bool dialogMode_ = false;
};

}  // namespace platform::controls
