// A modal full-screen page of the shell itself (the editor and the pick list that expand a
// Smartphone field): a dialog with the title in the title bar, filling the screen above its soft
// keys "Done" and "Cancel", on Pocket PC with the title bar's Done button too. A page supplies its
// content and what Done keeps.
#pragma once

#include <string>

#include "platform/base/WinTypes.h"
#include "platform/win/WinUser.h"

namespace platform::shell {

class FullScreenPage {
 public:
  virtual ~FullScreenPage() = default;

  // Runs the page over `owner` (disabled meanwhile) until Done or Cancel; true for Done. False
  // too when the page could not open.
  bool run(HWND owner, const std::u16string& title);

 protected:
  // Creates the page's controls in the client area and gives one the focus.
  virtual void createContent(HWND page, const RECT& client) = 0;
  // The client area changed (the screen turned, the input panel came or went).
  virtual void layout(const RECT& client) = 0;
  // Done was chosen: the page keeps what it shows.
  virtual void accept() = 0;
  // Whether Back goes to the focused field (it deletes there) instead of cancelling.
  virtual bool backDeletes() const { return false; }
  // A command of the page's controls (WM_COMMAND from a child).
  virtual void onCommand(HWND, WORD) {}
  // Ends the page as if Done were chosen.
  void finish();

  HWND page() const { return page_; }

 private:
  static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
  void createMenuBar();
  RECT clientRect() const;

  HWND page_ = nullptr;
  HWND menuBar_ = nullptr;
};

}  // namespace platform::shell
