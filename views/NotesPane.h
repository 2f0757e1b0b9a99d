// The notes area of a card: the text measured into the notes rectangle, the card's vertical
// scroll bar when the text is taller than the rectangle, and drawing through a buffer of the
// rectangle's size so that the text scrolls over a background that stays put.
#pragma once

#include <memory>
#include <string>

#include "platform/gdi/MemoryDc.h"
#include "platform/gdi/WinGdi.h"

namespace pellucard {

class NotesPane {
 public:
  static constexpr int kLineStep = 14;
  static constexpr int kKeyStep = 20;

  void setRect(const RECT& rect) { rect_ = rect; }
  const RECT& rect() const { return rect_; }

  // Measures the text with the font (nullptr: the default font) in the rectangle's width. Text
  // taller than the rectangle gives the card WS_VSCROLL with the range 0 to the needed height,
  // the rectangle's height as page and position 0; otherwise the card loses WS_VSCROLL and the
  // scroll bar is reset.
  void measure(HWND card, std::u16string_view text, HFONT font);

  int position() const { return position_; }
  // The range maximum; 0 when the text fits.
  int rangeMax() const { return rangeMax_; }

  // A scroll bar request (SB_ code and thumb position). True when the position changed.
  bool scroll(HWND card, int code, int thumb);
  // VK_UP and VK_DOWN move by kKeyStep; Down wraps by the range maximum and does nothing while
  // the text fits. True when the key was one of the two.
  bool key(HWND card, UINT vk);

  // The card's WM_VSCROLL (ignored on a Smartphone, which scrolls with the keys only) and
  // WM_KEYDOWN; each repaints the notes when they moved. onKeyDown is false for other keys.
  void onVScroll(HWND card, UINT code, int position);
  bool onKeyDown(HWND card, UINT vk);

  // Draws the notes into `target` at the rectangle: the card background's part under the
  // rectangle, then the text shifted up by the scroll position. The buffer is made on first use.
  // `card` is the card's size, over which the card background is laid.
  void draw(HDC target, std::u16string_view text, HFONT font, SIZE card);
  // Frees the buffer (the card is going away).
  void releaseBuffer();

 private:
  void applyPosition(HWND card, int position);

  RECT rect_{};
  int rangeMax_ = 0;
  int position_ = 0;
  std::unique_ptr<platform::gdi::MemoryDc> buffer_;
};

}  // namespace pellucard
